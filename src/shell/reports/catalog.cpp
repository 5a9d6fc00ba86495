#include "shell/reports/catalog.h"
#include "shell/reports/dateprompts.h"
#include "shell/reports/reports.h"
#include "shell/db/dbaccess.h"
#include "shell/db/sqltext.h"
#include "shell/db/text.h"
#include "shell/dialogs/prompt.h"
#include "shell/session/session.h"

namespace mss::reports {

using text::Trim;

namespace {

void open(const CatalogContext& ctx, const QString& file, const QVariantList& params, const QString& title) {
    PrepareReport(ctx.reportFolder + file, params);
    ShowReport(title);
}

// Shows the prompt; false when it was closed without Enter.
bool ask(ReportDatePrompt& prompt) {
    ui::ShowModal(prompt);
    return !prompt.CloseForm();
}

}  // namespace

CatalogContext CurrentContext() {
    const Session& s = session();
    return CatalogContext{s.ReportFolder, s.Company, s.Address1, Selection()};
}

void ViewListOfGrantees(const CatalogContext& ctx) {
    open(ctx, "\\ListofGrantees.rpt", {}, "List of Grantees");
}

void ListOfAssessments(const CatalogContext& ctx) {
    frmReportDateRange prompt;
    if (!ask(prompt)) return;
    open(ctx, "\\ListofAssessment.rpt", {db::DateText(prompt.startdate()), db::DateText(prompt.enddate())},
         "List of Assessments");
}

void ARRTransactionReport(const CatalogContext& ctx) {
    open(ctx, "\\ARRTransactionReport.rpt", {Trim(ctx.patient.HospNum)}, "Assessment Transaction Report");
}

void DischargeNoticeMonitoring(const CatalogContext& ctx) {
    frmReportDate prompt;
    if (!ask(prompt)) return;
    const QDateTime d = text::ParseDateTime(prompt.startdate());
    if (!d.isValid()) db::FailTypeMismatch("Report");
    open(ctx, "\\DischargeNoticeMonitoring.rpt", {d.date()}, "Discharge Notice Monitoring Report");
}

void RevokedDischargeNotice(const CatalogContext& ctx) {
    frmReportDate2 prompt;
    if (!ask(prompt)) return;
    open(ctx, "\\DischargeRevoked.rpt", {prompt.startdate(), prompt.enddate()},
         "Revoked Discharge Notice Monitoring Report");
}

void DetailedSOA(const CatalogContext& ctx) {
    const QString hospNum = Trim(ctx.patient.HospNum);
    const QString idNum = Trim(ctx.patient.IDNUM);
    if (idNum.startsWith('T')) {
        ui::MsgBox("Cannot generate SOA for Cash Patients.");
        return;
    }
    if (hospNum.isEmpty()) {
        ui::MsgBox("Please select a patient.", ui::Icon::Information, ui::Buttons::Ok, "Message");
        return;
    }
    db::Recordset rs;
    db::OpenQuery(rs, db::Sql("MSS..sp_MSS_PatientInfoForSOA '").val(hospNum).lit("','").val(idNum).lit("'"));
    QString name, address1, address2, account, company, admDate, dcrDate, room, admTime, dcrTime, rate, opd;
    if (rs.RecordCount() > 0) {
        name = text::AsText(rs.Value("PatientName"));
        address1 = db::FieldText(rs, "Address1");
        address2 = db::FieldText(rs, "Address2");
        account = db::FieldText(rs, "AccountNum");
        company = db::FieldText(rs, "Company");
        const QString adm = db::FieldText(rs, "AdmDate");
        const QString dcr = db::FieldText(rs, "dcrdate");
        admDate = adm.isEmpty() ? QString() : db::DateText(adm);
        dcrDate = dcr.isEmpty() ? QString() : db::DateText(dcr);
        room = db::FieldText(rs, "RoomID");
        admTime = db::FieldText(rs, "AdmTime");
        dcrTime = db::FieldText(rs, "dcrtime");
        rate = db::FieldText(rs, "RoomRate");
        opd = text::AsText(rs.Value("OPDIdnum"));
    }
    rs.Close();
    const bool numeric = text::IsNumeric(idNum);
    if (numeric && !Trim(opd).isEmpty()) {
        open(ctx, "\\DetailedSOAForHalvernRefNumGroupedConsolidated.rpt",
             {idNum, name, address1, address2, account, company, idNum, hospNum, admDate, dcrDate, room, rate,
              admTime, dcrTime, opd, QString()},
             "Detailed Statement of Accounts");
        return;
    }
    const QString file = numeric ? "\\DetailedSOAForHalvernRefNumGrouped.rpt" : "\\DetailedSOAForHalvernRefNumGrouped_opd.rpt";
    open(ctx, file,
         {idNum, numeric ? "501" : "102", name, address1, address2, account, company, idNum, hospNum, admDate, dcrDate,
          room, rate, admTime, dcrTime, false, QString()},
         "Detailed Statement of Accounts");
}

void SummarizedSOA(const CatalogContext& ctx) {
    const QString idNum = Trim(ctx.patient.IDNUM);
    if (idNum.isEmpty()) {
        ui::MsgBox("Please select first a patient to process.", ui::Icon::Information);
        return;
    }
    const QString hospNum = Trim(ctx.patient.HospNum);
    Session& s = session();
    const components::CurrentUser& user = *s.CurrentUser;
    if (!s.BillingConnection->EstablishedConnection(user.ServerName(), "BILLING", QString())) return;
    components::Statement& statement = *s.BillingStatement;
    statement.AdmissionNumber = idNum;
    statement.UserId = user.employeecode();
    statement.HospitalNumber = hospNum;
    statement.UserName = user.EmployeeName();
    statement.ShowSOA(idNum);
}

void PatientDatasheet(const CatalogContext& ctx) {
    db::ExecuteCommand(db::Sql("Patient_Data..sp_Adm_PatientData '").val(ctx.patient.IDNUM).lit("'"));
    open(ctx, "\\DataSheet.rpt", {ctx.address1, ctx.patient.IDNUM}, "In-Patient Data Sheet");
}

void ReprintIntakeSheet(const CatalogContext& ctx) {
    const QString hospNum = Trim(ctx.patient.HospNum);
    open(ctx, "\\IntakeSheet-Final.rpt", {"MEDICAL SOCIAL SERVICE", ctx.address1, hospNum, hospNum}, "Intake Sheet Data");
}

void ContractSlip(const CatalogContext& ctx) {
    open(ctx, "\\ContractSlip.rpt", {ctx.patient.HospNum}, "Contract Slip");
}

}  // namespace mss::reports
