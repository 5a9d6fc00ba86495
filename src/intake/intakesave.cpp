// Saving the intake sheet: the MSS number, the checks, and the whole sheet written in one
// transaction; Save/Print shows the intake sheet report afterwards.
#include "intake/familygrid.h"
#include "intake/frmintakesheet.h"
#include "intake/intakequeries.h"
#include "intake/ratings.h"
#include "shell/db/dbaccess.h"
#include "shell/db/text.h"
#include "shell/reports/reports.h"
#include "shell/session/session.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QTabWidget>
#include <QTextEdit>

namespace mss::intake {

using text::Trim;

namespace {

const QString kMessage = QStringLiteral("Message");

QString ticked(const QCheckBox* box) { return box->isChecked() ? QStringLiteral("1") : QStringLiteral("0"); }

}  // namespace

void frmIntakeSheet::savePrint() {
    // The screen closes when the save succeeds: what the report needs is taken first.
    const QString hospNum = Trim(txtHospitalNo->text());
    const QString folder = session().ReportFolder;
    const QString address = session().Address1;
    save();
    if (!saved_) return;
    reports::PrepareReport(folder + QStringLiteral("\\AssessmentTool.rpt"),
                           {QStringLiteral("MEDICAL SOCIAL SERVICE"), address, hospNum, hospNum});
    reports::ShowReport(QStringLiteral("Intake Sheet Data"));
}

void frmIntakeSheet::save() {
    const QDate interviewed = DTDateInterviewed->date();
    saved_ = false;
    // A sheet without an MSS number gets one first; the worker sees it and saves again.
    if (Trim(txtCaseNo->text()).isEmpty()) {
        txtCaseNo->setText(GetNewMSSNumber());
        return;
    }
    if (caseNumberOwnedByAnother()) return;
    if (cboCivilStatus->currentText().isEmpty()) {
        ui::MsgBox(QStringLiteral("Civil Status is Missing."), ui::Icon::Exclamation, ui::Buttons::Ok, kMessage);
        return;
    }
    QList<FamilyMember> members;
    if (!sectionsReady(&members)) return;
    if (PopMessage(QStringLiteral("Are you sure you want to save the changes?"), ui::Buttons::YesNo,
                   QStringLiteral("Tarvex Program")) != ui::Answer::Yes)
        return;
    writeSheet(interviewed, members);
    saved_ = true;
    ui::MsgBox(QStringLiteral("Record of ") + txtLastname->text() + QStringLiteral(", ") + txtFirstname->text() +
                   QStringLiteral(" Saved."),
               ui::Icon::None, ui::Buttons::Ok, kMessage);
    closeScreen();
}

QString frmIntakeSheet::GetNewMSSNumber() {
    try {
        return db::SessionConnection().ExecuteWithOutput(QStringLiteral("MSS..MSS_GetNewMSSNumber"),
                                                         QStringLiteral("@MSSNum"), 18);
    } catch (const db::Failure& failure) {
        ui::MsgBox(failure.Description);
        return QString();
    }
}

bool frmIntakeSheet::caseNumberOwnedByAnother() {
    caseConflict_ = false;
    db::Recordset rs;
    db::OpenQuery(rs, ExistsMSSNumberSql(txtCaseNo->text(), txtHospitalNo->text()));
    if (rs.RecordCount() > 0 && Trim(db::FieldText(rs, QStringLiteral("HospNum"))) != Trim(txtHospitalNo->text())) {
        const QString owner = db::FieldText(rs, QStringLiteral("PatientName"));
        rs.Close();
        ui::MsgBox(QStringLiteral("The CaseNumber already exists and is owned by ") + owner, ui::Icon::None,
                   ui::Buttons::Ok, kMessage);
        txtCaseNo->clear();
        txtCaseNo->setEnabled(true);
        caseConflict_ = true;
        return true;
    }
    rs.Close();
    return false;
}

bool frmIntakeSheet::sectionsReady(QList<FamilyMember>* members) {
    QString problem;
    *members = family->Members(&problem);
    if (problem.isEmpty()) problem = ratings->CheckRatings();
    if (problem.isEmpty()) return true;
    ui::MsgBox(problem, ui::Icon::Exclamation, ui::Buttons::Ok, kMessage);
    return false;
}

void frmIntakeSheet::writeSheet(const QDate& interviewed, const QList<FamilyMember>& members) {
    // All or nothing: a failure at any step leaves the stored sheet as it was.
    db::InTransaction([&] {
        db::ExecuteCommand(SaveIntakeSheetDataSql(intakeSheetArgs(interviewed)));
        db::ExecuteCommand(SaveOtherPatientInfoSql(otherPatientInfoArgs()));
        db::ExecuteCommand(SavePatientDataSql(patientDataArgs(interviewed)));
        db::CheckConnectionErrors();
        ratings->Save_SocialFunctioning(patient_.HospNum);
        ratings->Save_EnvironmentProblems(patient_.HospNum);
        Save_FamilyComposition(members);
        Save_MonthlyExpenses();
    });
}

QStringList frmIntakeSheet::intakeSheetArgs(const QDate& interviewed) const {
    return {patient_.HospNum,
            text::ShortDate(interviewed),
            txtClassification->text(),
            cmbCategory->currentText(),
            txtSalary->text(),
            txtEducation->text(),
            txtWard->text(),
            txtLastname->text(),
            txtFirstname->text(),
            txtMiddle->text(),
            cboSex->currentText(),
            txtBirthdate->text(),
            cboCivilStatus->currentText(),
            txtOccupation->text(),
            txtAge->text(),
            txtTelNo->text(),
            txtBirthPlace->text(),
            cboReligion->currentText(),
            txtEmployer->text(),
            patient_.IDNUM,
            txtAdmissionDate->text(),
            text::ShortDate(interviewed),
            text::ShortDate(txtExpiry->date()),
            txtTemporaryAdd->text(),
            txtPermanentAddress->text(),
            txtCaseNo->text(),
            ticked(chkSeniorCitizen),
            ticked(chkBrgyOfficial),
            ticked(chkBHW),
            ticked(chkPWD),
            ticked(chkIndigenous),
            txtOtherSectorial->text()};
}

QStringList frmIntakeSheet::otherPatientInfoArgs() const {
    const QString access = opHA_0->isChecked()   ? QStringLiteral("Not Available")
                           : opHA_1->isChecked() ? QStringLiteral("Available")
                                                 : QString();
    return {patient_.HospNum,
            cboReferringParty->currentText(),
            txtReferredBy->text(),
            txtRefferAd->text(),
            txtReferringPartyContactNo->text(),
            txtSourceInfo->text(),
            txtCompanionUponAdmission->text(),
            txtPerCapitaIncome->text(),
            cboLivingArrangement->currentText(),
            cboRelationship->currentText(),
            txtAdressOfInformant->text(),
            txtAdmDiagnosis->toPlainText(),
            txtFinalDiagnosis->toPlainText(),
            txtDurationOfProb->toPlainText(),
            txtPreviousTretment->toPlainText(),
            txtPresentPlan->toPlainText(),
            access,
            ratings->txtAssessment->toPlainText(),
            ratings->txtRecommendedInterventions->toPlainText(),
            cboPhilhealthType->currentText(),
            cboCategoryType->currentText(),
            cboAccomodation->currentText()};
}

QStringList frmIntakeSheet::patientDataArgs(const QDate& interviewed) const {
    return {patient_.HospNum,
            patient_.IDNUM,
            txtCaseNo->text(),
            cboClassCode->currentText(),
            cmbCategory->currentText(),
            cmbCategory->property("Tag").toString(),
            db::DateText(interviewed),
            db::DateText(txtExpiry->date()),
            txtMSSW->text(),
            session().EmployeeCode,
            cboReferringParty->property("Tag").toString()};
}

void frmIntakeSheet::Save_FamilyComposition(const QList<FamilyMember>& members) {
    db::ExecuteCommand(ClearFamilyCompositionSql(txtHospitalNo->text()));
    const QString total = txtTotFamIncome->text();
    if (!total.isEmpty() && !text::IsNumeric(total)) db::FailTypeMismatch();
    const QString totalText = text::NumberText(total.isEmpty() ? 0.0 : text::Val(total));
    for (const FamilyMember& m : members)
        db::ExecuteCommand(SaveFamilyMemberSql(patient_.HospNum, m.cells, m.income, totalText));
}

}  // namespace mss::intake
