#pragma once
// Builds statement texts from literal pieces and values, so no screen pastes a raw value
// into SQL. A value always lands between apostrophes that the literal pieces write, with
// its own apostrophes doubled; a number lands bare only if it is a number.
#include <QString>
#include <QStringList>

namespace mss::db {

class Sql {
public:
    Sql() = default;
    explicit Sql(const QString& literal) : text_(literal) {}

    // Literal SQL written by the program (never typed text).
    Sql& lit(const QString& piece) { text_ += piece; return *this; }
    // A text value inside apostrophes written by the literal pieces around it.
    Sql& val(const QString& value);
    // A bare number; a text that is not a number fails (number 13, type mismatch).
    Sql& num(const QString& number);
    Sql& num(double number);
    Sql& num(long long number);

    const QString& text() const { return text_; }
    operator QString() const { return text_; }

    // procedure + " '" + a + "','" + b + "'": the usual call with every argument as text.
    static QString call(const QString& procedure, const QStringList& args,
                        const QString& separator = QStringLiteral("','"));

private:
    QString text_;
};

// The value with its apostrophes doubled (not wrapped).
QString escapeValue(const QString& value);

}  // namespace mss::db
