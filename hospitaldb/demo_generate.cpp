#include "hospitaldb/demo.h"

#include "hospitaldb/engine.h"

#include <QFile>
#include <sqlite3.h>

namespace hospitaldb {

PopulationStats generateHospital(const QString& path, int patients, std::uint64_t seed) {
    createDatabase(path);
    try {
        Engine e(path, false);
        // A new file: nothing to protect, so skip the journal and the referential checks
        // while loading; `check` verifies the result.
        execSql(e.handle(), QStringLiteral("PRAGMA foreign_keys = OFF; PRAGMA journal_mode = OFF;"
                                           " PRAGMA synchronous = OFF; PRAGMA cache_size = -200000;"));
        PopulationOptions o;
        o.patients = patients;
        o.seed = seed;
        o.minBillLines = 3;
        o.maxBillLines = 12;
        o.billDays = 30;
        o.deferIndexes = true;
        const PopulationStats stats = populate(e, o);
        normalizeDateTimes(e);
        execSql(e.handle(), QStringLiteral("PRAGMA journal_mode = DELETE; PRAGMA foreign_keys = ON;"));
        return stats;
    } catch (...) {
        QFile::remove(path);
        throw;
    }
}

namespace {
// Every DATETIME column of every table, as (table, column).
QList<QPair<QString, QString>> dateTimeColumns(Engine& e) {
    QList<QPair<QString, QString>> out;
    const auto tables = e.query(QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'table' "
                                               "AND name NOT LIKE 'sqlite_%'")).rows;
    for (const auto& t : tables) {
        const QString table = t.value(0).toString();
        for (const auto& c : e.query(QStringLiteral("PRAGMA table_info(\"%1\")").arg(table)).rows)
            if (c.value(2).toString().compare(QLatin1String("DATETIME"), Qt::CaseInsensitive) == 0)
                out.append({table, c.value(1).toString()});
    }
    return out;
}
}  // namespace

void normalizeDateTimes(Engine& e) {
    // Comparisons against dates are textual underneath: one stored form keeps them right.
    for (const auto& [table, column] : dateTimeColumns(e))
        execSql(e.handle(), QStringLiteral("UPDATE \"%1\" SET \"%2\" = datetime(\"%2\") "
                                           "WHERE typeof(\"%2\") = 'text' AND length(\"%2\") = 10")
                                .arg(table, column));
}

QStringList checkDatabase(const QString& path) {
    Engine e(path, false);
    QStringList problems;
    for (const auto& row : e.query(QStringLiteral("PRAGMA integrity_check")).rows)
        if (row.value(0).toString() != QLatin1String("ok")) problems << row.value(0).toString();
    for (const auto& row : e.query(QStringLiteral("PRAGMA foreign_key_check")).rows)
        problems << QStringLiteral("foreign key: a row of %1 (rowid %2) refers to a missing row of %3")
                        .arg(row.value(0).toString(), row.value(1).toString(), row.value(2).toString());
    for (const auto& [table, column] : dateTimeColumns(e)) {
        const auto bad = e.query(QStringLiteral("SELECT count(*) FROM \"%1\" WHERE \"%2\" IS NOT NULL AND "
                                                "(typeof(\"%2\") <> 'text' OR \"%2\" IS NOT datetime(\"%2\"))")
                                     .arg(table, column)).rows;
        if (!bad.isEmpty() && bad.first().value(0).toLongLong() > 0)
            problems << QStringLiteral("%1.%2: %3 values not in the form YYYY-MM-DD HH:MM:SS")
                            .arg(table, column, bad.first().value(0).toString());
    }
    return problems;
}

}  // namespace hospitaldb
