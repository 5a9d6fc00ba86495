// The QF discount, driven as the computation screen drives it.
#include "tests/hospitaldb/casework/casedb.h"

#include <QMap>
#include <QRegularExpression>

namespace casework_test {
namespace {

struct Line { double actual, medicare, discount; };
using Grid = QMap<QString, Line>;

class Discount : public CaseDb {
protected:
    void classify(const QString& hospNum, const QString& idNum, const QString& mssNum, const QString& code,
                  const QString& special = "", const QString& nc = "0") {
        run("MSS..sp_MSS_SaveAssessment_NEW'" +
            QStringList{hospNum, idNum, mssNum, code, "INDIGENT", "03", "", mdy(0), mdy(180), "0002", "0001", "",
                        "", special, nc, "", "", "03", "D", "Y", "02", ""}.join("','") + "'");
    }
    Grid grid(const Rows& r) {
        Grid g;
        for (int i = 0; i < r.size(); ++i) {
            EXPECT_EQ(r.table.columns.mid(0, 5),
                      QStringList({"RevenueID", "Department", "Actual Charges", "Medicare", "Discount"}));
            g.insert(r.table.rows[i][0].toString(),
                     {r.number(i, "Actual Charges"), r.number(i, "Medicare"), r.number(i, "Discount")});
        }
        return g;
    }
    // Spreads the deductions over the departments as the screen does.
    void spreadMedicare(const QString& idNum) {
        Rows total = run("Billing..sp_Billing_GetTotalMedicare_Others '" + idNum + "'");
        if (total.size() == 0) return;
        const double t = total.number(0, "Amount");
        Rows items = run("Billing..sp_Billing_Get_MedicareItems_Others '" + idNum + "'");
        double s = 0;
        for (int i = 0; i < items.size(); ++i) s += items.number(i, "Amount");
        for (int i = 0; i < items.size(); ++i)
            run("Billing..sp_Billing_Update_DummyDiscountTable '" + QString::number(items.number(i, "Amount") / s * t) +
                "','" + items.text(i, "RevenueID") + "'");
    }
};

// Detail rows that outlived their QF line (the demo's own stored discounts keep theirs).
const char* const kOrphanDetails =
    "SELECT count(*) FROM BILLING__tbBillDiscountDetail x "
    "WHERE NOT EXISTS (SELECT 1 FROM BILLING__tbBillDailyBill b WHERE b.LineID = x.DailyLineID AND b.RevenueID = 'QF') "
    "AND NOT EXISTS (SELECT 1 FROM BILLING__tbBillOPDailyOut o WHERE o.LineID = x.OPLineID AND o.RevenueID = 'QF')";

void expectLine(const Grid& g, const char* rev, double actual, double medicare, double discount) {
    ASSERT_TRUE(g.contains(rev)) << rev;
    EXPECT_NEAR(g[rev].actual, actual, 0.005) << rev;
    EXPECT_NEAR(g[rev].medicare, medicare, 0.005) << rev;
    EXPECT_NEAR(g[rev].discount, discount, 0.005) << rev;
}

TEST_F(Discount, ComputedDiscountIsStoredAsQfLinesAndReadBackTheSameWay) {
    classify("91000001", "991201", "2026-990001", "C1");
    EXPECT_EQ(run("Billing..sp_Billing_Check_ExistingDiscount '991201','QF'").size(), 0);

    run("Billing..sp_Billing_Get_ActualCharges_ForDiscount '991201','',3,1");
    Rows medicare = run("Billing..sp_Billing_GetTotalMedicare_Others '991201'");
    ASSERT_EQ(medicare.size(), 1);
    EXPECT_DOUBLE_EQ(medicare.number(0, "Amount"), 200);
    spreadMedicare("991201");  // items 100 and 300 of a total of 200: shares 50 and 150
    Rows special = run("Billing..sp_Billing_Get_MSS_SpecialArrangementRemarks '991201'");
    ASSERT_EQ(special.size(), 1);
    EXPECT_FALSE(special.at(0, "IsSpecial").toBool());

    const Grid loaded = grid(run("BILLING..sp_Billing_Load_DummyDiscountTable 'QF','1',1"));
    EXPECT_EQ(loaded.size(), 5);  // the senior-citizen deduction is not a charge
    expectLine(loaded, "RA", 1000, 0, 250);          // room 25 %
    expectLine(loaded, "PH", 2000, 50, 780);         // medicines 40 % of 1950
    expectLine(loaded, "CS", 1000, 0, 400);          // supplies 40 %
    expectLine(loaded, "LB", 3000, 150, 1425);       // procedures 50 % of 2850
    expectLine(loaded, "MD", 5000, 0, 0);            // no rate on professional fees

    EXPECT_EQ(count("SELECT count(*) FROM BILLING__tbBillDailyBill WHERE IdNum = '991201' AND RevenueID = 'QF'"
                    " AND RefNum = '2026-990001'"), 5);
    EXPECT_NEAR(value("SELECT sum(Amount) FROM BILLING__tbBillDailyBill WHERE IdNum = '991201' AND RevenueID = 'QF'")
                    .toDouble(), -2855, 0.005);

    const Grid stored = grid(run("Billing..sp_Billing_Check_ExistingDiscount '991201','QF'"));
    EXPECT_EQ(stored.keys(), loaded.keys());
    for (const QString& k : loaded.keys()) expectLine(stored, k.toLatin1().constData(), loaded[k].actual,
                                                      loaded[k].medicare, loaded[k].discount);

    // Loading again replaces the stored lines instead of adding to them.
    run("Billing..sp_Billing_Get_ActualCharges_ForDiscount '991201','',3,1");
    run("BILLING..sp_Billing_Load_DummyDiscountTable 'QF','1',1");
    EXPECT_EQ(count("SELECT count(*) FROM BILLING__tbBillDailyBill WHERE IdNum = '991201' AND RevenueID = 'QF'"), 5);

    run("Billing..sp_Billing_Delete_Existing_ComputedDiscount_All '991201','991201','QF'");
    EXPECT_EQ(run("Billing..sp_Billing_Check_ExistingDiscount '991201','QF'").size(), 0);
    EXPECT_EQ(count(kOrphanDetails), 0);
    EXPECT_EQ(run("Select * From Billing..tbDummyDiscountTable").size(), 0);
}

TEST_F(Discount, TheAssessmentSaveRemovesTheStoredDiscount) {
    classify("91000001", "991201", "2026-990001", "C1");
    run("Billing..sp_Billing_Get_ActualCharges_ForDiscount '991201','',3,1");
    run("BILLING..sp_Billing_Load_DummyDiscountTable 'QF','1',1");
    ASSERT_EQ(run("Billing..sp_Billing_Check_ExistingDiscount '991201','QF'").size(), 5);
    run("DELETE   FROM BILLING..tbBillDailyBill WHERE revenueid = 'QF' and refNum = '2026-990001' and IdNum = '991201'");
    EXPECT_EQ(run("Billing..sp_Billing_Check_ExistingDiscount '991201','QF'").size(), 0);
    EXPECT_EQ(count(kOrphanDetails), 0);
}

TEST_F(Discount, MatchedOutPatientChargesJoinTheAdmission) {
    classify("91000001", "991201", "2026-990001", "C1");
    Rows opd = run("BILLING..sp_Billing_Search_Matching_OPDNumber_At_TbPatient '991201'");
    ASSERT_GT(opd.size(), 0);
    const QString opdNum = opd.text(0, "OPDIdnum").trimmed();
    ASSERT_EQ(opdNum, "991202B");
    run("Billing..sp_Billing_Get_ActualCharges_ForDiscount '991201','" + opdNum + "',4,1");
    spreadMedicare("991201");
    const Grid g = grid(run("BILLING..sp_Billing_Load_DummyDiscountTable 'QF','1',1"));
    expectLine(g, "LB", 3500, 150, 1675);
    expectLine(g, "PH", 2300, 50, 900);
    // The lines go on the admission's bill.
    EXPECT_EQ(count("SELECT count(*) FROM BILLING__tbBillOPDailyOut WHERE RevenueID = 'QF'"
                    " AND IdNum IN ('991201', '991202B')"), 0);
    EXPECT_EQ(count("SELECT count(*) FROM BILLING__tbBillDailyBill WHERE RevenueID = 'QF' AND IdNum = '991201'"), 5);
}

TEST_F(Discount, OutPatientsGetOutPatientRatesAndNoRoomRate) {
    classify("91000003", "991301B", "2026-990003", "C1");
    run("Billing..sp_Billing_Get_ActualCharges_ForDiscount '991301B','',7,1");
    EXPECT_EQ(run("Billing..sp_Billing_GetTotalMedicare_Others '991301B'").size(), 0);
    const Grid g = grid(run("BILLING..sp_Billing_Load_DummyDiscountTable 'QF','1',1"));
    EXPECT_EQ(g.size(), 2);
    expectLine(g, "LB", 800, 0, 320);  // Procedures2 40 %
    expectLine(g, "CS", 200, 0, 60);   // Supplies2 30 %
    EXPECT_EQ(count("SELECT count(*) FROM BILLING__tbBillOPDailyOut WHERE RevenueID = 'QF' AND IdNum = '991301B'"), 2);
    EXPECT_EQ(grid(run("Billing..sp_Billing_Check_ExistingDiscount '991301B','QF'")).size(), 2);
    run("Billing..sp_Billing_Delete_Existing_ComputedDiscount_All '991301B','991301B','QF'");
    EXPECT_EQ(run("Billing..sp_Billing_Check_ExistingDiscount '991301B','QF'").size(), 0);
}

TEST_F(Discount, SpecialArrangementDiscountsAreTakenAsWritten) {
    classify("91000001", "991201", "2026-990001", "C1", "1", "2000");
    run("Billing..sp_Billing_Get_ActualCharges_ForDiscount '991201','',3,1");
    spreadMedicare("991201");
    Rows special = run("Billing..sp_Billing_Get_MSS_SpecialArrangementRemarks '991201'");
    ASSERT_TRUE(special.at(0, "IsSpecial").toBool());
    ASSERT_DOUBLE_EQ(special.number(0, "NC"), 2000);

    const double n = run("Select isnull(sum(ActualCharges),0) as ActualCharges From Billing..tbDummyDiscountTable "
                         "Where RevenueID <> 'MD'").number(0, "ActualCharges");
    EXPECT_DOUBLE_EQ(n, 7000);
    Rows bill = run("Billing..sp_Billing_Get_SeniorCitizenCharges_PerDepartment '991201','', 6");
    ASSERT_GT(bill.size(), 0);
    const double b = bill.number(0, "Actual Charges");
    EXPECT_DOUBLE_EQ(b, 6800);  // charges other than professional fees, less their Medicare share

    Rows rows = run("Select * From Billing..tbDummyDiscountTable");
    for (int i = 0; i < rows.size(); ++i) {
        const QString rev = rows.text(i, "RevenueID");
        const double ac = rows.number(i, "ActualCharges");
        const double d = rev == "MD" ? ac : ac / n * (b - 2000);
        run("Billing..sp_Billing_Update_Discount_DummyDiscountTable '" + QString::number(d, 'g', 17) + "','" + rev + "'");
    }
    const Grid g = grid(run("BILLING..sp_Billing_Load_DummyDiscountTable 'QF','2',1"));
    expectLine(g, "LB", 3000, 150, 2057.14);
    expectLine(g, "MD", 5000, 0, 5000);
    double total = 0;
    for (const Line& l : g) total += l.discount;
    EXPECT_NEAR(total, 4800 + 5000, 0.02);
    expectLine(grid(run("Billing..sp_Billing_Check_ExistingDiscount '991201','QF'")), "LB", 3000, 150, 2057.14);
}

// Whole amounts are stored as integers; their shares must still divide as amounts do.
TEST_F(Discount, MedicareSharesOfWholeAmountsDivideAsAmounts) {
    backend().engine().runScript(
        "DELETE FROM BILLING__tbBillDailyBill WHERE IdNum = '991201';"
        "DELETE FROM BILLING__tbBillMedicareItem WHERE ClaimID = 99001;"
        "INSERT INTO BILLING__tbBillDailyBill (IdNum, RevenueID, RefNum, ItemID, Description, TransDate, Quantity, Amount)"
        " VALUES ('991201', 'LB', 'K1', 'L001', 'LABORATORY', datetime('now'), 1, 3000),"
        "        ('991201', 'PH', 'K2', 'P01', 'MEDICINES', datetime('now'), 1, 2000),"
        "        ('991201', 'MD', 'K3', 'D001', 'PROFESSIONAL FEE', datetime('now'), 1, 5000);"
        "INSERT INTO BILLING__tbBillMedicareItem (ClaimID, RevenueID, Amount) VALUES (99001, 'LB', 300), (99001, 'MD', 100);");
    const Rows bill = run("Billing..sp_Billing_Get_SeniorCitizenCharges_PerDepartment '991201','', 6");
    ASSERT_EQ(bill.size(), 3);
    // The claim of 200 over items of 400: the laboratory's 300 carries 150 of it.
    EXPECT_DOUBLE_EQ(bill.number(0, "Actual Charges"), 4850);
    EXPECT_EQ(bill.text(1, "RevenueID"), "LB");
    EXPECT_DOUBLE_EQ(bill.number(1, "Actual Charges"), 2850);
    EXPECT_EQ(bill.text(2, "RevenueID"), "PH");
    EXPECT_DOUBLE_EQ(bill.number(2, "Actual Charges"), 2000);
}

TEST_F(Discount, APatientWithoutClassificationGetsNoDiscountAndNothingStored) {
    run("Billing..sp_Billing_Get_ActualCharges_ForDiscount '991201','',3,1");
    const Grid g = grid(run("BILLING..sp_Billing_Load_DummyDiscountTable 'QF','1',1"));
    EXPECT_EQ(g.size(), 5);
    for (const Line& l : g) EXPECT_EQ(l.discount, 0);
    EXPECT_EQ(count("SELECT count(*) FROM BILLING__tbBillDailyBill WHERE RevenueID = 'QF' AND IdNum = '991201'"), 0);
}

TEST_F(Discount, EachWorkstationComputesOnItsOwnScratchRows) {
    classify("91000001", "991201", "2026-990001", "C1");
    auto other = openAnother();
    run("Billing..sp_Billing_Get_ActualCharges_ForDiscount '991201','',3,1");
    QList<mss::db::ErrorEntry> m;
    other->execute("Billing..sp_Billing_Get_ActualCharges_ForDiscount '991301B','',7,1", m);
    EXPECT_EQ(grid(run("BILLING..sp_Billing_Load_DummyDiscountTable 'QF','1',1")).size(), 5);
    EXPECT_EQ(other->execute("Select * From Billing..tbDummyDiscountTable", m).rows.size(), 2);
}

TEST_F(Discount, BadCallsFailClearly) {
    EXPECT_NE(failure("Billing..sp_Billing_Get_ActualCharges_ForDiscount '991201','',5,1"), 0);
    EXPECT_NE(failure("Billing..sp_Billing_Get_ActualCharges_ForDiscount '000000','',3,1"), 0);
    EXPECT_NE(failure("Billing..sp_Billing_Get_ActualCharges_ForDiscount '991201','NOSUCH',4,1"), 0);
    EXPECT_NE(failure("Billing..sp_Billing_Get_ActualCharges_ForDiscount '991201','991301B',4,1"), 0);  // another patient's
    EXPECT_NE(failure("Billing..sp_Billing_Update_DummyDiscountTable '50','PH'"), 0);  // nothing collected
    run("Billing..sp_Billing_Get_ActualCharges_ForDiscount '991201','',3,1");
    EXPECT_NE(failure("Billing..sp_Billing_Update_DummyDiscountTable 'fifty','PH'"), 0);
    EXPECT_NE(failure("Billing..sp_Billing_Update_DummyDiscountTable '50','ZZ'"), 0);
    EXPECT_NE(failure("Billing..sp_Billing_Update_Discount_DummyDiscountTable '50','XR'"), 0);  // no such row
    EXPECT_NE(failure("BILLING..sp_Billing_Load_DummyDiscountTable 'QF','3',1"), 0);
    EXPECT_NE(failure("BILLING..sp_Billing_Load_DummyDiscountTable 'XX','1',1"), 0);
    EXPECT_NE(failure("Billing..sp_Billing_Delete_Existing_ComputedDiscount_All '000000','000000','QF'"), 0);
    // A share for a department without charges gets a row of its own.
    run("Billing..sp_Billing_Update_DummyDiscountTable '25.5','XR'");
    expectLine(grid(run("BILLING..sp_Billing_Load_DummyDiscountTable 'QF','1',1")), "XR", 0, 25.5, 0);
}

// On a hospital of a million patients the planner must still reach the patient and the bill
// through their keys: a scan (or a Bloom filter, which is a scan) of the master or of the
// bills would cost the computation a quarter of a second per call.
TEST_F(Discount, StatementsStayOnKeysInALargeHospital) {
    auto& e = backend().engine();
    e.runScript(QStringLiteral("ANALYZE"));
    e.runScript(QStringLiteral(
        "DELETE FROM sqlite_stat1 WHERE tbl IN ('PATIENT_DATA__tbMaster', 'PATIENT_DATA__tbPatient2', "
        "'PATIENT_DATA__tbOutPatient', 'BILLING__tbBillDailyBill', 'BILLING__tbBillOPDailyOut');"
        "INSERT INTO sqlite_stat1 VALUES ('PATIENT_DATA__tbMaster', 'sqlite_autoindex_PATIENT_DATA__tbMaster_1', '1000000 1'),"
        " ('PATIENT_DATA__tbPatient2', 'sqlite_autoindex_PATIENT_DATA__tbPatient2_1', '750000 1'),"
        " ('PATIENT_DATA__tbOutPatient', 'sqlite_autoindex_PATIENT_DATA__tbOutPatient_1', '570000 1'),"
        " ('BILLING__tbBillDailyBill', 'BILLING__tbBillDailyBill_IdNum', '700000 50 5'),"
        " ('BILLING__tbBillOPDailyOut', 'BILLING__tbBillOPDailyOut_IdNum', '300000 10 3');"
        "ANALYZE sqlite_schema;"));
    const QRegularExpression bad(R"(BLOOM FILTER ON (m|p|o|b)\b|^SCAN (m|p|o|b|PATIENT_DATA__\w+|BILLING__tbBill\w+)$)",
                                 QRegularExpression::MultilineOption);
    for (const char* name : {"sp_Billing_Get_ActualCharges_ForDiscount", "sp_Billing_Update_DummyDiscountTable",
                             "sp_Billing_Load_DummyDiscountTable", "sp_Billing_Check_ExistingDiscount",
                             "sp_Billing_Delete_Existing_ComputedDiscount_All"}) {
        const hospitaldb::Procedure* p = backend().procedures().find("BILLING", name);
        ASSERT_NE(p, nullptr) << name;
        for (const QString& statement : p->statements) {
            const auto plan = e.query("EXPLAIN QUERY PLAN " + statement,
                                      QHash<QString, QVariant>{{"IdNum", "991201"}, {"OPDNum", ""}, {"OPIdNum", "991201"},
                                                               {"Kind", "3"}, {"Fresh", "1"}, {"Type", "QF"},
                                                               {"Mode", "1"}, {"Flag", "1"}, {"Share", "1"},
                                                               {"RevenueID", "PH"}});
            QStringList lines;
            for (const auto& row : plan.rows) lines << row.last().toString();
            const QString text = lines.join('\n');
            EXPECT_FALSE(bad.match(text).hasMatch()) << name << "\n" << statement.toStdString() << "\n" << text.toStdString();
        }
    }
}

}  // namespace
}  // namespace casework_test
