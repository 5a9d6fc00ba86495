#pragma once
// Statement texts of the intake sheet's rating tabs, and the rule that turns a rating box's
// text into the index id it stores. No widgets.
#include <QString>
#include <optional>

namespace mss::intake::ratingsql {

// The lists of index values, "id. name", ordered by the id as text.
QString SocialInteractionListSql();
QString SeverityListSql();
QString DurationListSql();
QString CopingListSql();

// The stored ratings of one row (the role or problem whose code is `row`), as list texts.
QString LoadSocialFunctioningSql(const QString& hospNum, int row);
QString LoadEnvironmentProblemsSql(const QString& hospNum, int row);

// The id of the role (problem) whose code is `row`.
QString RoleIdSql(int row);
QString ProblemIdSql(int row);
// The patient's stored record for one role (problem), opened to be updated.
QString SocialFunctioningRecordSql(const QString& hospNum, const QString& roleId);
QString EnvironmentProblemRecordSql(const QString& hospNum, const QString& problemId);

// The id a rating box stores: "" for an empty box, else the text before its first point
// ("12. HIGH" gives "12"), or the whole text when it has no point. Nothing when that is not a
// plain number: the loads compare it with the index tables' numeric ids, where any other text
// would make the patient's sheet fail to open.
std::optional<QString> IndexIdOf(const QString& boxText);

}  // namespace mss::intake::ratingsql
