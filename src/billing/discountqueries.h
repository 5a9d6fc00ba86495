#pragma once
// The statements of the computation of discount, exactly as they are sent. Every inserted
// value is trimmed and lands between apostrophes with its own apostrophes doubled.
#include <QString>

namespace mss::billing {

// The one discount type this department computes.
inline const QString kDiscountType = QStringLiteral("QF");

// Which charges the billing side collects: the admission's own bill, the admission's with
// the out-patient registration billing has matched to it, or an out-patient (ER) visit's.
enum class ChargeSelection { Admission, AdmissionWithOPD, OutPatient };
// A numeric number is an admission; an admission with a matched OPD number takes both bills.
ChargeSelection SelectCharges(const QString& idNum, const QString& opdNum);

QString PatientInfoSql(const QString& hospNum, const QString& idNum);
QString PatientInfoForARRSql(const QString& idNum);
QString AssessmentSql(const QString& idNum);
QString CheckExistingDiscountSql(const QString& idNum);
// The admission number goes in twice: once for the in-patient bill, once for the out-patient.
QString DeleteComputedDiscountSql(const QString& idNum);

QString ActualChargesSql(const QString& idNum, const QString& opdNum);
QString TotalMedicareSql(const QString& idNum);
QString MedicareItemsSql(const QString& idNum);
// The share goes as the plain decimal text of the number, unrounded.
QString MedicareShareSql(double share, const QString& revenueId);

QString SpecialArrangementSql(const QString& idNum);
QString NonMDChargesSql();
QString HospitalBillSql(const QString& idNum, const QString& opdNum);
QString ScratchRowsSql();
QString DepartmentDiscountSql(double discount, const QString& revenueId);

// Mode 1: the billing side computes the discounts; mode 2: the discounts written are taken.
QString LoadDiscountSql(int mode);

}  // namespace mss::billing
