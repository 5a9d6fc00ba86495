#include "shell/db/odbc/odbcbackend.h"

#ifdef _WIN32
#include <windows.h>
#endif
#include <sql.h>
#include <sqlext.h>

#include <QDateTime>
#include <algorithm>
#include <string>
#include <vector>

namespace mss::db {

namespace {

static_assert(sizeof(SQLWCHAR) == sizeof(char16_t), "UTF-16 SQLWCHAR expected");

// E_FAIL, as ADO reports failures whose driver gives no native number.
constexpr long kGenericFailure = -2147467259;
// Long values are read in pieces of this many bytes.
constexpr SQLLEN kChunkBytes = 16 * 1024;

struct Diagnostic {
    QString state;
    long native = 0;
    QString text;
};

bool succeeded(SQLRETURN rc) { return rc == SQL_SUCCESS || rc == SQL_SUCCESS_WITH_INFO; }

std::u16string wide(const QString& s) { return s.toStdU16String(); }
SQLWCHAR* wptr(std::u16string& s) { return reinterpret_cast<SQLWCHAR*>(s.data()); }
SQLCHAR* nptr(QByteArray& s) { return reinterpret_cast<SQLCHAR*>(s.data()); }
QString fromWide(const SQLWCHAR* p, qsizetype n) {
    return QString::fromUtf16(reinterpret_cast<const char16_t*>(p), n);
}

// Connect-time chatter of SQL Server: "changed database context", "changed language setting".
bool isContextChange(const Diagnostic& d) {
    return d.state == u"01000" && (d.native == 5701 || d.native == 5703);
}

class OdbcBackend final : public Backend {
public:
    explicit OdbcBackend(const QString& connectionString);
    ~OdbcBackend() override;

    ResultTable execute(const QString& sql, QList<ErrorEntry>& messages) override;
    QString executeWithOutput(const QString& procedure, const QString& parameter, int maxLength,
                              QList<ErrorEntry>& messages) override;
    void beginTransaction() override;
    void commitTransaction() override;
    void rollbackTransaction() override;
    void setDefaultDatabase(const QString& name) override;
    QString defaultDatabase() const override { return defaultDatabase_; }
    void close() override;

private:
    // Frees the statement however the call ends.
    class Statement {
    public:
        explicit Statement(OdbcBackend& b);
        ~Statement() { SQLFreeHandle(SQL_HANDLE_STMT, h_); }
        Statement(const Statement&) = delete;
        Statement& operator=(const Statement&) = delete;
        SQLHSTMT handle() const { return h_; }
    private:
        SQLHSTMT h_ = SQL_NULL_HSTMT;
    };

    QList<Diagnostic> diagnostics(SQLSMALLINT type, SQLHANDLE h) const;
    QString source(const QString& state) const;
    [[noreturn]] void fail(SQLSMALLINT type, SQLHANDLE h, long fallbackNumber, const QString& what) const;
    // Throws on SQL_ERROR; turns informational diagnostics into messages.
    void check(SQLRETURN rc, SQLSMALLINT type, SQLHANDLE h, QList<ErrorEntry>* messages,
               const QString& what) const;
    void collectInfo(SQLSMALLINT type, SQLHANDLE h, QList<ErrorEntry>* messages) const;
    void requireOpen() const;

    SQLRETURN execDirect(SQLHSTMT st, const QString& sql);
    QString infoText(SQLUSMALLINT what) const;
    QString currentCatalog() const;
    bool wideCallsAreLossless();

    void readResults(SQLHSTMT st, SQLRETURN execRc, ResultTable& out, QList<ErrorEntry>& messages);
    void readRows(SQLHSTMT st, SQLSMALLINT columnCount, ResultTable& out, QList<ErrorEntry>& messages);
    QVariant readValue(SQLHSTMT st, SQLUSMALLINT column, SQLSMALLINT sqlType, QList<ErrorEntry>& messages);
    bool readPieces(SQLHSTMT st, SQLUSMALLINT column, SQLSMALLINT cType, int terminatorBytes,
                    QByteArray& bytes, QList<ErrorEntry>& messages);
    void setAutocommit(bool on);
    void endTransaction(SQLSMALLINT how);

    SQLHENV env_ = SQL_NULL_HENV;
    SQLHDBC dbc_ = SQL_NULL_HDBC;
    bool connected_ = false;
    bool wide_ = true;           // UTF-16 calls; else UTF-8 narrow calls
    bool inTransaction_ = false;
    QString dbms_;
    QString defaultDatabase_;
};

OdbcBackend::Statement::Statement(OdbcBackend& b) {
    b.requireOpen();
    SQLRETURN rc = SQLAllocHandle(SQL_HANDLE_STMT, b.dbc_, &h_);
    if (!succeeded(rc)) {
        h_ = SQL_NULL_HSTMT;
        b.fail(SQL_HANDLE_DBC, b.dbc_, kGenericFailure, QStringLiteral("Cannot allocate a statement."));
    }
}

OdbcBackend::OdbcBackend(const QString& connectionString) {
    if (!succeeded(SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &env_))) {
        env_ = SQL_NULL_HENV;
        throw Failure(errnum::ConnectionFailed, QStringLiteral("ODBC"),
                      QStringLiteral("The ODBC driver manager cannot be initialised."));
    }
    SQLSetEnvAttr(env_, SQL_ATTR_ODBC_VERSION, reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0);
    if (!succeeded(SQLAllocHandle(SQL_HANDLE_DBC, env_, &dbc_))) {
        dbc_ = SQL_NULL_HDBC;
        SQLFreeHandle(SQL_HANDLE_ENV, env_);
        env_ = SQL_NULL_HENV;
        throw Failure(errnum::ConnectionFailed, QStringLiteral("ODBC"),
                      QStringLiteral("The ODBC driver manager cannot allocate a connection."));
    }
    std::u16string cs = wide(connectionString);
    SQLRETURN rc = SQLDriverConnectW(dbc_, nullptr, wptr(cs), SQLSMALLINT(cs.size()), nullptr, 0,
                                     nullptr, SQL_DRIVER_NOPROMPT);
    if (!succeeded(rc)) {
        QList<Diagnostic> d = diagnostics(SQL_HANDLE_DBC, dbc_);
        SQLFreeHandle(SQL_HANDLE_DBC, dbc_);
        SQLFreeHandle(SQL_HANDLE_ENV, env_);
        dbc_ = SQL_NULL_HDBC;
        env_ = SQL_NULL_HENV;
        if (d.isEmpty())
            throw Failure(errnum::ConnectionFailed, QStringLiteral("ODBC"),
                          QStringLiteral("The connection cannot be opened."));
        const Diagnostic& first = d.front();
        throw Failure(first.native != 0 ? first.native : errnum::ConnectionFailed,
                      QStringLiteral("ODBC/") + first.state, first.text);
    }
    // Informational diagnostics of the log-in have no caller to go to; the next statement
    // starts a fresh error list anyway.
    connected_ = true;
    wide_ = wideCallsAreLossless();
    dbms_ = infoText(SQL_DBMS_NAME);
    defaultDatabase_ = currentCatalog();
}

OdbcBackend::~OdbcBackend() {
    try {
        close();
    } catch (...) {
        // Nobody to tell at destruction; the handles are released regardless.
    }
}

// A driver without UTF-16 entry points gets text converted by the driver manager into a
// legacy code page, losing characters; such drivers are spoken to in UTF-8 instead.
bool OdbcBackend::wideCallsAreLossless() {
    const QString probe = QStringLiteral("SELECT '\u00f1\u00e9\u4e2d'");
    std::u16string in = wide(probe);
    std::vector<SQLWCHAR> out(256, 0);
    SQLINTEGER len = 0;
    SQLRETURN rc = SQLNativeSqlW(dbc_, wptr(in), SQLINTEGER(in.size()), out.data(),
                                 SQLINTEGER(out.size()), &len);
    if (!succeeded(rc)) return true;  // cannot tell: trust the Unicode interface
    if (len < 0 || len >= SQLINTEGER(out.size())) return true;
    return fromWide(out.data(), len) == probe;
}

QString OdbcBackend::infoText(SQLUSMALLINT what) const {
    if (wide_) {
        std::vector<SQLWCHAR> buf(256, 0);
        SQLSMALLINT bytes = 0;
        if (!succeeded(SQLGetInfoW(dbc_, what, buf.data(), SQLSMALLINT(buf.size() * sizeof(SQLWCHAR)), &bytes)))
            return QString();
        return fromWide(buf.data(), qsizetype(std::min<size_t>(bytes / sizeof(SQLWCHAR), buf.size() - 1)));
    }
    QByteArray buf(512, '\0');
    SQLSMALLINT bytes = 0;
    if (!succeeded(SQLGetInfo(dbc_, what, buf.data(), SQLSMALLINT(buf.size()), &bytes))) return QString();
    return QString::fromUtf8(buf.constData(), std::min<qsizetype>(bytes, buf.size() - 1));
}

QString OdbcBackend::currentCatalog() const {
    SQLINTEGER bytes = 0;
    if (wide_) {
        std::vector<SQLWCHAR> buf(512, 0);
        if (!succeeded(SQLGetConnectAttrW(dbc_, SQL_ATTR_CURRENT_CATALOG, buf.data(),
                                          SQLINTEGER(buf.size() * sizeof(SQLWCHAR)), &bytes)))
            return QString();
        return fromWide(buf.data(), qsizetype(std::min<size_t>(size_t(std::max(bytes, 0)) / sizeof(SQLWCHAR),
                                                                buf.size() - 1)));
    }
    QByteArray buf(1024, '\0');
    if (!succeeded(SQLGetConnectAttr(dbc_, SQL_ATTR_CURRENT_CATALOG, buf.data(), SQLINTEGER(buf.size()), &bytes)))
        return QString();
    return QString::fromUtf8(buf.constData(), std::clamp<qsizetype>(bytes, 0, buf.size() - 1));
}

QList<Diagnostic> OdbcBackend::diagnostics(SQLSMALLINT type, SQLHANDLE h) const {
    QList<Diagnostic> out;
    for (SQLSMALLINT i = 1;; ++i) {
        Diagnostic d;
        SQLINTEGER native = 0;
        SQLSMALLINT len = 0;
        SQLRETURN rc;
        if (wide_) {
            SQLWCHAR state[6] = {};
            std::vector<SQLWCHAR> text(1024, 0);
            rc = SQLGetDiagRecW(type, h, i, state, &native, text.data(), SQLSMALLINT(text.size()), &len);
            if (rc == SQL_SUCCESS_WITH_INFO && len >= SQLSMALLINT(text.size())) {
                text.assign(size_t(len) + 1, 0);
                rc = SQLGetDiagRecW(type, h, i, state, &native, text.data(), SQLSMALLINT(text.size()), &len);
            }
            if (!succeeded(rc)) break;
            d.state = fromWide(state, 5);
            d.text = fromWide(text.data(), std::clamp<qsizetype>(len, 0, qsizetype(text.size()) - 1));
        } else {
            SQLCHAR state[6] = {};
            QByteArray text(2048, '\0');
            rc = SQLGetDiagRec(type, h, i, state, &native, nptr(text), SQLSMALLINT(text.size()), &len);
            if (rc == SQL_SUCCESS_WITH_INFO && len >= text.size()) {
                text = QByteArray(len + 1, '\0');
                rc = SQLGetDiagRec(type, h, i, state, &native, nptr(text), SQLSMALLINT(text.size()), &len);
            }
            if (!succeeded(rc)) break;
            d.state = QString::fromLatin1(reinterpret_cast<const char*>(state), 5);
            d.text = QString::fromUtf8(text.constData(), std::clamp<qsizetype>(len, 0, text.size() - 1));
        }
        d.native = native;
        out << d;
    }
    return out;
}

QString OdbcBackend::source(const QString& state) const {
    return (dbms_.isEmpty() ? QStringLiteral("ODBC") : dbms_) + u'/' + state;
}

void OdbcBackend::fail(SQLSMALLINT type, SQLHANDLE h, long fallbackNumber, const QString& what) const {
    const QList<Diagnostic> all = diagnostics(type, h);
    // The first error counts; warnings recorded before it are not the failure.
    for (const Diagnostic& d : all) {
        if (d.state.startsWith(u"01")) continue;
        throw Failure(d.native != 0 ? d.native : fallbackNumber, source(d.state), d.text);
    }
    if (!all.isEmpty()) {
        const Diagnostic& d = all.front();
        throw Failure(d.native != 0 ? d.native : fallbackNumber, source(d.state), d.text);
    }
    throw Failure(fallbackNumber, source(QStringLiteral("HY000")), what);
}

void OdbcBackend::collectInfo(SQLSMALLINT type, SQLHANDLE h, QList<ErrorEntry>* messages) const {
    if (!messages) return;
    for (const Diagnostic& d : diagnostics(type, h)) {
        if (isContextChange(d)) continue;
        messages->append(ErrorEntry{d.native, source(d.state), d.text});
    }
}

void OdbcBackend::check(SQLRETURN rc, SQLSMALLINT type, SQLHANDLE h, QList<ErrorEntry>* messages,
                        const QString& what) const {
    if (rc == SQL_SUCCESS || rc == SQL_NO_DATA) return;
    if (rc == SQL_SUCCESS_WITH_INFO) {
        collectInfo(type, h, messages);
        return;
    }
    if (rc == SQL_INVALID_HANDLE)
        throw Failure(kGenericFailure, source(QStringLiteral("HY000")), what + QStringLiteral(" (invalid handle)"));
    fail(type, h, kGenericFailure, what);
}

void OdbcBackend::requireOpen() const {
    if (!connected_)
        throw Failure(errnum::ObjectClosed, QStringLiteral("ODBC"),
                      QStringLiteral("Operation is not allowed when the object is closed."));
}

SQLRETURN OdbcBackend::execDirect(SQLHSTMT st, const QString& sql) {
    if (wide_) {
        std::u16string text = wide(sql);
        return SQLExecDirectW(st, wptr(text), SQLINTEGER(text.size()));
    }
    QByteArray text = sql.toUtf8();
    return SQLExecDirect(st, nptr(text), SQLINTEGER(text.size()));
}

bool OdbcBackend::readPieces(SQLHSTMT st, SQLUSMALLINT column, SQLSMALLINT cType, int terminatorBytes,
                             QByteArray& bytes, QList<ErrorEntry>& messages) {
    QByteArray chunk(kChunkBytes, '\0');
    for (;;) {
        SQLLEN ind = 0;
        SQLRETURN rc = SQLGetData(st, column, cType, chunk.data(), chunk.size(), &ind);
        if (rc == SQL_NO_DATA) return true;  // the previous piece was the last
        if (rc == SQL_ERROR || rc == SQL_INVALID_HANDLE)
            check(rc, SQL_HANDLE_STMT, st, &messages, QStringLiteral("Cannot read a column value."));
        if (ind == SQL_NULL_DATA) return false;
        const qsizetype room = chunk.size() - terminatorBytes;
        if (rc == SQL_SUCCESS_WITH_INFO) {
            bool truncated = false;
            for (const Diagnostic& d : diagnostics(SQL_HANDLE_STMT, st)) {
                if (d.state == u"01004") truncated = true;
                else if (!isContextChange(d)) messages.append(ErrorEntry{d.native, source(d.state), d.text});
            }
            if (truncated) {
                bytes.append(chunk.constData(), ind == SQL_NO_TOTAL ? room : std::min<qsizetype>(ind, room));
                continue;
            }
        }
        bytes.append(chunk.constData(), std::clamp<qsizetype>(ind, 0, room));
        return true;
    }
}

QVariant OdbcBackend::readValue(SQLHSTMT st, SQLUSMALLINT column, SQLSMALLINT sqlType,
                                QList<ErrorEntry>& messages) {
    auto fixed = [&](SQLSMALLINT cType, void* target, SQLLEN size) -> bool {
        SQLLEN ind = 0;
        SQLRETURN rc = SQLGetData(st, column, cType, target, size, &ind);
        check(rc, SQL_HANDLE_STMT, st, &messages, QStringLiteral("Cannot read a column value."));
        return ind != SQL_NULL_DATA;
    };
    switch (sqlType) {
    case SQL_BIT: {
        unsigned char v = 0;
        return fixed(SQL_C_BIT, &v, sizeof v) ? QVariant(v != 0) : QVariant();
    }
    case SQL_TINYINT:
    case SQL_SMALLINT:
    case SQL_INTEGER:
    case SQL_BIGINT: {
        SQLBIGINT v = 0;
        return fixed(SQL_C_SBIGINT, &v, sizeof v) ? QVariant(qlonglong(v)) : QVariant();
    }
    case SQL_REAL:
    case SQL_FLOAT:
    case SQL_DOUBLE:
    case SQL_DECIMAL:
    case SQL_NUMERIC: {
        double v = 0;
        return fixed(SQL_C_DOUBLE, &v, sizeof v) ? QVariant(v) : QVariant();
    }
    case SQL_TYPE_DATE:
    case SQL_TYPE_TIMESTAMP:
    case SQL_DATE:
    case SQL_TIMESTAMP: {
        SQL_TIMESTAMP_STRUCT ts{};
        if (!fixed(SQL_C_TYPE_TIMESTAMP, &ts, sizeof ts)) return QVariant();
        return QDateTime(QDate(ts.year, ts.month, ts.day),
                         QTime(ts.hour, ts.minute, ts.second, int(ts.fraction / 1000000)));
    }
    case SQL_BINARY:
    case SQL_VARBINARY:
    case SQL_LONGVARBINARY: {
        QByteArray bytes;
        return readPieces(st, column, SQL_C_BINARY, 0, bytes, messages) ? QVariant(bytes) : QVariant();
    }
    default: {
        QByteArray bytes;
        QString text;
        if (wide_) {
            if (!readPieces(st, column, SQL_C_WCHAR, sizeof(SQLWCHAR), bytes, messages)) return QVariant();
            text = fromWide(reinterpret_cast<const SQLWCHAR*>(bytes.constData()), bytes.size() / 2);
        } else {
            if (!readPieces(st, column, SQL_C_CHAR, 1, bytes, messages)) return QVariant();
            text = QString::fromUtf8(bytes);
        }
        // The empty text must stay distinguishable from null.
        if (text.isNull()) text = QStringLiteral("");
        return text;
    }
    }
}

void OdbcBackend::readRows(SQLHSTMT st, SQLSMALLINT columnCount, ResultTable& out,
                           QList<ErrorEntry>& messages) {
    QVector<SQLSMALLINT> types(columnCount);
    for (SQLUSMALLINT c = 1; c <= SQLUSMALLINT(columnCount); ++c) {
        SQLSMALLINT nameLen = 0, type = 0, digits = 0, nullable = 0;
        SQLULEN size = 0;
        QString name;
        SQLRETURN rc;
        if (wide_) {
            std::vector<SQLWCHAR> buf(256, 0);
            rc = SQLDescribeColW(st, c, buf.data(), SQLSMALLINT(buf.size()), &nameLen, &type, &size, &digits, &nullable);
            if (succeeded(rc) && nameLen >= SQLSMALLINT(buf.size())) {
                buf.assign(size_t(nameLen) + 1, 0);
                rc = SQLDescribeColW(st, c, buf.data(), SQLSMALLINT(buf.size()), &nameLen, &type, &size, &digits, &nullable);
            }
            if (succeeded(rc)) name = fromWide(buf.data(), std::clamp<qsizetype>(nameLen, 0, qsizetype(buf.size()) - 1));
        } else {
            QByteArray buf(512, '\0');
            rc = SQLDescribeCol(st, c, nptr(buf), SQLSMALLINT(buf.size()), &nameLen, &type, &size, &digits, &nullable);
            if (succeeded(rc) && nameLen >= buf.size()) {
                buf = QByteArray(nameLen + 1, '\0');
                rc = SQLDescribeCol(st, c, nptr(buf), SQLSMALLINT(buf.size()), &nameLen, &type, &size, &digits, &nullable);
            }
            if (succeeded(rc)) name = QString::fromUtf8(buf.constData(), std::clamp<qsizetype>(nameLen, 0, buf.size() - 1));
        }
        check(rc, SQL_HANDLE_STMT, st, nullptr, QStringLiteral("Cannot describe a column."));
        out.columns << name;
        types[c - 1] = type;
    }
    for (;;) {
        SQLRETURN rc = SQLFetch(st);
        if (rc == SQL_NO_DATA) break;
        check(rc, SQL_HANDLE_STMT, st, &messages, QStringLiteral("Cannot fetch a row."));
        QVector<QVariant> row;
        row.reserve(columnCount);
        for (SQLUSMALLINT c = 1; c <= SQLUSMALLINT(columnCount); ++c)
            row << readValue(st, c, types[c - 1], messages);
        out.rows << row;
    }
}

// Like ADO under SET NOCOUNT ON, the row counts a procedure produces before its first row set
// are skipped, so the caller sees the rows; later row sets are drained unread. Errors raised
// anywhere in the batch fail the call rather than being lost with the skipped results.
void OdbcBackend::readResults(SQLHSTMT st, SQLRETURN execRc, ResultTable& out, QList<ErrorEntry>& messages) {
    check(execRc, SQL_HANDLE_STMT, st, &messages, QStringLiteral("The statement failed."));
    SQLRETURN rc = execRc;
    for (;;) {
        if (rc == SQL_NO_DATA) {
            // A searched write that matched nothing.
            if (out.rowsAffected < 0) out.rowsAffected = 0;
        } else {
            SQLSMALLINT columns = 0;
            check(SQLNumResultCols(st, &columns), SQL_HANDLE_STMT, st, &messages,
                  QStringLiteral("Cannot read the result."));
            if (columns > 0 && !out.hasResult) {
                out.hasResult = true;
                readRows(st, columns, out, messages);
            } else if (columns == 0) {
                SQLLEN count = -1;
                if (succeeded(SQLRowCount(st, &count)) && count >= 0)
                    out.rowsAffected = (out.rowsAffected < 0 ? 0 : out.rowsAffected) + count;
            }
        }
        rc = SQLMoreResults(st);
        if (rc == SQL_NO_DATA) break;
        check(rc, SQL_HANDLE_STMT, st, &messages, QStringLiteral("The statement failed."));
    }
}

ResultTable OdbcBackend::execute(const QString& sql, QList<ErrorEntry>& messages) {
    Statement st(*this);
    ResultTable out;
    readResults(st.handle(), execDirect(st.handle(), sql), out, messages);
    return out;
}

QString OdbcBackend::executeWithOutput(const QString& procedure, const QString& parameter, int maxLength,
                                       QList<ErrorEntry>& messages) {
    // The parameter is bound by position: the procedures called this way take exactly one.
    Q_UNUSED(parameter);
    if (maxLength <= 0)
        throw Failure(3708, QStringLiteral("ODBC"),
                      QStringLiteral("Parameter object is improperly defined. "
                                     "Inconsistent or incomplete information was provided."));
    Statement st(*this);
    const QString call = QStringLiteral("{call ") + procedure + QStringLiteral("(?)}");
    SQLLEN ind = 0;
    std::vector<SQLWCHAR> wbuf;
    QByteArray nbuf;
    SQLRETURN rc;
    if (wide_) {
        wbuf.assign(size_t(maxLength) + 1, 0);
        rc = SQLBindParameter(st.handle(), 1, SQL_PARAM_OUTPUT, SQL_C_WCHAR, SQL_VARCHAR, SQLULEN(maxLength), 0,
                              wbuf.data(), SQLLEN(wbuf.size() * sizeof(SQLWCHAR)), &ind);
    } else {
        // Room for every character in its longest UTF-8 form.
        nbuf = QByteArray(maxLength * 4 + 1, '\0');
        rc = SQLBindParameter(st.handle(), 1, SQL_PARAM_OUTPUT, SQL_C_CHAR, SQL_VARCHAR, SQLULEN(maxLength), 0,
                              nbuf.data(), SQLLEN(nbuf.size()), &ind);
    }
    check(rc, SQL_HANDLE_STMT, st.handle(), &messages, QStringLiteral("Cannot bind the output parameter."));
    ResultTable ignored;
    // Output values arrive after the last result, so everything is drained first.
    readResults(st.handle(), execDirect(st.handle(), call), ignored, messages);
    if (ind == SQL_NULL_DATA) return QString();
    if (wide_) {
        const qsizetype units = ind == SQL_NO_TOTAL ? qsizetype(wbuf.size() - 1)
                                                    : std::clamp<qsizetype>(ind / 2, 0, qsizetype(wbuf.size()) - 1);
        QString v = fromWide(wbuf.data(), units);
        return v.isNull() ? QStringLiteral("") : v;
    }
    const qsizetype bytes = ind == SQL_NO_TOTAL ? nbuf.size() - 1 : std::clamp<qsizetype>(ind, 0, nbuf.size() - 1);
    QString v = QString::fromUtf8(nbuf.constData(), bytes);
    return v.isNull() ? QStringLiteral("") : v;
}

void OdbcBackend::setAutocommit(bool on) {
    SQLRETURN rc = SQLSetConnectAttr(dbc_, SQL_ATTR_AUTOCOMMIT,
                                     reinterpret_cast<SQLPOINTER>(on ? SQL_AUTOCOMMIT_ON : SQL_AUTOCOMMIT_OFF),
                                     SQL_IS_UINTEGER);
    check(rc, SQL_HANDLE_DBC, dbc_, nullptr, QStringLiteral("Cannot change the commit mode."));
}

void OdbcBackend::beginTransaction() {
    requireOpen();
    setAutocommit(false);
    inTransaction_ = true;
}

// On failure the transaction stays open and manual-commit stays on: switching autocommit
// back on would commit the work, which must not happen to a failed rollback.
void OdbcBackend::endTransaction(SQLSMALLINT how) {
    requireOpen();
    SQLRETURN rc = SQLEndTran(SQL_HANDLE_DBC, dbc_, how);
    check(rc, SQL_HANDLE_DBC, dbc_, nullptr,
          how == SQL_COMMIT ? QStringLiteral("The commit failed.") : QStringLiteral("The rollback failed."));
    inTransaction_ = false;
    setAutocommit(true);
}

void OdbcBackend::commitTransaction() { endTransaction(SQL_COMMIT); }
void OdbcBackend::rollbackTransaction() { endTransaction(SQL_ROLLBACK); }

void OdbcBackend::setDefaultDatabase(const QString& name) {
    requireOpen();
    SQLRETURN rc;
    if (wide_) {
        std::u16string n = wide(name);
        rc = SQLSetConnectAttrW(dbc_, SQL_ATTR_CURRENT_CATALOG, wptr(n),
                                SQLINTEGER(n.size() * sizeof(SQLWCHAR)));
    } else {
        QByteArray n = name.toUtf8();
        rc = SQLSetConnectAttr(dbc_, SQL_ATTR_CURRENT_CATALOG, n.data(), SQLINTEGER(n.size()));
    }
    if (rc == SQL_ERROR) {
        const QList<Diagnostic> d = diagnostics(SQL_HANDLE_DBC, dbc_);
        // Drivers without catalogs say so with these states; anything else (an unknown
        // database, no permission) is a real failure.
        const bool unsupported = std::any_of(d.begin(), d.end(), [](const Diagnostic& x) {
            return x.state == u"HYC00" || x.state == u"HY092" || x.state == u"IM001" || x.state == u"HY024";
        });
        if (!unsupported) {
            for (const Diagnostic& x : d)
                if (!x.state.startsWith(u"01"))
                    throw Failure(x.native != 0 ? x.native : kGenericFailure, source(x.state), x.text);
            throw Failure(kGenericFailure, source(QStringLiteral("HY000")),
                          QStringLiteral("Cannot change the default database."));
        }
    } else if (rc == SQL_INVALID_HANDLE) {
        throw Failure(kGenericFailure, source(QStringLiteral("HY000")),
                      QStringLiteral("Cannot change the default database (invalid handle)."));
    }
    defaultDatabase_ = name;
}

void OdbcBackend::close() {
    if (dbc_ != SQL_NULL_HDBC) {
        if (connected_) {
            // Disconnecting inside a transaction is refused; unfinished work is abandoned.
            if (inTransaction_) SQLEndTran(SQL_HANDLE_DBC, dbc_, SQL_ROLLBACK);
            SQLDisconnect(dbc_);
        }
        SQLFreeHandle(SQL_HANDLE_DBC, dbc_);
        dbc_ = SQL_NULL_HDBC;
    }
    if (env_ != SQL_NULL_HENV) {
        SQLFreeHandle(SQL_HANDLE_ENV, env_);
        env_ = SQL_NULL_HENV;
    }
    connected_ = false;
    inTransaction_ = false;
}

}  // namespace

std::unique_ptr<Backend> openOdbc(const QString& connectionString) {
    return std::make_unique<OdbcBackend>(connectionString);
}

}  // namespace mss::db
