// The demo hospital, the generator, the empty hospital and the soundness check.
#include "tests/hospitaldb/patients/hospital.h"

#include "hospitaldb/demo.h"

#include <QCryptographicHash>
#include <QTemporaryDir>

namespace patients_test {
namespace {

using Builders = Hospital;

int count(hospitaldb::Engine& e, const QString& sql) { return e.query(sql).rows.at(0).at(0).toInt(); }

QByteArray digest(const QString& path) {
    hospitaldb::Engine e(path, false);
    QCryptographicHash h(QCryptographicHash::Sha256);
    for (const char* sql : {"SELECT * FROM PATIENT_DATA__tbMaster ORDER BY HospNum",
                            "SELECT * FROM PATIENT_DATA__tbPatient2 ORDER BY IdNum",
                            "SELECT * FROM PATIENT_DATA__tbOutPatient ORDER BY IdNum",
                            "SELECT IdNum, RevenueID, Amount, TransDate FROM BILLING__tbBillDailyBill ORDER BY LineID",
                            "SELECT * FROM BILLING__tbBillMedicareItem ORDER BY ItemID"})
        for (const auto& row : e.query(sql).rows)
            for (const QVariant& v : row) h.addData(v.toString().toUtf8() + '|');
    return h.result();
}

TEST_F(Builders, DemoHospitalHasEveryKindOfEncounter) {
    hospitaldb::Engine e(demoPath(), false);
    const int patients = count(e, "SELECT count(*) FROM PATIENT_DATA__tbMaster");
    EXPECT_GE(patients, 500);
    const int admissions = count(e, "SELECT count(*) FROM PATIENT_DATA__tbPatient2");
    const int visits = count(e, "SELECT count(*) FROM PATIENT_DATA__tbOutPatient");
    const int er = count(e, "SELECT count(*) FROM PATIENT_DATA__tbERMaster");
    EXPECT_GE(admissions + visits, 800);
    EXPECT_LE(admissions + visits, 1100);
    EXPECT_GT(er, 50);
    EXPECT_GT(count(e, "SELECT count(*) FROM PATIENT_DATA__tbPatient2 WHERE IdNum LIKE 'T%'"), 0);
    EXPECT_GT(count(e, "SELECT count(*) FROM PATIENT_DATA__tbPatient2 WHERE DcrDate IS NULL"), 10);
    EXPECT_EQ(count(e, "SELECT count(*) FROM PATIENT_DATA__tbPatient2 WHERE IdNum NOT LIKE 'T%' AND CAST(IdNum AS INTEGER) || '' <> IdNum"), 0);
    EXPECT_EQ(count(e, "SELECT count(*) FROM PATIENT_DATA__tbOutPatient WHERE IdNum NOT LIKE '%B'"), 0);
    const double mss = count(e, "SELECT count(*) FROM PATIENT_DATA__tbMaster WHERE MSSNum <> ''");
    EXPECT_NEAR(mss / patients, 1.0 / 3.0, 0.07);
    // Bills of 20 to 200 lines per admission (besides the computed discounts); Medicare on some.
    EXPECT_EQ(count(e, "SELECT count(*) FROM (SELECT IdNum, count(*) n FROM BILLING__tbBillDailyBill"
                       " WHERE RevenueID <> 'QF' GROUP BY IdNum)"
                       " WHERE n < 1 OR n > 200"), 0);
    EXPECT_GT(count(e, "SELECT count(*) FROM (SELECT IdNum FROM BILLING__tbBillDailyBill GROUP BY IdNum HAVING count(*) >= 20)"), admissions / 2);
    EXPECT_GT(count(e, "SELECT count(*) FROM BILLING__tbBillMedicare"), admissions / 10);
    // The approved Medicare total never exceeds the items it was computed from.
    EXPECT_EQ(count(e, "SELECT count(*) FROM BILLING__tbBillMedicare c WHERE c.Amount > "
                       "(SELECT sum(Amount) FROM BILLING__tbBillMedicareItem i WHERE i.ClaimID = c.ClaimID) + 0.005"), 0);
    EXPECT_EQ(count(e, "SELECT count(*) FROM PATIENT_DATA__tbHospitalInfo"), 1);
    EXPECT_TRUE(hospitaldb::checkDatabase(demoPath()).isEmpty());
}

TEST_F(Builders, HospitalInformationAsStartUpReadsIt) {
    const Rows r = run("Select * from PATIENT_DATA..tbHospitalInfo");
    ASSERT_EQ(r.size(), 1);
    EXPECT_EQ(r.text(0, "Company"), "HALVERN MEDICAL CENTER");
    EXPECT_FALSE(r.text(0, "Address1").isEmpty());
    EXPECT_FALSE(r.at(0, "MTSServerName").isNull());
}

TEST_F(Builders, SameSeedGivesTheSameHospital) {
    QTemporaryDir dir;
    hospitaldb::generateHospital(dir.filePath("a.db"), 300, 11);
    hospitaldb::generateHospital(dir.filePath("b.db"), 300, 11);
    EXPECT_EQ(digest(dir.filePath("a.db")), digest(dir.filePath("b.db")));
    try {
        hospitaldb::buildDemo(dir.filePath("a.db"));
        ADD_FAILURE() << "a demo hospital never overwrites a file";
    } catch (const mss::db::Failure& f) {
        EXPECT_EQ(f.Number, mss::db::errnum::ConnectionFailed);
        EXPECT_TRUE(f.Description.endsWith("already exists.")) << f.Description.toStdString();
    }
    EXPECT_EQ(digest(dir.filePath("a.db")), digest(dir.filePath("b.db")));
}

TEST_F(Builders, GeneratedHospitalIsSoundAndSearchable) {
    QTemporaryDir dir;
    const QString path = dir.filePath("big.db");
    const hospitaldb::PopulationStats s = hospitaldb::generateHospital(path, 2000, 7);
    EXPECT_EQ(s.patients, 2000);
    EXPECT_TRUE(hospitaldb::checkDatabase(path).isEmpty());
    hospitaldb::Engine e(path, false);
    EXPECT_EQ(count(e, "SELECT count(*) FROM PATIENT_DATA__tbMaster"), 2000);
    // The indexes dropped for the load are back.
    EXPECT_EQ(count(e, "SELECT count(*) FROM sqlite_master WHERE name = 'PATIENT_DATA__tbMaster_Name'"), 1);
    EXPECT_EQ(count(e, "SELECT count(*) FROM PATIENT_DATA__tbPatient2"), s.admissions);
    const QString other = dir.filePath("other.db");
    hospitaldb::generateHospital(other, 2000, 8);
    EXPECT_NE(digest(path), digest(other));
}

TEST_F(Builders, EmptyHospitalHasReferenceDataAndOneAdministrator) {
    QTemporaryDir dir;
    const QString path = dir.filePath("empty.db");
    hospitaldb::initHospital(path, "Adm1n!");
    hospitaldb::Engine e(path, false);
    EXPECT_EQ(count(e, "SELECT count(*) FROM PATIENT_DATA__tbMaster"), 0);
    EXPECT_EQ(count(e, "SELECT count(*) FROM MSS__tbMSSClassificationScheme"), 6);
    EXPECT_EQ(count(e, "SELECT count(*) FROM PATIENT_DATA__tbHospitalInfo"), 1);
    const auto admin = e.query("SELECT PasswordHash FROM MSS__tbMSSEmployee WHERE EmployeeCode = 'ADMIN'");
    ASSERT_EQ(admin.rows.size(), 1);
    EXPECT_TRUE(hospitaldb::verifyPassword(admin.rows[0][0].toString(), "Adm1n!"));
    EXPECT_EQ(count(e, "SELECT count(*) FROM MSS__tbMSSUserRights WHERE EmployeeCode = 'ADMIN' AND RightsCode = 'A'"), 1);
}

TEST_F(Builders, CheckReportsABrokenReference) {
    const QString path = freshCopy();
    EXPECT_TRUE(hospitaldb::checkDatabase(path).isEmpty());
    {
        hospitaldb::Engine e(path, false);
        e.runScript("PRAGMA foreign_keys = OFF; UPDATE PATIENT_DATA__tbPatient2 SET HospNum = 'NOBODY' WHERE IdNum = '990101';");
    }
    const QStringList problems = hospitaldb::checkDatabase(path);
    ASSERT_EQ(problems.size(), 1);
    EXPECT_TRUE(problems[0].contains("PATIENT_DATA__tbPatient2"));
}

TEST_F(Builders, CheckReportsADateStoredWithoutItsTime) {
    const QString path = freshCopy();
    {
        hospitaldb::Engine e(path, false);
        // Such a value would compare before the midnight of its own day.
        e.runScript("UPDATE PATIENT_DATA__tbPatient2 SET AdmDate = '2026-01-05' WHERE IdNum = '990101';");
    }
    // Reported in the admission and in the search table's copy of it.
    const QStringList problems = hospitaldb::checkDatabase(path);
    ASSERT_EQ(problems.size(), 2);
    EXPECT_TRUE(problems.join('\n').contains("PATIENT_DATA__tbPatient2.AdmDate"));
    EXPECT_TRUE(problems.join('\n').contains("PATIENT_DATA__tbEncounterSearch.AdmDate"));
}

}  // namespace
}  // namespace patients_test
