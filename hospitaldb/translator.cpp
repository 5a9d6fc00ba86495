#include "hospitaldb/translator.h"
#include "hospitaldb/engine.h"

#include <QSet>
#include <algorithm>
#include <array>
#include <bit>
#include <string_view>

#if defined(__SSE2__) || defined(_M_X64) || defined(_M_AMD64)
#include <emmintrin.h>
#define MSS_SCAN_SSE2 1
#else
#define MSS_SCAN_SSE2 0
#endif

namespace hospitaldb {

namespace {
const QString kSource = QStringLiteral("HospitalDB");

bool isIdentStart(QChar c) { return c.isLetter() || c == '_' || c == '@' || c == '#'; }
bool isIdentPart(QChar c) { return c.isLetterOrNumber() || c == '_' || c == '@' || c == '#' || c == '$'; }

[[noreturn]] void syntaxError(const QString& near) {
    throw Failure(mss::db::errnum::SyntaxError, kSource, QStringLiteral("Incorrect syntax near '%1'.").arg(near));
}

bool is(const Token& t, const char* word) {
    return (t.type == Token::Word) && t.text.compare(QLatin1String(word), Qt::CaseInsensitive) == 0;
}
bool isOp(const Token& t, const char* op) { return t.type == Token::Op && t.text == QLatin1String(op); }

bool isComparison(const Token& t) {
    if (t.type != Token::Op) return false;
    static const QSet<QString> ops{"=", "<>", "!=", "<", ">", "<=", ">=", "!<", "!>"};
    return ops.contains(t.text);
}

const QSet<QString>& clauseWords() {
    static const QSet<QString> w{"where", "on", "join", "inner", "left", "right", "full", "outer", "cross",
                                 "order", "group", "having", "set", "union", "values", "select", "limit",
                                 "with", "except", "intersect", "default", "output", "into", "from", "and",
                                 "or", "natural", "using", "when", "then", "else", "end", "go"};
    return w;
}

bool isTextType(const QString& t) {
    return t.contains(QLatin1String("CHAR")) || t.contains(QLatin1String("TEXT")) || t.contains(QLatin1String("CLOB"));
}
bool isDateType(const QString& t) { return t.contains(QLatin1String("DATE")) || t.contains(QLatin1String("TIME")); }

const QSet<QString>& charTypes() {
    static const QSet<QString> s{"varchar", "nvarchar", "char", "nchar", "text", "ntext", "sysname"};
    return s;
}
const QSet<QString>& intTypes() {
    static const QSet<QString> s{"int", "integer", "bigint", "smallint", "tinyint", "bit"};
    return s;
}
const QSet<QString>& moneyTypes() {
    static const QSet<QString> s{"money", "smallmoney", "decimal", "numeric", "float", "real"};
    return s;
}
const QSet<QString>& dateTypes() {
    static const QSet<QString> s{"datetime", "smalldatetime", "date", "datetime2"};
    return s;
}
}  // namespace

namespace {
// How the quick scan treats each ASCII character; index 128 stands for every other one.
// N and n are copied: a national literal is recognised at its quote.
enum Class : unsigned char { Copy, Blank, Quote, Bracket, DoubleQuote, Dash, Slash, Fail };
struct ScanTables {
    Class cls[129]{};
    char16_t written[129]{};  // what a copied or blank character puts in the shape
    bool identPart[128]{};
};
constexpr ScanTables makeScanTables() {
    ScanTables t;
    for (int k = 0; k < 129; ++k) {
        t.cls[k] = Fail;
        t.written[k] = char16_t(k);
    }
    for (int k = 0; k < 128; ++k) {
        const bool alnum = (k >= 'a' && k <= 'z') || (k >= 'A' && k <= 'Z') || (k >= '0' && k <= '9');
        t.identPart[k] = alnum;
        if (alnum) t.cls[k] = Copy;
    }
    for (char k : std::string_view("_@#$")) t.identPart[int(k)] = true;
    for (char k : std::string_view("_@#$(),;=<>+*%.&|^~!")) t.cls[int(k)] = Copy;
    for (char k : std::string_view(" \t\n\r\v\f")) {
        t.cls[int(k)] = Blank;
        t.written[int(k)] = u' ';
    }
    t.cls[int('\'')] = Quote;
    t.cls[int('[')] = Bracket;
    t.cls[int('"')] = DoubleQuote;
    t.cls[int('-')] = Dash;
    t.cls[int('/')] = Slash;
    return t;
}
constexpr ScanTables kScan = makeScanTables();
}  // namespace

#if MSS_SCAN_SSE2
// How many of the sixteen characters at `s` the shape takes as they stand: copied characters
// and blanks (' ') that follow no blank. `blank` says whether the shape ends in one.
inline qsizetype plainRun(const char16_t* s, bool blank) {
    // Narrowed to bytes: anything past U+00FF becomes 0 or 0xFF, which the test below refuses
    // as it refuses controls, other blanks and non-ASCII letters.
    const __m128i c = _mm_packus_epi16(_mm_loadu_si128(reinterpret_cast<const __m128i*>(s)),
                                       _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + 8)));
    __m128i bad = _mm_or_si128(_mm_cmplt_epi8(c, _mm_set1_epi8(0x20)), _mm_cmpeq_epi8(c, _mm_set1_epi8(0x7F)));
    for (char special : {'"', '\'', '-', '/', ':', '?', '[', '\\', ']', '`', '{', '}'})
        bad = _mm_or_si128(bad, _mm_cmpeq_epi8(c, _mm_set1_epi8(special)));
    // A blank after a blank (or first in the shape) is dropped: the scalar step does that.
    const __m128i space = _mm_cmpeq_epi8(c, _mm_set1_epi8(' '));
    const __m128i before = _mm_or_si128(_mm_slli_si128(space, 1), _mm_cvtsi32_si128(blank ? 0xFF : 0));
    bad = _mm_or_si128(bad, _mm_and_si128(space, before));
    const unsigned mask = unsigned(_mm_movemask_epi8(bad));
    return mask == 0 ? 16 : std::countr_zero(mask);
}
#endif

bool quickScan(QStringView text, QuickScan& out) {
    const qsizetype n = text.size();
    const char16_t* const s = text.utf16();
    out.literals.clear();
    // The shape is never longer than the text: blanks collapse and literals shrink to '?'.
    out.shape.resize(n);
    char16_t* const first = reinterpret_cast<char16_t*>(out.shape.data());
    char16_t* w = first;
    // The last thing written is a blank, or nothing is: a further blank is dropped. Deciding
    // this without a branch spares a mispredicted jump at every word's end.
    bool blank = true;
    qsizetype i = 0;
    auto fail = [&]() {
        out.shape.resize(0);
        out.literals.clear();
        return false;
    };
    auto asBlank = [&]() {
        if (!blank) *w++ = u' ';
        blank = true;
    };
    while (i < n) {
#if MSS_SCAN_SSE2
        // Sixteen characters at a time while they are words, operators and single blanks.
        if (n - i >= 16) {
            const qsizetype plain = plainRun(s + i, blank);
            if (plain > 0) {
                // The shape is never ahead of the text, so sixteen characters fit.
                _mm_storeu_si128(reinterpret_cast<__m128i*>(w), _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + i)));
                _mm_storeu_si128(reinterpret_cast<__m128i*>(w + 8), _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + i + 8)));
                w += plain;
                i += plain;
                blank = s[i - 1] == u' ';
                continue;
            }
        }
#endif
        const char16_t c = s[i];
        const unsigned index = c < 0x80 ? c : 0x80;
        const Class k = kScan.cls[index];
        if (k <= Blank) {
            const unsigned b = k;  // 1 for a blank
            *w = kScan.written[index];
            w += 1 - (b & unsigned(blank));
            blank = b;
            ++i;
            continue;
        }
        switch (k) {
        case Quote: {
            // N'...' is the same literal: drop the N just copied.
            if (i > 0 && (s[i - 1] == u'N' || s[i - 1] == u'n') && (i == 1 || !kScan.identPart[s[i - 2]])) --w;
            const qsizetype from = i + 1;
            qsizetype j = from;
            bool doubled = false;
            for (;;) {
                while (j < n && s[j] != u'\'') ++j;
                if (j >= n) return fail();
                if (j + 1 < n && s[j + 1] == u'\'') { doubled = true; j += 2; continue; }
                break;
            }
            out.literals.append({from, j - from, doubled});
            *w++ = u'?';
            blank = false;
            i = j + 1;
            continue;
        }
        case Bracket:
        case DoubleQuote: {
            const char16_t close = c == u'[' ? u']' : u'"';
            qsizetype j = i + 1;
            for (;;) {
                while (j < n && s[j] != close) ++j;
                if (j >= n) return fail();
                if (j + 1 < n && s[j + 1] == close) { j += 2; continue; }
                break;
            }
            std::copy(s + i, s + j + 1, w);
            w += j + 1 - i;
            blank = false;
            i = j + 1;
            continue;
        }
        case Dash:
        case Slash:
            if (k == Dash && i + 1 < n && s[i + 1] == u'-') {
                while (i < n && s[i] != u'\n') ++i;
                asBlank();
                continue;
            }
            if (k == Slash && i + 1 < n && s[i + 1] == u'*') {
                const qsizetype end = text.indexOf(u"*/", i + 2);
                i = end < 0 ? n : end + 2;
                asBlank();
                continue;
            }
            *w++ = c;  // a lone operator
            blank = false;
            ++i;
            continue;
        default:
            return fail();  // a character only the tokenizer can judge
        }
    }
    if (blank && w != first) --w;
    out.shape.resize(w - first);
    return true;
}

QString literalValue(QStringView text, const LiteralSpan& literal) {
    QString value = text.mid(literal.from, literal.length).toString();
    if (literal.doubled) value.replace(QLatin1String("''"), QLatin1String("'"));
    return value;
}

bool quickShape(const QString& text, Tokens& out) {
    QuickScan scan;
    if (!quickScan(text, scan)) return false;
    out.shape += scan.shape;
    for (const LiteralSpan& l : scan.literals) out.literals.append(literalValue(text, l));
    return true;
}

Tokens tokenize(const QString& text, bool withTokens) {
    Tokens out;
    out.list.reserve(text.size() / 4 + 4);
    out.shape.reserve(text.size() + 8);
    const int n = int(text.size());
    const QChar* s = text.constData();
    bool space = false;
    int i = 0;
    auto push = [&](Token::Type type, QString value, int from, int to) {
        if (space && !out.shape.isEmpty()) out.shape += QLatin1Char(' ');
        space = false;
        int literal = -1;
        if (type == Token::String) {
            literal = int(out.literals.size());
            out.literals.append(value);
            out.shape += QLatin1Char('?');
        } else {
            out.shape.append(s + from, to - from);
        }
        if (withTokens) out.list.append(Token{type, std::move(value), literal});
    };
    auto slice = [&](int from, int to) { return withTokens ? text.mid(from, to - from) : QString(); };
    while (i < n) {
        const QChar c = s[i];
        if (c.isSpace()) { space = true; ++i; continue; }
        if (c == '-' && i + 1 < n && s[i + 1] == '-') {
            while (i < n && s[i] != '\n') ++i;
            space = true;
            continue;
        }
        if (c == '/' && i + 1 < n && s[i + 1] == '*') {
            const int end = int(text.indexOf(QLatin1String("*/"), i + 2));
            i = end < 0 ? n : end + 2;
            space = true;
            continue;
        }
        const bool national = (c == 'N' || c == 'n') && i + 1 < n && s[i + 1] == '\'' &&
                              (i == 0 || !isIdentPart(s[i - 1]));
        if (c == '\'' || national) {
            const int start = i;
            const int first = national ? i + 2 : i + 1;
            int j = first;
            bool doubled = false;
            for (;;) {
                if (j >= n)
                    throw Failure(105, kSource, QStringLiteral("Unclosed quotation mark after the character string '%1'.")
                                                    .arg(text.mid(start + 1)));
                if (s[j] == '\'') {
                    if (j + 1 < n && s[j + 1] == '\'') { doubled = true; j += 2; continue; }
                    break;
                }
                ++j;
            }
            QString value = text.mid(first, j - first);
            if (doubled) value.replace(QLatin1String("''"), QLatin1String("'"));
            push(Token::String, std::move(value), start, j + 1);
            i = j + 1;
            continue;
        }
        if (c == '[' || c == '"') {
            const QChar close = c == '[' ? QChar(']') : QChar('"');
            const int start = i;
            int j = i + 1;
            QString value;
            for (;;) {
                if (j >= n) syntaxError(text.mid(start, 20));
                if (s[j] == close) {
                    if (j + 1 < n && s[j + 1] == close) { value += close; j += 2; continue; }
                    break;
                }
                value += s[j++];
            }
            push(c == '[' ? Token::Bracketed : Token::Quoted, std::move(value), start, j + 1);
            i = j + 1;
            continue;
        }
        if (c.isDigit() || (c == '.' && i + 1 < n && s[i + 1].isDigit() && (i == 0 || !isIdentPart(s[i - 1])) &&
                            (i == 0 || s[i - 1] != ']'))) {
            int j = i;
            while (j < n && s[j].isDigit()) ++j;
            if (j < n && s[j] == '.' && !(j + 1 < n && s[j + 1] == '.')) {
                ++j;
                while (j < n && s[j].isDigit()) ++j;
            }
            if (j < n && (s[j] == 'e' || s[j] == 'E') && j + 1 < n &&
                (s[j + 1].isDigit() || ((s[j + 1] == '+' || s[j + 1] == '-') && j + 2 < n && s[j + 2].isDigit()))) {
                j += 2;
                while (j < n && s[j].isDigit()) ++j;
            }
            if (j < n && isIdentStart(s[j])) {  // "1abc" is not a number
                while (j < n && isIdentPart(s[j])) ++j;
                push(Token::Word, slice(i, j), i, j);
            } else {
                push(Token::Number, slice(i, j), i, j);
            }
            i = j;
            continue;
        }
        if (isIdentStart(c)) {
            int j = i + 1;
            while (j < n && isIdentPart(s[j])) ++j;
            push(Token::Word, slice(i, j), i, j);
            i = j;
            continue;
        }
        switch (c.unicode()) {
        case '(': push(Token::LParen, QStringLiteral("("), i, i + 1); ++i; continue;
        case ')': push(Token::RParen, QStringLiteral(")"), i, i + 1); ++i; continue;
        case ',': push(Token::Comma, QStringLiteral(","), i, i + 1); ++i; continue;
        case ';': push(Token::Semicolon, QStringLiteral(";"), i, i + 1); ++i; continue;
        default: break;
        }
        if (i + 1 < n) {
            const char16_t a = c.unicode(), b = s[i + 1].unicode();
            if ((a == '<' && (b == '>' || b == '=')) || (a == '>' && b == '=') ||
                (a == '!' && (b == '=' || b == '<' || b == '>')) || (a == '|' && b == '|')) {
                push(Token::Op, slice(i, i + 2), i, i + 2);
                i += 2;
                continue;
            }
        }
        switch (c.unicode()) {
        case '=': case '<': case '>': case '+': case '-': case '*': case '/': case '%': case '.':
        case '&': case '|': case '^': case '~': case '!':
            push(Token::Op, slice(i, i + 1), i, i + 1);
            ++i;
            continue;
        default: break;
        }
        syntaxError(text.mid(i, 20));
    }
    return out;
}

namespace {
const QSet<QString>& statementWords() {
    static const QSet<QString> w{"select", "insert", "update", "delete", "with", "create", "drop", "alter",
                                 "begin", "commit", "rollback", "set", "declare", "if", "pragma", "truncate",
                                 "while", "print", "return", "values", "save", "use"};
    return w;
}

// Reads db..name, db.dbo.name, dbo.name or name at i; returns the index after it, or -1.
int readName(const QVector<Token>& t, int i, QString* db, QString* name) {
    const int n = int(t.size());
    auto ident = [&](int k) { return k < n && (t[k].type == Token::Word || t[k].type == Token::Bracketed); };
    if (!ident(i)) return -1;
    if (i + 3 < n && isOp(t[i + 1], ".") && isOp(t[i + 2], ".") && ident(i + 3)) {
        *db = t[i].text;
        *name = t[i + 3].text;
        return i + 4;
    }
    if (i + 4 < n && isOp(t[i + 1], ".") && ident(i + 2) && isOp(t[i + 3], ".") && ident(i + 4)) {
        *db = t[i].text;
        *name = t[i + 4].text;
        return i + 5;
    }
    db->clear();
    *name = t[i].text;
    return i + 1;
}
}  // namespace

bool parseCall(const Tokens& tk, Call* call) {
    const QVector<Token>& t = tk.list;
    int n = int(t.size());
    while (n > 0 && t[n - 1].type == Token::Semicolon) --n;
    if (n == 0) return false;
    int i = 0;
    if (is(t[0], "exec") || is(t[0], "execute")) {
        i = 1;
    } else if (t[0].type != Token::Word || statementWords().contains(t[0].text.toLower())) {
        return false;
    }
    QString db, name;
    int k = readName(t, i, &db, &name);
    if (k < 0) return false;
    call->database = db;
    call->name = name;
    call->written = db.isEmpty() ? name : db + QStringLiteral("..") + name;
    call->args.clear();
    call->literalOf.clear();
    i = k;
    while (i < n) {
        bool negative = false;
        if (isOp(t[i], "-") || isOp(t[i], "+")) {
            negative = t[i].text == QLatin1String("-");
            ++i;
            if (i >= n || t[i].type != Token::Number) return false;
        }
        if (i >= n) return false;
        const Token& a = t[i];
        call->literalOf.append(a.type == Token::String ? a.literal : -1);
        if (a.type == Token::String && !negative) {
            call->args.append(a.text);
        } else if (a.type == Token::Number) {
            bool ok = false;
            const qlonglong v = a.text.toLongLong(&ok);
            if (ok) call->args.append(negative ? -v : v);
            else call->args.append(negative ? -a.text.toDouble() : a.text.toDouble());
        } else if (is(a, "null") && !negative) {
            call->args.append(QVariant());
        } else if (a.type == Token::Word && !negative && a.text.startsWith('@')) {
            return false;  // named arguments are not part of the call forms used
        } else {
            return false;
        }
        ++i;
        if (i < n) {
            if (t[i].type != Token::Comma) return false;
            ++i;
            if (i >= n) return false;
        }
    }
    return true;
}

QString mangle(const QString& database, const QString& table, const QString& defaultDatabase) {
    const QString db = database.isEmpty() ? defaultDatabase.toUpper() : database.toUpper();
    return db + QStringLiteral("__") + table;
}

namespace {

class Translator {
public:
    Translator(const Tokens& tk, const SchemaInfo& schema, const QString& defaultDb)
        : t_(tk.list), schema_(schema), defaultDb_(defaultDb) {
        n_ = int(t_.size());
        while (n_ > 0 && t_[n_ - 1].type == Token::Semicolon) --n_;
        match_.resize(n_);
        QVector<int> stack;
        for (int i = 0; i < n_; ++i) {
            match_[i] = -1;
            if (t_[i].type == Token::LParen) stack.append(i);
            else if (t_[i].type == Token::RParen) {
                if (stack.isEmpty()) syntaxError(QStringLiteral(")"));
                match_[i] = stack.last();
                match_[stack.takeLast()] = i;
            } else if (t_[i].type == Token::Semicolon) {
                syntaxError(QStringLiteral(";"));  // one statement per text
            }
        }
        if (!stack.isEmpty()) syntaxError(QStringLiteral("("));
    }

    QString run() {
        if (n_ == 0) syntaxError(QString());
        static const QSet<QString> verbs{"select", "insert", "update", "delete", "with"};
        if (t_[0].type != Token::Word || !verbs.contains(t_[0].text.toLower())) syntaxError(t_[0].text);
        collectTables();
        QString out = render(0, n_);
        if (!limits_.isEmpty() && limits_.contains(0)) out += QStringLiteral(" LIMIT ") + limits_.value(0);
        return out;
    }

private:
    struct TableRef { QString mangled; QString alias; };

    // Parses a table reference at i; returns the index after the name (and -1 if none).
    int tableAt(int i, QString* mangled, QString* written, QString* table) const {
        if (i >= n_ || (t_[i].type != Token::Word && t_[i].type != Token::Bracketed)) return -1;
        if (t_[i].type == Token::Word && clauseWords().contains(t_[i].text.toLower())) return -1;
        QString db, name;
        const int k = readName(t_, i, &db, &name);
        if (k < 0) return -1;
        *table = name;
        if (!db.isEmpty()) {
            *written = db + (k == i + 4 ? QStringLiteral("..") : QStringLiteral(".dbo.")) + name;
            if (k == i + 5 && db.compare(QLatin1String("dbo"), Qt::CaseInsensitive) != 0 && canonicalDatabase(db).isEmpty())
                *written = db + '.' + t_[i + 2].text + '.' + name;
            const QString canon = canonicalDatabase(db);
            if (canon.isEmpty())
                throw Failure(mss::db::errnum::InvalidObject, kSource, QStringLiteral("Invalid object name '%1'.").arg(*written));
            *mangled = canon + QStringLiteral("__") + name;
        } else {
            *written = name;
            const int sep = int(name.indexOf(QLatin1String("__")));
            if (sep > 0 && !canonicalDatabase(name.left(sep)).isEmpty()) {
                *mangled = name;
                *table = name.mid(sep + 2);
            } else {
                *mangled = mangle(QString(), name, defaultDb_);
            }
        }
        if (!schema_.hasTable(*mangled))
            throw Failure(mss::db::errnum::InvalidObject, kSource, QStringLiteral("Invalid object name '%1'.").arg(*written));
        return k;
    }

    bool aliasAt(int i, QString* alias) const {
        if (i >= n_) return false;
        if (is(t_[i], "as") && i + 1 < n_) { *alias = t_[i + 1].text; return true; }
        if (t_[i].type == Token::Bracketed || t_[i].type == Token::Quoted ||
            (t_[i].type == Token::Word && !clauseWords().contains(t_[i].text.toLower()))) {
            *alias = t_[i].text;
            return true;
        }
        return false;
    }

    static bool startsTable(const Token& t) {
        return is(t, "from") || is(t, "join") || is(t, "update") || is(t, "into");
    }

    void collectTables() {
        for (int i = 0; i < n_; ++i) {
            bool expect = startsTable(t_[i]) || (is(t_[i], "delete") && i + 1 < n_ && !is(t_[i + 1], "from"));
            if (!expect) continue;
            int j = i + 1;
            for (;;) {
                QString mangled, written, table, alias;
                const int k = tableAt(j, &mangled, &written, &table);
                if (k < 0) break;
                tables_.append({mangled, aliasAt(k, &alias) ? alias : table});
                j = k;
                if (!is(t_[i], "from")) break;
                // a comma list after FROM
                int m = j;
                if (aliasAt(m, &alias)) m += is(t_[m], "as") ? 2 : 1;
                if (m < n_ && t_[m].type == Token::Comma) j = m + 1;
                else break;
            }
        }
    }

    QString columnType(int b, int e) const {
        QString qual, col;
        if (e - b == 1 && (t_[b].type == Token::Word || t_[b].type == Token::Bracketed)) col = t_[b].text;
        else if (e - b == 3 && isOp(t_[b + 1], ".") && t_[b + 2].type != Token::Op) { qual = t_[b].text; col = t_[b + 2].text; }
        else return QString();
        for (const TableRef& r : tables_) {
            if (!qual.isEmpty() && r.alias.compare(qual, Qt::CaseInsensitive) != 0) continue;
            const QString type = schema_.columnType(r.mangled, col);
            if (!type.isEmpty()) return type;
        }
        return QString();
    }

    // The primary expression that ends just before i: [b, i).
    int primaryStartBefore(int i) const {
        if (i <= 0) return -1;
        const Token& p = t_[i - 1];
        if (p.type == Token::RParen) {
            const int open = match_[i - 1];
            return (open > 0 && t_[open - 1].type == Token::Word && !clauseWords().contains(t_[open - 1].text.toLower()))
                       ? open - 1 : open;
        }
        if ((p.type == Token::Word || p.type == Token::Bracketed) && i >= 3 && isOp(t_[i - 2], "."))
            return i - 3;
        return i - 1;
    }
    // The primary expression that starts just after i: (i, e).
    int primaryEndAfter(int i) const {
        const int k = i + 1;
        if (k >= n_) return -1;
        const Token& p = t_[k];
        if (p.type == Token::LParen) return match_[k] + 1;
        if (p.type == Token::Word && k + 1 < n_ && t_[k + 1].type == Token::LParen) return match_[k + 1] + 1;
        if ((p.type == Token::Word || p.type == Token::Bracketed) && k + 2 < n_ && isOp(t_[k + 1], ".")) return k + 3;
        return k + 1;
    }

    bool textual(int b, int e) const {
        if (b < 0 || e <= b) return false;
        const Token& f = t_[b];
        if (e - b == 1 && f.type == Token::String) return true;
        if (e - b == 1 && f.type == Token::Number) return false;
        if (f.type == Token::Word && b + 1 < e && t_[b + 1].type == Token::LParen && match_[b + 1] == e - 1) {
            const QString fn = f.text.toLower();
            if (fn == "cast") {
                for (int k = b + 2; k < e - 1; ++k) {
                    if (is(t_[k], "as") && k + 1 < e) return charTypes().contains(t_[k + 1].text.toLower());
                    if (t_[k].type == Token::LParen) k = match_[k];
                }
                return false;
            }
            if (fn == "convert") return b + 2 < e && charTypes().contains(t_[b + 2].text.toLower());
            static const QSet<QString> textFns{"left", "right", "upper", "lower", "ltrim", "rtrim", "substring",
                                               "replace", "char", "str", "space", "reverse", "stuff", "trim",
                                               "mss_date", "mss_user", "mss_now", "nchar"};
            if (textFns.contains(fn)) return true;
            if (fn == "isnull" || fn == "coalesce" || fn == "ifnull") return anyTextual(b + 2, e - 1);
            return false;
        }
        if (f.type == Token::LParen && match_[b] == e - 1) return anyTextual(b + 1, e - 1);
        return isTextType(columnType(b, e));
    }

    // True when one of the comma- or plus-separated operands in [b, e) is textual.
    bool anyTextual(int b, int e) const {
        int start = b;
        for (int k = b; k <= e; ++k) {
            if (k == e || t_[k].type == Token::Comma || isOp(t_[k], "+")) {
                if (textual(start, k)) return true;
                start = k + 1;
                continue;
            }
            if (t_[k].type == Token::LParen) k = match_[k];
        }
        return false;
    }

    static void append(QString& out, const QString& piece, bool tight = false) {
        if (!tight && !out.isEmpty()) {
            const QChar last = out.back();
            if (last != '(' && last != '.' && last != ' ') out += QLatin1Char(' ');
        }
        out += piece;
    }

    QString literal(int i) const { return QStringLiteral("?%1").arg(t_[i].literal + 1); }

    QString dateLiteral(const QString& p, const QString& type) const {
        return type == QLatin1String("DATE") ? QStringLiteral("date(mss_date(%1))").arg(p) : QStringLiteral("mss_date(%1)").arg(p);
    }

    // The literal at i, wrapped for a date column or the TSQL comparison where its context says so.
    QString literalAt(int i) {
        const QString p = literal(i);
        if (i > 0 && isComparison(t_[i - 1])) {
            const QString type = columnType(primaryStartBefore(i - 1), i - 1);
            if (isDateType(type)) return dateLiteral(p, type);
        }
        if (i + 1 < n_ && isComparison(t_[i + 1])) {
            const int e = primaryEndAfter(i + 1);
            const QString type = e > 0 ? columnType(i + 2, e) : QString();
            if (isDateType(type)) return dateLiteral(p, type);
        }
        if ((i > 0 && isComparison(t_[i - 1])) || (i + 1 < n_ && isComparison(t_[i + 1])))
            return p + QStringLiteral(" COLLATE TSQL");
        if (betweenDate_ > 0 && i > 0 && (is(t_[i - 1], "between") || is(t_[i - 1], "and"))) {
            --betweenDate_;
            return dateLiteral(p, betweenType_);
        }
        if (insertValuesOpen_ >= 0 && i > 0 &&
            (t_[i - 1].type == Token::Comma || t_[i - 1].type == Token::LParen) && i + 1 < n_ &&
            (t_[i + 1].type == Token::Comma || t_[i + 1].type == Token::RParen)) {
            int col = 0;
            for (int k = insertValuesOpen_ + 1; k < i; ++k) {
                if (t_[k].type == Token::LParen) k = match_[k];
                else if (t_[k].type == Token::Comma) ++col;
            }
            const QString type = col < insertColumns_.size() ? schema_.columnType(insertTable_, insertColumns_[col]) : QString();
            if (isDateType(type)) return dateLiteral(p, type);
        }
        return p;
    }

    QString castTarget(int k, int end, QString* length) const {
        // type [ ( n [, m] ) ] starting at k
        const QString type = t_[k].text.toLower();
        length->clear();
        if (k + 1 < end && t_[k + 1].type == Token::LParen) {
            if (k + 2 < end && t_[k + 2].type == Token::Number) *length = t_[k + 2].text;
            else if (k + 2 < end && is(t_[k + 2], "max")) *length = QStringLiteral("1000000000");
        }
        return type;
    }

    QString wrapCast(const QString& type, const QString& length, const QString& expr) const {
        if (charTypes().contains(type))
            return length.isEmpty() ? QStringLiteral("tsql_varchar(%1)").arg(expr)
                                    : QStringLiteral("tsql_varchar(%1, %2)").arg(expr, length);
        if (intTypes().contains(type)) return QStringLiteral("tsql_int(%1)").arg(expr);
        if (moneyTypes().contains(type)) return QStringLiteral("tsql_money(%1)").arg(expr);
        if (dateTypes().contains(type)) return QStringLiteral("tsql_datetime(%1)").arg(expr);
        syntaxError(type);
    }

    QString render(int b, int e) {
        QString out;
        int fromDepth = -1;
        int depth = 0;
        QVector<int> selectDepth;
        for (int i = b; i < e; ++i) {
            const Token& tk = t_[i];
            switch (tk.type) {
            case Token::String: append(out, literalAt(i)); continue;
            case Token::Bracketed:
            case Token::Quoted: {
                QString name = tk.text;
                name.replace(QLatin1Char('"'), QLatin1String("\"\""));
                const bool tight = !out.isEmpty() && out.back() == '.';
                append(out, QLatin1Char('"') + name + QLatin1Char('"'), tight);
                continue;
            }
            case Token::Number: append(out, tk.text); continue;
            case Token::Comma:
                out += QLatin1Char(',');
                if (depth == fromDepth && fromDepth >= 0) {
                    const int k = emitTable(out, i + 1);
                    if (k > 0) i = k - 1;
                }
                continue;
            case Token::LParen:
                append(out, QStringLiteral("("), i > b && t_[i - 1].type == Token::Word);
                ++depth;
                continue;
            case Token::RParen:
                if (limits_.contains(depth)) out += QStringLiteral(" LIMIT ") + limits_.take(depth);
                if (fromDepth == depth) fromDepth = -1;
                --depth;
                out += QLatin1Char(')');
                continue;
            case Token::Semicolon: continue;
            case Token::Op:
                if (tk.text == QLatin1String(".")) { out += QLatin1Char('.'); continue; }
                if (tk.text == QLatin1String("+") && i > b && i + 1 < e &&
                    (textual(primaryStartBefore(i), i) || textual(i + 1, primaryEndAfter(i)))) {
                    append(out, QStringLiteral("||"));
                    continue;
                }
                if (tk.text == QLatin1String("!<")) { append(out, QStringLiteral(">=")); continue; }
                if (tk.text == QLatin1String("!>")) { append(out, QStringLiteral("<=")); continue; }
                append(out, tk.text);
                continue;
            case Token::Word: break;
            }
            const QString w = tk.text.toLower();
            const bool call = i + 1 < e && t_[i + 1].type == Token::LParen;
            if (w == "select") {
                append(out, tk.text);
                int k = i + 1;
                if (k < e && (is(t_[k], "distinct") || is(t_[k], "all"))) { append(out, t_[k].text); ++k; }
                if (k < e && is(t_[k], "top")) {
                    if (k + 1 < e && t_[k + 1].type == Token::Number) { limits_.insert(depth, t_[k + 1].text); k += 2; }
                    else if (k + 3 < e && t_[k + 1].type == Token::LParen && t_[k + 2].type == Token::Number) {
                        limits_.insert(depth, t_[k + 2].text);
                        k += 4;
                    } else syntaxError(t_[k].text);
                    if (k < e && is(t_[k], "percent")) syntaxError(t_[k].text);
                }
                i = k - 1;
                continue;
            }
            if (w == "from" || w == "join" || w == "into" || w == "update" ||
                (w == "delete" && i + 1 < e && !is(t_[i + 1], "from"))) {
                append(out, tk.text);
                if (w == "from") fromDepth = depth;
                QString mangled;
                const int k = emitTable(out, i + 1, true, &mangled);
                if (k > 0) {
                    i = k - 1;
                    if (w == "into") {
                        insertTable_ = mangled;
                        readInsertColumns(k);
                    }
                }
                continue;
            }
            if (fromDepth == depth && clauseWords().contains(w) && w != "join" && w != "as") fromDepth = -1;
            if (w == "values" && !insertTable_.isEmpty() && i + 1 < e && t_[i + 1].type == Token::LParen) {
                insertValuesOpen_ = i + 1;
                append(out, tk.text);
                continue;
            }
            if (w == "between") {
                betweenType_ = columnType(primaryStartBefore(i), i);
                betweenDate_ = isDateType(betweenType_) ? 2 : 0;
            }
            if (w == "with" && i + 3 < e && t_[i + 1].type == Token::LParen && is(t_[i + 2], "nolock")) {
                i = match_[i + 1];
                continue;
            }
            if (w == "@@identity" || (w == "scope_identity" && call)) {
                append(out, QStringLiteral("last_insert_rowid()"));
                if (call) i = match_[i + 1];
                continue;
            }
            if (call && (w == "cast" || w == "convert")) {
                const int close = match_[i + 1];
                if (w == "cast") {
                    int as = -1;
                    for (int k = i + 2; k < close; ++k) {
                        if (t_[k].type == Token::LParen) k = match_[k];
                        else if (is(t_[k], "as")) { as = k; break; }
                    }
                    if (as < 0 || as + 1 >= close) syntaxError(tk.text);
                    QString len;
                    const QString type = castTarget(as + 1, close, &len);
                    append(out, wrapCast(type, len, render(i + 2, as)));
                } else {
                    QString len;
                    const int k = i + 2;
                    if (k >= close) syntaxError(tk.text);
                    const QString type = castTarget(k, close, &len);
                    int comma = k + 1;
                    if (comma < close && t_[comma].type == Token::LParen) comma = match_[comma] + 1;
                    if (comma >= close || t_[comma].type != Token::Comma) syntaxError(tk.text);
                    int exprEnd = comma + 1;
                    for (; exprEnd < close; ++exprEnd) {
                        if (t_[exprEnd].type == Token::LParen) exprEnd = match_[exprEnd];
                        else if (t_[exprEnd].type == Token::Comma) break;
                    }
                    const QString expr = render(comma + 1, exprEnd);
                    QString style = QStringLiteral("0");
                    if (exprEnd < close && exprEnd + 1 < close && t_[exprEnd + 1].type == Token::Number) style = t_[exprEnd + 1].text;
                    if (charTypes().contains(type))
                        append(out, QStringLiteral("tsql_convert(%1, %2, %3)").arg(style, len.isEmpty() ? QStringLiteral("30") : len, expr));
                    else
                        append(out, wrapCast(type, len, expr));
                }
                i = close;
                continue;
            }
            if (call && (w == "datediff" || w == "dateadd" || w == "datepart") && i + 3 < e &&
                t_[i + 2].type == Token::Word && t_[i + 3].type == Token::Comma) {
                append(out, QStringLiteral("tsql_%1('%2',").arg(w, t_[i + 2].text.toLower()));
                ++depth;
                i += 3;
                continue;
            }
            if (call && (w == "year" || w == "month" || w == "day")) {
                append(out, QStringLiteral("tsql_datepart('%1',").arg(w));
                ++depth;
                i += 1;
                continue;
            }
            if (call) {
                static const QHash<QString, QString> renamed{
                    {"isnull", "ifnull"}, {"getdate", "mss_now"}, {"len", "tsql_len"}, {"left", "tsql_left"},
                    {"right", "tsql_right"}, {"substring", "substr"}, {"charindex", "instr"}};
                const auto it = renamed.constFind(w);
                if (it != renamed.constEnd()) {
                    if (w == "charindex") syntaxError(tk.text);  // argument order differs; not used
                    append(out, *it);
                    continue;
                }
            }
            // A db..table outside a FROM/JOIN position, e.g. in a subquery list.
            if (i + 3 < e && isOp(t_[i + 1], ".") && isOp(t_[i + 2], ".")) {
                const int k = emitTable(out, i, false);
                if (k > 0) { i = k - 1; continue; }
            }
            const bool tight = !out.isEmpty() && out.back() == '.';
            append(out, tk.text, tight);
            if (w == "order" && i + 1 < e && is(t_[i + 1], "by")) {
                append(out, t_[i + 1].text);
                i = emitOrderBy(out, i + 2, e) - 1;
            }
        }
        return out;
    }

    // ORDER BY items: expressions (not plain columns) compare under TSQL too.
    int emitOrderBy(QString& out, int b, int e) {
        int i = b;
        while (i < e) {
            int k = i;
            for (; k < e; ++k) {
                if (t_[k].type == Token::LParen) { k = match_[k]; continue; }
                if (t_[k].type == Token::Comma || t_[k].type == Token::RParen || is(t_[k], "asc") ||
                    is(t_[k], "desc") || is(t_[k], "limit") || is(t_[k], "collate"))
                    break;
            }
            bool expression = false;
            for (int m = i; m < k; ++m) expression = expression || t_[m].type == Token::LParen || t_[m].type == Token::Op;
            if (expression && k - i >= 1 && !(k - i == 3 && isOp(t_[i + 1], "."))) {
                append(out, render(i, k));
                out += QStringLiteral(" COLLATE TSQL");
            } else {
                append(out, render(i, k));
            }
            i = k;
            while (i < e && (is(t_[i], "asc") || is(t_[i], "desc"))) { append(out, t_[i].text); ++i; }
            if (i < e && t_[i].type == Token::Comma) { out += QLatin1Char(','); ++i; continue; }
            break;
        }
        return i;
    }

    // Emits the table at i (mangled, with its name as alias when it has none); returns the next index.
    int emitTable(QString& out, int i, bool withAlias = true, QString* mangledOut = nullptr) {
        QString mangled, written, table, alias;
        const int k = tableAt(i, &mangled, &written, &table);
        if (k < 0) return -1;
        append(out, mangled);
        if (withAlias && !aliasAt(k, &alias)) {
            QString a = table;
            a.replace(QLatin1Char('"'), QLatin1String("\"\""));
            append(out, QStringLiteral("AS \"%1\"").arg(a));
        }
        if (mangledOut) *mangledOut = mangled;
        return k;
    }

    void readInsertColumns(int k) {
        insertColumns_.clear();
        QString alias;
        if (aliasAt(k, &alias) && !is(t_[k], "values") && !is(t_[k], "select")) k += is(t_[k], "as") ? 2 : 1;
        if (k < n_ && t_[k].type == Token::LParen) {
            for (int m = k + 1; m < match_[k]; ++m)
                if (t_[m].type == Token::Word || t_[m].type == Token::Bracketed) insertColumns_ << t_[m].text;
        }
    }

    const QVector<Token>& t_;
    const SchemaInfo& schema_;
    QString defaultDb_;
    int n_ = 0;
    QVector<int> match_;
    QVector<TableRef> tables_;
    QHash<int, QString> limits_;
    int betweenDate_ = 0;
    QString betweenType_;
    QString insertTable_;
    QStringList insertColumns_;
    int insertValuesOpen_ = -1;
};

}  // namespace

QString translate(const Tokens& t, const SchemaInfo& schema, const QString& defaultDatabase) {
    Translator tr(t, schema, defaultDatabase);
    return tr.run();
}

}  // namespace hospitaldb
