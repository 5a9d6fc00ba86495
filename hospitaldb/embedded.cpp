#include "hospitaldb/embedded.h"

namespace hospitaldb {

std::unique_ptr<mss::db::Backend> openEmbedded(const QString& path) {
    throw mss::db::Failure(mss::db::errnum::ConnectionFailed, "HospitalDB", "not built yet");
}

}  // namespace hospitaldb
