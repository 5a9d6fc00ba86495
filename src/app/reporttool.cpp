// mss-report: renders a report file with the program's own engine, so a hospital can try
// its report files without the program.
#include "app/backends.h"
#include "shell/cli/tool.h"
#include "shell/db/connection.h"
#include "shell/reports/reportrender.h"

#include <QGuiApplication>
#include <QTextStream>

namespace {

mss::cli::Tool& tool() {
    static mss::cli::Tool t(QStringLiteral("mss-report"),
                            QStringLiteral("Renders a report file of the Medical Social Service program with the program's own "
                                           "engine.\nDB is a hospital database file, or an ODBC connection string (with '=').\n"
                                           "--param values fill the report's parameter fields in order; --text also prints\n"
                                           "the text of every page; --company replaces the hospital's own name."));
    return t;
}

int render(const mss::cli::Arguments& args) {
    const QString file = args.positional[0];
    const QString db = args.value("--db");
    const QString out = args.value("--out");
    QString company = args.value("--company");
    if (db.isEmpty() || out.isEmpty())
        return tool().usageError(tool().commands().first(), QStringLiteral("--db and --out are required"));
    if (tool().refusesToReplace(out, args.has("--force"))) return 1;
    QVariantList params;
    for (const QString& p : args.all("--param")) params << p;
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
        QTextStream& o = tool().out();
        o << "wrote " << out << ": " << report.pages.size() << (report.pages.size() == 1 ? " page\n" : " pages\n");
        if (args.has("--text"))
            for (int i = 0; i < report.pages.size(); ++i)
                o << "--- page " << (i + 1) << "\n" << report.pageText(i) << "\n";
    } catch (const mss::db::Failure& f) {
        tool().err() << "mss-report: error " << f.Number << ": " << f.Description << "\n";
        return 1;
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    tool().add({QStringLiteral("render"),
                QStringLiteral("REPORT.rpt --db DB [--param VALUE]... --out FILE.pdf [--force] [--company TEXT] [--text]"),
                QStringLiteral("render the report to a PDF file (--force: replace an existing one)"),
                {QStringLiteral("--text"), QStringLiteral("--force")},
                {QStringLiteral("--db"), QStringLiteral("--out"), QStringLiteral("--param"), QStringLiteral("--company")},
                1, 1, render});
    return tool().run(app.arguments().mid(1));
}
