#include "assessment/frmeditmssnumber.h"
#include "assessment/classhistoryqueries.h"
#include "shell/dialogs/screenparts.h"
#include "shell/db/dbaccess.h"
#include "shell/db/text.h"
#include "shell/dialogs/action.h"
#include "shell/dialogs/prompt.h"

#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace mss::assessment {

using ui::Frame;
using ui::Heading;
using ui::ReadOnlyRow;

frmEditMSSNumber::frmEditMSSNumber(const PatientSelection& patient, QWidget* parent) : QDialog(parent) {
    setObjectName("frmEditMSSNumber");
    setWindowTitle("Medical Social Service");
    auto* layout = new QVBoxLayout(this);
    lblHeading = Heading("Edit MSS Number", "lblHeading", this);
    layout->addWidget(lblHeading);

    fraPatientInfo = Frame("Patient's Info.", "fraPatientInfo", this);
    auto* info = new QFormLayout(fraPatientInfo);
    txtName = ReadOnlyRow(info, "Name :", "txtName");
    txtHospNo = ReadOnlyRow(info, "Hosp. No. :", "txtHospNo");
    txtMSSno = ReadOnlyRow(info, "MSS No. :", "txtMSSno");
    layout->addWidget(fraPatientInfo);

    fraNewMSSNo = Frame("Enter New MSS Number :", "fraNewMSSNo", this);
    auto* entry = new QHBoxLayout(fraNewMSSNo);
    txtNewMSSNo = new QLineEdit(fraNewMSSNo);
    txtNewMSSNo->setObjectName("txtNewMSSNo");
    entry->addWidget(txtNewMSSNo);
    layout->addWidget(fraNewMSSNo);

    cmdUpdate = new QPushButton("&Update", this);
    cmdUpdate->setObjectName("cmdUpdate");
    cmdUpdate->setAutoDefault(false);
    layout->addWidget(cmdUpdate, 0, Qt::AlignRight);

    connect(cmdUpdate, &QPushButton::clicked, this, ui::Guarded([this] { updateNumber(); }));
    setMinimumWidth(text::TwipsToPixels(4815));

    txtHospNo->setText(patient.HospNum);
    txtName->setText(patient.PatientName);
    txtMSSno->setText(patient.MSSID);
}

void frmEditMSSNumber::updateNumber() {
    db::ExecuteCommand(classhistory::NewMSSNumberSql(txtHospNo->text(), txtNewMSSNo->text()));
    ui::MsgBox("Records Successfully Updated", ui::Icon::Information, ui::Buttons::Ok, "Message");
    // The number shown is the patient's number from now on.
    txtMSSno->setText(text::Trim(txtNewMSSNo->text()));
}

void EditMSSNumber(const PatientSelection& patient) {
    frmEditMSSNumber screen(patient);
    ui::ShowModal(screen);
}

}  // namespace mss::assessment
