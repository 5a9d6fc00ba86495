#pragma once
// The T-SQL front: splits a statement text into tokens, recognises procedure calls and
// translates SELECT/INSERT/UPDATE/DELETE texts to SQLite SQL with the mangled table names.
// The translation itself lives in tsql/: a tree of the statement whose expressions carry
// SQL Server's types, and the SQLite text generated from it.
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVarLengthArray>
#include <QVector>
#include <functional>

namespace hospitaldb {

struct Token {
    enum Type { Word, Bracketed, Quoted, String, Number, Op, LParen, RParen, Comma, Semicolon };
    Type type;
    QString text;   // a string's value with its apostrophes undoubled; a bracketed name without brackets
    int literal = -1;  // index of a string literal among the statement's literals
    bool national = false;  // N'...'
    int at = 0;             // where the token starts in the text
};

struct Tokens {
    QVector<Token> list;
    QString shape;             // the text with string literals as ? and blanks collapsed
    QVector<QString> literals; // the string literals' values, in order
};

// Fails with 105 for an unclosed quote and 102 for a character that cannot start a token.
// Without `withTokens` only the shape and the literals are built (texts quickScan() refuses).
Tokens tokenize(const QString& text, bool withTokens = true);

// Where a string literal stands in a text: its characters, apostrophes still doubled when
// `doubled`.
struct LiteralSpan {
    qsizetype from;
    qsizetype length;
    bool doubled;
};
QString literalValue(QStringView text, const LiteralSpan& literal);

// The cache-hit path: the shape and where the literals stand, without tokens or copies.
// Reusing one QuickScan keeps its buffers.
struct QuickScan {
    QString shape;
    QVarLengthArray<LiteralSpan, 16> literals;
};

// Gives the same shape as tokenize(); false where only tokenize() can judge the text.
bool quickScan(QStringView text, QuickScan& out);

// quickScan() appended to `out`, the literals' values copied.
bool quickShape(const QString& text, Tokens& out);

// A procedure call or a bare table name sent as a command.
struct Call {
    QString written;      // the name as written, "MSS..sp_X" or "sp_X"
    QString database;     // as written ("" when none)
    QString name;
    QVector<QVariant> args;
    QVector<int> literalOf;  // per argument: the index of its string literal, or -1
};

// True when the tokens are a call form (EXEC or a name followed by nothing but arguments).
bool parseCall(const Tokens& t, Call* call);

// What the translator needs to know about the schema.
struct SchemaInfo {
    std::function<bool(const QString& mangled)> hasTable;
    std::function<QString(const QString& mangled, const QString& column)> columnType;
    // The table's columns in order; empty when not known (any column is then accepted).
    std::function<QStringList(const QString& mangled)> columns = {};
};

// "Patient_Data", "tbMaster" -> "PATIENT_DATA__tbMaster"; an empty database means the default.
QString mangle(const QString& database, const QString& table, const QString& defaultDatabase);

// A T-SQL SELECT/INSERT/UPDATE/DELETE as SQLite SQL. String literal i becomes ?i+1.
struct Translation {
    QString sql;
    // Per result column: how its value is read back (ColumnKind), KindDefault where the
    // column's declared type decides.
    QVector<int> kinds;
    // Literals whose values the SQL depends on (a literal used as a column alias): a text
    // with other values there needs a translation of its own.
    QVector<int> structural;
};

// Fails with SQL Server's numbers: 102 for forms it cannot read, 208 for an unknown table
// (named as written), 207 for an unknown column, 195 for an unknown function, 137 for a
// variable, 40517 for T-SQL the embedded database does not offer.
Translation translateStatement(const Tokens& t, const SchemaInfo& schema, const QString& defaultDatabase);
// The SQL alone.
QString translate(const Tokens& t, const SchemaInfo& schema, const QString& defaultDatabase);

}  // namespace hospitaldb
