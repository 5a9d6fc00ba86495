#include "app/startup.h"
#include "app/commands.h"
#include "patient/clspatientsearch.h"
#include "shell/db/dbaccess.h"
#include "shell/db/text.h"
#include "shell/dialogs/prompt.h"
#include "shell/mainwindow/mdimss.h"
#include "shell/reports/reports.h"
#include "shell/session/session.h"

#include <QApplication>
#include <QDir>
#include <QLoggingCategory>

namespace mss {

namespace {
// Off unless asked for (QT_LOGGING_RULES="mss.startup.info=true"), as the log-in's lines.
Q_LOGGING_CATEGORY(lcStartup, "mss.startup", QtWarningMsg)

void locateReports(Session& s) {
    s.ReportFolder = QDir::toNativeSeparators(programFolder()) + QStringLiteral("\\REPORTS\\");
    qCInfo(lcStartup, "reports are read from %s",
           qUtf8Printable(QDir(programFolder()).filePath(QStringLiteral("REPORTS"))));
}

// The new log-in component replaces the old one, and its connection, as a whole.
bool logIn(Session& s) {
    db::SetSessionConnection(nullptr);
    s.CurrentUser = std::make_unique<components::CurrentUser>();
    s.CurrentUser->PasswordDeptCode = QStringLiteral("MSS");
    s.CurrentUser->ShowMain();
    const QVariant connected = s.CurrentUser->Connected();
    return connected.isValid() && connected.toBool();
}

// Only the first row counts; a missing row or a null in it fails here.
void readHospitalInformation(Session& s, db::Connection& c) {
    db::Recordset rs;
    rs.Open(QStringLiteral("Select * from PATIENT_DATA..tbHospitalInfo"), c, db::CursorType::Dynamic,
            db::LockType::ReadOnly);
    s.Company = text::AsText(rs.Value(QStringLiteral("Company")));
    s.Address1 = text::AsText(rs.Value(QStringLiteral("Address1")));
    s.MTSServerName = text::AsText(rs.Value(QStringLiteral("MTSServerName")));
    rs.Close();
}

// Every component is created locally, whatever the component server.
void createComponents(Session& s, db::Connection& c) {
    s.KeyInput = std::make_unique<components::KeyPress>();
    s.Registry = std::make_unique<components::Patient>();
    s.CodeSearch = std::make_unique<components::CodeSearchDialog>();
    s.BillingConnection = std::make_unique<components::BillingOpenConnection>();
    s.BillingStatement = std::make_unique<components::Statement>(*s.BillingConnection, s.ReportFolder);
    s.CodeSearch->MTS_Server = s.MTSServerName;
    s.CodeSearch->SearchMode = true;
    s.CodeSearch->Initialize_Classes();
    s.CodeSearch->CompanyName = s.Company;
    s.CodeSearch->SearchTitle = QStringLiteral("Medical Social Service");
    s.CodeSearch->Connection = &c;
}

// From here on the log-in's connection is the one every screen sends its statements through.
void shareConnection(Session& s, db::Connection& c) {
    c.SetCursorLocation(db::CursorLocation::Client);
    db::SetSessionConnection(&c);
    s.Registry->OpenConnection(c.ConnectionString());
    s.RegistryAdmission = s.Registry->clsAdmission();
    s.RegistryPatientMaster = s.Registry->clsPatientMaster();
}

void showMainWindow(Session& s, db::Connection& c) {
    reports::SetReportSettings({s.Company, reports::LogOn{s.CurrentUser->ServerName(), s.CurrentUser->Database(),
                                                           QStringLiteral("sa"), s.CurrentUser->ServerPassword(),
                                                           c.ConnectionString()}});
    auto* window = new mainwindow::mdiMSS(*s.CurrentUser);
    window->setChangeUserHandler([] { ChangeActiveUser(); });
    app::BindCommands(*window);
    s.MainWindow = window;
    window->show();
}

}  // namespace

StartResult StartSession() {
    Session& s = session();
    locateReports(s);
    StartResult result = StartResult::Running;
    if (!logIn(s)) {
        result = StartResult::NotLoggedIn;
    } else {
        try {
            db::Connection& c = *s.CurrentUser->sqlconnection();
            c.SetDefaultDatabase(QStringLiteral("MSS"));
            readHospitalInformation(s, c);
            createComponents(s, c);
            if (!patient::PatientSearch().InitConnection(c.ConnectionString(), s.MTSServerName)) {
                result = StartResult::NotConnected;
            } else {
                shareConnection(s, c);
                showMainWindow(s, c);
            }
        } catch (const db::Failure& f) {
            ui::MsgBox(f.Description, ui::Icon::Critical);
            result = StartResult::Failed;
        }
    }
    // Read after the main window is up, whatever the outcome.
    s.EmployeeCode = s.CurrentUser->employeecode();
    return result;
}

StartResult ChangeActiveUser() {
    Session& s = session();
    // The program must not end while nobody is logged in for the moment.
    const bool quitOnLast = QApplication::quitOnLastWindowClosed();
    QApplication::setQuitOnLastWindowClosed(false);
    if (s.CurrentUser && s.CurrentUser->sqlconnection() && s.CurrentUser->sqlconnection()->State() != db::adStateClosed)
        s.CurrentUser->sqlconnection()->Close();
    // The next worker starts with no patient chosen.
    Selection() = PatientSelection{};
    const StartResult r = StartSession();
    QApplication::setQuitOnLastWindowClosed(quitOnLast);
    if (r != StartResult::Running) {
        bool anyVisible = false;
        for (QWidget* w : QApplication::topLevelWidgets()) anyVisible = anyVisible || w->isVisible();
        if (!anyVisible) QApplication::quit();
    }
    return r;
}

}  // namespace mss
