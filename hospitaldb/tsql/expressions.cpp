// Expressions: types from columns, literals and operators, and the SQLite text that answers
// as SQL Server does for those types.
#include "hospitaldb/tsql/generator.h"
#include "hospitaldb/engine.h"

namespace hospitaldb::tsql {

namespace {
const QSet<QString>& aggregateNames() {
    static const QSet<QString> s{"count", "count_big", "sum", "avg", "min", "max", "string_agg"};
    return s;
}

bool isPlainColumn(const Expr* e) { return e->kind == Expr::Column; }

QString operatorName(const QString& op) {
    if (op == QLatin1String("+")) return QStringLiteral("add");
    if (op == QLatin1String("-")) return QStringLiteral("subtract");
    if (op == QLatin1String("*")) return QStringLiteral("multiply");
    if (op == QLatin1String("/")) return QStringLiteral("divide");
    if (op == QLatin1String("%")) return QStringLiteral("modulo");
    if (op == QLatin1String("&")) return QStringLiteral("boolean AND");
    if (op == QLatin1String("|")) return QStringLiteral("boolean OR");
    if (op == QLatin1String("^")) return QStringLiteral("boolean XOR");
    return op;
}

Type numberType(const QString& text) {
    QString t = text;
    if (t.startsWith(QLatin1Char('-')) || t.startsWith(QLatin1Char('+'))) t.remove(0, 1);
    if (t.contains(QLatin1Char('e')) || t.contains(QLatin1Char('E'))) return Type::of(Base::Float);
    const qsizetype dot = t.indexOf(QLatin1Char('.'));
    if (dot >= 0) {
        QString digits = t;
        digits.remove(QLatin1Char('.'));
        while (digits.size() > 1 && digits.startsWith(QLatin1Char('0'))) digits.remove(0, 1);
        const int scale = int(t.size() - dot - 1);
        return Type::decimal(std::max(int(digits.size()), scale), scale);
    }
    bool ok = false;
    const qlonglong v = t.toLongLong(&ok);
    if (ok && v <= 2147483647LL) return Type::of(Base::Int);
    QString digits = t;
    while (digits.size() > 1 && digits.startsWith(QLatin1Char('0'))) digits.remove(0, 1);
    return Type::decimal(std::min(38, int(digits.size())), 0);
}
}  // namespace

void Generator::enterAggregate(const Expr* e) {
    if (noAggregates_)
        fail(147, QStringLiteral("An aggregate may not appear in the WHERE clause unless it is in a subquery contained in a "
                                 "HAVING clause or a select list, and the column being aggregated is an outer reference."));
    if (aggregateDepth_ > 0)
        fail(130, QStringLiteral("Cannot perform an aggregate function on an expression containing an aggregate or a subquery."));
    Q_UNUSED(e);
    ++aggregateDepth_;
}

bool Generator::isAggregate(const Expr* e) const {
    return e->kind == Expr::Call && !e->over && aggregateNames().contains(e->text.toLower());
}

bool Generator::containsAggregate(const Expr* e) const {
    if (!e) return false;
    if (isAggregate(e)) return true;
    for (const Expr* a : e->args)
        if (a && containsAggregate(a)) return true;
    return containsAggregate(e->elseExpr);
}

// Columns of a grouped query outside aggregates must be grouped (or be part of a grouped
// expression); SQLite would quietly pick one row's value.
void Generator::checkGrouped(Expr* e, const Scope& scope, long number) {
    if (!e || scope.groupKeys.contains(e->sql) || isAggregate(e)) return;
    if (e->kind == Expr::Column) {
        if (e->scope != &scope) return;  // an outer reference
        QString name = e->qualifier.isEmpty() ? QString() : e->qualifier.last() + QLatin1Char('.');
        for (const Visible& s : scope.sources)
            if (e->qualifier.isEmpty() && !s.open)
                for (const OutColumn& c : s.columns)
                    if (c.name.compare(e->text, Qt::CaseInsensitive) == 0) name = s.alias + QLatin1Char('.');
        name += e->text;
        if (number == 8121)
            fail(8121, QStringLiteral("Column '%1' is invalid in the HAVING clause because it is not contained in either an aggregate function or the GROUP BY clause.").arg(name));
        if (number == 8127)
            fail(8127, QStringLiteral("Column \"%1\" is invalid in the ORDER BY clause because it is not contained in either an aggregate function or the GROUP BY clause.").arg(name));
        fail(8120, QStringLiteral("Column '%1' is invalid in the select list because it is not contained in either an aggregate function or the GROUP BY clause.").arg(name));
    }
    for (Expr* a : e->args) checkGrouped(a, scope, number);
    checkGrouped(e->elseExpr, scope, number);
}

QString Generator::value(Expr* e) {
    if (isPredicate(e)) {
        // A condition where a value belongs: SQL Server cannot read it.
        const Token& t = tokens_.list.value(e->at);
        fail(mss::db::errnum::SyntaxError, QStringLiteral("Incorrect syntax near '%1'.").arg(t.text));
    }
    return expression(e);
}

QString Generator::valueAs(Expr* e, const Type& to) {
    const QString sql = value(e);
    return convert(sql, e->type, to, false);
}

QString Generator::condition(Expr* e) {
    if (!isPredicate(e))
        fail(4145, QStringLiteral("An expression of non-boolean type specified in a context where a condition is expected, near '%1'.").arg(near(e)));
    return expression(e);
}

QString Generator::text(Expr* e) {
    const QString sql = value(e);
    if (!e->type.known() || e->type.isNull() || e->type.isString()) return sql;
    return convert(sql, e->type, Type::varchar(-1), false);
}

QString Generator::integer(Expr* e) {
    const QString sql = value(e);
    if (e->type.isInteger() || !e->type.known() || e->type.isNull()) return sql;
    return convert(sql, e->type, Type::of(Base::Int), false);
}

QString Generator::dateValue(Expr* e) {
    const QString sql = value(e);
    // Date functions read a text as datetime2: no rounding to datetime's 1/300 second.
    if (e->type.isString()) return convert(sql, e->type, Type::of(Base::DateTime2), false);
    if (e->type.isNumeric())
        fail(8116, QStringLiteral("Argument data type %1 is invalid for argument 2 of dateadd function.").arg(e->type.name()));
    return sql;
}

int Generator::numberLiteral(Expr* e, const QString& function, int argument) {
    if (e->kind == Expr::Number && !e->text.contains(QLatin1Char('.'))) return e->text.toInt();
    fail(1023, QStringLiteral("Invalid parameter %1 specified for %2.").arg(argument).arg(function));
}

QString Generator::expression(Expr* e) {
    QString sql;
    switch (e->kind) {
    case Expr::Null:
        e->type = Type::of(Base::Null);
        sql = QStringLiteral("NULL");
        break;
    case Expr::String:
        e->type = Type{e->national ? Base::NVarChar : Base::VarChar, 0, 0, 0};
        sql = literal(e->literal);
        break;
    case Expr::Number:
        e->type = numberType(e->text);
        sql = e->text.startsWith(QLatin1Char('+')) ? e->text.mid(1) : e->text;
        if (sql.startsWith(QLatin1Char('-'))) sql = QLatin1Char('(') + sql + QLatin1Char(')');
        break;
    case Expr::Column: sql = column(e); break;
    case Expr::Variable: fail(137, QStringLiteral("Must declare the scalar variable \"%1\".").arg(e->text));
    case Expr::Star: syntax(e);
    case Expr::Unary: {
        const QString a = value(e->args[0]);
        const Type& t = e->args[0]->type;
        if (t.isString() || t.isTemporal())
            fail(8117, QStringLiteral("Operand data type %1 is invalid for %2 operator.")
                           .arg(t.name(), e->text == QLatin1String("~") ? QStringLiteral("~") : QStringLiteral("minus")));
        e->type = t.isNull() ? Type::of(Base::Int) : t;
        if (e->type.base == Base::Bit || e->type.base == Base::TinyInt) e->type = Type::of(Base::Int);
        sql = e->text == QLatin1String("+") ? a : QStringLiteral("(%1(%2))").arg(e->text, a);
        break;
    }
    case Expr::Binary: sql = arithmetic(e); break;
    case Expr::Compare: sql = compare(e); break;
    case Expr::And:
    case Expr::Or:
        sql = QStringLiteral("(%1 %2 %3)").arg(condition(e->args[0]), e->kind == Expr::And ? QStringLiteral("AND") : QStringLiteral("OR"),
                                                condition(e->args[1]));
        e->type = Type::of(Base::Bit);
        break;
    case Expr::Not:
        sql = QStringLiteral("(NOT %1)").arg(condition(e->args[0]));
        e->type = Type::of(Base::Bit);
        break;
    case Expr::Like: {
        const QString v = text(e->args[0]);
        const QString p = text(e->args[1]);
        QString call = QStringLiteral("tsql_like(%1, %2").arg(p, v);
        if (e->args.size() > 2) call += QStringLiteral(", ") + text(e->args[2]);
        call += QLatin1Char(')');
        sql = e->negated ? QStringLiteral("(NOT %1)").arg(call) : call;
        e->type = Type::of(Base::Bit);
        break;
    }
    case Expr::In: sql = inList(e); break;
    case Expr::Between: {
        QString v = value(e->args[0]), lo = value(e->args[1]), hi = value(e->args[2]);
        const Type t = common(common(e->args[0]->type, e->args[1]->type), e->args[2]->type);
        v = convert(v, e->args[0]->type, t, false);
        lo = convert(lo, e->args[1]->type, t, false);
        hi = convert(hi, e->args[2]->type, t, false);
        if (t.isString() || (!t.known() && (e->args[1]->type.isString() || e->args[2]->type.isString()))) {
            lo += QStringLiteral(" COLLATE TSQL");
            hi += QStringLiteral(" COLLATE TSQL");
        }
        sql = QStringLiteral("(%1 %2BETWEEN %3 AND %4)").arg(v, e->negated ? QStringLiteral("NOT ") : QString(), lo, hi);
        e->type = Type::of(Base::Bit);
        break;
    }
    case Expr::IsNull:
        sql = QStringLiteral("(%1 IS %2NULL)").arg(value(e->args[0]), e->negated ? QStringLiteral("NOT ") : QString());
        e->type = Type::of(Base::Bit);
        break;
    case Expr::Exists:
        sql = QStringLiteral("EXISTS (%1)").arg(subquery(e, false));
        e->type = Type::of(Base::Bit);
        break;
    case Expr::Case: sql = caseExpr(e); break;
    case Expr::Call: sql = call(e); break;
    case Expr::Cast: sql = cast(e); break;
    case Expr::Subquery: sql = QLatin1Char('(') + subquery(e, true) + QLatin1Char(')'); break;
    }
    e->sql = sql;
    return sql;
}

QString Generator::column(Expr* e) {
    const QStringList& q = e->qualifier;
    for (Scope* scope = scope_; scope; scope = scope->parent) {
        const Visible* match = nullptr;
        const OutColumn* col = nullptr;
        int matches = 0;
        const Visible* openMatch = nullptr;
        int opens = 0;
        bool qualifierMatched = false;
        for (const Visible& s : scope->sources) {
            if (!q.isEmpty()) {
                const QString& last = q.last();
                const bool byAlias = s.alias.compare(last, Qt::CaseInsensitive) == 0;
                const bool byTable = q.size() > 1 && s.alias.compare(s.table, Qt::CaseInsensitive) == 0 &&
                                     s.table.compare(last, Qt::CaseInsensitive) == 0;
                if (!byAlias && !byTable) continue;
                qualifierMatched = true;
            }
            if (s.open) {
                openMatch = &s;
                ++opens;
                continue;
            }
            for (const OutColumn& c : s.columns) {
                if (c.name.compare(e->text, Qt::CaseInsensitive) != 0) continue;
                if (!match) {
                    match = &s;
                    col = &c;
                }
                ++matches;
                break;
            }
        }
        if (matches > 1) fail(209, QStringLiteral("Ambiguous column name '%1'.").arg(e->text));
        if (match) {
            e->scope = scope;
            e->type = col->type;
            return ident(match->sqlAlias) + QLatin1Char('.') + ident(e->text);
        }
        if (opens > 0) {
            // Columns not listed: SQLite resolves the name.
            e->scope = scope;
            e->type = opens == 1 && !openMatch->mangled.isEmpty()
                          ? fromDeclared(schema_.columnType(openMatch->mangled, e->text)) : Type();
            return opens == 1 ? ident(openMatch->sqlAlias) + QLatin1Char('.') + ident(e->text) : ident(e->text);
        }
        if (qualifierMatched) fail(207, QStringLiteral("Invalid column name '%1'.").arg(e->text));
    }
    if (!q.isEmpty())
        fail(4104, QStringLiteral("The multi-part identifier \"%1\" could not be bound.").arg((q + QStringList{e->text}).join(QLatin1Char('.'))));
    fail(207, QStringLiteral("Invalid column name '%1'.").arg(e->text));
}

QString Generator::compare(Expr* e) {
    Expr* l = e->args[0];
    Expr* r = e->args[1];
    QString a = value(l), b = value(r);
    const Type t = common(l->type, r->type);
    a = convert(a, l->type, t, false);
    b = convert(b, r->type, t, false);
    const bool strings = t.isString() || (!t.known() && (l->type.isString() || r->type.isString()));
    if (strings && !(isPlainColumn(l) && isPlainColumn(r))) {
        // Text compares as the server's collation does: case and trailing blanks ignored.
        if (isPlainColumn(r)) a += QStringLiteral(" COLLATE TSQL");
        else b += QStringLiteral(" COLLATE TSQL");
    }
    e->type = Type::of(Base::Bit);
    return QStringLiteral("%1 %2 %3").arg(a, e->text, b);
}

QString Generator::arithmetic(Expr* e) {
    const QString& op = e->text;
    Expr* l = e->args[0];
    Expr* r = e->args[1];
    QString a = value(l), b = value(r);
    Type ta = l->type, tb = r->type;
    auto stringish = [](const Type& t) { return t.isString() || t.isNull() || !t.known(); };
    if (op == QLatin1String("+") && ((ta.isString() && stringish(tb)) || (tb.isString() && stringish(ta)))) {
        e->type = Type{ta.isUnicode() || tb.isUnicode() ? Base::NVarChar : Base::VarChar, -1, 0, 0};
        return QStringLiteral("(%1 || %2)").arg(a, b);
    }
    if (ta.isTemporal() || tb.isTemporal()) {
        // datetime + n and datetime - n count days.
        const bool leftDate = ta.isTemporal();
        const Type& dt = leftDate ? ta : tb;
        const Type& other = leftDate ? tb : ta;
        if ((op == QLatin1String("+") || (op == QLatin1String("-") && leftDate)) && dt.base != Base::Date &&
            dt.base != Base::Time && (other.isNumeric() || other.isNull())) {
            e->type = dt;
            const QString days = leftDate ? b : a;
            const QString date = leftDate ? a : b;
            return QStringLiteral("tsql_dateadd('day', %1%2, %3)")
                .arg(op == QLatin1String("-") ? QStringLiteral("-") : QString(), days, date);
        }
        if (dt.isTemporal() && (other.isTemporal() || other.isString()))
            fail(40517, QStringLiteral("Keyword or statement option '%1 %2 %3' is not supported in this version of SQL Server.")
                            .arg(ta.name(), op, tb.name()));
        fail(8117, QStringLiteral("Operand data type %1 is invalid for %2 operator.").arg(dt.name(), operatorName(op)));
    }
    const bool bitwise = op == QLatin1String("&") || op == QLatin1String("|") || op == QLatin1String("^");
    if ((ta.isString() && tb.isString()) || (bitwise && (ta.isString() || tb.isString())))
        fail(8117, QStringLiteral("Operand data type %1 is invalid for %2 operator.").arg(ta.isString() ? ta.name() : tb.name(), operatorName(op)));
    // A text beside a number becomes that number's type (or fails as SQL Server fails).
    if (ta.isString() && tb.known()) {
        a = convert(a, ta, tb.isNull() ? Type::of(Base::Int) : tb, false);
        ta = tb.isNull() ? Type::of(Base::Int) : tb;
    } else if (tb.isString() && ta.known()) {
        b = convert(b, tb, ta.isNull() ? Type::of(Base::Int) : ta, false);
        tb = ta.isNull() ? Type::of(Base::Int) : ta;
    }
    if (bitwise) {
        if (!(ta.isInteger() || ta.isNull() || !ta.known()) || !(tb.isInteger() || tb.isNull() || !tb.known()))
            fail(402, QStringLiteral("The data types %1 and %2 are incompatible in the %3 operator.").arg(ta.name(), tb.name(), operatorName(op)));
        e->type = ta.isInteger() ? (tb.isInteger() && tb.base > ta.base ? tb : ta) : (tb.isInteger() ? tb : Type::of(Base::Int));
        if (op == QLatin1String("^")) return QStringLiteral("((%1 | %2) - (%1 & %2))").arg(a, b);
        return QStringLiteral("(%1 %2 %3)").arg(a, op, b);
    }
    static const QHash<QString, Arith> ops{{"+", Arith::Add}, {"-", Arith::Subtract}, {"*", Arith::Multiply},
                                           {"/", Arith::Divide}, {"%", Arith::Modulo}};
    const Type t = tsql::arithmetic(ops.value(op), ta, tb);
    e->type = t;
    if (!t.known()) return QStringLiteral("(%1 %2 %3)").arg(a, op, b);
    if (t.isInteger()) {
        if (op == QLatin1String("/")) return QStringLiteral("tsql_idiv(%1, %2)").arg(a, b);
        if (op == QLatin1String("%")) return QStringLiteral("tsql_imod(%1, %2)").arg(a, b);
        return QStringLiteral("(%1 %2 %3)").arg(a, op, b);
    }
    if (t.isApprox()) {
        if (op == QLatin1String("/")) return QStringLiteral("tsql_fdiv(%1, %2)").arg(a, b);
        if (op == QLatin1String("%")) return QStringLiteral("tsql_mod(%1, %2)").arg(a, b);
        return QStringLiteral("(%1 %2 %3)").arg(a, op, b);
    }
    // Exact amounts keep their scale: money and decimal results are rounded to it, and
    // division is never integer division.
    const int scale = t.decimalScale();
    if (op == QLatin1String("/")) return QStringLiteral("tsql_div(%1, %2, %3)").arg(a, b).arg(scale);
    if (op == QLatin1String("%")) return QStringLiteral("tsql_mod(%1, %2)").arg(a, b);
    return QStringLiteral("round(%1 %2 %3, %4)").arg(a, op, b).arg(scale);
}

QString Generator::caseExpr(Expr* e) {
    Expr* operand = e->args[0];
    QString base;
    Type baseType;
    if (operand) {
        base = value(operand);
        baseType = operand->type;
    }
    QStringList whens, thens;
    QVector<Expr*> results;
    for (int k = 1; k + 1 < e->args.size(); k += 2) {
        if (operand) {
            whens << value(e->args[k]);
            baseType = common(baseType, e->args[k]->type);
        } else {
            whens << condition(e->args[k]);
        }
        thens << value(e->args[k + 1]);
        results << e->args[k + 1];
    }
    QString otherwise;
    if (e->elseExpr) {
        otherwise = value(e->elseExpr);
        results << e->elseExpr;
    }
    Type t = Type::of(Base::Null);
    for (const Expr* r : results) t = common(t, r->type);
    if (t.isNull()) fail(8133, QStringLiteral("At least one of the result expressions in a CASE specification must be an expression other than the NULL constant."));
    QString sql = QStringLiteral("CASE");
    if (operand) {
        sql += QLatin1Char(' ') + convert(base, operand->type, baseType, false);
        if (baseType.isString()) sql += QStringLiteral(" COLLATE TSQL");
    }
    for (int k = 0; k < whens.size(); ++k) {
        const QString w = operand ? convert(whens[k], e->args[1 + 2 * k]->type, baseType, false) : whens[k];
        sql += QStringLiteral(" WHEN %1 THEN %2").arg(w, convert(thens[k], results[k]->type, t, false));
    }
    if (e->elseExpr) sql += QStringLiteral(" ELSE ") + convert(otherwise, e->elseExpr->type, t, false);
    e->type = t;
    return sql + QStringLiteral(" END");
}

QString Generator::inList(Expr* e) {
    Expr* v = e->args[0];
    QString left = value(v);
    QString list;
    Type t = v->type;
    if (e->query) {
        Restore<bool> keep(wantSingle_);
        wantSingle_ = false;
        QVector<OutColumn> cols;
        list = query(e->query, &cols);
        if (cols.size() != 1 || (cols[0].name == QLatin1String("*") && !cols[0].type.known()))
            fail(116, QStringLiteral("Only one expression can be specified in the select list when the subquery is not introduced with EXISTS."));
        t = common(t, cols[0].type);
    } else {
        QStringList items;
        for (Expr* a : e->args.mid(1)) {
            items << value(a);
            t = common(t, a->type);
        }
        for (int k = 0; k < items.size(); ++k) items[k] = convert(items[k], e->args[k + 1]->type, t, false);
        list = items.join(QStringLiteral(", "));
    }
    left = convert(left, v->type, t, false);
    if (t.isString() || (!t.known() && v->type.isString())) left += QStringLiteral(" COLLATE TSQL");
    e->type = Type::of(Base::Bit);
    return QStringLiteral("(%1 %2IN (%3))").arg(left, e->negated ? QStringLiteral("NOT ") : QString(), list);
}

QString Generator::subquery(Expr* e, bool scalar) {
    QVector<OutColumn> cols;
    Restore<bool> top(topLevel_);
    topLevel_ = false;
    Restore<bool> single(wantSingle_);
    if (aggregateDepth_ > 0)
        fail(130, QStringLiteral("Cannot perform an aggregate function on an expression containing an aggregate or a subquery."));
    Restore<bool> noAgg(noAggregates_);
    noAggregates_ = false;
    // A scalar subquery that may find several rows fails with 512 as on the server; one
    // that aggregates, takes TOP 1 or groups is left as it is.
    wantSingle_ = false;
    if (scalar && e->query->members.size() == 1 && !e->query->members[0]->nested) {
        const Select* s = e->query->members[0];
        bool aggregates = false;
        for (const SelectItem& item : s->items) aggregates = aggregates || (item.expr && containsAggregate(item.expr));
        const bool topOne = s->top && s->top->kind == Expr::Number && s->top->text == QLatin1String("1") && !s->percent;
        wantSingle_ = !aggregates && !topOne && !s->from.isEmpty() && !s->distinct && s->groupBy.isEmpty() && !s->having;
    }
    const QString sql = query(e->query, &cols);
    if (scalar) {
        if (cols.size() != 1 || (cols[0].name == QLatin1String("*") && !cols[0].type.known()))
            fail(116, QStringLiteral("Only one expression can be specified in the select list when the subquery is not introduced with EXISTS."));
        e->type = cols[0].type;
    }
    return sql;
}

QString Generator::over(Expr* e) {
    QStringList parts;
    if (!e->partition.isEmpty()) {
        QStringList p;
        for (Expr* x : e->partition) {
            QString s = value(x);
            if (x->type.isString() && x->kind != Expr::Column) s += QStringLiteral(" COLLATE TSQL");
            p << s;
        }
        parts << QStringLiteral("PARTITION BY ") + p.join(QStringLiteral(", "));
    }
    if (!e->overOrder.isEmpty()) {
        QStringList o;
        for (const auto& [x, desc] : e->overOrder) {
            QString s = value(x);
            if (x->type.isString() && x->kind != Expr::Column) s += QStringLiteral(" COLLATE TSQL");
            o << s + (desc ? QStringLiteral(" DESC") : QString());
        }
        parts << QStringLiteral("ORDER BY ") + o.join(QStringLiteral(", "));
    }
    return QStringLiteral(" OVER (%1)").arg(parts.join(QLatin1Char(' ')));
}

}  // namespace hospitaldb::tsql
