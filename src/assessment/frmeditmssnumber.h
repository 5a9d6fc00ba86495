#pragma once
// "Edit MSS Number": gives the chosen patient another MSS number.
#include "shell/session/patientselection.h"

#include <QDialog>

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace mss::assessment {

class frmEditMSSNumber : public QDialog {
    Q_OBJECT
public:
    explicit frmEditMSSNumber(const PatientSelection& patient, QWidget* parent = nullptr);

    QLabel* lblHeading = nullptr;
    QGroupBox* fraPatientInfo = nullptr;
    QLineEdit* txtName = nullptr;
    QLineEdit* txtHospNo = nullptr;
    QLineEdit* txtMSSno = nullptr;
    QGroupBox* fraNewMSSNo = nullptr;
    QLineEdit* txtNewMSSNo = nullptr;
    QPushButton* cmdUpdate = nullptr;

private:
    void updateNumber();
};

// The File Maintenance menu's command: the screen for the chosen patient, modal.
void EditMSSNumber(const PatientSelection& patient);

}  // namespace mss::assessment
