#include "shell/db/odbc/odbcbackend.h"

namespace mss::db {

std::unique_ptr<Backend> openOdbc(const QString& connectionString) {
    throw Failure(errnum::ConnectionFailed, "ODBC", "ODBC connections are not built yet");
}

}  // namespace mss::db
