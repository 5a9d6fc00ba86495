// Pay/service class of an admission, its history and the deletion of history rows.
#include "tests/hospitaldb/casework/casedb.h"

namespace casework_test {
namespace {

using PatientClass = CaseDb;

TEST_F(PatientClass, ChangingTheClassSetsTheAdmissionAndAppendsHistory) {
    run("MSS..sp_MSS_UpdatePatientClass '991201','S','0001'");
    EXPECT_EQ(value("SELECT PatientClass FROM PATIENT_DATA__tbPatient2 WHERE IdNum = '991201'").toString(), "S");
    run("MSS..sp_MSS_UpdatePatientClass '991201','P','0002'");
    run("MSS..sp_MSS_UpdatePatientClass '991301B','S','0001'");
    EXPECT_EQ(value("SELECT PatientType FROM PATIENT_DATA__tbOutPatient WHERE IdNum = '991301B'").toString(), "S");

    Rows h = run("MSS..sp_MSS_GetPatClassHistory '991201'");
    ASSERT_EQ(h.size(), 2);
    EXPECT_EQ(h.table.columns, QStringList({"Transdate", "Class", "UserID", "UserName"}));
    EXPECT_EQ(h.text(0, "Class"), "S");  // oldest first
    EXPECT_EQ(h.text(0, "UserID"), "0001");
    EXPECT_EQ(h.text(0, "UserName"), "BUENAFLOR, CECILIA");
    EXPECT_EQ(h.text(1, "Class"), "P");
    EXPECT_EQ(h.text(1, "UserID"), "0002");
    EXPECT_TRUE(h.at(0, "Transdate").toDateTime().isValid());
}

TEST_F(PatientClass, BadClassesAndUnknownAdmissionsAreRefused) {
    EXPECT_NE(failure("MSS..sp_MSS_UpdatePatientClass '991201','','0001'"), 0);
    EXPECT_NE(failure("MSS..sp_MSS_UpdatePatientClass '991201','X','0001'"), 0);
    QString why;
    EXPECT_NE(failure("MSS..sp_MSS_UpdatePatientClass '000000','S','0001'", &why), 0);
    EXPECT_TRUE(why.contains("000000"));
    EXPECT_EQ(value("SELECT PatientClass FROM PATIENT_DATA__tbPatient2 WHERE IdNum = '991201'").toString(), "P");
    EXPECT_EQ(run("MSS..sp_MSS_GetPatClassHistory '991201'").size(), 0);
}

TEST_F(PatientClass, DeletingKeepsTheRowWithItsReason) {
    run("MSS..sp_MSS_UpdatePatientClass '991201','S','0001'");
    run("MSS..sp_MSS_UpdatePatientClass '991201','P','0001'");
    const Rows h = run("MSS..sp_MSS_GetPatClassHistory '991201'");
    ASSERT_EQ(h.size(), 2);
    // The screen sends the last grid row's date as it shows it.
    const QString shown = h.at(1, "Transdate").toDateTime().toString(QStringLiteral("MM/dd/yyyy hh:mm:ss AP"));
    const QString call = "sp_MSS_SavePatClassHistory_Deletion '991201','P','%1','" + shown + "','" + shown + "','0001'";

    QString why;
    EXPECT_NE(failure(call.arg("wrong"), &why), 0);  // five characters are not a reason
    EXPECT_EQ(run("MSS..sp_MSS_GetPatClassHistory '991201'").size(), 2);

    run(call.arg("entered by mistake"));
    Rows after = run("MSS..sp_MSS_GetPatClassHistory '991201'");
    ASSERT_EQ(after.size(), 1);
    EXPECT_EQ(after.text(0, "Class"), "S");
    EXPECT_EQ(value("SELECT Reason || '/' || Class || '/' || DeletedBy FROM MSS__tbMSSPatClassHistoryDeleted"
                    " WHERE IdNum = '991201'").toString(), "entered by mistake/P/0001");

    // Nothing left to match: a clear failure, not a silent success.
    EXPECT_NE(failure(call.arg("entered by mistake")), 0);
    EXPECT_EQ(run("MSS..sp_MSS_GetPatClassHistory '991201'").size(), 1);
}

}  // namespace
}  // namespace casework_test
