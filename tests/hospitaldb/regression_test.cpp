// A regression in the manner of sqllogictest: random queries of joins, subqueries, CASE,
// aggregates and predicates over integers, where T-SQL and SQLite mean the same, run through
// the front and directly on SQLite; both must give the same rows.
#include "testdb.h"

#include <algorithm>

using namespace hospitaldb;
using namespace hospitaldb::testing;

namespace {

class Generator {
public:
    explicit Generator(quint32 seed) : seed_(seed) {}

    // The query with {t1}, {t2} standing for the tables.
    QString query() {
        QString q;
        const bool grouped = pick(4) == 0;
        if (grouped) {
            const QString key = column("t1");
            q = QStringLiteral("SELECT %1, %2, %3 FROM {t1} AS t1").arg(key, aggregate(), aggregate());
            if (pick(2)) q += QStringLiteral(" WHERE ") + condition(2);
            q += QStringLiteral(" GROUP BY ") + key;
            if (pick(3) == 0) q += QStringLiteral(" HAVING COUNT(*) > 1");
            return q;
        }
        const bool joined = pick(4) == 0;
        q = QStringLiteral("SELECT %1%2, %3 FROM {t1} AS t1").arg(pick(5) == 0 ? QStringLiteral("DISTINCT ") : QString(),
                                                                   expression(2), expression(2));
        if (joined) q += pick(2) ? QStringLiteral(" JOIN {t2} AS t2 ON t2.x = t1.a") : QStringLiteral(" LEFT JOIN {t2} AS t2 ON t2.y = t1.b");
        joined_ = joined;
        if (pick(4)) q += QStringLiteral(" WHERE ") + condition(3);
        joined_ = false;
        return q;
    }

private:
    int pick(int n) {
        seed_ = seed_ * 1103515245u + 12345u;
        return int((seed_ >> 16) % quint32(n));
    }
    QString column(const char* table) {
        static const char* const t1[] = {"a", "b", "c", "d", "e"};
        static const char* const t2[] = {"x", "y"};
        if (QLatin1String(table) == QLatin1String("t2")) return QStringLiteral("t2.") + QLatin1String(t2[pick(2)]);
        return QStringLiteral("t1.") + QLatin1String(t1[pick(5)]);
    }
    QString expression(int depth) {
        const int k = depth <= 0 ? pick(2) : pick(9);
        switch (k) {
        case 0: return joined_ && pick(3) == 0 ? column("t2") : column("t1");
        case 1: return QString::number(pick(200) - 20);
        case 2: return QStringLiteral("(%1 + %2)").arg(expression(depth - 1), expression(depth - 1));
        case 3: return QStringLiteral("(%1 - %2)").arg(expression(depth - 1), expression(depth - 1));
        case 4: return QStringLiteral("(%1 * %2)").arg(expression(depth - 1), QString::number(pick(5)));
        case 5: return QStringLiteral("CASE WHEN %1 THEN %2 ELSE %3 END").arg(condition(depth - 1), expression(depth - 1), expression(depth - 1));
        case 6: return QStringLiteral("abs(%1)").arg(expression(depth - 1));
        case 7: return QStringLiteral("coalesce(%1, %2)").arg(expression(depth - 1), expression(depth - 1));
        default:
            // SQL Server takes no subquery inside an aggregate (130).
            if (inAggregate_) return column("t1");
            return QStringLiteral("(SELECT max(x) FROM {t2} AS s WHERE s.y < %1)").arg(column("t1"));
        }
    }
    QString condition(int depth) {
        static const char* const ops[] = {"=", "<>", "<", ">", "<=", ">="};
        const int k = depth <= 0 ? 0 : pick(8);
        switch (k) {
        case 0: return QStringLiteral("%1 %2 %3").arg(expression(0), QLatin1String(ops[pick(6)]), expression(1));
        case 1: return QStringLiteral("(%1 AND %2)").arg(condition(depth - 1), condition(depth - 1));
        case 2: return QStringLiteral("(%1 OR %2)").arg(condition(depth - 1), condition(depth - 1));
        case 3: return QStringLiteral("NOT (%1)").arg(condition(depth - 1));
        case 4: return QStringLiteral("%1 BETWEEN %2 AND %3").arg(expression(0), expression(0), expression(1));
        case 5: return QStringLiteral("%1 IN (%2, %3, %4)").arg(expression(1)).arg(pick(100)).arg(pick(100)).arg(pick(100));
        case 6: return QStringLiteral("%1 IS %2NULL").arg(column("t1"), pick(2) ? QStringLiteral("NOT ") : QString());
        default: return QStringLiteral("EXISTS (SELECT 1 FROM {t2} AS s WHERE s.x = %1)").arg(column("t1"));
        }
    }
    QString aggregate() {
        static const char* const fns[] = {"COUNT", "SUM", "MIN", "MAX"};
        if (pick(5) == 0) return QStringLiteral("COUNT(*)");
        inAggregate_ = true;
        const QString arg = expression(1);
        inAggregate_ = false;
        return QStringLiteral("%1(%2)").arg(QLatin1String(fns[pick(4)]), arg);
    }

    quint32 seed_;
    bool joined_ = false;
    bool inAggregate_ = false;
};

QStringList rowsOf(const ResultTable& r) {
    QStringList out;
    for (const auto& row : r.rows) {
        QStringList cols;
        for (const QVariant& v : row) cols << (v.isValid() ? QString::number(v.toLongLong()) : QStringLiteral("NULL"));
        out << cols.join(QLatin1Char('|'));
    }
    std::sort(out.begin(), out.end());
    return out;
}

TEST(HdbRegression, RandomQueriesAnswerAsSqliteDoesWhereTheLanguagesAgree) {
    TestDb t;
    Engine& e = t.db->engine();
    e.runScript("CREATE TABLE MSS__tbSltOne (a INTEGER, b INTEGER, c INTEGER, d INTEGER, e INTEGER);"
                "CREATE TABLE MSS__tbSltTwo (x INTEGER, y INTEGER);");
    quint32 seed = 20240305;
    auto next = [&seed](int n) {
        seed = seed * 1664525u + 1013904223u;
        return int((seed >> 8) % quint32(n));
    };
    for (int i = 0; i < 30; ++i) {
        QStringList v;
        for (int c = 0; c < 5; ++c) v << (next(10) == 0 ? QStringLiteral("NULL") : QString::number(next(120) - 10));
        e.runScript(QStringLiteral("INSERT INTO MSS__tbSltOne VALUES (%1)").arg(v.join(", ")));
        e.runScript(QStringLiteral("INSERT INTO MSS__tbSltTwo VALUES (%1, %2)").arg(next(120) - 10).arg(next(120) - 10));
    }
    Generator g(77);
    constexpr int kQueries = 1500;
    int compared = 0;
    for (int i = 0; i < kQueries; ++i) {
        const QString q = g.query();
        QString tsql = q, sqlite = q;
        tsql.replace("{t1}", "MSS..tbSltOne").replace("{t2}", "MSS..tbSltTwo");
        sqlite.replace("{t1}", "MSS__tbSltOne").replace("{t2}", "MSS__tbSltTwo");
        SCOPED_TRACE(tsql.toStdString());
        const QStringList want = rowsOf(e.query(sqlite));
        QStringList got;
        try {
            got = rowsOf(t.run(tsql));
        } catch (const Failure& f) {
            ADD_FAILURE() << f.Number << " " << f.Description.toStdString();
            continue;
        }
        EXPECT_EQ(got, want);
        ++compared;
    }
    EXPECT_EQ(compared, kQueries);
}

}  // namespace
