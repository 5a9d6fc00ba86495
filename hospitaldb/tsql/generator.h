#pragma once
// Writes SQLite's text for a statement tree: names resolved against the schema, every
// expression typed as SQL Server types it, and conversions, collation and functions chosen
// by those types.
#include "hospitaldb/tsql/tree.h"

#include <QHash>
#include <QSet>

namespace hospitaldb::tsql {

// Restores a variable on leaving a block.
template <class T>
struct Restore {
    T& ref;
    T saved;
    explicit Restore(T& r) : ref(r), saved(r) {}
    ~Restore() { ref = saved; }
};

struct OutColumn {
    QString name;
    Type type;
};

class Generator {
public:
    Generator(const Tokens& tokens, const SchemaInfo& schema, const QString& defaultDatabase);
    Translation run(Tree& tree);

    // --- used by the function catalogue (functions.cpp) and the casts (casts.cpp) ---------
    // A value: the expression's SQL with its type in e->type. Predicates are refused (102).
    QString value(Expr* e);
    // The value converted to a type (implicitly, as an operator or assignment would).
    QString valueAs(Expr* e, const Type& to);
    // SQL converting `sql` of type `from` to `to`; `explicitCast` for CAST/CONVERT, which may
    // truncate and format; style -1 when none was given; `tryCast` gives NULL on failure.
    QString convert(const QString& sql, const Type& from, const Type& to, bool explicitCast,
                    int style = -1, bool tryCast = false);
    QString call(Expr* e);
    QString cast(Expr* e);
    // A string value (converting numbers and dates as SQL Server does for string functions).
    QString text(Expr* e);
    // An integer value.
    QString integer(Expr* e);
    // A date/time value (strings converted).
    QString dateValue(Expr* e);
    // The date part named by a function's first argument ("dd", "month"...) or 155.
    QString datePart(Expr* e, const QString& function);
    int numberLiteral(Expr* e, const QString& function, int argument);  // a constant integer
    [[noreturn]] void fail(long number, const QString& text) const;
    [[noreturn]] void syntax(const Expr* e) const;
    bool inAggregate() const { return aggregateDepth_ > 0; }
    void enterAggregate(const Expr* e);
    void leaveAggregate() { --aggregateDepth_; }
    const Tokens& tokens() const { return tokens_; }
    QString over(Expr* e);
    bool isAggregate(const Expr* e) const;
    const QString& defaultDatabase() const { return defaultDb_; }

private:
    struct Visible {
        QString alias;        // as the query names it
        QString sqlAlias;     // as the generated SQL names it
        QString table;        // table name as written (for db..t.column qualifiers)
        QString mangled;      // "" for derived tables and CTEs
        bool open = false;    // columns not known
        QVector<OutColumn> columns;
    };
    struct Scope {
        QVector<Visible> sources;
        Scope* parent = nullptr;
        bool grouped = false;                 // GROUP BY or aggregates: columns must be grouped
        QSet<QString> groupKeys;              // generated SQL of the GROUP BY expressions
    };
    struct CteInfo {
        QString name;
        QVector<OutColumn> columns;
        bool open = false;
        bool referenced = false;
    };

    QString statement(Statement& s);
    QString insert(Statement& s);
    QString update(Statement& s);
    QString remove(Statement& s);
    QString query(Query* q, QVector<OutColumn>* out, const QVector<Type>* targetTypes = nullptr);
    // One SELECT of a query; `single` when it is the query's only member (its ORDER BY and
    // OFFSET belong to it).
    QString select(Select* s, Query* owner, QVector<OutColumn>* out, const QVector<Type>* targetTypes, bool single);
    QString orderBy(const QVector<OrderItem>& items, const Select* s, const QVector<OutColumn>& out,
                    bool compound, bool expand = false);
    QString sources(const QVector<tsql::Source*>& from, Scope& scope);
    QString source(tsql::Source* s, Scope& scope);
    Visible tableSource(const tsql::Source* s);
    Type targetColumn(const Visible& target, const QString& column) const;
    QString condition(Expr* e);
    QString expression(Expr* e);
    QString column(Expr* e);
    QString compare(Expr* e);
    QString arithmetic(Expr* e);
    QString caseExpr(Expr* e);
    QString inList(Expr* e);
    QString subquery(Expr* e, bool scalar);
    QString literal(int index) const { return QStringLiteral("?%1").arg(index + 1); }
    void checkGrouped(Expr* e, const Scope& scope, long number);
    bool containsAggregate(const Expr* e) const;
    static bool isPredicate(const Expr* e);
    QString near(const Expr* e) const;
    QString starColumns(const SelectItem& item, QVector<OutColumn>* out, QString* sql);
    QString unique(const QString& base);

    const Tokens& tokens_;
    const SchemaInfo& schema_;
    QString defaultDb_;
    Scope* scope_ = nullptr;
    QVector<CteInfo> ctes_;       // visible common table expressions, innermost last
    int aggregateDepth_ = 0;
    int uniqueCounter_ = 0;
    QVector<int> structural_;
    bool topLevel_ = true;
    bool wantSingle_ = false;     // the next select is a scalar subquery: one row or 512
    bool noAggregates_ = false;   // WHERE, GROUP BY
};

// SQLite's spelling of an identifier: bare when it can be, else in double quotes.
QString ident(const QString& name);

}  // namespace hospitaldb::tsql
