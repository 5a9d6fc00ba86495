#include "shell/db/dbaccess.h"
#include "testhospital.h"

#include <gtest/gtest.h>

using namespace mss;

// The two lookups the assessment and discount screens share, on the demo hospital.
TEST(SharedLookups, MatchingOutPatientNumberAndCompanyCheck) {
    test::TestHospital hospital;
    // An admission of a patient who also has an out-patient registration.
    const QStringList pair = hospital.scalar(
        "SELECT p.IdNum + '|' + o.IdNum FROM PATIENT_DATA..tbPatient2 p JOIN PATIENT_DATA..tbOutPatient o "
        "ON o.HospNum = p.HospNum WHERE isnull(p.OPDIdNum,'') = '' ORDER BY p.IdNum").split('|');
    ASSERT_EQ(pair.size(), 2);
    const QString admission = pair[0], registration = pair[1];
    hospital.takeStatements();
    EXPECT_EQ(db::MatchingOPDNumber("  " + admission + " "), "");
    EXPECT_EQ(hospital.takeStatements(),
              QStringList{"BILLING..sp_Billing_Search_Matching_OPDNumber_At_TbPatient '" + admission + "'"});

    // Billing consolidates the registration into the admission.
    hospital.connection().Execute("UPDATE PATIENT_DATA..tbPatient2 SET OPDIdNum = '" + registration +
                                  "' WHERE IdNum = '" + admission + "'");
    EXPECT_EQ(db::MatchingOPDNumber(admission), registration);

    const QString sponsored = hospital.scalar(
        "SELECT p.IdNum FROM PATIENT_DATA..tbPatient2 p JOIN BILLING..tbCoCompany c ON c.AccountNum = p.AccountNum "
        "WHERE c.AccountType = 'S' ORDER BY p.IdNum");
    hospital.takeStatements();
    EXPECT_TRUE(db::CheckCompany(sponsored));
    EXPECT_EQ(hospital.takeStatements(), QStringList{"Billing..sp_Pars_CheckCompany '" + sponsored + "'"});
    EXPECT_FALSE(db::CheckCompany(admission));
    // Not trimmed: a padded number is another number.
    EXPECT_FALSE(db::CheckCompany(" " + sponsored));
}
