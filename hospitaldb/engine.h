#pragma once
// The raw hospital database engine: one SQLite file holding the five hospital databases,
// with the collation and SQL functions that statements and procedure bodies rely on.
#include "shell/db/backend.h"
#include <QHash>
#include <QMap>
#include <QSet>
#include <QStringList>
#include <functional>
#include <memory>

struct sqlite3;
struct sqlite3_stmt;

namespace hospitaldb {

using mss::db::ErrorEntry;
using mss::db::Failure;
using mss::db::ResultTable;

// The databases one file holds; table Y of database X is the SQLite table X__Y.
const QStringList& databaseNames();
// "Patient_Data" -> "PATIENT_DATA" when it names one of the databases, else "".
QString canonicalDatabase(const QString& name);

// The order of the TSQL collation; files built under another are reindexed when opened.
extern const char* const kCollationVersion;

// Created on every connection, so each connection has its own scratch rows.
extern const char* const kDummyDiscountTableSql;

// How a result column's values are read back: dates as QDateTime, amounts as double...
enum ColumnKind { KindDefault = -1, KindNone = 0, KindDate, KindReal, KindInt, KindText };

// A prepared statement that keeps its decltypes so results convert the same way every time.
class Statement {
public:
    Statement(sqlite3* db, const QString& sql);
    ~Statement();
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    void bind(int index, const QVariant& value);   // 1-based
    void bindText(int index, QStringView value);
    int parameterCount() const;
    QString parameterName(int index) const;         // with its ':' or '@'
    // Runs to completion. Binds stay; the statement is reset for the next run.
    ResultTable run();
    bool hasColumns() const { return columnCount_ > 0; }
    // Kinds the translation knows (SQL Server's types of expressions); KindDefault keeps the
    // column's declared type.
    void setKinds(const QVector<int>& kinds);
    // A SELECT of nothing but mss_error(...)/mss_warning(...) calls raises or warns; it is
    // not a result set.
    bool isSignalOnly() const { return signalOnly_; }
    const QString& sql() const { return sql_; }

private:
    sqlite3* db_;
    sqlite3_stmt* stmt_ = nullptr;
    QString sql_;
    int columnCount_ = 0;
    bool signalOnly_ = false;
    QStringList columns_;
    QVector<int> kinds_;
};

// Throws the Failure for the connection's last SQLite error (decoding mss_error texts).
[[noreturn]] void throwSqliteError(sqlite3* db, int rc, const QString& sql);

class Engine {
public:
    // Opens an existing file (create=false) or a new empty one.
    Engine(const QString& path, bool create);
    ~Engine();
    Engine(const Engine&) = delete;
    Engine& operator=(const Engine&) = delete;

    sqlite3* handle() const { return db_; }
    const QString& path() const { return path_; }

    // Runs a script of several statements (no binds). `name` appears in failures.
    void runScript(const QString& sql, const QString& name = QString());
    // One statement with positional binds (?) or named binds (:Name / @Name).
    ResultTable query(const QString& sql, const QVector<QVariant>& binds = {});
    ResultTable query(const QString& sql, const QHash<QString, QVariant>& named);

    // Where mss_warning() puts its entries while a statement runs.
    void setMessageSink(QList<ErrorEntry>* sink) { sink_ = sink; }
    void addMessage(const ErrorEntry& e);
    void setUser(const QString& user) { user_ = user; }
    const QString& user() const { return user_; }

    // Table name (lower case, mangled) -> column name (lower case) -> declared type (upper).
    bool hasTable(const QString& mangled);
    QString columnType(const QString& mangledTable, const QString& column);
    // The table's columns in their declared order.
    QStringList columns(const QString& mangledTable);
    void refreshSchema();

    bool inTransaction() const;

private:
    void registerFunctions();

    sqlite3* db_ = nullptr;
    QString path_;
    QString user_;
    QList<ErrorEntry>* sink_ = nullptr;
    QHash<QString, QHash<QString, QString>> schema_;
    QHash<QString, QStringList> columnOrder_;
    bool schemaLoaded_ = false;
};

// Date texts: 'mm/dd/yyyy', 'm/d/yyyy', 'yyyy-mm-dd' with an optional time, to ISO
// 'YYYY-MM-DD HH:MM:SS' (midnight when no time was given). Empty -> null; garbage -> false.
bool parseDateText(const QString& text, QString* iso, bool* isNull);

// Options of a new hospital database.
struct CreateOptions {
    bool referenceData = true;       // run sql/reference/*.sql after the schema
    bool builtinSchema = true;       // run sql/schema/*.sql from the resources
    QStringList extraScripts;        // file paths, run after the above in this order
};

// Creates a new hospital database file (fails when it exists).
void createDatabase(const QString& path, const CreateOptions& options = {});

// Builds a new database with `build` beside `path` and moves it there once complete: an
// interrupted build leaves no half-made file, and a file at `path` (with its journal) is
// replaced only by a whole one.
void buildInPlaceOf(const QString& path, const std::function<void(const QString& aside)>& build);

// The SQL files built into the program under :/hospitaldb/sql/<folder>, in file-name order.
QStringList resourceScripts(const QString& folder);
QString readTextFile(const QString& path);

}  // namespace hospitaldb
