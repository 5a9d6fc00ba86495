// Discharge notices and their clearance; referrals from the medical team; sponsor funds.
#include "tests/hospitaldb/casework/casedb.h"

namespace casework_test {
namespace {

class Notices : public CaseDb {
protected:
    void SetUp() override {
        CaseDb::SetUp();
        backend().runSql(
            "INSERT INTO MSS__tbMSSDischargeNotice (IdNum, NoticeDate, OrderedDate, DischargeNurse, Remarks)"
            " VALUES ('991201', NULL, datetime('now', '-1 hours'), 'N. SANTOS', 'May go home');"
            , {});
        backend().runSql(
            "INSERT INTO MSS__tbMSSReferralNotice (ReferralNo, IdNum, HospNum, ReferralDate, ReferredBy, Diagnosis,"
            " Category, Tick1, Tick4, Tick5, Others)"
            " VALUES (99001, '991201', '91000001', datetime('now', '-3 hours'), 'DR. VILLANUEVA', 'CKD', 'INDIGENT',"
            "         'Y', 'Y', 'Y', 'Transport'),"
            "        (99002, '991401', '91000004', datetime('now', '-15 days'), 'DR. TOLENTINO', 'PNEUMONIA', '',"
            "         'N', 'Y', 'N', '')", {});
    }
};

TEST_F(Notices, ADischargeNoticeIsClearedOnceOnly) {
    Rows list = run("MSS..sp_MSS_LoadDischargeNotice ");
    int mine = -1;
    for (int i = 0; i < list.size(); ++i)
        if (list.text(i, "IDNUM") == "991201") mine = i;
    ASSERT_GE(mine, 0);
    EXPECT_EQ(list.text(mine, "PatientName"), "CASTILLO, MARIA LOPEZ");
    EXPECT_EQ(list.text(mine, "RoomID"), "201");
    EXPECT_EQ(list.text(mine, "DischargeNurse"), "N. SANTOS");
    EXPECT_TRUE(list.at(mine, "NoticeDate").isNull());
    EXPECT_TRUE(list.at(mine, "ClearDate").isNull());
    // Notices still to clear come before cleared ones.
    for (int i = 1; i < list.size(); ++i)
        EXPECT_FALSE(!list.at(i - 1, "ClearDate").isNull() && list.at(i, "ClearDate").isNull());

    Rows one = run("MSS..sp_MSS_LoadDischargeNoticePatient '991201'");
    ASSERT_EQ(one.size(), 1);
    EXPECT_EQ(one.text(0, "LastName"), "CASTILLO");
    EXPECT_EQ(one.text(0, "HospNum"), "91000001");
    EXPECT_EQ(one.text(0, "Doctor"), "VILLANUEVA, ROBERTO SALAZAR");
    EXPECT_EQ(one.text(0, "REMARKS"), "May go home");
    EXPECT_TRUE(one.at(0, "UserId").isNull());
    EXPECT_TRUE(one.at(0, "AdmDate").toDateTime().isValid());

    run("MSS..sp_MSS_ClearPatientForDischarge '991201','0001','paid in full; see `remarks`'");
    one = run("MSS..sp_MSS_LoadDischargeNoticePatient '991201'");
    EXPECT_EQ(one.text(0, "UserId"), "0001");
    EXPECT_TRUE(one.at(0, "ClearDate").toDateTime().isValid());
    EXPECT_EQ(one.text(0, "ClearRemarks"), "paid in full; see `remarks`");

    QString why;
    EXPECT_NE(failure("MSS..sp_MSS_ClearPatientForDischarge '991201','0002','again'", &why), 0);
    EXPECT_TRUE(why.contains("already cleared")) << why.toStdString();
    EXPECT_EQ(run("MSS..sp_MSS_LoadDischargeNoticePatient '991201'").text(0, "UserId"), "0001");
    EXPECT_NE(failure("MSS..sp_MSS_ClearPatientForDischarge '000000','0001',''"), 0);
}

TEST_F(Notices, TaggingAReferralTakesItOutOfTheWaitingCount) {
    const long waiting = run("MSS..sp_MSS_LoadReferralNoticeCount").number(0, "recCount");
    EXPECT_EQ(waiting, count("SELECT count(*) FROM MSS__tbMSSReferralNotice WHERE Status = 'P'"));
    Rows list = run("MSS..sp_MSS_LoadReferralNotice");
    EXPECT_EQ(list.size(), waiting);
    bool found = false;
    for (int i = 0; i < list.size(); ++i) {
        EXPECT_EQ(list.text(i, "Status"), "P");
        if (list.text(i, "ReferralNo") == "99001") {
            found = true;
            EXPECT_EQ(list.text(i, "IDNUM"), "991201");
            EXPECT_EQ(list.text(i, "HospNum"), "91000001");
            EXPECT_EQ(list.text(i, "ReferredBy"), "DR. VILLANUEVA");
            EXPECT_EQ(list.text(i, "Diagnosis"), "CKD");
        }
    }
    EXPECT_TRUE(found);

    Rows one = run("MSS..sp_MSS_LoadReferralNoticePatient'991201','99001'");
    ASSERT_EQ(one.size(), 1);
    EXPECT_EQ(one.text(0, "Tick1"), "Y");
    EXPECT_EQ(one.text(0, "Tick2"), "N");
    EXPECT_EQ(one.text(0, "tick4"), "Y");
    EXPECT_EQ(one.text(0, "tick5"), "Y");
    EXPECT_EQ(one.text(0, "Others"), "Transport");
    EXPECT_EQ(one.text(0, "category"), "INDIGENT");
    EXPECT_TRUE(one.at(0, "DischargeDate").isNull());
    EXPECT_TRUE(one.at(0, "ScheduleDate").isNull());

    run("MSS..sp_MSS_SaveReferralNoticePatient'991201', '" + iso(0) + "','A','Include; it''s approved', 'INDIGENT', '" +
        mdy(3) + "','0001','99001' ");
    EXPECT_EQ(run("MSS..sp_MSS_LoadReferralNoticeCount").number(0, "recCount"), waiting - 1);
    one = run("MSS..sp_MSS_LoadReferralNoticePatient'991201','99001'");
    EXPECT_EQ(one.text(0, "Status"), "A");
    EXPECT_EQ(one.text(0, "REMARKS"), "Include; it's approved");
    EXPECT_EQ(one.text(0, "ApprovedBy"), "0001");
    EXPECT_EQ(one.at(0, "ScheduleDate").toDate(), QDate::currentDate().addDays(3));

    Rows hist = run("MSS..sp_MSS_LoadReferralHistory'', 'CASTI',''");
    ASSERT_EQ(hist.size(), 1);
    EXPECT_EQ(hist.text(0, "Status"), "A");
    EXPECT_EQ(hist.text(0, "ApprovedBy"), "0001");
    EXPECT_TRUE(hist.at(0, "DateApproved").toDateTime().isValid());
    EXPECT_EQ(run("MSS..sp_MSS_LoadReferralHistory'91000004', '',''").size(), 1);
}

TEST_F(Notices, ReferralTagsThatCannotBeSavedFail) {
    const QString tag = "MSS..sp_MSS_SaveReferralNoticePatient'%1', '" + iso(0) + "','%2','', '', '" + mdy(0) +
                        "','0001','%3' ";
    QString why;
    EXPECT_NE(failure(tag.arg("991401", "A", "99002"), &why), 0);  // discharged
    EXPECT_TRUE(why.contains("Discharged"));
    EXPECT_EQ(run("MSS..sp_MSS_LoadReferralNoticePatient'991401','99002'").text(0, "Status"), "P");
    EXPECT_FALSE(run("MSS..sp_MSS_LoadReferralNoticePatient'991401','99002'").at(0, "DischargeDate").isNull());
    EXPECT_NE(failure(tag.arg("991201", "X", "99001")), 0);
    EXPECT_NE(failure(tag.arg("991201", "A", "99002")), 0);  // not that admission's referral
    EXPECT_NE(failure(tag.arg("991201", "A", "")), 0);
    // "P" is a tag like the others: saving it keeps the referral waiting.
    run(tag.arg("991201", "P", "99001"));
    EXPECT_EQ(run("MSS..sp_MSS_LoadReferralNoticePatient'991201','99001'").text(0, "Status"), "P");
}

TEST_F(Notices, SponsorFundsListTheAllocationsInForce) {
    backend().runSql(
        "INSERT INTO MSS__tbMSSCDFAllocation (HospNum, IdNum, AccountNum, AllocationDate, Amount, AmountUsed, Status)"
        " VALUES ('91000001', '991201', 'S001', datetime('now', '-1 days'), 10000, 2500, 'A'),"
        "        ('91000001', '991201', 'S002', datetime('now'), 3000, 0, 'C')", {});
    Rows r = run("MSS..sp_Pars_Load_Existing_CDF_Allocation '91000001', 1");
    ASSERT_EQ(r.size(), 1);
    EXPECT_EQ(r.table.columns.size(), 11);
    EXPECT_EQ(r.text(0, "AccountNum"), "S001");
    EXPECT_DOUBLE_EQ(r.number(0, "Balance"), 7500);
    EXPECT_EQ(run("MSS..sp_Pars_Load_Existing_CDF_Allocation '91000001', 0").size(), 2);
    EXPECT_EQ(run("MSS..sp_Pars_Load_Existing_CDF_Allocation '91000003', 1").size(), 0);
}

}  // namespace
}  // namespace casework_test
