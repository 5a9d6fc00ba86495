#include "intake/intakequeries.h"
#include "shell/db/sqltext.h"
#include "shell/db/text.h"

namespace mss::intake {

using db::Sql;

QString ClassificationSearchSql(const QString& idnum) {
    return Sql(" sp_SearchCategoryandClassification '").val(idnum).lit("'");
}

QString IntakeHeaderSql(const QString& hospNum) {
    return Sql("MSS..sp_MSS_LoadExistIntakeSheet '").val(text::Trim(hospNum)).lit("'");
}

QString IntakeSheetSql(const QString& hospNum) {
    return Sql("MSS..sp_MSS_LoadExistIntakeSheet'").val(hospNum).lit("'");
}

QString OtherPatientInfoSql(const QString& hospNum) {
    return Sql("MSS..sp_MSS_LoadOtherPatientInfo '").val(hospNum).lit("'");
}

QString FamilyCompositionSql(const QString& hospNum) {
    return Sql("MSS..sp_MSS_LoadExistFamilyComposition '").val(hospNum).lit("'");
}

QString MonthlyExpensesSql(const QString& hospNum) {
    return Sql("MSS..sp_MSS_LoadMonthlyExpenses '").val(hospNum).lit("'");
}

QString RegisteredOPDSql(const QString& idnum) {
    return Sql("Radiology..spGlobal_RegisteredOPD '").val(QString()).lit("','").val("1").lit("','").val(idnum).lit("'");
}

const LookupList kListsBeforeRatings[6] = {
    {"cmbCategory", "select category from tbMssCaseCategory", "category"},
    {"cboClassCode",
     "SELECT isnull(Code,'') [Code], isnull(Classification,'') [Classification] FROM MSS..tbMSSClassificationScheme",
     "Code"},
    {"cboReferringParty",
     "SELECT isnull(Code,'') [Code], isnull(ReferringParty,'') [ReferringParty] FROM MSS..tbMSSReferringParty ORDER BY Code",
     "ReferringParty"},
    {"cboReligion", "SELECT  isnull(Religion,'') [Religion] FROM build_File..tbCoReligion ORDER BY religionid", "Religion"},
    {"cboRelationship", "SELECT  isnull(Relationship,'') [Relationship] FROM build_File..tbCoRelationship", "Relationship"},
    {"cboCivilStatus", "SELECT  isnull(CivilStatus,'') [CivilStatus] FROM build_File..tbCoCivilStatus ORDER BY CivilStatusID",
     "CivilStatus"},
};

const LookupList kListsAfterRatings[4] = {
    {"cboLivingArrangement", "SELECT  isnull(Description,'') [Description] FROM MSS..tbMSSLivingArrangement ORDER BY code ",
     "Description"},
    {"cboPhilhealthType", "SELECT  isnull(Description,'') [Description] FROM MSS..tbMSSPhilhealthType ORDER BY code ",
     "Description"},
    {"cboCategoryType", "SELECT  isnull(Description,'') [Description] FROM MSS..tbMSSCategoryType ORDER BY code ",
     "Description"},
    {"cboAccomodation", "SELECT  isnull(Description,'') [Description] FROM MSS..tbMSSAccomodation ORDER BY code ",
     "Description"},
};

QString ExistsMSSNumberSql(const QString& caseNo, const QString& hospNum) {
    return Sql("MSS..sp_MSS_GetExistsMSSNumber '").val(text::Trim(caseNo)).lit("', '").val(text::Trim(hospNum)).lit("'");
}

QString SaveIntakeSheetDataSql(const QStringList& args) {
    Q_ASSERT(args.size() == 32);
    return Sql::call(QStringLiteral("MSS..sp_MSS_SaveIntakeSheetData"), args);
}

QString SaveOtherPatientInfoSql(const QStringList& args) {
    Q_ASSERT(args.size() == 22);
    return Sql::call(QStringLiteral("MSS..sp_MSS_SaveOtherPatientInfo"), args);
}

QString SavePatientDataSql(const QStringList& args) {
    Q_ASSERT(args.size() == 11);
    // This one is written without a blank before its first argument.
    Sql sql("MSS..sp_MSS_SavePatientData'");
    for (qsizetype i = 0; i < args.size(); ++i) sql.lit(i ? "','" : "").val(args.at(i));
    return sql.lit("'");
}

QString ClearFamilyCompositionSql(const QString& hospNum) {
    return Sql("MSS..sp_MSS_ClearFamilyComposition '").val(text::Trim(hospNum)).lit("'");
}

QString SaveFamilyMemberSql(const QString& hospNum, const QStringList& cells, const QString& income,
                            const QString& total) {
    return Sql::call(QStringLiteral("MSS..sp_MSS_SaveFamilyComposition"), QStringList{hospNum} + cells + QStringList{income, total});
}

QString SaveMonthlyExpensesSql(const QString& hospNum, const QStringList& amounts, const QString& other,
                               const QString& total) {
    Q_ASSERT(amounts.size() == 24);
    QStringList args{hospNum};
    args << amounts.mid(0, 23) << other << amounts.at(23) << total;
    return Sql::call(QStringLiteral("MSS..sp_MSS_SaveMonthlyExpenses"), args);
}

}  // namespace mss::intake
