// Texts and patterns as SQL Server's default collation treats them: letters compare without
// regard to case (every letter, not only ASCII), accents count, trailing blanks are ignored.
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

QChar baseLetter(QChar c) {
    const QChar folded = c.toCaseFolded();
    if (folded.unicode() < 0x80) return folded;
    if (folded.decompositionTag() == QChar::Canonical) {
        const QString d = folded.decomposition();
        if (!d.isEmpty()) return d.at(0).toCaseFolded();
    }
    return folded;
}

int collate(QStringView a, QStringView b) {
    while (!a.isEmpty() && a.back() == QLatin1Char(' ')) a.chop(1);
    while (!b.isEmpty() && b.back() == QLatin1Char(' ')) b.chop(1);
    // Base letters first over the whole text (ñ sorts between n and o), then the letters
    // with their accents, so that é and e differ but sort together.
    const qsizetype n = std::min(a.size(), b.size());
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t x = baseLetter(a[i]).unicode(), y = baseLetter(b[i]).unicode();
        if (x != y) return x < y ? -1 : 1;
    }
    if (a.size() != b.size()) return a.size() < b.size() ? -1 : 1;
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t x = a[i].toCaseFolded().unicode(), y = b[i].toCaseFolded().unicode();
        if (x != y) return x < y ? -1 : 1;
    }
    return 0;
}

namespace {
// --- LIKE patterns ------------------------------------------------------------------------
struct Item {
    enum Kind : unsigned char { Char, One, Many, Set } kind = Char;
    QChar c;                              // folded
    bool negated = false;
    QVector<std::pair<QChar, QChar>> ranges;  // Set: single letters are ranges of one
};

struct Pattern {
    QString text;
    QChar escape;
    bool hasEscape = false;
    QVector<Item> items;
};

bool inRange(QChar c, QChar lo, QChar hi) {
    if (lo == hi) return c.toCaseFolded() == lo.toCaseFolded();
    auto key = [](QChar x) { return std::pair<char16_t, char16_t>(baseLetter(x).unicode(), x.toCaseFolded().unicode()); };
    return key(lo) <= key(c) && key(c) <= key(hi);
}

bool matches(const Item& it, QChar c) {
    switch (it.kind) {
    case Item::Char: return c.toCaseFolded() == it.c;
    case Item::One: return true;
    case Item::Set: {
        bool hit = false;
        for (const auto& [lo, hi] : it.ranges) hit = hit || inRange(c, lo, hi);
        return hit != it.negated;
    }
    case Item::Many: return false;
    }
    return false;
}

void compile(Pattern& p) {
    const QString& s = p.text;
    for (qsizetype i = 0; i < s.size(); ++i) {
        const QChar c = s[i];
        Item it;
        if (p.hasEscape && c == p.escape && i + 1 < s.size()) {
            it.c = s[++i].toCaseFolded();
        } else if (c == QLatin1Char('%')) {
            if (!p.items.isEmpty() && p.items.back().kind == Item::Many) continue;
            it.kind = Item::Many;
        } else if (c == QLatin1Char('_')) {
            it.kind = Item::One;
        } else if (c == QLatin1Char('[')) {
            const qsizetype close = s.indexOf(QLatin1Char(']'), i + 2);
            const qsizetype first = s.indexOf(QLatin1Char(']'), i + 1);
            const qsizetype end = (first == i + 1) ? close : first;  // "[]abc]" holds a ]
            if (end < 0) {
                it.c = c;  // an unclosed [ is itself
            } else {
                it.kind = Item::Set;
                qsizetype k = i + 1;
                if (k < end && s[k] == QLatin1Char('^') && k + 1 < end) {
                    it.negated = true;
                    ++k;
                }
                for (; k < end; ++k) {
                    QChar lo = s[k];
                    if (p.hasEscape && lo == p.escape && k + 1 < end) lo = s[++k];
                    if (k + 2 < end && s[k + 1] == QLatin1Char('-')) {
                        it.ranges.append({lo, s[k + 2]});
                        k += 2;
                    } else {
                        it.ranges.append({lo, lo});
                    }
                }
                i = end;
            }
        } else {
            it.c = c.toCaseFolded();
        }
        p.items.append(it);
    }
}

bool matchFrom(const QVector<Item>& items, QStringView s) {
    qsizetype si = 0, pi = 0, star = -1, mark = 0;
    const qsizetype n = s.size(), m = items.size();
    while (si < n) {
        if (pi < m && items[pi].kind != Item::Many && matches(items[pi], s[si])) {
            ++si;
            ++pi;
        } else if (pi < m && items[pi].kind == Item::Many) {
            star = pi++;
            mark = si;
        } else if (star >= 0) {
            pi = star + 1;
            si = ++mark;
        } else {
            return false;
        }
    }
    while (pi < m && items[pi].kind == Item::Many) ++pi;
    return pi == m;
}

// Trailing blanks of the text are ignored; the pattern's count.
bool like(const Pattern& p, QStringView s) {
    if (matchFrom(p.items, s)) return true;
    qsizetype n = s.size();
    while (n > 0 && s[n - 1] == QLatin1Char(' ')) --n;
    return n < s.size() && matchFrom(p.items, s.left(n));
}

const Pattern* patternOf(sqlite3_context* ctx, sqlite3_value** argv, int argc) {
    const QString text = textArg(argv[0]);
    QChar escape;
    bool hasEscape = false;
    if (argc > 2 && !isNullArg(argv[2])) {
        const QString e = textArg(argv[2]);
        if (e.size() != 1) return nullptr;
        escape = e[0];
        hasEscape = true;
    }
    auto* cached = static_cast<Pattern*>(sqlite3_get_auxdata(ctx, 0));
    if (cached && cached->text == text && cached->hasEscape == hasEscape && cached->escape == escape) return cached;
    auto* p = new Pattern{text, escape, hasEscape, {}};
    compile(*p);
    sqlite3_set_auxdata(ctx, 0, p, [](void* x) { delete static_cast<Pattern*>(x); });
    // SQLite may drop it at once; ask again for the pointer it keeps.
    auto* kept = static_cast<Pattern*>(sqlite3_get_auxdata(ctx, 0));
    if (kept) return kept;
    thread_local Pattern last;
    last = Pattern{text, escape, hasEscape, {}};
    compile(last);
    return &last;
}

void fnLike(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    for (int i = 0; i < argc; ++i)
        if (isNullArg(argv[i])) return sqlite3_result_null(ctx);
    const Pattern* p = patternOf(ctx, argv, argc);
    if (!p) return resultFailure(ctx, 506, QStringLiteral("The invalid escape character \"%1\" was specified in a LIKE predicate.").arg(textArg(argv[2])));
    sqlite3_result_int(ctx, like(*p, textArg(argv[1])) ? 1 : 0);
}

void fnPatIndex(sqlite3_context* ctx, int, sqlite3_value** argv) {
    if (isNullArg(argv[0]) || isNullArg(argv[1])) return sqlite3_result_null(ctx);
    const Pattern* p = patternOf(ctx, argv, 2);
    const QString s = textArg(argv[1]);
    if (p->items.isEmpty() || p->items.front().kind != Item::Many)
        return sqlite3_result_int(ctx, like(*p, s) ? 1 : 0);
    // '%x%': the first place from which the rest of the pattern matches.
    const QVector<Item> rest = p->items.mid(1);
    for (qsizetype i = 0; i < s.size(); ++i)
        if (matchFrom(rest, QStringView(s).mid(i))) return sqlite3_result_int64(ctx, i + 1);
    sqlite3_result_int(ctx, 0);
}

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
        {"tsql_like", 2, fnLike},           {"tsql_like", 3, fnLike},
        {"tsql_patindex", 2, fnPatIndex},   {"tsql_len", 1, fnLen},
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
    registerNumberFunctions(db);
    registerDateFunctions(db);
}

}  // namespace hospitaldb::tsql
