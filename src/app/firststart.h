#pragma once
// The first start on a workstation: the demo hospital where the log-in offers its database.
#include <QString>

namespace mss::app {

// Builds the demo hospital at `path` and returns the line the log-in dialog shows about it.
// Built aside and renamed, so an interrupted start leaves no half-made database behind.
QString PrepareDemoHospital(const QString& path);

}  // namespace mss::app
