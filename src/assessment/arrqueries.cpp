#include "assessment/arrqueries.h"
#include "shell/db/sqltext.h"
#include "shell/db/text.h"

namespace mss::assessment::arr {

using db::Sql;
using text::Trim;

QString ClassificationListSql() {
    return "SELECT isnull(Code,'') [Code], isnull(Classification,'') [Classification] FROM MSS..tbMSSClassificationScheme "
           "ORDER BY Code";
}

QString ReferringListSql() {
    return "SELECT isnull(Code,'') [Code], isnull(ReferringParty,'') [ReferringParty] FROM MSS..tbMSSReferringParty "
           "ORDER BY Code";
}

QString CaseStatusListSql() {
    return "SELECT isnull(Code,'') [Code], isnull(CaseStatus,'') [CaseStatus] FROM MSS..tbMSSActive ORDER BY Code";
}

QString ParentCategoryListSql() { return "SELECT * FROM MSS..tbMSSParentCategory WHERE STATUS = 'A'"; }

QString CategoryListSql() { return "SELECT * FROM MSS..tbMSSCaseCategory WHERE STATUS = 'A'  order by categoryid asc"; }

QString MasterNumberSql(const QString& hospNum) {
    return Sql("SELECT MSSNum, MSSDiscountValidity FROM PATIENT_DATA..tbMaster WHERE HospNum = '").val(Trim(hospNum)).lit("'");
}

QString MasterRowSql(const QString& hospNum) {
    return Sql("SELECT * FROM PATIENT_DATA..tbMaster WHERE HospNum = '").val(Trim(hospNum)).lit("'");
}

QString PatientClassSql(const QString& idNum) {
    return Sql("RADIOLOGY..spRadio_CheckPatientClass '").val(Trim(idNum)).lit("'");
}

QString PayPatientInfoSql(const QString& idNum) {
    return Sql("MSS..sp_MSS_PayPatientInfo '").val(Trim(idNum)).lit("'");
}

QString AssessmentRecordSql(const QString& idNum) {
    return Sql("MSS..sp_MSS_GetAssessmentRecord '").val(Trim(idNum)).lit("'");
}

QString CaseHistorySql(const QString& hospNum, const QString& idNum) {
    return Sql("Mss..sp_LoadPatCaseHistory '").val(Trim(hospNum)).lit("', '").val(Trim(idNum)).lit("'");
}

QString CaseStatusCodeSql(const QString& caseStatus) {
    return Sql("Select * from tbMSSActive where casestatus='").val(caseStatus).lit("'");
}

QString PreviousAssessmentsSql(const QString& hospNum) {
    return Sql("MSS..sp_MSS_GetPreviousAssessment '").val(Trim(hospNum)).lit("'");
}

QString ExistsMSSNumberSql(const QString& mssNum, const QString& hospNum) {
    return Sql("MSS..sp_MSS_GetExistsMSSNumber '").val(Trim(mssNum)).lit("','").val(Trim(hospNum)).lit("'");
}

QList<ClassTable> ClassTables(const QString& idNum) {
    if (text::IsNumeric(idNum))
        return {{Sql("SELECT IdNum, PatientClass FROM Patient_Data..tbPatient2 WHERE IdNum = '").val(idNum).lit("'"),
                 "PatientClass"}};
    return {{Sql("SELECT IdNum, PatientType FROM Patient_Data..tbOutPatient WHERE IdNum = '").val(idNum).lit("' "),
             "PatientType"},
            {Sql("SELECT IdNum, PatientClassification FROM Patient_Data..tbERMaster WHERE IdNum = '").val(idNum).lit("' "),
             "PatientClassification"}};
}

QString SaveAssessmentSql(const AssessmentValues& v) {
    const QStringList values{v.hospNum,    v.idNum,          v.mssNum,     v.code,       v.categoryName, v.categoryId,
                             v.remarks,    v.intakeDate,     v.validityDate, v.worker,   v.user,         v.pcso,
                             v.sponsor,    v.special,        v.nc,         v.pcsoType,   v.parentCategoryId,
                             v.categoryId, v.referringParty, v.active,     v.caseStatus, v.services};
    Sql sql("MSS..sp_MSS_SaveAssessment_NEW'");
    for (qsizetype i = 0; i < values.size(); ++i) sql.lit(i == 0 ? "" : "','").val(values[i]);
    return sql.lit("'");
}

QString SaveTransactionSql(const AssessmentValues& v) {
    return Sql::call("MSS..sp_MSS_SaveTransaction", {v.hospNum, v.idNum, v.mssNum, v.code, v.intakeDate, v.validityDate,
                                                     v.categoryName, v.worker, v.user, v.remarks});
}

QString RemoveQFLinesSql(const AssessmentValues& v) {
    // An in-patient admission number is numeric; the others are out-patient and ER registrations.
    const QString table = text::IsNumeric(v.txtIDNum) ? "DELETE   FROM BILLING..tbBillDailyBill"
                                                      : "DELETE  FROM BILLING..tbBillOPDailyOut";
    return Sql(table).lit(" WHERE revenueid = 'QF' and refNum = '").val(v.mssNum).lit("' and IdNum = '").val(v.txtIDNum)
        .lit("'");
}

QString SaveDocumentationSql(const AssessmentValues& v) {
    return Sql("Mss..spMSS_SaveDocumentation '").val(Trim(v.txtHospNum)).lit("', '").val(v.txtIDNum).lit("', '")
        .val(v.active).lit("', '").val(v.caseStatus).lit("','").val(v.docs).lit("', '").val(v.intakeDate).lit("','")
        .val(v.user).lit("','").val(v.worker).lit("','").val(v.activities).lit("'");
}

QStringList SaveStatements(const AssessmentValues& v) {
    QStringList out{SaveAssessmentSql(v), SaveTransactionSql(v)};
    // A special arrangement keeps the discount lines computed for it.
    if (!FlagSet(v.special)) out << RemoveQFLinesSql(v);
    out << SaveDocumentationSql(v);
    return out;
}

QString OptionCategoryName(int option) {
    static const char* const names[] = {"Pedia-Nephro", "Hemodialysis", "Post-Transplant", "Donor work-up",
                                        "PD",           "IM",           "Urology",         "Vascular",
                                        "Donor Nephrectomy", "Renal Transplant Recipient", "GS", "Nephrology"};
    if (option < 0 || option >= int(std::size(names))) return {};
    return QString::fromLatin1(names[option]);
}

QString VerificationText(bool forPrint, const QString& lastName, const QString& firstName, const QString& middleName,
                         const QString& hospNum, const QString& mssNum, const QString& classification,
                         const QString& expiry) {
    return QString(forPrint ? "*VERIFICATION*" : "***VERIFICATION***") + "\n\n" + "  PATIENT NAME: " + lastName + ", " +
           firstName + " " + middleName + "\n" + "  HOSP. NO. : " + hospNum + "\n" + "  MSS NO.: " + mssNum +
           "   CLASSIFICATION: " + classification + "\n" + "  EXPIRY DATE: " + expiry + "\n" +
           "Is that a valid information?";
}

QString SavedText(const QString& lastName, const QString& firstName, const QString& hospNum, const QString& validity) {
    return "Clasification for " + lastName + ", " + firstName + " saved." + "\n" + "    HospNum : " + hospNum + "\n" +
           "    Expriy Date : " + validity + " 11:59 PM";
}

QString TwoYearsQuestion() {
    return QStringLiteral("The date you have entered is 2 years ahead of the current date or previous date.\nIs that valid?");
}

QString NotSavedText(long number, const QString& description) {
    return "Data Not Successfully Saved." + description + "\n\nError " + QString::number(number);
}

bool FlagSet(const QString& value) {
    const QString v = Trim(value);
    if (v.isEmpty() || v.compare("False", Qt::CaseInsensitive) == 0) return false;
    if (text::IsNumeric(v)) return text::Val(v) != 0;
    return v.compare("True", Qt::CaseInsensitive) == 0;
}

}  // namespace mss::assessment::arr
