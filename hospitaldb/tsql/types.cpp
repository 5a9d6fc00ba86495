#include "hospitaldb/tsql/types.h"
#include "hospitaldb/engine.h"

#include <QHash>
#include <QRegularExpression>
#include <algorithm>

namespace hospitaldb::tsql {

namespace {
const QString kSource = QStringLiteral("HospitalDB");

struct Named {
    Base base;
    const char* name;
};
const Named kNames[] = {
    {Base::Char, "char"},         {Base::VarChar, "varchar"},     {Base::NChar, "nchar"},
    {Base::NVarChar, "nvarchar"}, {Base::Text, "text"},           {Base::NText, "ntext"},
    {Base::Bit, "bit"},           {Base::TinyInt, "tinyint"},     {Base::SmallInt, "smallint"},
    {Base::Int, "int"},           {Base::BigInt, "bigint"},       {Base::SmallMoney, "smallmoney"},
    {Base::Money, "money"},       {Base::Decimal, "decimal"},     {Base::Decimal, "numeric"},
    {Base::Real, "real"},         {Base::Float, "float"},         {Base::Time, "time"},
    {Base::Date, "date"},         {Base::SmallDateTime, "smalldatetime"},
    {Base::DateTime, "datetime"}, {Base::DateTime2, "datetime2"}, {Base::NVarChar, "sysname"},
};
}  // namespace

QString Type::name() const {
    if (base == Base::Null) return QStringLiteral("NULL");
    for (const Named& n : kNames)
        if (n.base == base) return QString::fromLatin1(n.name);
    return QStringLiteral("sql_variant");
}

int Type::decimalPrecision() const {
    switch (base) {
    case Base::Bit: return 1;
    case Base::TinyInt: return 3;
    case Base::SmallInt: return 5;
    case Base::Int: return 10;
    case Base::BigInt: return 19;
    case Base::SmallMoney: return 10;
    case Base::Money: return 19;
    case Base::Decimal: return precision;
    default: return 38;
    }
}

int Type::decimalScale() const {
    if (isMoney()) return 4;
    if (base == Base::Decimal) return scale;
    return 0;
}

Type fromDeclared(const QString& declared) {
    const QString d = declared.trimmed().toUpper();
    if (d.isEmpty()) return {};
    static const QRegularExpression args(QStringLiteral("\\(\\s*(\\d+|MAX)\\s*(?:,\\s*(\\d+)\\s*)?\\)"));
    const QRegularExpressionMatch m = args.match(d);
    const int a = m.hasMatch() ? (m.captured(1) == QLatin1String("MAX") ? -1 : m.captured(1).toInt()) : 0;
    const int b = m.hasMatch() && m.capturedLength(2) ? m.captured(2).toInt() : 0;
    if (d.contains(QLatin1String("DATETIME2"))) return Type::of(Base::DateTime2);
    if (d.contains(QLatin1String("SMALLDATETIME"))) return Type::of(Base::SmallDateTime);
    if (d.contains(QLatin1String("DATETIME")) || d.contains(QLatin1String("TIMESTAMP"))) return Type::of(Base::DateTime);
    if (d.startsWith(QLatin1String("DATE"))) return Type::of(Base::Date);
    if (d.startsWith(QLatin1String("TIME"))) return Type::of(Base::Time);
    if (d.contains(QLatin1String("SMALLMONEY"))) return Type::of(Base::SmallMoney);
    if (d.contains(QLatin1String("MONEY"))) return Type::of(Base::Money);
    if (d.contains(QLatin1String("DEC")) || d.contains(QLatin1String("NUMERIC")))
        return Type::decimal(a > 0 ? std::min(a, 38) : 18, std::clamp(b, 0, 38));
    if (d.contains(QLatin1String("DOUB")) || d.contains(QLatin1String("FLOA"))) return Type::of(Base::Float);
    if (d == QLatin1String("REAL")) return Type::of(Base::Float);
    if (d.contains(QLatin1String("BIGINT"))) return Type::of(Base::BigInt);
    if (d.contains(QLatin1String("SMALLINT"))) return Type::of(Base::SmallInt);
    if (d.contains(QLatin1String("TINYINT"))) return Type::of(Base::TinyInt);
    if (d.contains(QLatin1String("INT"))) return Type::of(Base::Int);
    if (d.contains(QLatin1String("BIT")) || d.contains(QLatin1String("BOOL"))) return Type::of(Base::Bit);
    if (d.contains(QLatin1String("NCHAR")) || d.contains(QLatin1String("NVARCHAR"))) return Type{Base::NVarChar, a, 0, 0};
    if (d.contains(QLatin1String("NTEXT"))) return Type::of(Base::NVarChar);
    if (d.contains(QLatin1String("CHAR")) || d.contains(QLatin1String("TEXT")) || d.contains(QLatin1String("CLOB")))
        return Type{Base::VarChar, a, 0, 0};
    return {};
}

Type fromName(const QString& name, int a, int b) {
    const QString n = name.toLower();
    for (const Named& x : kNames) {
        if (n != QLatin1String(x.name)) continue;
        Type t = Type::of(x.base);
        if (t.isString()) {
            // varchar without a length is varchar(30) in CAST and CONVERT.
            t.length = a == -2 ? -1 : (a > 0 ? a : 30);
            if (n == QLatin1String("sysname")) t.length = 128;
            if (t.base == Base::Text || t.base == Base::NText) t.length = -1;
        } else if (t.base == Base::Decimal) {
            t.precision = a > 0 ? a : 18;
            t.scale = b >= 0 ? b : 0;
            if (t.precision > 38)
                throw Failure(2750, kSource, QStringLiteral("Column or parameter #0: Specified column precision %1 is greater than the maximum precision of 38.").arg(t.precision));
            if (t.scale > t.precision)
                throw Failure(2749, kSource, QStringLiteral("Column or parameter #0: Specified column scale %1 is greater than the specified precision of %2.").arg(t.scale).arg(t.precision));
        } else if (n == QLatin1String("float") && a > 0 && a <= 24) {
            t.base = Base::Real;
        }
        return t;
    }
    throw Failure(243, kSource, QStringLiteral("Type %1 is not a defined system type.").arg(name));
}

Type common(const Type& a, const Type& b) {
    if (a.base == Base::Unknown || b.base == Base::Unknown) return {};
    if (a.isNull()) return b;
    if (b.isNull()) return a;
    if (a.base == b.base) {
        Type t = a;
        if (t.isString()) t.length = (a.length < 0 || b.length < 0) ? -1 : std::max(a.length, b.length);
        if (t.base == Base::Decimal) {
            const int s = std::max(a.scale, b.scale);
            const int intDigits = std::max(a.precision - a.scale, b.precision - b.scale);
            t = Type::decimal(std::min(38, intDigits + s), s);
        }
        return t;
    }
    const Type& high = a.base > b.base ? a : b;
    const Type& low = a.base > b.base ? b : a;
    if (high.base == Base::Decimal && low.isExact()) {
        const int s = std::max(high.scale, low.decimalScale());
        const int intDigits = std::max(high.precision - high.scale, low.decimalPrecision() - low.decimalScale());
        return Type::decimal(std::min(38, intDigits + s), s);
    }
    if (high.base == Base::NVarChar && low.isString()) return Type{Base::NVarChar, -1, 0, 0};
    return high;
}

namespace {
// SQL Server keeps at least six decimals when a result would need more than 38 digits.
Type capped(int p, int s) {
    if (p > 38) {
        const int intDigits = p - s;
        s = std::max(38 - intDigits, std::min(s, 6));
        p = 38;
    }
    return Type::decimal(p, std::max(0, s));
}
}  // namespace

Type arithmetic(Arith op, const Type& a, const Type& b) {
    if (!a.known() || !b.known()) return {};
    if (a.isNull() && b.isNull()) return Type::of(Base::Int);
    if (a.isNull()) return b;
    if (b.isNull()) return a;
    const Base high = std::max(a.base, b.base);
    if (high == Base::Float || high == Base::Real) return Type::of(high);
    if (high != Base::Decimal) {
        // Integers keep the wider integer; money stays money.
        if (high == Base::Bit) return Type::of(Base::Int);
        if (high == Base::TinyInt || high == Base::SmallInt) return Type::of(Base::Int);
        return Type::of(high);
    }
    const int p1 = a.decimalPrecision(), s1 = a.decimalScale();
    const int p2 = b.decimalPrecision(), s2 = b.decimalScale();
    switch (op) {
    case Arith::Add:
    case Arith::Subtract: {
        const int s = std::max(s1, s2);
        return capped(s + std::max(p1 - s1, p2 - s2) + 1, s);
    }
    case Arith::Multiply: return capped(p1 + p2 + 1, s1 + s2);
    case Arith::Divide: {
        const int s = std::max(6, s1 + p2 + 1);
        return capped(p1 - s1 + s2 + s, s);
    }
    case Arith::Modulo: {
        const int s = std::max(s1, s2);
        return capped(std::min(p1 - s1, p2 - s2) + s, s);
    }
    }
    return {};
}

Type sumOf(const Type& t) {
    if (t.base == Base::Bit) return Type::of(Base::Int);  // refused by SQL Server; keep it simple
    if (t.base == Base::TinyInt || t.base == Base::SmallInt) return Type::of(Base::Int);
    if (t.base == Base::SmallMoney) return Type::of(Base::Money);
    if (t.base == Base::Real) return Type::of(Base::Float);
    if (t.base == Base::Decimal) return Type::decimal(38, t.scale);
    return t;
}

Type avgOf(const Type& t) {
    if (t.base == Base::Decimal) return Type::decimal(38, std::max(t.scale, 6));
    return sumOf(t);
}

int columnKind(const Type& t) {
    if (t.isTemporal()) return t.base == Base::Time ? KindText : KindDate;
    if (t.isInteger()) return KindInt;
    if (t.isNumeric()) return KindReal;
    if (t.isString()) return KindText;
    return KindDefault;
}

}  // namespace hospitaldb::tsql
