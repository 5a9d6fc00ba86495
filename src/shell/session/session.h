#pragma once
// The Session: what start-up fills and every screen reads.
#include "shell/components/patientregistry.h"
#include "shell/components/userlogin.h"

#include <QPointer>
#include <memory>

namespace mss::patient { class clsPatientSearch; }
namespace mss::mainwindow { class mdiMSS; }

namespace mss {

struct Session {
    QString ReportFolder;   // ends with a backslash, as report names begin with one
    std::unique_ptr<components::CurrentUser> CurrentUser;
    QString Company;
    QString Address1;
    QString MTSServerName;
    std::unique_ptr<components::KeyPress> KeyInput;
    std::unique_ptr<components::Patient> Registry;
    std::unique_ptr<components::CodeSearchDialog> CodeSearch;
    std::unique_ptr<components::BillingOpenConnection> BillingConnection;
    std::unique_ptr<components::Statement> BillingStatement;
    patient::clsPatientSearch* PatientSearch = nullptr;   // the program's single one
    db::Connection* Connection = nullptr;
    components::RegistryAdmission* RegistryAdmission = nullptr;
    components::RegistryPatientMaster* RegistryPatientMaster = nullptr;
    QString EmployeeCode;
    QPointer<mainwindow::mdiMSS> MainWindow;
};

Session& session();

enum class StartResult { Running, NotLoggedIn, NotConnected, Failed };

// Runs start-up: log-in, hospital information, components, registry, main window.
StartResult StartSession();
// "Change Active User": the main window has closed; close the connection and start again.
StartResult ChangeActiveUser();

// The program's folder; tests point it elsewhere.
void setProgramFolder(const QString& folder);
QString programFolder();

// A report name as the screens write it ("\ListofGrantees.rpt") joined to the report folder,
// as a path this platform can open.
QString ReportPath(const QString& reportName);

}  // namespace mss
