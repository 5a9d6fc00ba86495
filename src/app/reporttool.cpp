// mss-report: renders a report file with the program's own engine, so a hospital can try
// its report files without the program.
#include "app/backends.h"
#include "shell/db/connection.h"
#include "shell/reports/reportrender.h"

#include <QGuiApplication>
#include <QTextStream>
#include <cstdio>

namespace {

int usage() {
    QTextStream(stderr) << "usage: mss-report render REPORT.rpt --db DB [--param VALUE]... --out FILE.pdf\n"
                           "                  [--company TEXT (default: the hospital's own)] [--text]\n"
                           "  DB is a hospital database file, or an ODBC connection string (with '=').\n"
                           "  --param values fill the report's parameter fields in order.\n"
                           "  --text also prints the text of every page.\n";
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    if (args.size() < 2 || args.takeFirst() != "render") return usage();
    const QString file = args.takeFirst();
    QString db, out, company;
    QVariantList params;
    bool text = false;
    while (!args.isEmpty()) {
        const QString a = args.takeFirst();
        if (a == "--text") { text = true; continue; }
        if (args.isEmpty()) return usage();
        const QString v = args.takeFirst();
        if (a == "--db") db = v;
        else if (a == "--out") out = v;
        else if (a == "--param") params << v;
        else if (a == "--company") company = v;
        else return usage();
    }
    if (db.isEmpty() || out.isEmpty()) return usage();
    QTextStream err(stderr);
    mss::app::RegisterBackends();
    try {
        const auto def = mss::reports::loadReportFile(file);
        mss::db::Connection connection;
        connection.Open(db.contains('=') ? db : mss::db::embeddedConnectionString(db));
        connection.SetCursorLocation(mss::db::CursorLocation::Client);
        if (!db.contains('=')) connection.SetDefaultDatabase("MSS");
        mss::reports::RenderContext ctx;
        // As the program does at start-up: the hospital's name comes from its information row.
        if (company.isEmpty()) {
            const auto info = connection.Execute("Select * from PATIENT_DATA..tbHospitalInfo");
            const int at = info.columns.indexOf("Company");
            if (at >= 0 && !info.rows.isEmpty()) company = info.rows.first().at(at).toString();
        }
        ctx.company = company;
        const auto report = mss::reports::renderReport(def, mss::reports::bindParameters(def, params), connection, ctx);
        mss::reports::writePdf(report, out);
        QTextStream o(stdout);
        o << out << ": " << report.pages.size() << (report.pages.size() == 1 ? " page\n" : " pages\n");
        if (text)
            for (int i = 0; i < report.pages.size(); ++i)
                o << "--- page " << (i + 1) << "\n" << report.pageText(i) << "\n";
    } catch (const mss::db::Failure& f) {
        err << "mss-report: error " << f.Number << ": " << f.Description << "\n";
        return 1;
    }
    return 0;
}
