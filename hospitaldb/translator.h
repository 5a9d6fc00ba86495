#pragma once
// The T-SQL front: splits a statement text into tokens, recognises procedure calls and
// translates SELECT/INSERT/UPDATE/DELETE texts to SQLite SQL with the mangled table names.
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
};

// "Patient_Data", "tbMaster" -> "PATIENT_DATA__tbMaster"; an empty database means the default.
QString mangle(const QString& database, const QString& table, const QString& defaultDatabase);

// SQLite SQL for a T-SQL SELECT/INSERT/UPDATE/DELETE. String literal i becomes ?i+1.
// Fails with 208 for an unknown table (named as written) and 102 for forms it cannot read.
QString translate(const Tokens& t, const SchemaInfo& schema, const QString& defaultDatabase);

}  // namespace hospitaldb
