#include "shell/cli/tool.h"

#include <QDir>
#include <QFileInfo>
#include <cstdio>

namespace mss::cli {

QString version() { return QStringLiteral(MSS_VERSION); }

QString Arguments::value(const QString& option) const {
    const QStringList given = all(option);
    return given.isEmpty() ? QString() : given.last();
}

QStringList Arguments::all(const QString& option) const {
    QStringList out;
    for (const auto& [name, v] : values)
        if (name == option) out << v;
    return out;
}

Tool::Tool(QString name, QString about) : name_(std::move(name)), about_(std::move(about)), out_(stdout), err_(stderr) {}

void Tool::add(Command command) {
    for (Command& c : commands_) {
        if (c.name == command.name) {
            c = std::move(command);
            return;
        }
    }
    commands_.append(std::move(command));
}

void Tool::printHelp(QTextStream& s) const {
    s << "usage: " << name_ << " COMMAND [ARGUMENTS]\n"
      << "       " << name_ << " COMMAND --help\n"
      << "       " << name_ << " --version\n\n"
      << about_ << "\n\nCommands:\n";
    for (const Command& c : commands_) s << "  " << c.name << ' ' << c.usage << "\n      " << c.summary << "\n";
    s.flush();
}

void Tool::printCommandHelp(QTextStream& s, const Command& c) const {
    s << "usage: " << name_ << ' ' << c.name << ' ' << c.usage << "\n" << c.summary << "\n";
    s.flush();
}

int Tool::usageError(const Command& command, const QString& what) {
    err_ << name_ << ' ' << command.name << ": " << what << "\n";
    printCommandHelp(err_, command);
    return 2;
}

bool Tool::refusesToReplace(const QString& path, bool force) {
    if (force || !QFileInfo::exists(path)) return false;
    err_ << name_ << ": " << QDir::toNativeSeparators(path) << " already exists; --force replaces it\n";
    err_.flush();
    return true;
}

int Tool::run(const QStringList& args) {
    if (args.isEmpty()) {
        printHelp(err_);
        return 2;
    }
    const QString first = args.first();
    if (first == QLatin1String("--help") || first == QLatin1String("-h") || first == QLatin1String("help")) {
        printHelp(out_);
        return 0;
    }
    if (first == QLatin1String("--version")) {
        out_ << name_ << ' ' << version() << "\n";
        out_.flush();
        return 0;
    }
    for (const Command& c : commands_)
        if (c.name == first) return runCommand(c, args.mid(1));
    err_ << name_ << ": unknown " << (first.startsWith(u'-') ? "option" : "command") << " '" << first << "'\n";
    printHelp(err_);
    return 2;
}

int Tool::runCommand(const Command& c, const QStringList& args) {
    Arguments a;
    bool optionsEnd = false;
    for (int i = 0; i < args.size(); ++i) {
        const QString& s = args[i];
        if (optionsEnd || !s.startsWith(u'-') || s == QLatin1String("-")) {
            a.positional << s;
        } else if (s == QLatin1String("--")) {
            optionsEnd = true;
        } else if (s == QLatin1String("--help") || s == QLatin1String("-h")) {
            printCommandHelp(out_, c);
            return 0;
        } else if (c.flags.contains(s)) {
            a.flags << s;
        } else if (c.valueOptions.contains(s)) {
            if (i + 1 >= args.size()) return usageError(c, QStringLiteral("option '%1' needs a value").arg(s));
            a.values.append({s, args[++i]});
        } else {
            return usageError(c, QStringLiteral("unknown option '%1'").arg(s));
        }
    }
    if (a.positional.size() < c.minArguments)
        return usageError(c, QStringLiteral("missing arguments"));
    if (c.maxArguments >= 0 && a.positional.size() > c.maxArguments)
        return usageError(c, QStringLiteral("unexpected argument '%1'").arg(a.positional.at(c.maxArguments)));
    const int status = c.run(a);
    out_.flush();
    err_.flush();
    return status;
}

}  // namespace mss::cli
