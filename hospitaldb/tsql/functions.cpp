// T-SQL's built-in functions: their arguments, their SQL Server result types, and the SQLite
// text that computes them (mostly the tsql_* functions of the runtime).
#include "hospitaldb/tsql/generator.h"
#include "hospitaldb/engine.h"

#include <functional>

namespace hospitaldb::tsql {

namespace {
using Handler = std::function<QString(Generator&, Expr*)>;

struct Function {
    int min;
    int max;  // -1: any number
    Handler handler;
};

// The canonical date part of an abbreviation, "" when unknown.
QString canonicalPart(const QString& written) {
    static const QHash<QString, QString> parts{
        {"year", "year"}, {"yy", "year"}, {"yyyy", "year"}, {"quarter", "quarter"}, {"qq", "quarter"},
        {"q", "quarter"}, {"month", "month"}, {"mm", "month"}, {"m", "month"}, {"dayofyear", "dayofyear"},
        {"dy", "dayofyear"}, {"y", "dayofyear"}, {"day", "day"}, {"dd", "day"}, {"d", "day"},
        {"week", "week"}, {"wk", "week"}, {"ww", "week"}, {"weekday", "weekday"}, {"dw", "weekday"},
        {"w", "weekday"}, {"hour", "hour"}, {"hh", "hour"}, {"minute", "minute"}, {"mi", "minute"},
        {"n", "minute"}, {"second", "second"}, {"ss", "second"}, {"s", "second"},
        {"millisecond", "millisecond"}, {"ms", "millisecond"}, {"microsecond", "microsecond"},
        {"mcs", "microsecond"}, {"nanosecond", "nanosecond"}, {"ns", "nanosecond"}, {"iso_week", "iso_week"},
        {"isowk", "iso_week"}, {"isoww", "iso_week"}, {"tzoffset", "tzoffset"}, {"tz", "tzoffset"}};
    return parts.value(written.toLower());
}

QString quotedText(const QString& s) {
    QString v = s;
    v.replace(QLatin1Char('\''), QLatin1String("''"));
    return QLatin1Char('\'') + v + QLatin1Char('\'');
}

QStringList values(Generator& g, Expr* e, int from = 0) {
    QStringList out;
    for (int k = from; k < e->args.size(); ++k) out << g.value(e->args[k]);
    return out;
}

// The type the arguments meet in, each argument converted to it.
Type commonOf(Generator& g, Expr* e, QStringList& sql, int from = 0) {
    Type t = Type::of(Base::Null);
    for (int k = from; k < e->args.size(); ++k) t = common(t, e->args[k]->type);
    for (int k = from; k < e->args.size(); ++k) sql[k - from] = g.convert(sql[k - from], e->args[k]->type, t, false);
    return t;
}

QString number(Generator& g, Expr* a) {
    const QString v = g.value(a);
    if (a->type.isString()) return g.convert(v, a->type, Type::of(Base::Float), false);
    if (a->type.isTemporal())
        g.fail(8116, QStringLiteral("Argument data type %1 is invalid for argument 1 of %2 function.").arg(a->type.name(), QStringLiteral("math")));
    return v;
}

QString stringResult(Expr* e, const QString& sql, int length = 0) {
    const bool unicode = !e->args.isEmpty() && e->args[0]->type.isUnicode();
    e->type = Type{unicode ? Base::NVarChar : Base::VarChar, length, 0, 0};
    return sql;
}

Handler typed(Base base, std::function<QString(Generator&, Expr*)> body) {
    return [base, body](Generator& g, Expr* e) {
        QString sql = body(g, e);
        e->type = Type::of(base);
        return sql;
    };
}

Handler plainText(const char* sqlName) {
    const QString name = QString::fromLatin1(sqlName);
    return [name](Generator& g, Expr* e) {
        QStringList a;
        for (Expr* x : e->args) a << g.text(x);
        return stringResult(e, name + QLatin1Char('(') + a.join(QStringLiteral(", ")) + QLatin1Char(')'));
    };
}

QString aggregate(Generator& g, Expr* e, const QString& name) {
    const QString fn = name.toLower();
    const bool window = e->over;
    if (!window) g.enterAggregate(e);
    QString arg;
    Type t;
    if (!e->args.isEmpty() && e->args[0]->kind == Expr::Star) {
        if (fn != QLatin1String("count") && fn != QLatin1String("count_big")) g.syntax(e->args[0]);
        arg = QStringLiteral("*");
    } else {
        arg = g.value(e->args[0]);
        t = e->args[0]->type;
    }
    if (!window) g.leaveAggregate();
    const QString distinct = e->distinct ? QStringLiteral("DISTINCT ") : QString();
    const QString over = window ? g.over(e) : QString();
    if (fn == QLatin1String("count") || fn == QLatin1String("count_big")) {
        e->type = Type::of(fn == QLatin1String("count") ? Base::Int : Base::BigInt);
        return QStringLiteral("count(%1%2)%3").arg(distinct, arg, over);
    }
    if (fn == QLatin1String("min") || fn == QLatin1String("max")) {
        e->type = t;
        if (t.isString() && e->args[0]->kind != Expr::Column) arg += QStringLiteral(" COLLATE TSQL");
        return QStringLiteral("%1(%2%3)%4").arg(fn, distinct, arg, over);
    }
    if (t.isString() || t.isTemporal())
        g.fail(8117, QStringLiteral("Operand data type %1 is invalid for %2 operator.").arg(t.name(), fn));
    if (fn == QLatin1String("sum")) {
        e->type = sumOf(t);
        if (e->type.isExact() && !e->type.isInteger())
            return QStringLiteral("round(sum(%1%2)%3, %4)").arg(distinct, arg, over).arg(e->type.decimalScale());
        return QStringLiteral("sum(%1%2)%3").arg(distinct, arg, over);
    }
    // avg: an average of integers is an integer, as the server keeps the type.
    e->type = avgOf(t);
    if (e->type.isInteger())
        return QStringLiteral("tsql_idiv(sum(%1%2)%3, count(%1%2)%3)").arg(distinct, arg, over);
    if (e->type.isExact())
        return QStringLiteral("round(avg(%1%2)%3, %4)").arg(distinct, arg, over).arg(e->type.decimalScale());
    return QStringLiteral("avg(%1%2)%3").arg(distinct, arg, over);
}

Handler windowed(const char* sqlName, Base result, bool needsOrder) {
    const QString name = QString::fromLatin1(sqlName);
    return [name, result, needsOrder](Generator& g, Expr* e) {
        if (!e->over || (needsOrder && e->overOrder.isEmpty()))
            g.fail(4112, QStringLiteral("The function '%1' must have an OVER clause with ORDER BY.").arg(e->text.toLower()));
        const QStringList a = values(g, e);
        e->type = result == Base::Unknown ? (e->args.isEmpty() ? Type() : e->args[0]->type) : Type::of(result);
        return name + QLatin1Char('(') + a.join(QStringLiteral(", ")) + QLatin1Char(')') + g.over(e);
    };
}

const QHash<QString, Function>& catalogue() {
    static const QHash<QString, Function> f = [] {
        QHash<QString, Function> c;
        // --- aggregates and windows ---
        for (const char* n : {"count", "count_big", "sum", "avg", "min", "max"})
            c.insert(QString::fromLatin1(n), {1, 1, [n](Generator& g, Expr* e) { return aggregate(g, e, QString::fromLatin1(n)); }});
        c.insert("string_agg", {2, 2, [](Generator& g, Expr* e) {
            g.enterAggregate(e);
            const QString v = g.text(e->args[0]);
            g.leaveAggregate();
            const QString sep = g.text(e->args[1]);
            e->type = Type::varchar(-1);
            return QStringLiteral("group_concat(%1, %2)").arg(v, sep);
        }});
        c.insert("row_number", {0, 0, windowed("row_number", Base::BigInt, true)});
        c.insert("rank", {0, 0, windowed("rank", Base::BigInt, true)});
        c.insert("dense_rank", {0, 0, windowed("dense_rank", Base::BigInt, true)});
        c.insert("ntile", {1, 1, windowed("ntile", Base::BigInt, true)});
        c.insert("lag", {1, 3, windowed("lag", Base::Unknown, true)});
        c.insert("lead", {1, 3, windowed("lead", Base::Unknown, true)});
        c.insert("first_value", {1, 1, windowed("first_value", Base::Unknown, true)});
        c.insert("last_value", {1, 1, windowed("last_value", Base::Unknown, true)});

        // --- texts ---
        c.insert("len", {1, 1, typed(Base::Int, [](Generator& g, Expr* e) { return QStringLiteral("tsql_len(%1)").arg(g.text(e->args[0])); })});
        c.insert("datalength", {1, 1, [](Generator& g, Expr* e) {
            const QString v = g.value(e->args[0]);
            const Type& t = e->args[0]->type;
            e->type = Type::of(Base::Int);
            if (t.isString() || !t.known()) return QStringLiteral("tsql_datalength(%1, %2)").arg(v).arg(t.isUnicode() ? 2 : 1);
            int bytes = 8;
            switch (t.base) {
            case Base::Bit: case Base::TinyInt: bytes = 1; break;
            case Base::SmallInt: bytes = 2; break;
            case Base::Int: case Base::SmallMoney: case Base::Real: case Base::SmallDateTime: bytes = 4; break;
            case Base::Date: bytes = 3; break;
            case Base::Time: bytes = 5; break;
            case Base::Decimal: bytes = t.precision <= 9 ? 5 : t.precision <= 19 ? 9 : t.precision <= 28 ? 13 : 17; break;
            default: break;
            }
            return QStringLiteral("CASE WHEN %1 IS NULL THEN NULL ELSE %2 END").arg(v).arg(bytes);
        }});
        c.insert("left", {2, 2, [](Generator& g, Expr* e) {
            return stringResult(e, QStringLiteral("tsql_left(%1, %2)").arg(g.text(e->args[0]), g.integer(e->args[1])));
        }});
        c.insert("right", {2, 2, [](Generator& g, Expr* e) {
            return stringResult(e, QStringLiteral("tsql_right(%1, %2)").arg(g.text(e->args[0]), g.integer(e->args[1])));
        }});
        c.insert("substring", {3, 3, [](Generator& g, Expr* e) {
            return stringResult(e, QStringLiteral("tsql_substring(%1, %2, %3)")
                                       .arg(g.text(e->args[0]), g.integer(e->args[1]), g.integer(e->args[2])));
        }});
        c.insert("upper", {1, 1, plainText("tsql_upper")});
        c.insert("lower", {1, 1, plainText("tsql_lower")});
        c.insert("ltrim", {1, 1, plainText("ltrim")});
        c.insert("rtrim", {1, 1, plainText("rtrim")});
        c.insert("trim", {1, 1, [](Generator& g, Expr* e) { return stringResult(e, QStringLiteral("trim(%1, ' ')").arg(g.text(e->args[0]))); }});
        c.insert("replace", {3, 3, plainText("tsql_replace")});
        c.insert("reverse", {1, 1, plainText("tsql_reverse")});
        c.insert("replicate", {2, 2, [](Generator& g, Expr* e) {
            return stringResult(e, QStringLiteral("tsql_replicate(%1, %2)").arg(g.text(e->args[0]), g.integer(e->args[1])), -1);
        }});
        c.insert("space", {1, 1, [](Generator& g, Expr* e) {
            e->type = Type::varchar(-1);
            return QStringLiteral("tsql_replicate(' ', %1)").arg(g.integer(e->args[0]));
        }});
        c.insert("stuff", {4, 4, [](Generator& g, Expr* e) {
            return stringResult(e, QStringLiteral("tsql_stuff(%1, %2, %3, %4)")
                                       .arg(g.text(e->args[0]), g.integer(e->args[1]), g.integer(e->args[2]), g.text(e->args[3])), -1);
        }});
        c.insert("charindex", {2, 3, typed(Base::Int, [](Generator& g, Expr* e) {
            const QString start = e->args.size() > 2 ? g.integer(e->args[2]) : QStringLiteral("1");
            return QStringLiteral("tsql_charindex(%1, %2, %3)").arg(g.text(e->args[0]), g.text(e->args[1]), start);
        })});
        c.insert("patindex", {2, 2, typed(Base::Int, [](Generator& g, Expr* e) {
            return QStringLiteral("tsql_patindex(%1, %2)").arg(g.text(e->args[0]), g.text(e->args[1]));
        })});
        c.insert("str", {1, 3, [](Generator& g, Expr* e) {
            const QString v = number(g, e->args[0]);
            const QString len = e->args.size() > 1 ? g.integer(e->args[1]) : QStringLiteral("10");
            const QString dec = e->args.size() > 2 ? g.integer(e->args[2]) : QStringLiteral("0");
            e->type = Type::varchar(-1);
            return QStringLiteral("tsql_strnum(%1, %2, %3)").arg(v, len, dec);
        }});
        c.insert("concat", {2, -1, [](Generator& g, Expr* e) {
            QStringList parts;
            bool unicode = false;
            for (Expr* a : e->args) {
                parts << QStringLiteral("ifnull(%1, '')").arg(g.text(a));
                unicode = unicode || a->type.isUnicode();
            }
            e->type = Type{unicode ? Base::NVarChar : Base::VarChar, -1, 0, 0};
            return QLatin1Char('(') + parts.join(QStringLiteral(" || ")) + QLatin1Char(')');
        }});
        c.insert("concat_ws", {3, -1, [](Generator& g, Expr* e) {
            QStringList parts;
            for (Expr* a : e->args.mid(1)) parts << g.text(a);
            e->type = Type::varchar(-1);
            return QStringLiteral("tsql_concat_ws(%1, %2)").arg(g.text(e->args[0]), parts.join(QStringLiteral(", ")));
        }});
        c.insert("quotename", {1, 2, [](Generator& g, Expr* e) {
            const QString q = e->args.size() > 1 ? g.text(e->args[1]) : QStringLiteral("'['");
            e->type = Type{Base::NVarChar, 258, 0, 0};
            return QStringLiteral("tsql_quotename(%1, %2)").arg(g.text(e->args[0]), q);
        }});
        c.insert("isnumeric", {1, 1, typed(Base::Int, [](Generator& g, Expr* e) {
            const QString v = g.value(e->args[0]);
            const Type& t = e->args[0]->type;
            if (t.isNumeric()) return QStringLiteral("CASE WHEN %1 IS NULL THEN 0 ELSE 1 END").arg(v);
            if (t.isTemporal()) return QStringLiteral("0");
            return QStringLiteral("tsql_isnumeric(%1)").arg(v);
        })});
        c.insert("char", {1, 1, [](Generator& g, Expr* e) {
            e->type = Type{Base::Char, 1, 0, 0};
            return QStringLiteral("tsql_char(%1, 255)").arg(g.integer(e->args[0]));
        }});
        c.insert("nchar", {1, 1, [](Generator& g, Expr* e) {
            e->type = Type{Base::NChar, 1, 0, 0};
            return QStringLiteral("tsql_char(%1, 1114111)").arg(g.integer(e->args[0]));
        }});
        c.insert("ascii", {1, 1, typed(Base::Int, [](Generator& g, Expr* e) {
            return QStringLiteral("unicode(substr(%1, 1, 1))").arg(g.text(e->args[0]));
        })});
        c.insert("unicode", {1, 1, typed(Base::Int, [](Generator& g, Expr* e) {
            return QStringLiteral("unicode(substr(%1, 1, 1))").arg(g.text(e->args[0]));
        })});

        // --- nulls and choices ---
        c.insert("isnull", {2, 2, [](Generator& g, Expr* e) {
            const QString a = g.value(e->args[0]);
            QString b = g.value(e->args[1]);
            Type t = e->args[0]->type.isNull() ? e->args[1]->type : e->args[0]->type;
            if (t.isNull()) t = Type::of(Base::Int);
            b = g.convert(b, e->args[1]->type, t, false);
            e->type = t;
            return QStringLiteral("ifnull(%1, %2)").arg(a, b);
        }});
        c.insert("coalesce", {2, -1, [](Generator& g, Expr* e) {
            QStringList a = values(g, e);
            const Type t = commonOf(g, e, a);
            if (t.isNull())
                g.fail(4127, QStringLiteral("At least one of the arguments to COALESCE must be an expression that is not the NULL constant."));
            e->type = t;
            return QStringLiteral("coalesce(%1)").arg(a.join(QStringLiteral(", ")));
        }});
        c.insert("nullif", {2, 2, [](Generator& g, Expr* e) {
            QStringList a = values(g, e);
            const Type t = commonOf(g, e, a);
            e->type = e->args[0]->type;
            if (t.isString()) a[1] += QStringLiteral(" COLLATE TSQL");
            return QStringLiteral("nullif(%1, %2)").arg(a[0], a[1]);
        }});
        c.insert("iif", {3, 3, [](Generator& g, Expr* e) {
            Expr* cond = e->args[0];
            Expr* whenTrue = e->args[1];
            Expr* whenFalse = e->args[2];
            Expr caseExpr;
            caseExpr.kind = Expr::Case;
            caseExpr.at = e->at;
            caseExpr.args = {nullptr, cond, whenTrue};
            caseExpr.elseExpr = whenFalse;
            const QString sql = g.value(&caseExpr);
            e->type = caseExpr.type;
            return sql;
        }});
        c.insert("choose", {2, -1, [](Generator& g, Expr* e) {
            const QString index = g.integer(e->args[0]);
            QStringList a = values(g, e, 1);
            const Type t = commonOf(g, e, a, 1);
            QString sql = QStringLiteral("CASE ") + index;
            for (int k = 0; k < a.size(); ++k) sql += QStringLiteral(" WHEN %1 THEN %2").arg(k + 1).arg(a[k]);
            e->type = t;
            return sql + QStringLiteral(" END");
        }});

        // --- numbers ---
        c.insert("abs", {1, 1, [](Generator& g, Expr* e) {
            const QString v = number(g, e->args[0]);
            e->type = e->args[0]->type.isString() ? Type::of(Base::Float) : e->args[0]->type;
            return QStringLiteral("abs(%1)").arg(v);
        }});
        for (const char* n : {"ceiling", "floor"}) {
            const QString fn = QString::fromLatin1(n) == QLatin1String("ceiling") ? QStringLiteral("ceil") : QStringLiteral("floor");
            c.insert(QString::fromLatin1(n), {1, 1, [fn](Generator& g, Expr* e) {
                const QString v = number(g, e->args[0]);
                const Type& t = e->args[0]->type;
                e->type = t.base == Base::Decimal ? Type::decimal(t.precision, 0) : (t.isString() ? Type::of(Base::Float) : t);
                return QStringLiteral("%1(%2)").arg(fn, v);
            }});
        }
        c.insert("round", {2, 3, [](Generator& g, Expr* e) {
            const QString v = number(g, e->args[0]);
            const QString digits = g.integer(e->args[1]);
            const QString truncate = e->args.size() > 2 ? g.integer(e->args[2]) : QStringLiteral("0");
            e->type = e->args[0]->type.isString() ? Type::of(Base::Float) : e->args[0]->type;
            return QStringLiteral("tsql_round(%1, %2, %3)").arg(v, digits, truncate);
        }});
        c.insert("power", {2, 2, [](Generator& g, Expr* e) {
            const QString x = number(g, e->args[0]);
            const QString y = number(g, e->args[1]);
            const Type& t = e->args[0]->type;
            e->type = t.isString() ? Type::of(Base::Float) : t;
            if (e->type.isInteger()) return QStringLiteral("CAST(power(%1, %2) AS INTEGER)").arg(x, y);
            if (e->type.isExact()) return QStringLiteral("round(power(%1, %2), %3)").arg(x, y).arg(e->type.decimalScale());
            return QStringLiteral("power(%1, %2)").arg(x, y);
        }});
        c.insert("sign", {1, 1, [](Generator& g, Expr* e) {
            const QString v = number(g, e->args[0]);
            e->type = e->args[0]->type.isString() ? Type::of(Base::Float) : e->args[0]->type;
            return QStringLiteral("sign(%1)").arg(v);
        }});
        for (const char* n : {"sqrt", "exp", "log10", "sin", "cos", "tan", "asin", "acos", "atan", "degrees", "radians"}) {
            const QString fn = QString::fromLatin1(n);
            c.insert(fn, {1, 1, typed(Base::Float, [fn](Generator& g, Expr* e) {
                return QStringLiteral("%1(%2)").arg(fn, number(g, e->args[0]));
            })});
        }
        c.insert("square", {1, 1, typed(Base::Float, [](Generator& g, Expr* e) {
            const QString v = number(g, e->args[0]);
            return QStringLiteral("((%1) * 1.0 * (%1))").arg(v);
        })});
        c.insert("log", {1, 2, typed(Base::Float, [](Generator& g, Expr* e) {
            if (e->args.size() == 1) return QStringLiteral("ln(%1)").arg(number(g, e->args[0]));
            return QStringLiteral("(ln(%1) / ln(%2))").arg(number(g, e->args[0]), number(g, e->args[1]));
        })});
        c.insert("pi", {0, 0, typed(Base::Float, [](Generator&, Expr*) { return QStringLiteral("3.141592653589793"); })});

        // --- dates ---
        auto now = typed(Base::DateTime, [](Generator&, Expr*) { return QStringLiteral("mss_now()"); });
        c.insert("getdate", {0, 0, now});
        c.insert("sysdatetime", {0, 0, now});
        c.insert("getutcdate", {0, 0, typed(Base::DateTime, [](Generator&, Expr*) { return QStringLiteral("tsql_utcnow()"); })});
        c.insert("dateadd", {3, 3, [](Generator& g, Expr* e) {
            const QString part = g.datePart(e->args[0], QStringLiteral("dateadd"));
            if (part == QLatin1String("iso_week") || part == QLatin1String("tzoffset"))
                g.fail(155, QStringLiteral("'%1' is not a recognized dateadd option.").arg(e->args[0]->text));
            const QString n = g.integer(e->args[1]);
            const QString d = g.dateValue(e->args[2]);
            const Type& t = e->args[2]->type;
            e->type = t.isString() ? Type::of(Base::DateTime) : t;
            const bool timePart = part == QLatin1String("hour") || part == QLatin1String("minute") ||
                                  part == QLatin1String("second") || part == QLatin1String("millisecond") ||
                                  part == QLatin1String("microsecond") || part == QLatin1String("nanosecond");
            if (e->type.base == Base::Date && timePart)
                g.fail(9810, QStringLiteral("The datepart %1 is not supported by date function dateadd for data type date.").arg(e->args[0]->text));
            return QStringLiteral("tsql_dateadd('%1', %2, %3, %4)").arg(part, n, d).arg(e->type.base == Base::Date ? 1 : 0);
        }});
        c.insert("datediff", {3, 3, typed(Base::Int, [](Generator& g, Expr* e) {
            const QString part = g.datePart(e->args[0], QStringLiteral("datediff"));
            if (part == QLatin1String("tzoffset") || part == QLatin1String("iso_week"))
                g.fail(155, QStringLiteral("'%1' is not a recognized datediff option.").arg(e->args[0]->text));
            return QStringLiteral("tsql_datediff('%1', %2, %3)").arg(part, g.dateValue(e->args[1]), g.dateValue(e->args[2]));
        })});
        c.insert("datepart", {2, 2, typed(Base::Int, [](Generator& g, Expr* e) {
            const QString part = g.datePart(e->args[0], QStringLiteral("datepart"));
            return QStringLiteral("tsql_datepart('%1', %2)").arg(part, g.dateValue(e->args[1]));
        })});
        c.insert("datename", {2, 2, [](Generator& g, Expr* e) {
            const QString part = g.datePart(e->args[0], QStringLiteral("datename"));
            e->type = Type{Base::NVarChar, 30, 0, 0};
            return QStringLiteral("tsql_datename('%1', %2)").arg(part, g.dateValue(e->args[1]));
        }});
        for (const char* n : {"year", "month", "day"}) {
            const QString part = QString::fromLatin1(n);
            c.insert(part, {1, 1, typed(Base::Int, [part](Generator& g, Expr* e) {
                return QStringLiteral("tsql_datepart('%1', %2)").arg(part, g.dateValue(e->args[0]));
            })});
        }
        c.insert("eomonth", {1, 2, typed(Base::Date, [](Generator& g, Expr* e) {
            const QString months = e->args.size() > 1 ? g.integer(e->args[1]) : QStringLiteral("0");
            return QStringLiteral("tsql_eomonth(%1, %2)").arg(g.dateValue(e->args[0]), months);
        })});
        c.insert("datefromparts", {3, 3, typed(Base::Date, [](Generator& g, Expr* e) {
            return QStringLiteral("tsql_datefromparts(%1, %2, %3)").arg(g.integer(e->args[0]), g.integer(e->args[1]), g.integer(e->args[2]));
        })});
        c.insert("isdate", {1, 1, typed(Base::Int, [](Generator& g, Expr* e) {
            const QString v = g.value(e->args[0]);
            const Type& t = e->args[0]->type;
            if (t.isDateTime()) return QStringLiteral("CASE WHEN %1 IS NULL THEN 0 ELSE 1 END").arg(v);
            if (t.isNumeric()) return QStringLiteral("0");
            return QStringLiteral("tsql_isdate(%1)").arg(v);
        })});

        // --- the session ---
        c.insert("scope_identity", {0, 0, [](Generator&, Expr* e) {
            e->type = Type::decimal(38, 0);
            return QStringLiteral("last_insert_rowid()");
        }});
        auto user = [](Generator&, Expr* e) {
            e->type = Type{Base::NVarChar, 128, 0, 0};
            return QStringLiteral("mss_user()");
        };
        c.insert("suser_sname", {0, 0, user});
        c.insert("user_name", {0, 0, user});
        c.insert("db_name", {0, 0, [](Generator& g, Expr* e) {
            e->type = Type{Base::NVarChar, 128, 0, 0};
            return quotedText(g.defaultDatabase());
        }});
        return c;
    }();
    return f;
}

// Built-in functions of SQL Server that the embedded database does not offer.
const QSet<QString>& unsupported() {
    static const QSet<QString> s{
        "format", "soundex", "difference", "translate", "newid", "newsequentialid", "rand", "checksum",
        "binary_checksum", "hashbytes", "json_value", "json_query", "openjson", "string_split", "parse",
        "try_parse", "stdev", "stdevp", "var", "varp", "grouping", "grouping_id", "checksum_agg",
        "object_id", "object_name", "db_id", "datetimefromparts", "timefromparts", "datetime2fromparts",
        "smalldatetimefromparts", "datetimeoffsetfromparts", "sysdatetimeoffset", "sysutcdatetime",
        "switchoffset", "todatetimeoffset", "error_message", "error_number", "col_length", "cume_dist",
        "percent_rank", "percentile_cont", "percentile_disc", "compress", "decompress", "string_escape",
        "datediff_big", "datetrunc", "date_bucket", "greatest", "least", "host_name", "app_name",
        "is_member", "has_dbaccess", "serverproperty", "databasepropertyex", "typeproperty", "xact_state",
        "cursor_status", "ident_current", "ident_incr", "ident_seed", "atn2", "cot", "session_user",
        "system_user", "current_user", "original_login", "suser_name", "user_id", "suser_id", "formatmessage"};
    return s;
}
}  // namespace

QString Generator::datePart(Expr* e, const QString& function) {
    if (e->kind != Expr::Column || !e->qualifier.isEmpty()) {
        if (e->kind == Expr::String || e->kind == Expr::Number)
            fail(1023, QStringLiteral("Invalid parameter 1 specified for %1.").arg(function));
        syntax(e);
    }
    const QString part = canonicalPart(e->text);
    if (part.isEmpty()) fail(155, QStringLiteral("'%1' is not a recognized %2 option.").arg(e->text, function));
    e->type = Type();
    e->sql = part;
    return part;
}

QString Generator::call(Expr* e) {
    const QString name = e->text.toLower();
    if (name.startsWith(QLatin1String("mss_"))) {
        // The engine's own functions, for procedure texts and tests.
        const QString sql = name + QLatin1Char('(') + values(*this, e).join(QStringLiteral(", ")) + QLatin1Char(')');
        if (name == QLatin1String("mss_date") || name == QLatin1String("mss_now")) e->type = Type::of(Base::DateTime);
        else if (name == QLatin1String("mss_user")) e->type = Type::varchar(128);
        else e->type = Type();
        return sql;
    }
    const auto it = catalogue().constFind(name);
    if (it == catalogue().constEnd()) {
        if (unsupported().contains(name))
            fail(40517, QStringLiteral("Keyword or statement option '%1' is not supported in this version of SQL Server.").arg(e->text.toUpper()));
        fail(195, QStringLiteral("'%1' is not a recognized built-in function name.").arg(e->text));
    }
    const Function& f = *it;
    const int n = int(e->args.size());
    if (n < f.min || (f.max >= 0 && n > f.max)) {
        if (f.min == f.max) fail(174, QStringLiteral("The %1 function requires %2 argument(s).").arg(name).arg(f.min));
        if (f.max < 0) fail(189, QStringLiteral("The %1 function requires %2 to 254 arguments.").arg(name).arg(f.min));
        fail(189, QStringLiteral("The %1 function requires %2 to %3 arguments.").arg(name).arg(f.min).arg(f.max));
    }
    if (e->distinct && !isAggregate(e) && !e->over) syntax(e);
    static const QSet<QString> windowed{"row_number", "rank", "dense_rank", "ntile", "lag", "lead", "first_value",
                                        "last_value", "count", "count_big", "sum", "avg", "min", "max"};
    if (e->over && !windowed.contains(name))
        fail(4109, QStringLiteral("The function '%1' is not a valid windowing function, and cannot be used with the OVER clause.").arg(name));
    return f.handler(*this, e);
}

}  // namespace hospitaldb::tsql
