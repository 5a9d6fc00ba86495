#pragma once
// Start-up: log-in, hospital information, components, registry, main window; and
// "Change Active User", which runs it again.
namespace mss {

enum class StartResult { Running, NotLoggedIn, NotConnected, Failed };

StartResult StartSession();
// The main window has closed: close the connection and start again.
StartResult ChangeActiveUser();

}  // namespace mss
