// The patient searches on a generated hospital of a million patients (MSS_BENCH_PATIENTS
// overrides the size; MSS_BENCH_DB reuses a file generated earlier; MSS_BENCH_PROCEDURES
// names a procedure file that replaces the built-in ones, to time another version of them).
#include "hospitaldb/demo.h"
#include "hospitaldb/embedded.h"

#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <memory>

namespace {

struct Hospital {
    QTemporaryDir dir;
    QString path;
    std::unique_ptr<mss::db::Backend> db;
    QString hospNum, admission, opd;
};

Hospital& hospital() {
    static Hospital* h = [] {
        auto* x = new Hospital;
        const char* reuse = std::getenv("MSS_BENCH_DB");
        if (reuse && QFile::exists(QString::fromLocal8Bit(reuse))) {
            x->path = QString::fromLocal8Bit(reuse);
        } else {
            x->path = x->dir.filePath(QStringLiteral("hospital.db"));
            const char* n = std::getenv("MSS_BENCH_PATIENTS");
            hospitaldb::generateHospital(x->path, n ? std::atoi(n) : 1000000, 42);
        }
        x->db = hospitaldb::openEmbedded(x->path);
        if (const char* procs = std::getenv("MSS_BENCH_PROCEDURES"))
            static_cast<hospitaldb::EmbeddedBackend&>(*x->db).procedures().loadFile(QString::fromLocal8Bit(procs));
        QList<mss::db::ErrorEntry> m;
        // A patient with a current admission and one with an out-patient visit, from the middle.
        auto t = x->db->execute(QStringLiteral("SELECT IdNum, HospNum FROM PATIENT_DATA..tbPatient2 WHERE DcrDate IS NULL "
                                               "ORDER BY HospNum DESC"), m);
        x->admission = t.rows.at(t.rows.size() / 2).at(0).toString();
        x->hospNum = t.rows.at(t.rows.size() / 2).at(1).toString();
        t = x->db->execute(QStringLiteral("SELECT max(IdNum) FROM PATIENT_DATA..tbOutPatient"), m);
        x->opd = t.rows.at(0).at(0).toString();
        return x;
    }();
    return *h;
}

const char* const kProcs[] = {"MSS..sp_MSS_LoadInPatient '", "MSS..sp_MSS_LoadOutPatient '",
                              "MSS..sp_MSS_LoadERPatient '", "MSS..sp_MSS_LoadAllServicePatient '",
                              "MSS..sp_MSS_LoadMSSPatient '"};

enum Criterion { Surname, HospNum, Admission };

void search(benchmark::State& state) {
    Hospital& h = hospital();
    const QString proc = QString::fromLatin1(kProcs[state.range(0)]);
    const auto by = Criterion(state.range(1));
    const QString id = state.range(0) == 0 ? h.admission : h.opd;
    const QString sql = by == Surname   ? proc + "', 'BAUTISTA','','',''"
                        : by == HospNum ? proc + h.hospNum + "', '','','',''"
                                        : proc + "', '','" + (state.range(0) >= 3 ? h.admission : id) + "','',''";
    QList<mss::db::ErrorEntry> m;
    qint64 rows = 0;
    for (auto _ : state) {
        const auto t = h.db->execute(sql, m);
        rows = t.rows.size();
        benchmark::DoNotOptimize(rows);
    }
    state.counters["rows"] = double(rows);
}

}  // namespace

BENCHMARK(search)
    ->ArgsProduct({{0, 1, 2, 3, 4}, {Surname, HospNum, Admission}})
    ->ArgNames({"proc", "by"})
    ->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
