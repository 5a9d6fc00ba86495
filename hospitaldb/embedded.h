#pragma once
// The embedded hospital database: one SQLite file that answers the hospital's T-SQL texts.
#include "shell/db/backend.h"
#include <memory>

namespace hospitaldb {

// Opens an existing hospital database file. Fails (number 17) when the file does not exist
// or is not a hospital database.
std::unique_ptr<mss::db::Backend> openEmbedded(const QString& path);

}  // namespace hospitaldb
