// The discount screen's statements on an admission with 5,000 bill lines (MSS_BENCH_LINES
// overrides the count), in the demo hospital (MSS_BENCH_DB uses that file instead and
// writes the lines into it).
#include "bench/support/benchbill.h"
#include "hospitaldb/demo.h"
#include "hospitaldb/embedded.h"

#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <memory>
#include <stdexcept>

namespace {

struct Hospital {
    QTemporaryDir dir;
    QString path;
    std::unique_ptr<mss::db::Backend> db;
    QString idNum;
    QList<mss::db::ErrorEntry> messages;

    mss::db::ResultTable run(const QString& sql) {
        messages.clear();
        return db->execute(sql, messages);
    }
};

Hospital& hospital() {
    static Hospital* h = [] {
        auto* x = new Hospital;
        const char* reuse = std::getenv("MSS_BENCH_DB");
        if (reuse && QFile::exists(QString::fromLocal8Bit(reuse))) {
            x->path = QString::fromLocal8Bit(reuse);
        } else {
            x->path = x->dir.filePath(QStringLiteral("hospital.db"));
            hospitaldb::buildDemo(x->path);
        }
        x->db = hospitaldb::openEmbedded(x->path);
        // A current admission of a patient whose classification is in force, so that the
        // computation writes its QF lines.
        auto t = x->run(QStringLiteral(
            "SELECT p.IdNum FROM PATIENT_DATA..tbPatient2 p JOIN PATIENT_DATA..tbMaster m ON m.HospNum = p.HospNum "
            "WHERE p.DcrDate IS NULL AND m.MSSNum <> '' AND m.MSSClassification IN ('C1', 'C2', 'C3') "
            "AND m.MSSDiscountExpiry > getdate() AND p.RoomID <> 'OPD' ORDER BY p.IdNum"));
        if (t.rows.isEmpty()) throw std::runtime_error("no classified current admission");
        x->idNum = t.rows.at(t.rows.size() / 2).at(0).toString();
        const char* n = std::getenv("MSS_BENCH_LINES");
        const int lines = n ? std::atoi(n) : 5000;
        // Lines over every charging department, a Medicare claim itemised on five of them.
        auto& engine = dynamic_cast<hospitaldb::EmbeddedBackend&>(*x->db).engine();
        bench::WriteBill(engine, x->idNum, lines);
        engine.query(QStringLiteral("INSERT INTO BILLING__tbBillMedicare (IdNum, DeductionType, Amount) VALUES (?, 'MEDICARE', 4000)"),
                     {x->idNum});
        engine.query(QStringLiteral(
                         "INSERT INTO BILLING__tbBillMedicareItem (ClaimID, RevenueID, Amount) "
                         "SELECT (SELECT ClaimID FROM BILLING__tbBillMedicare WHERE IdNum = ?), column1, column2 FROM (VALUES "
                         "('RA', 1500), ('PH', 1200), ('LB', 900), ('CS', 500), ('MD', 1000))"),
                     {x->idNum});
        return x;
    }();
    return *h;
}

// What the screen sends: the stored discount, then a fresh computation.
void checkExisting(Hospital& h) {
    benchmark::DoNotOptimize(h.run("Billing..sp_Billing_Check_ExistingDiscount '" + h.idNum + "','QF'"));
}

void collectCharges(Hospital& h) {
    benchmark::DoNotOptimize(h.run("Billing..sp_Billing_Get_ActualCharges_ForDiscount '" + h.idNum + "','',3,1"));
}

void spreadMedicare(Hospital& h) {
    const auto total = h.run("Billing..sp_Billing_GetTotalMedicare_Others '" + h.idNum + "'");
    if (total.rows.isEmpty()) return;
    const double t = total.rows[0][0].toDouble();
    const auto items = h.run("Billing..sp_Billing_Get_MedicareItems_Others '" + h.idNum + "'");
    double s = 0;
    for (const auto& r : items.rows) s += r[0].toDouble();
    for (const auto& r : items.rows)
        h.run("Billing..sp_Billing_Update_DummyDiscountTable '" + QString::number(r[0].toDouble() / s * t, 'g', 17) +
              "','" + r[1].toString() + "'");
}

qint64 loadDiscount(Hospital& h) {
    h.run("Billing..sp_Billing_Get_MSS_SpecialArrangementRemarks '" + h.idNum + "'");
    return h.run(QStringLiteral("BILLING..sp_Billing_Load_DummyDiscountTable 'QF','1',1")).rows.size();
}

void deleteExisting(Hospital& h) {
    h.run("Billing..sp_Billing_Delete_Existing_ComputedDiscount_All '" + h.idNum + "','" + h.idNum + "','QF'");
}

void WholeComputation(benchmark::State& state) {
    Hospital& h = hospital();
    qint64 rows = 0;
    for (auto _ : state) {
        checkExisting(h);
        deleteExisting(h);
        collectCharges(h);
        spreadMedicare(h);
        rows = loadDiscount(h);
    }
    state.counters["departments"] = double(rows);
}

void CheckExistingDiscount(benchmark::State& state) {
    Hospital& h = hospital();
    collectCharges(h);
    loadDiscount(h);
    for (auto _ : state) checkExisting(h);
}

void CollectActualCharges(benchmark::State& state) {
    Hospital& h = hospital();
    for (auto _ : state) collectCharges(h);
}

void SpreadMedicare(benchmark::State& state) {
    Hospital& h = hospital();
    for (auto _ : state) {
        state.PauseTiming();
        collectCharges(h);
        state.ResumeTiming();
        spreadMedicare(h);
    }
}

void LoadDiscountMode1(benchmark::State& state) {
    Hospital& h = hospital();
    for (auto _ : state) {
        state.PauseTiming();
        collectCharges(h);
        spreadMedicare(h);
        state.ResumeTiming();
        benchmark::DoNotOptimize(loadDiscount(h));
    }
}

void DeleteComputedDiscount(benchmark::State& state) {
    Hospital& h = hospital();
    for (auto _ : state) {
        state.PauseTiming();
        collectCharges(h);
        loadDiscount(h);
        state.ResumeTiming();
        deleteExisting(h);
    }
}

}  // namespace

BENCHMARK(WholeComputation)->Unit(benchmark::kMillisecond);
BENCHMARK(CheckExistingDiscount)->Unit(benchmark::kMillisecond);
BENCHMARK(CollectActualCharges)->Unit(benchmark::kMillisecond);
BENCHMARK(SpreadMedicare)->Unit(benchmark::kMillisecond);
BENCHMARK(LoadDiscountMode1)->Unit(benchmark::kMillisecond);
BENCHMARK(DeleteComputedDiscount)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
