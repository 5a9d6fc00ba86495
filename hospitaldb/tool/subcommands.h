#pragma once
// The subcommands of mss-hospitaldb. Each .cpp of the tool adds its own to the tool.
#include "shell/cli/tool.h"

#include <QString>
#include <QStringList>
#include <QTextStream>
#include <functional>

namespace hospitaldb::tool {

using mss::cli::Arguments;
using mss::cli::Command;

mss::cli::Tool& tool();
inline void addSubcommand(Command command) { tool().add(std::move(command)); }
inline QTextStream& out() { return tool().out(); }
inline QTextStream& err() { return tool().err(); }

// Makes a new database at `path` with `build` (which gets the path to build at), refusing an
// existing file unless `force`; a failure leaves the old file as it was. Returns the exit
// status, having reported a failure.
int createDatabaseFile(const QString& path, bool force, const std::function<void(const QString&)>& build);

// exec, create and script (exec.cpp).
void registerEngineSubcommands();
// init, demo, generate, check, user ... (builders.cpp).
void registerBuilderSubcommands();

}  // namespace hospitaldb::tool
