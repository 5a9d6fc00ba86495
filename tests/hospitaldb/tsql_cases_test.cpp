// T-SQL as report authors write it, with the answers SQL Server gives (from its
// documentation and documented rules, not from this engine). An answer starting with "!" is
// a failure: its number, and the message when one follows.
#include "testdb.h"

#include <gmock/gmock.h>

#include <QDateTime>
#include <QRegularExpression>
#include <charconv>

using namespace hospitaldb;
using namespace hospitaldb::testing;

namespace {

struct Case {
    const char* sql;
    const char* answer;  // rows joined by ";", columns by "|", NULL for null
};

// A small table of the kinds of values reports read.
const char* const kCaseTable = R"(
CREATE TABLE MSS__tbCase (Id INTEGER PRIMARY KEY, Name TEXT COLLATE TSQL, Amount MONEY, Price DECIMAL(10,2),
                          Rate REAL, Qty INTEGER, Stamp DATETIME, Day DATE, Code TEXT COLLATE TSQL);
INSERT INTO MSS__tbCase VALUES (1, 'Nava', 1500.5, 10.25, 0.5, 1, '2024-03-05 14:05:07', '2024-03-05', '7');
INSERT INTO MSS__tbCase VALUES (2, 'Ñato', 0.1, 3, 0.25, 2, '2024-03-02 08:00:00', '2024-03-02', 'A7');
INSERT INTO MSS__tbCase VALUES (3, 'oca', 200, 2.5, 1, 2, '2023-12-31 23:59:59', '2023-12-31', NULL);
INSERT INTO MSS__tbCase VALUES (4, 'Pérez', 3000, NULL, NULL, 5, NULL, NULL, '');
)";

QString render(const QVariant& v) {
    if (!v.isValid() || v.isNull()) return QStringLiteral("NULL");
    switch (v.typeId()) {
    case QMetaType::Double: {
        char buf[64];
        const auto r = std::to_chars(buf, buf + sizeof buf, v.toDouble());
        return QString::fromLatin1(buf, int(r.ptr - buf));
    }
    case QMetaType::QDateTime: {
        const QDateTime dt = v.toDateTime();
        return dt.toString(dt.time().msec() ? QStringLiteral("yyyy-MM-dd HH:mm:ss.zzz") : QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    }
    default: return v.toString();
    }
}

QString answerOf(TestDb& t, const QString& sql) {
    try {
        const ResultTable r = t.run(sql);
        QStringList rows;
        for (const auto& row : r.rows) {
            QStringList cols;
            for (const QVariant& v : row) cols << render(v);
            rows << cols.join(QLatin1Char('|'));
        }
        return rows.join(QLatin1Char(';'));
    } catch (const Failure& f) {
        return QStringLiteral("!%1 %2").arg(f.Number).arg(f.Description);
    }
}

void check(TestDb& t, const Case& c) {
    const QString sql = QString::fromUtf8(c.sql);
    const QString expected = QString::fromUtf8(c.answer);
    const QString actual = answerOf(t, sql);
    if (expected.startsWith(QLatin1Char('!')) && !expected.contains(QLatin1Char(' '))) {
        // Only the number is given.
        EXPECT_EQ(actual.section(QLatin1Char(' '), 0, 0), expected) << c.sql << "\n  answered: " << actual.toStdString();
        return;
    }
    EXPECT_EQ(actual, expected) << c.sql;
}

class TsqlCases : public ::testing::Test {
protected:
    void SetUp() override { t.db->engine().runScript(QString::fromUtf8(kCaseTable)); }
    void run(std::initializer_list<Case> cases) {
        for (const Case& c : cases) check(t, c);
    }
    TestDb t;
};

TEST_F(TsqlCases, PlusFollowsTypePrecedence) {
    run({
        {"SELECT '1' + 1", "2"},
        {"SELECT 1 + '1'", "2"},
        {"SELECT '1' + '1'", "11"},
        {"SELECT 'a' + 1", "!245 Conversion failed when converting the varchar value 'a' to data type int."},
        {"SELECT 1.5 + '1'", "2.5"},
        {"SELECT 'x' + NULL", "NULL"},
        {"SELECT CAST(5 AS varchar) + 'x'", "5x"},
        {"SELECT Qty + '2' FROM MSS..tbCase WHERE Id = 4", "7"},
        {"SELECT Name + 1 FROM MSS..tbCase WHERE Id = 1", "!245 Conversion failed when converting the varchar value 'Nava' to data type int."},
        {"SELECT Name + ' ' + Code FROM MSS..tbCase WHERE Id = 1", "Nava 7"},
        {"SELECT Code + 1 FROM MSS..tbCase WHERE Id = 1", "8"},
        {"SELECT Stamp + 1 FROM MSS..tbCase WHERE Id = 1", "2024-03-06 14:05:07"},
    });
}

TEST_F(TsqlCases, LikeTakesTsqlPatterns) {
    run({
        {"SELECT CASE WHEN 'abc' LIKE '[a-c]%' THEN 1 ELSE 0 END", "1"},
        {"SELECT CASE WHEN 'dbc' LIKE '[a-c]%' THEN 1 ELSE 0 END", "0"},
        {"SELECT CASE WHEN 'a_c' LIKE 'a[_]c' THEN 1 ELSE 0 END", "1"},
        {"SELECT CASE WHEN 'abc' LIKE 'a[_]c' THEN 1 ELSE 0 END", "0"},
        {"SELECT CASE WHEN 'b' LIKE '[^a]' THEN 1 ELSE 0 END", "1"},
        {"SELECT CASE WHEN 'a' LIKE '[^a]' THEN 1 ELSE 0 END", "0"},
        {"SELECT CASE WHEN 'x' LIKE '[abc]' THEN 1 ELSE 0 END", "0"},
        {"SELECT CASE WHEN '10%' LIKE '10!%' ESCAPE '!' THEN 1 ELSE 0 END", "1"},
        {"SELECT CASE WHEN '100' LIKE '10!%' ESCAPE '!' THEN 1 ELSE 0 END", "0"},
        {"SELECT CASE WHEN 'ABC' LIKE 'abc' THEN 1 ELSE 0 END", "1"},
        {"SELECT CASE WHEN 'ÑANDÚ' LIKE 'ñandú' THEN 1 ELSE 0 END", "1"},
        {"SELECT CASE WHEN 'é' LIKE 'e' THEN 1 ELSE 0 END", "0"},
        // Trailing blanks of the value are ignored, those of the pattern are not.
        {"SELECT CASE WHEN 'abc  ' LIKE 'abc' THEN 1 ELSE 0 END", "1"},
        {"SELECT CASE WHEN 'abc' LIKE 'abc ' THEN 1 ELSE 0 END", "0"},
        {"SELECT CASE WHEN 'abc' NOT LIKE 'a%' THEN 1 ELSE 0 END", "0"},
        {"SELECT CASE WHEN NULL LIKE 'a%' THEN 1 ELSE 0 END", "0"},
        {"SELECT Id FROM MSS..tbCase WHERE Name LIKE '[m-o]%' ORDER BY Id", "1;2;3"},
        {"SELECT Id FROM MSS..tbCase WHERE Code LIKE '%7' ORDER BY Id", "1;2"},
        {"SELECT CASE WHEN 123 LIKE '1%' THEN 1 ELSE 0 END", "1"},
    });
}

TEST_F(TsqlCases, StringFunctions) {
    run({
        {"SELECT CHARINDEX('b', 'abcabc')", "2"},
        {"SELECT CHARINDEX('b', 'abcabc', 3)", "5"},
        {"SELECT CHARINDEX('B', 'abc')", "2"},
        {"SELECT CHARINDEX('z', 'abc')", "0"},
        {"SELECT PATINDEX('%[0-9]%', 'abc123')", "4"},
        {"SELECT PATINDEX('%xyz%', 'abc')", "0"},
        {"SELECT DATALENGTH('abc  ')", "5"},
        {"SELECT DATALENGTH(N'abc')", "6"},
        {"SELECT DATALENGTH(Qty) FROM MSS..tbCase WHERE Id = 1", "4"},
        {"SELECT LEN('abc  ')", "3"},
        {"SELECT LEN('  abc')", "5"},
        {"SELECT LEN(12345)", "5"},
        {"SELECT REPLICATE('ab', 3)", "ababab"},
        {"SELECT REPLICATE('a', -1)", "NULL"},
        {"SELECT SPACE(3) + 'x'", "   x"},
        {"SELECT REVERSE('abc')", "cba"},
        {"SELECT STUFF('abcdef', 2, 3, 'ijklmn')", "aijklmnef"},
        {"SELECT STUFF('abc', 5, 1, 'x')", "NULL"},
        {"SELECT STR(123.45, 6, 1)", " 123.5"},
        {"SELECT STR(123.45, 2, 2)", "**"},
        {"SELECT STR(12)", "        12"},
        {"SELECT CONCAT('a', NULL, 1, 'b')", "a1b"},
        {"SELECT QUOTENAME('abc[]def')", "[abc[]]def]"},
        {"SELECT QUOTENAME('x', '\"')", "\"x\""},
        {"SELECT ISNUMERIC('12.5')", "1"},
        {"SELECT ISNUMERIC('abc')", "0"},
        {"SELECT ISNUMERIC('$')", "1"},
        {"SELECT ISNUMERIC('')", "0"},
        {"SELECT ISNUMERIC('1e5')", "1"},
        {"SELECT ISNUMERIC(Name) FROM MSS..tbCase WHERE Id = 1", "0"},
        {"SELECT UPPER('ñandú')", "ÑANDÚ"},
        {"SELECT LOWER('ÉCOLE')", "école"},
        {"SELECT LEFT('abcdef', 3)", "abc"},
        {"SELECT RIGHT('abcdef', 2)", "ef"},
        {"SELECT SUBSTRING('abcdef', 2, 3)", "bcd"},
        {"SELECT SUBSTRING('abc', 0, 2)", "a"},
        {"SELECT SUBSTRING('abc', -1, 3)", "a"},
        {"SELECT LEFT('abc', -1)", "!537"},
        {"SELECT REPLACE('abcABC', 'b', 'x')", "axcAxC"},
        {"SELECT LTRIM('  a ') + '|'", "a |"},
        {"SELECT RTRIM(' a  ') + '|'", " a|"},
        {"SELECT ASCII('A')", "65"},
        {"SELECT CHAR(65)", "A"},
        {"SELECT LEFT(Stamp, 11) FROM MSS..tbCase WHERE Id = 1", "Mar  5 2024"},
    });
}

TEST_F(TsqlCases, ComparisonsFollowTheCollation) {
    run({
        {"SELECT CASE WHEN 'é' = 'É' THEN 1 ELSE 0 END", "1"},
        {"SELECT CASE WHEN 'e' = 'é' THEN 1 ELSE 0 END", "0"},
        {"SELECT CASE WHEN 'abc' = 'ABC   ' THEN 1 ELSE 0 END", "1"},
        {"SELECT CASE WHEN UPPER('a') = LOWER('A') THEN 1 ELSE 0 END", "1"},
        {"SELECT Id FROM MSS..tbCase WHERE Name = 'ÑATO'", "2"},
        {"SELECT Id FROM MSS..tbCase WHERE Name IN ('pérez', 'NAVA') ORDER BY Id", "1;4"},
        // Accented letters sort beside their base letter.
        {"SELECT Name FROM MSS..tbCase ORDER BY Name", "Ñato;Nava;oca;Pérez"},
        {"SELECT Name FROM MSS..tbCase WHERE Name > 'n' AND Name < 'o' ORDER BY Name", "Ñato;Nava"},
        {"SELECT MAX(Name) FROM MSS..tbCase", "Pérez"},
    });
}

TEST_F(TsqlCases, DatesConvertByStyle) {
    const char* d = "CAST('2024-03-05 14:05:07' AS datetime)";
    const QList<std::pair<int, const char*>> styles{
        {0, "Mar  5 2024  2:05PM"}, {100, "Mar  5 2024  2:05PM"}, {1, "03/05/24"}, {101, "03/05/2024"},
        {2, "24.03.05"}, {102, "2024.03.05"}, {3, "05/03/24"}, {103, "05/03/2024"}, {4, "05.03.24"},
        {104, "05.03.2024"}, {5, "05-03-24"}, {105, "05-03-2024"}, {6, "05 Mar 24"}, {106, "05 Mar 2024"},
        {7, "Mar 05, 24"}, {107, "Mar 05, 2024"}, {8, "14:05:07"}, {108, "14:05:07"},
        {9, "Mar  5 2024  2:05:07:000PM"}, {109, "Mar  5 2024  2:05:07:000PM"}, {10, "03-05-24"},
        {110, "03-05-2024"}, {11, "24/03/05"}, {111, "2024/03/05"}, {12, "240305"}, {112, "20240305"},
        {13, "05 Mar 2024 14:05:07:000"}, {113, "05 Mar 2024 14:05:07:000"}, {14, "14:05:07:000"},
        {114, "14:05:07:000"}, {20, "2024-03-05 14:05:07"}, {120, "2024-03-05 14:05:07"},
        {21, "2024-03-05 14:05:07.000"}, {121, "2024-03-05 14:05:07.000"}, {22, "03/05/24  2:05:07 PM"},
        {23, "2024-03-05"}, {126, "2024-03-05T14:05:07"}};
    for (const auto& [style, text] : styles) {
        const QString sql = QStringLiteral("SELECT CONVERT(varchar(30), %1, %2)").arg(QString::fromLatin1(d)).arg(style);
        EXPECT_EQ(answerOf(t, sql), QString::fromUtf8(text)) << "style " << style;
    }
    // Hijri dates: 11 March 2024 is 1 Ramadan 1445 (the ninth month).
    EXPECT_THAT(answerOf(t, "SELECT CONVERT(nvarchar(40), CAST('2024-03-11' AS datetime), 131)").toStdString(),
                ::testing::MatchesRegex("0?[1-2]/09/1445 12:00:00:000AM"));
    EXPECT_THAT(answerOf(t, "SELECT CONVERT(nvarchar(40), CAST('2024-03-11' AS datetime), 130)").toStdString(),
                ::testing::HasSubstr(QStringLiteral(" رمضان 1445 ").toStdString()));
    run({
        {"SELECT CONVERT(varchar(11), Stamp, 106) FROM MSS..tbCase WHERE Id = 1", "05 Mar 2024"},
        {"SELECT CONVERT(varchar(10), Stamp, 101) FROM MSS..tbCase WHERE Id = 1", "03/05/2024"},
        {"SELECT CONVERT(varchar, GETDATE(), 7777)",
         "!281 7777 is not a valid style number when converting from datetime to a character string."},
        {"SELECT CONVERT(varchar, GETDATE(), 15)", "!281"},
        {"SELECT CONVERT(datetime, '05/03/2024', 103)", "2024-03-05 00:00:00"},
        {"SELECT CONVERT(datetime, '20240305', 112)", "2024-03-05 00:00:00"},
        {"SELECT CAST('March 5, 2024 2:05 PM' AS datetime)", "2024-03-05 14:05:00"},
        {"SELECT CAST('2024-03-05T14:05:07.123' AS datetime)", "2024-03-05 14:05:07.123"},
        {"SELECT CAST('2024-02-30' AS datetime)", "!242"},
        {"SELECT CAST('someday' AS datetime)", "!241"},
        {"SELECT CAST('' AS datetime)", "1900-01-01 00:00:00"},
        {"SELECT CAST(Stamp AS date) FROM MSS..tbCase WHERE Id = 1", "2024-03-05 00:00:00"},
        {"SELECT CAST(Stamp AS varchar) FROM MSS..tbCase WHERE Id = 1", "Mar  5 2024  2:05PM"},
        {"SELECT CAST(Day AS varchar) FROM MSS..tbCase WHERE Id = 1", "2024-03-05"},
        {"SELECT COUNT(*) FROM MSS..tbCase WHERE CAST(Stamp AS date) = '2024-03-05'", "1"},
        {"SELECT COUNT(*) FROM MSS..tbCase WHERE Stamp IN ('03/05/2024 14:05:07', '2024-03-02 08:00')", "2"},
        {"SELECT COUNT(*) FROM MSS..tbCase WHERE ISNULL(Stamp, '2025-01-01') > '01/01/2024'", "3"},
        {"SELECT COUNT(*) FROM MSS..tbCase WHERE Stamp BETWEEN '3/1/2024' AND '3/31/2024'", "2"},
        // An empty text is 1900-01-01 to the server, not NULL.
        {"SELECT ISNULL(Stamp, '') FROM MSS..tbCase WHERE Id = 4", "1900-01-01 00:00:00"},
    });
}

TEST_F(TsqlCases, DateArithmeticCountsBoundaries) {
    run({
        // Every part crosses one boundary between these two instants.
        {"SELECT DATEDIFF(year, '2005-12-31 23:59:59.9999999', '2006-01-01 00:00:00.0000000')", "1"},
        {"SELECT DATEDIFF(quarter, '2005-12-31 23:59:59.9999999', '2006-01-01 00:00:00.0000000')", "1"},
        {"SELECT DATEDIFF(month, '2005-12-31 23:59:59.9999999', '2006-01-01 00:00:00.0000000')", "1"},
        {"SELECT DATEDIFF(dayofyear, '2005-12-31 23:59:59.9999999', '2006-01-01 00:00:00.0000000')", "1"},
        {"SELECT DATEDIFF(day, '2005-12-31 23:59:59.9999999', '2006-01-01 00:00:00.0000000')", "1"},
        {"SELECT DATEDIFF(week, '2005-12-31 23:59:59.9999999', '2006-01-01 00:00:00.0000000')", "1"},
        {"SELECT DATEDIFF(hour, '2005-12-31 23:59:59.9999999', '2006-01-01 00:00:00.0000000')", "1"},
        {"SELECT DATEDIFF(minute, '2005-12-31 23:59:59.9999999', '2006-01-01 00:00:00.0000000')", "1"},
        {"SELECT DATEDIFF(second, '2005-12-31 23:59:59.9999999', '2006-01-01 00:00:00.0000000')", "1"},
        {"SELECT DATEDIFF(millisecond, '2005-12-31 23:59:59.999', '2006-01-01 00:00:00.000')", "1"},
        // Weeks start on Sunday: Saturday to Sunday is a week, Sunday to Saturday is none.
        {"SELECT DATEDIFF(week, '2024-03-02', '2024-03-03')", "1"},
        {"SELECT DATEDIFF(week, '2024-03-03', '2024-03-09')", "0"},
        {"SELECT DATEDIFF(hour, '2024-03-05 10:59', '2024-03-05 11:00')", "1"},
        {"SELECT DATEDIFF(day, Stamp, '2024-03-06') FROM MSS..tbCase WHERE Id = 1", "1"},
        {"SELECT DATEDIFF(millisecond, '2000-01-01', '2024-01-01')", "!535"},
        {"SELECT DATEPART(dayofyear, '2024-03-05')", "65"},
        {"SELECT DATEPART(dy, '2024-03-05')", "65"},
        {"SELECT DATEPART(weekday, '2024-03-05')", "3"},
        {"SELECT DATEPART(week, '2024-03-05')", "10"},
        {"SELECT DATEPART(iso_week, '2024-03-05')", "10"},
        {"SELECT DATEPART(quarter, '2024-03-05')", "1"},
        {"SELECT DATEPART(hour, Stamp) FROM MSS..tbCase WHERE Id = 1", "14"},
        {"SELECT DATENAME(month, '2024-03-05')", "March"},
        {"SELECT DATENAME(weekday, '2024-03-05')", "Tuesday"},
        {"SELECT DATENAME(year, '2024-03-05')", "2024"},
        {"SELECT YEAR(Stamp), MONTH(Stamp), DAY(Stamp) FROM MSS..tbCase WHERE Id = 1", "2024|3|5"},
        {"SELECT EOMONTH('2024-02-10')", "2024-02-29 00:00:00"},
        {"SELECT EOMONTH('2024-01-31', 1)", "2024-02-29 00:00:00"},
        {"SELECT DATEFROMPARTS(2024, 2, 29)", "2024-02-29 00:00:00"},
        {"SELECT DATEFROMPARTS(2024, 2, 30)", "!289"},
        {"SELECT ISDATE('2024-02-30')", "0"},
        {"SELECT ISDATE('02/29/2024')", "1"},
        {"SELECT ISDATE('abc')", "0"},
        {"SELECT DATEADD(month, 1, '2024-01-31')", "2024-02-29 00:00:00"},
        {"SELECT DATEADD(day, 1, Day) FROM MSS..tbCase WHERE Id = 1", "2024-03-06 00:00:00"},
        {"SELECT DATEADD(hour, 1, Day) FROM MSS..tbCase WHERE Id = 1", "!9810"},
        {"SELECT DATEADD(quarter, 1, Stamp) FROM MSS..tbCase WHERE Id = 1", "2024-06-05 14:05:07"},
        {"SELECT DATEADD(foo, 1, GETDATE())", "!155 'foo' is not a recognized dateadd option."},
    });
}

TEST_F(TsqlCases, NumbersKeepTheirTypes) {
    run({
        {"SELECT CAST(CAST(1500.5 AS money) AS varchar)", "1500.50"},
        {"SELECT CAST(Amount AS varchar) FROM MSS..tbCase WHERE Id = 1", "1500.50"},
        {"SELECT CONVERT(varchar, CAST(1234567.891 AS money), 1)", "1,234,567.89"},
        {"SELECT CONVERT(varchar, Amount, 2) FROM MSS..tbCase WHERE Id = 2", "0.1000"},
        {"SELECT CAST(Price AS varchar(12)) FROM MSS..tbCase WHERE Id = 2", "3.00"},
        {"SELECT CAST(2.675 AS decimal(5,2))", "2.68"},
        {"SELECT CAST(-2.675 AS decimal(5,2))", "-2.68"},
        {"SELECT CAST(123.456 AS decimal(5,1))", "123.5"},
        {"SELECT CAST(12345.6 AS decimal(5,2))", "!8115"},
        {"SELECT CAST(CAST(10 AS decimal(5,2)) AS varchar)", "10.00"},
        {"SELECT CAST('abc' AS decimal(5,2))", "!8114 Error converting data type varchar to numeric."},
        {"SELECT CAST('12.5' AS int)", "!245 Conversion failed when converting the varchar value '12.5' to data type int."},
        {"SELECT CAST(' 12 ' AS int)", "12"},
        {"SELECT CAST(12.9 AS int)", "12"},
        {"SELECT CAST(-12.9 AS int)", "-12"},
        {"SELECT CAST('$1,234.50' AS money)", "1234.5"},
        {"SELECT TRY_CAST('abc' AS int)", "NULL"},
        {"SELECT TRY_CONVERT(int, '12')", "12"},
        {"SELECT TRY_CAST('2024-02-30' AS datetime)", "NULL"},
        {"SELECT TRY_CONVERT(decimal(5,2), '1.005')", "1.01"},
        {"SELECT 7 / 2", "3"},
        {"SELECT -7 / 2", "-3"},
        {"SELECT 7 % 3", "1"},
        {"SELECT 7 / 2.0", "3.5"},
        {"SELECT 1 / 0", "!8134 Divide by zero error encountered."},
        {"SELECT 1.0 / 0", "!8134"},
        {"SELECT CAST(1 AS money) / CAST(3 AS money)", "0.3333"},
        {"SELECT Amount / Qty FROM MSS..tbCase WHERE Id = 3", "100"},
        {"SELECT Amount / 400 * 200 FROM MSS..tbCase WHERE Id = 3", "100"},
        {"SELECT Price * Qty FROM MSS..tbCase WHERE Id = 1", "10.25"},
        {"SELECT Amount + Amount FROM MSS..tbCase WHERE Id = 2", "0.2"},
        {"SELECT ROUND(123.4567, 2)", "123.46"},
        {"SELECT ROUND(123.45, -1)", "120"},
        {"SELECT ROUND(150, -2)", "200"},
        {"SELECT ROUND(123.4567, 2, 1)", "123.45"},
        {"SELECT ABS(-5), CEILING(1.2), FLOOR(-1.2), POWER(2, 10), SQRT(16)", "5|2|-2|1024|4"},
        {"SELECT IIF(1 > 0, 'yes', 'no')", "yes"},
        {"SELECT CHOOSE(2, 'a', 'b', 'c')", "b"},
        {"SELECT CHOOSE(4, 'a', 'b', 'c')", "NULL"},
        {"SELECT COALESCE(NULL, NULL, 3)", "3"},
        {"SELECT NULLIF(5, 5)", "NULL"},
        {"SELECT ISNULL(NULL, 'x')", "x"},
        {"SELECT ISNULL(Code, 'none') FROM MSS..tbCase WHERE Id = 3", "none"},
    });
}

TEST_F(TsqlCases, AggregatesKeepTheirTypes) {
    run({
        {"SELECT AVG(Qty) FROM MSS..tbCase WHERE Id IN (1, 2)", "1"},
        {"SELECT AVG(Qty) FROM MSS..tbCase", "2"},
        {"SELECT SUM(Qty) FROM MSS..tbCase", "10"},
        {"SELECT AVG(Amount) FROM MSS..tbCase WHERE Id IN (1, 2)", "750.3"},
        {"SELECT SUM(Amount) FROM MSS..tbCase", "4700.6"},
        {"SELECT AVG(Price) FROM MSS..tbCase", "5.25"},
        {"SELECT AVG(Rate) FROM MSS..tbCase", "0.5833333333333334"},
        {"SELECT COUNT(*), COUNT(Price), COUNT(DISTINCT Qty) FROM MSS..tbCase", "4|3|3"},
        {"SELECT MIN(Stamp), MAX(Day) FROM MSS..tbCase", "2023-12-31 23:59:59|2024-03-05 00:00:00"},
        {"SELECT Qty, COUNT(*) FROM MSS..tbCase GROUP BY Qty HAVING COUNT(*) > 1", "2|2"},
        {"SELECT AVG(Qty) FROM MSS..tbCase WHERE Id > 10", "NULL"},
    });
    // The types the server gives: integer averages stay integers, amounts are amounts.
    EXPECT_EQ(t.scalar("SELECT AVG(Qty) FROM MSS..tbCase").typeId(), QMetaType::LongLong);
    EXPECT_EQ(t.scalar("SELECT SUM(Amount) FROM MSS..tbCase WHERE Id = 3").typeId(), QMetaType::Double);
    EXPECT_EQ(t.scalar("SELECT CAST(Stamp AS date) FROM MSS..tbCase WHERE Id = 1").typeId(), QMetaType::QDateTime);
    EXPECT_EQ(t.scalar("SELECT GETDATE()").typeId(), QMetaType::QDateTime);
}

TEST_F(TsqlCases, RowLimits) {
    run({
        {"SELECT TOP 2 Id FROM MSS..tbCase ORDER BY Id", "1;2"},
        {"SELECT TOP (2) Id FROM MSS..tbCase ORDER BY Id DESC", "4;3"},
        {"SELECT TOP 50 PERCENT Id FROM MSS..tbCase ORDER BY Id", "1;2"},
        {"SELECT TOP 1 PERCENT Id FROM MSS..tbCase ORDER BY Id", "1"},
        {"SELECT TOP 2 WITH TIES Qty FROM MSS..tbCase ORDER BY Qty", "1;2;2"},
        {"SELECT TOP 1 WITH TIES Id, Qty AS q FROM MSS..tbCase ORDER BY q DESC", "4|5"},
        {"SELECT Id FROM MSS..tbCase ORDER BY Id OFFSET 1 ROWS FETCH NEXT 2 ROWS ONLY", "2;3"},
        {"SELECT Id FROM MSS..tbCase ORDER BY Id OFFSET 3 ROWS", "4"},
        {"SELECT Id FROM MSS..tbCase ORDER BY Id OFFSET 0 ROWS FETCH FIRST 1 ROW ONLY", "1"},
        {"SELECT TOP 1 Id FROM MSS..tbCase ORDER BY Id OFFSET 1 ROWS", "!10741"},
        {"SELECT TOP 2 WITH TIES Id FROM MSS..tbCase", "!1062"},
        {"SELECT Id FROM (SELECT TOP 2 Id FROM MSS..tbCase ORDER BY Id DESC) x ORDER BY Id", "3;4"},
        {"SELECT Id FROM (SELECT Id FROM MSS..tbCase ORDER BY Id) x", "!1033"},
        {"SELECT Id FROM MSS..tbCase WHERE Id < 3 UNION SELECT Qty FROM MSS..tbCase ORDER BY 1", "1;2;5"},
    });
}

TEST_F(TsqlCases, QueriesAsReportsWriteThem) {
    run({
        {"WITH big AS (SELECT Id, Amount FROM MSS..tbCase WHERE Amount > 100) SELECT COUNT(*), SUM(Amount) FROM big", "3|4700.5"},
        {"WITH n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 5) SELECT SUM(i) FROM n", "15"},
        {"SELECT t.a + t.b FROM (SELECT Id, Qty FROM MSS..tbCase WHERE Id = 4) AS t(a, b)", "9"},
        {"SELECT Name FROM MSS..tbCase c WHERE EXISTS (SELECT 1 FROM MSS..tbCase d WHERE d.Qty = c.Qty AND d.Id <> c.Id) ORDER BY Id",
         "Ñato;oca"},
        {"SELECT Id, (SELECT COUNT(*) FROM MSS..tbCase d WHERE d.Qty < c.Qty) FROM MSS..tbCase c ORDER BY Id", "1|0;2|1;3|1;4|3"},
        {"SELECT Id FROM MSS..tbCase WHERE Qty IN (SELECT Qty FROM MSS..tbCase WHERE Code = 'a7')", "2;3"},
        {"SELECT Id, ROW_NUMBER() OVER (ORDER BY Name) FROM MSS..tbCase ORDER BY Id", "1|2;2|1;3|3;4|4"},
        {"SELECT Id, SUM(Qty) OVER (PARTITION BY Qty) FROM MSS..tbCase ORDER BY Id", "1|1;2|4;3|4;4|5"},
        {"SELECT Qty, COUNT(*) AS n FROM MSS..tbCase GROUP BY Qty ORDER BY n DESC, Qty", "2|2;1|1;5|1"},
        {"SELECT CASE Code WHEN 'a7' THEN 'A' WHEN '7' THEN 'seven' ELSE 'other' END FROM MSS..tbCase ORDER BY Id",
         "seven;A;other;other"},
        {"SELECT c.Name FROM MSS..tbCase c LEFT JOIN MSS..tbCase d ON d.Id = c.Id + 10 WHERE d.Id IS NULL AND c.Id = 1", "Nava"},
        {"SELECT DISTINCT Qty FROM MSS..tbCase ORDER BY Qty", "1;2;5"},
        {"SELECT DISTINCT Qty FROM MSS..tbCase ORDER BY Name", "!145"},
    });
}

TEST_F(TsqlCases, WritesConvertToTheColumnsTypes) {
    run({
        {"UPDATE MSS..tbCase SET Stamp = '03/06/2024 8:30 AM', Amount = '12.345' WHERE Id = 1", ""},
        {"SELECT Stamp, Amount FROM MSS..tbCase WHERE Id = 1", "2024-03-06 08:30:00|12.345"},
        {"INSERT INTO MSS..tbCase (Id, Name, Stamp, Day) SELECT 10, 'New', '2024-01-02', '2024-01-03 10:00'", ""},
        {"SELECT Stamp, Day FROM MSS..tbCase WHERE Id = 10", "2024-01-02 00:00:00|2024-01-03 00:00:00"},
        {"INSERT INTO MSS..tbCase (Id, Qty) VALUES (11, 'abc')",
         "!245 Conversion failed when converting the varchar value 'abc' to data type int."},
        {"INSERT INTO MSS..tbCase (Id, Qty, Code) VALUES (11, '7', 12)", ""},
        {"SELECT Qty + 1, Code + 'x' FROM MSS..tbCase WHERE Id = 11", "8|12x"},
        {"INSERT INTO MSS..tbCase (Id, Nothing) VALUES (12, 1)", "!207 Invalid column name 'Nothing'."},
        // UPDATE and DELETE naming a joined table, as T-SQL writes them.
        {"UPDATE c SET Qty = c.Qty + d.Qty FROM MSS..tbCase c JOIN MSS..tbCase d ON d.Id = c.Id + 1 WHERE d.Name = 'ñato'", ""},
        {"SELECT Qty FROM MSS..tbCase WHERE Id = 1", "3"},
        {"DELETE c FROM MSS..tbCase c JOIN MSS..tbCase d ON d.Id = c.Id - 1 WHERE d.Name = 'NAVA'", ""},
        {"SELECT Id FROM MSS..tbCase WHERE Id < 5 ORDER BY Id", "1;3;4"},
        {"DELETE MSS..tbCase WHERE Id >= 10", ""},
        {"SELECT COUNT(*) FROM MSS..tbCase", "3"},
    });
}

TEST_F(TsqlCases, RefusalsNameTheConstruct) {
    run({
        {"SELECT FOO(1)", "!195 'FOO' is not a recognized built-in function name."},
        {"SELECT ifnull(Code, '') FROM MSS..tbCase", "!195 'ifnull' is not a recognized built-in function name."},
        {"SELECT FORMAT(1, 'N')", "!40517"},
        {"SELECT @x", "!137 Must declare the scalar variable \"@x\"."},
        {"SELECT Id FROM MSS..tbCase WHERE Name = @name", "!137 Must declare the scalar variable \"@name\"."},
        {"SELECT * FRM MSS..tbCase", "!102 Incorrect syntax near 'FRM'."},
        {"SELECT Id FROM MSS..tbCase WHERE", "!102 Incorrect syntax near 'WHERE'."},
        {"SELECT LEFT('a')", "!174 The left function requires 2 argument(s)."},
        {"SELECT NoSuchColumn FROM MSS..tbCase", "!207 Invalid column name 'NoSuchColumn'."},
        {"SELECT Id FROM MSS..tbCase a JOIN MSS..tbCase b ON a.Id = b.Id", "!209 Ambiguous column name 'Id'."},
        {"SELECT Name FROM MSS..tbCase GROUP BY Qty",
         "!8120 Column 'tbCase.Name' is invalid in the select list because it is not contained in either an aggregate "
         "function or the GROUP BY clause."},
        {"SELECT Id FROM MSS..tbCase WHERE 1", "!4145"},
        {"SELECT (SELECT Name FROM MSS..tbCase)", "!512"},
        {"SELECT (SELECT Name FROM MSS..tbCase WHERE Id = 1)", "Nava"},
        {"SELECT x.Id FROM MSS..tbCase", "!4104"},
        {"SELECT Id FROM MSS..tbNothing", "!208 Invalid object name 'MSS..tbNothing'."},
        {"SELECT CAST(1 AS widget)", "!243 Type widget is not a defined system type."},
        {"SELECT Id FROM MSS..tbCase CROSS APPLY MSS..tbCase", "!40517"},
        {"SELECT 1; SELECT 2", "!102"},
    });
}

TEST_F(TsqlCases, ColumnNamesAreTheServers) {
    const ResultTable r = t.run("SELECT name, COUNT(*), Qty AS Quantity, [Code] FROM MSS..tbCase GROUP BY name, Qty, Code");
    EXPECT_EQ(r.columns, QStringList({"name", "", "Quantity", "Code"}));
    // A string literal as a column name: each text keeps its own.
    EXPECT_EQ(t.run("SELECT 1 AS 'first'").columns, QStringList{"first"});
    EXPECT_EQ(t.run("SELECT 1 AS 'second'").columns, QStringList{"second"});
    EXPECT_EQ(t.run("SELECT 1 AS 'first'").columns, QStringList{"first"});
}

}  // namespace
