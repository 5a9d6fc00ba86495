#include "shell/db/connection.h"
#include <QHash>
#include <algorithm>

namespace mss::db {

namespace {
const QString kProviderKey = QStringLiteral("Provider");
const QString kEmbeddedProvider = QStringLiteral("HospitalDB");
const QString kSource = QStringLiteral("Connection");

// Filled at start-up (and by the test support); keyed by the lower-cased provider name.
QHash<QString, BackendFactory>& registry() {
    static QHash<QString, BackendFactory> factories;
    return factories;
}
}  // namespace

void RegisterBackend(const QString& provider, BackendFactory factory) {
    registry().insert(provider.toLower(), std::move(factory));
}

bool IsBackendRegistered(const QString& provider) { return registry().contains(provider.toLower()); }

QList<ConnectionStringPart> connectionStringParts(const QString& connectionString) {
    // Values may be wrapped in braces so they can hold ';'.
    QList<ConnectionStringPart> parts;
    qsizetype i = 0;
    const qsizetype n = connectionString.size();
    while (i < n) {
        const qsizetype eq = connectionString.indexOf(u'=', i);
        if (eq < 0) break;
        ConnectionStringPart part{connectionString.mid(i, eq - i).trimmed(), QString(), i, n};
        qsizetype j = eq + 1;
        while (j < n && connectionString.at(j) == u' ') ++j;
        if (j < n && connectionString.at(j) == u'{') {
            const qsizetype close = connectionString.indexOf(u'}', j + 1);
            const qsizetype end = close < 0 ? n : close;
            part.value = connectionString.mid(j + 1, end - j - 1);
            j = connectionString.indexOf(u';', end);
            j = j < 0 ? n : j + 1;
        } else {
            qsizetype semi = connectionString.indexOf(u';', j);
            if (semi < 0) semi = n;
            part.value = connectionString.mid(j, semi - j).trimmed();
            j = std::min(semi + 1, n);
        }
        part.to = j;
        parts.append(part);
        i = j;
    }
    return parts;
}

QString connectionStringValue(const QString& connectionString, const QString& key) {
    for (const ConnectionStringPart& p : connectionStringParts(connectionString))
        if (p.key.compare(key, Qt::CaseInsensitive) == 0) return p.value;
    return QString();
}

QString connectionStringWithoutPassword(const QString& connectionString) {
    QString out = connectionString;
    const QList<ConnectionStringPart> parts = connectionStringParts(connectionString);
    for (auto it = parts.crbegin(); it != parts.crend(); ++it)
        if (it->key.compare(QLatin1String("PWD"), Qt::CaseInsensitive) == 0 ||
            it->key.compare(QLatin1String("Password"), Qt::CaseInsensitive) == 0)
            out.remove(it->from, it->to - it->from);
    while (out.endsWith(u';')) out.chop(1);
    return out;
}

QString embeddedConnectionString(const QString& path) {
    QString p = path;
    if (p.contains(u';') || p.contains(u'}')) p = u'{' + p + u'}';
    else if (p.startsWith(u' ') || p.endsWith(u' ')) p = u'{' + p + u'}';
    return QStringLiteral("Provider=%1;Data Source=%2").arg(kEmbeddedProvider, p);
}

bool isEmbeddedConnectionString(const QString& connectionString) {
    return connectionStringValue(connectionString, kProviderKey)
               .compare(kEmbeddedProvider, Qt::CaseInsensitive) == 0;
}

Connection::Connection() = default;

Connection::~Connection() {
    try {
        Close();
    } catch (...) {
        // A failing close at exit has nobody to report to.
    }
}

void Connection::Open(const QString& connectionString) {
    if (backend_)
        throw Failure(errnum::ObjectOpen, kSource, QStringLiteral("Operation is not allowed when the object is open."));
    errors_.clear();
    const QString provider = connectionStringValue(connectionString, kProviderKey);
    const auto factory = registry().constFind(provider.toLower());
    if (factory == registry().constEnd())
        throw Failure(errnum::ProviderNotFound, kSource,
                      QStringLiteral("Provider cannot be found. It may not be properly installed."));
    OpenWith((*factory)(connectionString), connectionString);
}

void Connection::OpenWith(std::unique_ptr<Backend> backend, const QString& connectionString) {
    backend_ = std::move(backend);
    connectionString_ = connectionString;
    transactionLevel_ = 0;
}

void Connection::Close() {
    if (!backend_) return;
    auto backend = std::move(backend_);
    transactionLevel_ = 0;
    backend->close();
}

Backend& Connection::requireOpen() const {
    if (!backend_)
        throw Failure(errnum::ObjectClosed, kSource,
                      QStringLiteral("Operation is not allowed when the object is closed."));
    return *backend_;
}

QString Connection::DefaultDatabase() const {
    return backend_ ? backend_->defaultDatabase() : QString();
}

void Connection::SetDefaultDatabase(const QString& name) { requireOpen().setDefaultDatabase(name); }

void Connection::logStatement(const QString& text) {
    if (logging_) log_ << text;
}

ResultTable Connection::Execute(const QString& text) {
    Backend& b = requireOpen();
    errors_.clear();
    logStatement(text);
    return b.execute(text, errors_);
}

QString Connection::ExecuteWithOutput(const QString& procedure, const QString& parameter, int maxLength) {
    Backend& b = requireOpen();
    errors_.clear();
    logStatement(procedure);
    return b.executeWithOutput(procedure, parameter, maxLength, errors_);
}

void Connection::BeginTrans() {
    Backend& b = requireOpen();
    if (transactionLevel_ > 0)
        throw Failure(errnum::TransactionOpen, kSource, QStringLiteral("Only one transaction can be active on this session."));
    b.beginTransaction();
    transactionLevel_ = 1;
}

void Connection::CommitTrans() {
    Backend& b = requireOpen();
    if (transactionLevel_ == 0) throw Failure(errnum::NoTransaction, kSource, QStringLiteral("No transaction is active."));
    b.commitTransaction();
    transactionLevel_ = 0;
}

void Connection::RollbackTrans() {
    Backend& b = requireOpen();
    if (transactionLevel_ == 0) throw Failure(errnum::NoTransaction, kSource, QStringLiteral("No transaction is active."));
    transactionLevel_ = 0;
    b.rollbackTransaction();
}

}  // namespace mss::db
