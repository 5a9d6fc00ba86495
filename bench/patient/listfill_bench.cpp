// How long the patient search takes to fill its list with about ten thousand encounters.
#include "hospitaldb/demo.h"
#include "patient/frmlistpatient.h"
#include "shell/db/dbaccess.h"

#include <QApplication>
#include <QLineEdit>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>
#include <benchmark/benchmark.h>

namespace {

QTemporaryDir* g_dir = nullptr;
mss::db::Connection* g_connection = nullptr;

void setUpHospital() {
    if (g_connection) return;
    g_dir = new QTemporaryDir;
    const QString path = g_dir->filePath("large.db");
    hospitaldb::generateHospital(path, 80000, 7);
    g_connection = new mss::db::Connection;
    g_connection->Open(mss::db::embeddedConnectionString(path));
    g_connection->SetCursorLocation(mss::db::CursorLocation::Client);
    mss::db::SetSessionConnection(g_connection);
}

void BM_SearchFillsList(benchmark::State& state) {
    setUpHospital();
    mss::patient::frmListPatient screen;
    screen.resize(1200, 700);
    screen.show();
    screen.findChild<QRadioButton*>("optPatientType_2")->click();
    auto* list = screen.findChild<QTreeWidget*>("lvwSearchPatient");
    // A common initial over a large hospital: thousands of encounters in one list.
    QLineEdit* box = screen.findChild<QLineEdit*>("txtLastname");
    box->setText("S");
    for (auto _ : state) {
        QTest::keyClick(box, Qt::Key_Return);
        QApplication::processEvents();
    }
    state.counters["rows"] = list->topLevelItemCount();
}
BENCHMARK(BM_SearchFillsList)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
