#pragma once
// "Edit Patient Classification": switches the chosen admission between pay and service
// patient, and shows and prunes the history of these switches.
#include "shell/dialogs/rightsholder.h"
#include "shell/session/patientselection.h"

#include <QDialog>

class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QAction;
class QPushButton;
class QRadioButton;
class QTableWidget;

namespace mss::assessment {

class frmEditClass : public QDialog {
    Q_OBJECT
public:
    // Reads the admission's class at once; the user must outlive the screen.
    frmEditClass(const PatientSelection& patient, const dialogs::RightsHolder& user, QWidget* parent = nullptr);

    QLabel* lblEditClass = nullptr;
    QLabel* lblRemoveClass = nullptr;
    QGroupBox* fraPatientInfo = nullptr;
    QLineEdit* txtHospNo = nullptr;
    QLineEdit* txtName = nullptr;
    QLineEdit* txtIDNum = nullptr;
    QLineEdit* txtMSSno = nullptr;
    QGroupBox* fraEditClass = nullptr;
    QRadioButton* optClass_0 = nullptr;   // Pay
    QRadioButton* optClass_1 = nullptr;   // Service
    QPushButton* cmdSave = nullptr;
    QPushButton* cmdPrev = nullptr;
    QGroupBox* fraHistory = nullptr;
    QTableWidget* grdClassHistory = nullptr;
    QPushButton* cmdBack = nullptr;
    QMenu* mnuFileDelete = nullptr;
    QAction* mnuDelete = nullptr;

    static constexpr int kNarrowTwips = 4815;
    static constexpr int kWideTwips = 9870;
    static QString gridHeader() { return QStringLiteral("Transdate | Class | UserID | UserName "); }
    static QList<int> gridWidths() { return {50, 1800, 500, 800, 1800}; }   // twips, fixed column first

private:
    void loadClass();
    void save();
    void showHistory();
    void readHistory();
    void back();
    void popUp(const QPoint& globalPos);
    void deleteRecord();
    void setWide(bool wide);

    const dialogs::RightsHolder& user_;
    QWidget* historyPane_ = nullptr;
};

// The File menu's command: the screen for the chosen patient, modal.
void EditPatientClassification(const PatientSelection& patient, const dialogs::RightsHolder& user);

}  // namespace mss::assessment
