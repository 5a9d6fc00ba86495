#include "hospitaldb/demo.h"

#include "hospitaldb/embedded.h"
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

// The ward takes back some discharge notices, as its discharge module does when a discharge
// order is cancelled: through the same procedure, so the demo's revoked notices are made the
// way a hospital's are. Every second open notice of a patient the department has not assessed,
// sent at least three hours before the day the demo is built, is revoked three hours after it
// was sent; the department's own showcase patient keeps his.
void revokeDemoNotices(const QString& path, const QDate& today) {
    EmbeddedBackend hospital(path);
    const ResultTable notices = hospital.runSql(
        QStringLiteral("SELECT n.IdNum, datetime(n.NoticeDate, '+3 hours') AS RevokedAt"
                       "  FROM MSS__tbMSSDischargeNotice n"
                       "  JOIN PATIENT_DATA__tbPatient2 p ON p.IdNum = n.IdNum"
                       " WHERE p.DcrDate IS NULL AND n.ClearDate IS NULL AND n.RevokedDate IS NULL"
                       "   AND n.NoticeDate IS NOT NULL AND datetime(n.NoticeDate, '+3 hours') <= :Today"
                       "   AND NOT EXISTS (SELECT 1 FROM MSS__tbMSSAssessment a WHERE a.IdNum = n.IdNum)"
                       " ORDER BY n.IdNum"),
        {{QStringLiteral("Today"), today.toString(Qt::ISODate) + QStringLiteral(" 00:00:00")}});
    QList<ErrorEntry> messages;
    for (qsizetype i = 1; i < notices.rows.size(); i += 2) {
        const QString idNum = notices.rows[i][0].toString().replace(u'\'', QStringLiteral("''"));
        hospital.execute(QStringLiteral("PATIENT_DATA..sp_Adm_RevokeDischargeNotice '%1','WARD','%2'")
                             .arg(idNum, notices.rows[i][1].toString()),
                         messages);
    }
}

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
        revokeDemoNotices(path, today);
        return stats;
    } catch (...) {
        QFile::remove(path);
        throw;
    }
}

}  // namespace hospitaldb
