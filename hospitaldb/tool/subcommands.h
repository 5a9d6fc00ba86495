#pragma once
// The subcommands of mss-hospitaldb. Each .cpp of the tool adds its own to the table.
#include <QString>
#include <QStringList>
#include <QTextStream>
#include <functional>

namespace hospitaldb::tool {

struct Subcommand {
    QString name;
    QString usage;     // e.g. "exec DB"
    QString summary;   // one line for --help
    // Arguments after the subcommand name; returns the exit status.
    std::function<int(const QStringList& args)> run;
};

void addSubcommand(Subcommand command);
const QList<Subcommand>& subcommands();

QTextStream& out();
QTextStream& err();

// exec and create (exec.cpp).
void registerEngineSubcommands();
// init, demo, generate, check, user ... (builders.cpp).
void registerBuilderSubcommands();

}  // namespace hospitaldb::tool
