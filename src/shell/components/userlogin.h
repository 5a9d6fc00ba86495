#pragma once
// The log-in component: its own dialog, the account check and the one database connection.
#include "shell/db/connection.h"

#include <QSet>
#include <QVariant>
#include <functional>
#include <memory>

namespace mss::components {

class CurrentUser {
public:
    CurrentUser();
    ~CurrentUser();

    QString PasswordDeptCode;

    // Shows the "Log In" dialog (through the modal seam) until the worker logs in or gives up.
    void ShowMain();
    // Logs in without the dialog; the dialog calls this too. On failure `error` says why.
    bool LogIn(const QString& server, const QString& employeeCode, const QString& password,
               QString* error = nullptr);

    // true after a successful log-in with the connection open; null before any attempt.
    QVariant Connected() const;
    db::Connection* sqlconnection() const { return connection_.get(); }
    QString employeecode() const { return employeeCode_; }
    QString EmployeeName() const { return employeeName_; }
    QString Password() const { return password_; }
    bool have_rights(const QString& code) const;

    // What reports need to log on by themselves. For the embedded database: the file, "MSS", "".
    QString ServerName() const { return serverName_; }
    QString Database() const { return database_; }
    QString ServerPassword() const { return serverPassword_; }

    // The embedded database used when the worker names no other server; created from the
    // demo hospital on first use.
    static QString defaultEmbeddedPath();
    static void setDefaultEmbeddedPath(const QString& path);  // empty: in the user's data folder

    // Makes the default embedded database when it does not exist yet and returns the line the
    // dialog shows about it; fails with a Failure. The program sets it (it builds the demo
    // hospital); without it the dialog offers the missing file as it is.
    using FirstStart = std::function<QString(const QString& path)>;
    static void setFirstStart(FirstStart firstStart);

    // The servers of the last successful log-ins on this workstation, newest first, as the
    // dialog offers them; passwords in connection strings are never kept.
    static constexpr int kRecentServers = 8;
    static QStringList recentServers();
    static void rememberServer(const QString& server);

private:
    std::unique_ptr<db::Connection> connection_;
    QVariant connected_;
    QString employeeCode_;
    QString employeeName_;
    QString password_;
    QSet<QString> rights_;
    QString serverName_;
    QString database_;
    QString serverPassword_;
};

}  // namespace mss::components
