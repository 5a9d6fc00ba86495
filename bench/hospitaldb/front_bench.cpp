// The T-SQL front's cost over the same query prepared directly on SQLite.
#include "hospitaldb/embedded.h"

#include <QTemporaryDir>
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
// as the front's results do.
void runDirect(benchmark::State& state, const char* sql, const char* value) {
    sqlite3* h = db().backend->engine().handle();
    sqlite3_stmt* st = nullptr;
    sqlite3_prepare_v2(h, sql, -1, &st, nullptr);
    for (auto _ : state) {
        sqlite3_bind_text(st, 1, value, -1, SQLITE_TRANSIENT);
        QList<QVector<QVariant>> rows;
        while (sqlite3_step(st) == SQLITE_ROW) {
            QVector<QVariant> row(sqlite3_column_count(st));
            for (int i = 0; i < row.size(); ++i) {
                if (sqlite3_column_type(st, i) == SQLITE_FLOAT) row[i] = sqlite3_column_double(st, i);
                else row[i] = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, i)));
            }
            rows.append(row);
        }
        sqlite3_reset(st);
        benchmark::DoNotOptimize(rows);
    }
    sqlite3_finalize(st);
}

void runFront(benchmark::State& state, const QString& text) {
    QList<mss::db::ErrorEntry> messages;
    for (auto _ : state) {
        messages.clear();
        benchmark::DoNotOptimize(db().backend->execute(text, messages));
    }
}

void DirectSelect(benchmark::State& s) {
    runDirect(s, "SELECT HospNum, LastName FROM MSS__tbTestPatient WHERE HospNum = ?", "H00150");
}
void FrontSelect(benchmark::State& s) {
    runFront(s, "SELECT HospNum, LastName FROM MSS..tbTestPatient WHERE HospNum = 'H00150'");
}
void DirectProcedureBody(benchmark::State& s) {
    runDirect(s, "SELECT RevenueID, Amount FROM BILLING__tbTestCharge WHERE RefNum = ? ORDER BY RevenueID", "R1");
}
void FrontProcedureCall(benchmark::State& s) { runFront(s, "Billing..sp_Test_Charges 'R1'"); }

// Screens mostly send the same shape with other values: every iteration asks another patient.
void DirectSelectEachPatient(benchmark::State& s) {
    sqlite3* h = db().backend->engine().handle();
    sqlite3_stmt* st = nullptr;
    sqlite3_prepare_v2(h, "SELECT HospNum, LastName FROM MSS__tbTestPatient WHERE HospNum = ?", -1, &st, nullptr);
    QList<QByteArray> values;
    for (int i = 1; i <= 200; ++i) values << QStringLiteral("H%1").arg(i, 5, 10, QLatin1Char('0')).toUtf8();
    int k = 0;
    for (auto _ : s) {
        // The front receives text; the direct path converts its value to UTF-8 as well.
        const QByteArray v = QString::fromLatin1(values[k++ % 200]).toUtf8();
        sqlite3_bind_text(st, 1, v.constData(), int(v.size()), SQLITE_TRANSIENT);
        QList<QVector<QVariant>> rows;
        while (sqlite3_step(st) == SQLITE_ROW) {
            QVector<QVariant> row(sqlite3_column_count(st));
            for (int i = 0; i < row.size(); ++i)
                row[i] = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, i)));
            rows.append(row);
        }
        sqlite3_reset(st);
        benchmark::DoNotOptimize(rows);
    }
    sqlite3_finalize(st);
}
void FrontSelectEachPatient(benchmark::State& s) {
    QStringList texts;
    for (int i = 1; i <= 200; ++i)
        texts << QStringLiteral("SELECT HospNum, LastName FROM MSS..tbTestPatient WHERE HospNum = 'H%1'").arg(i, 5, 10, QLatin1Char('0'));
    QList<mss::db::ErrorEntry> messages;
    int k = 0;
    for (auto _ : s) {
        messages.clear();
        benchmark::DoNotOptimize(db().backend->execute(texts[k++ % 200], messages));
    }
}

// The front's own steps, for reading the difference above.
void ShapeOnly(benchmark::State& s) {
    const QString text = QStringLiteral("SELECT HospNum, LastName FROM MSS..tbTestPatient WHERE HospNum = 'H00150'");
    for (auto _ : s) benchmark::DoNotOptimize(tokenize(text, false));
}

BENCHMARK(ShapeOnly);
BENCHMARK(DirectSelect);
BENCHMARK(FrontSelect);
BENCHMARK(DirectProcedureBody);
BENCHMARK(FrontProcedureCall);
BENCHMARK(DirectSelectEachPatient);
BENCHMARK(FrontSelectEachPatient);

}  // namespace

BENCHMARK_MAIN();
