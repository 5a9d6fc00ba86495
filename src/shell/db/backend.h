#pragma once
// The seam between the connection and a database engine (embedded or ODBC).
#include "shell/db/error.h"
#include <QStringList>
#include <QVariant>
#include <QVector>

namespace mss::db {

// What one statement returned. A null column value is an invalid QVariant; the empty
// text is a QString. Dates come back as QDateTime.
struct ResultTable {
    bool hasResult = false;       // the statement produced a row set (possibly empty)
    QStringList columns;
    QList<QVector<QVariant>> rows;
    qint64 rowsAffected = -1;     // for writes, when the engine knows
};

class Backend {
public:
    virtual ~Backend() = default;

    // Runs one statement text as given. Informational messages are appended to `messages`
    // (the call still succeeds); a failure throws Failure.
    virtual ResultTable execute(const QString& sql, QList<ErrorEntry>& messages) = 0;

    // Calls a procedure whose only parameter is one text output parameter; returns its value.
    virtual QString executeWithOutput(const QString& procedure, const QString& parameter,
                                      int maxLength, QList<ErrorEntry>& messages) = 0;

    virtual void beginTransaction() = 0;
    virtual void commitTransaction() = 0;
    virtual void rollbackTransaction() = 0;

    virtual void setDefaultDatabase(const QString& name) = 0;
    virtual QString defaultDatabase() const = 0;

    virtual void close() = 0;

    // The worker who logged in, for engines that stamp writes with it as a server does
    // with its log-in name.
    virtual void setUser(const QString& /*employeeCode*/) {}
};

}  // namespace mss::db
