#pragma once
// "Fund Allocation Entry": the CDF allocations a patient already has, read-only.
#include <QDialog>

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;

namespace mss::funds {

// The patient as the assessment screen shows it.
struct CounterpartPatient {
    QString hospNum, idNum, firstName, lastName, mssNum;
};

class frmNegotiatedCounterpart : public QDialog {
    Q_OBJECT
public:
    explicit frmNegotiatedCounterpart(const CounterpartPatient& patient, QWidget* parent = nullptr);

    // Lists the allocations; a database failure ends it there, as any untrapped failure does.
    void Load();

    QLabel* lblHeading = nullptr;
    QGroupBox* fraPatientInfo = nullptr;
    QLineEdit* txtName = nullptr;
    QLineEdit* txtHospNum = nullptr;
    QLineEdit* txtIDNum = nullptr;
    QLineEdit* txtMSSNumber = nullptr;
    QGroupBox* fraTransaction = nullptr;
    QTableWidget* flgSponsorList = nullptr;
    QPushButton* cmdClose = nullptr;
};

// The statement that lists the allocations in force.
QString ExistingAllocationsSql(const QString& hospNum);

// The assessment screen's "View CDF Allocation": the view, modal.
void ViewCDFAllocation(const CounterpartPatient& patient, QWidget* parent = nullptr);

}  // namespace mss::funds
