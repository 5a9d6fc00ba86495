// Patterns and the collation: letters compare without regard to case (every letter, not only
// ASCII), accents count, trailing blanks are ignored, as SQL Server's default collation does.
#include "hospitaldb/tsql/runtime.h"

#include <QVector>
#include <sqlite3.h>

namespace hospitaldb::tsql {

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

}  // namespace

void registerPatternFunctions(sqlite3* db) {
    sqlite3_create_function_v2(db, "tsql_like", 2, SQLITE_UTF8 | SQLITE_DETERMINISTIC, nullptr, fnLike, nullptr, nullptr, nullptr);
    sqlite3_create_function_v2(db, "tsql_like", 3, SQLITE_UTF8 | SQLITE_DETERMINISTIC, nullptr, fnLike, nullptr, nullptr, nullptr);
    sqlite3_create_function_v2(db, "tsql_patindex", 2, SQLITE_UTF8 | SQLITE_DETERMINISTIC, nullptr, fnPatIndex, nullptr, nullptr, nullptr);
}

}  // namespace hospitaldb::tsql
