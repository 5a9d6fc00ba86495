#include "notices/noticesqueries.h"

#include <gtest/gtest.h>

using namespace mss::notices;

namespace {

TEST(NoticeStatements, DischargeNoticesAndClearance) {
    EXPECT_EQ(LoadReferralNoticeCount(), "MSS..sp_MSS_LoadReferralNoticeCount");
    EXPECT_EQ(LoadDischargeNotice(), "MSS..sp_MSS_LoadDischargeNotice ");
    EXPECT_EQ(LoadDischargeNoticePatient("500003"), "MSS..sp_MSS_LoadDischargeNoticePatient '500003'");
    EXPECT_EQ(PrintAssessment(" 0001234 ", "500003  "), "MSS..sp_MSS_PrintAssessment '0001234','500003'");
    // The admission number goes untrimmed; the remarks arrive without apostrophes.
    EXPECT_EQ(ClearPatientForDischarge("500003 ", "0001", ClearanceRemarks("Mrs. Peña's son paid; 'OK' – ₱2,500")),
              "MSS..sp_MSS_ClearPatientForDischarge '500003 ','0001','Mrs. Peña`s son paid; `OK` – ₱2,500'");
    EXPECT_FALSE(ClearanceRemarks("it's").contains('\''));
}

TEST(NoticeStatements, OtherInfoReadsTheFlagsAndTheCounterpart) {
    EXPECT_EQ(OtherInfoText("1", "1", "1", "5000.00"), "with CDF; with PCSO; Special Arrangement (NC: 5000)");
    EXPECT_EQ(OtherInfoText("1", "1", "1", "5000"), "with CDF; with PCSO; Special Arrangement (NC: 5000)");
    EXPECT_EQ(OtherInfoText("0", "1", "1", "2500.50"), "with PCSO; Special Arrangement (NC: 2500.5)");
    EXPECT_EQ(OtherInfoText("0", "0", "1", "0.00"), "Special Arrangement");
    EXPECT_EQ(OtherInfoText("0", "0", "1", ""), "Special Arrangement");
    EXPECT_EQ(OtherInfoText("1", "0", "0", "3000.00"), "with CDF; ");
    EXPECT_EQ(OtherInfoText("0", "0", "0", "3000.00"), "");
    EXPECT_EQ(OtherInfoText("", "", "", ""), "");
}

TEST(NoticeStatements, ReferralsAndTheTag) {
    EXPECT_EQ(LoadReferralNotice(), "MSS..sp_MSS_LoadReferralNotice");
    EXPECT_EQ(LoadReferralHistory(" 0001234 ", " dela cruz ", ""),
              "MSS..sp_MSS_LoadReferralHistory'0001234', 'dela cruz',''");
    EXPECT_EQ(LoadReferralHistory("", "D'Souza", "Ma. Luz"), "MSS..sp_MSS_LoadReferralHistory'', 'D''Souza','Ma. Luz'");
    EXPECT_EQ(LoadReferralNoticePatient("500003", "17"), "MSS..sp_MSS_LoadReferralNoticePatient'500003','17'");
    ReferralTag tag;
    tag.admNo = " 500003 ";
    tag.today = QDate(2024, 3, 5);
    tag.status = "A";
    tag.remarks = "Family can't pay ";
    tag.category = "INDIGENT";
    tag.schedule = QDate(2024, 12, 9);
    tag.employeeCode = "0001";
    tag.referralNo = "17";
    EXPECT_EQ(SaveReferralNoticePatient(tag), "MSS..sp_MSS_SaveReferralNoticePatient'500003', '2024-03-05','A',"
                                              "'Family can''t pay ', 'INDIGENT', '12/9/2024','0001','17' ");
    EXPECT_EQ(TagText("A"), "Include to Bill");
    EXPECT_EQ(TagText("D"), "For Justification");
    EXPECT_EQ(TagText("C"), "For Cash Basis");
    EXPECT_EQ(TagText("P"), "Pending");
}

TEST(NoticeStatements, TheReferralScreenTakesTheListBeingChosenFrom) {
    const ListChoice notices{"500003", "17", true};
    const ListChoice history{"500009", "21", true};
    const ListChoice idle{"500011", "30", false};
    ReferralOpening o = OpenReferral(notices, idle);
    EXPECT_EQ(o.IDNUM, "500003");
    EXPECT_EQ(o.REFNUM, "17");
    EXPECT_FALSE(o.readOnly);
    o = OpenReferral(idle, history);
    EXPECT_EQ(o.IDNUM, "500009");
    EXPECT_EQ(o.REFNUM, "21");
    EXPECT_TRUE(o.readOnly);
    o = OpenReferral(idle, idle);
    EXPECT_TRUE(o.IDNUM.isEmpty());
    EXPECT_TRUE(o.REFNUM.isEmpty());
    EXPECT_FALSE(o.readOnly);
}

}  // namespace
