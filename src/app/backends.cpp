#include "app/backends.h"
#include "hospitaldb/embedded.h"
#include "shell/db/connection.h"
#include "shell/db/odbc/odbcbackend.h"

namespace mss::app {

void RegisterBackends() {
    db::RegisterBackend(QStringLiteral("HospitalDB"), [](const QString& connectionString) {
        return hospitaldb::openEmbedded(db::connectionStringValue(connectionString, QStringLiteral("Data Source")));
    });
    db::RegisterBackend(QString(), [](const QString& connectionString) { return db::openOdbc(connectionString); });
}

}  // namespace mss::app
