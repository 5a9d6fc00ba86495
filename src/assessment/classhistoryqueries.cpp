#include "assessment/classhistoryqueries.h"
#include "shell/db/error.h"
#include "shell/db/sqltext.h"
#include "shell/db/text.h"

namespace mss::assessment::classhistory {

using db::Sql;
using text::Trim;

QString CurrentClassSql(const QString& idNum) {
    const QString id = Trim(idNum);
    if (text::IsNumeric(id))
        return Sql("SELECT left(isnull(PatientClass,''),1) [PatientClass] FROM PATIENT_DATA..tbPatient2 WHERE IdNum = '")
            .val(id).lit("'");
    return Sql("SELECT left(isnull(PatientType,''),1) [PatientClass] FROM PATIENT_DATA..tbOutPatient WHERE IdNum = '")
        .val(id).lit("'");
}

QString ClassificationInForceSql(const QString& hospNum) {
    return Sql("Select isnull(MSSClassification,'') as MSSClassification,  CONVERT(VARCHAR(10), MssDiscountExpiry, 101) "
               "as MssDiscountExpiry  From PATIENT_DATA..tbMaster WHERE HospNum = '")
        .val(Trim(hospNum)).lit("'");
}

QString ChangeClassSql(const QString& idNum, const QString& letter, const QString& employeeCode) {
    return Sql("MSS..sp_MSS_UpdatePatientClass '").val(Trim(idNum)).lit("','").val(letter).lit("','").val(employeeCode).lit("'");
}

QString HistorySql(const QString& idNum) {
    return Sql("MSS..sp_MSS_GetPatClassHistory '").val(Trim(idNum)).lit("'");
}

QString RemoveHistorySql(const QString& idNum, const QString& patientClass, const QString& reason,
                         const QString& transDate, const QString& employeeCode) {
    return Sql("sp_MSS_SavePatClassHistory_Deletion '").val(Trim(idNum)).lit("','").val(patientClass).lit("','")
        .val(reason).lit("','").val(transDate).lit("','").val(transDate).lit("','").val(employeeCode).lit("'");
}

QString NewMSSNumberSql(const QString& hospNum, const QString& newNumber) {
    return Sql("MSS..sp_MSS_UpdateMSSNumber '").val(Trim(hospNum)).lit("','").val(Trim(newNumber)).lit("'");
}

bool PayRefused(const QString& classification, const QString& expiry, const QDate& today) {
    if (Trim(expiry).isEmpty()) return false;
    const QDateTime until = text::ParseDateTime(Trim(expiry));
    if (!until.isValid()) db::FailTypeMismatch();
    if (until.date() <= today) return false;
    return !classification.isEmpty();
}

QString PayRefusalMessage(const QString& classification, const QString& expiry) {
    return "You cannot Change the classification to Service \n because the patient has an existing classification of " +
           classification + "\n which will expire on " + expiry;
}

QString ShortReasonMessage() {
    return "Deletion Unsuccessful. \nYou must have a reason for deleting the record. \nHwag ka na po mahiya. tell us your reason.";
}

}  // namespace mss::assessment::classhistory
