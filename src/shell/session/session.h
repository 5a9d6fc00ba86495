#pragma once
// The Session: what start-up fills and every screen reads.
#include "shell/components/billingstatement.h"
#include "shell/components/patientregistry.h"
#include "shell/components/userlogin.h"
#include "shell/session/patientselection.h"

#include <QPointer>
#include <memory>

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
    components::RegistryAdmission* RegistryAdmission = nullptr;
    components::RegistryPatientMaster* RegistryPatientMaster = nullptr;
    QString EmployeeCode;
    QPointer<mainwindow::mdiMSS> MainWindow;

    // The one shared connection. The database layer holds it, so that the layer's operations
    // and the Session can never name two different connections.
    db::Connection* Connection() const;
};

Session& session();

// The program's folder; tests point it elsewhere.
void setProgramFolder(const QString& folder);
QString programFolder();

}  // namespace mss
