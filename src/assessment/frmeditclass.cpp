#include "assessment/frmeditclass.h"
#include "assessment/classhistoryqueries.h"
#include "shell/dialogs/screenparts.h"
#include "shell/db/dbaccess.h"
#include "shell/db/text.h"
#include "shell/dialogs/action.h"
#include "shell/dialogs/frmdeletepassword.h"
#include "shell/dialogs/prompt.h"

#include <QAction>
#include <QButtonGroup>
#include <QCursor>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace mss::assessment {

using ui::CommandButton;
using ui::FillGrid;
using ui::Frame;
using ui::Heading;
using ui::ReadOnlyRow;
using ui::RowGrid;

using namespace classhistory;
using text::Trim;
using text::TwipsToPixels;

namespace {


}  // namespace

frmEditClass::frmEditClass(const PatientSelection& patient, const dialogs::RightsHolder& user, QWidget* parent)
    : QDialog(parent), user_(user) {
    setObjectName("frmEditClass");
    setWindowTitle("MSS");
    auto* root = new QHBoxLayout(this);
    root->setContentsMargins(0, 0, 0, 0);
    root->setSpacing(0);

    // The class on the left, always in sight; the history on the right, beyond the narrow width.
    auto* classPane = new QWidget(this);
    classPane->setFixedWidth(TwipsToPixels(kNarrowTwips));
    auto* left = new QVBoxLayout(classPane);
    lblEditClass = Heading("Edit Patient Classification", "lblEditClass", classPane, 1.15);
    left->addWidget(lblEditClass);

    fraPatientInfo = Frame("Patient's Info.", "fraPatientInfo", classPane);
    auto* info = new QFormLayout(fraPatientInfo);
    txtHospNo = ReadOnlyRow(info, "Hosp. No. :", "txtHospNo");
    txtName = ReadOnlyRow(info, "Name :", "txtName");
    txtIDNum = ReadOnlyRow(info, "Adm. No. :", "txtIDNum");
    txtMSSno = ReadOnlyRow(info, "MSS No. :", "txtMSSno");
    left->addWidget(fraPatientInfo);

    fraEditClass = Frame("Edit Classification", "fraEditClass", classPane);
    auto* options = new QHBoxLayout(fraEditClass);
    optClass_0 = new QRadioButton("Pay", fraEditClass);
    optClass_0->setObjectName("optClass_0");
    optClass_1 = new QRadioButton("Service", fraEditClass);
    optClass_1->setObjectName("optClass_1");
    auto* group = new QButtonGroup(this);
    group->addButton(optClass_0, 0);
    group->addButton(optClass_1, 1);
    options->addWidget(optClass_0);
    options->addWidget(optClass_1);
    left->addWidget(fraEditClass);

    cmdSave = CommandButton("&SAVE", "cmdSave", classPane);
    cmdPrev = CommandButton("&View Previous Classifications", "cmdPrev", classPane);
    left->addWidget(cmdSave);
    left->addWidget(cmdPrev);
    left->addStretch();
    root->addWidget(classPane);

    historyPane_ = new QWidget(this);
    auto* right = new QVBoxLayout(historyPane_);
    right->setContentsMargins(4, 9, 9, 9);
    lblRemoveClass = Heading("Remove Saved Patient Classification", "lblRemoveClass", historyPane_, 1.15);
    right->addWidget(lblRemoveClass);
    fraHistory = Frame("Previous Classifications", "fraHistory", historyPane_);
    auto* historyLayout = new QVBoxLayout(fraHistory);
    historyLayout->setContentsMargins(2, 2, 2, 2);
    grdClassHistory = RowGrid("grdClassHistory", fraHistory);
    // The widths are those of the hospital's small grid font.
    QFont small = grdClassHistory->font();
    small.setPointSizeF(small.pointSizeF() * 0.85);
    grdClassHistory->setFont(small);
    grdClassHistory->horizontalHeader()->setFont(small);
    grdClassHistory->verticalHeader()->setDefaultSectionSize(QFontMetrics(small).height() + 6);
    grdClassHistory->setContextMenuPolicy(Qt::CustomContextMenu);
    historyLayout->addWidget(grdClassHistory);
    right->addWidget(fraHistory, 1);
    cmdBack = CommandButton("<< BACK", "cmdBack", historyPane_);
    right->addWidget(cmdBack, 0, Qt::AlignRight);
    root->addWidget(historyPane_, 1);

    mnuFileDelete = new QMenu("File", this);
    mnuFileDelete->setObjectName("mnuFileDelete");
    mnuDelete = mnuFileDelete->addAction("Delete record");
    mnuDelete->setObjectName("mnuDelete");
    // F10 anywhere on the screen, the grid included.
    mnuDelete->setShortcut(QKeySequence(Qt::Key_F10));
    mnuDelete->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    addAction(mnuDelete);

    connect(cmdSave, &QPushButton::clicked, this, ui::Guarded([this] { save(); }));
    connect(cmdPrev, &QPushButton::clicked, this, ui::Guarded([this] { showHistory(); }));
    connect(cmdBack, &QPushButton::clicked, this, [this] { back(); });
    connect(mnuDelete, &QAction::triggered, this, ui::Guarded([this] { deleteRecord(); }));
    connect(grdClassHistory, &QWidget::customContextMenuRequested, this, [this](const QPoint& pos) {
        // The row under the mouse is the one the worker means.
        const int row = grdClassHistory->rowAt(pos.y());
        if (row >= 0) grdClassHistory->selectRow(row);
        popUp(grdClassHistory->viewport()->mapToGlobal(pos));
    });
    connect(grdClassHistory, &QTableWidget::cellDoubleClicked, this, [this] { popUp(QCursor::pos()); });

    setWide(false);
    txtHospNo->setText(patient.HospNum);
    txtName->setText(patient.PatientName);
    txtIDNum->setText(patient.IDNUM);
    txtMSSno->setText(patient.MSSID);
    loadClass();
}

void frmEditClass::setWide(bool wide) {
    historyPane_->setVisible(wide);
    setFixedWidth(TwipsToPixels(wide ? kWideTwips : kNarrowTwips));
}

void frmEditClass::loadClass() {
    db::Recordset rs;
    db::OpenQuery(rs, CurrentClassSql(txtIDNum->text()));
    const QString letter = rs.RecordCount() > 0 ? db::FieldText(rs, "PatientClass") : QString();
    rs.Close();
    auto* group = optClass_0->group();
    group->setExclusive(false);
    optClass_0->setChecked(letter == "P");
    optClass_1->setChecked(letter == "S");
    group->setExclusive(true);
}

void frmEditClass::save() {
    QString letter;
    if (optClass_1->isChecked()) {
        letter = "S";
    } else if (optClass_0->isChecked()) {
        letter = "P";
        db::Recordset rs;
        db::OpenQuery(rs, ClassificationInForceSql(txtHospNo->text()));
        QString classification, expiry;
        if (rs.RecordCount() > 0) {
            classification = db::FieldText(rs, "MSSClassification");
            expiry = db::FieldText(rs, "MssDiscountExpiry");
        }
        rs.Close();
        if (PayRefused(classification, expiry, QDate::currentDate())) {
            ui::MsgBox(PayRefusalMessage(classification, expiry), ui::Icon::Exclamation, ui::Buttons::Ok, "Message");
            return;
        }
    } else {
        // Without a class the database would refuse the change anyway.
        ui::MsgBox("Please choose Pay or Service.", ui::Icon::Exclamation, ui::Buttons::Ok, "Message");
        return;
    }
    db::ExecuteCommand(ChangeClassSql(txtIDNum->text(), letter, user_.employeecode()));
    ui::MsgBox("Record Updated", ui::Icon::Information);
    accept();
}

void frmEditClass::showHistory() {
    setWide(true);
    readHistory();
}

void frmEditClass::readHistory() {
    db::Recordset rs;
    db::OpenQuery(rs, HistorySql(txtIDNum->text()));
    QStringList header{QString()};
    for (const QString& part : gridHeader().split('|')) header << Trim(part);
    FillGrid(grdClassHistory, header, gridWidths(), rs);
    // The user's name takes what is left, so the grid needs no sideways scrolling.
    grdClassHistory->horizontalHeader()->setSectionResizeMode(header.size() - 1, QHeaderView::Stretch);
    rs.Close();
}

void frmEditClass::back() { setWide(false); }

void frmEditClass::popUp(const QPoint& globalPos) { mnuFileDelete->popup(globalPos); }

void frmEditClass::deleteRecord() {
    const QModelIndexList chosen = grdClassHistory->selectionModel()->selectedRows();
    if (chosen.isEmpty()) {
        ui::MsgBox("Please select the class history record to delete.", ui::Icon::Information);
        return;
    }
    const int row = chosen.first().row();
    dialogs::frmDeletePassword rights(&user_, this);
    rights.SetGetForm(2);
    ui::ShowModal(rights);
    if (!rights.DeleteOK()) {
        ui::MsgBox("Unauthorized User.", ui::Icon::Information);
        return;
    }
    const QString reason = ui::InputBox("Enter Reason for deleting the Class History: ", "Update Record").value_or(QString());
    if (Trim(reason).size() < kMinimumReason) {
        ui::MsgBox(ShortReasonMessage(), ui::Icon::Critical);
        return;
    }
    auto cell = [&](int c) {
        const QTableWidgetItem* item = grdClassHistory->item(row, c);
        return item ? item->text() : QString();
    };
    try {
        db::ExecuteCommand(RemoveHistorySql(txtIDNum->text(), cell(2), reason, cell(1), user_.employeecode()));
        readHistory();
    } catch (const db::Failure&) {
        ui::MsgBox("Error in saving/ deleting data.", ui::Icon::Critical);
        return;
    }
    ui::MsgBox("Record Successfully deleted.", ui::Icon::Information);
}

void EditPatientClassification(const PatientSelection& patient, const dialogs::RightsHolder& user) {
    frmEditClass screen(patient, user);
    ui::ShowModal(screen);
}

}  // namespace mss::assessment
