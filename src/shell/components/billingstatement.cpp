#include "shell/components/billingstatement.h"
#include "shell/db/dbaccess.h"
#include "shell/reports/reports.h"

#include <QFileInfo>

namespace mss::components {

namespace {

// The connection string with its database part naming `database` instead.
QString withDatabase(const QString& connectionString, const QString& database) {
    QString out = connectionString;
    const auto parts = db::connectionStringParts(connectionString);
    for (auto it = parts.crbegin(); it != parts.crend(); ++it)
        if (it->key.compare(QLatin1String("DATABASE"), Qt::CaseInsensitive) == 0) out.remove(it->from, it->to - it->from);
    if (!out.isEmpty() && !out.endsWith(u';')) out += u';';
    return out + QStringLiteral("DATABASE=%1").arg(database);
}

// An embedded hospital is named by its file. A server is reached as the worker logged in to
// it (driver, user, password), since the billing log-on itself carries no user.
QString billingConnectionString(const QString& serverName, const QString& database, const QString& password) {
    if (QFileInfo::exists(serverName)) return db::embeddedConnectionString(serverName);
    if (db::HasSessionConnection()) {
        const QString session = db::SessionConnection().ConnectionString();
        if (!session.isEmpty() && !db::isEmbeddedConnectionString(session)) return withDatabase(session, database);
    }
    return QStringLiteral("DRIVER=FreeTDS;SERVER=%1;PORT=1433;DATABASE=%2;PWD=%3").arg(serverName, database, password);
}

}  // namespace

bool BillingOpenConnection::EstablishedConnection(const QString& serverName, const QString& database,
                                                  const QString& password) {
    try {
        auto c = std::make_unique<db::Connection>();
        c->Open(billingConnectionString(serverName, database, password));
        c->SetDefaultDatabase(database);
        connection_ = std::move(c);
        return true;
    } catch (const db::Failure&) {
        connection_.reset();
        return false;
    }
}

Statement::Statement(const BillingOpenConnection& billing, QString reportFolder)
    : billing_(billing), reportFolder_(std::move(reportFolder)) {}

void Statement::ShowSOA(const QString& admissionNumber) {
    const db::Connection* c = billing_.connection();
    if (!c || c->State() != db::adStateOpen)
        throw db::Failure(db::errnum::ObjectClosed, QStringLiteral("BillingStatement"),
                          QStringLiteral("The billing connection has not been established."));
    // The report reads on a connection of its own, logged on as the billing connection is.
    const QString cs = c->ConnectionString();
    reports::LogOn logOn;
    logOn.server = db::connectionStringValue(cs, QStringLiteral("SERVER"));
    logOn.database = c->DefaultDatabase();
    logOn.user = db::connectionStringValue(cs, QStringLiteral("UID"));
    logOn.password = db::connectionStringValue(cs, QStringLiteral("PWD"));
    logOn.sessionConnectionString = cs;
    reports::PrepareReport(reportFolder_ + reportName(), {admissionNumber, HospitalNumber, UserId, UserName}, logOn);
    reports::ShowReport(title());
}

}  // namespace mss::components
