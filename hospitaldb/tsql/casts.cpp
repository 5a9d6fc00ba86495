// Conversions between SQL Server's types: CAST, CONVERT with its styles, TRY_CAST and
// TRY_CONVERT, and the implicit conversions operators and assignments make.
#include "hospitaldb/tsql/generator.h"
#include "hospitaldb/engine.h"

namespace hospitaldb::tsql {

namespace {
// How tsql_str() reads the value it turns into text.
enum TextCode { FromInteger = 0, FromMoney = 1, FromDecimal = 2, FromFloat = 3, FromDateTime = 4, FromDate = 5,
                FromTime = 6, FromDateTime2 = 7, FromSmallDateTime = 8, FromUnknown = 9 };

TextCode textCode(const Type& t) {
    switch (t.base) {
    case Base::Money: case Base::SmallMoney: return FromMoney;
    case Base::Decimal: return FromDecimal;
    case Base::Float: case Base::Real: return FromFloat;
    case Base::DateTime: return FromDateTime;
    case Base::SmallDateTime: return FromSmallDateTime;
    case Base::Date: return FromDate;
    case Base::Time: return FromTime;
    case Base::DateTime2: return FromDateTime2;
    default: return t.isInteger() ? FromInteger : FromUnknown;
    }
}

bool dateStyle(int style) {
    return (style >= 0 && style <= 14) || (style >= 20 && style <= 25) || (style >= 100 && style <= 114) ||
           style == 120 || style == 121 || style == 126 || style == 127 || style == 130 || style == 131;
}

int bitsOf(Base b) {
    switch (b) {
    case Base::Bit: return 1;
    case Base::TinyInt: return 8;
    case Base::SmallInt: return 16;
    case Base::BigInt: return 64;
    default: return 32;
    }
}
}  // namespace

QString Generator::convert(const QString& sql, const Type& from, const Type& to, bool explicitCast, int style,
                           bool tryCast) {
    if (!to.known() || from.isNull()) return sql;
    if (!from.known() && !explicitCast) return sql;
    const QString t = tryCast ? QStringLiteral("1") : QStringLiteral("0");
    const QString s = QString::number(style);
    if (to.isString()) {
        if (from.isString()) {
            if (explicitCast && to.length > 0) return QStringLiteral("tsql_str(%1, %2, 9, 0, -1)").arg(sql).arg(to.length);
            return sql;
        }
        const TextCode code = textCode(from);
        if (style >= 0) {
            const bool datetimeSource = code == FromDateTime || code == FromSmallDateTime;
            if ((datetimeSource || code == FromDate || code == FromTime || code == FromDateTime2) && !dateStyle(style)) {
                if (datetimeSource)
                    fail(281, QStringLiteral("%1 is not a valid style number when converting from %2 to a character string.")
                                  .arg(style).arg(from.name()));
                fail(9809, QStringLiteral("The style %1 is not supported for conversions from %2 to %3.").arg(style).arg(from.name(), to.name()));
            }
            if (code == FromMoney && !(style <= 2 || style == 126))
                fail(281, QStringLiteral("%1 is not a valid style number when converting from money to a character string.").arg(style));
            if (code == FromFloat && !(style <= 3 || style == 126 || style == 128 || style == 129))
                fail(281, QStringLiteral("%1 is not a valid style number when converting from float to a character string.").arg(style));
        }
        const int length = explicitCast ? to.length : -1;
        return QStringLiteral("tsql_str(%1, %2, %3, %4, %5)").arg(sql).arg(length).arg(int(code)).arg(from.decimalScale()).arg(style < 0 ? 0 : style);
    }
    const bool fromDateish = from.isTemporal();
    if (fromDateish && to.isNumeric())
        fail(explicitCast ? 529 : 206,
             explicitCast ? QStringLiteral("Explicit conversion from data type %1 to %2 is not allowed.").arg(from.name(), to.name())
                          : QStringLiteral("Operand type clash: %1 is incompatible with %2").arg(from.name(), to.name()));
    if (to.isInteger()) {
        if (from.isInteger() && !explicitCast) return sql;
        if (from.isInteger() && bitsOf(from.base) <= bitsOf(to.base) && to.base != Base::Bit) return sql;
        return QStringLiteral("tsql_int(%1, %2, %3)").arg(sql).arg(bitsOf(to.base)).arg(t);
    }
    if (to.base == Base::Decimal) {
        if (!explicitCast && (from.isExact() || from.isApprox())) return sql;
        return QStringLiteral("tsql_decimal(%1, %2, %3, %4)").arg(sql).arg(to.precision).arg(to.scale).arg(t);
    }
    if (to.isMoney()) {
        if (!explicitCast && (from.isExact() || from.isApprox())) return sql;
        if (from.isInteger() || from.isMoney()) return sql;
        return QStringLiteral("tsql_money(%1, %2)").arg(sql, t);
    }
    if (to.isApprox()) {
        if (from.isNumeric()) return explicitCast && !from.isApprox() ? QStringLiteral("CAST(%1 AS REAL)").arg(sql) : sql;
        return QStringLiteral("tsql_float(%1, %2)").arg(sql, t);
    }
    if (to.isTemporal()) {
        if (style >= 0 && !dateStyle(style))
            fail(9809, QStringLiteral("The style %1 is not supported for conversions from %2 to %3.").arg(style).arg(from.name(), to.name()));
        if (from.isNumeric() && (to.base == Base::Date || to.base == Base::Time || to.base == Base::DateTime2))
            fail(explicitCast ? 529 : 206,
                 explicitCast ? QStringLiteral("Explicit conversion from data type %1 to %2 is not allowed.").arg(from.name(), to.name())
                              : QStringLiteral("Operand type clash: %1 is incompatible with %2").arg(from.name(), to.name()));
        if (to.base == Base::Date) {
            if (from.base == Base::Date) return sql;
            if (from.base == Base::Time)
                fail(529, QStringLiteral("Explicit conversion from data type time to date is not allowed."));
            return QStringLiteral("tsql_date(%1, %2, %3)").arg(sql, s.startsWith(u'-') ? QStringLiteral("0") : s, t);
        }
        if (to.base == Base::Time) {
            if (from.base == Base::Time) return sql;
            if (from.base == Base::Date)
                fail(529, QStringLiteral("Explicit conversion from data type date to time is not allowed."));
            return QStringLiteral("tsql_time(%1, %2, %3)").arg(sql, s.startsWith(u'-') ? QStringLiteral("0") : s, t);
        }
        // datetime, smalldatetime, datetime2
        if (from.isDateTime() && from.base != Base::Date && to.base != Base::SmallDateTime) return sql;
        const int precision = to.base == Base::SmallDateTime ? 1 : to.base == Base::DateTime2 ? 2 : 0;
        return QStringLiteral("tsql_datetime(%1, %2, %3, %4)").arg(sql, style < 0 ? QStringLiteral("0") : s, t).arg(precision);
    }
    return sql;
}

QString Generator::cast(Expr* e) {
    int b = e->typeB;
    if (b < 0 && e->typeName.compare(QLatin1String("decimal"), Qt::CaseInsensitive) != 0 &&
        e->typeName.compare(QLatin1String("numeric"), Qt::CaseInsensitive) != 0)
        b = -1;
    const Type to = fromName(e->typeName, e->typeA, b);
    const bool tryCast = e->text.startsWith(QLatin1String("TRY_"));
    const QString v = value(e->args[0]);
    int style = -1;
    if (e->args.size() > 1) {
        Expr* st = e->args[1];
        if (st->kind != Expr::Number || st->text.contains(QLatin1Char('.')))
            fail(1023, QStringLiteral("Invalid parameter 3 specified for convert."));
        style = st->text.toInt();
        st->type = Type::of(Base::Int);
        st->sql = st->text;
    }
    const Type& from = e->args[0]->type;
    // CONVERT of a text to a text ignores the style; a style only formats dates and numbers.
    QString sql = convert(v, from, to, true, (from.isString() && to.isString()) ? -1 : style, tryCast);
    e->type = to;
    return sql;
}

}  // namespace hospitaldb::tsql
