#pragma once
// Turns a worker code picked in the worker lookup into the worker's name.
#include <QString>
#include <optional>

namespace mss::dialogs {

struct WorkerName {
    QString EmployeeName;
    QString LicenseNumber;   // "" when the procedure returns none
};

// Reads the worker through MSS..sp_MSS_GetEmployeeName. With no row it tells the user
// "Employee No Longer Exists." and returns nothing.
std::optional<WorkerName> LookUpWorkerName(const QString& workerCode);

}  // namespace mss::dialogs
