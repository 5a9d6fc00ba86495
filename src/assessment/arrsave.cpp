// frmARR: the two save buttons, their one transaction, and the printed forms.
#include "assessment/frmarr.h"
#include "assessment/codelist.h"
#include "shell/db/dbaccess.h"
#include "shell/db/error.h"
#include "shell/db/text.h"
#include "shell/dialogs/action.h"
#include "shell/dialogs/prompt.h"
#include "shell/reports/reports.h"
#include "shell/session/session.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QRadioButton>

namespace mss::assessment {

using namespace arr;
using text::Trim;

namespace {

// The date a box holds in the short form the procedures read; a box without a date fails
// (type mismatch), inside the save so that nothing is written.
QString shortDate(const QLineEdit* box) {
    const QDateTime dt = text::ParseDateTime(box->text());
    if (!dt.isValid()) db::FailTypeMismatch();
    return text::ShortDate(dt.date());
}

QString flag(bool on) { return on ? QStringLiteral("1") : QString(); }

}  // namespace

bool frmARR::validityAccepted() {
    const QString typed = mskRange1->text();
    const QDateTime date = text::ParseDateTime(typed);
    if (!date.isValid()) {
        ui::MsgBox("You have entered an invalid date " + typed + ".", ui::Icon::Critical);
        mskRange1->setFocus();
        return false;
    }
    if (date.date().year() > QDate::currentDate().year() + 2 &&
        ui::MsgBox(TwoYearsQuestion(), ui::Icon::Question, ui::Buttons::YesNo) != ui::Answer::Yes) {
        mskRange1->setFocus();
        return false;
    }
    return true;
}

bool frmARR::save(bool forPrint) {
    if (!validityAccepted()) return false;
    const QString question = VerificationText(forPrint, txtLastname->text(), txtFirstname->text(), txtMiddleName->text(),
                                              txtHospNum->text(), txtMSSNum->text(), cboClassification->currentText(),
                                              mskRange1->text());
    if (ui::MsgBox(question, ui::Icon::Question, ui::Buttons::YesNo) == ui::Answer::Yes) saveSequence();
    return true;
}

void frmARR::saveSequence() {
    try {
        saved_ = false;
        if (cboClassification->currentText().isEmpty()) {
            ui::MsgBox("Please enter classification before saving.", ui::Icon::Information, ui::Buttons::Ok, "Message");
            return;
        }
        db::Recordset rs;
        db::OpenQuery(rs, ExistsMSSNumberSql(txtMSSNum->text(), txtHospNum->text()));
        if (!rs.Eof() && Trim(db::FieldText(rs, "HospNum")) != Trim(txtHospNum->text())) {
            const QString owner = db::FieldText(rs, "PatientName");
            rs.Close();
            ui::MsgBox("The CaseNumber already exists. \nIt is owned by " + owner, ui::Icon::None, ui::Buttons::Ok,
                       "Message");
            txtMSSNum->clear();
            txtMSSNum->setReadOnly(false);
            txtMSSNum->setEnabled(true);
            return;
        }
        rs.Close();
        const AssessmentValues values = gather();
        db::InTransaction([&values] {
            ui::BusyGuard busy;
            for (const QString& statement : SaveStatements(values)) {
                db::ExecuteCommand(statement);
                db::CheckConnectionErrors();
            }
        });
        ui::MsgBox(SavedText(txtLastname->text(), txtFirstname->text(), txtHospNum->text(),
                             text::DateMDY(text::ParseDateTime(values.validityDate).date())),
                   ui::Icon::Information, ui::Buttons::Ok, "Message");
        saved_ = true;
    } catch (const db::Failure& failure) {
        ui::MsgBox(NotSavedText(failure.Number, failure.Description), ui::Icon::Critical, ui::Buttons::Ok, "Message");
    }
}

AssessmentValues frmARR::gather() const {
    AssessmentValues v;
    v.hospNum = HospNum;
    v.idNum = IDNUM;
    v.txtHospNum = txtHospNum->text();
    v.txtIDNum = txtIDNum->text();
    v.mssNum = Trim(txtMSSNum->text());
    v.code = Trim(cboClassification->currentText().left(2));

    const QListWidgetItem* category = nullptr;
    for (int i = 0; i < lstCategory->count(); ++i)
        if (lstCategory->item(i)->isSelected()) category = lstCategory->item(i);
    if (category) {
        v.categoryId = Trim(category->text().right(2));
        v.categoryName = Trim(category->text().chopped(2));
    } else {
        for (int i = 0; i < optCategory.size(); ++i)
            if (optCategory[i]->isChecked()) v.categoryName = OptionCategoryName(i);
    }
    for (int i = 0; i < lstParentCategory->count(); ++i)
        if (lstParentCategory->item(i)->isSelected()) v.parentCategoryId = Trim(lstParentCategory->item(i)->text().right(2));
    const QString referring = cboReferring->currentText();
    if (referring.contains('-')) v.referringParty = Trim(referring.section('-', 0, 0));
    v.active = chkActive->isChecked() ? "Y" : "N";
    v.caseStatus = caseStatusTag_;
    if (chkPCSO->isChecked()) {
        v.pcso = "1";
        const char* const types[] = {"E", "G", "C"};
        for (int i = 0; i < 3; ++i)
            if (optPCSO[i]->isChecked()) v.pcsoType = QString::fromLatin1(types[i]);
    }
    v.sponsor = flag(chkSponsor->isChecked());
    v.special = flag(chkSpecial->isChecked());
    const QString nc = txtNC->text().isEmpty() ? QStringLiteral("0.00") : txtNC->text();
    v.nc = text::NumberText(text::Val(nc));
    v.intakeDate = shortDate(mskIntake);
    v.validityDate = shortDate(mskRange1);
    v.worker = worker_;
    v.user = session().CurrentUser ? session().CurrentUser->employeecode() : QString();
    v.remarks = txtRemarks->toPlainText();
    v.services = services_;
    v.activities = activities_;
    for (const QCheckBox* box : chkdoc) v.docs += (box->isChecked() ? "1" : "0") + QStringLiteral("|");
    return v;
}

void frmARR::print() {
    // An earlier save of this screen still prints when this one is answered No.
    if (save(true) && saved_) printForm("Assessment and Referal report");
}

void frmARR::reprint() { printForm("Reprint Assessment and Referal report"); }

void frmARR::printForm(const QString& title) {
    const QString user = session().CurrentUser ? session().CurrentUser->EmployeeName() : QString();
    reports::PrepareReport(session().ReportFolder + "\\ARR_New.rpt",
                           {Trim(txtHospNum->text()), Trim(txtIDNum->text()), user, licence_, txtDoctor->text()});
    // The screen is done with once its form is out.
    close();
    reports::ShowReport(title);
}

void frmARR::printTransactions() {
    reports::PrepareReport(session().ReportFolder + "\\ARRTransactionReport.rpt", {Trim(txtHospNum->text())});
    close();
    reports::ShowReport("Assessment Transaction Report");
}

}  // namespace mss::assessment
