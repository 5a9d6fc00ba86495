#pragma once
// The connection to a real SQL Server (or any ODBC source) through unixODBC / the Windows driver manager.
#include "shell/db/backend.h"
#include <memory>

namespace mss::db {

// Opens the ODBC connection string as given (a DSN, or DRIVER=FreeTDS;SERVER=...).
// Fails with the driver's diagnostic when the connection cannot be made.
std::unique_ptr<Backend> openOdbc(const QString& connectionString);

}  // namespace mss::db
