#include "shell/db/sqltext.h"
#include "shell/db/error.h"
#include "shell/db/text.h"

namespace mss::db {

QString escapeValue(const QString& value) {
    QString s = value;
    s.replace(u'\'', QStringLiteral("''"));
    return s;
}

Sql& Sql::val(const QString& value) {
    text_ += escapeValue(value);
    return *this;
}

Sql& Sql::num(const QString& number) {
    if (!text::IsNumeric(number)) FailTypeMismatch();
    QString t = number.trimmed();
    t.remove(u',');
    text_ += t;
    return *this;
}

Sql& Sql::num(double number) {
    text_ += text::NumberText(number);
    return *this;
}

Sql& Sql::num(long long number) {
    text_ += QString::number(number);
    return *this;
}

QString Sql::call(const QString& procedure, const QStringList& args, const QString& separator) {
    if (args.isEmpty()) return procedure;
    QStringList escaped;
    escaped.reserve(args.size());
    for (const auto& a : args) escaped << escapeValue(a);
    return procedure + QStringLiteral(" '") + escaped.join(separator) + u'\'';
}

}  // namespace mss::db
