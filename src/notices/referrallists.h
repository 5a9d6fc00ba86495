#pragma once
// The two lists of referrals from the medical team: the notice list of those waiting, and
// the history of every referral with its search. Choosing a line opens the referral screen.
#include "notices/noticewidgets.h"
#include "notices/noticesqueries.h"

#include <QDialog>

class QGroupBox;
class QLineEdit;
class QPushButton;
class QTreeWidget;

namespace mss::notices {

class ReferralList : public QDialog {
    Q_OBJECT
public:
    // The chosen referral, offered to the referral screen while it opens (read only).
    QString IDNUM() const { return choice_.IDNUM; }
    QString REFNUM() const { return choice_.REFNUM; }
    bool Valid() const { return choice_.Valid; }
    const ListChoice& choice() const { return choice_; }

    QTreeWidget* lvwRequest = nullptr;
    QPushButton* cmdSelect = nullptr;
    QPushButton* cmdClose = nullptr;

protected:
    ReferralList(const Worker& worker, QWidget* parent);
    // Lays out the list and the buttons below whatever the subclass put above.
    void addListAndButtons();
    // Fills the list from a statement: `subItems` lists the columns after PatientName.
    void fill(const QString& statement, const QList<Heading>& headings, const QStringList& subItems);
    void forget();
    // Opens the referral screen for the chosen line (as each list does it).
    virtual void openChosen() = 0;

    Worker worker_;

private:
    void choose();

    int refnumColumn_ = 0;
    ListChoice choice_;
};

// The referrals waiting for a tag; opened without waiting, and so is the referral screen it opens.
class frmReferralToMedicalTeam : public ReferralList {
    Q_OBJECT
public:
    explicit frmReferralToMedicalTeam(const Worker& worker, QWidget* parent = nullptr);

protected:
    void openChosen() override;
};

// Every referral, searched by hospital number and names; opened modally, and it opens the
// referral screen read-only and modal.
class frmReferralHistory : public ReferralList {
    Q_OBJECT
public:
    explicit frmReferralHistory(const Worker& worker, QWidget* parent = nullptr);

    QGroupBox* fraSearch = nullptr;
    QLineEdit* txtHospNum = nullptr;
    QLineEdit* txtLastname = nullptr;
    QLineEdit* txtFirstname = nullptr;
    QPushButton* cmdSearch = nullptr;

protected:
    void openChosen() override;

private:
    void search();
};

}  // namespace mss::notices
