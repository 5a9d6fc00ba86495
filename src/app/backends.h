#pragma once
// The database engines a connection string can name.
namespace mss::app {

// The embedded hospital database for "Provider=HospitalDB;Data Source=FILE" and ODBC for every
// string without a provider.
void RegisterBackends();

}  // namespace mss::app
