#include "shell/session/session.h"
#include "patient/clspatientsearch.h"
#include "patient/patientselection.h"
#include "shell/db/dbaccess.h"
#include "shell/db/text.h"
#include "shell/dialogs/action.h"
#include "shell/dialogs/prompt.h"
#include "shell/mainwindow/mdimss.h"
#include "shell/reports/catalog.h"
#include "shell/reports/reports.h"

#include <QApplication>
#include <QDir>

namespace mss {

namespace {
QString g_programFolder;
}

Session& session() {
    static Session s;
    return s;
}

void setProgramFolder(const QString& folder) { g_programFolder = folder; }

QString programFolder() {
    return g_programFolder.isEmpty() ? QCoreApplication::applicationDirPath() : g_programFolder;
}

QString ReportPath(const QString& reportName) {
    QString joined = session().ReportFolder + reportName;
    joined.replace(u'\\', u'/');
    return QDir::cleanPath(joined);
}

StartResult StartSession() {
    Session& s = session();
    // Step 1
    s.ReportFolder = QDir::toNativeSeparators(programFolder()) + QStringLiteral("\\REPORTS\\");
    // Step 2: the new log-in component replaces the old one (and its connection) as a whole.
    s.Connection = nullptr;
    db::SetSessionConnection(nullptr);
    s.CurrentUser = std::make_unique<components::CurrentUser>();
    s.CurrentUser->PasswordDeptCode = QStringLiteral("MSS");
    s.CurrentUser->ShowMain();
    // Step 3
    const QVariant connected = s.CurrentUser->Connected();
    if (!connected.isValid() || !connected.toBool()) {
        s.EmployeeCode = s.CurrentUser->employeecode();
        return StartResult::NotLoggedIn;
    }
    try {
        db::Connection& c = *s.CurrentUser->sqlconnection();
        // Step 4
        c.SetDefaultDatabase(QStringLiteral("MSS"));
        // Step 5
        {
            db::Recordset rs;
            rs.Open(QStringLiteral("Select * from PATIENT_DATA..tbHospitalInfo"), c, db::CursorType::Dynamic,
                    db::LockType::ReadOnly);
            s.Company = text::AsText(rs.Value(QStringLiteral("Company")));
            s.Address1 = text::AsText(rs.Value(QStringLiteral("Address1")));
            s.MTSServerName = text::AsText(rs.Value(QStringLiteral("MTSServerName")));
            rs.Close();
        }
        // Step 6: every component is created locally, whatever the component server.
        s.KeyInput = std::make_unique<components::KeyPress>();
        s.Registry = std::make_unique<components::Patient>();
        s.CodeSearch = std::make_unique<components::CodeSearchDialog>();
        s.BillingConnection = std::make_unique<components::BillingOpenConnection>();
        s.BillingStatement = std::make_unique<components::Statement>();
        // Step 7
        s.CodeSearch->MTS_Server = s.MTSServerName;
        s.CodeSearch->SearchMode = true;
        s.CodeSearch->Initialize_Classes();
        s.CodeSearch->CompanyName = s.Company;
        s.CodeSearch->SearchTitle = QStringLiteral("Medical Social Service");
        s.CodeSearch->Connection = &c;
        // Step 8
        static patient::clsPatientSearch patientSearch;
        s.PatientSearch = &patientSearch;
        if (!s.PatientSearch->InitConnection(c.ConnectionString(), s.MTSServerName)) {
            s.EmployeeCode = s.CurrentUser->employeecode();
            return StartResult::NotConnected;
        }
        // Step 9
        s.Connection = &c;
        c.SetCursorLocation(db::CursorLocation::Client);
        db::SetSessionConnection(&c);
        // Step 10
        s.Registry->OpenConnection(s.Connection->ConnectionString());
        s.RegistryAdmission = s.Registry->clsAdmission();
        s.RegistryPatientMaster = s.Registry->clsPatientMaster();
        reports::SetReportSettings({s.Company, reports::LogOn{s.CurrentUser->ServerName(), s.CurrentUser->Database(),
                                                               QStringLiteral("sa"), s.CurrentUser->ServerPassword(),
                                                               s.Connection->ConnectionString()}});
        auto* window = new mainwindow::mdiMSS(*s.CurrentUser);
        window->setChangeUserHandler([] { ChangeActiveUser(); });
        window->setReportContext([] {
            const Session& now = session();
            const patient::PatientSelection& p = patient::Selection();
            return reports::CatalogContext{now.ReportFolder, now.Company, now.Address1,
                                           reports::PatientValues{p.HospNum, p.IDNUM, p.ERNum, p.PatientType,
                                                                  p.PatientName, p.MSSID, p.RoomID, p.Billdate}};
        });
        s.MainWindow = window;
        window->show();
    } catch (const db::Failure& f) {
        ui::MsgBox(f.Description, ui::Icon::Critical);
        s.EmployeeCode = s.CurrentUser->employeecode();
        return StartResult::Failed;
    }
    // Step 11
    s.EmployeeCode = s.CurrentUser->employeecode();
    return StartResult::Running;
}

StartResult ChangeActiveUser() {
    Session& s = session();
    // The program must not end while nobody is logged in for the moment.
    const bool quitOnLast = QApplication::quitOnLastWindowClosed();
    QApplication::setQuitOnLastWindowClosed(false);
    if (s.CurrentUser && s.CurrentUser->sqlconnection() && s.CurrentUser->sqlconnection()->State() != db::adStateClosed)
        s.CurrentUser->sqlconnection()->Close();
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
