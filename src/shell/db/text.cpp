#include "shell/db/text.h"
#include "shell/db/error.h"

#include <QLocale>
#include <QRegularExpression>
#include <cmath>
#include <cstdio>

namespace mss::text {

QString LTrim(const QString& s) {
    qsizetype i = 0;
    while (i < s.size() && s.at(i) == u' ') ++i;
    return s.mid(i);
}

QString RTrim(const QString& s) {
    qsizetype n = s.size();
    while (n > 0 && s.at(n - 1) == u' ') --n;
    return s.left(n);
}

QString Trim(const QString& s) { return LTrim(RTrim(s)); }

namespace {
const QRegularExpression& numericPattern() {
    // Thousands commas only between digits of the integer part.
    static const QRegularExpression re(
        QStringLiteral(R"(^\s*[+-]?(\d{1,3}(,\d{3})+|\d+)?(\.\d*)?([eE][+-]?\d+)?\s*$)"));
    return re;
}
}  // namespace

bool IsNumeric(const QString& s) {
    const auto m = numericPattern().match(s);
    if (!m.hasMatch()) return false;
    // At least one digit in the mantissa.
    const QString intPart = m.captured(1);
    const QString frac = m.captured(3);
    return !intPart.isEmpty() || frac.size() > 1;
}

double Val(const QString& s) {
    if (!IsNumeric(s)) return 0.0;
    QString t = s.trimmed();
    t.remove(u',');
    return t.toDouble();
}

QString NumberText(double value) {
    if (std::isnan(value) || std::isinf(value)) return QStringLiteral("0");
    if (value == 0.0) return QStringLiteral("0");
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.15g", value);
    QString s = QString::fromLatin1(buf);
    if (s.contains(u'e')) {
        // Written out in full, still with 15 significant digits.
        const bool negative = value < 0;
        const QString e = QString::number(std::fabs(value), 'e', 14);   // d.dddddddddddddde+XX
        QString digits = e.left(e.indexOf(u'e')).remove(u'.');
        const int exponent = e.mid(e.indexOf(u'e') + 1).toInt();
        if (exponent >= 0) {
            if (digits.size() < exponent + 1) digits += QString(exponent + 1 - digits.size(), u'0');
            else digits.insert(exponent + 1, u'.');
        } else {
            digits = QStringLiteral("0.") + QString(-exponent - 1, u'0') + digits;
        }
        if (digits.contains(u'.')) {
            while (digits.endsWith(u'0')) digits.chop(1);
            if (digits.endsWith(u'.')) digits.chop(1);
        }
        s = negative ? u'-' + digits : digits;
    }
    if (s == QLatin1String("-0")) s = QStringLiteral("0");
    return s;
}

QString AmountText(double value) {
    // Round half away from zero to cents first, as the format does.
    const double cents = std::round(value * 100.0);
    const bool negative = cents < 0;
    const long long c = static_cast<long long>(std::fabs(cents));
    QString whole = QString::number(c / 100);
    for (qsizetype i = whole.size() - 3; i > 0; i -= 3) whole.insert(i, u',');
    return QStringLiteral("%1%2.%3").arg(negative ? "-" : "", whole)
        .arg(c % 100, 2, 10, QLatin1Char('0'));
}

QString DateMDY(const QDate& d) { return d.toString(QStringLiteral("MM/dd/yyyy")); }
QString DateISO(const QDate& d) { return d.toString(QStringLiteral("yyyy-MM-dd")); }
QString ShortDate(const QDate& d) { return d.toString(QStringLiteral("M/d/yyyy")); }

QString GeneralDate(const QDateTime& dt) {
    if (!dt.isValid()) return QString();
    const QLocale en(QLocale::English, QLocale::UnitedStates);
    if (dt.time() == QTime(0, 0)) return ShortDate(dt.date());
    return ShortDate(dt.date()) + u' ' + en.toString(dt.time(), QStringLiteral("h:mm:ss AP"));
}

QDateTime ParseDateTime(const QString& input) {
    static const QRegularExpression mdy(
        QStringLiteral(R"(^\s*(\d{1,2})/(\d{1,2})/(\d{4})(?:\s+(\d{1,2}):(\d{2})(?::(\d{2}))?\s*([AaPp][Mm])?)?\s*$)"));
    static const QRegularExpression iso(
        QStringLiteral(R"(^\s*(\d{4})-(\d{1,2})-(\d{1,2})(?:[ T](\d{1,2}):(\d{2})(?::(\d{2})(?:\.\d+)?)?)?\s*$)"));
    int y = 0, mo = 0, d = 0, h = 0, mi = 0, se = 0;
    QString ampm;
    if (auto m = mdy.match(input); m.hasMatch()) {
        mo = m.captured(1).toInt(); d = m.captured(2).toInt(); y = m.captured(3).toInt();
        h = m.captured(4).toInt(); mi = m.captured(5).toInt(); se = m.captured(6).toInt();
        ampm = m.captured(7).toUpper();
    } else if (auto m2 = iso.match(input); m2.hasMatch()) {
        y = m2.captured(1).toInt(); mo = m2.captured(2).toInt(); d = m2.captured(3).toInt();
        h = m2.captured(4).toInt(); mi = m2.captured(5).toInt(); se = m2.captured(6).toInt();
    } else {
        return QDateTime();
    }
    if (!ampm.isEmpty()) {
        if (h < 1 || h > 12) return QDateTime();
        if (ampm == QLatin1String("PM") && h != 12) h += 12;
        if (ampm == QLatin1String("AM") && h == 12) h = 0;
    }
    const QDate date(y, mo, d);
    const QTime time(h, mi, se);
    if (!date.isValid() || !time.isValid()) return QDateTime();
    return QDateTime(date, time);
}

QString VariantText(const QVariant& v) {
    if (!v.isValid() || v.isNull()) return QString();
    switch (v.typeId()) {
    case QMetaType::Bool: return v.toBool() ? QStringLiteral("True") : QStringLiteral("False");
    case QMetaType::Double:
    case QMetaType::Float: return NumberText(v.toDouble());
    case QMetaType::QDateTime: return GeneralDate(v.toDateTime());
    case QMetaType::QDate: return ShortDate(v.toDate());
    default: return v.toString();
    }
}

namespace {
[[noreturn]] void invalidUseOfNull() {
    throw db::Failure(db::errnum::InvalidUseOfNull, QStringLiteral("Medical Social Service"),
                      QStringLiteral("Invalid use of Null"));
}
bool isNull(const QVariant& v) { return !v.isValid() || v.isNull(); }
}  // namespace

QString AsText(const QVariant& v) {
    if (isNull(v)) invalidUseOfNull();
    return VariantText(v);
}

double AsNumber(const QVariant& v) {
    if (isNull(v)) invalidUseOfNull();
    switch (v.typeId()) {
    case QMetaType::Bool: return v.toBool() ? -1.0 : 0.0;
    case QMetaType::QString: {
        const QString s = v.toString();
        if (!IsNumeric(s)) db::FailTypeMismatch();
        return Val(s);
    }
    default: {
        bool ok = false;
        const double d = v.toDouble(&ok);
        if (!ok) db::FailTypeMismatch();
        return d;
    }
    }
}

QDateTime AsDate(const QVariant& v) {
    if (isNull(v)) invalidUseOfNull();
    if (v.typeId() == QMetaType::QDateTime) return v.toDateTime();
    if (v.typeId() == QMetaType::QDate) return QDateTime(v.toDate(), QTime(0, 0));
    const QDateTime dt = ParseDateTime(v.toString());
    if (!dt.isValid()) db::FailTypeMismatch();
    return dt;
}

bool AsBool(const QVariant& v) {
    if (isNull(v)) invalidUseOfNull();
    if (v.typeId() == QMetaType::QString) {
        const QString s = Trim(v.toString());
        if (s.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0) return true;
        if (s.compare(QLatin1String("False"), Qt::CaseInsensitive) == 0) return false;
        if (!IsNumeric(s)) db::FailTypeMismatch();
        return Val(s) != 0.0;
    }
    return v.toDouble() != 0.0 || v.toBool();
}

int TwipsToPixels(int twips) { return static_cast<int>(std::lround(twips / 15.0)); }

}  // namespace mss::text
