#include "billing/discountqueries.h"

#include "shell/db/sqltext.h"
#include "shell/db/text.h"

namespace mss::billing {

using db::Sql;
using text::Trim;

namespace {
// procedure + " '" + a + "'"
QString callWith(const char* procedure, const QString& value) {
    return Sql(QString::fromLatin1(procedure)).lit(QStringLiteral(" '")).val(Trim(value)).lit(QStringLiteral("'"));
}
// procedure + " '" + number + "','" + code + "'", the number as plain decimal text.
QString amountFor(const char* procedure, double amount, const QString& revenueId) {
    return Sql(QString::fromLatin1(procedure))
        .lit(QStringLiteral(" '"))
        .val(text::NumberText(amount))
        .lit(QStringLiteral("','"))
        .val(Trim(revenueId))
        .lit(QStringLiteral("'"));
}
}  // namespace

ChargeSelection SelectCharges(const QString& idNum, const QString& opdNum) {
    if (!text::IsNumeric(Trim(idNum))) return ChargeSelection::OutPatient;
    return Trim(opdNum).isEmpty() ? ChargeSelection::Admission : ChargeSelection::AdmissionWithOPD;
}

QString PatientInfoSql(const QString& hospNum, const QString& idNum) {
    return Sql("MSS..sp_MSS_GetPatientInfo '").val(Trim(hospNum)).lit("','").val(Trim(idNum)).lit("'");
}

QString PatientInfoForARRSql(const QString& idNum) { return callWith("MSS..sp_MSS_GetPatientInfoforARR", idNum); }

QString AssessmentSql(const QString& idNum) {
    return Sql("SELECT * FROM MSS..tbMSSAssessment WHERE IdNum = '").val(Trim(idNum)).lit("'");
}

QString CheckExistingDiscountSql(const QString& idNum) {
    return Sql("Billing..sp_Billing_Check_ExistingDiscount '").val(Trim(idNum)).lit("','").val(kDiscountType).lit("'");
}

QString DeleteComputedDiscountSql(const QString& idNum) {
    return Sql("Billing..sp_Billing_Delete_Existing_ComputedDiscount_All '")
        .val(Trim(idNum))
        .lit("','")
        .val(Trim(idNum))
        .lit("','")
        .val(kDiscountType)
        .lit("'");
}

QString ActualChargesSql(const QString& idNum, const QString& opdNum) {
    Sql sql("Billing..sp_Billing_Get_ActualCharges_ForDiscount '");
    sql.val(Trim(idNum));
    switch (SelectCharges(idNum, opdNum)) {
    case ChargeSelection::AdmissionWithOPD: return sql.lit("','").val(Trim(opdNum)).lit("',4,1");
    case ChargeSelection::Admission: return sql.lit("','',3,1");
    case ChargeSelection::OutPatient: break;
    }
    return sql.lit("','',7,1");
}

QString TotalMedicareSql(const QString& idNum) { return callWith("Billing..sp_Billing_GetTotalMedicare_Others", idNum); }

QString MedicareItemsSql(const QString& idNum) { return callWith("Billing..sp_Billing_Get_MedicareItems_Others", idNum); }

QString MedicareShareSql(double share, const QString& revenueId) {
    return amountFor("Billing..sp_Billing_Update_DummyDiscountTable", share, revenueId);
}

QString SpecialArrangementSql(const QString& idNum) {
    return callWith("Billing..sp_Billing_Get_MSS_SpecialArrangementRemarks", idNum);
}

QString NonMDChargesSql() {
    return QStringLiteral("Select isnull(sum(ActualCharges),0) as ActualCharges From Billing..tbDummyDiscountTable "
                          "Where RevenueID <> 'MD'");
}

QString HospitalBillSql(const QString& idNum, const QString& opdNum) {
    Sql sql("Billing..sp_Billing_Get_SeniorCitizenCharges_PerDepartment '");
    sql.val(Trim(idNum)).lit("','").val(Trim(opdNum));
    switch (SelectCharges(idNum, opdNum)) {
    case ChargeSelection::AdmissionWithOPD: return sql.lit("', 7");
    case ChargeSelection::Admission: return sql.lit("', 6");
    case ChargeSelection::OutPatient: break;
    }
    return sql.lit("', 10");
}

QString ScratchRowsSql() { return QStringLiteral("Select * From Billing..tbDummyDiscountTable"); }

QString DepartmentDiscountSql(double discount, const QString& revenueId) {
    return amountFor("Billing..sp_Billing_Update_Discount_DummyDiscountTable", discount, revenueId);
}

QString LoadDiscountSql(int mode) {
    return Sql("BILLING..sp_Billing_Load_DummyDiscountTable '").val(kDiscountType).lit("','").num(qlonglong(mode)).lit("',1");
}

}  // namespace mss::billing
