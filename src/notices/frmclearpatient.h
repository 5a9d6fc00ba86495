#pragma once
// Clearing one patient for discharge: the notice, the patient's MSS data, and the clearance.
#include "notices/noticesqueries.h"

#include <QDialog>

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace mss::notices {

class frmClearPatient : public QDialog {
    Q_OBJECT
public:
    // Loads the notice of admission `idnum` and the patient's MSS data; a failing load ends
    // there (the failure propagates).
    frmClearPatient(const QString& idnum, const Worker& worker, QWidget* parent = nullptr);

    // True once Save or Ignore closed the screen: the notice list comes back then.
    bool backToList() const { return backToList_; }

    QLabel* lblHeading = nullptr;
    QLineEdit* txtHospNo = nullptr;
    QLineEdit* txtAdmNo = nullptr;
    QLineEdit* txtAdmDate = nullptr;
    QLineEdit* txtRoomNo = nullptr;
    QLineEdit* txtDoctor = nullptr;
    QLineEdit* txtSname = nullptr;
    QLineEdit* txtFname = nullptr;
    QLineEdit* txtMname = nullptr;
    QLineEdit* txtNoticeDate = nullptr;
    QLineEdit* txtOrderDate = nullptr;
    QLineEdit* txtDischargeNurse = nullptr;
    QPlainTextEdit* txtRemarks = nullptr;
    QLineEdit* txtClearDate = nullptr;
    QLineEdit* txtClearedBy = nullptr;
    QPlainTextEdit* txtClearRemarks = nullptr;
    QLineEdit* txtMSSNum = nullptr;
    QLineEdit* txtCategory = nullptr;
    QLabel* lblClassification = nullptr;
    QLineEdit* txtOtherInfo = nullptr;
    QPushButton* cmdSave = nullptr;
    QPushButton* cmdIgnore = nullptr;

private:
    void build();
    void load(const QString& idnum);
    void loadMSSData();
    void save();

    Worker worker_;
    bool backToList_ = false;
};

}  // namespace mss::notices
