// The computation of discount as the screen runs it, every statement through the database
// layer, on an admission with 5,000 bill lines (MSS_BENCH_LINES overrides) and a Medicare
// claim itemised on 20 departments. The demo hospital, or MSS_BENCH_DB: a hospital file made
// with `mss-hospitaldb generate` (the admission's lines are written into it).
#include "bench/support/benchbill.h"
#include "billing/discountcomputation.h"
#include "hospitaldb/demo.h"
#include "hospitaldb/embedded.h"
#include "shell/db/dbaccess.h"

#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <stdexcept>

namespace {

using namespace mss;

struct Hospital {
    QTemporaryDir dir;
    db::Connection connection;
    QString hospNum, idNum;

    hospitaldb::Engine& engine() {
        return dynamic_cast<hospitaldb::EmbeddedBackend&>(*connection.backend()).engine();
    }
};

Hospital& hospital() {
    static Hospital* h = [] {
        auto* x = new Hospital;
        QString path;
        const char* reuse = std::getenv("MSS_BENCH_DB");
        if (reuse && QFile::exists(QString::fromLocal8Bit(reuse))) {
            path = QString::fromLocal8Bit(reuse);
        } else {
            path = x->dir.filePath(QStringLiteral("hospital.db"));
            hospitaldb::buildDemo(path);
        }
        x->connection.Open(db::embeddedConnectionString(path));
        x->connection.SetCursorLocation(db::CursorLocation::Client);
        db::SetSessionConnection(&x->connection);
        hospitaldb::Engine& e = x->engine();
        // A current in-patient whose classification is in force, assessed on this admission.
        const auto t = e.query(QStringLiteral(
            "SELECT p.HospNum, p.IdNum FROM PATIENT_DATA__tbPatient2 p JOIN PATIENT_DATA__tbMaster m ON m.HospNum = p.HospNum "
            "WHERE p.DcrDate IS NULL AND m.MSSNum <> '' AND m.MSSClassification IN ('C1', 'C2', 'C3') "
            "AND m.MSSDiscountExpiry > datetime('now') AND p.RoomID <> 'OPD' AND p.IdNum NOT GLOB '*[^0-9]*' "
            "ORDER BY p.IdNum LIMIT 1"));
        if (t.rows.isEmpty()) throw std::runtime_error("no classified current admission");
        x->hospNum = t.rows[0][0].toString();
        x->idNum = t.rows[0][1].toString();
        const char* n = std::getenv("MSS_BENCH_LINES");
        const int lines = n ? std::atoi(n) : 5000;
        e.runScript(QStringLiteral(
                        "DELETE FROM MSS__tbMSSAssessment WHERE IdNum = '%1';"
                        "INSERT INTO MSS__tbMSSAssessment (IdNum, HospNum, MSSNum, Code, IntakeDate, ValidityDate) "
                        "SELECT '%1', HospNum, MSSNum, MSSClassification, datetime(date('now', '-1 days')), datetime(date('now', '+30 days')) "
                        "  FROM PATIENT_DATA__tbMaster WHERE HospNum = '%2';")
                        .arg(x->idNum, x->hospNum));
        // Lines over every charging department, then one claim itemised on 20 of them.
        bench::WriteBill(e, x->idNum, lines);
        e.query(QStringLiteral("INSERT INTO BILLING__tbBillMedicare (IdNum, DeductionType, Amount) VALUES (?, 'MEDICARE', 9000)"),
                {x->idNum});
        e.query(QStringLiteral(
                    "INSERT INTO BILLING__tbBillMedicareItem (ClaimID, RevenueID, Amount) "
                    "SELECT (SELECT ClaimID FROM BILLING__tbBillMedicare WHERE IdNum = ?1), RevenueID, 250 + 37 * rowid % 400 "
                    "  FROM (SELECT rowid, RevenueID FROM BUILD_FILE__tbCoRevenueCode WHERE RevenueID NOT IN ('QF', 'SD') "
                    "        ORDER BY RevenueID LIMIT 20)"),
                {x->idNum});
        return x;
    }();
    return *h;
}

void setSpecial(Hospital& h, bool special) {
    h.engine().query(QStringLiteral("UPDATE MSS__tbMSSAssessment SET IsSpecial = ?2, NC = ?3 WHERE IdNum = ?1"),
                     {h.idNum, special ? 1 : 0, special ? 1500 : 0});
}

// Opening without a stored discount: the patient, the check, the computation.
void open(Hospital& h) {
    const billing::DiscountPatient p = billing::ReadDiscountPatient(h.hospNum, h.idNum);
    if (!billing::ReadStoredDiscount(p.idNum).isEmpty()) throw std::runtime_error("a discount is stored");
    benchmark::DoNotOptimize(billing::ComputeDiscount(p.idNum, p.rates));
}

void deleteStored(Hospital& h) {
    db::ExecuteCommand("Billing..sp_Billing_Delete_Existing_ComputedDiscount_All '" + h.idNum + "','" + h.idNum + "','QF'");
}

void OpenAndCompute(benchmark::State& state, bool special) {
    Hospital& h = hospital();
    setSpecial(h, special);
    for (auto _ : state) {
        state.PauseTiming();
        deleteStored(h);
        state.ResumeTiming();
        open(h);
    }
    state.counters["departments"] = double(billing::ReadStoredDiscount(h.idNum).size());
}

void Recompute(benchmark::State& state, bool special) {
    Hospital& h = hospital();
    setSpecial(h, special);
    const billing::DiscountPatient p = billing::ReadDiscountPatient(h.hospNum, h.idNum);
    for (auto _ : state) benchmark::DoNotOptimize(billing::RecomputeDiscount(p.idNum, p.rates));
}

void OpenOnStoredDiscount(benchmark::State& state) {
    Hospital& h = hospital();
    setSpecial(h, false);
    const billing::DiscountPatient p = billing::ReadDiscountPatient(h.hospNum, h.idNum);
    billing::RecomputeDiscount(p.idNum, p.rates);
    for (auto _ : state) {
        const billing::DiscountPatient again = billing::ReadDiscountPatient(h.hospNum, h.idNum);
        benchmark::DoNotOptimize(billing::TotalsOf(billing::ReadStoredDiscount(again.idNum)));
    }
}

}  // namespace

BENCHMARK_CAPTURE(OpenAndCompute, ordinary, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(OpenAndCompute, special, true)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Recompute, ordinary, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Recompute, special, true)->Unit(benchmark::kMillisecond);
BENCHMARK(OpenOnStoredDiscount)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
