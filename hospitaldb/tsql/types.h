#pragma once
// SQL Server's data types as the T-SQL front reasons about them: what a column, literal, cast
// or function yields, which side of an operator converts, and what an operator returns.
#include <QString>

namespace hospitaldb::tsql {

// Ordered by SQL Server's data type precedence, lowest first, so that the higher of two
// types is the one the other converts to.
enum class Base : unsigned char {
    Unknown,   // a value whose type the front cannot know (left to SQLite)
    Null,      // the NULL literal: converts to anything
    Char, VarChar, NChar, NVarChar, Text, NText,
    Bit, TinyInt, SmallInt, Int, BigInt,
    SmallMoney, Money, Decimal, Real, Float,
    Time, Date, SmallDateTime, DateTime, DateTime2,
};

struct Type {
    Base base = Base::Unknown;
    int length = 0;      // characters of a string type; 0 = not given, -1 = max
    int precision = 0;   // decimal
    int scale = 0;

    static Type of(Base b) { return Type{b, 0, 0, 0}; }
    static Type decimal(int p, int s) { return Type{Base::Decimal, 0, p, s}; }
    static Type varchar(int length = 0) { return Type{Base::VarChar, length, 0, 0}; }

    bool known() const { return base != Base::Unknown; }
    bool isNull() const { return base == Base::Null; }
    bool isString() const { return base >= Base::Char && base <= Base::NText; }
    bool isUnicode() const { return base == Base::NChar || base == Base::NVarChar || base == Base::NText; }
    bool isInteger() const { return base >= Base::Bit && base <= Base::BigInt; }
    bool isExact() const { return base >= Base::Bit && base <= Base::Decimal; }
    bool isMoney() const { return base == Base::Money || base == Base::SmallMoney; }
    bool isApprox() const { return base == Base::Real || base == Base::Float; }
    bool isNumeric() const { return base >= Base::Bit && base <= Base::Float; }
    bool isDateTime() const { return base >= Base::Date && base <= Base::DateTime2; }  // dates with a day
    bool isTemporal() const { return base >= Base::Time && base <= Base::DateTime2; }
    bool operator==(const Type& o) const {
        return base == o.base && length == o.length && precision == o.precision && scale == o.scale;
    }

    // "int", "varchar", "decimal" ... as SQL Server names a type in its messages.
    QString name() const;
    // Precision and scale of an exact number seen as a decimal (int is decimal(10,0)).
    int decimalPrecision() const;
    int decimalScale() const;
};

// The declared type of a SQLite column ("TEXT", "VARCHAR(10)", "MONEY", "DATETIME") as the
// SQL Server type it stands for; an empty declaration is Unknown.
Type fromDeclared(const QString& declared);

// A type named in CAST/CONVERT: "varchar" with its arguments (a, b; -1 = not given, "max" = -2).
// Fails with 243 for a name SQL Server does not know.
Type fromName(const QString& name, int a, int b);

// The type both sides of a comparison or a CASE/COALESCE meet in: the higher precedence.
Type common(const Type& a, const Type& b);

enum class Arith { Add, Subtract, Multiply, Divide, Modulo };
// The result of a numeric operator (both sides numeric or unknown), SQL Server's rules for
// decimal precision and scale included.
Type arithmetic(Arith op, const Type& a, const Type& b);

// SUM and AVG of a value of this type.
Type sumOf(const Type& t);
Type avgOf(const Type& t);

// How a result column's value is read back (engine.h's Statement kinds).
int columnKind(const Type& t);

}  // namespace hospitaldb::tsql
