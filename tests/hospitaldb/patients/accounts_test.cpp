// Staff accounts: the worker lookup and what the log-in component checks.
#include "failure.h"
#include "tests/hospitaldb/patients/hospital.h"

#include "hospitaldb/demo.h"

namespace patients_test {
namespace {

using Accounts = Hospital;

TEST_F(Accounts, WorkerLookupListsActiveSocialWorkers) {
    Rows r = run("MSS..sp_MSS_GetEmployees ''");
    QStringList codes;
    for (int i = 0; i < r.size(); ++i) codes << r.text(i, "EmployeeID");
    EXPECT_EQ(codes.size(), 5);
    EXPECT_FALSE(codes.contains("0006"));   // an aide, not a social worker
    EXPECT_EQ(r.table.columns.value(0), "EmployeeID");
    EXPECT_EQ(r.table.columns.value(1), "EmployeeName");
    r = run("MSS..sp_MSS_GetEmployees 'buen'");
    ASSERT_EQ(r.size(), 1);
    EXPECT_EQ(r.text(0, "EmployeeName"), "BUENAFLOR, CECILIA RAMOS");
    EXPECT_EQ(run("MSS..sp_MSS_GetEmployees '000'").size(), 5);
    EXPECT_EQ(run("MSS..sp_MSS_GetEmployees 'ZZ'").size(), 0);
}

TEST_F(Accounts, EmployeeNameAndLicence) {
    Rows r = run("MSS..sp_MSS_GetEmployeeName '0001'");
    ASSERT_EQ(r.size(), 1);
    EXPECT_EQ(r.text(0, "EmployeeName"), "CECILIA R. BUENAFLOR");
    EXPECT_EQ(r.text(0, "licensenumber"), "SW-0012345");
    EXPECT_EQ(run("MSS..sp_MSS_GetEmployeeName '9999'").size(), 0);
    EXPECT_EQ(run("MSS..sp_MSS_GetEmployeeName ''").size(), 0);
}

TEST_F(Accounts, PasswordsAreKeptOnlyAsHashes) {
    const Rows r = run("SELECT EmployeeCode, PasswordHash FROM MSS..tbMSSEmployee WHERE EmployeeCode IN ('0001','0002')");
    ASSERT_EQ(r.size(), 2);
    for (int i = 0; i < 2; ++i) {
        const QString h = r.text(i, "PasswordHash");
        EXPECT_NE(h, "demo");
        EXPECT_TRUE(h.startsWith("$argon2"));
        EXPECT_TRUE(hospitaldb::verifyPassword(h, "demo"));
        EXPECT_FALSE(hospitaldb::verifyPassword(h, "DEMO"));
    }
    // Each hash is salted: the same password gives two different texts.
    EXPECT_NE(r.text(0, "PasswordHash"), r.text(1, "PasswordHash"));
    EXPECT_EQ(run("SELECT RightsCode FROM MSS..tbMSSUserRights WHERE EmployeeCode = '0001' AND DeptCode = 'MSS'").text(0, "RightsCode"), "A");
    EXPECT_EQ(run("SELECT RightsCode FROM MSS..tbMSSUserRights WHERE EmployeeCode = '0002'").size(), 0);
}

TEST_F(Accounts, AddingAnAccount) {
    const QString path = freshCopy();
    {
        hospitaldb::Engine e(path, false);
        hospitaldb::Account a;
        a.code = "0100";
        a.lastName = "ROSALES";
        a.firstName = "MYRNA";
        a.license = "SW-0100";
        a.socialWorker = true;
        a.rights = {"A", "B"};
        hospitaldb::addAccount(e, a, "s3cret");
        // A second account with the same code is refused and leaves nothing behind.
        a.rights = {"C"};
        EXPECT_FAILURE(hospitaldb::addAccount(e, a, "other"), 2627);
        EXPECT_EQ(e.query("SELECT count(*) FROM MSS__tbMSSUserRights WHERE EmployeeCode = '0100'").rows[0][0].toInt(), 2);
        a.code = " ";
        EXPECT_THROW(hospitaldb::addAccount(e, a, "x"), std::invalid_argument);
    }
    backend_ = hospitaldb::openEmbedded(path);
    const Rows r = run("MSS..sp_MSS_GetEmployeeName '0100'");
    ASSERT_EQ(r.size(), 1);
    EXPECT_EQ(r.text(0, "EmployeeName"), "MYRNA ROSALES");
}

}  // namespace
}  // namespace patients_test
