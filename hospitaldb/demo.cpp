#include "hospitaldb/demo.h"

#include "hospitaldb/engine.h"

#include <QFile>
#include <QFileInfo>

namespace hospitaldb {

namespace {

// Social workers of the department; the first two are the documented demo log-ins.
struct DemoAccount { const char *code, *last, *first, *middle, *license, *position; bool worker; bool rightsA; };
const DemoAccount kDemoAccounts[] = {
    {"0001", "BUENAFLOR", "CECILIA", "RAMOS", "SW-0012345", "SOCIAL WELFARE OFFICER III", true, true},
    {"0002", "MANALASTAS", "RODEL", "CRUZ", "SW-0023456", "SOCIAL WELFARE OFFICER I", true, false},
    {"0003", "PAGDANGANAN", "LIZA", "MENDOZA", "SW-0034567", "SOCIAL WELFARE OFFICER II", true, false},
    {"0004", "TABUENA", "ARNOLD", "SISON", "SW-0045678", "SOCIAL WELFARE OFFICER I", true, false},
    {"0005", "VILLAROMAN", "GRACE", "DE VERA", "SW-0056789", "SOCIAL WELFARE OFFICER II", true, false},
    {"0006", "DE JESUS", "MARLON", "AQUINO", "", "ADMINISTRATIVE AIDE", false, false},
};

}  // namespace

void initHospital(const QString& path, const QString& adminPassword) {
    createDatabase(path);
    try {
        Engine e(path, false);
        execSql(e.handle(), QStringLiteral("BEGIN"));
        writeHospitalExtras(e.handle());
        Account admin;
        admin.code = QStringLiteral("ADMIN");
        admin.lastName = QStringLiteral("ADMINISTRATOR");
        admin.firstName = QStringLiteral("SYSTEM");
        admin.position = QStringLiteral("ADMINISTRATOR");
        admin.rights = {QStringLiteral("A")};
        addAccount(e, admin, adminPassword);
        execSql(e.handle(), QStringLiteral("COMMIT"));
    } catch (...) {
        QFile::remove(path);
        throw;
    }
}

PopulationStats buildDemo(const QString& path, const QDate& today) {
    createDatabase(path);
    try {
        PopulationStats stats;
        {
            Engine e(path, false);
            PopulationOptions o;
            o.patients = 500;
            o.seed = 20240601;
            o.today = today;
            stats = populate(e, o);
            for (const DemoAccount& d : kDemoAccounts) {
                Account a;
                a.code = QString::fromLatin1(d.code);
                a.lastName = QString::fromLatin1(d.last);
                a.firstName = QString::fromLatin1(d.first);
                a.middleName = QString::fromLatin1(d.middle);
                a.license = QString::fromLatin1(d.license);
                a.position = QString::fromLatin1(d.position);
                a.socialWorker = d.worker;
                if (d.rightsA) a.rights = {QStringLiteral("A")};
                addAccount(e, a, QStringLiteral("demo"));
            }
            // The case records are derived from these patients by their own scripts.
            for (const QString& script : resourceScripts(QStringLiteral("demo")))
                e.runScript(readTextFile(script), QFileInfo(script).fileName());
            normalizeDateTimes(e);
        }
        return stats;
    } catch (...) {
        QFile::remove(path);
        throw;
    }
}

}  // namespace hospitaldb
