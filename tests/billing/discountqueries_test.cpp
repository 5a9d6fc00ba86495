// The statements' exact texts where the screen's flows do not reach every variant.
#include "billing/discountcomputation.h"
#include "billing/discountqueries.h"

#include <gtest/gtest.h>

using namespace mss::billing;

TEST(DiscountQueries, ValuesAreTrimmedAndTheirApostrophesDoubled) {
    EXPECT_EQ(ActualChargesSql(" 12'3 ", " 45 "), "Billing..sp_Billing_Get_ActualCharges_ForDiscount '12''3','',7,1");
    EXPECT_EQ(ActualChargesSql(" 1,234 ", " O'B "),
              "Billing..sp_Billing_Get_ActualCharges_ForDiscount '1,234','O''B',4,1");
    EXPECT_EQ(HospitalBillSql("12'3", "9"), "Billing..sp_Billing_Get_SeniorCitizenCharges_PerDepartment '12''3','9', 10");
    EXPECT_EQ(PatientInfoSql(" 1' ", " 2 "), "MSS..sp_MSS_GetPatientInfo '1''','2'");
    EXPECT_EQ(AssessmentSql("1' OR '1'='1"), "SELECT * FROM MSS..tbMSSAssessment WHERE IdNum = '1'' OR ''1''=''1'");
    EXPECT_EQ(DeleteComputedDiscountSql(" 77 "), "Billing..sp_Billing_Delete_Existing_ComputedDiscount_All '77','77','QF'");
}

TEST(DiscountQueries, AmountsGoUnroundedAsPlainDecimals) {
    EXPECT_EQ(MedicareShareSql(100.0 / 300 * 200, " LB "), "Billing..sp_Billing_Update_DummyDiscountTable '66.6666666666667','LB'");
    EXPECT_EQ(MedicareShareSql(1e-7, "PH"), "Billing..sp_Billing_Update_DummyDiscountTable '0.0000001','PH'");
    EXPECT_EQ(DepartmentDiscountSql(1234567.5, "MD"), "Billing..sp_Billing_Update_Discount_DummyDiscountTable '1234567.5','MD'");
    EXPECT_EQ(LoadDiscountSql(2), "BILLING..sp_Billing_Load_DummyDiscountTable 'QF','2',1");
}

TEST(DiscountQueries, DepartmentGroupsCompareTrimmedCodesExactly) {
    const mss::assessment::ClassificationRates r{0.5, 0.4, 0.3, 0.25};  // procedures, medicines, supplies, room
    EXPECT_EQ(DisplayFactor(" RA ", r), 0.25);
    EXPECT_EQ(DisplayFactor("OS", r), 0.3);
    EXPECT_EQ(DisplayFactor("UM", r), 0.4);
    EXPECT_EQ(DisplayFactor("OR", r), 0.5);
    EXPECT_EQ(DisplayFactor("MD", r), 1);
    EXPECT_EQ(DisplayFactor("md", r), 0);
    EXPECT_EQ(DisplayFactor("DT", r), 0);
    EXPECT_EQ(DisplayFactor("", r), 0);
}
