#pragma once
// The hospital's stored procedures: SQL bodies loaded from text files, and C++ procedures for
// logic that SQL cannot say well.
#include "hospitaldb/engine.h"
#include <functional>

namespace hospitaldb {

class EmbeddedBackend;

// What a C++ procedure may do on the connection that called it.
class ProcedureContext {
public:
    explicit ProcedureContext(EmbeddedBackend& backend) : backend_(backend) {}
    Engine& engine();
    // SQLite SQL with mangled names, named binds (:Name or @Name); prepared once per text.
    ResultTable query(const QString& sql, const QHash<QString, QVariant>& binds = {});
    // Another statement through the T-SQL front (e.g. a call of another procedure).
    ResultTable execute(const QString& tsql);
    void warning(long number, const QString& text);
    [[noreturn]] void fail(long number, const QString& text);
    QString user() const;
    QString defaultDatabase() const;

private:
    EmbeddedBackend& backend_;
};

using NativeProcedure = std::function<ResultTable(ProcedureContext&, const QVector<QVariant>& args)>;

struct ProcedureParam {
    QString name;           // without '@'
    bool hasDefault = false;
    QVariant defaultValue;  // invalid = NULL
};

struct Procedure {
    QString database;       // upper case, one of databaseNames()
    QString name;
    QVector<ProcedureParam> params;
    QStringList statements; // SQL bodies
    NativeProcedure native; // set for C++ procedures
    QString origin;         // file and line, for failures
};

class ProcedureLibrary {
public:
    // Replaces a procedure of the same database and name.
    void add(Procedure p);
    void registerProcedure(const QString& database, const QString& name, const QStringList& params,
                           NativeProcedure fn);
    // Parses the "-- @procedure DB.Name" file format; returns how many procedures it held.
    int loadText(const QString& text, const QString& origin);
    int loadFile(const QString& path);
    const Procedure* find(const QString& database, const QString& name) const;
    QStringList names() const;  // "DB.Name", sorted
    int size() const { return int(procs_.size()); }
    // Changes with every add: pointers from find() are valid until it changes.
    quint64 generation() const { return generation_; }

private:
    QHash<QString, Procedure> procs_;  // key "DB.name" in lower case
    quint64 generation_ = 0;
};

// Statements of a body: split at ';' ending a line (outside quotes and comments); comment-only
// pieces are dropped.
QStringList splitStatements(const QString& body);

// C++ procedures of the hospital; implemented in procedures_builtin.cpp.
void registerBuiltinProcedures(ProcedureLibrary& library);

// The procedures built into the program: sql/procedures/*.sql and the C++ ones. Parsed once per
// process; each connection takes a copy.
const ProcedureLibrary& builtinLibrary();

}  // namespace hospitaldb
