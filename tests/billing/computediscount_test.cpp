// Opening the computation of discount: the statements of each variant, what the grid and the
// totals show, and what is stored, against amounts worked out by hand.
#include "discountfixture.h"

#include "hospitaldb/embedded.h"
#include "shell/db/text.h"

#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>

using namespace mss;
using namespace mss::test;

namespace {

using Stored = QMap<QString, double>;

QStringList opening(const QString& hospNum, const QString& idNum) {
    return {"MSS..sp_MSS_GetPatientInfo '" + hospNum + "','" + idNum + "'",
            "SELECT * FROM MSS..tbMSSAssessment WHERE IdNum = '" + idNum + "'",
            "SELECT * FROM MSS..tbMSSClassification where Type = 'T1'",
            "Billing..sp_Billing_Check_ExistingDiscount '" + idNum + "','QF'"};
}

class ComputeDiscount : public DiscountScreenTest {
protected:
    QStringList totals() const {
        return {screen_->lblTotal->text(), screen_->lblMedicareTotal->text(), screen_->lblTotalCovered->text(),
                screen_->lblQFS->text()};
    }
};

TEST_F(ComputeDiscount, AnOrdinaryComputationSpreadsMedicareLoadsStoresAndTotals) {
    open(kOrdinary);
    const QStringList computing{
        "BILLING..sp_Billing_Search_Matching_OPDNumber_At_TbPatient '991001'",
        "Billing..sp_Billing_Get_ActualCharges_ForDiscount '991001','',3,1",
        "Billing..sp_Billing_GetTotalMedicare_Others '991001'",
        "Billing..sp_Billing_Get_MedicareItems_Others '991001'",
        // 300 and 100 of a 400 item sum share the approved 200.
        "Billing..sp_Billing_Update_DummyDiscountTable '150','LB'",
        "Billing..sp_Billing_Update_DummyDiscountTable '50','MD'",
        "Billing..sp_Billing_Get_MSS_SpecialArrangementRemarks '991001'",
        "BILLING..sp_Billing_Load_DummyDiscountTable 'QF','1',1",
        "SELECT * FROM MSS..tbMSSAssessment WHERE IdNum = '991001'"};
    EXPECT_EQ(hospital_.takeStatements(), opening("99100001", "991001") + computing);
    EXPECT_EQ(screen_->windowTitle(), "Computation of Discount");
    EXPECT_EQ(screen_->txtIDNum->text(), "991001");
    EXPECT_EQ(screen_->txtHospNum->text(), "99100001");
    EXPECT_EQ(screen_->txtPatientName->text(), "ALONZO, ADA TEST");
    EXPECT_EQ(screen_->txtMSSNum->text(), "2099-100001");
    EXPECT_EQ(screen_->txtRoomID->text(), "301");
    EXPECT_EQ(screen_->txtCode->text(), "T1");
    EXPECT_TRUE(screen_->frameCovered->isEnabled());
    EXPECT_TRUE(screen_->cmdRecompute->isEnabled());
    EXPECT_FALSE(screen_->cmdIsSpecial->isVisible());

    const QTableWidget* g = screen_->mshDiscount;
    ASSERT_EQ(g->columnCount(), 6);
    const QStringList headings{"RevenueID", "Department", "Actual Charges", "Medicare", "Discount"};
    for (int c = 0; c < 6; ++c) {
        EXPECT_EQ(g->isColumnHidden(c), c < 2) << c;
        if (c >= 2) {
            EXPECT_EQ(g->columnWidth(c), text::TwipsToPixels(billing::frmComputeDiscount::kColumnWidths[c])) << c;
        }
        if (c >= 1) {
            EXPECT_EQ(g->horizontalHeaderItem(c)->text(), headings[c - 1]);
        }
        EXPECT_EQ(g->item(0, c)->textAlignment() == int(Qt::AlignRight | Qt::AlignVCenter), c >= 3) << c;
    }
    // LB (3,000 - 150) x 50 %, PH 2,000 x 40 %, professional fees without a rate; the
    // senior-citizen deduction is no charge.
    EXPECT_EQ(grid(), (QList<QStringList>{{"LB", "LABORATORY", "3000", "150", "1425"},
                                         {"MD", "PROFESSIONAL FEES", "5000", "50", "0"},
                                         {"PH", "PHARMACY", "2000", "0", "800"}}));
    // To Pay does not subtract Medicare: 10,000 - 2,225.
    EXPECT_EQ(totals(), (QStringList{"10,000.00", "200.00", "2,225.00", "7,775.00"}));
    EXPECT_EQ(screen_->txtQFSSpecial->text(), "10000");
    EXPECT_EQ(storedQF("991001"), (Stored{{"LB", -1425}, {"MD", 0}, {"PH", -800}}));

    // The lines carry the MSS number, which is how the assessment save removes them.
    EXPECT_EQ(hospital_.count("SELECT count(*) FROM BILLING..tbBillDailyBill WHERE RevenueID = 'QF' "
                              "AND IdNum = '991001' AND RefNum = '2099-100001'"), 3);
    hospital_.connection().Execute("DELETE FROM BILLING..tbBillDailyBill WHERE revenueid = 'QF' and refNum = "
                                   "'2099-100001' and IdNum = '991001'");
    EXPECT_TRUE(storedQF("991001").isEmpty());
}

TEST_F(ComputeDiscount, AStoredDiscountIsShownAsStoredWithoutRecomputing) {
    open(kOrdinary);
    script("INSERT INTO BILLING__tbBillDailyBill (IdNum, RevenueID, TransDate, Amount) "
           "VALUES ('991001', 'LB', datetime('now'), 1000)");
    hospital_.takeStatements();
    open(kOrdinary);
    EXPECT_EQ(hospital_.takeStatements(), opening("99100001", "991001"));
    EXPECT_EQ(grid(), (QList<QStringList>{{"LB", "LABORATORY", "3000", "150", "1425"},
                                         {"MD", "PROFESSIONAL FEES", "5000", "50", "0"},
                                         {"PH", "PHARMACY", "2000", "0", "800"}}));
    EXPECT_EQ(screen_->mshDiscount->horizontalHeaderItem(5)->text(), "Discount");
    EXPECT_EQ(totals(), (QStringList{"10,000.00", "200.00", "2,225.00", "7,775.00"}));
    EXPECT_EQ(screen_->txtQFSSpecial->text(), "") << "only a computation fills it";
    EXPECT_TRUE(screen_->frameCovered->isEnabled());
    EXPECT_TRUE(screen_->cmdRecompute->isEnabled());
}

// B = 5,000 of charges other than professional fees less their share of the 200 Medicare:
// 300/400 of it, so 4,850 (divided as whole numbers it came out 5,000); less the NC of 1,000
// leaves 3,850 shared by LB 3,000 and PH 2,000 of the 5,000.
TEST_F(ComputeDiscount, ASpecialArrangementStoresTheNCDiscountsAndShowsTheGroupRates) {
    open(kSpecial);
    EXPECT_EQ(hospital_.takeStatements().mid(4),
              (QStringList{"BILLING..sp_Billing_Search_Matching_OPDNumber_At_TbPatient '991002'",
                           "Billing..sp_Billing_Get_ActualCharges_ForDiscount '991002','',3,1",
                           "Billing..sp_Billing_GetTotalMedicare_Others '991002'",
                           "Billing..sp_Billing_Get_MedicareItems_Others '991002'",
                           "Billing..sp_Billing_Update_DummyDiscountTable '150','LB'",
                           "Billing..sp_Billing_Update_DummyDiscountTable '50','MD'",
                           "Billing..sp_Billing_Get_MSS_SpecialArrangementRemarks '991002'",
                           "Select isnull(sum(ActualCharges),0) as ActualCharges From Billing..tbDummyDiscountTable "
                           "Where RevenueID <> 'MD'",
                           "Billing..sp_Billing_Get_SeniorCitizenCharges_PerDepartment '991002','', 6",
                           "Select * From Billing..tbDummyDiscountTable",
                           "Billing..sp_Billing_Update_Discount_DummyDiscountTable '2310','LB'",
                           "Billing..sp_Billing_Update_Discount_DummyDiscountTable '5000','MD'",
                           "Billing..sp_Billing_Update_Discount_DummyDiscountTable '1540','PH'",
                           "BILLING..sp_Billing_Load_DummyDiscountTable 'QF','2',1",
                           "SELECT * FROM MSS..tbMSSAssessment WHERE IdNum = '991002'"}));
    EXPECT_EQ(storedQF("991002"), (Stored{{"LB", -2310}, {"MD", -5000}, {"PH", -1540}}));
    // Shown: each department's charges at its group's rate, professional fees in full.
    EXPECT_EQ(grid(), (QList<QStringList>{{"LB", "LABORATORY", "3000", "150", "1500"},
                                         {"MD", "PROFESSIONAL FEES", "5000", "50", "5000"},
                                         {"PH", "PHARMACY", "2000", "0", "800"}}));
    EXPECT_EQ(totals(), (QStringList{"10,000.00", "200.00", "7,300.00", "2,700.00"}));
    EXPECT_EQ(screen_->txtQFSSpecial->text(), "9000");

    ASSERT_TRUE(screen_->cmdIsSpecial->isVisible());
    EXPECT_GT(screen_->Frame1->geometry().top(), screen_->height()) << "below the visible area";
    QTest::mouseClick(screen_->cmdIsSpecial, Qt::LeftButton);
    EXPECT_EQ(screen_->height(), text::TwipsToPixels(7290));
    EXPECT_LE(screen_->Frame1->geometry().bottom(), screen_->height());
    EXPECT_EQ(screen_->txtNC->text(), "1000");
    EXPECT_EQ(screen_->txtQFSSpecial->text(), "9000");
}

// The worked example: a hospital bill of 10,000 less an NC of 2,000 over non-MD charges of
// 8,000 discounts every department's charges in full.
TEST_F(ComputeDiscount, TheWorkedExampleOfASpecialArrangement) {
    script("UPDATE MSS__tbMSSAssessment SET NC = 2000 WHERE IdNum = '991002';"
           "INSERT INTO BILLING__tbBillDailyBill (IdNum, RevenueID, TransDate, Amount) "
           "VALUES ('991002', 'CS', datetime('now'), 3000)");
    backend().procedures().loadText(
        "-- @procedure Billing.sp_Billing_Get_SeniorCitizenCharges_PerDepartment\n-- @param IdNum\n-- @param OPDNum\n"
        "-- @param Kind\nSELECT 0 AS Seq, 'TOTAL HOSPITAL BILL' AS Department, 10000 AS \"Actual Charges\";\n",
        "worked example");
    open(kSpecial);
    const QStringList sent = hospital_.takeStatements();
    EXPECT_EQ(sent.filter("Update_Discount"),
              (QStringList{"Billing..sp_Billing_Update_Discount_DummyDiscountTable '3000','CS'",
                           "Billing..sp_Billing_Update_Discount_DummyDiscountTable '3000','LB'",
                           "Billing..sp_Billing_Update_Discount_DummyDiscountTable '5000','MD'",
                           "Billing..sp_Billing_Update_Discount_DummyDiscountTable '2000','PH'"}));
    EXPECT_EQ(storedQF("991002"), (Stored{{"CS", -3000}, {"LB", -3000}, {"MD", -5000}, {"PH", -2000}}));
}

// An out-patient visit: the registration's charges, the "', 10" bill, out-patient rates
// shown and no room rate; shares of the 700 left after the NC, sent unrounded.
TEST_F(ComputeDiscount, AnOutPatientUsesTheRegistrationVariantsAndOutPatientRates) {
    open(kOutPatient);
    const QStringList sent = hospital_.takeStatements();
    EXPECT_TRUE(sent.contains("Billing..sp_Billing_Get_ActualCharges_ForDiscount '991101B','',7,1"));
    EXPECT_TRUE(sent.contains("Billing..sp_Billing_Get_SeniorCitizenCharges_PerDepartment '991101B','', 10"));
    EXPECT_EQ(sent.filter("Update_Discount"),
              (QStringList{"Billing..sp_Billing_Update_Discount_DummyDiscountTable '116.666666666667','CS'",
                           "Billing..sp_Billing_Update_Discount_DummyDiscountTable '58.3333333333333','DT'",
                           "Billing..sp_Billing_Update_Discount_DummyDiscountTable '466.666666666667','LB'",
                           "Billing..sp_Billing_Update_Discount_DummyDiscountTable '58.3333333333333','RA'"}));
    EXPECT_EQ(screen_->txtRoomID->text(), "OPD");
    EXPECT_EQ(storedQF("991101B"), (Stored{{"CS", -116.67}, {"DT", -58.33}, {"LB", -466.67}, {"RA", -58.33}}));
    // LB 800 x 45 %, CS 200 x 20 %, no room rate, nothing for dietary.
    EXPECT_EQ(grid(), (QList<QStringList>{{"CS", "CENTRAL SUPPLY ROOM", "200", "0", "40"},
                                         {"DT", "DIETARY", "100", "0", "0"},
                                         {"LB", "LABORATORY", "800", "0", "360"},
                                         {"RA", "ROOM AND BOARD", "100", "0", "0"}}));
    EXPECT_EQ(totals(), (QStringList{"1,200.00", "0.00", "400.00", "800.00"}));
    EXPECT_EQ(screen_->txtQFSSpecial->text(), "700");
}

TEST_F(ComputeDiscount, AnAdmissionWithAMatchedRegistrationTakesBothBills) {
    open(kWithOPD);
    const QStringList sent = hospital_.takeStatements();
    EXPECT_TRUE(sent.contains("Billing..sp_Billing_Get_ActualCharges_ForDiscount '991003','991102B',4,1"));
    EXPECT_TRUE(sent.contains("Billing..sp_Billing_Get_SeniorCitizenCharges_PerDepartment '991003','991102B', 7"));
    EXPECT_EQ(sent.filter("Medicare").size(), 1) << "no deduction: no items asked for";
    // 1,500 - 300 over LB 1,000 and PH 500.
    EXPECT_EQ(storedQF("991003"), (Stored{{"LB", -800}, {"MD", -500}, {"PH", -400}}));
    EXPECT_EQ(totals(), (QStringList{"2,000.00", "0.00", "1,200.00", "800.00"}));
}

// Marked special on the assessment but with no NC the billing side computes at the rates; the
// screen still shows the discounts by the department groups.
TEST_F(ComputeDiscount, ASpecialMarkWithoutNCComputesByRatesAndShowsTheGroups) {
    open(kSpecialWithoutNC);
    const QStringList sent = hospital_.takeStatements();
    EXPECT_TRUE(sent.contains("BILLING..sp_Billing_Load_DummyDiscountTable 'QF','1',1"));
    EXPECT_TRUE(sent.filter("Update_Discount").isEmpty());
    EXPECT_EQ(storedQF("991004"), (Stored{{"DT", 0}, {"RA", -250}, {"XR", -250}}));
    EXPECT_EQ(grid(), (QList<QStringList>{{"DT", "DIETARY", "400", "0", "0"},
                                         {"RA", "ROOM AND BOARD", "1000", "0", "250"},
                                         {"XR", "X-RAY", "600", "100", "300"}}));
    EXPECT_EQ(totals(), (QStringList{"2,000.00", "100.00", "550.00", "1,450.00"}));
    QTest::mouseClick(screen_->cmdIsSpecial, Qt::LeftButton);
    EXPECT_EQ(screen_->txtNC->text(), "0");
}

TEST_F(ComputeDiscount, AZeroHospitalBillSaysSoAndLoadsNothing) {
    prompts_.expect(billing::ZeroHospitalBillMessage());
    open(kZeroBill);
    ASSERT_EQ(prompts_.shown().size(), 1);
    EXPECT_EQ(prompts_.shown()[0].icon, ui::Icon::Information);
    EXPECT_EQ(prompts_.shown()[0].title, "Information");
    EXPECT_EQ(hospital_.takeStatements().last(),
              "Billing..sp_Billing_Get_SeniorCitizenCharges_PerDepartment '991005','', 6");
    EXPECT_TRUE(storedQF("991005").isEmpty());
    EXPECT_FALSE(screen_->frameCovered->isEnabled());
    EXPECT_EQ(screen_->mshDiscount->rowCount(), 0);
    EXPECT_EQ(screen_->lblTotal->text(), "");
}

TEST_F(ComputeDiscount, ACashAdmissionIsComputedOnItsOwnBill) {
    open(kCash);
    EXPECT_TRUE(hospital_.takeStatements().contains("Billing..sp_Billing_Get_ActualCharges_ForDiscount 'T991011','',7,1"));
    EXPECT_EQ(storedQF("T991011"), (Stored{{"PH", -400}, {"RA", -500}}));
    EXPECT_EQ(totals(), (QStringList{"3,000.00", "0.00", "900.00", "2,100.00"}));
}

// What cannot be computed says why and stores nothing: no billing procedure runs.
TEST_F(ComputeDiscount, BadInputIsRefusedWithAMessageAndNothingStored) {
    struct Case { KnownEncounter e; const char* message; };
    const Case cases[] = {
        {kNotAssessed, "This admission has not been assessed.*"},
        {kExpired, "The patient's classification is no longer in force.*"},
        {kBadNC, "The NC of the special arrangement is not a number.*"},
        {{"", ""}, "There is no patient to compute a discount for*"},
    };
    for (const Case& c : cases) {
        prompts_.expect(c.message);
        open(c.e);
        EXPECT_TRUE(hospital_.takeStatements().last().startsWith("Billing..sp_Billing_Check_ExistingDiscount"))
            << c.e.idNum;
        EXPECT_EQ(prompts_.shown().last().icon, ui::Icon::Exclamation);
        EXPECT_TRUE(storedQF(c.e.idNum).isEmpty()) << c.e.idNum;
        EXPECT_FALSE(screen_->frameCovered->isEnabled());
    }
    // The patient without an MSS number is named from the encounter alone.
    prompts_.expect("This admission has not been assessed.*");
    open(kNotAssessed);
    EXPECT_EQ(hospital_.takeStatements().mid(0, 2),
              (QStringList{"MSS..sp_MSS_GetPatientInfo '99100007','991006'", "MSS..sp_MSS_GetPatientInfoforARR '991006'"}));
    EXPECT_EQ(screen_->txtPatientName->text(), "GARCIA, GIL TEST");
    EXPECT_EQ(screen_->txtMSSNum->text(), "");
    // An NC that is no number is shown as stored.
    prompts_.expect("The NC of the special arrangement is not a number.*");
    open(kBadNC);
    QTest::mouseClick(screen_->cmdIsSpecial, Qt::LeftButton);
    EXPECT_EQ(screen_->txtNC->text(), "abc");
}

// A classification without an expiry date earns no discount: the patient list, the assessment
// record and the discount table all read it as expired.
TEST_F(ComputeDiscount, AClassificationWithoutAnExpiryDateIsNoLongerInForce) {
    script("UPDATE PATIENT_DATA__tbMaster SET MSSDiscountExpiry = NULL WHERE HospNum = '99100001'");
    prompts_.expect("The patient's classification is no longer in force.*");
    open(kOrdinary);
    EXPECT_TRUE(storedQF(kOrdinary.idNum).isEmpty());
}

TEST_F(ComputeDiscount, NoChargesAndMedicareItemsOfZeroAreSaid) {
    prompts_.expect(billing::NoChargesMessage());
    open(kNoCharges);
    EXPECT_TRUE(storedQF("991009").isEmpty());
    EXPECT_EQ(screen_->lblTotal->text(), "0.00");
    EXPECT_EQ(screen_->lblQFS->text(), "0.00");

    prompts_.expect(billing::MedicareNotSpreadMessage(100));
    open(kZeroItems);
    EXPECT_EQ(prompts_.shown().last().text,
              "The Medicare items add up to zero (0), so the Medicare deduction of 100.00 was not spread over the departments.");
    EXPECT_TRUE(hospital_.takeStatements().filter("Update_DummyDiscountTable").isEmpty());
    EXPECT_EQ(storedQF("991010"), (Stored{{"LB", -500}}));
}

}  // namespace
