#include "reporttesting.h"
#include "promptdouble.h"
#include "testhospital.h"
#include "shell/db/text.h"
#include "shell/reports/catalog.h"
#include "shell/reports/dateprompts.h"
#include "shell/reports/reports.h"

#include <QTableWidget>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

using namespace mss;
using namespace mss::reports;

namespace {

// Every report file, opened the way the menus open it, on the demo hospital.
class ReportFilesTest : public ::testing::Test {
protected:
    void SetUp() override {
        ctx_.reportFolder = QStringLiteral(MSS_SOURCE_DIR) + "/reports/";
        ctx_.company = hospital_.scalar("SELECT Company FROM PATIENT_DATA..tbHospitalInfo");
        ctx_.address1 = hospital_.scalar("SELECT Address1 FROM PATIENT_DATA..tbHospitalInfo");
        ReportSettings s;
        s.company = ctx_.company;
        s.logOn.database = "MSS";
        s.logOn.sessionConnectionString = hospital_.connection().ConnectionString();
        SetReportSettings(s);
    }
    void TearDown() override { test::closeViewers(); }

    QString shown(const QString& title) { return test::shownReport(title, dir_); }
    static QString amount(const QString& v) { return text::AmountText(v.toDouble()); }
    static auto dates(QDate a, QDate b) {
        return [a, b](QDialog& d) {
            auto& p = static_cast<ReportDatePrompt&>(d);
            p.dtStart->setDate(a);
            if (p.dtEnd) p.dtEnd->setDate(b);
            p.cmdEnter->click();
            return int(QDialog::Accepted);
        };
    }

    test::TestHospital hospital_;
    CatalogContext ctx_;
    QTemporaryDir dir_;
};

TEST_F(ReportFilesTest, ListsOfAssessmentsAndGranteesCountWhatTheDatabaseHolds) {
    const QString first = hospital_.scalar("SELECT MIN(IntakeDate) FROM MSS..tbMSSAssessment");
    const QDate from = text::ParseDateTime(first).date();
    const QDate to = from.addDays(60);
    const long n = hospital_.count("SELECT COUNT(*) FROM MSS..tbMSSAssessment WHERE IntakeDate >= '" +
                                   text::DateMDY(from) + "' AND IntakeDate < '" + text::DateMDY(to.addDays(1)) + "'");
    ASSERT_GT(n, 0);
    const QString name = hospital_.scalar("SELECT TOP 1 m.LastName FROM MSS..tbMSSAssessment a JOIN PATIENT_DATA..tbMaster m "
                                          "ON m.HospNum = a.HospNum ORDER BY a.IntakeDate");
    test::ScriptedPrompts prompts;
    prompts.expectDialog(dates(from, to));
    ListOfAssessments(ctx_);
    const QString t = shown("List of Assessments");
    EXPECT_TRUE(t.contains("From " + text::DateMDY(from) + " to " + text::DateMDY(to)));
    EXPECT_TRUE(t.contains(name));
    EXPECT_TRUE(t.contains(ctx_.company));
    EXPECT_TRUE(QRegularExpression("Total assessments\\s+" + QString::number(n) + "\\b").match(t).hasMatch()) << t.toStdString();

    // Closing the prompt opens nothing.
    prompts.expectDialog([](QDialog& d) { static_cast<ReportDatePrompt&>(d).cmdClose->click(); return 0; });
    ListOfAssessments(ctx_);
    EXPECT_TRUE(test::openViewers().isEmpty());

    const long grantees = hospital_.count("SELECT COUNT(*) FROM PATIENT_DATA..tbMaster WHERE ISNULL(MSSClassification,'') <> '' "
                                          "AND MSSDiscountExpiry >= GETDATE()");
    ViewListOfGrantees(ctx_);
    const QString g = shown("List of Grantees");
    EXPECT_TRUE(QRegularExpression("Total grantees\\s+" + QString::number(grantees) + "\\b").match(g).hasMatch()) << g.toStdString();
}

TEST_F(ReportFilesTest, ARRTransactionReportCountsThePatientsTransactions) {
    const QString hosp = hospital_.scalar("SELECT TOP 1 HospNum FROM MSS..tbMSSAssessment ORDER BY IdNum");
    const QString last = hospital_.scalar("SELECT LastName FROM PATIENT_DATA..tbMaster WHERE HospNum = '" + hosp + "'");
    ctx_.patient.HospNum = hosp;
    ARRTransactionReport(ctx_);
    const long trans = hospital_.count("SELECT COUNT(*) FROM MSS..tbMSSTransaction WHERE HospNum = '" + hosp + "'");
    const QString tr = shown("Assessment Transaction Report");
    EXPECT_TRUE(tr.contains(last));
    EXPECT_TRUE(QRegularExpression("Transactions\\s+" + QString::number(trans) + "\\b").match(tr).hasMatch()) << tr.toStdString();
}

TEST_F(ReportFilesTest, StatementsOfAccountBalanceChargesDiscountsAndDeductions) {
    struct Case { QString idnum; QString title; };
    QList<QString> ids;
    ids << hospital_.scalar("SELECT TOP 1 p.IdNum FROM PATIENT_DATA..tbPatient2 p WHERE p.OPDIdNum IS NULL AND "
                            "EXISTS (SELECT 1 FROM BILLING..tbBillMedicare b WHERE b.IdNum = p.IdNum) ORDER BY p.IdNum");
    ids << hospital_.scalar("SELECT TOP 1 o.IdNum FROM PATIENT_DATA..tbOutPatient o WHERE "
                            "EXISTS (SELECT 1 FROM BILLING..tbBillOPDailyOut b WHERE b.IdNum = o.IdNum) ORDER BY o.IdNum");
    const QString consolidated = hospital_.scalar("SELECT COUNT(*) FROM PATIENT_DATA..tbPatient2 WHERE OPDIdNum IS NOT NULL");
    if (consolidated.toLong() > 0)
        ids << hospital_.scalar("SELECT TOP 1 IdNum FROM PATIENT_DATA..tbPatient2 WHERE OPDIdNum IS NOT NULL ORDER BY IdNum");
    for (const QString& id : ids) {
        const bool opd = !text::IsNumeric(id);
        const QString bill = opd ? "BILLING..tbBillOPDailyOut" : "BILLING..tbBillDailyBill";
        const QString hosp = hospital_.scalar("SELECT HospNum FROM MSS..vwMSSEncounter WHERE IdNum = '" + id + "'");
        const QString charges = hospital_.scalar("SELECT ISNULL(SUM(Amount),0) FROM " + bill + " WHERE IdNum = '" + id +
                                                 "' AND RevenueID NOT IN ('QF','SD')");
        const QString medicare = hospital_.scalar("SELECT ISNULL(SUM(Amount),0) FROM BILLING..tbBillMedicare WHERE IdNum = '" + id + "'");
        const QString name = hospital_.scalar("SELECT LastName FROM PATIENT_DATA..tbMaster WHERE HospNum = '" + hosp + "'");
        ctx_.patient.HospNum = hosp;
        ctx_.patient.IDNUM = id;
        DetailedSOA(ctx_);
        const QString t = shown("Detailed Statement of Accounts");
        EXPECT_TRUE(t.contains(name)) << id.toStdString();
        EXPECT_TRUE(t.contains(opd ? "Registration No." : "Admission No."));
        EXPECT_TRUE(QRegularExpression("Total charges\\s+" + QRegularExpression::escape(amount(charges))).match(t).hasMatch())
            << id.toStdString() << t.toStdString();
        if (ids.indexOf(id) < 2) {
            const QString discounts = hospital_.scalar("SELECT ISNULL(SUM(Amount),0) FROM " + bill + " WHERE IdNum = '" + id +
                                                       "' AND RevenueID IN ('QF','SD')");
            const QString paid = hospital_.scalar("SELECT ISNULL(SUM(Amount),0) FROM BILLING..tbBillPayment WHERE IdNum = '" + id + "'");
            const double balance = charges.toDouble() + discounts.toDouble() - medicare.toDouble() - paid.toDouble();
            EXPECT_TRUE(t.contains(text::AmountText(balance))) << id.toStdString();
            EXPECT_TRUE(t.contains("Less Medicare and other deductions"));
        }
    }
    test::ScriptedPrompts prompts;
    prompts.expect("Cannot generate SOA for Cash Patients.");
    ctx_.patient.IDNUM = "T123";
    DetailedSOA(ctx_);
    EXPECT_TRUE(test::openViewers().isEmpty());
}

// An admission matched to an out-patient visit prints both encounters on one statement.
TEST_F(ReportFilesTest, ConsolidatedStatementAddsTheMatchedOutPatientVisit) {
    const QString id = hospital_.scalar(
        "SELECT TOP 1 p.IdNum FROM PATIENT_DATA..tbPatient2 p WHERE p.OPDIdNum IS NULL "
        "AND EXISTS (SELECT 1 FROM BILLING..tbBillDailyBill b WHERE b.IdNum = p.IdNum) "
        "AND EXISTS (SELECT 1 FROM PATIENT_DATA..tbOutPatient o WHERE o.HospNum = p.HospNum "
        "AND EXISTS (SELECT 1 FROM BILLING..tbBillOPDailyOut b WHERE b.IdNum = o.IdNum)) ORDER BY p.IdNum");
    ASSERT_FALSE(id.isEmpty());
    const QString hosp = hospital_.scalar("SELECT HospNum FROM PATIENT_DATA..tbPatient2 WHERE IdNum = '" + id + "'");
    const QString opd = hospital_.scalar("SELECT TOP 1 o.IdNum FROM PATIENT_DATA..tbOutPatient o WHERE o.HospNum = '" + hosp +
                                         "' AND EXISTS (SELECT 1 FROM BILLING..tbBillOPDailyOut b WHERE b.IdNum = o.IdNum) ORDER BY o.IdNum");
    auto& db = hospital_.connection();
    db.Execute("UPDATE PATIENT_DATA..tbPatient2 SET OPDIdNum = '" + opd + "' WHERE IdNum = '" + id + "'");
    // Discounts are posted as negative lines on each encounter's bill.
    db.Execute("INSERT INTO BILLING..tbBillDailyBill (IdNum, RevenueID, RefNum, Description, TransDate, Quantity, Amount) "
               "SELECT IdNum, 'SD', 'MSS-T1', 'PHARMACY', AdmDate, 1, -250.50 FROM PATIENT_DATA..tbPatient2 WHERE IdNum = '" + id + "'");
    db.Execute("INSERT INTO BILLING..tbBillOPDailyOut (IdNum, RevenueID, RefNum, Description, TransDate, Quantity, Amount) "
               "SELECT IdNum, 'SD', 'MSS-T2', 'LABORATORY', AdmDate, 1, -100 FROM PATIENT_DATA..tbOutPatient WHERE IdNum = '" + opd + "'");

    const double inCharges = hospital_.scalar("SELECT SUM(Amount) FROM BILLING..tbBillDailyBill WHERE IdNum = '" + id +
                                              "' AND RevenueID NOT IN ('QF','SD')").toDouble();
    const double opdCharges = hospital_.scalar("SELECT SUM(Amount) FROM BILLING..tbBillOPDailyOut WHERE IdNum = '" + opd +
                                               "' AND RevenueID NOT IN ('QF','SD')").toDouble();
    const double deductions = hospital_.scalar("SELECT ISNULL(SUM(Amount),0) FROM BILLING..tbBillMedicare WHERE IdNum IN ('" +
                                               id + "','" + opd + "')").toDouble();
    const double payments = hospital_.scalar("SELECT ISNULL(SUM(Amount),0) FROM BILLING..tbBillPayment WHERE IdNum IN ('" +
                                             id + "','" + opd + "')").toDouble();
    const QString opdLine = hospital_.scalar("SELECT TOP 1 Description FROM BILLING..tbBillOPDailyOut WHERE IdNum = '" + opd +
                                             "' AND RevenueID NOT IN ('QF','SD') ORDER BY Amount DESC");
    const QString last = hospital_.scalar("SELECT LastName FROM PATIENT_DATA..tbMaster WHERE HospNum = '" + hosp + "'");
    const QString first = hospital_.scalar("SELECT FirstName FROM PATIENT_DATA..tbMaster WHERE HospNum = '" + hosp + "'");

    ctx_.patient.HospNum = hosp;
    ctx_.patient.IDNUM = id;
    DetailedSOA(ctx_);
    const QString t = shown("Detailed Statement of Accounts");
    auto line = [&](const QString& label, double value) {
        const QString re = QRegularExpression::escape(label) + "\\s+" + QRegularExpression::escape(text::AmountText(value)) + "\\b";
        EXPECT_TRUE(QRegularExpression(re).match(t).hasMatch()) << label.toStdString() << "\n" << t.toStdString();
    };
    EXPECT_TRUE(t.contains(last)) << t.toStdString();
    EXPECT_TRUE(t.contains(first));
    EXPECT_TRUE(t.contains("Out-Patient Charges (consolidated)"));
    EXPECT_TRUE(QRegularExpression("Out-Patient No\\.:\\s+" + QRegularExpression::escape(opd)).match(t).hasMatch()) << t.toStdString();
    EXPECT_TRUE(t.contains(opdLine));
    line("Total out-patient charges", opdCharges);
    line("Total discounts", -250.50);
    line("Total out-patient discounts", -100);
    // The summary adds both encounters; the "less" lines show the size of what is taken off.
    line("Total charges", inCharges + opdCharges);
    line("Less discounts", 350.50);
    line("Less Medicare and other deductions", deductions);
    line("Less payments", payments);
    line("BALANCE DUE", inCharges + opdCharges - 350.50 - deductions - payments);
    // The in-patient table's own total is the admission alone.
    EXPECT_TRUE(QRegularExpression("Total charges\\s+" + QRegularExpression::escape(text::AmountText(inCharges)) + "\\b")
                    .match(t).hasMatch());
}

TEST_F(ReportFilesTest, PatientDocumentsAndDischargeMonitoringRender) {
    const QString id = hospital_.scalar("SELECT TOP 1 IdNum FROM PATIENT_DATA..tbPatient2 ORDER BY IdNum");
    const QString hosp = hospital_.scalar("SELECT HospNum FROM PATIENT_DATA..tbPatient2 WHERE IdNum = '" + id + "'");
    const QString last = hospital_.scalar("SELECT LastName FROM PATIENT_DATA..tbMaster WHERE HospNum = '" + hosp + "'");
    ctx_.patient.HospNum = hosp;
    ctx_.patient.IDNUM = id;
    PatientDatasheet(ctx_);
    const QString ds = shown("In-Patient Data Sheet");
    EXPECT_TRUE(ds.contains(last));
    EXPECT_TRUE(ds.contains(ctx_.address1));

    ContractSlip(ctx_);
    EXPECT_TRUE(shown("Contract Slip").contains(last));

    const QString sheet = hospital_.scalar("SELECT TOP 1 HospNum FROM MSS..tbMSSIntakeSheet ORDER BY HospNum");
    const QString member = hospital_.scalar("SELECT TOP 1 MemberName FROM MSS..tbMSSFamilyComposition WHERE HospNum = '" + sheet + "'");
    const QString sheetName = hospital_.scalar("SELECT LastName FROM MSS..tbMSSIntakeSheet WHERE HospNum = '" + sheet + "'");
    ctx_.patient.HospNum = sheet;
    ReprintIntakeSheet(ctx_);
    const QString is = shown("Intake Sheet Data");
    EXPECT_TRUE(is.contains(sheetName));
    EXPECT_TRUE(is.contains("III. Family Composition"));
    if (!member.isEmpty()) {
        EXPECT_TRUE(is.contains(member.left(12)));
    }
    PrepareReport(ctx_.reportFolder + "\\AssessmentTool.rpt", {"MEDICAL SOCIAL SERVICE", ctx_.address1, sheet, sheet});
    ShowReport("Intake Sheet Data");
    EXPECT_TRUE(shown("Intake Sheet Data").contains("ASSESSMENT TOOL"));

    const QString noticeIdnum = hospital_.scalar("SELECT TOP 1 IdNum FROM MSS..tbMSSDischargeNotice ORDER BY NoticeDate DESC");
    const QDate noticeDay = text::ParseDateTime(
        hospital_.scalar("SELECT NoticeDate FROM MSS..tbMSSDischargeNotice WHERE IdNum = '" + noticeIdnum + "'")).date();
    test::ScriptedPrompts prompts;
    prompts.expectDialog(dates(noticeDay, noticeDay));
    DischargeNoticeMonitoring(ctx_);
    const QString dn = shown("Discharge Notice Monitoring Report");
    EXPECT_TRUE(dn.contains(noticeIdnum));
    EXPECT_TRUE(dn.contains("Discharge notices of " + text::DateMDY(noticeDay)));

    prompts.expectDialog(dates(QDate(2000, 1, 1), QDate(2000, 1, 2)));
    RevokedDischargeNotice(ctx_);
    EXPECT_TRUE(shown("Revoked Discharge Notice Monitoring Report").contains("No discharge notice was revoked"));
}

}  // namespace
