// MSS numbers: issuing, finding holders, replacing.
#include "tests/hospitaldb/casework/casedb.h"

#include <QRegularExpression>
#include <QSet>
#include <thread>

namespace casework_test {
namespace {

class MssNumber : public CaseDb {
protected:
    QString issue(hospitaldb::EmbeddedBackend& b) {
        QList<mss::db::ErrorEntry> messages;
        return b.executeWithOutput(QStringLiteral("MSS..MSS_GetNewMSSNumber"), QStringLiteral("@MSSNum"), 18,
                                   messages);
    }
};

TEST_F(MssNumber, IssuedNumbersAreNewFreeAndNeverRepeated) {
    const QString first = issue(backend());
    const QString second = issue(backend());
    const QRegularExpression form(QStringLiteral("^\\d{4}-\\d{6}$"));
    EXPECT_TRUE(form.match(first).hasMatch()) << first.toStdString();
    EXPECT_LE(first.size(), 18);
    EXPECT_NE(first, second);
    // Demo patients hold numbers of the same form; none of them may be handed out again.
    for (const QString& n : {first, second})
        EXPECT_EQ(count("SELECT count(*) FROM PATIENT_DATA__tbMaster WHERE MSSNum = '" + n + "'"), 0) << n.toStdString();

    // A number typed in by hand that the counter would reach next is skipped.
    const int serial = second.mid(5).toInt();
    int free = serial + 1;
    auto numbered = [&](int n) { return second.left(5) + QStringLiteral("%1").arg(n, 6, 10, QLatin1Char('0')); };
    while (count("SELECT count(*) FROM PATIENT_DATA__tbMaster WHERE MSSNum = '" + numbered(free) + "'") > 0) ++free;
    const QString next = numbered(free);
    run("MSS..sp_MSS_UpdateMSSNumber '91000003','" + next + "'");
    const QString third = issue(backend());
    EXPECT_NE(third, next);
    EXPECT_GT(third.mid(5).toInt(), free);
}

TEST_F(MssNumber, TwoWorkstationsNeverGetTheSameNumber) {
    auto other = openAnother();
    QSet<QString> seen;
    for (int i = 0; i < 5; ++i) {
        seen.insert(issue(backend()));
        seen.insert(issue(*other));
    }
    EXPECT_EQ(seen.size(), 10);
}

TEST_F(MssNumber, WorkstationsAskingAtTheSameTimeGetDistinctNumbers) {
    constexpr int kEach = 10;
    QStringList got[2];
    QString failed[2];
    auto work = [&](int w) {
        try {
            auto b = openAnother();
            for (int i = 0; i < kEach; ++i) got[w] << issue(*b);
        } catch (const mss::db::Failure& f) {
            failed[w] = f.Description;
        }
    };
    std::thread a(work, 0), b(work, 1);
    a.join();
    b.join();
    EXPECT_EQ(failed[0], QString());
    EXPECT_EQ(failed[1], QString());
    const QStringList all = got[0] + got[1];
    EXPECT_EQ(all.size(), 2 * kEach);
    EXPECT_EQ(QSet<QString>(all.begin(), all.end()).size(), all.size());
}

TEST_F(MssNumber, ExistsListsOtherHoldersFirst) {
    // Case-number check of the intake sheet ("', '") and of the assessment ("','").
    Rows r = run("MSS..sp_MSS_GetExistsMSSNumber '2020-777777', '91000001'");
    ASSERT_EQ(r.size(), 1);
    EXPECT_EQ(r.text(0, "HospNum"), "91000002");
    EXPECT_EQ(r.text(0, "PatientName"), "OCAMPO, PEDRO SY");

    r = run("MSS..sp_MSS_GetExistsMSSNumber '2020-777777','91000002'");
    ASSERT_EQ(r.size(), 1);
    EXPECT_EQ(r.text(0, "HospNum"), "91000002");

    EXPECT_EQ(run("MSS..sp_MSS_GetExistsMSSNumber '2099-000000','91000001'").size(), 0);
    EXPECT_EQ(run("MSS..sp_MSS_GetExistsMSSNumber '','91000001'").size(), 0);
}

TEST_F(MssNumber, UpdateRefusesAnotherPatientsNumberAndUnknownPatients) {
    QString why;
    EXPECT_NE(failure("MSS..sp_MSS_UpdateMSSNumber '91000001','2020-777777'", &why), 0);
    EXPECT_TRUE(why.contains("OCAMPO")) << why.toStdString();
    EXPECT_TRUE(value("SELECT MSSNum FROM PATIENT_DATA__tbMaster WHERE HospNum = '91000001'").isNull());

    EXPECT_NE(failure("MSS..sp_MSS_UpdateMSSNumber '99999999','2020-123456'", &why), 0);
    EXPECT_TRUE(why.contains("99999999"));
    EXPECT_NE(failure("MSS..sp_MSS_UpdateMSSNumber '91000001',''"), 0);

    run("MSS..sp_MSS_UpdateMSSNumber '91000002','2020-777778'");
    EXPECT_EQ(value("SELECT MSSNum FROM PATIENT_DATA__tbMaster WHERE HospNum = '91000002'").toString(), "2020-777778");
    // The old number is free again for someone else.
    EXPECT_EQ(run("MSS..sp_MSS_GetExistsMSSNumber '2020-777777','91000001'").size(), 0);
}

TEST_F(MssNumber, UpdateCarriesTheNumberToStoredDiscountLines) {
    run("MSS..sp_MSS_UpdateMSSNumber '91000001','2020-100001'");
    backend().runSql("INSERT INTO BILLING__tbBillDailyBill (IdNum, RevenueID, RefNum, ItemID, Description, TransDate, Amount)"
                     " VALUES ('991201', 'QF', '2020-100001', 'LB', 'LABORATORY', datetime('now'), -100)", {});
    run("MSS..sp_MSS_UpdateMSSNumber '91000001','2020-100002'");
    EXPECT_EQ(count("SELECT count(*) FROM BILLING__tbBillDailyBill WHERE RevenueID = 'QF' AND RefNum = '2020-100002'"), 1);
    // So the assessment save's removal still finds them.
    run("DELETE   FROM BILLING..tbBillDailyBill WHERE revenueid = 'QF' and refNum = '2020-100002' and IdNum = '991201'");
    EXPECT_EQ(count("SELECT count(*) FROM BILLING__tbBillDailyBill WHERE RevenueID = 'QF' AND IdNum = '991201'"), 0);
}

}  // namespace
}  // namespace casework_test
