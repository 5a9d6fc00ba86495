#include "notices/frmreferralapproval.h"
#include "notices/noticewidgets.h"
#include "shell/db/dbaccess.h"
#include "shell/db/text.h"
#include "shell/dialogs/action.h"
#include "shell/dialogs/prompt.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QDateEdit>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace mss::notices {

namespace {

const QDate kEmptyDate(1900, 1, 1);   // the database's empty date

// The reasons come from the medical team: shown as ticked, never changed here.
QCheckBox* reason(QWidget* parent, const char* name, const QString& caption) {
    auto* c = new QCheckBox(caption, parent);
    c->setObjectName(QString::fromLatin1(name));
    c->setAttribute(Qt::WA_TransparentForMouseEvents);
    c->setFocusPolicy(Qt::NoFocus);
    return c;
}

}  // namespace

frmReferralApproval::frmReferralApproval(const ReferralOpening& opening, const Worker& worker, QWidget* parent)
    : QDialog(parent), worker_(worker) {
    setObjectName(QStringLiteral("frmReferralApproval"));
    setWindowTitle(QStringLiteral("Referral From Medical Team"));
    build();
    setEditing(!opening.readOnly);
    load(opening);
    adjustSize();
}

void frmReferralApproval::build() {
    auto* layout = new QVBoxLayout(this);
    lblHeading = ScreenHeading(this, QStringLiteral("Referral from Medical Team"));
    layout->addWidget(lblHeading);

    auto* patient = new QGroupBox(QStringLiteral("Patient's Information"), this);
    patient->setObjectName(QStringLiteral("fraPatient"));
    auto* patientForm = new QFormLayout(patient);
    txtFullName = ReadOnlyBox(patient, "txtFullName");
    txtHospNo = ReadOnlyBox(patient, "txtHospNo");
    txtAdmNo = ReadOnlyBox(patient, "txtAdmNo");
    txtCategory = ReadOnlyBox(patient, "txtCategory");
    txtDiagnosis = ReadOnlyBox(patient, "txtDiagnosis");
    patientForm->addRow(QStringLiteral("Patient's Name"), txtFullName);
    auto* numbers = new QHBoxLayout;
    numbers->addWidget(txtHospNo);
    numbers->addWidget(new QLabel(QStringLiteral("Admission No."), patient));
    numbers->addWidget(txtAdmNo);
    patientForm->addRow(QStringLiteral("Hospital No."), numbers);
    patientForm->addRow(QStringLiteral("Category:"), txtCategory);
    patientForm->addRow(QStringLiteral("Diagnosis/Initial Impression:"), txtDiagnosis);
    layout->addWidget(patient);

    auto* reasons = new QGroupBox(QStringLiteral("Reason for Referral"), this);
    reasons->setObjectName(QStringLiteral("fraReasons"));
    auto* reasonsLayout = new QVBoxLayout(reasons);
    reasonsLayout->setSpacing(2);
    auto subLine = [&](const QString& text) {
        auto* l = new QLabel(text, reasons);
        l->setContentsMargins(36, 0, 0, 0);
        reasonsLayout->addWidget(l);
    };
    chkTick1 = reason(reasons, "chkTick1", QStringLiteral(" 1. Emotional/Adjustment Problem"));
    reasonsLayout->addWidget(chkTick1);
    subLine(QStringLiteral("a. Inability to follow diet/restriction/medical advises"));
    subLine(QStringLiteral("b.Aggresiveness/Stubborness/Demanding traits"));
    chkTick2 = reason(reasons, "chkTick2", QStringLiteral(" 2. After Care Treatment"));
    reasonsLayout->addWidget(chkTick2);
    subLine(QStringLiteral("a. Inability to follow diet/restriction/medical advises"));
    chktick3 = reason(reasons, "chktick3", QStringLiteral(" 3. Dialysis and Transplant Orientation"));
    reasonsLayout->addWidget(chktick3);
    chktick4 = reason(reasons, "chktick4", QStringLiteral(" 4. Financial Problem"));
    reasonsLayout->addWidget(chktick4);
    subLine(QStringLiteral("a. Socio-Economic Evalutation for Assistance on Discount and the  Like."));
    auto* other = new QHBoxLayout;
    chktick5 = reason(reasons, "chktick5", QStringLiteral(" 5. Other Specified  Reason:"));
    txtOtherReason = ReadOnlyBox(reasons, "txtOtherReason");
    other->addWidget(chktick5);
    other->addWidget(txtOtherReason, 1);
    reasonsLayout->addLayout(other);
    layout->addWidget(reasons);

    auto* remarks = new QGroupBox(QStringLiteral("REMARKS"), this);
    remarks->setObjectName(QStringLiteral("fraRemarks"));
    auto* remarksLayout = new QGridLayout(remarks);
    txtRemarks = new QPlainTextEdit(remarks);
    txtRemarks->setObjectName(QStringLiteral("txtRemarks"));
    txtRemarks->setTabChangesFocus(true);
    txtRemarks->setFixedHeight(60);
    remarksLayout->addWidget(txtRemarks, 0, 0, 1, 4);
    OptApproved = new QRadioButton(QStringLiteral("INCLUDE to BILL"), remarks);
    OptApproved->setObjectName(QStringLiteral("OptApproved"));
    OptDeny = new QRadioButton(QStringLiteral("For JUSTIFICATION"), remarks);
    OptDeny->setObjectName(QStringLiteral("OptDeny"));
    OptCash = new QRadioButton(QStringLiteral("CASH Basis"), remarks);
    OptCash->setObjectName(QStringLiteral("OptCash"));
    tags_ = new QButtonGroup(this);
    int column = 0;
    for (QRadioButton* o : {OptApproved, OptDeny, OptCash}) {
        tags_->addButton(o);
        remarksLayout->addWidget(o, 1, column++);
    }
    auto* schedule = new QHBoxLayout;
    schedule->addWidget(new QLabel(QStringLiteral("Schedule Date:"), remarks));
    dtSchedDate = new QDateEdit(QDate::currentDate(), remarks);
    dtSchedDate->setObjectName(QStringLiteral("dtSchedDate"));
    dtSchedDate->setCalendarPopup(true);
    dtSchedDate->setDisplayFormat(QStringLiteral("M/d/yyyy"));
    schedule->addWidget(dtSchedDate);
    remarksLayout->addLayout(schedule, 1, 3);
    auto* buttons = new QHBoxLayout;
    cmdSave = new QPushButton(QStringLiteral("SAVE"), remarks);
    cmdSave->setObjectName(QStringLiteral("cmdSave"));
    cmdCancel = new QPushButton(QStringLiteral("CLOSE"), remarks);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    cmdEdit = new QPushButton(QStringLiteral("EDIT"), remarks);
    cmdEdit->setObjectName(QStringLiteral("cmdEdit"));
    buttons->addStretch();
    for (QPushButton* b : {cmdEdit, cmdSave, cmdCancel}) {
        b->setAutoDefault(false);
        buttons->addWidget(b);
    }
    remarksLayout->addLayout(buttons, 2, 0, 1, 4);
    layout->addWidget(remarks);

    frmApprovedBy = new QGroupBox(this);
    frmApprovedBy->setObjectName(QStringLiteral("frmApprovedBy"));
    auto* approved = new QHBoxLayout(frmApprovedBy);
    txtApprovedBy = ReadOnlyBox(frmApprovedBy, "txtApprovedBy");
    txtReferredBy = ReadOnlyBox(frmApprovedBy, "txtReferredBy");
    approved->addWidget(new QLabel(QStringLiteral("Approved By:"), frmApprovedBy));
    approved->addWidget(txtApprovedBy, 1);
    approved->addWidget(new QLabel(QStringLiteral("Referred By:"), frmApprovedBy));
    approved->addWidget(txtReferredBy, 1);
    layout->addWidget(frmApprovedBy);

    connect(cmdSave, &QPushButton::clicked, this, ui::Guarded([this] { save(); }));
    connect(cmdCancel, &QPushButton::clicked, this, [this] { close(); });
    connect(cmdEdit, &QPushButton::clicked, this, [this] { setEditing(true); });
    setMinimumWidth(720);
}

void frmReferralApproval::setEditing(bool editing) {
    cmdEdit->setVisible(!editing);
    for (QWidget* w : std::initializer_list<QWidget*>{cmdSave, txtRemarks, OptApproved, OptDeny, OptCash, dtSchedDate})
        w->setEnabled(editing);
    txtCategory->setReadOnly(!editing);
    ShowAsReadOnly(txtCategory, !editing);
    frmApprovedBy->setVisible(!editing);
    if (editing)
        txtRemarks->setFocus();
    else
        cmdEdit->setFocus();
}

void frmReferralApproval::load(const ReferralOpening& opening) {
    db::Recordset rs;
    db::OpenQuery(rs, LoadReferralNoticePatient(opening.IDNUM, opening.REFNUM));
    if (!rs.Eof()) {
        auto field = [&rs](const char* column) { return db::FieldText(rs, QString::fromLatin1(column)); };
        txtFullName->setText(field("PatientName"));
        txtHospNo->setText(field("HospNum"));
        txtAdmNo->setText(field("IDNUM"));
        txtDiagnosis->setText(field("Diagnosis"));
        txtCategory->setText(field("category"));
        txtRemarks->setPlainText(field("REMARKS"));
        txtReferredBy->setText(field("ReferredBy"));
        txtApprovedBy->setText(field("ApprovedBy"));

        const QVariant scheduled = rs.Value(QStringLiteral("ScheduleDate"));
        QDate schedule = scheduled.typeId() == QMetaType::QDateTime ? scheduled.toDateTime().date()
                         : scheduled.typeId() == QMetaType::QDate   ? scheduled.toDate()
                                                                    : text::ParseDateTime(field("ScheduleDate")).date();
        if (field("ScheduleDate").isEmpty() || schedule == kEmptyDate || !schedule.isValid())
            schedule = QDate::currentDate();
        dtSchedDate->setDate(schedule);

        const QString status = field("Status");
        tags_->setExclusive(false);
        OptApproved->setChecked(status == QStringLiteral("A"));
        OptDeny->setChecked(status == QStringLiteral("D"));
        OptCash->setChecked(status == QStringLiteral("C"));
        tags_->setExclusive(true);

        const std::pair<QCheckBox*, const char*> ticks[] = {
            {chkTick1, "Tick1"}, {chkTick2, "Tick2"}, {chktick3, "tick3"}, {chktick4, "tick4"}, {chktick5, "tick5"}};
        for (const auto& [tick, column] : ticks) tick->setChecked(field(column) == QStringLiteral("Y"));
        if (chktick5->isChecked()) txtOtherReason->setText(field("Others"));

        dischargeDate_ = field("DischargeDate");
        referralNo_ = field("ReferralNo");
    }
    rs.Close();
}

void frmReferralApproval::save() {
    QString status;
    if (OptApproved->isChecked()) status = QStringLiteral("A");
    else if (OptDeny->isChecked()) status = QStringLiteral("D");
    else if (OptCash->isChecked()) status = QStringLiteral("C");
    const QString title = QStringLiteral("Message");
    if (!dischargeDate_.isEmpty() && dischargeDate_ != QStringLiteral("1/1/1900")) {
        ui::MsgBox(QStringLiteral("Discharged Patient Cannot Be Updated."), ui::Icon::Exclamation, ui::Buttons::Ok, title);
        return;
    }
    if (status.isEmpty()) {
        status = QStringLiteral("P");
        ui::MsgBox(QStringLiteral("Please Tag the Patient "), ui::Icon::Exclamation, ui::Buttons::Ok, title);
    }
    if (ui::MsgBox(QStringLiteral("Are you sure you want to tag thi Referral as ") + TagText(status) + QStringLiteral(" ? "),
                   ui::Icon::None, ui::Buttons::OkCancel, QStringLiteral("Confirmation")) != ui::Answer::Ok)
        return;
    ReferralTag tag;
    tag.admNo = txtAdmNo->text();
    tag.today = QDate::currentDate();
    tag.status = status;
    tag.remarks = txtRemarks->toPlainText();
    tag.category = txtCategory->text();
    tag.schedule = dtSchedDate->date();
    tag.employeeCode = worker_.EmployeeCode;
    tag.referralNo = referralNo_;
    db::ExecuteCommand(SaveReferralNoticePatient(tag));
    ui::MsgBox(QStringLiteral("Successfuly saved"), ui::Icon::Exclamation, ui::Buttons::Ok, title);
    close();
}

}  // namespace mss::notices
