#pragma once
// Opening a report file and showing it: the one current report, its log-on and company
// text, and the viewer windows.
#include "shell/reports/reportrender.h"

#include <QVariantList>
#include <memory>

namespace mss::reports {

// Where a report reads its data: its own connection, opened for each report from these.
struct LogOn {
    QString server;
    QString database;
    QString user = QStringLiteral("sa");
    QString password;
    // The Session's connection string: an embedded hospital file is opened again as such;
    // for a server its driver is reused.
    QString sessionConnectionString;
};

// The connection string a report's tables are logged on with.
QString logOnConnectionString(const LogOn& logOn);

// What the Session gives every report; set at start-up.
struct ReportSettings {
    QString company;
    LogOn logOn;
};
void SetReportSettings(const ReportSettings& settings);
const ReportSettings& GetReportSettings();

// A report file opened with its parameter values.
struct PreparedReport {
    ReportDefinition definition;
    QList<QVariant> parameters;
    QVariantList passed;   // the values as the program gave them, before binding
    QString company;
    LogOn logOn;

    // Runs the queries on a connection of the report's own and lays the pages out.
    RenderedReport render(const QString& title) const;
};

// Opens the file, gives it the company text and log-on, fills its parameter fields by
// position, and makes it the current report.
void PrepareReport(const QString& path, const QVariantList& parameters = {});
// The same, logged on elsewhere than the Session's reports are (the billing component).
void PrepareReport(const QString& path, const QVariantList& parameters, const LogOn& logOn);
// The current report in a new viewer window with that caption (not modal). Fails, and opens
// no window, when there is no current report or it cannot be produced.
void ShowReport(const QString& title);

std::shared_ptr<PreparedReport> CurrentReport();
void ReleaseCurrentReport();

}  // namespace mss::reports
