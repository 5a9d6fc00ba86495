#pragma once
// The embedded hospital database: one SQLite file that answers the hospital's T-SQL texts.
#include "shell/db/backend.h"
#include "hospitaldb/engine.h"
#include "hospitaldb/procedures.h"
#include "hospitaldb/translator.h"
#include <QRegularExpression>
#include <array>
#include <list>
#include <memory>

namespace hospitaldb {

// Opens an existing hospital database file. Fails (number 17) when the file does not exist
// or is not a hospital database.
std::unique_ptr<mss::db::Backend> openEmbedded(const QString& path);

class EmbeddedBackend : public mss::db::Backend {
public:
    explicit EmbeddedBackend(const QString& path);
    ~EmbeddedBackend() override;

    ResultTable execute(const QString& sql, QList<ErrorEntry>& messages) override;
    QString executeWithOutput(const QString& procedure, const QString& parameter, int maxLength,
                              QList<ErrorEntry>& messages) override;
    void beginTransaction() override;
    void commitTransaction() override;
    void rollbackTransaction() override;
    void setDefaultDatabase(const QString& name) override;
    QString defaultDatabase() const override { return defaultDb_; }
    void close() override;

    Engine& engine();
    ProcedureLibrary& procedures() { return library_; }
    void setUser(const QString& user) override { engine().setUser(user); }

    // Fault injection for tests. "Statement" = one execute()/executeWithOutput() call.
    // The nth statement from now (1 = the next one) fails / records a warning and runs.
    void failStatement(int nth, long number, const QString& description);
    void warnStatement(int nth, long number, const QString& description);
    // Every statement whose text matches fails / records a warning, until cleared.
    void failMatching(const QRegularExpression& pattern, long number, const QString& description);
    void warnMatching(const QRegularExpression& pattern, long number, const QString& description);
    void clearFaults() { faults_.clear(); }

    // For the procedure context and tests.
    ResultTable callProcedure(const Call& call);
    ResultTable runSql(const QString& sqliteSql, const QHash<QString, QVariant>& binds);
    int cachedShapes() const { return int(lru_.size()); }

private:
    struct Fault {
        int countdown = 0;  // > 0: the statement it reaches; 0: pattern
        QRegularExpression pattern;
        long number = 0;
        QString description;
        bool warn = false;
    };
    // A statement shape seen before: its prepared translation, or the procedure it calls.
    struct Shape {
        QString key;
        int db = 0;
        std::unique_ptr<Statement> stmt;
        const Procedure* procedure = nullptr;
        QVector<QVariant> args;   // constant arguments (numbers, NULL)
        QVector<int> literalOf;   // arguments taken from the text's literals
        QVector<int> structural;  // literals the translation depends on (a literal alias)
        QStringList structuralValues;
        // The call's arguments: the constants, and literal k's value from `literal(k)`.
        template <class Literal>
        QVector<QVariant> arguments(Literal literal) const {
            QVector<QVariant> out;
            out.reserve(args.size());
            for (qsizetype i = 0; i < args.size(); ++i)
                out.append(literalOf[i] >= 0 ? QVariant(literal(literalOf[i])) : args[i]);
            return out;
        }
    };
    // A procedure body statement with its binds resolved to argument positions.
    struct Body {
        Statement* stmt;
        QVector<int> argument;
    };

    void applyFaults(const QString& sql, QList<ErrorEntry>& messages);
    void refreshCollation();
    ResultTable runStatement(const QString& sql);
    ResultTable runProcedure(const Procedure& p, QVector<QVariant> args);
    const QVector<Body>& bodies(const Procedure& p);
    Statement& prepared(const QString& sql);
    Shape* findShape(const QString& key, const QString& sql);
    // The shape for these literal values where its translation depends on them.
    template <class Literal>
    Shape* specialised(Shape* shape, const QString& sql, Literal literal);
    Shape* newShape(const QString& key, const QString& sql);
    void checkLibrary();

    std::unique_ptr<Engine> engine_;
    ProcedureLibrary library_;
    QString defaultDb_ = QStringLiteral("MSS");
    SchemaInfo schema_;
    std::list<Shape> lru_;
    std::array<QHash<QString, std::list<Shape>::iterator>, 5> shapes_;  // per default database
    int dbIndex_ = 0;
    QuickScan quick_;
    bool scanning_ = false;
    QHash<QString, std::shared_ptr<Statement>> statements_;  // procedure statements by text
    QHash<const Procedure*, QVector<Body>> bodies_;
    quint64 libraryGeneration_ = 0;
    QList<Fault> faults_;
    int callDepth_ = 0;
};

}  // namespace hospitaldb
