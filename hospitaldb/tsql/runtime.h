#pragma once
// The SQLite functions that translated statements call (tsql_*): conversions, texts, patterns
// and dates computed as SQL Server computes them, failing with its numbers and messages.
#include <QDate>
#include <QString>

struct sqlite3;
struct sqlite3_context;
struct sqlite3_value;

namespace hospitaldb::tsql {

// Registers every tsql_* function on a connection.
void registerRuntime(sqlite3* db);
void registerTextFunctions(sqlite3* db);
void registerPatternFunctions(sqlite3* db);
void registerNumberFunctions(sqlite3* db);
void registerDateFunctions(sqlite3* db);

// --- shared by the runtime files -----------------------------------------------------------
QString textArg(sqlite3_value* v);
void resultText(sqlite3_context* ctx, const QString& s);
// Fails the statement with a server number and message (decoded by the engine).
void resultFailure(sqlite3_context* ctx, long number, const QString& text);
bool isNullArg(sqlite3_value* v);

// A point in time as datetime holds it: a day and the milliseconds into it.
struct Moment {
    QDate date;
    int ms = 0;
};
enum class ParseResult { Ok, Garbage, OutOfRange };
// A text as SQL Server reads it for datetime (us_english, month/day/year), or in the form a
// CONVERT style names. An empty text is 1900-01-01.
ParseResult parseMoment(QStringView text, Moment* out, int style = 0);
// The stored form: 'YYYY-MM-DD HH:MM:SS' (with '.mmm' when there are milliseconds), or the
// date alone.
QString storedText(const Moment& m, bool withTime = true);
// A date/time value of a statement (stored text, or a number of days since 1900-01-01).
bool momentArg(sqlite3_value* v, Moment* out);
// CONVERT(varchar, value, style) of a date/time value. `code` says its type: 4 datetime,
// 5 date, 6 time, 7 datetime2, 8 smalldatetime.
QString formatMoment(const Moment& m, int style, int code);

// Text compared as the database's collation compares it (case-insensitive, accents count,
// letters past ASCII ordered by their base letter first).
int collate(QStringView a, QStringView b);
QChar baseLetter(QChar c);

}  // namespace hospitaldb::tsql
