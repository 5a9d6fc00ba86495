// The T-SQL front's cost over the same query prepared directly on SQLite.
#include "hospitaldb/embedded.h"

#include <QTemporaryDir>
#include <algorithm>
#include <chrono>
#include <functional>
#include <vector>
#include <benchmark/benchmark.h>
#include <sqlite3.h>

using namespace hospitaldb;

namespace {

struct Db {
    Db() {
        path = dir.filePath("bench.db");
        CreateOptions o;
        o.builtinSchema = false;
        o.referenceData = false;
        o.extraScripts << QStringLiteral(MSS_SOURCE_DIR "/tests/hospitaldb/fixtures/schema.sql");
        createDatabase(path, o);
        backend = std::make_unique<EmbeddedBackend>(path);
        backend->procedures().loadFile(QStringLiteral(MSS_SOURCE_DIR "/tests/hospitaldb/fixtures/procedures.sql"));
        backend->engine().runScript(
            "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 200) "
            "INSERT INTO MSS__tbTestPatient (HospNum, LastName, Visits) SELECT printf('H%05d', i), 'Name ' || i, i FROM n;"
            "INSERT INTO BILLING__tbTestCharge VALUES ('R1', 'PH', 10), ('R1', 'LB', 2.5), ('R2', 'PH', 1);");
    }
    QTemporaryDir dir;
    QString path;
    std::unique_ptr<EmbeddedBackend> backend;
};

Db& db() {
    static Db d;
    return d;
}

// Prepared once, bound and stepped: the floor any front can reach. Values become QVariants
// as the front's results do. The value arrives as text, as the front's literals do.
class Direct {
public:
    explicit Direct(const char* sql) {
        sqlite3_prepare_v2(db().backend->engine().handle(), sql, -1, &st_, nullptr);
    }
    ~Direct() { sqlite3_finalize(st_); }
    QList<QVector<QVariant>> run(const QString& value) {
        const QByteArray v = value.toUtf8();
        sqlite3_bind_text(st_, 1, v.constData(), int(v.size()), SQLITE_TRANSIENT);
        QList<QVector<QVariant>> rows;
        while (sqlite3_step(st_) == SQLITE_ROW) {
            QVector<QVariant> row(sqlite3_column_count(st_));
            for (int i = 0; i < row.size(); ++i) {
                if (sqlite3_column_type(st_, i) == SQLITE_FLOAT) row[i] = sqlite3_column_double(st_, i);
                else row[i] = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st_, i)));
            }
            rows.append(row);
        }
        sqlite3_reset(st_);
        return rows;
    }

private:
    sqlite3_stmt* st_ = nullptr;
};

ResultTable front(const QString& text) {
    static QList<mss::db::ErrorEntry> messages;
    messages.clear();
    return db().backend->execute(text, messages);
}

// One case: the statement the front receives for each value, and the query prepared directly.
struct Case {
    const char* direct;
    QStringList values;
    std::function<QString(const QString&)> text;
};

Case selectOne() {
    return {"SELECT HospNum, LastName FROM MSS__tbTestPatient WHERE HospNum = ?", {"H00150"},
            [](const QString& v) { return QStringLiteral("SELECT HospNum, LastName FROM MSS..tbTestPatient WHERE HospNum = '%1'").arg(v); }};
}
// Screens mostly send the same shape with other values: every call asks another patient.
Case selectEachPatient() {
    Case c = selectOne();
    c.values.clear();
    for (int i = 1; i <= 200; ++i) c.values << QStringLiteral("H%1").arg(i, 5, 10, QLatin1Char('0'));
    return c;
}
Case procedureCall() {
    return {"SELECT RevenueID, Amount FROM BILLING__tbTestCharge WHERE RefNum = ? ORDER BY RevenueID", {"R1"},
            [](const QString& v) { return QStringLiteral("Billing..sp_Test_Charges '%1'").arg(v); }};
}

void runDirect(benchmark::State& s, const Case& c) {
    Direct d(c.direct);
    qsizetype k = 0;
    for (auto _ : s) benchmark::DoNotOptimize(d.run(c.values[k++ % c.values.size()]));
}

void runFront(benchmark::State& s, const Case& c) {
    QStringList texts;
    for (const QString& v : c.values) texts << c.text(v);
    qsizetype k = 0;
    for (auto _ : s) benchmark::DoNotOptimize(front(texts[k++ % texts.size()]));
}

// The front's own cost in percent of the direct query: both run in alternating blocks, so
// the drift of a shared machine falls on both alike; the median block ratio is reported.
void runOverhead(benchmark::State& s, const Case& c) {
    using Clock = std::chrono::steady_clock;
    constexpr int kBlock = 200;
    Direct d(c.direct);
    QStringList texts;
    for (const QString& v : c.values) texts << c.text(v);
    std::vector<double> ratios;
    qsizetype k = 0;
    for (auto _ : s) {
        const auto t0 = Clock::now();
        for (int i = 0; i < kBlock; ++i) benchmark::DoNotOptimize(d.run(c.values[(k + i) % c.values.size()]));
        const auto t1 = Clock::now();
        for (int i = 0; i < kBlock; ++i) benchmark::DoNotOptimize(front(texts[(k + i) % texts.size()]));
        const auto t2 = Clock::now();
        k += kBlock;
        ratios.push_back(std::chrono::duration<double>(t2 - t1).count() / std::chrono::duration<double>(t1 - t0).count());
    }
    std::sort(ratios.begin(), ratios.end());
    s.counters["overhead_pct"] = ratios.empty() ? 0.0 : (ratios[ratios.size() / 2] - 1.0) * 100.0;
}

void DirectSelect(benchmark::State& s) { runDirect(s, selectOne()); }
void FrontSelect(benchmark::State& s) { runFront(s, selectOne()); }
void DirectSelectEachPatient(benchmark::State& s) { runDirect(s, selectEachPatient()); }
void FrontSelectEachPatient(benchmark::State& s) { runFront(s, selectEachPatient()); }
void DirectProcedureBody(benchmark::State& s) { runDirect(s, procedureCall()); }
void FrontProcedureCall(benchmark::State& s) { runFront(s, procedureCall()); }
void OverheadSelect(benchmark::State& s) { runOverhead(s, selectOne()); }
void OverheadSelectEachPatient(benchmark::State& s) { runOverhead(s, selectEachPatient()); }
void OverheadProcedureCall(benchmark::State& s) { runOverhead(s, procedureCall()); }

// The front's own first step, for reading the difference above.
void ShapeOnly(benchmark::State& s) {
    const QString text = QStringLiteral("SELECT HospNum, LastName FROM MSS..tbTestPatient WHERE HospNum = 'H00150'");
    QuickScan scan;  // the backend reuses one
    for (auto _ : s) benchmark::DoNotOptimize(quickScan(text, scan));
}

BENCHMARK(ShapeOnly);
BENCHMARK(DirectSelect);
BENCHMARK(FrontSelect);
BENCHMARK(DirectProcedureBody);
BENCHMARK(FrontProcedureCall);
BENCHMARK(DirectSelectEachPatient);
BENCHMARK(FrontSelectEachPatient);
BENCHMARK(OverheadSelect)->MinTime(1.0);
BENCHMARK(OverheadSelectEachPatient)->MinTime(1.0);
BENCHMARK(OverheadProcedureCall)->MinTime(1.0);

}  // namespace

BENCHMARK_MAIN();
