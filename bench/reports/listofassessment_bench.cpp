// How long the list of assessments takes to print a year of a large hospital.
#include "hospitaldb/demo.h"
#include "hospitaldb/engine.h"
#include "shell/db/connection.h"
#include "shell/reports/reportrender.h"

#include <QGuiApplication>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

constexpr int kAssessments = 10000;

QTemporaryDir* g_dir = nullptr;
mss::db::Connection* g_connection = nullptr;

// One assessment for each of the first 10,000 encounters, intake dates spread over 2023.
void addAssessments(const QString& path) {
    hospitaldb::Engine e(path, false);
    e.runScript(QStringLiteral(R"(
BEGIN;
CREATE TEMP TABLE bench_code AS
SELECT row_number() OVER (ORDER BY Code) - 1 AS k, Code FROM MSS__tbMSSClassificationScheme;
CREATE TEMP TABLE bench_worker AS
SELECT row_number() OVER (ORDER BY EmployeeCode) - 1 AS k, EmployeeCode AS code
  FROM MSS__tbMSSEmployee WHERE IsSocialWorker = 1;
INSERT INTO bench_worker SELECT 0, 'MSSW01' WHERE NOT EXISTS (SELECT 1 FROM bench_worker);
CREATE TEMP TABLE bench_enc AS
SELECT row_number() OVER (ORDER BY IdNum) - 1 AS n, IdNum, HospNum FROM MSS__vwMSSEncounter;
INSERT INTO MSS__tbMSSAssessment (IdNum, HospNum, MSSNum, Code, CategoryName, IntakeDate, ValidityDate,
                                  MSSW, Active, CaseStatus, CreatedBy, CreatedAt)
SELECT e.IdNum, e.HospNum, printf('MSS-%06d', e.n), c.Code,
       CASE e.n % 3 WHEN 0 THEN 'Indigent' WHEN 1 THEN 'Senior citizen' ELSE 'Person with disability' END,
       datetime('2023-01-01', '+' || (e.n % 365) || ' days'),
       datetime('2023-01-01', '+' || (e.n % 365 + 180) || ' days'),
       w.code, 'Y', '01', 'BENCH', datetime('2023-01-01', '+' || (e.n % 365) || ' days')
  FROM bench_enc e
  JOIN bench_code c ON c.k = e.n % (SELECT count(*) FROM bench_code)
  JOIN bench_worker w ON w.k = e.n % (SELECT count(*) FROM bench_worker)
 WHERE e.n < %1;
COMMIT;
)").arg(kAssessments), QStringLiteral("bench assessments"));
    const auto count = e.query(QStringLiteral("SELECT count(*) FROM MSS__tbMSSAssessment")).rows;
    if (count.isEmpty() || count.first().value(0).toInt() < kAssessments)
        qFatal("the generated hospital has too few encounters for %d assessments", kAssessments);
}

void setUpHospital() {
    if (g_connection) return;
    g_dir = new QTemporaryDir;
    const QString path = g_dir->filePath("large.db");
    hospitaldb::generateHospital(path, 12000, 7);
    addAssessments(path);
    g_connection = new mss::db::Connection;
    g_connection->Open(mss::db::embeddedConnectionString(path));
    g_connection->SetCursorLocation(mss::db::CursorLocation::Client);
    g_connection->SetDefaultDatabase("MSS");
}

const mss::reports::ReportDefinition& definition() {
    static const auto def = mss::reports::loadReportFile(QStringLiteral(MSS_SOURCE_DIR "/reports/ListofAssessment.rpt"));
    return def;
}

QList<QVariant> yearParameters() {
    return mss::reports::bindParameters(definition(), {QStringLiteral("01/01/2023"), QStringLiteral("12/31/2023")});
}

mss::reports::RenderedReport render() {
    mss::reports::RenderContext ctx;
    ctx.company = QStringLiteral("Bench General Hospital");
    ctx.printDate = QDateTime(QDate(2024, 1, 2), QTime(9, 0));
    return mss::reports::renderReport(definition(), yearParameters(), *g_connection, ctx);
}

// Queries and layout only.
void BM_ListOfAssessmentsLayout(benchmark::State& state) {
    setUpHospital();
    qsizetype pages = 0;
    for (auto _ : state) pages = render().pages.size();
    state.counters["pages"] = double(pages);
}
BENCHMARK(BM_ListOfAssessmentsLayout)->Unit(benchmark::kMillisecond)->Iterations(3);

// What the user waits for: queries, layout and the PDF file.
void BM_ListOfAssessmentsToPdf(benchmark::State& state) {
    setUpHospital();
    const QString out = g_dir->filePath("list.pdf");
    qsizetype pages = 0;
    for (auto _ : state) {
        const auto report = render();
        mss::reports::writePdf(report, out);
        pages = report.pages.size();
    }
    state.counters["pages"] = double(pages);
    state.counters["rows"] = double(kAssessments);
}
BENCHMARK(BM_ListOfAssessmentsToPdf)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
