#pragma once
// A database connection with the part of ADO's Connection that the screens use.
#include "shell/db/backend.h"
#include <functional>
#include <memory>

namespace mss::db {

enum class CursorLocation { Server = 2, Client = 3 };
enum class CursorType { Default = -1, ForwardOnly = 0, Keyset = 1, Dynamic = 2, Static = 3 };
enum class LockType { Default = -1, ReadOnly = 1, Pessimistic = 2, Optimistic = 3, BatchOptimistic = 4 };

constexpr int adStateClosed = 0;
constexpr int adStateOpen = 1;

// Makes the engine for a connection string. A string without "Provider=" is looked up under
// the empty name (ODBC), "Provider=HospitalDB;..." under "HospitalDB".
using BackendFactory = std::function<std::unique_ptr<Backend>(const QString& connectionString)>;
void RegisterBackend(const QString& provider, BackendFactory factory);
bool IsBackendRegistered(const QString& provider);

class Connection {
public:
    Connection();
    ~Connection();
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    // Opens with the backend registered for the string's provider; fails (3706) when none is.
    void Open(const QString& connectionString);
    // Tests and tools may hand over an engine of their own.
    void OpenWith(std::unique_ptr<Backend> backend, const QString& connectionString);
    void Close();

    int State() const { return backend_ ? adStateOpen : adStateClosed; }
    QString ConnectionString() const { return connectionString_; }
    QString DefaultDatabase() const;
    void SetDefaultDatabase(const QString& name);
    CursorLocation GetCursorLocation() const { return cursorLocation_; }
    void SetCursorLocation(CursorLocation c) { cursorLocation_ = c; }

    // Sends a text as it is. Clears Errors first, as ADO does when a statement starts.
    ResultTable Execute(const QString& text);
    // The one stored-procedure command with a single text output parameter.
    QString ExecuteWithOutput(const QString& procedure, const QString& parameter, int maxLength);

    void BeginTrans();
    void CommitTrans();
    void RollbackTrans();
    int TransactionLevel() const { return transactionLevel_; }

    const QList<ErrorEntry>& Errors() const { return errors_; }
    void ClearErrors() { errors_.clear(); }

    // Statement log: off by default; tests read the exact texts in order.
    void SetLogging(bool on) { logging_ = on; }
    const QStringList& StatementLog() const { return log_; }
    void ClearLog() { log_.clear(); }

    Backend* backend() const { return backend_.get(); }

private:
    Backend& requireOpen() const;
    void logStatement(const QString& text);

    std::unique_ptr<Backend> backend_;
    QString connectionString_;
    CursorLocation cursorLocation_ = CursorLocation::Server;
    QList<ErrorEntry> errors_;
    int transactionLevel_ = 0;
    bool logging_ = false;
    QStringList log_;
};

// One "Key=Value" of a connection string; [from, to) is its text with the ';' after it.
struct ConnectionStringPart {
    QString key;
    QString value;
    qsizetype from;
    qsizetype to;
};
// Parses "Key=Value;Key=Value" (values may be wrapped in braces to hold ';').
QList<ConnectionStringPart> connectionStringParts(const QString& connectionString);
// The value of a key, found without regard to case; null when absent.
QString connectionStringValue(const QString& connectionString, const QString& key);
// The string without its PWD= or Password= parts, to be kept where others may read it.
QString connectionStringWithoutPassword(const QString& connectionString);
// The connection string of an embedded hospital database file.
QString embeddedConnectionString(const QString& path);
bool isEmbeddedConnectionString(const QString& connectionString);

}  // namespace mss::db
