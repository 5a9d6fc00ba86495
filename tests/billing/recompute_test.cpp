// Recomputing: the warning, once per opening, all or nothing; and the demo hospital's stored
// discounts are what the screen stores.
#include "discountfixture.h"

#include "hospitaldb/embedded.h"
#include "shell/db/text.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>

using namespace mss;
using namespace mss::test;

namespace {

using Stored = QMap<QString, double>;

class Recompute : public DiscountScreenTest {
protected:
    // Everything the stored discount of an encounter consists of.
    QString storedState(const QString& idNum) {
        return hospital_.scalar(
            "SELECT CONCAT(count(*), ':', sum(b.Amount), ':', sum(x.ActualCharges), ':', sum(x.Medicare), ':', "
            "min(b.LineID)) FROM BILLING..tbBillDailyBill b JOIN BILLING..tbBillDiscountDetail x "
            "ON x.DailyLineID = b.LineID WHERE b.IdNum = '" + idNum + "' AND b.RevenueID = 'QF'");
    }
};

TEST_F(Recompute, AsksFirstThenDeletesAndComputesOncePerOpening) {
    open(kOrdinary);
    script("INSERT INTO BILLING__tbBillDailyBill (IdNum, RevenueID, TransDate, Amount) "
           "VALUES ('991001', 'LB', datetime('now'), 1000)");
    open(kOrdinary);
    hospital_.takeStatements();

    clickRecompute(ui::Answer::No);
    EXPECT_EQ(prompts_.shown().last().icon, ui::Icon::Critical);
    EXPECT_EQ(prompts_.shown().last().buttons, ui::Buttons::YesNo);
    EXPECT_EQ(prompts_.shown().last().title, "Warning!");
    EXPECT_EQ(prompts_.shown().last().text, "All previous computed discount will be deleted.\nDo you wish to continue?");
    EXPECT_TRUE(hospital_.takeStatements().isEmpty());
    EXPECT_TRUE(screen_->cmdRecompute->isEnabled());
    EXPECT_EQ(screen_->lblTotal->text(), "10,000.00");

    clickRecompute(ui::Answer::Yes);
    const QStringList sent = hospital_.takeStatements();
    ASSERT_FALSE(sent.isEmpty());
    EXPECT_EQ(sent.first(), "Billing..sp_Billing_Delete_Existing_ComputedDiscount_All '991001','991001','QF'");
    EXPECT_EQ(sent.mid(1, 2), (QStringList{"BILLING..sp_Billing_Search_Matching_OPDNumber_At_TbPatient '991001'",
                                           "Billing..sp_Billing_Get_ActualCharges_ForDiscount '991001','',3,1"}));
    EXPECT_FALSE(screen_->cmdRecompute->isEnabled());
    // LB is now 4,000: (4,000 - 150) x 50 %.
    EXPECT_EQ(storedQF("991001"), (Stored{{"LB", -1925}, {"MD", 0}, {"PH", -800}}));
    EXPECT_EQ(screen_->lblTotal->text(), "11,000.00");
    EXPECT_EQ(screen_->lblQFS->text(), "8,275.00");
    EXPECT_EQ(screen_->txtQFSSpecial->text(), "11000");

    // A new opening allows it again.
    open(kOrdinary);
    EXPECT_TRUE(screen_->cmdRecompute->isEnabled());
}

TEST_F(Recompute, WhatCannotBeComputedIsNotDeleted) {
    open(kOrdinary);
    script("UPDATE PATIENT_DATA__tbMaster SET MSSDiscountExpiry = datetime(date('now', '-1 days')) "
           "WHERE HospNum = '99100001'");
    open(kOrdinary);
    hospital_.takeStatements();
    prompts_.expect(billing::RecomputeWarning(), ui::Answer::Yes).expect("The patient's classification is no longer*");
    screen_->cmdRecompute->click();
    EXPECT_TRUE(hospital_.takeStatements().isEmpty());
    EXPECT_EQ(storedQF("991001").size(), 3);
}

// A failure at any statement of the recompute leaves the stored discount as it was, and the
// worker sees its number and description.
TEST_F(Recompute, AFailureAtAnyStatementKeepsTheStoredDiscount) {
    for (const KnownEncounter& e : {kOrdinary, kSpecial}) {
        const QString id = QString::fromLatin1(e.idNum);
        // How many statements a recompute sends.
        open(e);
        hospital_.takeStatements();
        clickRecompute(ui::Answer::Yes);
        const int statements = int(hospital_.takeStatements().size());
        ASSERT_GE(statements, 10);

        script("INSERT INTO BILLING__tbBillDailyBill (IdNum, RevenueID, TransDate, Amount) "
               "VALUES ('" + id + "', 'PH', datetime('now'), 500)");
        const QString before = storedState(id);
        ASSERT_TRUE(before.startsWith("3:")) << before.toStdString();

        for (int n = 1; n <= statements; ++n) {
            open(e);
            backend().failStatement(n, 50999, QStringLiteral("Injected at statement %1").arg(n));
            prompts_.expect(billing::RecomputeWarning(), ui::Answer::Yes)
                .expect(QStringLiteral("Run-time error '50999':\n\nInjected at statement %1").arg(n));
            screen_->cmdRecompute->click();
            EXPECT_EQ(storedState(id), before) << e.idNum << " statement " << n;
            EXPECT_EQ(prompts_.shown().last().icon, ui::Icon::Critical);
            EXPECT_FALSE(screen_->cmdRecompute->isEnabled());
            EXPECT_EQ(screen_->lblTotal->text(), "10,000.00") << "the screen still shows what is stored";
            // No transaction is left open.
            hospital_.connection().BeginTrans();
            hospital_.connection().RollbackTrans();
        }
        // Without a failure it goes through, with the added 500.
        open(e);
        clickRecompute(ui::Answer::Yes);
        EXPECT_NE(storedState(id), before);
        EXPECT_EQ(screen_->lblTotal->text(), "10,500.00");
    }
}

// The demo hospital's stored discounts open as stored, and a recompute stores the same lines.
TEST_F(Recompute, TheDemoHospitalsStoredDiscountsAreWhatTheScreenStores) {
    const auto encounters = backend().engine().query(QStringLiteral(
        "SELECT DISTINCT e.HospNum, e.IdNum FROM MSS__vwMSSEncounter e WHERE e.IdNum IN "
        "(SELECT IdNum FROM BILLING__tbBillDailyBill WHERE RevenueID = 'QF' "
        " UNION SELECT IdNum FROM BILLING__tbBillOPDailyOut WHERE RevenueID = 'QF') ORDER BY e.IdNum"));
    ASSERT_GE(encounters.rows.size(), 20);
    int outPatients = 0, withMedicare = 0;
    for (const auto& row : encounters.rows) {
        const QString hosp = row.at(0).toString(), id = row.at(1).toString();
        const Stored demo = storedQF(id);
        open(hosp, id);
        ASSERT_EQ(screen_->mshDiscount->rowCount(), demo.size()) << id.toStdString();
        const QString total = screen_->lblTotalCovered->text();
        const QString medicare = screen_->lblMedicareTotal->text();
        clickRecompute(ui::Answer::Yes);
        const Stored again = storedQF(id);
        ASSERT_EQ(again.keys(), demo.keys()) << id.toStdString();
        for (const QString& k : demo.keys()) EXPECT_DOUBLE_EQ(again[k], demo[k]) << id.toStdString() << " " << k.toStdString();
        EXPECT_EQ(screen_->lblTotalCovered->text(), total) << id.toStdString();
        EXPECT_EQ(screen_->lblMedicareTotal->text(), medicare) << id.toStdString();
        outPatients += !text::IsNumeric(id);
        withMedicare += medicare != "0.00";
    }
    EXPECT_GT(outPatients, 0);
    EXPECT_GT(withMedicare, 0);
}

}  // namespace
