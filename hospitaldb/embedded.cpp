#include "hospitaldb/embedded.h"

#include <optional>

namespace hospitaldb {

namespace {
const QString kSource = QStringLiteral("HospitalDB");
constexpr int kShapeCapacity = 256;

// Routes mss_warning() entries to the caller's list for the duration of one statement.
class SinkScope {
public:
    SinkScope(Engine& e, QList<ErrorEntry>* sink) : e_(e) { e_.setMessageSink(sink); }
    ~SinkScope() { e_.setMessageSink(nullptr); }

private:
    Engine& e_;
};
}  // namespace

std::unique_ptr<mss::db::Backend> openEmbedded(const QString& path) {
    return std::make_unique<EmbeddedBackend>(path);
}

EmbeddedBackend::EmbeddedBackend(const QString& path)
    : engine_(std::make_unique<Engine>(path, false)), library_(builtinLibrary()) {
    try {
        engine_->query(QStringLiteral("SELECT Value FROM hospitaldb_info WHERE Name = 'format'"));
    } catch (const Failure&) {
        throw Failure(mss::db::errnum::ConnectionFailed, kSource,
                      QStringLiteral("'%1' is not a hospital database.").arg(path));
    }
    refreshCollation();
    schema_.hasTable = [this](const QString& t) { return engine_->hasTable(t); };
    schema_.columnType = [this](const QString& t, const QString& c) { return engine_->columnType(t, c); };
    schema_.columns = [this](const QString& t) { return engine_->columns(t); };
}

EmbeddedBackend::~EmbeddedBackend() { close(); }

// Indexes on text are ordered by the TSQL collation; a file whose indexes were built by an
// earlier order of letters past ASCII is reindexed once, or lookups could miss rows.
void EmbeddedBackend::refreshCollation() {
    const ResultTable v = engine_->query(QStringLiteral("SELECT Value FROM hospitaldb_info WHERE Name = 'collation'"));
    if (!v.rows.isEmpty() && v.rows.first().first().toString() == QLatin1String(kCollationVersion)) return;
    try {
        engine_->runScript(QStringLiteral("BEGIN IMMEDIATE; REINDEX TSQL; "
                                          "INSERT OR REPLACE INTO hospitaldb_info (Name, Value) VALUES ('collation', '%1'); COMMIT;")
                               .arg(QLatin1String(kCollationVersion)));
    } catch (const Failure&) {
        // A read-only file keeps its indexes; nothing else can be done about it here.
        if (engine_->inTransaction()) engine_->runScript(QStringLiteral("ROLLBACK"));
    }
}

Engine& EmbeddedBackend::engine() {
    if (!engine_)
        throw Failure(mss::db::errnum::ObjectClosed, kSource, QStringLiteral("Operation is not allowed when the object is closed."));
    return *engine_;
}

void EmbeddedBackend::close() {
    for (auto& m : shapes_) m.clear();
    lru_.clear();
    bodies_.clear();
    statements_.clear();
    if (engine_ && engine_->inTransaction()) {
        try { engine_->runScript(QStringLiteral("ROLLBACK")); } catch (const Failure&) {}
    }
    engine_.reset();
}

void EmbeddedBackend::setDefaultDatabase(const QString& name) {
    const QString canon = canonicalDatabase(name);
    if (canon.isEmpty())
        throw Failure(911, kSource, QStringLiteral("Database '%1' does not exist. Make sure that the name is entered correctly.").arg(name));
    defaultDb_ = canon;
    dbIndex_ = int(databaseNames().indexOf(canon));
}

void EmbeddedBackend::failStatement(int nth, long number, const QString& description) {
    faults_.append({std::max(1, nth), {}, number, description, false});
}
void EmbeddedBackend::warnStatement(int nth, long number, const QString& description) {
    faults_.append({std::max(1, nth), {}, number, description, true});
}
void EmbeddedBackend::failMatching(const QRegularExpression& pattern, long number, const QString& description) {
    faults_.append({0, pattern, number, description, false});
}
void EmbeddedBackend::warnMatching(const QRegularExpression& pattern, long number, const QString& description) {
    faults_.append({0, pattern, number, description, true});
}

void EmbeddedBackend::applyFaults(const QString& sql, QList<ErrorEntry>& messages) {
    if (faults_.isEmpty()) return;  // begin() would allocate an empty list on every statement
    std::optional<Failure> failure;
    for (auto it = faults_.begin(); it != faults_.end();) {
        const bool counted = it->countdown > 0;
        const bool hit = counted ? --it->countdown == 0 : it->pattern.match(sql).hasMatch();
        if (hit && it->warn) messages.append({it->number, kSource, it->description});
        if (hit && !it->warn && !failure) failure.emplace(it->number, kSource, it->description);
        if (counted && hit) it = faults_.erase(it);
        else ++it;
    }
    if (failure) throw *failure;
}

ResultTable EmbeddedBackend::execute(const QString& sql, QList<ErrorEntry>& messages) {
    engine();
    applyFaults(sql, messages);
    SinkScope sink(*engine_, &messages);
    return runStatement(sql);
}

void EmbeddedBackend::checkLibrary() {
    if (library_.generation() == libraryGeneration_) return;
    // Procedure pointers held by the caches may have moved.
    for (auto& m : shapes_) m.clear();
    lru_.clear();
    bodies_.clear();
    libraryGeneration_ = library_.generation();
}

ResultTable EmbeddedBackend::runStatement(const QString& sql) {
    checkLibrary();
    // Reuses one scan's buffers: a statement of a known shape then allocates nothing here.
    QuickScan local;
    QuickScan& quick = scanning_ ? local : quick_;
    struct Scan {
        bool& flag;
        bool was;
        ~Scan() { flag = was; }
    } scan{scanning_, scanning_};
    scanning_ = true;
    if (!quickScan(sql, quick)) {
        // Texts the scan leaves alone are judged, and refused, by the full tokenizer.
        const Tokens t = tokenize(sql, false);
        if (t.shape.isEmpty()) return {};
        Shape* shape = specialised(findShape(t.shape, sql), sql, [&](int k) { return t.literals[k]; });
        if (shape->procedure)
            return runProcedure(*shape->procedure, shape->arguments([&](int k) { return t.literals[k]; }));
        Statement& st = *shape->stmt;
        for (int i = 0; i < t.literals.size() && i < st.parameterCount(); ++i) st.bindText(i + 1, t.literals[i]);
        return st.run();
    }
    if (quick.shape.isEmpty()) return {};
    Shape* shape = specialised(findShape(quick.shape, sql), sql, [&](int k) { return literalValue(sql, quick.literals[k]); });
    if (shape->procedure)
        return runProcedure(*shape->procedure, shape->arguments([&](int k) { return literalValue(sql, quick.literals[k]); }));
    Statement& st = *shape->stmt;
    const int binds = std::min(int(quick.literals.size()), st.parameterCount());
    for (int i = 0; i < binds; ++i) {
        const LiteralSpan& l = quick.literals[i];
        if (l.doubled) st.bindText(i + 1, literalValue(sql, l));
        else st.bindText(i + 1, QStringView(sql).mid(l.from, l.length));
    }
    return st.run();
}

template <class Literal>
EmbeddedBackend::Shape* EmbeddedBackend::specialised(Shape* shape, const QString& sql, Literal literal) {
    if (shape->structural.isEmpty()) return shape;
    QStringList values;
    for (int k : shape->structural) values << literal(k);
    if (values == shape->structuralValues) return shape;
    const QString key = shape->key.section(QChar(0x1F), 0, 0) + QChar(0x1F) + values.join(QChar(0x1F));
    return findShape(key, sql);
}

// The default database is part of the shape: unprefixed names resolve in it.
EmbeddedBackend::Shape* EmbeddedBackend::findShape(const QString& key, const QString& sql) {
    const auto found = shapes_[dbIndex_].constFind(key);
    if (found == shapes_[dbIndex_].constEnd()) return newShape(key, sql);
    lru_.splice(lru_.begin(), lru_, *found);
    return &lru_.front();
}

EmbeddedBackend::Shape* EmbeddedBackend::newShape(const QString& key, const QString& sql) {
    const Tokens t = tokenize(sql);
    Shape entry;
    entry.key = key;
    entry.db = dbIndex_;
    Call call;
    if (parseCall(t, &call)) {
        QString db = defaultDb_;
        if (!call.database.isEmpty()) {
            db = canonicalDatabase(call.database);
            if (db.isEmpty() && call.database.compare(QLatin1String("dbo"), Qt::CaseInsensitive) == 0) db = defaultDb_;
        }
        entry.procedure = db.isEmpty() ? nullptr : library_.find(db, call.name);
        if (entry.procedure) {
            entry.args = call.args;
            entry.literalOf = call.literalOf;
        } else {
            const QString table = db + QStringLiteral("__") + call.name;
            // A bare table name sent as a command returns the table's rows.
            if (!call.args.isEmpty() || db.isEmpty() || !engine_->hasTable(table))
                throw Failure(mss::db::errnum::UnknownProcedure, kSource,
                              QStringLiteral("Could not find stored procedure '%1'.").arg(call.written));
            entry.stmt = std::make_unique<Statement>(engine_->handle(), QStringLiteral("SELECT * FROM \"%1\"").arg(table));
        }
    } else {
        const Translation tr = translateStatement(t, schema_, defaultDb_);
        entry.stmt = std::make_unique<Statement>(engine_->handle(), tr.sql);
        entry.stmt->setKinds(tr.kinds);
        entry.structural = tr.structural;
        for (int k : tr.structural) entry.structuralValues << t.literals.value(k);
    }
    lru_.push_front(std::move(entry));
    shapes_[dbIndex_].insert(key, lru_.begin());
    if (int(lru_.size()) > kShapeCapacity) {
        shapes_[lru_.back().db].remove(lru_.back().key);
        lru_.pop_back();
    }
    return &lru_.front();
}

ResultTable EmbeddedBackend::callProcedure(const Call& call) {
    checkLibrary();
    QString db = defaultDb_;
    if (!call.database.isEmpty()) {
        db = canonicalDatabase(call.database);
        if (db.isEmpty() && call.database.compare(QLatin1String("dbo"), Qt::CaseInsensitive) == 0) db = defaultDb_;
    }
    const Procedure* p = db.isEmpty() ? nullptr : library_.find(db, call.name);
    if (!p) {
        const QString table = db + QStringLiteral("__") + call.name;
        if (call.args.isEmpty() && !db.isEmpty() && engine_->hasTable(table))
            return prepared(QStringLiteral("SELECT * FROM \"%1\"").arg(table)).run();
        throw Failure(mss::db::errnum::UnknownProcedure, kSource,
                      QStringLiteral("Could not find stored procedure '%1'.").arg(call.written));
    }
    return runProcedure(*p, call.args);
}

const QVector<EmbeddedBackend::Body>& EmbeddedBackend::bodies(const Procedure& p) {
    auto it = bodies_.find(&p);
    if (it != bodies_.end()) return *it;
    QVector<Body> out;
    for (const QString& s : p.statements) {
        Body b{nullptr, {}};
        try {
            b.stmt = &prepared(s);
        } catch (const Failure& f) {
            throw Failure(f.Number, f.Source, QStringLiteral("%1 (%2.%3, %4)").arg(f.Description, p.database, p.name, p.origin));
        }
        for (int i = 1; i <= b.stmt->parameterCount(); ++i) {
            const QString name = b.stmt->parameterName(i);
            int index = -1;
            for (int k = 0; k < p.params.size() && !name.isEmpty(); ++k)
                if (p.params[k].name.compare(name.mid(1), Qt::CaseInsensitive) == 0) index = k;
            if (index < 0)
                throw Failure(137, kSource, QStringLiteral("Must declare the scalar variable \"%1\" (%2.%3).")
                                                .arg(name.isEmpty() ? QStringLiteral("?") : name, p.database, p.name));
            b.argument << index;
        }
        out << b;
    }
    return *bodies_.insert(&p, out);
}

ResultTable EmbeddedBackend::runProcedure(const Procedure& p, QVector<QVariant> values) {
    if (values.size() > p.params.size())
        throw Failure(mss::db::errnum::WrongArguments, kSource,
                      QStringLiteral("Procedure or function %1 has too many arguments specified.").arg(p.name));
    for (int i = int(values.size()); i < p.params.size(); ++i) {
        const ProcedureParam& param = p.params[i];
        if (!param.hasDefault)
            throw Failure(201, kSource, QStringLiteral("Procedure or function '%1' expects parameter '@%2', which was not supplied.")
                                            .arg(p.name, param.name));
        values.append(param.defaultValue);
    }
    const QVector<Body>* body = p.native ? nullptr : &bodies(p);
    // One statement is atomic by itself; several need a savepoint to fall together.
    const bool savepoint = p.native || body->size() > 1;
    const int depth = ++callDepth_;
    struct Depth {
        int& d;
        ~Depth() { --d; }
    } guard{callDepth_};
    // Outside a transaction the call takes the write lock at once, as a transaction does.
    const bool own = savepoint && !engine_->inTransaction();
    if (own) prepared(QStringLiteral("BEGIN IMMEDIATE")).run();
    else if (savepoint) prepared(QStringLiteral("SAVEPOINT hdb_call_%1").arg(depth)).run();
    try {
        ResultTable result;
        if (p.native) {
            ProcedureContext ctx(*this);
            result = p.native(ctx, values);
        } else {
            bool have = false;
            for (const Body& b : *body) {
                for (int i = 0; i < b.argument.size(); ++i) b.stmt->bind(i + 1, values[b.argument[i]]);
                ResultTable r = b.stmt->run();
                if (!have && r.hasResult) {
                    result = std::move(r);
                    have = true;
                }
            }
        }
        if (own) prepared(QStringLiteral("COMMIT")).run();
        else if (savepoint) prepared(QStringLiteral("RELEASE hdb_call_%1").arg(depth)).run();
        return result;
    } catch (...) {
        if (own) {
            try {
                prepared(QStringLiteral("ROLLBACK")).run();
            } catch (const Failure&) {
            }
        } else if (savepoint) {
            try {
                prepared(QStringLiteral("ROLLBACK TO hdb_call_%1").arg(depth)).run();
                prepared(QStringLiteral("RELEASE hdb_call_%1").arg(depth)).run();
            } catch (const Failure&) {
            }
        }
        throw;
    }
}

Statement& EmbeddedBackend::prepared(const QString& sql) {
    auto it = statements_.find(sql);
    if (it == statements_.end()) it = statements_.insert(sql, std::make_shared<Statement>(engine_->handle(), sql));
    return **it;
}

ResultTable EmbeddedBackend::runSql(const QString& sqliteSql, const QHash<QString, QVariant>& binds) {
    Statement& st = prepared(sqliteSql);
    QHash<QString, QVariant> lower;
    for (auto it = binds.begin(); it != binds.end(); ++it) lower.insert(it.key().toLower(), it.value());
    for (int i = 1; i <= st.parameterCount(); ++i) st.bind(i, lower.value(st.parameterName(i).mid(1).toLower()));
    return st.run();
}

QString EmbeddedBackend::executeWithOutput(const QString& procedure, const QString& parameter, int maxLength,
                                           QList<ErrorEntry>& messages) {
    Q_UNUSED(parameter);
    engine();
    applyFaults(procedure, messages);
    SinkScope sink(*engine_, &messages);
    Call call;
    if (!parseCall(tokenize(procedure), &call) || !call.args.isEmpty())
        throw Failure(mss::db::errnum::SyntaxError, kSource, QStringLiteral("Incorrect syntax near '%1'.").arg(procedure));
    const ResultTable r = callProcedure(call);
    if (r.rows.isEmpty() || r.rows.first().isEmpty() || !r.rows.first().first().isValid()) return QString();
    const QString v = r.rows.first().first().toString();
    return maxLength > 0 ? v.left(maxLength) : v;
}

// A transaction takes the file's write lock at once, waiting (busy timeout) for another
// workstation's writer: begun deferred, a write after a read fails when another wrote between.
void EmbeddedBackend::beginTransaction() {
    if (engine().inTransaction())
        throw Failure(mss::db::errnum::TransactionOpen, kSource, QStringLiteral("Only one transaction can be active on this session."));
    engine_->runScript(QStringLiteral("BEGIN IMMEDIATE"));
}

void EmbeddedBackend::commitTransaction() {
    if (!engine().inTransaction())
        throw Failure(mss::db::errnum::NoTransaction, kSource, QStringLiteral("No transaction is active."));
    engine_->runScript(QStringLiteral("COMMIT"));
}

void EmbeddedBackend::rollbackTransaction() {
    if (!engine().inTransaction())
        throw Failure(mss::db::errnum::NoTransaction, kSource, QStringLiteral("No transaction is active."));
    engine_->runScript(QStringLiteral("ROLLBACK"));
}

// ---------------------------------------------------------------------------------------

Engine& ProcedureContext::engine() { return backend_.engine(); }

ResultTable ProcedureContext::query(const QString& sql, const QHash<QString, QVariant>& binds) {
    return backend_.runSql(sql, binds);
}

ResultTable ProcedureContext::execute(const QString& tsql) {
    const Tokens t = tokenize(tsql);
    Call call;
    if (parseCall(t, &call)) return backend_.callProcedure(call);
    const Translation tr = translateStatement(
        t, {[this](const QString& n) { return engine().hasTable(n); },
            [this](const QString& n, const QString& c) { return engine().columnType(n, c); },
            [this](const QString& n) { return engine().columns(n); }},
        backend_.defaultDatabase());
    Statement st(engine().handle(), tr.sql);
    st.setKinds(tr.kinds);
    for (int i = 0; i < t.literals.size() && i < st.parameterCount(); ++i) st.bind(i + 1, t.literals[i]);
    return st.run();
}

void ProcedureContext::warning(long number, const QString& text) { engine().addMessage({number, kSource, text}); }

void ProcedureContext::fail(long number, const QString& text) { throw Failure(number, kSource, text); }

QString ProcedureContext::user() const { return backend_.engine().user(); }

QString ProcedureContext::defaultDatabase() const { return backend_.defaultDatabase(); }

}  // namespace hospitaldb
