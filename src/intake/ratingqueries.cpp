#include "intake/ratingqueries.h"
#include "shell/db/sqltext.h"
#include "shell/db/text.h"

namespace mss::intake::ratingsql {

using db::Sql;

QString SocialInteractionListSql() {
    return "SELECT  (cast(id as varchar(2)) + '. ' + isnull(types,'') ) [InteractionProb] FROM "
           "build_File..tbcoMSSTypesSocialInteract order by cast(id as varchar(2)) asc";
}

QString SeverityListSql() {
    return "SELECT  (cast(id as varchar(2)) + '. ' + isnull(type,'') ) [Type] FROM build_File..tbcoMSSSeverityIndex "
           "order by cast(id as varchar(2)) asc";
}

QString DurationListSql() {
    return "SELECT  (cast(id as varchar(2)) + '. ' + isnull(type,'') ) [Type] FROM build_File..tbcoMSSDurationIndex "
           "order by cast(id as varchar(2)) asc";
}

QString CopingListSql() {
    return "SELECT  (cast(id as varchar(2)) + '. ' + isnull(type,'') ) [Type] FROM build_File..tbcoMSSCopingIndex "
           "order by cast(id as varchar(2)) asc";
}

QString LoadSocialFunctioningSql(const QString& hospNum, int row) {
    return Sql("Select b.Code as codeIndex,                                                      "
               "isnull(cast(c.id as varchar(3)) + '. ' + c.types,'')   as SocialInteractValue,    "
               "isnull(cast(d.id as varchar(3)) + '. ' + d.type,'')   as SeverityIndexValue,      "
               "isnull(cast(e.id as varchar(3)) + '. ' + e.type,'')   as DurationIndexValue,      "
               "isnull(cast(f.id as varchar(3)) + '. ' + f.type,'')   as CopingIndexValue,  *     "
               "from mss..tbMSSSocialFunctioning a                                                "
               "left outer join tbMSSRoles b  on a.Description = b.ID                             "
               "left outer join build_file..tbcoMSSTypesSocialInteract c on  c.id = a.Interaction "
               "left outer join build_file..tbcoMSSSeverityIndex d on d.id = a.SeverityIndex      "
               "left outer join build_file..tbcoMSSDurationIndex e on e.id  = a.DurationIndex     "
               "left outer join build_file..tbcoMSSCopingIndex f on f.id = a.CopingIndex          "
               "where a.hospnum ='")
        .val(hospNum)
        .lit("' ")
        .lit("      and b.code = '")
        .val(QString::number(row))
        .lit("'    ")
        .lit("order by b.code asc       ");
}

QString LoadEnvironmentProblemsSql(const QString& hospNum, int row) {
    return Sql("Select b.Code as codeIndex,                                                      "
               "isnull(cast(d.id as varchar(3)) + '. ' + d.type,'')   as SeverityIndexValue,      "
               "isnull(cast(e.id as varchar(3)) + '. ' + e.type,'')   as DurationIndexValue       "
               "from mss..tbMSSEnvironmentProblems a                                              "
               "left outer join tbMSSProblems b  on a.Description = b.ID                             "
               "left outer join build_file..tbcoMSSSeverityIndex d on d.id = a.SeverityIndex      "
               "left outer join build_file..tbcoMSSDurationIndex e on e.id  = a.DurationIndex     "
               "where a.hospnum ='")
        .val(hospNum)
        .lit("'                                             ")
        .lit("      and b.code = '")
        .val(QString::number(row))
        .lit("'                                                  ")
        .lit("order by b.code asc ");
}

QString RoleIdSql(int row) {
    return Sql("Select ID from mss..tbMSSRoles where code = '").val(QString::number(row)).lit("'");
}

QString ProblemIdSql(int row) {
    return Sql("Select ID from mss..tbMSSProblems where code = '").val(QString::number(row)).lit("'");
}

QString SocialFunctioningRecordSql(const QString& hospNum, const QString& roleId) {
    return Sql(" SELECT a.* FROM mss..tbMSSSocialFunctioning a ")
        .lit(" where a.hospnum = '").val(hospNum).lit("'  ")
        .lit(" and a.description = '").val(roleId).lit("'");
}

QString EnvironmentProblemRecordSql(const QString& hospNum, const QString& problemId) {
    return Sql(" SELECT a.* FROM mss..tbMSSEnvironmentProblems a ")
        .lit(" where a.hospnum = '").val(hospNum).lit("'  ")
        .lit(" and a.description = '").val(problemId).lit("'");
}

std::optional<QString> IndexIdOf(const QString& boxText) {
    const QString text = text::Trim(boxText);
    if (text.isEmpty()) return QString("");
    const qsizetype point = text.indexOf(u'.');
    const QString id = point < 0 ? text : text::Trim(text.left(point));
    if (id.isEmpty()) return std::nullopt;
    for (const QChar c : id)
        if (c < u'0' || c > u'9') return std::nullopt;
    return id;
}

}  // namespace mss::intake::ratingsql
