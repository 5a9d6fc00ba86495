#pragma once
// One referral from the medical team, its reasons, and the department's tag.
#include "notices/noticesqueries.h"

#include <QDialog>

class QButtonGroup;
class QCheckBox;
class QDateEdit;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;

namespace mss::notices {

class frmReferralApproval : public QDialog {
    Q_OBJECT
public:
    // Loads the referral; read-only (with EDIT) when chosen from the history, else ready for
    // editing. A failing load ends there (the failure propagates).
    frmReferralApproval(const ReferralOpening& opening, const Worker& worker, QWidget* parent = nullptr);

    QLabel* lblHeading = nullptr;
    QLineEdit* txtFullName = nullptr;
    QLineEdit* txtHospNo = nullptr;
    QLineEdit* txtAdmNo = nullptr;
    QLineEdit* txtCategory = nullptr;
    QLineEdit* txtDiagnosis = nullptr;
    QCheckBox* chkTick1 = nullptr;
    QCheckBox* chkTick2 = nullptr;
    QCheckBox* chktick3 = nullptr;
    QCheckBox* chktick4 = nullptr;
    QCheckBox* chktick5 = nullptr;
    QLineEdit* txtOtherReason = nullptr;
    QPlainTextEdit* txtRemarks = nullptr;
    QRadioButton* OptApproved = nullptr;
    QRadioButton* OptDeny = nullptr;
    QRadioButton* OptCash = nullptr;
    QDateEdit* dtSchedDate = nullptr;
    QPushButton* cmdSave = nullptr;
    QPushButton* cmdCancel = nullptr;
    QPushButton* cmdEdit = nullptr;
    QGroupBox* frmApprovedBy = nullptr;
    QLineEdit* txtApprovedBy = nullptr;
    QLineEdit* txtReferredBy = nullptr;

    // Kept from the referral for the save.
    QString dischargeDate() const { return dischargeDate_; }
    QString referralNo() const { return referralNo_; }

private:
    void build();
    void load(const ReferralOpening& opening);
    void setEditing(bool editing);
    void save();

    Worker worker_;
    QButtonGroup* tags_ = nullptr;
    QString dischargeDate_;
    QString referralNo_;
};

}  // namespace mss::notices
