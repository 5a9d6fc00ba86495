// Reads of one patient or encounter, called as the screens send them.
#include "tests/hospitaldb/patients/hospital.h"

namespace patients_test {
namespace {

using Encounter = Hospital;

TEST_F(Encounter, PatientInfoGivesTheClassificationInForceOfMssPatientsOnly) {
    Rows r = run("MSS..sp_MSS_GetPatientInfo '90000001','990101'");
    ASSERT_EQ(r.size(), 1);
    EXPECT_EQ(r.text(0, "Name"), "DELA PAZ, JUANITO REYES");
    EXPECT_EQ(r.text(0, "HospNum"), "90000001");
    EXPECT_EQ(r.text(0, "MSSNumber"), "2023-900001");
    EXPECT_EQ(r.text(0, "RoomID"), "201");
    EXPECT_EQ(r.text(0, "Code"), "C2");
    // An expired classification earns nothing: the code is empty.
    r = run("MSS..sp_MSS_GetPatientInfo '90000002','990103'");
    ASSERT_EQ(r.size(), 1);
    EXPECT_EQ(r.text(0, "Code"), "");
    // Out-patient encounters are on the room "OPD", which selects the out-patient rates.
    EXPECT_EQ(run("MSS..sp_MSS_GetPatientInfo '90000001','990002B'").text(0, "RoomID"), "OPD");
    // No MSS number, or an encounter of another patient: no row, so the screen falls back.
    EXPECT_EQ(run("MSS..sp_MSS_GetPatientInfo '90000004','T990104'").size(), 0);
    EXPECT_EQ(run("MSS..sp_MSS_GetPatientInfo '90000002','990101'").size(), 0);
    r = run("MSS..sp_MSS_GetPatientInfoforARR 'T990104'");
    ASSERT_EQ(r.size(), 1);
    EXPECT_EQ(r.text(0, "Name"), "DELA, ZENY PAZ");
    EXPECT_EQ(r.text(0, "HospNum"), "90000004");
    EXPECT_EQ(r.text(0, "RoomID"), "301");
    EXPECT_EQ(run("MSS..sp_MSS_GetPatientInfoforARR 'NOSUCH'").size(), 0);
}

TEST_F(Encounter, PayPatientInfoFillsTheAssessmentHeader) {
    const Rows r = run("MSS..sp_MSS_PayPatientInfo '990101'");
    ASSERT_EQ(r.size(), 1);
    EXPECT_EQ(r.text(0, "LastName"), "DELA PAZ");
    EXPECT_EQ(r.text(0, "FirstName"), "JUANITO");
    EXPECT_EQ(r.text(0, "MiddleName"), "REYES");
    EXPECT_EQ(r.text(0, "HospNum"), "90000001");
    EXPECT_EQ(r.text(0, "IDNUM"), "990101");
    EXPECT_EQ(r.text(0, "DoctorName"), "DR. ROBERTO VILLANUEVA");
    EXPECT_EQ(r.text(0, "RoomID"), "201");
}

TEST_F(Encounter, StatementOfAccountHeaderNeverHasANullNameOrOpdNumber) {
    Rows r = run("MSS..sp_MSS_PatientInfoForSOA '90000001','990101'");
    ASSERT_EQ(r.size(), 1);
    EXPECT_EQ(r.text(0, "PatientName"), "DELA PAZ, JUANITO REYES");
    EXPECT_EQ(r.text(0, "Address1"), "12 MABINI ST., BRGY. SAN ROQUE, MARIKINA, METRO MANILA");
    EXPECT_EQ(r.text(0, "Address2"), "TEL. 0917-555-1234");
    EXPECT_EQ(r.text(0, "AccountNum"), "S002");
    EXPECT_FALSE(r.text(0, "Company").isEmpty());
    EXPECT_EQ(r.text(0, "AdmTime"), "10:00 AM");
    EXPECT_EQ(r.text(0, "dcrtime"), "");
    EXPECT_EQ(r.text(0, "RoomRate"), "2500.00");
    EXPECT_EQ(r.text(0, "OPDIdnum"), "990001B");
    r = run("MSS..sp_MSS_PatientInfoForSOA '90000001','990102'");
    ASSERT_EQ(r.size(), 1);
    EXPECT_FALSE(r.at(0, "OPDIdnum").isNull());
    EXPECT_EQ(r.text(0, "OPDIdnum"), "");
    EXPECT_EQ(r.text(0, "dcrtime"), "03:00 PM");
    EXPECT_FALSE(r.at(0, "PatientName").isNull());
    EXPECT_EQ(run("MSS..sp_MSS_PatientInfoForSOA '90000002','990101'").size(), 0);
}

TEST_F(Encounter, ClassAndMatchedOpdNumberOfAnEncounter) {
    EXPECT_EQ(run("RADIOLOGY..spRadio_CheckPatientClass '990101'").text(0, "PatientClass"), "S");
    EXPECT_EQ(run("RADIOLOGY..spRadio_CheckPatientClass 'T990104'").text(0, "PatientClass"), "P");
    // An empty class counts as pay, for admissions and registrations alike.
    EXPECT_EQ(run("RADIOLOGY..spRadio_CheckPatientClass '990103'").text(0, "PatientClass"), "P");
    EXPECT_EQ(run("RADIOLOGY..spRadio_CheckPatientClass '990003B'").text(0, "PatientClass"), "P");
    EXPECT_EQ(run("RADIOLOGY..spRadio_CheckPatientClass 'NOSUCH'").size(), 0);

    const Rows m = run("BILLING..sp_Billing_Search_Matching_OPDNumber_At_TbPatient '990101'");
    ASSERT_EQ(m.size(), 1);
    EXPECT_EQ(m.text(0, "OPDIdnum"), "990001B");
    EXPECT_EQ(run("BILLING..sp_Billing_Search_Matching_OPDNumber_At_TbPatient '990102'").size(), 0);
}

TEST_F(Encounter, OnlySponsorAccountsCountForTheCompanyCheck) {
    EXPECT_EQ(run("Billing..sp_Pars_CheckCompany '990101'").size(), 1);    // CDF sponsor
    EXPECT_EQ(run("Billing..sp_Pars_CheckCompany '990003B'").size(), 1);   // registration with a sponsor
    EXPECT_EQ(run("Billing..sp_Pars_CheckCompany '990102'").size(), 0);    // an HMO is no sponsor
    EXPECT_EQ(run("Billing..sp_Pars_CheckCompany '990103'").size(), 0);
}

TEST_F(Encounter, RegisteredOutPatientVisit) {
    Rows r = run("Radiology..spGlobal_RegisteredOPD '','1','990002B'");
    ASSERT_EQ(r.size(), 1);
    EXPECT_EQ(r.at(0, "AdmDate").toDateTime().time().hour(), 9);
    r = run("Radiology..spGlobal_RegisteredOPD '','1','990001B'");
    ASSERT_EQ(r.size(), 1);
    EXPECT_EQ(r.text(0, "ERNum"), "ER9900001");
    EXPECT_EQ(run("Radiology..spGlobal_RegisteredOPD '','1','990101'").size(), 0);  // an admission
    EXPECT_EQ(run("Radiology..spGlobal_RegisteredOPD '','1',''").size(), 0);
}

TEST_F(Encounter, AdmissionValidationKnowsOnlyCurrentAdmissions) {
    const Rows r = run("Patient_Data..sp_Adm_LoadInPatient '990101',''");
    ASSERT_EQ(r.size(), 1);
    EXPECT_EQ(r.text(0, "HospNum"), "90000001");
    EXPECT_EQ(run("Patient_Data..sp_Adm_LoadInPatient '990102',''").size(), 0);
    EXPECT_EQ(run("Patient_Data..sp_Adm_LoadInPatient '990001B',''").size(), 0);
    EXPECT_EQ(run("Patient_Data..sp_Adm_LoadInPatient '990101','2N'").size(), 1);
    EXPECT_EQ(run("Patient_Data..sp_Adm_LoadInPatient '990101','1N'").size(), 0);
}

TEST_F(Encounter, DataSheetIsPreparedOncePerAdmission) {
    backend_ = hospitaldb::openEmbedded(freshCopy());
    run("Patient_Data..sp_Adm_PatientData '990101'");
    run("Patient_Data..sp_Adm_PatientData '990101'");
    const Rows r = run("SELECT PatientName, Age, Religion, RoomID, AdmittingDiagnosis FROM PATIENT_DATA..tbPatientDataSheet");
    ASSERT_EQ(r.size(), 1);
    EXPECT_EQ(r.text(0, "PatientName"), "DELA PAZ, JUANITO REYES");
    EXPECT_EQ(r.text(0, "Religion"), "ROMAN CATHOLIC");
    EXPECT_EQ(r.text(0, "AdmittingDiagnosis"), "CHRONIC KIDNEY DISEASE STAGE 5");
    EXPECT_GE(r.at(0, "Age").toInt(), 53);
    try {
        run("Patient_Data..sp_Adm_PatientData '999999'");
        FAIL() << "an unknown admission was accepted";
    } catch (const mss::db::Failure& f) {
        EXPECT_EQ(f.Number, 50001);
    }
}

TEST_F(Encounter, ClassificationSearchOfTheIntakeSheet) {
    Rows r = run(" sp_SearchCategoryandClassification '990101'");
    ASSERT_EQ(r.size(), 1);
    EXPECT_EQ(r.text(0, "classificationid"), "C2");
    EXPECT_EQ(r.text(0, "Classification"), "PARTIAL CHARITY - 75%");
    EXPECT_EQ(r.text(0, "MSS"), "2023-900001");
    EXPECT_TRUE(r.has("category") && r.has("categoryid"));
    EXPECT_EQ(run(" sp_SearchCategoryandClassification 'T990104'").size(), 0);
}

}  // namespace
}  // namespace patients_test
