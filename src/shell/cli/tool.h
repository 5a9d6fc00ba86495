#pragma once
// A command-line tool of the program: subcommands with their options, --help and --version.
// Hospital IT runs these from scripts, so a wrong call always names what was wrong, shows the
// usage and ends with status 2; and nothing existing is replaced unless the caller says so.
#include <QList>
#include <QString>
#include <QStringList>
#include <QTextStream>
#include <functional>
#include <utility>

namespace mss::cli {

// The program's version, as the package carries it.
QString version();

// What a subcommand was given, options apart from the other arguments.
struct Arguments {
    QStringList positional;
    QStringList flags;                             // options given that take no value
    QList<std::pair<QString, QString>> values;     // options with their value, in order

    bool has(const QString& flag) const { return flags.contains(flag); }
    QString value(const QString& option) const;    // the last one given; empty when absent
    QStringList all(const QString& option) const;  // every one given, in order
};

struct Command {
    QString name;
    QString usage;    // the arguments after the name, e.g. "[--force] DB"
    QString summary;  // one line for --help
    QStringList flags;         // e.g. "--force"
    QStringList valueOptions;  // options followed by a value, e.g. "--db"; may be repeated
    int minArguments = 0;
    int maxArguments = -1;     // -1: no limit
    std::function<int(const Arguments&)> run;
};

class Tool {
public:
    Tool(QString name, QString about);

    // A later command of the same name replaces the earlier one.
    void add(Command command);
    const QList<Command>& commands() const { return commands_; }

    // Runs the arguments that follow the program's name; returns the exit status.
    int run(const QStringList& args);

    QTextStream& out() { return out_; }
    QTextStream& err() { return err_; }

    // "NAME COMMAND: what" with the command's usage on standard error; returns 2.
    int usageError(const Command& command, const QString& what);
    // True, after saying so, when `path` exists and `force` was not given: the caller stops
    // with status 1.
    bool refusesToReplace(const QString& path, bool force);

private:
    void printHelp(QTextStream& s) const;
    void printCommandHelp(QTextStream& s, const Command& c) const;
    int runCommand(const Command& c, const QStringList& args);

    QString name_, about_;
    QList<Command> commands_;
    QTextStream out_, err_;
};

}  // namespace mss::cli
