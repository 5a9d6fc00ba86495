#include "hospitaldb/translator.h"
#include "hospitaldb/engine.h"

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

// The statement text as tokens, and the shape that keys the translation cache.
namespace hospitaldb {

namespace {
const QString kSource = QStringLiteral("HospitalDB");

bool isIdentStart(QChar c) { return c.isLetter() || c == '_' || c == '@' || c == '#'; }
bool isIdentPart(QChar c) { return c.isLetterOrNumber() || c == '_' || c == '@' || c == '#' || c == '$'; }

[[noreturn]] void syntaxError(const QString& near) {
    throw Failure(mss::db::errnum::SyntaxError, kSource, QStringLiteral("Incorrect syntax near '%1'.").arg(near));
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
            // N'...' keeps its N in the shape (just copied): a national literal has a type of its own.
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
        const bool national = type == Token::String && s[from] != QLatin1Char('\'');
        if (type == Token::String) {
            literal = int(out.literals.size());
            out.literals.append(value);
            if (national) out.shape += s[from];
            out.shape += QLatin1Char('?');
        } else {
            out.shape.append(s + from, to - from);
        }
        if (withTokens) out.list.append(Token{type, std::move(value), literal, national, from});
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

}  // namespace hospitaldb
