// Dates as SQL Server reads, formats, adds and counts them.
#include "hospitaldb/tsql/runtime.h"

#include <QDateTime>
#include <QRegularExpression>
#include <cmath>
#include <sqlite3.h>

namespace hospitaldb::tsql {

namespace {
const char* const kMonths[] = {"January", "February", "March", "April", "May", "June", "July",
                               "August", "September", "October", "November", "December"};
const char* const kDays[] = {"Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday", "Sunday"};
// Style 130 names the months of the Hijri year in Arabic.
const char16_t* const kHijriMonths[] = {u"محرم", u"صفر", u"ربيع الاول", u"ربيع الثاني", u"جمادى الاولى",
                                        u"جمادى الثانية", u"رجب", u"شعبان", u"رمضان", u"شوال",
                                        u"ذو القعدة", u"ذو الحجة"};
constexpr int kDayMs = 86400000;
const QDate kEpoch(1900, 1, 1);

QString monAbbrev(int m) { return QString::fromLatin1(kMonths[m - 1]).left(3); }

int monthNumber(QStringView word) {
    if (word.size() < 3) return 0;
    for (int k = 0; k < 12; ++k) {
        const QString name = QString::fromLatin1(kMonths[k]);
        if (name.startsWith(word, Qt::CaseInsensitive) || (word.size() == 3 && name.left(3).compare(word, Qt::CaseInsensitive) == 0))
            return k + 1;
    }
    return 0;
}

int yearOf(int value, int digits) {
    if (digits > 2) return value;
    return value < 50 ? 2000 + value : 1900 + value;  // two-digit year cutoff 2049
}

enum class Order { MDY, DMY, YMD };

Order orderOfStyle(int style) {
    switch (style % 100) {
    case 3: case 4: case 5: case 6: case 13: case 30: case 31: return Order::DMY;
    case 2: case 11: case 12: case 20: case 21: case 23: case 26: case 27: return Order::YMD;
    default: return Order::MDY;
    }
}

// Hijri dates by the Kuwaiti algorithm, which SQL Server uses for styles 130 and 131.
void hijriOf(const QDate& d, int* y, int* m, int* day) {
    const double iyear = 10631.0 / 30.0;
    const double shift1 = 8.01 / 60.0;
    double z = double(d.toJulianDay() - 1948084);
    const double cyc = std::floor(z / 10631.0);
    z -= 10631.0 * cyc;
    const double j = std::floor((z - shift1) / iyear);
    *y = int(30 * cyc + j);
    z -= std::floor(j * iyear + shift1);
    int im = int(std::floor((z + 28.5001) / 29.5));
    if (im == 13) im = 12;
    *m = im;
    *day = int(z - std::floor(29.5001 * im - 29));
}

QDate fromHijri(int y, int m, int d) {
    const qint64 estimate = 1948440 + qint64(std::floor((y - 1) * 354.36667)) + qint64((m - 1) * 29.5) + d;
    for (qint64 jd = estimate - 40; jd <= estimate + 40; ++jd) {
        int hy, hm, hd;
        const QDate g = QDate::fromJulianDay(jd);
        hijriOf(g, &hy, &hm, &hd);
        if (hy == y && hm == m && hd == d) return g;
    }
    return {};
}

// The time of a text: "14:05", "2:05:07.123", "2:05:07:123 PM", "2PM".
bool parseTime(QStringView t, int* ms) {
    static const QRegularExpression re(QStringLiteral(
        R"(^(\d{1,2})(?::(\d{1,2})(?::(\d{1,2})(?:([.:])(\d{1,9}))?)?)?\s*([AaPp][Mm])?$)"));
    const QRegularExpressionMatch m = re.match(t);
    if (!m.hasMatch()) return false;
    if (!m.capturedLength(2) && !m.capturedLength(6)) return false;  // "14" alone is no time
    int h = m.captured(1).toInt();
    const int mi = m.captured(2).toInt();
    const int s = m.captured(3).toInt();
    int frac = 0;
    if (m.capturedLength(5)) {
        QString f = m.captured(5);
        if (m.captured(4) == QLatin1String(":")) frac = f.toInt();  // hh:mi:ss:mmm counts milliseconds
        else frac = (f + QStringLiteral("00")).left(3).toInt();  // finer fractions are cut to milliseconds
    }
    const QString ap = m.captured(6).toUpper();
    if (!ap.isEmpty()) {
        if (h > 12) return false;
        if (ap == QLatin1String("PM") && h < 12) h += 12;
        if (ap == QLatin1String("AM") && h == 12) h = 0;
    }
    if (h > 23 || mi > 59 || s > 59 || frac > 999) return false;
    *ms = ((h * 60 + mi) * 60 + s) * 1000 + frac;
    return true;
}

ParseResult parseDate(QStringView t, QDate* out, Order order) {
    static const QRegularExpression numeric(QStringLiteral(R"(^(\d{1,4})([/.-])(\d{1,2})\2(\d{1,4})$)"));
    static const QRegularExpression pair(QStringLiteral(R"(^(\d{1,2})[/.-](\d{4})$)"));
    static const QRegularExpression digits(QStringLiteral(R"(^\d{6}$|^\d{8}$)"));
    int y = 0, m = 0, d = 0;
    QRegularExpressionMatch k;
    if ((k = numeric.match(t)).hasMatch()) {
        const QString a = k.captured(1), c = k.captured(4);
        const int b = k.captured(3).toInt();
        if (a.size() > 2 && c.size() > 2) return ParseResult::Garbage;
        if (a.size() > 2) {  // year first: y-m-d
            y = a.toInt();
            m = b;
            d = c.toInt();
            if (c.size() > 2) return ParseResult::Garbage;
        } else if (order == Order::YMD) {
            y = yearOf(a.toInt(), int(a.size()));
            m = b;
            d = c.toInt();
        } else {
            y = yearOf(c.toInt(), int(c.size()));
            if (c.size() == 3) return ParseResult::Garbage;
            m = order == Order::MDY ? a.toInt() : b;
            d = order == Order::MDY ? b : a.toInt();
        }
    } else if ((k = pair.match(t)).hasMatch()) {
        m = k.captured(1).toInt();
        y = k.captured(2).toInt();
        d = 1;
    } else if (digits.match(t).hasMatch()) {
        if (t.size() == 8) {
            y = t.left(4).toInt();
            m = t.mid(4, 2).toInt();
            d = t.mid(6, 2).toInt();
        } else {
            y = yearOf(t.left(2).toInt(), 2);
            m = t.mid(2, 2).toInt();
            d = t.mid(4, 2).toInt();
        }
    } else {
        // Month names: "Mar 5 2024", "March 5, 2024", "5 Mar 2024", "Mar 2024".
        const QStringList parts = t.toString().split(QRegularExpression(QStringLiteral("[\\s,]+")), Qt::SkipEmptyParts);
        int month = 0, monthAt = -1;
        QList<QString> numbers;
        for (int i = 0; i < parts.size(); ++i) {
            bool isNumber = false;
            parts[i].toInt(&isNumber);
            if (isNumber) numbers << parts[i];
            else if (monthAt < 0 && (month = monthNumber(parts[i])) > 0) monthAt = i;
            else return ParseResult::Garbage;
        }
        if (monthAt < 0 || numbers.isEmpty() || numbers.size() > 2) return ParseResult::Garbage;
        m = month;
        if (numbers.size() == 1) {
            if (numbers[0].size() < 3) return ParseResult::Garbage;
            y = numbers[0].toInt();
            d = 1;
        } else if (numbers[0].size() > 2) {
            y = numbers[0].toInt();
            d = numbers[1].toInt();
        } else {
            d = numbers[0].toInt();
            y = yearOf(numbers[1].toInt(), int(numbers[1].size()));
        }
    }
    if (m < 1 || m > 12 || d < 1 || d > 31) return ParseResult::OutOfRange;
    const QDate date(y, m, d);
    if (!date.isValid()) return ParseResult::OutOfRange;
    *out = date;
    return ParseResult::Ok;
}

// Milliseconds as datetime keeps them: in steps of 1/300 second.
int datetimeMs(int ms) {
    const qint64 ticks = std::llround(ms * 0.3);
    return int(std::llround(ticks * 10.0 / 3.0));
}

QString pad2(int v) { return QStringLiteral("%1").arg(v, 2, 10, QLatin1Char('0')); }
QString pad3(int v) { return QStringLiteral("%1").arg(v, 3, 10, QLatin1Char('0')); }
QString space2(int v) { return QStringLiteral("%1").arg(v, 2, 10, QLatin1Char(' ')); }

QString hour12(int h) { return space2(h % 12 == 0 ? 12 : h % 12); }
QString ampm(int h) { return h < 12 ? QStringLiteral("AM") : QStringLiteral("PM"); }
}  // namespace

ParseResult parseMoment(QStringView input, Moment* out, int style) {
    const QStringView text = input.trimmed();
    *out = Moment{kEpoch, 0};
    if (text.isEmpty()) return ParseResult::Ok;
    // ISO 8601: yyyy-mm-ddThh:mi:ss[.mmm]
    qsizetype t = text.indexOf(QLatin1Char('T'));
    if (t == 10 && text.size() > 11 && text.at(4) == QLatin1Char('-')) {
        QDate d;
        const ParseResult r = parseDate(text.left(10), &d, Order::YMD);
        if (r != ParseResult::Ok) return r;
        int ms = 0;
        QStringView rest = text.mid(11);
        if (rest.endsWith(QLatin1Char('Z'))) rest.chop(1);
        if (!parseTime(rest, &ms)) return ParseResult::Garbage;
        *out = Moment{d, ms};
        return ParseResult::Ok;
    }
    // The time is the part holding a ':' or ending in AM/PM; the date is the rest.
    QStringView datePart = text, timePart;
    static const QRegularExpression timeAt(QStringLiteral(R"((?:^|\s)(\d{1,2}(?::\d{1,2}(?::\d{1,2}(?:[.:]\d{1,9})?)?)?\s*(?:[AaPp][Mm])?)$)"));
    const QRegularExpressionMatch tm = timeAt.match(text);
    if (tm.hasMatch() && (tm.captured(1).contains(QLatin1Char(':')) || tm.captured(1).endsWith(QLatin1Char('M'), Qt::CaseInsensitive))) {
        timePart = text.mid(tm.capturedStart(1));
        datePart = text.left(tm.capturedStart(1)).trimmed();
    }
    int ms = 0;
    if (!timePart.isEmpty() && !parseTime(timePart, &ms)) return ParseResult::Garbage;
    QDate d = kEpoch;
    if (!datePart.isEmpty()) {
        if (style == 130 || style == 131) {
            static const QRegularExpression h(QStringLiteral(R"(^(\d{1,2})[/ ](\d{1,2})[/ ](\d{4})$)"));
            const QRegularExpressionMatch hm = h.match(datePart);
            if (!hm.hasMatch()) return ParseResult::Garbage;
            d = fromHijri(hm.captured(3).toInt(), hm.captured(2).toInt(), hm.captured(1).toInt());
            if (!d.isValid()) return ParseResult::OutOfRange;
        } else {
            const ParseResult r = parseDate(datePart, &d, orderOfStyle(style));
            if (r != ParseResult::Ok) return r;
        }
    }
    *out = Moment{d, ms};
    return ParseResult::Ok;
}

QString storedText(const Moment& m, bool withTime) {
    QString s = m.date.toString(QStringLiteral("yyyy-MM-dd"));
    if (!withTime) return s;
    const int secs = m.ms / 1000;
    s += QLatin1Char(' ') + pad2(secs / 3600) + QLatin1Char(':') + pad2(secs / 60 % 60) + QLatin1Char(':') + pad2(secs % 60);
    if (m.ms % 1000) s += QLatin1Char('.') + pad3(m.ms % 1000);
    return s;
}

bool momentArg(sqlite3_value* v, Moment* out) {
    const int type = sqlite3_value_type(v);
    if (type == SQLITE_INTEGER || type == SQLITE_FLOAT) {
        // A number of days since 1900-01-01 (and the fraction of a day).
        const double days = sqlite3_value_double(v);
        const double whole = std::floor(days);
        out->date = kEpoch.addDays(qint64(whole));
        out->ms = datetimeMs(int(std::llround((days - whole) * kDayMs)));
        return out->date.isValid();
    }
    const auto* p = reinterpret_cast<const char*>(sqlite3_value_text(v));
    const int n = sqlite3_value_bytes(v);
    // The stored forms, without a regular expression.
    auto digits = [p](int at, int count) {
        int r = 0;
        for (int i = at; i < at + count; ++i) {
            if (p[i] < '0' || p[i] > '9') return -1;
            r = r * 10 + (p[i] - '0');
        }
        return r;
    };
    if ((n == 10 || n == 19 || n == 23) && p[4] == '-' && p[7] == '-') {
        const int y = digits(0, 4), mo = digits(5, 2), d = digits(8, 2);
        int h = 0, mi = 0, s = 0, f = 0;
        if (n >= 19) {
            h = digits(11, 2);
            mi = digits(14, 2);
            s = digits(17, 2);
            if (n == 23) f = p[19] == '.' ? digits(20, 3) : -1;
        }
        const QDate date(y, mo, d);
        if (y >= 0 && mo >= 0 && d >= 0 && h >= 0 && mi >= 0 && s >= 0 && f >= 0 && date.isValid()) {
            out->date = date;
            out->ms = ((h * 60 + mi) * 60 + s) * 1000 + f;
            return true;
        }
    }
    return parseMoment(QString::fromUtf8(p, n), out) == ParseResult::Ok;
}

QString formatMoment(const Moment& m, int style, int code) {
    const QDate& d = m.date;
    const int secs = m.ms / 1000, h = secs / 3600, mi = secs / 60 % 60, s = secs % 60, ms = m.ms % 1000;
    const QString yy = pad2(d.year() % 100), yyyy = QString::number(d.year());
    const QString mm = pad2(d.month()), dd = pad2(d.day()), mon = monAbbrev(d.month());
    const QString hms = pad2(h) + QLatin1Char(':') + pad2(mi) + QLatin1Char(':') + pad2(s);
    if (style == 0 && code == 5) style = 23;  // a date alone reads yyyy-mm-dd
    if (style == 0 && (code == 6 || code == 7)) {
        const QString fraction = QLatin1Char('.') + pad3(ms) + QStringLiteral("0000");
        if (code == 6) return hms + fraction;
        return d.toString(QStringLiteral("yyyy-MM-dd ")) + hms + fraction;
    }
    switch (style) {
    case 0: case 100:
        return mon + QLatin1Char(' ') + space2(d.day()) + QLatin1Char(' ') + yyyy + QLatin1Char(' ') + hour12(h) +
               QLatin1Char(':') + pad2(mi) + ampm(h);
    case 1: return mm + QLatin1Char('/') + dd + QLatin1Char('/') + yy;
    case 101: return mm + QLatin1Char('/') + dd + QLatin1Char('/') + yyyy;
    case 2: return yy + QLatin1Char('.') + mm + QLatin1Char('.') + dd;
    case 102: return yyyy + QLatin1Char('.') + mm + QLatin1Char('.') + dd;
    case 3: return dd + QLatin1Char('/') + mm + QLatin1Char('/') + yy;
    case 103: return dd + QLatin1Char('/') + mm + QLatin1Char('/') + yyyy;
    case 4: return dd + QLatin1Char('.') + mm + QLatin1Char('.') + yy;
    case 104: return dd + QLatin1Char('.') + mm + QLatin1Char('.') + yyyy;
    case 5: return dd + QLatin1Char('-') + mm + QLatin1Char('-') + yy;
    case 105: return dd + QLatin1Char('-') + mm + QLatin1Char('-') + yyyy;
    case 6: return dd + QLatin1Char(' ') + mon + QLatin1Char(' ') + yy;
    case 106: return dd + QLatin1Char(' ') + mon + QLatin1Char(' ') + yyyy;
    case 7: return mon + QLatin1Char(' ') + dd + QStringLiteral(", ") + yy;
    case 107: return mon + QLatin1Char(' ') + dd + QStringLiteral(", ") + yyyy;
    case 8: case 24: case 108: return hms;
    case 9: case 109:
        return mon + QLatin1Char(' ') + space2(d.day()) + QLatin1Char(' ') + yyyy + QLatin1Char(' ') + hour12(h) +
               QLatin1Char(':') + pad2(mi) + QLatin1Char(':') + pad2(s) + QLatin1Char(':') + pad3(ms) + ampm(h);
    case 10: return mm + QLatin1Char('-') + dd + QLatin1Char('-') + yy;
    case 110: return mm + QLatin1Char('-') + dd + QLatin1Char('-') + yyyy;
    case 11: return yy + QLatin1Char('/') + mm + QLatin1Char('/') + dd;
    case 111: return yyyy + QLatin1Char('/') + mm + QLatin1Char('/') + dd;
    case 12: return yy + mm + dd;
    case 112: return yyyy + mm + dd;
    case 13: case 113:
        return dd + QLatin1Char(' ') + mon + QLatin1Char(' ') + yyyy + QLatin1Char(' ') + hms + QLatin1Char(':') + pad3(ms);
    case 14: case 114: return hms + QLatin1Char(':') + pad3(ms);
    case 20: case 120: return yyyy + QLatin1Char('-') + mm + QLatin1Char('-') + dd + QLatin1Char(' ') + hms;
    case 21: case 25: case 121:
        return yyyy + QLatin1Char('-') + mm + QLatin1Char('-') + dd + QLatin1Char(' ') + hms + QLatin1Char('.') + pad3(ms);
    case 22:
        return mm + QLatin1Char('/') + dd + QLatin1Char('/') + yy + QLatin1Char(' ') + hour12(h) + QLatin1Char(':') +
               pad2(mi) + QLatin1Char(':') + pad2(s) + QLatin1Char(' ') + ampm(h);
    case 23: return yyyy + QLatin1Char('-') + mm + QLatin1Char('-') + dd;
    case 126: case 127:
        return yyyy + QLatin1Char('-') + mm + QLatin1Char('-') + dd + QLatin1Char('T') + hms +
               (ms ? QLatin1Char('.') + pad3(ms) : QString());
    case 130: case 131: {
        int hy, hm, hd;
        hijriOf(d, &hy, &hm, &hd);
        const QString time = hour12(h) + QLatin1Char(':') + pad2(mi) + QLatin1Char(':') + pad2(s) + QLatin1Char(':') + pad3(ms) + ampm(h);
        if (style == 131) return pad2(hd) + QLatin1Char('/') + pad2(hm) + QLatin1Char('/') + QString::number(hy) + QLatin1Char(' ') + time;
        return pad2(hd) + QLatin1Char(' ') + QString::fromUtf16(kHijriMonths[hm - 1]) + QLatin1Char(' ') + QString::number(hy) +
               QLatin1Char(' ') + time;
    }
    default: return storedText(m);
    }
}

namespace {
qint64 weekIndex(const QDate& d) { return (d.toJulianDay() + 1) / 7; }  // weeks start on Sunday

QString partArg(sqlite3_value* v) { return textArg(v); }

void fnDateTime(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    if (isNullArg(argv[0])) return sqlite3_result_null(ctx);
    const int style = argc > 1 ? sqlite3_value_int(argv[1]) : 0;
    const bool tryCast = argc > 2 && sqlite3_value_int(argv[2]);
    // 0 datetime (1/300 second), 1 smalldatetime (minutes), 2 datetime2 (kept as read).
    const int precision = argc > 3 ? sqlite3_value_int(argv[3]) : 0;
    const bool small = precision == 1;
    Moment m;
    ParseResult r = ParseResult::Ok;
    const int type = sqlite3_value_type(argv[0]);
    if (type == SQLITE_TEXT) r = parseMoment(textArg(argv[0]), &m, style);
    else if (!momentArg(argv[0], &m)) r = ParseResult::OutOfRange;
    if (r == ParseResult::Ok && small) {
        m.ms = int(std::llround(m.ms / 60000.0)) * 60000;
        if (m.ms >= kDayMs) { m.date = m.date.addDays(1); m.ms -= kDayMs; }
        if (m.date.year() < 1900 || m.date > QDate(2079, 6, 6)) r = ParseResult::OutOfRange;
    } else if (r == ParseResult::Ok) {
        if (precision == 0) m.ms = datetimeMs(m.ms);
        if (m.ms >= kDayMs) { m.date = m.date.addDays(1); m.ms -= kDayMs; }
        if (m.date.year() < (precision == 2 ? 1 : 1753) || m.date.year() > 9999) r = ParseResult::OutOfRange;
    }
    if (r != ParseResult::Ok) {
        if (tryCast) return sqlite3_result_null(ctx);
        if (r == ParseResult::OutOfRange)
            return resultFailure(ctx, 242, QStringLiteral("The conversion of a varchar data type to a %1 data type resulted in an out-of-range value.")
                                               .arg(small ? QStringLiteral("smalldatetime") : QStringLiteral("datetime")));
        return resultFailure(ctx, 241, QStringLiteral("Conversion failed when converting date and/or time from character string."));
    }
    resultText(ctx, storedText(m));
}

void fnDate(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    if (isNullArg(argv[0])) return sqlite3_result_null(ctx);
    const int style = argc > 1 ? sqlite3_value_int(argv[1]) : 0;
    const bool tryCast = argc > 2 && sqlite3_value_int(argv[2]);
    Moment m;
    ParseResult r = ParseResult::Ok;
    if (sqlite3_value_type(argv[0]) == SQLITE_TEXT) r = parseMoment(textArg(argv[0]), &m, style);
    else if (!momentArg(argv[0], &m)) r = ParseResult::OutOfRange;
    if (r != ParseResult::Ok) {
        if (tryCast) return sqlite3_result_null(ctx);
        return resultFailure(ctx, 241, QStringLiteral("Conversion failed when converting date and/or time from character string."));
    }
    resultText(ctx, storedText(m, false));
}

void fnTime(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    if (isNullArg(argv[0])) return sqlite3_result_null(ctx);
    const bool tryCast = argc > 2 && sqlite3_value_int(argv[2]);
    Moment m;
    if (!momentArg(argv[0], &m)) {
        if (tryCast) return sqlite3_result_null(ctx);
        return resultFailure(ctx, 241, QStringLiteral("Conversion failed when converting date and/or time from character string."));
    }
    resultText(ctx, storedText(m).mid(11));
}

bool twoMoments(sqlite3_context* ctx, sqlite3_value** argv, Moment* a, Moment* b) {
    if (!momentArg(argv[0], a) || !momentArg(argv[1], b)) {
        resultFailure(ctx, 241, QStringLiteral("Conversion failed when converting date and/or time from character string."));
        return false;
    }
    return true;
}

void fnDateDiff(sqlite3_context* ctx, int, sqlite3_value** argv) {
    if (isNullArg(argv[1]) || isNullArg(argv[2])) return sqlite3_result_null(ctx);
    Moment a, b;
    if (!twoMoments(ctx, argv + 1, &a, &b)) return;
    const QString part = partArg(argv[0]);
    // Boundaries crossed, as the server counts them.
    const qint64 days = a.date.daysTo(b.date);
    qint64 r = 0;
    if (part == QLatin1String("year")) r = b.date.year() - a.date.year();
    else if (part == QLatin1String("quarter"))
        r = (b.date.year() * 4 + (b.date.month() - 1) / 3) - (a.date.year() * 4 + (a.date.month() - 1) / 3);
    else if (part == QLatin1String("month")) r = (b.date.year() * 12 + b.date.month()) - (a.date.year() * 12 + a.date.month());
    else if (part == QLatin1String("week")) r = weekIndex(b.date) - weekIndex(a.date);
    else if (part == QLatin1String("day") || part == QLatin1String("dayofyear") || part == QLatin1String("weekday")) r = days;
    else if (part == QLatin1String("hour")) r = days * 24 + b.ms / 3600000 - a.ms / 3600000;
    else if (part == QLatin1String("minute")) r = days * 1440 + b.ms / 60000 - a.ms / 60000;
    else if (part == QLatin1String("second")) r = days * 86400 + b.ms / 1000 - a.ms / 1000;
    else {
        const qint64 msDiff = days * qint64(kDayMs) + b.ms - a.ms;
        if (part == QLatin1String("millisecond")) r = msDiff;
        else if (part == QLatin1String("microsecond")) r = msDiff * 1000;
        else r = msDiff * 1000000;
    }
    if (r > 2147483647LL || r < -2147483648LL)
        return resultFailure(ctx, 535, QStringLiteral("The datediff function resulted in an overflow. The number of dateparts separating two "
                                                      "date/time instances is too large. Try to use datediff with a less precise datepart."));
    sqlite3_result_int64(ctx, r);
}

void fnDateAdd(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    if (isNullArg(argv[1]) || isNullArg(argv[2])) return sqlite3_result_null(ctx);
    Moment m;
    if (!momentArg(argv[2], &m))
        return resultFailure(ctx, 241, QStringLiteral("Conversion failed when converting date and/or time from character string."));
    const bool dateOnly = argc > 3 && sqlite3_value_int(argv[3]);
    const QString part = partArg(argv[0]);
    const qint64 n = sqlite3_value_int64(argv[1]);
    qint64 addMs = 0;
    if (part == QLatin1String("year")) m.date = m.date.addYears(int(n));
    else if (part == QLatin1String("quarter")) m.date = m.date.addMonths(int(n * 3));
    else if (part == QLatin1String("month")) m.date = m.date.addMonths(int(n));
    else if (part == QLatin1String("week")) m.date = m.date.addDays(n * 7);
    else if (part == QLatin1String("day") || part == QLatin1String("dayofyear") || part == QLatin1String("weekday")) m.date = m.date.addDays(n);
    else if (part == QLatin1String("hour")) addMs = n * 3600000;
    else if (part == QLatin1String("minute")) addMs = n * 60000;
    else if (part == QLatin1String("second")) addMs = n * 1000;
    else if (part == QLatin1String("millisecond")) addMs = n;
    else if (part == QLatin1String("microsecond")) addMs = n / 1000;
    else addMs = n / 1000000;
    if (addMs) {
        const qint64 total = qint64(m.ms) + addMs;
        const qint64 dayShift = total >= 0 ? total / kDayMs : -((-total + kDayMs - 1) / kDayMs);
        m.date = m.date.addDays(dayShift);
        m.ms = datetimeMs(int(total - dayShift * kDayMs));
        if (m.ms >= kDayMs) { m.date = m.date.addDays(1); m.ms -= kDayMs; }
    }
    if (!m.date.isValid() || m.date.year() < (dateOnly ? 1 : 1753) || m.date.year() > 9999)
        return resultFailure(ctx, 517, QStringLiteral("Adding a value to a '%1' column caused an overflow.")
                                           .arg(dateOnly ? QStringLiteral("date") : QStringLiteral("datetime")));
    resultText(ctx, storedText(m, !dateOnly));
}

qint64 partOf(const Moment& m, const QString& part) {
    const QDate& d = m.date;
    if (part == QLatin1String("year")) return d.year();
    if (part == QLatin1String("quarter")) return (d.month() - 1) / 3 + 1;
    if (part == QLatin1String("month")) return d.month();
    if (part == QLatin1String("dayofyear")) return d.dayOfYear();
    if (part == QLatin1String("day")) return d.day();
    if (part == QLatin1String("week")) {
        // Week 1 holds January 1st; weeks start on Sunday.
        const int jan1 = QDate(d.year(), 1, 1).dayOfWeek() % 7;
        return (d.dayOfYear() - 1 + jan1) / 7 + 1;
    }
    if (part == QLatin1String("weekday")) return d.dayOfWeek() % 7 + 1;  // Sunday is 1
    if (part == QLatin1String("hour")) return m.ms / 3600000;
    if (part == QLatin1String("minute")) return m.ms / 60000 % 60;
    if (part == QLatin1String("second")) return m.ms / 1000 % 60;
    if (part == QLatin1String("millisecond")) return m.ms % 1000;
    if (part == QLatin1String("microsecond")) return qint64(m.ms % 1000) * 1000;
    if (part == QLatin1String("nanosecond")) return qint64(m.ms % 1000) * 1000000;
    if (part == QLatin1String("iso_week")) return d.weekNumber();
    return 0;  // tzoffset
}

void fnDatePart(sqlite3_context* ctx, int, sqlite3_value** argv) {
    if (isNullArg(argv[1])) return sqlite3_result_null(ctx);
    Moment m;
    if (!momentArg(argv[1], &m))
        return resultFailure(ctx, 241, QStringLiteral("Conversion failed when converting date and/or time from character string."));
    sqlite3_result_int64(ctx, partOf(m, partArg(argv[0])));
}

void fnDateName(sqlite3_context* ctx, int, sqlite3_value** argv) {
    if (isNullArg(argv[1])) return sqlite3_result_null(ctx);
    Moment m;
    if (!momentArg(argv[1], &m))
        return resultFailure(ctx, 241, QStringLiteral("Conversion failed when converting date and/or time from character string."));
    const QString part = partArg(argv[0]);
    if (part == QLatin1String("month")) return resultText(ctx, QString::fromLatin1(kMonths[m.date.month() - 1]));
    if (part == QLatin1String("weekday")) return resultText(ctx, QString::fromLatin1(kDays[m.date.dayOfWeek() - 1]));
    resultText(ctx, QString::number(partOf(m, part)));
}

void fnEndOfMonth(sqlite3_context* ctx, int, sqlite3_value** argv) {
    if (isNullArg(argv[0]) || isNullArg(argv[1])) return sqlite3_result_null(ctx);
    Moment m;
    if (!momentArg(argv[0], &m))
        return resultFailure(ctx, 241, QStringLiteral("Conversion failed when converting date and/or time from character string."));
    QDate d = m.date.addMonths(sqlite3_value_int(argv[1]));
    d = QDate(d.year(), d.month(), d.daysInMonth());
    resultText(ctx, d.toString(QStringLiteral("yyyy-MM-dd")));
}

void fnDateFromParts(sqlite3_context* ctx, int, sqlite3_value** argv) {
    for (int i = 0; i < 3; ++i)
        if (isNullArg(argv[i])) return sqlite3_result_null(ctx);
    const QDate d(sqlite3_value_int(argv[0]), sqlite3_value_int(argv[1]), sqlite3_value_int(argv[2]));
    if (!d.isValid() || d.year() < 1 || d.year() > 9999)
        return resultFailure(ctx, 289, QStringLiteral("Cannot construct data type date, some of the arguments have values which are not valid."));
    resultText(ctx, d.toString(QStringLiteral("yyyy-MM-dd")));
}

void fnIsDate(sqlite3_context* ctx, int, sqlite3_value** argv) {
    if (isNullArg(argv[0])) return sqlite3_result_int(ctx, 0);
    const QString s = textArg(argv[0]);
    Moment m;
    const bool ok = !s.trimmed().isEmpty() && parseMoment(s, &m) == ParseResult::Ok && m.date.year() >= 1753;
    sqlite3_result_int(ctx, ok ? 1 : 0);
}

void fnUtcNow(sqlite3_context* ctx, int, sqlite3_value**) {
    const QDateTime now = QDateTime::currentDateTimeUtc();
    resultText(ctx, storedText(Moment{now.date(), now.time().msecsSinceStartOfDay() / 1000 * 1000}));
}
}  // namespace

void registerDateFunctions(sqlite3* db) {
    struct Fn { const char* name; int argc; void (*f)(sqlite3_context*, int, sqlite3_value**); bool det; };
    static const Fn fns[] = {
        {"tsql_datetime", 1, fnDateTime, true}, {"tsql_datetime", 4, fnDateTime, true},
        {"tsql_date", 3, fnDate, true},         {"tsql_time", 3, fnTime, true},
        {"tsql_datediff", 3, fnDateDiff, true}, {"tsql_dateadd", 3, fnDateAdd, true},
        {"tsql_dateadd", 4, fnDateAdd, true},   {"tsql_datepart", 2, fnDatePart, true},
        {"tsql_datename", 2, fnDateName, true}, {"tsql_eomonth", 2, fnEndOfMonth, true},
        {"tsql_datefromparts", 3, fnDateFromParts, true}, {"tsql_isdate", 1, fnIsDate, true},
        {"tsql_utcnow", 0, fnUtcNow, false},
    };
    for (const Fn& f : fns)
        sqlite3_create_function_v2(db, f.name, f.argc, SQLITE_UTF8 | (f.det ? SQLITE_DETERMINISTIC : 0), nullptr, f.f,
                                   nullptr, nullptr, nullptr);
}

}  // namespace hospitaldb::tsql
