#include "reporttesting.h"
#include "shell/db/text.h"
#include "shell/reports/reports.h"
#include "startedprogram.h"

#include <QFile>
#include <QRegularExpression>

using namespace mss;

namespace {

// The statements of account and the patient's papers, asked for from the main window's menus.
class StatementsTest : public test::StartedProgram {
protected:
    void choosePatient(const QString& hosp, const QString& id) {
        Selection().HospNum = hosp;
        Selection().IDNUM = id;
    }
    // The report the last command prepared: its file, the values it was given, its viewer's text.
    static QString reportFile() { return QFileInfo(reports::CurrentReport()->definition.file).fileName(); }
    static QVariantList passed() { return reports::CurrentReport()->passed; }
    QString shown(const QString& title) { return test::shownReport(title, pdfDir_); }
    static QString amount(double v) { return text::AmountText(v); }
    double number(const QString& sql) { return hospital_.scalar(sql).toDouble(); }

    QTemporaryDir pdfDir_;
};

TEST_F(StatementsTest, DetailedSOAChoosesItsLayoutByTheEncounter) {
    start();
    // No patient, a cash admission: refused, nothing opens.
    prompts_.expect("Please select a patient.");
    choose("mnuViewPatientBill");
    EXPECT_EQ(prompts_.shown().last().icon, ui::Icon::Information);
    EXPECT_EQ(prompts_.shown().last().title, "Message");
    const QString cash = hospital_.scalar("SELECT TOP 1 IdNum FROM PATIENT_DATA..tbPatient2 WHERE IdNum LIKE 'T%' ORDER BY IdNum");
    ASSERT_TRUE(cash.startsWith('T'));
    choosePatient(hospital_.scalar("SELECT HospNum FROM PATIENT_DATA..tbPatient2 WHERE IdNum = '" + cash + "'"), cash);
    prompts_.expect("Cannot generate SOA for Cash Patients.");
    choose("mnuViewPatientBill");
    EXPECT_EQ(prompts_.shown().last().icon, ui::Icon::None);
    EXPECT_TRUE(test::openViewers().isEmpty());
    EXPECT_TRUE(statements().isEmpty());

    // An admission without a consolidated out-patient visit: "501", seventeen values.
    const QString id = hospital_.scalar("SELECT TOP 1 p.IdNum FROM PATIENT_DATA..tbPatient2 p WHERE p.OPDIdNum IS NULL "
                                        "AND p.IdNum NOT LIKE 'T%' AND EXISTS (SELECT 1 FROM PATIENT_DATA..tbOutPatient o "
                                        "WHERE o.HospNum = p.HospNum) ORDER BY p.IdNum");
    const QString hosp = hospital_.scalar("SELECT HospNum FROM PATIENT_DATA..tbPatient2 WHERE IdNum = '" + id + "'");
    const QString name = hospital_.scalar("SELECT LastName + ', ' + FirstName + ' ' + MiddleName FROM PATIENT_DATA..tbMaster "
                                          "WHERE HospNum = '" + hosp + "'");
    const QString admitted = text::DateMDY(text::ParseDateTime(
        hospital_.scalar("SELECT AdmDate FROM PATIENT_DATA..tbPatient2 WHERE IdNum = '" + id + "'")).date());
    choosePatient(" " + hosp + " ", id + " ");
    choose("mnuViewPatientBill");
    EXPECT_EQ(statements(), QStringList{"MSS..sp_MSS_PatientInfoForSOA '" + hosp + "','" + id + "'"});
    EXPECT_EQ(reportFile(), "DetailedSOAForHalvernRefNumGrouped.rpt");
    QVariantList values = passed();
    ASSERT_EQ(values.size(), 17);
    EXPECT_EQ(values[0], id);
    EXPECT_EQ(values[1], "501");
    EXPECT_EQ(values[2], name);
    EXPECT_EQ(values[7], id);
    EXPECT_EQ(values[8], hosp);
    EXPECT_EQ(values[9], admitted);
    EXPECT_EQ(values[15], false);
    EXPECT_EQ(values[16], "");
    EXPECT_TRUE(shown("Detailed Statement of Accounts").contains(name));

    // With the visit that led to the admission: the consolidated layout, sixteen values.
    const QString opd = hospital_.scalar("SELECT TOP 1 IdNum FROM PATIENT_DATA..tbOutPatient WHERE HospNum = '" + hosp + "' ORDER BY IdNum");
    hospital_.connection().Execute("UPDATE PATIENT_DATA..tbPatient2 SET OPDIdNum = '" + opd + "' WHERE IdNum = '" + id + "'");
    choose("mnuViewPatientBill");
    EXPECT_EQ(reportFile(), "DetailedSOAForHalvernRefNumGroupedConsolidated.rpt");
    values = passed();
    ASSERT_EQ(values.size(), 16);
    EXPECT_EQ(values[1], name);
    EXPECT_EQ(values[6], id);
    EXPECT_EQ(values[14], opd);
    EXPECT_TRUE(shown("Detailed Statement of Accounts").contains("Out-Patient Charges (consolidated)"));

    // A registration number is not numeric: the out-patient layout with "102".
    const QString reg = hospital_.scalar("SELECT TOP 1 IdNum FROM PATIENT_DATA..tbOutPatient ORDER BY IdNum");
    choosePatient(hospital_.scalar("SELECT HospNum FROM PATIENT_DATA..tbOutPatient WHERE IdNum = '" + reg + "'"), reg);
    choose("mnuViewPatientBill");
    EXPECT_EQ(reportFile(), "DetailedSOAForHalvernRefNumGrouped_opd.rpt");
    ASSERT_EQ(passed().size(), 17);
    EXPECT_EQ(passed()[1], "102");
    test::closeViewers();

    // A lower-case "t" is no cash admission; without statement information the details are empty.
    choosePatient(hosp, "t100");
    choose("mnuViewPatientBill");
    EXPECT_EQ(reportFile(), "DetailedSOAForHalvernRefNumGrouped_opd.rpt");
    values = passed();
    EXPECT_EQ(values[0], "t100");
    EXPECT_EQ(values[2], "");
    EXPECT_EQ(values[9], "");
}

TEST_F(StatementsTest, DataSheetIntakeSheetAndContractSlipPassWhatTheSelectionHolds) {
    start();
    const QString address = hospital_.scalar("SELECT Address1 FROM PATIENT_DATA..tbHospitalInfo");
    const QString id = hospital_.scalar("SELECT TOP 1 IdNum FROM PATIENT_DATA..tbPatient2 WHERE IdNum NOT LIKE 'T%' ORDER BY IdNum");
    const QString hosp = hospital_.scalar("SELECT HospNum FROM PATIENT_DATA..tbPatient2 WHERE IdNum = '" + id + "'");
    const QString last = hospital_.scalar("SELECT LastName FROM PATIENT_DATA..tbMaster WHERE HospNum = '" + hosp + "'");

    // Re-printing and the slip ask for no patient.
    choose("mnuRePrintIntake");
    EXPECT_EQ(reportFile(), "IntakeSheet-Final.rpt");
    EXPECT_EQ(passed(), (QVariantList{"MEDICAL SOCIAL SERVICE", address, "", ""}));
    EXPECT_FALSE(shown("Intake Sheet Data").isEmpty());
    choose("mnuContractSlip");
    EXPECT_EQ(passed(), QVariantList{""});
    test::closeViewers();

    // The data sheet is of an admission only.
    choosePatient(hosp, hospital_.scalar("SELECT TOP 1 IdNum FROM PATIENT_DATA..tbOutPatient ORDER BY IdNum"));
    window()->updateActionStates();
    EXPECT_FALSE(window()->findChild<QAction*>("mnuViewPatientDatasheet")->isEnabled());
    choosePatient(hosp, id);
    statements();
    choose("mnuViewPatientDatasheet");
    EXPECT_EQ(statements().first(), "Patient_Data..sp_Adm_PatientData '" + id + "'");
    EXPECT_EQ(reportFile(), "DataSheet.rpt");
    EXPECT_EQ(passed(), (QVariantList{address, id}));
    const QString sheet = shown("In-Patient Data Sheet");
    EXPECT_TRUE(sheet.contains(last));
    EXPECT_TRUE(sheet.contains(address));

    choose("mnuRePrintIntake");
    EXPECT_EQ(passed(), (QVariantList{"MEDICAL SOCIAL SERVICE", address, hosp, hosp}));
    test::closeViewers();
    choose("mnuContractSlip");
    EXPECT_TRUE(shown("Contract Slip").contains(last));
    choosePatient(hosp + " ", id);
    choose("mnuContractSlip");
    EXPECT_EQ(passed(), QVariantList{hosp + " "}) << "the slip gets the number as chosen";
}

TEST_F(StatementsTest, SummarizedSOAAsksForAPatientAndIsSilentWithoutTheBillingConnection) {
    start();
    prompts_.expect("Please select first a patient to process.");
    choose("mnuSummarizedSOA");
    EXPECT_EQ(prompts_.shown().last().icon, ui::Icon::Information);
    EXPECT_EQ(prompts_.shown().last().title, ui::applicationTitle());

    // The billing database cannot be reached: nothing visible happens.
    const QString id = hospital_.scalar("SELECT TOP 1 IdNum FROM PATIENT_DATA..tbPatient2 WHERE IdNum NOT LIKE 'T%' ORDER BY IdNum");
    choosePatient(hospital_.scalar("SELECT HospNum FROM PATIENT_DATA..tbPatient2 WHERE IdNum = '" + id + "'"), id);
    const QString moved = hospital_.path() + ".away";
    ASSERT_TRUE(QFile::rename(hospital_.path(), moved));
    choose("mnuSummarizedSOA");
    ASSERT_TRUE(QFile::rename(moved, hospital_.path()));
    EXPECT_TRUE(test::openViewers().isEmpty());
    EXPECT_EQ(session().BillingStatement->AdmissionNumber, "") << "the statement is not asked for";
}

// The summary of a bill with every kind of line, checked against the lines summed here.
TEST_F(StatementsTest, SummarizedSOAAddsUpTheBillPerDepartment) {
    start();
    auto& db = hospital_.connection();
    const QString id = hospital_.scalar(
        "SELECT TOP 1 p.IdNum FROM PATIENT_DATA..tbPatient2 p JOIN PATIENT_DATA..tbMaster m ON m.HospNum = p.HospNum "
        "WHERE ISNULL(m.MSSNum,'') <> '' AND p.IdNum NOT LIKE 'T%' AND (SELECT COUNT(DISTINCT RevenueID) FROM "
        "BILLING..tbBillDailyBill b WHERE b.IdNum = p.IdNum) >= 4 ORDER BY p.IdNum");
    ASSERT_FALSE(id.isEmpty());
    const QString hosp = hospital_.scalar("SELECT HospNum FROM PATIENT_DATA..tbPatient2 WHERE IdNum = '" + id + "'");
    const QString bill = "FROM BILLING..tbBillDailyBill WHERE IdNum = '" + id + "'";
    // A classification in force, and the discount computed and stored by the billing procedures.
    db.Execute("UPDATE PATIENT_DATA..tbMaster SET MSSClassification = 'C2', MSSDiscountExpiry = '" +
               text::DateMDY(QDate::currentDate().addDays(30)) + "' WHERE HospNum = '" + hosp + "'");
    db.Execute("DELETE FROM BILLING..tbBillMedicareItem WHERE ClaimID IN (SELECT ClaimID FROM BILLING..tbBillMedicare WHERE IdNum = '" + id + "')");
    db.Execute("DELETE FROM BILLING..tbBillMedicare WHERE IdNum = '" + id + "'");
    db.Execute("DELETE FROM BILLING..tbBillPayment WHERE IdNum = '" + id + "'");
    db.Execute("DELETE " + bill + " AND RevenueID IN ('QF','SD')");
    db.Execute("Billing..sp_Billing_Get_ActualCharges_ForDiscount '" + id + "','',3,1");
    db.Execute("BILLING..sp_Billing_Load_DummyDiscountTable 'QF','1',1");
    ASSERT_GT(hospital_.count("SELECT COUNT(*) " + bill + " AND RevenueID = 'QF' AND Amount < 0"), 0);
    // A senior citizen line named by its department, a Medicare claim over two departments,
    // another insurer's claim, a payment.
    const QString second = hospital_.scalar("SELECT TOP 1 RevenueID " + bill + " AND RevenueID NOT IN ('RA','QF','SD') "
                                            "GROUP BY RevenueID ORDER BY RevenueID");
    db.Execute("INSERT INTO BILLING..tbBillDailyBill (IdNum, RevenueID, RefNum, ItemID, Description, TransDate, Quantity, Amount) "
               "VALUES ('" + id + "','SD','SC-0001','','ROOM AND BOARD','" + text::DateMDY(QDate::currentDate()) + "',1,-120.50)");
    db.Execute("INSERT INTO BILLING..tbBillMedicare (ClaimID, IdNum, DeductionType, ClaimNum, Amount) VALUES (90001,'" + id +
               "','MEDICARE','PHIC-T1',200)");
    db.Execute("INSERT INTO BILLING..tbBillMedicareItem (ClaimID, RevenueID, Amount) VALUES (90001,'RA',100)");
    db.Execute("INSERT INTO BILLING..tbBillMedicareItem (ClaimID, RevenueID, Amount) VALUES (90001,'" + second + "',300)");
    db.Execute("INSERT INTO BILLING..tbBillMedicare (ClaimID, IdNum, DeductionType, ClaimNum, Amount) VALUES (90002,'" + id +
               "','OTHERS','HMO-T1',80)");
    db.Execute("INSERT INTO BILLING..tbBillMedicareItem (ClaimID, RevenueID, Amount) VALUES (90002,'RA',80)");
    db.Execute("INSERT INTO BILLING..tbBillPayment (IdNum, ORNumber, PaymentDate, Amount, PaidBy) VALUES ('" + id +
               "','OR-T1','" + text::DateMDY(QDate::currentDate()) + "',1000,'SPOUSE')");

    choosePatient(hosp, id);
    statements();
    choose("mnuSummarizedSOA");
    const components::Statement& statement = *session().BillingStatement;
    EXPECT_EQ(statement.AdmissionNumber, id);
    EXPECT_EQ(statement.HospitalNumber, hosp);
    EXPECT_EQ(statement.UserId, "0001");
    EXPECT_EQ(statement.UserName, session().CurrentUser->EmployeeName());
    EXPECT_EQ(reportFile(), "SummarizedSOA.rpt");
    EXPECT_EQ(passed(), (QVariantList{id, hosp, "0001", session().CurrentUser->EmployeeName()}));
    EXPECT_TRUE(statements().isEmpty()) << "the statement reads through the billing connection";
    const QString t = shown("Summarized Statement of Account");

    auto line = [&](const QString& label, const QList<double>& amounts) {
        QString re = QRegularExpression::escape(label);
        for (double a : amounts) re += "\\s+" + QRegularExpression::escape(amount(a));
        EXPECT_TRUE(QRegularExpression(re + "\\s*$", QRegularExpression::MultilineOption).match(t).hasMatch())
            << label.toStdString() << "\n" << t.toStdString();
    };
    double charges = 0, qf = 0;
    const db::ResultTable departments =
        hospital_.openAnother()->Execute("SELECT DISTINCT RevenueID " + bill + " AND RevenueID NOT IN ('QF','SD')");
    ASSERT_GE(departments.rows.size(), 4);
    for (const auto& row : departments.rows) {
        const QString dept = row.at(0).toString();
        const double c = number("SELECT SUM(Amount) " + bill + " AND RevenueID = '" + dept + "'");
        const double d = -number("SELECT ISNULL(SUM(Amount),0) " + bill + " AND RevenueID = 'QF' AND ItemID = '" + dept + "'");
        const double sd = dept == "RA" ? 120.50 : 0;
        const double medicare = dept == "RA" ? 50 : dept == second ? 150 : 0;
        const double others = dept == "RA" ? 80 : 0;
        line(hospital_.scalar("SELECT Description FROM BUILD_FILE..tbCoRevenueCode WHERE RevenueID = '" + dept + "'"),
             {c, d, sd, medicare, others, c - d - sd - medicare - others});
        charges += c;
        qf += d;
    }
    EXPECT_NEAR(qf, -number("SELECT SUM(Amount) " + bill + " AND RevenueID = 'QF'"), 0.005) << "every QF line has its department";
    line("TOTAL", {charges, qf, 120.50, 200, 80, charges - qf - 120.50 - 280});
    line("Total payments", {1000});
    line("Total charges", {charges});
    line("Less MSS discount (QF)", {qf});
    line("Less senior citizen discount", {120.50});
    line("Less Medicare", {200});
    line("Less other deductions", {80});
    line("Less payments", {1000});
    line("BALANCE DUE", {charges - qf - 120.50 - 280 - 1000});
    EXPECT_TRUE(t.contains("OR-T1"));
    EXPECT_TRUE(t.contains("Prepared by " + session().CurrentUser->EmployeeName() + " (0001)"));

    // An out-patient registration is summarized from its own bill.
    const QString reg = hospital_.scalar("SELECT TOP 1 o.IdNum FROM PATIENT_DATA..tbOutPatient o WHERE EXISTS "
                                         "(SELECT 1 FROM BILLING..tbBillOPDailyOut b WHERE b.IdNum = o.IdNum) ORDER BY o.IdNum");
    choosePatient(hospital_.scalar("SELECT HospNum FROM PATIENT_DATA..tbOutPatient WHERE IdNum = '" + reg + "'"), reg);
    choose("mnuSummarizedSOA");
    const QString r = shown("Summarized Statement of Account");
    EXPECT_TRUE(QRegularExpression("Total charges\\s+" + QRegularExpression::escape(amount(number(
        "SELECT SUM(Amount) FROM BILLING..tbBillOPDailyOut WHERE IdNum = '" + reg + "' AND RevenueID NOT IN ('QF','SD')"))))
                    .match(r).hasMatch()) << r.toStdString();
}

}  // namespace
