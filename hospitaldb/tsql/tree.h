#pragma once
// A T-SQL statement as a tree. The parser builds it once per statement shape; the generator
// gives every expression its SQL Server type and writes SQLite's text from it.
#include "hospitaldb/translator.h"
#include "hospitaldb/tsql/types.h"

#include <deque>

namespace hospitaldb::tsql {

struct Query;

struct Expr {
    enum Kind : unsigned char {
        Null,      // NULL
        String,    // a string literal: `literal` is its index among the text's literals
        Number,    // text as written
        Column,    // text = column, qualifier = what stood before it
        Variable,  // text = @name or @@name
        Star,      // the * of COUNT(*)
        Unary,     // text = "-", "+", "~"; args[0]
        Binary,    // text = "+", "-", "*", "/", "%", "&", "|", "^"; args[0], args[1]
        Compare,   // text = "=", "<>", "<", ">", "<=", ">="; args[0], args[1]
        And, Or,   // args[0], args[1]
        Not,       // args[0]
        Like,      // args: value, pattern [, escape]; negated
        In,        // args[0] IN (args[1..]) or IN (query); negated
        Between,   // args: value, low, high; negated
        IsNull,    // args[0] IS [NOT] NULL
        Exists,    // query
        Case,      // args[0] = operand or null, then WHEN/THEN pairs, `elseExpr`
        Call,      // text = function as written; args; distinct; over
        Cast,      // text = CAST, CONVERT, TRY_CAST or TRY_CONVERT; args[0] value, args[1] style
        Subquery,  // query
    };
    Kind kind = Null;
    QString text;
    QStringList qualifier;
    int literal = -1;
    bool national = false;
    bool negated = false;
    bool distinct = false;
    QVector<Expr*> args;
    Expr* elseExpr = nullptr;
    Query* query = nullptr;
    QString typeName;          // CAST target as written
    int typeA = -1, typeB = -1;  // its arguments (-2 = max)
    // OVER (PARTITION BY ... ORDER BY ...)
    bool over = false;
    QVector<Expr*> partition;
    QVector<std::pair<Expr*, bool>> overOrder;  // expression, descending
    int at = 0;                // the token it starts at, for messages

    // Filled by the generator.
    Type type;
    QString sql;               // the expression's own SQL, before any conversion around it
    const void* scope = nullptr;  // the query scope a column was found in
};

struct OrderItem {
    Expr* expr = nullptr;
    bool desc = false;
};

struct SelectItem {
    Expr* expr = nullptr;       // null for * and alias.*
    QString alias;              // as written, brackets removed
    int aliasLiteral = -1;      // 'alias' written as a string literal
    bool star = false;
    QStringList starQualifier;  // a.* -> {"a"}
};

struct Query;

struct Source {
    enum Kind : unsigned char { Table, Derived, Join } kind = Table;
    // Table: the name as written
    QString database, owner, name, written;
    // Table and Derived
    QString alias;
    Query* query = nullptr;
    QStringList columnNames;    // derived table (a, b)
    // Join
    QString join;               // INNER, LEFT, RIGHT, FULL, CROSS
    Source* left = nullptr;
    Source* right = nullptr;
    Expr* on = nullptr;
    int at = 0;
};

struct Select {
    bool distinct = false;
    Expr* top = nullptr;
    bool percent = false;
    bool withTies = false;
    QVector<SelectItem> items;
    QVector<Source*> from;
    Expr* where = nullptr;
    QVector<Expr*> groupBy;
    Expr* having = nullptr;
    Query* nested = nullptr;    // a parenthesised query standing as a member of a compound
    int at = 0;
};

struct Cte {
    QString name;
    QStringList columns;
    Query* query = nullptr;
};

struct Query {
    QVector<Cte> with;
    QVector<Select*> members;   // joined by ops
    QStringList ops;            // UNION, UNION ALL, EXCEPT, INTERSECT
    QVector<OrderItem> orderBy;
    Expr* offset = nullptr;
    Expr* fetch = nullptr;
    int at = 0;
};

struct Assignment {
    QStringList column;         // as written, possibly qualified
    Expr* value = nullptr;
    int at = 0;
};

struct Statement {
    enum Kind : unsigned char { SelectStatement, Insert, Update, Delete } kind = SelectStatement;
    Query* query = nullptr;              // SELECT, INSERT ... SELECT
    Source* target = nullptr;            // INSERT/UPDATE/DELETE: the table or alias named
    QStringList columns;                 // INSERT (columns)
    QVector<QVector<Expr*>> rows;        // INSERT VALUES
    bool defaultValues = false;
    QVector<Assignment> sets;            // UPDATE
    QVector<Source*> from;               // UPDATE/DELETE ... FROM
    Expr* where = nullptr;
};

// Owns every node of one statement.
class Tree {
public:
    Expr* expr(Expr::Kind kind, int at) {
        exprs_.emplace_back();
        exprs_.back().kind = kind;
        exprs_.back().at = at;
        return &exprs_.back();
    }
    Query* query() { return &queries_.emplace_back(); }
    Select* select() { return &selects_.emplace_back(); }
    Source* source(Source::Kind kind, int at) {
        sources_.emplace_back();
        sources_.back().kind = kind;
        sources_.back().at = at;
        return &sources_.back();
    }
    Statement statement;

private:
    std::deque<Expr> exprs_;
    std::deque<Query> queries_;
    std::deque<Select> selects_;
    std::deque<Source> sources_;
};

// Reads one statement. Fails with 102 "Incorrect syntax near 'X'." naming the token it
// could not read, 137 for a variable, 40517 for T-SQL it does not offer.
void parse(const Tokens& tokens, Tree& tree);

// Keywords that end an expression or a name: never read as an alias.
bool isReserved(const QString& word);

}  // namespace hospitaldb::tsql
