#include "hospitaldb/tool/subcommands.h"

#include "hospitaldb/demo.h"
#include "hospitaldb/engine.h"

#include <QElapsedTimer>
#include <cstdio>
#include <exception>

namespace hospitaldb::tool {

namespace {

// The password is the first line of standard input, so that it never shows in a process list.
bool readPassword(QString* password) {
    QTextStream in(stdin);
    *password = in.readLine();
    if (password->endsWith(QLatin1Char('\r'))) password->chop(1);
    if (password->isEmpty()) {
        err() << "mss-hospitaldb: expected the password on the first line of standard input\n";
        return false;
    }
    return true;
}

void printStats(const PopulationStats& s) {
    out() << "patients " << s.patients << ", admissions " << s.admissions << " (" << s.currentAdmissions
          << " current, " << s.cashAdmissions << " cash), out-patient visits " << s.outPatients << ", ER visits "
          << s.erVisits << ", bill lines " << s.billLines << ", Medicare claims " << s.medicareClaims
          << ", MSS patients " << s.mssPatients << "\n";
}

// Runs a builder, reporting a failure as the tool's other subcommands do.
template <class F> int guarded(F&& f) {
    try {
        return f();
    } catch (const Failure& e) {
        err() << "mss-hospitaldb: " << e.Description << "\n";
    } catch (const std::exception& e) {
        err() << "mss-hospitaldb: " << e.what() << "\n";
    }
    return 1;
}

const Command& command(const QString& name) {
    for (const Command& c : tool().commands())
        if (c.name == name) return c;
    Q_UNREACHABLE();
}

int runInit(const Arguments& a) {
    const QString path = a.positional[0];
    if (tool().refusesToReplace(path, a.has("--force"))) return 1;
    QString password;
    if (!readPassword(&password)) return 2;
    const int status = createDatabaseFile(path, true, [&](const QString& at) { initHospital(at, password); });
    if (status == 0) out() << "created " << path << ": an empty hospital with the administrator account ADMIN\n";
    return status;
}

int runDemo(const Arguments& a) {
    const QString path = a.positional[0];
    PopulationStats stats;
    const int status = createDatabaseFile(path, a.has("--force"), [&](const QString& at) { stats = buildDemo(at); });
    if (status != 0) return status;
    out() << "created " << path << " from the demo hospital (accounts 0001 and 0002, password \"demo\")\n";
    printStats(stats);
    return 0;
}

int runGenerate(const Arguments& a) {
    const Command& c = command(QStringLiteral("generate"));
    bool ok = true;
    const qint64 patients = a.value("--patients").toLongLong(&ok);
    if (!ok || patients < 1 || patients > 20000000)
        return tool().usageError(c, QStringLiteral("--patients wants a number from 1 to 20000000"));
    const qint64 seed = a.value("--seed").isEmpty() ? 1 : a.value("--seed").toLongLong(&ok);
    if (!ok) return tool().usageError(c, QStringLiteral("--seed wants a number"));
    const QString path = a.positional[0];
    QElapsedTimer t;
    t.start();
    PopulationStats stats;
    const int status = createDatabaseFile(path, a.has("--force"), [&](const QString& at) {
        stats = generateHospital(at, int(patients), std::uint64_t(seed));
    });
    if (status != 0) return status;
    out() << "created " << path << " with generated patients\n";
    printStats(stats);
    out() << "generated in " << QString::number(double(t.elapsed()) / 1000.0, 'f', 1) << " s\n";
    return 0;
}

int runCheck(const Arguments& a) {
    const QString path = a.positional[0];
    return guarded([&] {
        const QStringList problems = checkDatabase(path);
        for (const QString& p : problems) out() << p << "\n";
        if (problems.isEmpty()) out() << path << ": ok, no problems found\n";
        return problems.isEmpty() ? 0 : 1;
    });
}

// "LAST, FIRST MIDDLE" or "FIRST LAST".
void splitName(const QString& name, Account* a) {
    const int comma = name.indexOf(QLatin1Char(','));
    if (comma >= 0) {
        a->lastName = name.left(comma).trimmed();
        a->firstName = name.mid(comma + 1).trimmed();
    } else {
        const int blank = name.trimmed().lastIndexOf(QLatin1Char(' '));
        a->firstName = blank < 0 ? QString() : name.trimmed().left(blank).trimmed();
        a->lastName = name.trimmed().mid(blank + 1);
    }
}

int runUser(const Arguments& args) {
    const Command& c = command(QStringLiteral("user"));
    if (args.positional[0] != QLatin1String("add"))
        return tool().usageError(c, QStringLiteral("unknown command 'user %1'").arg(args.positional[0]));
    Account a;
    a.code = args.positional[1].trimmed();
    const QString path = args.positional[2];
    a.rights = args.value("--rights").split(QLatin1Char(','), Qt::SkipEmptyParts);
    a.license = args.value("--license");
    a.socialWorker = args.has("--social-worker");
    splitName(args.value("--name"), &a);
    if (a.code.isEmpty() || a.lastName.isEmpty()) return tool().usageError(c, QStringLiteral("CODE and --name are required"));
    for (QString& r : a.rights) r = r.trimmed();
    QString password;
    if (!readPassword(&password)) return 2;
    return guarded([&] {
        Engine e(path, false);
        addAccount(e, a, password);
        out() << "added account " << a.code << " to " << path << "\n";
        return 0;
    });
}

}  // namespace

void registerBuilderSubcommands() {
    addSubcommand({QStringLiteral("init"), QStringLiteral("[--force] DB"),
                   QStringLiteral("create an empty hospital; the ADMIN password is read from standard input"),
                   {QStringLiteral("--force")}, {}, 1, 1, runInit});
    addSubcommand({QStringLiteral("demo"), QStringLiteral("[--force] DB"),
                   QStringLiteral("create the demo hospital (accounts 0001 and 0002, password \"demo\")"),
                   {QStringLiteral("--force")}, {}, 1, 1, runDemo});
    addSubcommand({QStringLiteral("generate"), QStringLiteral("[--force] DB --patients N [--seed S]"),
                   QStringLiteral("create a large hospital for benchmarks"), {QStringLiteral("--force")},
                   {QStringLiteral("--patients"), QStringLiteral("--seed")}, 1, 1, runGenerate});
    addSubcommand({QStringLiteral("check"), QStringLiteral("DB"),
                   QStringLiteral("integrity and foreign-key check; exit status 1 on problems"), {}, {}, 1, 1, runCheck});
    addSubcommand({QStringLiteral("user"),
                   QStringLiteral("add CODE --name NAME [--rights A[,B...]] [--license NUMBER] [--social-worker] DB"),
                   QStringLiteral("add an account; the password is read from standard input"),
                   {QStringLiteral("--social-worker")},
                   {QStringLiteral("--name"), QStringLiteral("--rights"), QStringLiteral("--license")}, 3, 3, runUser});
}

}  // namespace hospitaldb::tool
