#include "hospitaldb/tool/subcommands.h"

#include <QCoreApplication>
#include <cstdio>

namespace hospitaldb::tool {

namespace {
QList<Subcommand>& table() {
    static QList<Subcommand> t;
    return t;
}

void printHelp(QTextStream& s) {
    s << "usage: mss-hospitaldb SUBCOMMAND [ARGUMENTS]\n\nSubcommands:\n";
    for (const Subcommand& c : subcommands()) s << "  " << c.usage << "\n      " << c.summary << "\n";
    s.flush();
}
}  // namespace

void addSubcommand(Subcommand command) {
    for (Subcommand& c : table()) {
        if (c.name == command.name) { c = std::move(command); return; }
    }
    table().append(std::move(command));
}

const QList<Subcommand>& subcommands() { return table(); }

QTextStream& out() {
    static QTextStream s(stdout);
    return s;
}
QTextStream& err() {
    static QTextStream s(stderr);
    return s;
}

}  // namespace hospitaldb::tool

int main(int argc, char** argv) {
    using namespace hospitaldb::tool;
    QCoreApplication app(argc, argv);
    registerEngineSubcommands();
    registerBuilderSubcommands();
    QStringList args = app.arguments().mid(1);
    if (args.isEmpty() || args.first() == "--help" || args.first() == "-h" || args.first() == "help") {
        printHelp(args.isEmpty() ? err() : out());
        return args.isEmpty() ? 2 : 0;
    }
    const QString name = args.takeFirst();
    for (const Subcommand& c : subcommands()) {
        if (c.name == name) {
            const int rc = c.run(args);
            out().flush();
            err().flush();
            return rc;
        }
    }
    err() << "mss-hospitaldb: unknown subcommand '" << name << "'\n";
    printHelp(err());
    return 2;
}
