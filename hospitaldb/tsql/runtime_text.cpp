// Texts as SQL Server's string functions treat them, and the helpers every runtime file uses.
#include "hospitaldb/tsql/runtime.h"

#include <QRegularExpression>
#include <QVector>
#include <sqlite3.h>

namespace hospitaldb::tsql {

QString textArg(sqlite3_value* v) {
    const auto* p = reinterpret_cast<const char*>(sqlite3_value_text(v));
    return p ? QString::fromUtf8(p, sqlite3_value_bytes(v)) : QString();
}

void resultText(sqlite3_context* ctx, const QString& s) {
    const QByteArray u = s.toUtf8();
    sqlite3_result_text(ctx, u.constData(), int(u.size()), SQLITE_TRANSIENT);
}

void resultFailure(sqlite3_context* ctx, long number, const QString& text) {
    const QByteArray m = "MSSERR#" + QByteArray::number(qlonglong(number)) + '#' + text.toUtf8();
    sqlite3_result_error(ctx, m.constData(), int(m.size()));
}

bool isNullArg(sqlite3_value* v) { return sqlite3_value_type(v) == SQLITE_NULL; }

namespace {
// --- string functions ---------------------------------------------------------------------
QString rtrimmed(QString s) {
    qsizetype n = s.size();
    while (n > 0 && s.at(n - 1) == QLatin1Char(' ')) --n;
    s.truncate(n);
    return s;
}

void fnLen(sqlite3_context* ctx, int, sqlite3_value** argv) {
    if (isNullArg(argv[0])) return sqlite3_result_null(ctx);
    sqlite3_result_int64(ctx, rtrimmed(textArg(argv[0])).size());
}

void fnDataLength(sqlite3_context* ctx, int, sqlite3_value** argv) {
    if (isNullArg(argv[0])) return sqlite3_result_null(ctx);
    sqlite3_result_int64(ctx, textArg(argv[0]).size() * sqlite3_value_int(argv[1]));
}

void fnLeft(sqlite3_context* ctx, int, sqlite3_value** argv) {
    if (isNullArg(argv[0]) || isNullArg(argv[1])) return sqlite3_result_null(ctx);
    const qint64 n = sqlite3_value_int64(argv[1]);
    if (n < 0) return resultFailure(ctx, 537, QStringLiteral("Invalid length parameter passed to the LEFT or SUBSTRING function."));
    resultText(ctx, textArg(argv[0]).left(n));
}

void fnRight(sqlite3_context* ctx, int, sqlite3_value** argv) {
    if (isNullArg(argv[0]) || isNullArg(argv[1])) return sqlite3_result_null(ctx);
    const qint64 n = sqlite3_value_int64(argv[1]);
    if (n < 0) return resultFailure(ctx, 536, QStringLiteral("Invalid length parameter passed to the RIGHT function."));
    resultText(ctx, textArg(argv[0]).right(n));
}

void fnSubstring(sqlite3_context* ctx, int, sqlite3_value** argv) {
    for (int i = 0; i < 3; ++i)
        if (isNullArg(argv[i])) return sqlite3_result_null(ctx);
    const qint64 start = sqlite3_value_int64(argv[1]), len = sqlite3_value_int64(argv[2]);
    if (len < 0) return resultFailure(ctx, 537, QStringLiteral("Invalid length parameter passed to the LEFT or SUBSTRING function."));
    const QString s = textArg(argv[0]);
    const qint64 from = std::max<qint64>(start, 1), to = start + len;  // [from, to)
    if (to <= from || from > s.size()) return resultText(ctx, QString(QLatin1String("")));
    resultText(ctx, s.mid(from - 1, to - from));
}

void fnUpper(sqlite3_context* ctx, int, sqlite3_value** argv) {
    if (isNullArg(argv[0])) return sqlite3_result_null(ctx);
    resultText(ctx, textArg(argv[0]).toUpper());
}

void fnLower(sqlite3_context* ctx, int, sqlite3_value** argv) {
    if (isNullArg(argv[0])) return sqlite3_result_null(ctx);
    resultText(ctx, textArg(argv[0]).toLower());
}

void fnReplace(sqlite3_context* ctx, int, sqlite3_value** argv) {
    for (int i = 0; i < 3; ++i)
        if (isNullArg(argv[i])) return sqlite3_result_null(ctx);
    QString s = textArg(argv[0]);
    const QString find = textArg(argv[1]), with = textArg(argv[2]);
    if (!find.isEmpty()) s.replace(find, with, Qt::CaseInsensitive);
    resultText(ctx, s);
}

void fnReverse(sqlite3_context* ctx, int, sqlite3_value** argv) {
    if (isNullArg(argv[0])) return sqlite3_result_null(ctx);
    QString s = textArg(argv[0]);
    std::reverse(s.begin(), s.end());
    resultText(ctx, s);
}

void fnReplicate(sqlite3_context* ctx, int, sqlite3_value** argv) {
    if (isNullArg(argv[0]) || isNullArg(argv[1])) return sqlite3_result_null(ctx);
    const qint64 n = sqlite3_value_int64(argv[1]);
    if (n < 0) return sqlite3_result_null(ctx);
    const QString s = textArg(argv[0]);
    // A varchar result holds at most 8,000 characters.
    const qint64 times = s.isEmpty() ? 0 : std::min<qint64>(n, (8000 + s.size() - 1) / s.size());
    resultText(ctx, s.repeated(times).left(8000));
}

void fnStuff(sqlite3_context* ctx, int, sqlite3_value** argv) {
    for (int i = 0; i < 3; ++i)
        if (isNullArg(argv[i])) return sqlite3_result_null(ctx);
    QString s = textArg(argv[0]);
    const qint64 start = sqlite3_value_int64(argv[1]), len = sqlite3_value_int64(argv[2]);
    if (start < 1 || start > s.size() || len < 0) return sqlite3_result_null(ctx);
    s.replace(start - 1, std::min<qint64>(len, s.size() - start + 1), isNullArg(argv[3]) ? QString() : textArg(argv[3]));
    resultText(ctx, s);
}

void fnCharIndex(sqlite3_context* ctx, int, sqlite3_value** argv) {
    if (isNullArg(argv[0]) || isNullArg(argv[1])) return sqlite3_result_null(ctx);
    const QString find = textArg(argv[0]), s = textArg(argv[1]);
    const qint64 start = isNullArg(argv[2]) ? 1 : std::max<qint64>(1, sqlite3_value_int64(argv[2]));
    if (find.isEmpty() || start > s.size()) return sqlite3_result_int(ctx, 0);
    sqlite3_result_int64(ctx, s.indexOf(find, start - 1, Qt::CaseInsensitive) + 1);
}

void fnConcatWs(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    if (isNullArg(argv[0])) return sqlite3_result_null(ctx);
    QStringList parts;
    for (int i = 1; i < argc; ++i)
        if (!isNullArg(argv[i])) parts << textArg(argv[i]);
    resultText(ctx, parts.join(textArg(argv[0])));
}

void fnQuoteName(sqlite3_context* ctx, int, sqlite3_value** argv) {
    if (isNullArg(argv[0]) || isNullArg(argv[1])) return sqlite3_result_null(ctx);
    const QString s = textArg(argv[0]), q = textArg(argv[1]);
    if (s.size() > 128 || q.size() != 1) return sqlite3_result_null(ctx);
    static const QHash<QChar, std::pair<QChar, QChar>> pairs{
        {QLatin1Char('['), {QLatin1Char('['), QLatin1Char(']')}}, {QLatin1Char(']'), {QLatin1Char('['), QLatin1Char(']')}},
        {QLatin1Char('"'), {QLatin1Char('"'), QLatin1Char('"')}}, {QLatin1Char('\''), {QLatin1Char('\''), QLatin1Char('\'')}},
        {QLatin1Char('('), {QLatin1Char('('), QLatin1Char(')')}}, {QLatin1Char(')'), {QLatin1Char('('), QLatin1Char(')')}},
        {QLatin1Char('<'), {QLatin1Char('<'), QLatin1Char('>')}}, {QLatin1Char('>'), {QLatin1Char('<'), QLatin1Char('>')}},
        {QLatin1Char('{'), {QLatin1Char('{'), QLatin1Char('}')}}, {QLatin1Char('}'), {QLatin1Char('{'), QLatin1Char('}')}},
        {QLatin1Char('`'), {QLatin1Char('`'), QLatin1Char('`')}}};
    const auto it = pairs.constFind(q[0]);
    if (it == pairs.constEnd()) return sqlite3_result_null(ctx);
    QString body = s;
    body.replace(it->second, QString(it->second) + it->second);
    resultText(ctx, it->first + body + it->second);
}

void fnChar(sqlite3_context* ctx, int, sqlite3_value** argv) {
    if (isNullArg(argv[0])) return sqlite3_result_null(ctx);
    const qint64 code = sqlite3_value_int64(argv[0]), max = sqlite3_value_int64(argv[1]);
    if (code < 0 || code > max) return sqlite3_result_null(ctx);
    const char32_t c = char32_t(code);
    resultText(ctx, QString::fromUcs4(&c, 1));
}

void fnIsNumeric(sqlite3_context* ctx, int, sqlite3_value** argv) {
    const int type = sqlite3_value_type(argv[0]);
    if (type == SQLITE_NULL) return sqlite3_result_int(ctx, 0);
    if (type == SQLITE_INTEGER || type == SQLITE_FLOAT) return sqlite3_result_int(ctx, 1);
    // What converts to some numeric type: money takes a currency sign and commas, float an
    // exponent.
    static const QRegularExpression number(QStringLiteral(
        R"(^[+-]?[$\x{00A3}\x{00A5}\x{20AC}]?[+-]?(?:[\d,]*\.?\d*)(?:[eEdD][+-]?\d+)?$)"));
    const QString s = textArg(argv[0]).trimmed();
    const bool digitsOrSign = !s.isEmpty() && !s.startsWith(QLatin1Char('e'), Qt::CaseInsensitive) &&
                              !s.startsWith(QLatin1Char('d'), Qt::CaseInsensitive);
    sqlite3_result_int(ctx, digitsOrSign && number.match(s).hasMatch() ? 1 : 0);
}
}  // namespace

void registerTextFunctions(sqlite3* db) {
    struct Fn { const char* name; int argc; void (*f)(sqlite3_context*, int, sqlite3_value**); };
    static const Fn fns[] = {
        {"tsql_len", 1, fnLen},
        {"tsql_datalength", 2, fnDataLength}, {"tsql_left", 2, fnLeft},
        {"tsql_right", 2, fnRight},         {"tsql_substring", 3, fnSubstring},
        {"tsql_upper", 1, fnUpper},         {"tsql_lower", 1, fnLower},
        {"tsql_replace", 3, fnReplace},     {"tsql_reverse", 1, fnReverse},
        {"tsql_replicate", 2, fnReplicate}, {"tsql_stuff", 4, fnStuff},
        {"tsql_charindex", 3, fnCharIndex}, {"tsql_concat_ws", -1, fnConcatWs},
        {"tsql_quotename", 2, fnQuoteName}, {"tsql_char", 2, fnChar},
        {"tsql_isnumeric", 1, fnIsNumeric},
    };
    for (const Fn& f : fns)
        sqlite3_create_function_v2(db, f.name, f.argc, SQLITE_UTF8 | SQLITE_DETERMINISTIC, nullptr, f.f, nullptr, nullptr, nullptr);
}

void registerRuntime(sqlite3* db) {
    registerTextFunctions(db);
    registerPatternFunctions(db);
    registerNumberFunctions(db);
    registerDateFunctions(db);
}

}  // namespace hospitaldb::tsql
