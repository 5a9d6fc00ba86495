#include "shell/reports/reports.h"
#include "shell/reports/frmreportviewer.h"
#include "shell/db/connection.h"
#include "shell/dialogs/action.h"

#include <QDir>

namespace mss::reports {

namespace {

ReportSettings& settings() {
    static ReportSettings s;
    return s;
}

std::shared_ptr<PreparedReport>& current() {
    static std::shared_ptr<PreparedReport> r;
    return r;
}

// Report paths are written as folder + "\Name.rpt"; the folder may end with a separator too.
QString localPath(const QString& path) {
    QString p = path;
    p.replace('\\', '/');
    return QDir::cleanPath(p);
}

}  // namespace

QString logOnConnectionString(const LogOn& logOn) {
    const QString session = logOn.sessionConnectionString;
    if (db::isEmbeddedConnectionString(session)) return session;
    QString driver = db::connectionStringValue(session, QStringLiteral("Driver"));
    if (driver.isEmpty()) driver = QStringLiteral("FreeTDS");
    return QStringLiteral("Driver={%1};Server=%2;Database=%3;UID=%4;PWD={%5}")
        .arg(driver, logOn.server, logOn.database, logOn.user, logOn.password);
}

void SetReportSettings(const ReportSettings& s) { settings() = s; }
const ReportSettings& GetReportSettings() { return settings(); }

RenderedReport PreparedReport::render(const QString& title) const {
    db::Connection connection;
    connection.Open(logOnConnectionString(logOn));
    connection.SetCursorLocation(db::CursorLocation::Client);
    if (db::isEmbeddedConnectionString(connection.ConnectionString()))
        connection.SetDefaultDatabase(logOn.database.isEmpty() ? QStringLiteral("MSS") : logOn.database);
    RenderContext ctx;
    ctx.company = company;
    ctx.title = title;
    RenderedReport out = renderReport(definition, parameters, connection, ctx);
    connection.Close();
    return out;
}

void PrepareReport(const QString& path, const QVariantList& parameters) {
    PrepareReport(path, parameters, settings().logOn);
}

void PrepareReport(const QString& path, const QVariantList& parameters, const LogOn& logOn) {
    auto report = std::make_shared<PreparedReport>();
    report->definition = loadReportFile(localPath(path));
    report->company = settings().company;
    report->logOn = logOn;
    report->parameters = bindParameters(report->definition, parameters);
    report->passed = parameters;
    current() = std::move(report);
}

void ShowReport(const QString& title) {
    auto report = current();
    if (!report)
        throw db::Failure(db::errnum::NoReport, QStringLiteral("Report"), QStringLiteral("No report has been opened."));
    // Rendered before the window exists: a failing query opens no viewer.
    const ui::BusyGuard busy;
    auto rendered = std::make_shared<RenderedReport>(report->render(title));
    auto* viewer = new frmReportViewer(report, rendered);
    viewer->setWindowTitle(title);
    viewer->show();
}

std::shared_ptr<PreparedReport> CurrentReport() { return current(); }

void ReleaseCurrentReport() { current().reset(); }

}  // namespace mss::reports
