#include "funds/frmnegotiatedcounterpart.h"
#include "shell/db/dbaccess.h"
#include "shell/db/recordset.h"
#include "shell/db/sqltext.h"
#include "shell/db/text.h"
#include "shell/dialogs/prompt.h"
#include "shell/dialogs/screenparts.h"

#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace mss::funds {

namespace {

QList<int> gridWidths() {
    QList<int> widths{0, 2800};
    for (int c = 2; c <= 11; ++c) widths << 1500;
    return widths;
}

}  // namespace

QString ExistingAllocationsSql(const QString& hospNum) {
    return db::Sql("MSS..sp_Pars_Load_Existing_CDF_Allocation '").val(hospNum).lit("', 1");
}

frmNegotiatedCounterpart::frmNegotiatedCounterpart(const CounterpartPatient& patient, QWidget* parent)
    : QDialog(parent) {
    setObjectName("frmNegotiatedCounterpart");
    setWindowTitle("Fund Allocation Entry");
    auto* layout = new QVBoxLayout(this);
    lblHeading = ui::Heading("Priority Dev't Assistance Fund Allocation", "lblHeading", this, 1.4);
    layout->addWidget(lblHeading);

    fraPatientInfo = ui::Frame("Patient Information", "fraPatientInfo", this);
    auto* info = new QFormLayout(fraPatientInfo);
    txtName = ui::ReadOnlyRow(info, "Patient's Name  :", "txtName");
    txtHospNum = ui::ReadOnlyRow(info, "Hospital Num.    :", "txtHospNum");
    txtIDNum = ui::ReadOnlyRow(info, "Admission Num. :", "txtIDNum");
    txtMSSNumber = ui::ReadOnlyRow(info, "MSS Num.           :", "txtMSSNumber");
    layout->addWidget(fraPatientInfo);

    fraTransaction = ui::Frame("Transaction Details", "fraTransaction", this);
    auto* details = new QVBoxLayout(fraTransaction);
    flgSponsorList = ui::RowGrid("flgSponsorList", fraTransaction);
    details->addWidget(flgSponsorList);
    layout->addWidget(fraTransaction, 1);

    cmdClose = ui::CommandButton("&Close", "cmdClose", this);
    layout->addWidget(cmdClose, 0, Qt::AlignRight);
    // The button had no action; a Close button that does nothing is a fault.
    connect(cmdClose, &QPushButton::clicked, this, &QDialog::reject);

    txtHospNum->setText(patient.hospNum);
    txtIDNum->setText(patient.idNum);
    txtName->setText(patient.firstName + "," + patient.lastName);
    txtMSSNumber->setText(patient.mssNum);
    resize(text::TwipsToPixels(2800 + 10 * 1500 + 600), text::TwipsToPixels(6000));
}

void frmNegotiatedCounterpart::Load() {
    // Allocations are the patient's, whichever admission is open: the admission is shown only.
    db::Recordset rs;
    db::OpenQuery(rs, ExistingAllocationsSql(txtHospNum->text()));
    QStringList header{QString()};
    header << rs.FieldNames();
    ui::FillGrid(flgSponsorList, header, gridWidths(), rs);
}

void ViewCDFAllocation(const CounterpartPatient& patient, QWidget* parent) {
    frmNegotiatedCounterpart view(patient, parent);
    view.Load();
    ui::ShowModal(view);
}

}  // namespace mss::funds
