#pragma once
// Binds the main window's menu items and toolbar buttons to the features' commands.
namespace mss::mainwindow { class mdiMSS; }

namespace mss::app {

void BindCommands(mainwindow::mdiMSS& window);

}  // namespace mss::app
