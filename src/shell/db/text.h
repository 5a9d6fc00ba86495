#pragma once
// Text helpers shared by every screen. Dates and numbers use the en-US forms.
#include <QDateTime>
#include <QString>
#include <QVariant>

namespace mss::text {

// Removes leading and trailing blanks (spaces only), as VB's Trim.
QString Trim(const QString& s);
QString LTrim(const QString& s);
QString RTrim(const QString& s);

// A number is an optional sign, digits with at most one decimal point (at least one digit),
// and an optional exponent; blanks around it and thousands commas between digits are allowed.
// The empty text, "." and "1,2,," are not numbers.
bool IsNumeric(const QString& s);
// The value of a numeric text (0 when it is not numeric).
double Val(const QString& s);

// Plain decimal text: no grouping, no trailing zeros, at most 15 significant digits.
QString NumberText(double value);
// "##,###,###,##0.00"
QString AmountText(double value);

// en-US date texts.
QString DateMDY(const QDate& d);          // "MM/dd/yyyy"
QString DateISO(const QDate& d);          // "yyyy-MM-dd"
QString ShortDate(const QDate& d);        // "M/d/yyyy"
QString GeneralDate(const QDateTime& dt); // "M/d/yyyy h:mm:ss AP", date only at midnight
// Reads "mm/dd/yyyy", "m/d/yyyy", "yyyy-mm-dd", with or without a time; invalid QDateTime otherwise.
QDateTime ParseDateTime(const QString& s);

// A variant as VB turns it into text ("" & value): null -> "", dates in general date form,
// numbers in plain decimal text, booleans "True"/"False".
QString VariantText(const QVariant& v);

// Conversions that fail with "Invalid use of Null" (94) on a null.
QString AsText(const QVariant& v);
double AsNumber(const QVariant& v);
QDateTime AsDate(const QVariant& v);
bool AsBool(const QVariant& v);

// Twips (1/1440 inch) to pixels at the usual 96 dots per inch: 15 twips a pixel.
int TwipsToPixels(int twips);

}  // namespace mss::text
