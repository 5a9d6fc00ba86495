#include "hospitaldb/tsql/generator.h"
#include "hospitaldb/engine.h"

#include <sqlite3.h>

namespace hospitaldb::tsql {

namespace {
const QString kSource = QStringLiteral("HospitalDB");

bool plainIdentifier(const QString& s) {
    if (s.isEmpty()) return false;
    for (qsizetype i = 0; i < s.size(); ++i) {
        const char16_t c = s.at(i).unicode();
        const bool letter = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_';
        if (!letter && !(i > 0 && c >= '0' && c <= '9')) return false;
    }
    const QByteArray u = s.toLatin1();
    return !sqlite3_keyword_check(u.constData(), int(u.size()));
}

QString quoted(const QString& name) {
    QString n = name;
    n.replace(QLatin1Char('"'), QLatin1String("\"\""));
    return QLatin1Char('"') + n + QLatin1Char('"');
}

}  // namespace

QString ident(const QString& name) { return plainIdentifier(name) ? name : quoted(name); }

Generator::Generator(const Tokens& tokens, const SchemaInfo& schema, const QString& defaultDatabase)
    : tokens_(tokens), schema_(schema), defaultDb_(defaultDatabase) {}

void Generator::fail(long number, const QString& text) const { throw Failure(number, kSource, text); }

QString Generator::near(const Expr* e) const {
    if (!e || e->at >= tokens_.list.size()) return QString();
    const Token& t = tokens_.list[e->at];
    return t.type == Token::String ? QLatin1Char('\'') + t.text + QLatin1Char('\'') : t.text;
}

void Generator::syntax(const Expr* e) const {
    fail(mss::db::errnum::SyntaxError, QStringLiteral("Incorrect syntax near '%1'.").arg(near(e)));
}

QString Generator::unique(const QString& base) { return QStringLiteral("__%1%2").arg(base).arg(++uniqueCounter_); }

Translation Generator::run(Tree& tree) {
    Translation out;
    QVector<OutColumn> columns;
    Statement& s = tree.statement;
    if (s.kind == Statement::SelectStatement) {
        out.sql = query(s.query, &columns);
        for (const OutColumn& c : columns) {
            if (c.name == QLatin1String("*") && !c.type.known()) break;  // columns not known from here on
            out.kinds.append(columnKind(c.type));
        }
    } else if (s.kind == Statement::Insert) {
        out.sql = insert(s);
    } else if (s.kind == Statement::Update) {
        out.sql = update(s);
    } else {
        out.sql = remove(s);
    }
    out.structural = structural_;
    return out;
}

// --- sources ------------------------------------------------------------------------------

Generator::Visible Generator::tableSource(const tsql::Source* s) {
    Visible out;
    out.table = s->name;
    const QString written = s->written;
    auto invalid = [&]() {
        fail(mss::db::errnum::InvalidObject, QStringLiteral("Invalid object name '%1'.").arg(written));
    };
    if (s->name.startsWith(QLatin1Char('#'))) invalid();
    if (!s->database.isEmpty()) {
        const QString canon = canonicalDatabase(s->database);
        if (canon.isEmpty()) invalid();
        out.mangled = canon + QStringLiteral("__") + s->name;
    } else {
        const int sep = int(s->name.indexOf(QLatin1String("__")));
        if (sep > 0 && !canonicalDatabase(s->name.left(sep)).isEmpty()) {
            out.mangled = s->name;  // already mangled
            out.table = s->name.mid(sep + 2);
        } else {
            out.mangled = mangle(QString(), s->name, defaultDb_);
        }
    }
    if (!schema_.hasTable(out.mangled)) invalid();
    out.alias = s->alias.isEmpty() ? out.table : s->alias;
    out.sqlAlias = out.alias;
    const QStringList names = schema_.columns ? schema_.columns(out.mangled) : QStringList();
    out.open = names.isEmpty();
    for (const QString& c : names) out.columns.append({c, fromDeclared(schema_.columnType(out.mangled, c))});
    return out;
}

QString Generator::sources(const QVector<tsql::Source*>& from, Scope& scope) {
    QStringList parts;
    for (tsql::Source* s : from) parts << source(s, scope);
    return parts.join(QStringLiteral(", "));
}

QString Generator::source(tsql::Source* s, Scope& scope) {
    auto add = [&](Visible src, const tsql::Source* at) {
        for (const Visible& other : scope.sources) {
            if (other.alias.compare(src.alias, Qt::CaseInsensitive) != 0) continue;
            if (at->alias.isEmpty())
                fail(1013, QStringLiteral("The objects \"%1\" and \"%2\" in the FROM clause have the same exposed names. "
                                          "Use correlation names to distinguish them.").arg(other.alias, src.alias));
            fail(1011, QStringLiteral("The correlation name '%1' is specified multiple times in a FROM clause.").arg(src.alias));
        }
        scope.sources.append(std::move(src));
    };
    switch (s->kind) {
    case tsql::Source::Table: {
        // A common table expression by that name hides a table.
        if (s->database.isEmpty() && s->owner.isEmpty()) {
            for (int k = int(ctes_.size()) - 1; k >= 0; --k) {
                CteInfo& c = ctes_[k];
                if (c.name.compare(s->name, Qt::CaseInsensitive) != 0) continue;
                c.referenced = true;
                Visible src;
                src.table = s->name;
                src.alias = s->alias.isEmpty() ? s->name : s->alias;
                src.sqlAlias = src.alias;
                src.open = c.open;
                src.columns = c.columns;
                const QString sql = ident(c.name) + QStringLiteral(" AS ") + quoted(src.alias);
                add(src, s);
                return sql;
            }
        }
        Visible src = tableSource(s);
        const QString sql = src.mangled + (s->alias.isEmpty() ? QStringLiteral(" AS ") + quoted(src.alias)
                                                              : QLatin1Char(' ') + ident(s->alias));
        add(src, s);
        return sql;
    }
    case tsql::Source::Derived: {
        QVector<OutColumn> cols;
        QString inner;
        {
            // A derived table sees the enclosing queries, not its neighbours in this FROM.
            Restore<Scope*> keep(scope_);
            scope_ = scope.parent;
            Restore<bool> top(topLevel_);
            topLevel_ = false;
            inner = query(s->query, &cols);
        }
        Visible src;
        src.alias = s->alias;
        src.sqlAlias = s->alias;
        src.columns = cols;
        for (const OutColumn& c : cols) src.open = src.open || (c.name == QLatin1String("*") && !c.type.known());
        if (!s->columnNames.isEmpty()) {
            if (src.open || s->columnNames.size() != cols.size())
                fail(8158, QStringLiteral("'%1' has more columns than were specified in the column list.").arg(s->alias));
            // SQLite names a subquery's columns only through a common table expression.
            QStringList names;
            for (int k = 0; k < cols.size(); ++k) {
                names << quoted(s->columnNames[k]);
                src.columns[k].name = s->columnNames[k];
            }
            const QString named = unique(QStringLiteral("derived"));
            inner = QStringLiteral("WITH %1(%2) AS (%3) SELECT * FROM %1").arg(quoted(named), names.join(QStringLiteral(", ")), inner);
        }
        add(src, s);
        return QStringLiteral("(%1) AS %2").arg(inner, quoted(s->alias));
    }
    case tsql::Source::Join: {
        const QString left = source(s->left, scope);
        const QString right = source(s->right, scope);
        QString sql = left + (s->join == QLatin1String("INNER") ? QStringLiteral(" JOIN ")
                                                                : QLatin1Char(' ') + s->join + QStringLiteral(" JOIN ")) + right;
        if (s->on) {
            Restore<Scope*> keep(scope_);
            scope_ = &scope;
            sql += QStringLiteral(" ON ") + condition(s->on);
        }
        return sql;
    }
    }
    return QString();
}

// --- queries ------------------------------------------------------------------------------

QString Generator::query(Query* q, QVector<OutColumn>* out, const QVector<Type>* targetTypes) {
    const int ctesBefore = int(ctes_.size());
    const bool singleValue = wantSingle_;
    wantSingle_ = false;
    QString with;
    if (!q->with.isEmpty()) {
        QStringList parts;
        bool recursive = false;
        for (const Cte& c : q->with) {
            ctes_.append({c.name, {}, true, false});
            QVector<OutColumn> cols;
            QString body;
            {
                Restore<bool> top(topLevel_);
                topLevel_ = false;
                body = query(c.query, &cols);
            }
            recursive = recursive || ctes_.last().referenced;
            bool open = false;
            for (const OutColumn& col : cols) open = open || (col.name == QLatin1String("*") && !col.type.known());
            QString head = ident(c.name);
            if (!c.columns.isEmpty()) {
                if (open || c.columns.size() != cols.size())
                    fail(8158, QStringLiteral("'%1' has more columns than were specified in the column list.").arg(c.name));
                QStringList names;
                for (int k = 0; k < cols.size(); ++k) {
                    cols[k].name = c.columns[k];
                    names << ident(c.columns[k]);
                }
                head += QLatin1Char('(') + names.join(QStringLiteral(", ")) + QLatin1Char(')');
            }
            ctes_.last() = {c.name, cols, open, false};
            parts << head + QStringLiteral(" AS (") + body + QLatin1Char(')');
        }
        with = (recursive ? QStringLiteral("WITH RECURSIVE ") : QStringLiteral("WITH ")) + parts.join(QStringLiteral(", ")) + QLatin1Char(' ');
    }
    QString sql;
    if (q->members.size() == 1) {
        wantSingle_ = singleValue;
        sql = select(q->members[0], q, out, targetTypes, true);
    } else {
        QVector<OutColumn> first;
        for (int k = 0; k < q->members.size(); ++k) {
            Select* m = q->members[k];
            QVector<OutColumn> cols;
            QString part = select(m, q, &cols, targetTypes, false);
            if (m->top || m->nested) part = QStringLiteral("SELECT * FROM (%1)").arg(part);
            if (k == 0) first = cols;
            else if (cols.size() != first.size())
                fail(205, QStringLiteral("All queries combined using a UNION, INTERSECT or EXCEPT operator must have an equal number of expressions in their target lists."));
            else
                for (int c = 0; c < first.size(); ++c) first[c].type = common(first[c].type, cols[c].type);
            if (k > 0) sql += QLatin1Char(' ') + q->ops[k - 1] + QLatin1Char(' ');
            sql += part;
        }
        if (out) *out = first;
        if (!q->orderBy.isEmpty()) sql += QStringLiteral(" ORDER BY ") + orderBy(q->orderBy, nullptr, first, true);
        if (q->offset) {
            sql += QStringLiteral(" LIMIT ") + (q->fetch ? integer(q->fetch) : QStringLiteral("-1")) +
                   QStringLiteral(" OFFSET ") + integer(q->offset);
        }
    }
    ctes_.resize(ctesBefore);
    return with + sql;
}

bool Generator::isPredicate(const Expr* e) {
    switch (e->kind) {
    case Expr::Compare: case Expr::And: case Expr::Or: case Expr::Not: case Expr::Like:
    case Expr::In: case Expr::Between: case Expr::IsNull: case Expr::Exists:
        return true;
    default:
        return false;
    }
}

QString Generator::starColumns(const SelectItem& item, QVector<OutColumn>* out, QString* sql) {
    const Scope& scope = *scope_;
    if (scope.sources.isEmpty()) fail(263, QStringLiteral("Must specify table to select from."));
    if (item.starQualifier.isEmpty()) {
        *sql = QStringLiteral("*");
        for (const Visible& s : scope.sources) {
            if (s.open) {
                out->append({QStringLiteral("*"), {}});
                return *sql;
            }
            for (const OutColumn& c : s.columns) out->append(c);
        }
        return *sql;
    }
    const QString& q = item.starQualifier.last();
    for (const Visible& s : scope.sources) {
        const bool byAlias = s.alias.compare(q, Qt::CaseInsensitive) == 0;
        const bool byTable = item.starQualifier.size() > 1 && s.alias.compare(s.table, Qt::CaseInsensitive) == 0 &&
                             s.table.compare(q, Qt::CaseInsensitive) == 0;
        if (!byAlias && !byTable) continue;
        *sql = ident(s.sqlAlias) + QStringLiteral(".*");
        if (s.open) out->append({QStringLiteral("*"), {}});
        else
            for (const OutColumn& c : s.columns) out->append(c);
        return *sql;
    }
    fail(107, QStringLiteral("The column prefix '%1' does not match with a table name or alias name used in the query.")
                  .arg(item.starQualifier.join(QLatin1Char('.'))));
}

QString Generator::select(Select* s, Query* owner, QVector<OutColumn>* out, const QVector<Type>* targetTypes,
                          bool single) {
    QVector<OutColumn> cols;
    if (s->nested) {
        const QString inner = query(s->nested, &cols, targetTypes);
        if (out) *out = cols;
        if (!single) return inner;
        QString sql = QStringLiteral("SELECT * FROM (%1)").arg(inner);
        if (!owner->orderBy.isEmpty()) sql += QStringLiteral(" ORDER BY ") + orderBy(owner->orderBy, nullptr, cols, true);
        return sql;
    }
    Scope scope;
    scope.parent = scope_;
    Restore<Scope*> keep(scope_);
    Restore<bool> top(topLevel_);
    const bool outermost = topLevel_;
    topLevel_ = false;
    const bool singleValue = wantSingle_;
    wantSingle_ = false;

    const QString from = s->from.isEmpty() ? QString() : sources(s->from, scope);
    scope_ = &scope;
    QString where;
    if (s->where) {
        Restore<bool> noAgg(noAggregates_);
        noAggregates_ = true;
        where = condition(s->where);
    }
    QStringList groups;
    for (Expr* g : s->groupBy) {
        Restore<bool> noAgg(noAggregates_);
        noAggregates_ = true;
        QString sql = value(g);
        scope.groupKeys.insert(sql);
        if (g->type.isString() && g->kind != Expr::Column) sql += QStringLiteral(" COLLATE TSQL");
        groups << sql;
    }
    bool aggregated = !s->groupBy.isEmpty();
    for (const SelectItem& item : s->items) aggregated = aggregated || (item.expr && containsAggregate(item.expr));
    aggregated = aggregated || (s->having != nullptr);
    for (const OrderItem& o : owner->orderBy) aggregated = aggregated || (single && containsAggregate(o.expr));
    scope.grouped = aggregated;

    QStringList items;
    QStringList inner;  // WITH TIES: the items under names of their own
    for (int k = 0; k < s->items.size(); ++k) {
        const SelectItem& item = s->items[k];
        if (item.star) {
            if (aggregated) fail(8120, QStringLiteral("Column '*' is invalid in the select list because it is not contained in either an aggregate function or the GROUP BY clause."));
            QString sql;
            starColumns(item, &cols, &sql);
            items << sql;
            continue;
        }
        QString sql = value(item.expr);
        if (aggregated) checkGrouped(item.expr, scope, 8120);
        Type type = item.expr->type;
        if (targetTypes && k < targetTypes->size()) {
            sql = convert(sql, type, targetTypes->at(k), false);
            type = targetTypes->at(k);
        }
        if (singleValue) sql = QStringLiteral("tsql_single(%1)").arg(sql);
        QString name = item.alias;
        if (item.aliasLiteral >= 0) structural_.append(item.aliasLiteral);
        if (name.isEmpty() && item.expr->kind == Expr::Column) name = item.expr->text;
        cols.append({name, type});
        const bool signal = item.expr->kind == Expr::Call && item.alias.isEmpty() &&
                            (item.expr->text.compare(QLatin1String("mss_error"), Qt::CaseInsensitive) == 0 ||
                             item.expr->text.compare(QLatin1String("mss_warning"), Qt::CaseInsensitive) == 0);
        if (signal) items << sql;
        else if (!name.isEmpty() || outermost) items << sql + QStringLiteral(" AS ") + quoted(name);
        else items << sql;
        inner << sql + QStringLiteral(" AS ") + quoted(QStringLiteral("__c%1").arg(k + 1));
    }
    QString having;
    if (s->having) {
        having = condition(s->having);
        checkGrouped(s->having, scope, 8121);
    }

    QString sql = QStringLiteral("SELECT ");
    if (s->distinct) sql += QStringLiteral("DISTINCT ");
    const QString head = sql;
    QString rest;
    if (!from.isEmpty()) rest += QStringLiteral(" FROM ") + from;
    if (!where.isEmpty()) rest += QStringLiteral(" WHERE ") + where;
    if (!groups.isEmpty()) rest += QStringLiteral(" GROUP BY ") + groups.join(QStringLiteral(", "));
    if (!having.isEmpty()) rest += QStringLiteral(" HAVING ") + having;
    sql += items.join(QStringLiteral(", ")) + rest;

    if (single && !owner->orderBy.isEmpty()) {
        if (!outermost && !s->top && !owner->offset)
            fail(1033, QStringLiteral("The ORDER BY clause is invalid in views, inline functions, derived tables, subqueries, "
                                      "and common table expressions, unless TOP, OFFSET or FOR XML is also specified."));
    }
    QString order;
    if (single && !owner->orderBy.isEmpty()) order = orderBy(owner->orderBy, s, cols, false);
    if (s->top && owner->offset && single)
        fail(10741, QStringLiteral("A TOP can not be used in the same query or sub-query as a OFFSET."));

    if (out) *out = cols;
    if (s->top && s->withTies) {
        if (!single || owner->orderBy.isEmpty())
            fail(1062, QStringLiteral("The TOP N WITH TIES clause is not allowed without a corresponding ORDER BY clause."));
        if (s->percent) fail(40517, QStringLiteral("Keyword or statement option 'PERCENT WITH TIES' is not supported in this version of SQL Server."));
        for (const OutColumn& c : cols)
            if (c.name == QLatin1String("*"))
                fail(40517, QStringLiteral("Keyword or statement option 'WITH TIES' is not supported in this version of SQL Server."));
        const QString rank = unique(QStringLiteral("rank"));
        QStringList outer;
        for (int k = 0; k < cols.size(); ++k)
            outer << quoted(QStringLiteral("__c%1").arg(k + 1)) + QStringLiteral(" AS ") + quoted(cols[k].name);
        const QString ranked = head + inner.join(QStringLiteral(", ")) + QStringLiteral(", rank() OVER (ORDER BY ") +
                               orderBy(owner->orderBy, s, cols, false, true) + QStringLiteral(") AS ") + quoted(rank) + rest;
        return QStringLiteral("SELECT %1 FROM (%2) WHERE %3 <= %4 ORDER BY %3")
            .arg(outer.join(QStringLiteral(", ")), ranked, quoted(rank), integer(s->top));
    }
    if (!order.isEmpty()) sql += QStringLiteral(" ORDER BY ") + order;
    if (s->top) {
        const QString n = s->percent ? value(s->top) : integer(s->top);
        if (s->percent) {
            const QString count = QStringLiteral("(SELECT count(*) * (%1) / 100.0 AS p FROM (%2))").arg(n, head + items.join(QStringLiteral(", ")) + rest);
            sql += QStringLiteral(" LIMIT (SELECT CAST(p AS INTEGER) + (p > CAST(p AS INTEGER)) FROM %1)").arg(count);
        } else {
            sql += QStringLiteral(" LIMIT ") + n;
        }
    } else if (single && owner->offset) {
        sql += QStringLiteral(" LIMIT ") + (owner->fetch ? integer(owner->fetch) : QStringLiteral("-1")) +
               QStringLiteral(" OFFSET ") + integer(owner->offset);
    }
    return sql;
}

// ORDER BY terms: positions, names of the select list, or expressions over the sources.
QString Generator::orderBy(const QVector<OrderItem>& order, const Select* s, const QVector<OutColumn>& out,
                           bool compound, bool expand) {
    QStringList terms;
    for (const OrderItem& o : order) {
        Expr* e = o.expr;
        QString term;
        Type type;
        bool byName = false;
        if (e->kind == Expr::Number && !e->text.contains(QLatin1Char('.'))) {
            const int pos = e->text.toInt();
            if (pos < 1 || pos > out.size())
                fail(108, QStringLiteral("The ORDER BY position number %1 is out of range of the number of items in the select list.").arg(e->text));
            term = expand && s ? s->items[pos - 1].expr->sql : e->text;
            type = out[pos - 1].type;
            byName = true;
        } else if (e->kind == Expr::Column && e->qualifier.isEmpty()) {
            for (int k = 0; k < out.size(); ++k) {
                if (out[k].name.compare(e->text, Qt::CaseInsensitive) != 0) continue;
                // A name of the select list; with ties the term is the item's own expression.
                term = expand && s && s->items[k].expr ? s->items[k].expr->sql : quoted(out[k].name);
                type = out[k].type;
                byName = true;
                break;
            }
        }
        if (!byName) {
            if (compound)
                fail(104, QStringLiteral("ORDER BY items must appear in the select list if the statement contains a UNION, INTERSECT or EXCEPT operator."));
            term = value(e);
            type = e->type;
            if (scope_ && scope_->grouped) checkGrouped(e, *scope_, 8127);
            if (s && s->distinct) {
                bool listed = false;
                for (const SelectItem& item : s->items) listed = listed || (item.expr && item.expr->sql == term);
                if (!listed) fail(145, QStringLiteral("ORDER BY items must appear in the select list if SELECT DISTINCT is specified."));
            }
        }
        if (type.isString() && !(e->kind == Expr::Column && !byName)) term += QStringLiteral(" COLLATE TSQL");
        if (o.desc) term += QStringLiteral(" DESC");
        terms << term;
    }
    return terms.join(QStringLiteral(", "));
}

// --- INSERT, UPDATE, DELETE ---------------------------------------------------------------

// The type of a column written by INSERT or UPDATE; 207 for a column the table lacks.
Type Generator::targetColumn(const Visible& target, const QString& column) const {
    if (target.open) return fromDeclared(schema_.columnType(target.mangled, column));
    for (const OutColumn& c : target.columns)
        if (c.name.compare(column, Qt::CaseInsensitive) == 0) return c.type;
    fail(207, QStringLiteral("Invalid column name '%1'.").arg(column));
}

QString Generator::insert(Statement& s) {
    const Visible target = tableSource(s.target);
    QStringList columns = s.columns;
    if (columns.isEmpty() && !target.open)
        for (const OutColumn& c : target.columns) columns << c.name;
    QVector<Type> types;
    for (const QString& c : columns) types << targetColumn(target, c);
    QStringList names;
    for (const QString& c : s.columns) names << ident(c);
    QString sql = QStringLiteral("INSERT INTO ") + target.mangled;
    if (!names.isEmpty()) sql += QStringLiteral(" (") + names.join(QStringLiteral(", ")) + QLatin1Char(')');
    Scope scope;
    scope.parent = nullptr;
    Restore<Scope*> keep(scope_);
    scope_ = &scope;
    if (s.defaultValues) return sql + QStringLiteral(" DEFAULT VALUES");
    if (s.query) {
        QVector<OutColumn> cols;
        const QString q = query(s.query, &cols, &types);
        if (!types.isEmpty() && cols.size() != types.size() && !(cols.size() == 1 && cols[0].name == QLatin1String("*")))
            fail(120, QStringLiteral("The select list for the INSERT statement contains %1 items than the insert list. "
                                     "The number of SELECT values must match the number of INSERT columns.")
                          .arg(cols.size() < types.size() ? QStringLiteral("fewer") : QStringLiteral("more")));
        return sql + QLatin1Char(' ') + q;
    }
    QStringList rows;
    for (const QVector<Expr*>& row : s.rows) {
        if (!types.isEmpty() && row.size() != types.size())
            fail(110, QStringLiteral("There are %1 columns in the INSERT statement than values specified in the VALUES clause. "
                                     "The number of values in the VALUES clause must match the number of columns specified in the INSERT statement.")
                          .arg(row.size() < types.size() ? QStringLiteral("more") : QStringLiteral("fewer")));
        QStringList values;
        for (int k = 0; k < row.size(); ++k)
            values << (k < types.size() ? valueAs(row[k], types[k]) : value(row[k]));
        rows << QLatin1Char('(') + values.join(QStringLiteral(", ")) + QLatin1Char(')');
    }
    return sql + QStringLiteral(" VALUES ") + rows.join(QStringLiteral(", "));
}

namespace {
// The tables of a chain of inner joins, and their join conditions; false when an outer join
// is part of it.
bool innerLeaves(tsql::Source* s, QVector<tsql::Source*>* leaves, QVector<Expr*>* conditions) {
    if (s->kind != tsql::Source::Join) {
        leaves->append(s);
        return true;
    }
    if (s->join != QLatin1String("INNER") && s->join != QLatin1String("CROSS")) return false;
    if (s->on) conditions->append(s->on);
    return innerLeaves(s->left, leaves, conditions) && innerLeaves(s->right, leaves, conditions);
}

bool names(const tsql::Source* s, const QString& name) {
    if (s->kind != tsql::Source::Table) return false;
    return (s->alias.isEmpty() ? s->name : s->alias).compare(name, Qt::CaseInsensitive) == 0;
}
}  // namespace

QString Generator::update(Statement& s) {
    Scope scope;
    Restore<Scope*> keep(scope_);
    // UPDATE x ... FROM: x may name one of the joined tables; it becomes the target and its
    // join conditions part of WHERE (SQLite's UPDATE FROM lists the other tables).
    QVector<tsql::Source*> from = s.from;
    QVector<Expr*> conditions;
    const tsql::Source* named = nullptr;
    if (s.target->database.isEmpty() && s.target->owner.isEmpty()) {
        for (int k = 0; k < from.size() && !named; ++k) {
            QVector<tsql::Source*> leaves;
            QVector<Expr*> ons;
            const bool inner = innerLeaves(from[k], &leaves, &ons);
            for (tsql::Source* leaf : leaves) {
                if (!names(leaf, s.target->name)) continue;
                if (!inner)
                    fail(40517, QStringLiteral("Keyword or statement option 'UPDATE of an outer-joined table' is not supported in this version of SQL Server."));
                named = leaf;
                from.remove(k);
                for (tsql::Source* other : leaves)
                    if (other != leaf) from.insert(k, other);
                conditions = ons;
                break;
            }
        }
    }
    const Visible target = tableSource(named ? named : s.target);
    scope.sources.append(target);
    const QString fromSql = from.isEmpty() ? QString() : sources(from, scope);
    scope_ = &scope;
    QStringList sets;
    for (const Assignment& a : s.sets) {
        const QString col = a.column.last();
        if (a.column.size() > 1 && a.column[a.column.size() - 2].compare(target.alias, Qt::CaseInsensitive) != 0 &&
            a.column[a.column.size() - 2].compare(target.table, Qt::CaseInsensitive) != 0)
            fail(4104, QStringLiteral("The multi-part identifier \"%1\" could not be bound.").arg(a.column.join(QLatin1Char('.'))));
        sets << ident(col) + QStringLiteral(" = ") + valueAs(a.value, targetColumn(target, col));
    }
    QStringList where;
    for (Expr* c : conditions) where << condition(c);
    if (s.where) where << condition(s.where);
    QString sql = QStringLiteral("UPDATE %1 AS %2 SET %3").arg(target.mangled, quoted(target.alias), sets.join(QStringLiteral(", ")));
    if (!fromSql.isEmpty()) sql += QStringLiteral(" FROM ") + fromSql;
    if (!where.isEmpty()) sql += QStringLiteral(" WHERE ") + where.join(QStringLiteral(" AND "));
    return sql;
}

QString Generator::remove(Statement& s) {
    Scope scope;
    Restore<Scope*> keep(scope_);
    if (s.from.isEmpty()) {
        const Visible target = tableSource(s.target);
        scope.sources.append(target);
        scope_ = &scope;
        QString sql = QStringLiteral("DELETE FROM %1 AS %2").arg(target.mangled, quoted(target.alias));
        if (s.where) sql += QStringLiteral(" WHERE ") + condition(s.where);
        return sql;
    }
    // DELETE x FROM ...: the rows of x that the FROM and WHERE find.
    QString from = sources(s.from, scope);
    Visible target;
    for (const Visible& src : scope.sources)
        if (s.target->database.isEmpty() && src.alias.compare(s.target->name, Qt::CaseInsensitive) == 0 && !src.mangled.isEmpty())
            target = src;
    if (target.mangled.isEmpty()) {
        target = tableSource(s.target);
        from = target.mangled + QStringLiteral(" AS ") + quoted(target.alias) + QStringLiteral(", ") + from;
        scope.sources.prepend(target);
    }
    scope_ = &scope;
    QString sub = QStringLiteral("SELECT %1.rowid FROM %2").arg(ident(target.sqlAlias), from);
    if (s.where) sub += QStringLiteral(" WHERE ") + condition(s.where);
    return QStringLiteral("DELETE FROM %1 WHERE rowid IN (%2)").arg(target.mangled, sub);
}

}  // namespace hospitaldb::tsql
