#include "notices/frmclearpatient.h"
#include "notices/noticewidgets.h"
#include "shell/db/dbaccess.h"
#include "shell/dialogs/action.h"
#include "shell/dialogs/prompt.h"

#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace mss::notices {

namespace {

QPlainTextEdit* remarksBox(QWidget* parent, const char* name, bool readOnly) {
    auto* b = new QPlainTextEdit(parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setReadOnly(readOnly);
    ShowAsReadOnly(b, readOnly);
    b->setTabChangesFocus(true);
    b->setFixedHeight(54);
    return b;
}

// A frame of labelled boxes.
QGroupBox* frame(QWidget* parent, const QString& caption, const QList<std::pair<QString, QWidget*>>& rows) {
    auto* g = new QGroupBox(caption, parent);
    auto* form = new QFormLayout(g);
    form->setLabelAlignment(Qt::AlignRight | Qt::AlignVCenter);
    for (const auto& [label, widget] : rows) {
        if (label.isEmpty())
            form->addRow(widget);
        else
            form->addRow(label, widget);
    }
    return g;
}

}  // namespace

frmClearPatient::frmClearPatient(const QString& idnum, const Worker& worker, QWidget* parent)
    : QDialog(parent), worker_(worker) {
    setObjectName(QStringLiteral("frmClearPatient"));
    setWindowTitle(QStringLiteral("Clear Patient"));
    build();
    load(idnum);
}

void frmClearPatient::build() {
    auto* layout = new QVBoxLayout(this);
    lblHeading = ScreenHeading(this, QStringLiteral("Clear Patient for Discharge"));
    layout->addWidget(lblHeading);

    txtHospNo = ReadOnlyBox(this, "txtHospNo");
    txtAdmNo = ReadOnlyBox(this, "txtAdmNo");
    txtAdmDate = ReadOnlyBox(this, "txtAdmDate");
    txtRoomNo = ReadOnlyBox(this, "txtRoomNo");
    txtDoctor = ReadOnlyBox(this, "txtDoctor");
    txtSname = ReadOnlyBox(this, "txtSname");
    txtFname = ReadOnlyBox(this, "txtFname");
    txtMname = ReadOnlyBox(this, "txtMname");
    txtNoticeDate = ReadOnlyBox(this, "txtNoticeDate");
    txtOrderDate = ReadOnlyBox(this, "txtOrderDate");
    txtDischargeNurse = ReadOnlyBox(this, "txtDischargeNurse");
    txtRemarks = remarksBox(this, "txtRemarks", true);
    txtClearDate = ReadOnlyBox(this, "txtClearDate");
    txtClearedBy = ReadOnlyBox(this, "txtClearedBy");
    txtClearRemarks = remarksBox(this, "txtClearRemarks", false);
    txtMSSNum = ReadOnlyBox(this, "txtMSSNum");
    txtCategory = ReadOnlyBox(this, "txtCategory");
    lblClassification = new QLabel(this);
    lblClassification->setObjectName(QStringLiteral("lblClassification"));
    QFont bold = lblClassification->font();
    bold.setBold(true);
    lblClassification->setFont(bold);
    lblClassification->hide();
    txtOtherInfo = ReadOnlyBox(this, "txtOtherInfo");

    auto* grid = new QGridLayout;
    grid->addWidget(frame(this, QStringLiteral("Hospital Information"),
                          {{QStringLiteral("Hospital No."), txtHospNo},
                           {QStringLiteral("Admission No."), txtAdmNo},
                           {QStringLiteral("Admission Date"), txtAdmDate},
                           {QStringLiteral("Room No."), txtRoomNo},
                           {QStringLiteral("Attending Dr."), txtDoctor}}),
                    0, 0);
    grid->addWidget(frame(this, QStringLiteral("Patient's Name"),
                          {{QStringLiteral("Last Name"), txtSname},
                           {QStringLiteral("First Name"), txtFname},
                           {QStringLiteral("Middle Name"), txtMname}}),
                    1, 0);
    grid->addWidget(frame(this, QStringLiteral("Notice Information"),
                          {{QStringLiteral("Notice Date/Time"), txtNoticeDate},
                           {QStringLiteral("Order Date/Time"), txtOrderDate},
                           {QStringLiteral("Discharge Nurse"), txtDischargeNurse},
                           {QStringLiteral("Remarks"), txtRemarks}}),
                    0, 1);
    grid->addWidget(frame(this, QStringLiteral("Clearing Information"),
                          {{QStringLiteral("Cleared Date:"), txtClearDate},
                           {QStringLiteral("Cleared by:"), txtClearedBy},
                           {QStringLiteral("Remarks"), txtClearRemarks}}),
                    1, 1);
    auto* category = new QWidget(this);
    auto* categoryRow = new QHBoxLayout(category);
    categoryRow->setContentsMargins(0, 0, 0, 0);
    categoryRow->addWidget(txtCategory, 1);
    categoryRow->addWidget(lblClassification);
    grid->addWidget(frame(this, QStringLiteral("MSS Data"),
                          {{QStringLiteral("MSS Number :"), txtMSSNum},
                           {QStringLiteral("Category :"), category},
                           {QStringLiteral("Other Info. :"), txtOtherInfo}}),
                    2, 0, 1, 2);
    grid->setColumnStretch(0, 1);
    grid->setColumnStretch(1, 1);
    layout->addLayout(grid);

    auto* buttons = new QHBoxLayout;
    cmdSave = new QPushButton(QStringLiteral("&Save"), this);
    cmdSave->setObjectName(QStringLiteral("cmdSave"));
    cmdIgnore = new QPushButton(QStringLiteral("&Ignore"), this);
    cmdIgnore->setObjectName(QStringLiteral("cmdIgnore"));
    buttons->addStretch();
    for (QPushButton* b : {cmdSave, cmdIgnore}) {
        b->setAutoDefault(false);
        buttons->addWidget(b);
    }
    layout->addLayout(buttons);

    connect(cmdSave, &QPushButton::clicked, this, ui::Guarded([this] { save(); }));
    connect(cmdIgnore, &QPushButton::clicked, this, [this] {
        backToList_ = true;
        reject();
    });
    resize(820, 520);
}

void frmClearPatient::load(const QString& idnum) {
    db::Recordset rs;
    db::OpenQuery(rs, LoadDischargeNoticePatient(idnum));
    if (!rs.Eof()) {
        auto field = [&rs](const char* column) { return db::FieldText(rs, QString::fromLatin1(column)); };
        txtSname->setText(field("LastName"));
        txtFname->setText(field("FirstName"));
        txtMname->setText(field("MiddleName"));
        txtHospNo->setText(field("HospNum"));
        txtAdmNo->setText(field("IDNUM"));
        txtAdmDate->setText(field("AdmDate"));
        txtDoctor->setText(field("Doctor"));
        txtRoomNo->setText(field("RoomID"));
        txtNoticeDate->setText(field("NoticeDate"));
        txtOrderDate->setText(field("OrderedDate"));
        txtDischargeNurse->setText(field("DischargeNurse"));
        txtRemarks->setPlainText(field("REMARKS"));
        const bool clearedBySomeone = !rs.Value(QStringLiteral("UserId")).isNull();
        txtClearedBy->setText(clearedBySomeone ? field("UserId")
                                               : u'(' + worker_.employeecode + QStringLiteral(") ") + worker_.EmployeeName);
        if (field("ClearDate").isEmpty()) {
            txtClearDate->setText(QStringLiteral("For clearing"));
        } else {
            txtClearDate->setText(field("ClearDate"));
            txtClearRemarks->setPlainText(field("ClearRemarks"));
            txtClearRemarks->setReadOnly(true);
            ShowAsReadOnly(txtClearRemarks);
            cmdSave->setEnabled(false);
            cmdIgnore->setText(QStringLiteral("&Close"));
        }
    }
    rs.Close();
    loadMSSData();
    // The clearance remarks are all the worker types here.
    if (!txtClearRemarks->isReadOnly()) txtClearRemarks->setFocus();
}

void frmClearPatient::loadMSSData() {
    db::Recordset rs;
    db::OpenQuery(rs, PrintAssessment(txtHospNo->text(), txtAdmNo->text()));
    QString info;
    if (!rs.Eof()) {
        auto field = [&rs](const char* column) { return db::FieldText(rs, QString::fromLatin1(column)); };
        txtMSSNum->setText(field("HospNum"));
        txtCategory->setText(field("category"));
        lblClassification->setText(field("Code"));
        lblClassification->show();
        info = OtherInfoText(field("CDF"), field("PCSO"), field("special"), field("NC"));
    }
    rs.Close();
    txtOtherInfo->setText(info);
}

void frmClearPatient::save() {
    {
        ui::BusyGuard busy;
        db::ExecuteCommand(ClearPatientForDischarge(txtAdmNo->text(), worker_.employeecode,
                                                    ClearanceRemarks(txtClearRemarks->toPlainText())));
    }
    ui::MsgBox(QStringLiteral("Patient has been cleared for discharge."), ui::Icon::Information);
    backToList_ = true;
    accept();
}

}  // namespace mss::notices
