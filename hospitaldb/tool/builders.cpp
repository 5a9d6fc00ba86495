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

int usage(const QString& text) {
    err() << "usage: mss-hospitaldb " << text << "\n";
    return 2;
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

int runInit(const QStringList& args) {
    if (args.size() != 1) return usage(QStringLiteral("init DB  (administrator password on standard input)"));
    QString password;
    if (!readPassword(&password)) return 2;
    return guarded([&] {
        initHospital(args[0], password);
        out() << "created " << args[0] << " with administrator account ADMIN\n";
        return 0;
    });
}

int runDemo(const QStringList& args) {
    if (args.size() != 1) return usage(QStringLiteral("demo DB"));
    return guarded([&] {
        printStats(buildDemo(args[0]));
        return 0;
    });
}

int runGenerate(const QStringList& args) {
    QString path;
    qint64 patients = -1;
    qint64 seed = 1;
    for (int i = 0; i < args.size(); ++i) {
        bool ok = true;
        if (args[i] == QLatin1String("--patients") && i + 1 < args.size()) patients = args[++i].toLongLong(&ok);
        else if (args[i] == QLatin1String("--seed") && i + 1 < args.size()) seed = args[++i].toLongLong(&ok);
        else if (path.isEmpty() && !args[i].startsWith(QLatin1String("--"))) path = args[i];
        else ok = false;
        if (!ok) return usage(QStringLiteral("generate DB --patients N [--seed S]"));
    }
    if (path.isEmpty() || patients < 1 || patients > 20000000)
        return usage(QStringLiteral("generate DB --patients N [--seed S]   (1 <= N <= 20000000)"));
    return guarded([&] {
        QElapsedTimer t;
        t.start();
        printStats(generateHospital(path, int(patients), std::uint64_t(seed)));
        out() << "generated in " << QString::number(double(t.elapsed()) / 1000.0, 'f', 1) << " s\n";
        return 0;
    });
}

int runCheck(const QStringList& args) {
    if (args.size() != 1) return usage(QStringLiteral("check DB"));
    return guarded([&] {
        const QStringList problems = checkDatabase(args[0]);
        for (const QString& p : problems) out() << p << "\n";
        if (problems.isEmpty()) out() << "ok\n";
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

int runUser(const QStringList& args) {
    const QString text = QStringLiteral(
        "user add CODE --name NAME [--rights A[,B...]] [--license NUMBER] [--social-worker] DB"
        "  (password on standard input)");
    if (args.size() < 2 || args[0] != QLatin1String("add")) return usage(text);
    Account a;
    a.code = args[1].trimmed();
    QString path, name;
    for (int i = 2; i < args.size(); ++i) {
        const QString& o = args[i];
        if (o == QLatin1String("--name") && i + 1 < args.size()) name = args[++i];
        else if (o == QLatin1String("--rights") && i + 1 < args.size())
            a.rights = args[++i].split(QLatin1Char(','), Qt::SkipEmptyParts);
        else if (o == QLatin1String("--license") && i + 1 < args.size()) a.license = args[++i];
        else if (o == QLatin1String("--social-worker")) a.socialWorker = true;
        else if (path.isEmpty() && !o.startsWith(QLatin1String("--"))) path = o;
        else return usage(text);
    }
    splitName(name, &a);
    if (a.code.isEmpty() || a.lastName.isEmpty() || path.isEmpty()) return usage(text);
    for (QString& r : a.rights) r = r.trimmed();
    QString password;
    if (!readPassword(&password)) return 2;
    return guarded([&] {
        Engine e(path, false);
        addAccount(e, a, password);
        out() << "added account " << a.code << "\n";
        return 0;
    });
}

}  // namespace

void registerBuilderSubcommands() {
    addSubcommand({QStringLiteral("init"), QStringLiteral("init DB"),
                   QStringLiteral("create an empty hospital; the ADMIN password is read from standard input"), runInit});
    addSubcommand({QStringLiteral("demo"), QStringLiteral("demo DB"),
                   QStringLiteral("create the demo hospital (accounts 0001 and 0002, password \"demo\")"), runDemo});
    addSubcommand({QStringLiteral("generate"), QStringLiteral("generate DB --patients N [--seed S]"),
                   QStringLiteral("create a large hospital for benchmarks"), runGenerate});
    addSubcommand({QStringLiteral("check"), QStringLiteral("check DB"),
                   QStringLiteral("integrity and foreign-key check; exit status 1 on problems"), runCheck});
    addSubcommand({QStringLiteral("user"),
                   QStringLiteral("user add CODE --name NAME [--rights A] [--license NUMBER] [--social-worker] DB"),
                   QStringLiteral("add an account; the password is read from standard input"), runUser});
}

}  // namespace hospitaldb::tool
