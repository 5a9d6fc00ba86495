#pragma once
// Building hospital databases: an empty hospital, the demo hospital, large generated
// hospitals for benchmarks, accounts, and the soundness check.
#include <QDate>
#include <QString>
#include <QStringList>
#include <cstdint>

struct sqlite3;

namespace hospitaldb {

class Engine;

struct PopulationOptions {
    int patients = 500;
    std::uint64_t seed = 1;
    QDate today = QDate::currentDate();
    int minBillLines = 20;
    int maxBillLines = 200;
    // Only encounters that began within this many days get bills (0: every encounter).
    int billDays = 0;
    // Drop the search indexes during the load and rebuild them afterwards.
    bool deferIndexes = false;
};

struct PopulationStats {
    qint64 patients = 0, admissions = 0, cashAdmissions = 0, outPatients = 0, erVisits = 0;
    qint64 currentAdmissions = 0, billLines = 0, medicareClaims = 0, mssPatients = 0;
};

// Writes the patients, encounters, bills, charge accounts and the hospital information row
// into an empty hospital database, in one transaction. Deterministic for a seed and a date.
PopulationStats populate(Engine& engine, const PopulationOptions& options);

struct Account {
    QString code, lastName, firstName, middleName, license, position;
    QString department = QStringLiteral("MSS");
    bool socialWorker = false;
    QStringList rights;          // rights codes held in `department`
};

// A libsodium crypto_pwhash_str string (interactive limits). Throws on failure.
QString hashPassword(const QString& password);
bool verifyPassword(const QString& hash, const QString& password);

// Adds an account (fails when the code exists).
void addAccount(Engine& engine, const Account& account, const QString& password);

// A new empty hospital: schema, reference data, a hospital row and one administrator.
void initHospital(const QString& path, const QString& adminPassword);

// The demo hospital: about 500 patients, their encounters and bills, the demo accounts,
// then every demo script of the case records (sql/demo/*.sql) in name order.
PopulationStats buildDemo(const QString& path, const QDate& today = QDate::currentDate());

// A large hospital for benchmarks; bills only on the last month's encounters.
PopulationStats generateHospital(const QString& path, int patients, std::uint64_t seed);

// Helpers shared by the builders.
void execSql(sqlite3* db, const QString& sql);
// The hospital information row and the charge/sponsor accounts of a new hospital.
void writeHospitalExtras(sqlite3* db);

// Date-only texts in DATETIME columns become midnight, the one form every comparison assumes.
void normalizeDateTimes(Engine& engine);

// PRAGMA integrity_check and foreign_key_check, and DATETIME values in another form than
// 'YYYY-MM-DD HH:MM:SS'; the problems found, empty when sound.
QStringList checkDatabase(const QString& path);

}  // namespace hospitaldb
