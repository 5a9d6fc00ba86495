// The demo hospital's case records: sound, varied, and one in-patient with everything filled.
#include "tests/hospitaldb/casework/casedb.h"

#include "hospitaldb/demo.h"

namespace casework_test {
namespace {

using DemoCases = CaseDb;

TEST_F(DemoCases, AreSoundAndVaried) {
    EXPECT_EQ(hospitaldb::checkDatabase(path_), QStringList());
    const long assessed = count("SELECT count(*) FROM MSS__tbMSSAssessment");
    const long patients = count("SELECT count(*) FROM PATIENT_DATA__tbMaster");
    EXPECT_GT(assessed * 5, patients);  // about a third of the patients
    EXPECT_LT(assessed * 2, patients);
    EXPECT_GT(count("SELECT count(*) FROM MSS__tbMSSAssessment WHERE date(ValidityDate) < date('now')"), 0);
    EXPECT_GT(count("SELECT count(*) FROM MSS__tbMSSAssessment WHERE date(ValidityDate) >= date('now')"), 0);
    EXPECT_GT(count("SELECT count(*) FROM MSS__tbMSSAssessment WHERE IsSpecial = 1 AND NC > 0"), 1);
    EXPECT_GT(count("SELECT count(*) FROM MSS__tbMSSAssessment WHERE IsPCSO = 1"), 1);
    EXPECT_GT(count("SELECT count(*) FROM MSS__tbMSSAssessment WHERE IsCDF = 1"), 0);
    EXPECT_GT(count("SELECT count(*) FROM MSS__tbMSSAssessmentHistory"), assessed);
    EXPECT_GT(count("SELECT count(*) FROM MSS__tbMSSIntakeSheet"), 0);
    EXPECT_GT(count("SELECT count(*) FROM MSS__tbMSSFamilyComposition"), 0);
    EXPECT_GT(count("SELECT count(*) FROM MSS__tbMSSPatClassHistory"), 0);
    EXPECT_GT(count("SELECT count(*) FROM MSS__tbMSSReferralNotice WHERE Status = 'P'"), 0);
    EXPECT_GT(count("SELECT count(*) FROM MSS__tbMSSReferralNotice WHERE Status <> 'P'"), 0);
    EXPECT_GT(count("SELECT count(*) FROM MSS__tbMSSDischargeNotice WHERE ClearDate IS NULL"), 0);
    EXPECT_GT(count("SELECT count(*) FROM MSS__tbMSSDischargeNotice WHERE ClearDate IS NOT NULL"), 0);
    EXPECT_GT(count("SELECT count(*) FROM MSS__tbMSSCDFAllocation"), 0);
    // The assessments agree with the patient master they were derived from.
    EXPECT_EQ(count("SELECT count(*) FROM MSS__tbMSSAssessment a JOIN PATIENT_DATA__tbMaster m ON m.HospNum = a.HospNum"
                    " WHERE m.MSSNum <> a.MSSNum OR m.MSSClassification <> a.Code"), 0);
}

TEST_F(DemoCases, OneCurrentInPatientHasEveryOptionalPartFilled) {
    const QString idNum = value(
        "SELECT a.IdNum FROM MSS__tbMSSAssessment a JOIN PATIENT_DATA__tbPatient2 p ON p.IdNum = a.IdNum"
        " WHERE p.DcrDate IS NULL AND a.IsSpecial = 1 AND a.NC > 0 AND a.IsPCSO = 1 AND a.PCSOType <> ''"
        "   AND a.IsCDF = 1 AND a.Remarks <> '' AND a.ServiceID <> '' AND a.ReferringPartyID <> ''"
        "   AND a.ParentCategoryID <> '' AND a.CaseCategory <> '' ORDER BY a.IdNum LIMIT 1").toString();
    ASSERT_FALSE(idNum.isEmpty());
    const QString hospNum = value("SELECT HospNum FROM MSS__tbMSSAssessment WHERE IdNum = '" + idNum + "'").toString();

    Rows p = run("MSS..sp_MSS_PrintAssessment '" + hospNum + "','" + idNum + "'");
    ASSERT_EQ(p.size(), 1);
    for (const char* col : {"MSSNum", "Classification", "category", "ParentCategory", "REMARKS", "MSSWName",
                            "LicenseNumber", "ReferringParty", "CaseStatusDesc", "ServiceID", "ActivityID", "Docs",
                            "DoctorName", "PCSOType"})
        EXPECT_FALSE(p.text(0, col).isEmpty()) << col;
    EXPECT_EQ(p.text(0, "Docs"), "1|1|1|1|1|1|1|1|1|1|1|1|1|1|1|1|1|1|");

    Rows sheet = run("MSS..sp_MSS_LoadExistIntakeSheet '" + hospNum + "'");
    ASSERT_EQ(sheet.size(), 1);
    for (const char* col : {"SenCitizen", "brgyOfficial", "BHW", "PWD", "Indigenous"})
        EXPECT_EQ(sheet.text(0, col), "1") << col;
    Rows other = run("MSS..sp_MSS_LoadOtherPatientInfo '" + hospNum + "'");
    for (const QString& col : other.table.columns) EXPECT_FALSE(other.text(0, col).isEmpty()) << col.toStdString();
    EXPECT_EQ(run("MSS..sp_MSS_LoadExistFamilyComposition '" + hospNum + "'").size(), 4);
    Rows expenses = run("MSS..sp_MSS_LoadMonthlyExpenses '" + hospNum + "'");
    EXPECT_EQ(expenses.text(0, "OTher"), "CELLPHONE LOAD");
    EXPECT_EQ(count("SELECT count(*) FROM MSS__tbMSSSocialFunctioning WHERE Hospnum = '" + hospNum +
                    "' AND Interaction <> '' AND SeverityIndex <> '' AND DurationIndex <> '' AND CopingIndex <> ''"),
              count("SELECT count(*) FROM MSS__tbMSSRoles"));
    EXPECT_EQ(count("SELECT count(*) FROM MSS__tbMSSEnvironmentProblems WHERE Hospnum = '" + hospNum +
                    "' AND SeverityIndex <> '' AND DurationIndex <> ''"),
              count("SELECT count(*) FROM MSS__tbMSSProblems"));
    EXPECT_EQ(run("MSS..sp_Pars_Load_Existing_CDF_Allocation '" + hospNum + "', 0").size(), 2);
    EXPECT_EQ(run("MSS..sp_MSS_GetPatClassHistory '" + idNum + "'").size(), 2);
    EXPECT_GE(run("MSS..sp_MSS_GetPreviousAssessment '" + hospNum + "'").size(), 1);
    EXPECT_EQ(run("MSS..sp_MSS_LoadDischargeNoticePatient '" + idNum + "'").size(), 1);
    EXPECT_EQ(count("SELECT count(*) FROM MSS__tbMSSReferralNotice WHERE IdNum = '" + idNum + "'"), 1);
}

}  // namespace
}  // namespace casework_test
