// Numbers as SQL Server converts, divides, rounds and writes them: amounts keep their scale,
// division by zero fails, and a text that is no number fails with the server's message.
#include "hospitaldb/tsql/runtime.h"

#include <QRegularExpression>
#include <charconv>
#include <cmath>
#include <sqlite3.h>

namespace hospitaldb::tsql {

namespace {
const char* const kIntNames[] = {"bit", "tinyint", "smallint", "int", "bigint"};

QString intName(int bits) {
    switch (bits) {
    case 1: return QString::fromLatin1(kIntNames[0]);
    case 8: return QString::fromLatin1(kIntNames[1]);
    case 16: return QString::fromLatin1(kIntNames[2]);
    case 64: return QString::fromLatin1(kIntNames[4]);
    default: return QString::fromLatin1(kIntNames[3]);
    }
}

// The shortest decimal text that reads back as v.
std::string shortest(double v) {
    char buf[400];
    const auto r = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed);
    return std::string(buf, r.ptr);
}

// v rounded half away from zero to `scale` decimals (negative: tens, hundreds...), done on
// its decimal digits so that 2.675 rounds to 2.68 as the server's decimal arithmetic does.
double roundDecimal(double v, int scale, bool truncate = false) {
    if (!std::isfinite(v)) return v;
    std::string s = shortest(std::fabs(v));
    const size_t dot = s.find('.');
    std::string intPart = dot == std::string::npos ? s : s.substr(0, dot);
    std::string frac = dot == std::string::npos ? std::string() : s.substr(dot + 1);
    std::string digits = intPart + frac;
    const long keep = long(intPart.size()) + scale;  // digits kept
    if (keep >= long(digits.size())) return v;
    if (keep < 0) return 0.0;
    const bool up = !truncate && digits[size_t(keep)] >= '5';
    digits.resize(size_t(keep));
    if (up) {
        long i = long(digits.size()) - 1;
        for (; i >= 0; --i) {
            if (digits[size_t(i)] == '9') digits[size_t(i)] = '0';
            else { ++digits[size_t(i)]; break; }
        }
        if (i < 0) {
            digits.insert(digits.begin(), '1');
            intPart.insert(intPart.begin(), '0');
        }
    }
    // Put the decimal point back (or the zeros a negative scale drops).
    std::string out;
    const size_t intDigits = intPart.size();
    if (scale >= 0) out = digits.substr(0, intDigits) + "." + digits.substr(intDigits);
    else out = digits + std::string(size_t(-scale), '0');
    // Returned rather than assigned "0": GCC 12 misreads that assignment under
    // _FORTIFY_SOURCE (-Wrestrict), which the package is built with.
    if (out.empty() || out == ".") return v < 0 ? -0.0 : 0.0;
    const double r = std::strtod(out.c_str(), nullptr);
    return v < 0 ? -r : r;
}

QString fixedText(double v, int decimals) {
    const double r = roundDecimal(v, decimals);
    char buf[400];
    const auto res = std::to_chars(buf, buf + sizeof buf, r, std::chars_format::fixed, decimals);
    QString s = QString::fromLatin1(buf, int(res.ptr - buf));
    if (r == 0.0 && s.startsWith(QLatin1Char('-'))) s.remove(0, 1);  // no "-0.00"
    return s;
}

QString grouped(const QString& fixed) {
    const qsizetype dot = fixed.indexOf(QLatin1Char('.'));
    QString intPart = dot < 0 ? fixed : fixed.left(dot);
    const QString rest = dot < 0 ? QString() : fixed.mid(dot);
    const bool negative = intPart.startsWith(QLatin1Char('-'));
    if (negative) intPart.remove(0, 1);
    for (qsizetype i = intPart.size() - 3; i > 0; i -= 3) intPart.insert(i, QLatin1Char(','));
    return (negative ? QStringLiteral("-") : QString()) + intPart + rest;
}

// A float as SQL Server writes it: "%g"-like with three exponent digits.
QString floatText(double v, int style) {
    char buf[64];
    const char* format = style == 1 ? "%.7e" : (style == 2 || style == 126) ? "%.15e" : style == 3 ? "%.16e" : "%.6g";
    std::snprintf(buf, sizeof buf, format, v);
    QString s = QString::fromLatin1(buf);
    static const QRegularExpression exponent(QStringLiteral("e([+-])(\\d+)$"));
    const QRegularExpressionMatch m = exponent.match(s);
    if (m.hasMatch())
        s = s.left(m.capturedStart()) + QLatin1Char('e') + m.captured(1) + QStringLiteral("%1").arg(m.captured(2).toInt(), 3, 10, QLatin1Char('0'));
    return s;
}

// Numbers of an unknown type, as the front always wrote them.
QString plainNumberText(sqlite3_value* v) {
    if (sqlite3_value_type(v) == SQLITE_FLOAT) {
        QString s = QString::number(sqlite3_value_double(v), 'f', 6);
        while (s.endsWith(QLatin1Char('0'))) s.chop(1);
        if (s.endsWith(QLatin1Char('.'))) s.chop(1);
        return s;
    }
    return textArg(v);
}

void fnStr(sqlite3_context* ctx, int, sqlite3_value** argv) {
    sqlite3_value* x = argv[0];
    if (isNullArg(x)) return sqlite3_result_null(ctx);
    const qint64 len = sqlite3_value_int64(argv[1]);
    const int code = sqlite3_value_int(argv[2]);
    const int scale = sqlite3_value_int(argv[3]);
    const int style = sqlite3_value_int(argv[4]);
    const bool text = sqlite3_value_type(x) == SQLITE_TEXT;
    QString out;
    switch (code) {
    case 0:
        out = text ? textArg(x) : QString::number(sqlite3_value_int64(x));
        if (len > 0 && out.size() > len) out = QStringLiteral("*");  // an integer too long for the text
        return resultText(ctx, out);
    case 1: {
        out = fixedText(sqlite3_value_double(x), (style == 2 || style == 126) ? 4 : 2);
        if (style == 1) out = grouped(out);
        if (len > 0 && out.size() > len)
            return resultFailure(ctx, 234, QStringLiteral("There is insufficient result space to convert a money value to varchar."));
        return resultText(ctx, out);
    }
    case 2:
        out = fixedText(sqlite3_value_double(x), scale);
        if (len > 0 && out.size() > len)
            return resultFailure(ctx, 8115, QStringLiteral("Arithmetic overflow error converting numeric to data type varchar."));
        return resultText(ctx, out);
    case 3:
        out = floatText(sqlite3_value_double(x), style);
        if (len > 0 && out.size() > len)
            return resultFailure(ctx, 8115, QStringLiteral("Arithmetic overflow error converting expression to data type varchar."));
        return resultText(ctx, out);
    case 4: case 5: case 6: case 7: case 8: {
        Moment m;
        if (!momentArg(x, &m)) return resultText(ctx, textArg(x));
        out = formatMoment(m, style, code);
        break;
    }
    default:
        out = plainNumberText(x);
        break;
    }
    resultText(ctx, len > 0 ? out.left(len) : out);
}

void conversionFailure(sqlite3_context* ctx, long number, const QString& text, bool tryCast) {
    if (tryCast) return sqlite3_result_null(ctx);
    resultFailure(ctx, number, text);
}

void fnInt(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    sqlite3_value* x = argv[0];
    if (isNullArg(x)) return sqlite3_result_null(ctx);
    const int bits = argc > 1 ? sqlite3_value_int(argv[1]) : 32;
    const bool tryCast = argc > 2 && sqlite3_value_int(argv[2]);
    qint64 v = 0;
    switch (sqlite3_value_type(x)) {
    case SQLITE_INTEGER: v = sqlite3_value_int64(x); break;
    case SQLITE_FLOAT: {
        const double d = std::trunc(sqlite3_value_double(x));
        if (std::fabs(d) > 9.2e18)
            return conversionFailure(ctx, 8115, QStringLiteral("Arithmetic overflow error converting expression to data type %1.").arg(intName(bits)), tryCast);
        v = qint64(d);
        break;
    }
    default: {
        const QString s = textArg(x);
        const QString t = s.trimmed();
        if (bits == 1 && (t.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0 || t.compare(QLatin1String("false"), Qt::CaseInsensitive) == 0)) {
            v = t.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0 ? 1 : 0;
            break;
        }
        static const QRegularExpression integer(QStringLiteral("^[+-]?\\d*$"));
        bool ok = integer.match(t).hasMatch();
        if (ok && !t.isEmpty() && t != QLatin1String("+") && t != QLatin1String("-")) v = t.toLongLong(&ok);
        if (!ok)
            return conversionFailure(ctx, 245, QStringLiteral("Conversion failed when converting the varchar value '%1' to data type %2.").arg(s, intName(bits)), tryCast);
    }
    }
    if (bits == 1) return sqlite3_result_int(ctx, v != 0 ? 1 : 0);
    const qint64 hi = bits == 8 ? 255 : bits == 16 ? 32767 : bits == 32 ? 2147483647LL : INT64_MAX;
    const qint64 lo = bits == 8 ? 0 : bits == 16 ? -32768 : bits == 32 ? -2147483648LL : INT64_MIN;
    if (v < lo || v > hi)
        return conversionFailure(ctx, 8115, QStringLiteral("Arithmetic overflow error converting expression to data type %1.").arg(intName(bits)), tryCast);
    sqlite3_result_int64(ctx, v);
}

// A text as a number for decimal, money or float; false when it is none.
bool parseNumber(const QString& input, bool money, bool exponent, double* out) {
    QString s = input.trimmed();
    if (money) {
        s.remove(QLatin1Char(','));
        static const QRegularExpression currency(QStringLiteral("^([+-]?)[$\\x{00A3}\\x{00A5}\\x{20AC}]"));
        s.replace(currency, QStringLiteral("\\1"));
        if (s.isEmpty() || s == QLatin1String("+") || s == QLatin1String("-") || s == QLatin1String(".")) {
            *out = 0;
            return true;
        }
    }
    static const QRegularExpression plain(QStringLiteral("^[+-]?(\\d+\\.?\\d*|\\.\\d+)$"));
    static const QRegularExpression scientific(QStringLiteral("^[+-]?(\\d+\\.?\\d*|\\.\\d+)([eE][+-]?\\d+)?$"));
    if (!(exponent ? scientific : plain).match(s).hasMatch()) return false;
    *out = s.toDouble();
    return true;
}

void fnDecimal(sqlite3_context* ctx, int, sqlite3_value** argv) {
    sqlite3_value* x = argv[0];
    if (isNullArg(x)) return sqlite3_result_null(ctx);
    const int p = sqlite3_value_int(argv[1]), s = sqlite3_value_int(argv[2]);
    const bool tryCast = sqlite3_value_int(argv[3]);
    double v = 0;
    QString from = QStringLiteral("numeric");
    switch (sqlite3_value_type(x)) {
    case SQLITE_INTEGER: v = double(sqlite3_value_int64(x)); from = QStringLiteral("int"); break;
    case SQLITE_FLOAT: v = sqlite3_value_double(x); break;
    default:
        from = QStringLiteral("varchar");
        if (!parseNumber(textArg(x), false, false, &v))
            return conversionFailure(ctx, 8114, QStringLiteral("Error converting data type varchar to numeric."), tryCast);
    }
    v = roundDecimal(v, s);
    if (std::fabs(v) >= std::pow(10.0, p - s))
        return conversionFailure(ctx, 8115, QStringLiteral("Arithmetic overflow error converting %1 to data type numeric.").arg(from), tryCast);
    if (s == 0) return sqlite3_result_int64(ctx, qint64(v));
    sqlite3_result_double(ctx, v);
}

void fnMoney(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    sqlite3_value* x = argv[0];
    if (isNullArg(x)) return sqlite3_result_null(ctx);
    const bool tryCast = argc > 1 && sqlite3_value_int(argv[1]);
    double v = 0;
    if (sqlite3_value_type(x) == SQLITE_TEXT) {
        if (!parseNumber(textArg(x), true, false, &v))
            return conversionFailure(ctx, 235, QStringLiteral("Cannot convert a char value to money. The char value has incorrect syntax."), tryCast);
    } else {
        v = sqlite3_value_double(x);
    }
    v = roundDecimal(v, 4);
    if (std::fabs(v) > 922337203685477.5807)
        return conversionFailure(ctx, 8115, QStringLiteral("Arithmetic overflow error converting expression to data type money."), tryCast);
    sqlite3_result_double(ctx, v);
}

void fnFloat(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    sqlite3_value* x = argv[0];
    if (isNullArg(x)) return sqlite3_result_null(ctx);
    const bool tryCast = argc > 1 && sqlite3_value_int(argv[1]);
    if (sqlite3_value_type(x) != SQLITE_TEXT) return sqlite3_result_double(ctx, sqlite3_value_double(x));
    const QString s = textArg(x);
    double v = 0;
    if (!s.trimmed().isEmpty() && !parseNumber(s, false, true, &v))
        return conversionFailure(ctx, 8114, QStringLiteral("Error converting data type varchar to float."), tryCast);
    sqlite3_result_double(ctx, v);
}

bool divisor(sqlite3_context* ctx, sqlite3_value** argv) {
    if (isNullArg(argv[0]) || isNullArg(argv[1])) {
        sqlite3_result_null(ctx);
        return false;
    }
    if (sqlite3_value_double(argv[1]) == 0.0) {
        resultFailure(ctx, 8134, QStringLiteral("Divide by zero error encountered."));
        return false;
    }
    return true;
}

void fnIntDiv(sqlite3_context* ctx, int, sqlite3_value** argv) {
    if (!divisor(ctx, argv)) return;
    if (sqlite3_value_type(argv[0]) == SQLITE_INTEGER && sqlite3_value_type(argv[1]) == SQLITE_INTEGER)
        return sqlite3_result_int64(ctx, sqlite3_value_int64(argv[0]) / sqlite3_value_int64(argv[1]));
    sqlite3_result_int64(ctx, qint64(std::trunc(sqlite3_value_double(argv[0]) / sqlite3_value_double(argv[1]))));
}

void fnIntMod(sqlite3_context* ctx, int, sqlite3_value** argv) {
    if (!divisor(ctx, argv)) return;
    sqlite3_result_int64(ctx, sqlite3_value_int64(argv[0]) % sqlite3_value_int64(argv[1]));
}

void fnDiv(sqlite3_context* ctx, int, sqlite3_value** argv) {
    if (!divisor(ctx, argv)) return;
    const double r = sqlite3_value_double(argv[0]) / sqlite3_value_double(argv[1]);
    sqlite3_result_double(ctx, roundDecimal(r, sqlite3_value_int(argv[2])));
}

void fnFloatDiv(sqlite3_context* ctx, int, sqlite3_value** argv) {
    if (!divisor(ctx, argv)) return;
    sqlite3_result_double(ctx, sqlite3_value_double(argv[0]) / sqlite3_value_double(argv[1]));
}

void fnMod(sqlite3_context* ctx, int, sqlite3_value** argv) {
    if (!divisor(ctx, argv)) return;
    sqlite3_result_double(ctx, std::fmod(sqlite3_value_double(argv[0]), sqlite3_value_double(argv[1])));
}

void fnRound(sqlite3_context* ctx, int, sqlite3_value** argv) {
    if (isNullArg(argv[0]) || isNullArg(argv[1])) return sqlite3_result_null(ctx);
    const int digits = sqlite3_value_int(argv[1]);
    const bool truncate = !isNullArg(argv[2]) && sqlite3_value_int(argv[2]) != 0;
    if (sqlite3_value_type(argv[0]) == SQLITE_INTEGER) {
        const qint64 v = sqlite3_value_int64(argv[0]);
        if (digits >= 0) return sqlite3_result_int64(ctx, v);
        return sqlite3_result_int64(ctx, qint64(roundDecimal(double(v), digits, truncate)));
    }
    sqlite3_result_double(ctx, roundDecimal(sqlite3_value_double(argv[0]), digits, truncate));
}

// STR(number, length, decimals): right-aligned, asterisks when the number does not fit.
void fnStrNumber(sqlite3_context* ctx, int, sqlite3_value** argv) {
    for (int i = 0; i < 3; ++i)
        if (isNullArg(argv[i])) return sqlite3_result_null(ctx);
    const double v = sqlite3_value_double(argv[0]);
    const qint64 length = sqlite3_value_int64(argv[1]);
    int decimals = std::clamp(int(sqlite3_value_int64(argv[2])), 0, 16);
    if (length <= 0 || length > 8000) return sqlite3_result_null(ctx);
    QString s = fixedText(v, decimals);
    while (s.size() > length && decimals > 0) s = fixedText(v, --decimals);
    if (s.size() > length) s = QString(length, QLatin1Char('*'));
    resultText(ctx, s.rightJustified(length, QLatin1Char(' ')));
}

// The value of a scalar subquery: one row, or SQL Server's 512.
struct Single {
    qint64 rows = 0;
    sqlite3_value* value = nullptr;
};

void singleStep(sqlite3_context* ctx, int, sqlite3_value** argv) {
    auto* s = static_cast<Single*>(sqlite3_aggregate_context(ctx, sizeof(Single)));
    if (!s) return sqlite3_result_error_nomem(ctx);
    if (++s->rows == 1) {
        s->value = sqlite3_value_dup(argv[0]);
    } else if (s->rows == 2) {
        resultFailure(ctx, 512, QStringLiteral("Subquery returned more than 1 value. This is not permitted when the subquery follows "
                                               "=, !=, <, <= , >, >= or when the subquery is used as an expression."));
    }
}

void singleFinal(sqlite3_context* ctx) {
    auto* s = static_cast<Single*>(sqlite3_aggregate_context(ctx, 0));
    if (!s || !s->value) return sqlite3_result_null(ctx);
    if (s->rows == 1) sqlite3_result_value(ctx, s->value);
    sqlite3_value_free(s->value);
    s->value = nullptr;
}
}  // namespace

void registerNumberFunctions(sqlite3* db) {
    struct Fn { const char* name; int argc; void (*f)(sqlite3_context*, int, sqlite3_value**); };
    static const Fn fns[] = {
        {"tsql_str", 5, fnStr},           {"tsql_int", 1, fnInt},       {"tsql_int", 3, fnInt},
        {"tsql_decimal", 4, fnDecimal},   {"tsql_money", 1, fnMoney},   {"tsql_money", 2, fnMoney},
        {"tsql_float", 2, fnFloat},       {"tsql_idiv", 2, fnIntDiv},   {"tsql_imod", 2, fnIntMod},
        {"tsql_div", 3, fnDiv},           {"tsql_fdiv", 2, fnFloatDiv}, {"tsql_mod", 2, fnMod},
        {"tsql_round", 3, fnRound},       {"tsql_strnum", 3, fnStrNumber},
    };
    for (const Fn& f : fns)
        sqlite3_create_function_v2(db, f.name, f.argc, SQLITE_UTF8 | SQLITE_DETERMINISTIC, nullptr, f.f, nullptr, nullptr, nullptr);
    sqlite3_create_function_v2(db, "tsql_single", 1, SQLITE_UTF8 | SQLITE_DETERMINISTIC, nullptr, nullptr, singleStep,
                               singleFinal, nullptr);
}

}  // namespace hospitaldb::tsql
