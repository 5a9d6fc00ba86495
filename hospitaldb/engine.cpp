#include "hospitaldb/engine.h"
#include "hospitaldb/tsql/runtime.h"
#include "shell/db/privatefiles.h"

#include <QDateTime>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <sqlite3.h>

namespace hospitaldb {

namespace {
const QString kSource = QStringLiteral("HospitalDB");
// mss_error() and RAISE(ABORT, ...) in triggers carry "MSSERR#number#text".
const QByteArray kErrorMarker = "MSSERR#";

int kindOf(const char* decl) {
    if (!decl) return KindNone;
    const QByteArray d = QByteArray(decl).toUpper();
    if (d.contains("DATE") || d.contains("TIME")) return KindDate;
    if (d.contains("MONEY") || d.contains("DEC") || d.contains("NUMERIC") || d.contains("REAL") ||
        d.contains("FLOA") || d.contains("DOUB"))
        return KindReal;
    if (d.contains("INT") || d.contains("BIT")) return KindInt;
    return KindText;
}

using tsql::resultFailure;
using tsql::resultText;
using tsql::textArg;

const char* const kDateFailure = "Conversion failed when converting date and/or time from character string.";

// Characters compare case-insensitively, trailing blanks ignored, as SQL Server's default.
int tsqlCollate(void*, int n1, const void* p1, int n2, const void* p2) {
    const auto* a = static_cast<const unsigned char*>(p1);
    const auto* b = static_cast<const unsigned char*>(p2);
    while (n1 > 0 && a[n1 - 1] == ' ') --n1;
    while (n2 > 0 && b[n2 - 1] == ' ') --n2;
    bool ascii = true;
    const int n = std::min(n1, n2);
    // Index searches compare keys sharing long prefixes; equal bytes need no folding.
    int i = 0;
    while (i < n && a[i] == b[i]) ++i;
    for (; i < n; ++i) {
        unsigned char x = a[i], y = b[i];
        if ((x | y) & 0x80) { ascii = false; break; }
        if (x >= 'A' && x <= 'Z') x += 32;
        if (y >= 'A' && y <= 'Z') y += 32;
        if (x != y) return x < y ? -1 : 1;
    }
    if (ascii) return n1 == n2 ? 0 : (n1 < n2 ? -1 : 1);
    const QString sa = QString::fromUtf8(reinterpret_cast<const char*>(a), n1);
    const QString sb = QString::fromUtf8(reinterpret_cast<const char*>(b), n2);
    return tsql::collate(sa, sb);
}

// A local QDateTime costs a time-zone lookup each (the C library checks /etc/localtime every
// time); long result sets pay it per date. The offset of a day is looked up once per thread.
// On a day that changes to or from summer time the hours before the change may be an hour off.
QDateTime localDateTime(const QDate& date, const QTime& time) {
    thread_local QHash<qint64, int> offsets;
    const qint64 day = date.toJulianDay();
    auto it = offsets.constFind(day);
    if (it == offsets.constEnd()) it = offsets.insert(day, QDateTime(date, QTime(12, 0)).offsetFromUtc());
    return QDateTime(date, time, Qt::OffsetFromUTC, *it);
}

// 'YYYY-MM-DD' or 'YYYY-MM-DD HH:MM:SS', the forms the database stores; QDateTime::fromString
// with a format costs tens of microseconds, which long result sets pay per date.
bool parseStoredDate(const char* p, int n, QDateTime* out) {
    if (n != 10 && n != 19) return false;
    auto digits = [p](int at, int count) {
        int v = 0;
        for (int i = at; i < at + count; ++i) {
            if (p[i] < '0' || p[i] > '9') return -1;
            v = v * 10 + (p[i] - '0');
        }
        return v;
    };
    if (p[4] != '-' || p[7] != '-') return false;
    const int y = digits(0, 4), mo = digits(5, 2), d = digits(8, 2);
    int h = 0, mi = 0, se = 0;
    if (n == 19) {
        if ((p[10] != ' ' && p[10] != 'T') || p[13] != ':' || p[16] != ':') return false;
        h = digits(11, 2);
        mi = digits(14, 2);
        se = digits(17, 2);
    }
    if (y < 0 || mo < 0 || d < 0 || h < 0 || mi < 0 || se < 0) return false;
    const QDate date(y, mo, d);
    const QTime time(h, mi, se);
    if (!date.isValid() || !time.isValid()) return false;
    *out = localDateTime(date, time);
    return true;
}

Engine* engineOf(sqlite3_context* ctx) { return static_cast<Engine*>(sqlite3_user_data(ctx)); }

QString isoOf(const QDateTime& dt, bool withTime) {
    return dt.toString(withTime ? QStringLiteral("yyyy-MM-dd HH:mm:ss") : QStringLiteral("yyyy-MM-dd"));
}

void fnDate(sqlite3_context* ctx, int, sqlite3_value** argv) {
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL) return sqlite3_result_null(ctx);
    QString iso;
    bool isNull = false;
    if (!parseDateText(textArg(argv[0]), &iso, &isNull)) return resultFailure(ctx, 241, kDateFailure);
    if (isNull) return sqlite3_result_null(ctx);
    resultText(ctx, iso);
}

void fnError(sqlite3_context* ctx, int, sqlite3_value** argv) {
    resultFailure(ctx, sqlite3_value_int64(argv[0]), textArg(argv[1]));
}

void fnWarning(sqlite3_context* ctx, int, sqlite3_value** argv) {
    engineOf(ctx)->addMessage({long(sqlite3_value_int64(argv[0])), kSource, textArg(argv[1])});
    sqlite3_result_null(ctx);
}

void fnNow(sqlite3_context* ctx, int, sqlite3_value**) {
    resultText(ctx, isoOf(QDateTime::currentDateTime(), true));
}

void fnUser(sqlite3_context* ctx, int, sqlite3_value**) { resultText(ctx, engineOf(ctx)->user()); }

QString trimDecl(const QString& s) { return s.trimmed().toUpper(); }

}  // namespace

const QStringList& databaseNames() {
    static const QStringList names{"MSS", "PATIENT_DATA", "BILLING", "BUILD_FILE", "RADIOLOGY"};
    return names;
}

QString canonicalDatabase(const QString& name) {
    const QString up = name.toUpper();
    return databaseNames().contains(up) ? up : QString();
}

const char* const kCollationVersion = "2";

const char* const kDummyDiscountTableSql =
    "CREATE TEMP TABLE IF NOT EXISTS BILLING__tbDummyDiscountTable ("
    " RevenueID TEXT COLLATE TSQL,"
    " Department TEXT COLLATE TSQL,"
    " Description TEXT COLLATE TSQL,"
    " ActualCharges REAL DEFAULT 0,"
    " Medicare REAL DEFAULT 0,"
    " Discount REAL DEFAULT 0,"
    " SeniorCitizen REAL DEFAULT 0,"
    " Remarks TEXT COLLATE TSQL)";

bool parseDateText(const QString& input, QString* iso, bool* isNull) {
    const QString text = input.trimmed();
    *isNull = text.isEmpty();
    if (*isNull) return true;
    tsql::Moment m;
    if (tsql::parseMoment(text, &m) != tsql::ParseResult::Ok || m.date.year() < 1753 || m.date.year() > 9999) return false;
    // Always with the time, as a DATETIME holds it, so '2/29/1980' equals a stored midnight.
    *iso = tsql::storedText(m);
    return true;
}

// ---------------------------------------------------------------------------------------

[[noreturn]] void throwSqliteError(sqlite3* db, int rc, const QString& sql) {
    const QByteArray raw = sqlite3_errmsg(db);
    const int pos = raw.indexOf(kErrorMarker);
    if (pos >= 0) {
        const QByteArray rest = raw.mid(pos + kErrorMarker.size());
        const int hash = rest.indexOf('#');
        throw Failure(rest.left(hash).toLong(), kSource, QString::fromUtf8(rest.mid(hash + 1)));
    }
    const QString msg = QString::fromUtf8(raw);
    static const QRegularExpression noTable(QStringLiteral("^no such table: (?:\\w+\\.)?(.+)$"));
    static const QRegularExpression noColumn(QStringLiteral("^no such column: (.+)$"));
    static const QRegularExpression near(QStringLiteral("near \"(.*)\": syntax error"));
    QRegularExpressionMatch m;
    if ((m = noTable.match(msg)).hasMatch())
        throw Failure(mss::db::errnum::InvalidObject, kSource, QStringLiteral("Invalid object name '%1'.").arg(m.captured(1)));
    if ((m = noColumn.match(msg)).hasMatch())
        throw Failure(207, kSource, QStringLiteral("Invalid column name '%1'.").arg(m.captured(1)));
    if ((m = near.match(msg)).hasMatch())
        throw Failure(mss::db::errnum::SyntaxError, kSource, QStringLiteral("Incorrect syntax near '%1'.").arg(m.captured(1)));
    if (msg.contains(QLatin1String("syntax error")) || msg.contains(QLatin1String("incomplete input")))
        throw Failure(mss::db::errnum::SyntaxError, kSource, QStringLiteral("Incorrect syntax near the end of the statement."));
    static const QRegularExpression noFunction(QStringLiteral("^no such function: (.+)$"));
    static const QRegularExpression ambiguous(QStringLiteral("^ambiguous column name: (?:.*\\.)?(.+)$"));
    if ((m = noFunction.match(msg)).hasMatch())
        throw Failure(195, kSource, QStringLiteral("'%1' is not a recognized built-in function name.").arg(m.captured(1)));
    if ((m = ambiguous.match(msg)).hasMatch())
        throw Failure(209, kSource, QStringLiteral("Ambiguous column name '%1'.").arg(m.captured(1)));
    if (msg.startsWith(QLatin1String("misuse of window function")))
        throw Failure(4108, kSource, QStringLiteral("Windowed functions can only appear in the SELECT or ORDER BY clauses."));
    if (msg.startsWith(QLatin1String("misuse of aggregate")))
        throw Failure(147, kSource, QStringLiteral("An aggregate may not appear in the WHERE clause unless it is in a subquery contained in a "
                                                   "HAVING clause or a select list, and the column being aggregated is an outer reference."));
    // Constraints as the server words them: "constraint failed: DB__table.column".
    static const QRegularExpression where(QStringLiteral("failed: ([A-Z_]+?)__(\\w+)\\.(\\w+)"));
    const QRegularExpressionMatch w = where.match(msg);
    const QString verb = sql.trimmed().section(QLatin1Char(' '), 0, 0).toUpper();
    const QString statement = verb.isEmpty() ? QStringLiteral("INSERT") : verb;
    const QString table = w.hasMatch() ? QStringLiteral("%1.dbo.%2").arg(w.captured(1), w.captured(2)) : QStringLiteral("the table");
    const int ext = sqlite3_extended_errcode(db);
    switch (ext) {
    case SQLITE_CONSTRAINT_PRIMARYKEY:
    case SQLITE_CONSTRAINT_UNIQUE:
        throw Failure(2627, kSource, QStringLiteral("Violation of %1 constraint. Cannot insert duplicate key in object '%2'.")
                                         .arg(ext == SQLITE_CONSTRAINT_PRIMARYKEY ? QStringLiteral("PRIMARY KEY") : QStringLiteral("UNIQUE KEY"), table));
    case SQLITE_CONSTRAINT_NOTNULL:
        throw Failure(515, kSource, QStringLiteral("Cannot insert the value NULL into column '%1', table '%2'; column does not allow nulls. %3 fails.")
                                        .arg(w.hasMatch() ? w.captured(3) : QString(), table, statement));
    case SQLITE_CONSTRAINT_FOREIGNKEY:
        throw Failure(547, kSource, QStringLiteral("The %1 statement conflicted with a FOREIGN KEY constraint.").arg(statement));
    case SQLITE_CONSTRAINT_CHECK:
        throw Failure(547, kSource, QStringLiteral("The %1 statement conflicted with a CHECK constraint (%2).")
                                        .arg(statement, msg.section(QStringLiteral("failed: "), 1)));
    default: break;
    }
    if ((rc & 0xff) == SQLITE_CONSTRAINT)
        throw Failure(547, kSource, QStringLiteral("The %1 statement conflicted with a constraint.").arg(statement));
    if ((rc & 0xff) == SQLITE_BUSY || (rc & 0xff) == SQLITE_LOCKED)
        throw Failure(1222, kSource, QStringLiteral("Lock request time out period exceeded."));
    throw Failure(90000 + (rc & 0xff), kSource, msg);
}

Statement::Statement(sqlite3* db, const QString& sql) : db_(db), sql_(sql) {
    const QByteArray u = sql.toUtf8();
    const char* tail = nullptr;
    const int rc = sqlite3_prepare_v3(db, u.constData(), int(u.size()), SQLITE_PREPARE_PERSISTENT, &stmt_, &tail);
    if (rc != SQLITE_OK) throwSqliteError(db, rc, sql);
    if (!stmt_) throw Failure(mss::db::errnum::SyntaxError, kSource, QStringLiteral("Empty statement."));
    while (tail && *tail && (*tail == ' ' || *tail == '\n' || *tail == '\r' || *tail == '\t' || *tail == ';')) ++tail;
    if (tail && *tail) {
        sqlite3_finalize(stmt_);
        stmt_ = nullptr;
        throw Failure(mss::db::errnum::SyntaxError, kSource,
                      QStringLiteral("Incorrect syntax near '%1'.").arg(QString::fromUtf8(tail).left(30)));
    }
    columnCount_ = sqlite3_column_count(stmt_);
    signalOnly_ = columnCount_ > 0;
    for (int i = 0; i < columnCount_; ++i) {
        const QString name = QString::fromUtf8(sqlite3_column_name(stmt_, i));
        columns_ << name;
        kinds_ << kindOf(sqlite3_column_decltype(stmt_, i));
        if (!name.startsWith(QLatin1String("mss_error("), Qt::CaseInsensitive) &&
            !name.startsWith(QLatin1String("mss_warning("), Qt::CaseInsensitive))
            signalOnly_ = false;
    }
}

Statement::~Statement() { sqlite3_finalize(stmt_); }

void Statement::setKinds(const QVector<int>& kinds) {
    for (int i = 0; i < kinds.size() && i < kinds_.size(); ++i)
        if (kinds[i] != KindDefault) kinds_[i] = kinds[i];
}

int Statement::parameterCount() const { return sqlite3_bind_parameter_count(stmt_); }

QString Statement::parameterName(int index) const {
    const char* n = sqlite3_bind_parameter_name(stmt_, index);
    return n ? QString::fromUtf8(n) : QString();
}

void Statement::bind(int index, const QVariant& v) {
    int rc = SQLITE_OK;
    if (!v.isValid() || v.isNull()) {
        rc = sqlite3_bind_null(stmt_, index);
    } else {
        switch (v.typeId()) {
        case QMetaType::Int: case QMetaType::LongLong: case QMetaType::UInt: case QMetaType::Bool:
        case QMetaType::Long: case QMetaType::Short:
            rc = sqlite3_bind_int64(stmt_, index, v.toLongLong()); break;
        case QMetaType::Double: case QMetaType::Float:
            rc = sqlite3_bind_double(stmt_, index, v.toDouble()); break;
        case QMetaType::QDateTime:
            rc = sqlite3_bind_text(stmt_, index, isoOf(v.toDateTime(), true).toUtf8().constData(), -1, SQLITE_TRANSIENT); break;
        case QMetaType::QDate:
            rc = sqlite3_bind_text(stmt_, index, v.toDate().toString(QStringLiteral("yyyy-MM-dd")).toUtf8().constData(), -1, SQLITE_TRANSIENT); break;
        case QMetaType::QByteArray: {
            const QByteArray b = v.toByteArray();
            rc = sqlite3_bind_blob(stmt_, index, b.constData(), int(b.size()), SQLITE_TRANSIENT);
            break;
        }
        case QMetaType::QString:
            return bindText(index, *static_cast<const QString*>(v.constData()));  // no copy of the text
        default: {
            const QByteArray u = v.toString().toUtf8();
            rc = sqlite3_bind_text(stmt_, index, u.constData(), int(u.size()), SQLITE_TRANSIENT);
        }
        }
    }
    if (rc != SQLITE_OK) throwSqliteError(db_, rc, sql_);
}

void Statement::bindText(int index, QStringView value) {
    // Literals are short and mostly ASCII: narrowing on the stack spares an allocation.
    const qsizetype n = value.size();
    if (n <= 256) {
        char buf[256];
        const QChar* p = value.constData();
        qsizetype i = 0;
        for (; i < n && p[i].unicode() < 0x80; ++i) buf[i] = char(p[i].unicode());
        if (i == n) {
            const int rc = sqlite3_bind_text(stmt_, index, buf, int(n), SQLITE_TRANSIENT);
            if (rc != SQLITE_OK) throwSqliteError(db_, rc, sql_);
            return;
        }
    }
    const QByteArray u = value.toUtf8();
    const int rc = sqlite3_bind_text(stmt_, index, u.constData(), int(u.size()), SQLITE_TRANSIENT);
    if (rc != SQLITE_OK) throwSqliteError(db_, rc, sql_);
}

ResultTable Statement::run() {
    ResultTable out;
    out.hasResult = columnCount_ > 0 && !signalOnly_;
    if (out.hasResult) out.columns = columns_;
    for (;;) {
        const int rc = sqlite3_step(stmt_);
        if (rc == SQLITE_DONE) break;
        if (rc != SQLITE_ROW) {
            sqlite3_reset(stmt_);
            throwSqliteError(db_, rc, sql_);
        }
        if (!out.hasResult) continue;
        QVector<QVariant> row(columnCount_);
        for (int i = 0; i < columnCount_; ++i) {
            const int kind = kinds_[i];
            switch (sqlite3_column_type(stmt_, i)) {
            case SQLITE_NULL: break;
            case SQLITE_INTEGER:
                if (kind == KindReal) row[i] = sqlite3_column_double(stmt_, i);
                else if (kind == KindText) row[i] = QString::number(sqlite3_column_int64(stmt_, i));
                else row[i] = qlonglong(sqlite3_column_int64(stmt_, i));
                break;
            case SQLITE_FLOAT:
                if (kind == KindText) row[i] = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(stmt_, i)));
                else row[i] = sqlite3_column_double(stmt_, i);
                break;
            case SQLITE_TEXT: {
                const char* raw = reinterpret_cast<const char*>(sqlite3_column_text(stmt_, i));
                const int bytes = sqlite3_column_bytes(stmt_, i);
                if (kind == KindDate) {
                    QDateTime fast;
                    if (parseStoredDate(raw, bytes, &fast)) {
                        row[i] = fast;
                        break;
                    }
                }
                const QString s = QString::fromUtf8(raw, bytes);
                if (kind == KindDate) {
                    QDateTime dt = QDateTime::fromString(s, QStringLiteral("yyyy-MM-dd HH:mm:ss"));
                    if (!dt.isValid()) dt = QDateTime::fromString(s, QStringLiteral("yyyy-MM-dd"));
                    if (!dt.isValid()) dt = QDateTime::fromString(s, Qt::ISODateWithMs);
                    row[i] = dt.isValid() ? QVariant(dt) : QVariant(s);
                } else if (kind == KindReal) {
                    bool ok = false;
                    const double d = s.toDouble(&ok);
                    row[i] = ok ? QVariant(d) : QVariant(s);
                } else {
                    row[i] = s;
                }
                break;
            }
            default:
                row[i] = QByteArray(static_cast<const char*>(sqlite3_column_blob(stmt_, i)), sqlite3_column_bytes(stmt_, i));
            }
        }
        out.rows.append(std::move(row));
    }
    if (!out.hasResult) out.rowsAffected = sqlite3_changes64(db_);
    sqlite3_reset(stmt_);
    return out;
}

// ---------------------------------------------------------------------------------------

Engine::Engine(const QString& path, bool create) : path_(path) {
    if (!create && !QFileInfo::exists(path))
        throw Failure(mss::db::errnum::ConnectionFailed, kSource,
                      QStringLiteral("Cannot open hospital database '%1': the file does not exist.").arg(path));
    // A connection belongs to one thread (the backend's caches are not shared either), so
    // SQLite's per-call locking of the connection only costs time on every column read.
    const int flags = SQLITE_OPEN_READWRITE | (create ? SQLITE_OPEN_CREATE : 0) | SQLITE_OPEN_NOMUTEX;
    const int rc = sqlite3_open_v2(QFile::encodeName(path).constData(), &db_, flags, nullptr);
    if (rc != SQLITE_OK) {
        const QString msg = db_ ? QString::fromUtf8(sqlite3_errmsg(db_)) : QStringLiteral("out of memory");
        sqlite3_close(db_);
        db_ = nullptr;
        throw Failure(mss::db::errnum::ConnectionFailed, kSource,
                      QStringLiteral("Cannot open hospital database '%1': %2").arg(path, msg));
    }
    sqlite3_extended_result_codes(db_, 1);
    sqlite3_busy_timeout(db_, 5000);
    registerFunctions();
    try {
        // WAL with NORMAL sync: a commit does not wait for the disk, a crash loses no committed
        // transaction that the OS has written.
        if (create) runScript(QStringLiteral("PRAGMA journal_mode = WAL;"));
        runScript(QStringLiteral("PRAGMA foreign_keys = ON; PRAGMA synchronous = NORMAL;"));
        // Reads through the OS page cache without a system call and a copy per page: a
        // search touching thousands of scattered rows otherwise spends most of its time in
        // pread. The page cache keeps what repeated searches and procedure calls reread.
        runScript(QStringLiteral("PRAGMA mmap_size = 2147418112; PRAGMA cache_size = -32768;"));
        runScript(QString::fromLatin1(kDummyDiscountTableSql));
    } catch (const Failure& f) {
        sqlite3_close(db_);
        db_ = nullptr;
        throw Failure(mss::db::errnum::ConnectionFailed, kSource,
                      QStringLiteral("Cannot open hospital database '%1': %2").arg(path, f.Description));
    }
}

Engine::~Engine() {
    if (db_) sqlite3_close_v2(db_);
}

void Engine::registerFunctions() {
    struct Fn { const char* name; int argc; void (*f)(sqlite3_context*, int, sqlite3_value**); bool det; };
    static const Fn fns[] = {
        {"mss_date", 1, fnDate, true},       {"mss_error", 2, fnError, false},
        {"mss_warning", 2, fnWarning, false}, {"mss_now", 0, fnNow, false},
        {"mss_user", 0, fnUser, false},
    };
    for (const Fn& f : fns) {
        const int enc = SQLITE_UTF8 | (f.det ? SQLITE_DETERMINISTIC : 0);
        sqlite3_create_function_v2(db_, f.name, f.argc, enc, this, f.f, nullptr, nullptr, nullptr);
    }
    tsql::registerRuntime(db_);
    sqlite3_create_collation_v2(db_, "TSQL", SQLITE_UTF8, nullptr, tsqlCollate, nullptr);
}

void Engine::addMessage(const ErrorEntry& e) {
    if (sink_) sink_->append(e);
}

void Engine::runScript(const QString& sql, const QString& name) {
    const QByteArray u = sql.toUtf8();
    const char* p = u.constData();
    const char* end = p + u.size();
    while (p < end) {
        sqlite3_stmt* st = nullptr;
        const char* tail = nullptr;
        int rc = sqlite3_prepare_v2(db_, p, int(end - p), &st, &tail);
        auto fail = [&](int code) {
            try {
                throwSqliteError(db_, code, sql);
            } catch (const Failure& f) {
                if (name.isEmpty()) throw;
                const int line = int(QByteArray(u.constData(), int(p - u.constData())).count('\n')) + 1;
                throw Failure(f.Number, f.Source, QStringLiteral("%1 (%2, statement at line %3)").arg(f.Description, name).arg(line));
            }
        };
        if (rc != SQLITE_OK) fail(rc);
        if (st) {
            while ((rc = sqlite3_step(st)) == SQLITE_ROW) {}
            if (rc != SQLITE_DONE) {
                sqlite3_finalize(st);
                fail(rc);
            }
            sqlite3_finalize(st);
        }
        p = tail;
    }
    schemaLoaded_ = false;
}

ResultTable Engine::query(const QString& sql, const QVector<QVariant>& binds) {
    Statement st(db_, sql);
    for (int i = 0; i < binds.size() && i < st.parameterCount(); ++i) st.bind(i + 1, binds[i]);
    return st.run();
}

ResultTable Engine::query(const QString& sql, const QHash<QString, QVariant>& named) {
    Statement st(db_, sql);
    QHash<QString, QVariant> lower;
    for (auto it = named.begin(); it != named.end(); ++it) lower.insert(it.key().toLower(), it.value());
    for (int i = 1; i <= st.parameterCount(); ++i) {
        const QString n = st.parameterName(i).mid(1).toLower();
        st.bind(i, lower.value(n));
    }
    return st.run();
}

void Engine::refreshSchema() {
    schema_.clear();
    columnOrder_.clear();
    const ResultTable t = query(QStringLiteral(
        "SELECT name FROM sqlite_master WHERE type IN ('table','view') "
        "UNION SELECT name FROM sqlite_temp_master WHERE type IN ('table','view')"));
    for (const auto& r : t.rows) schema_.insert(r[0].toString().toLower(), {});
    for (auto it = schema_.begin(); it != schema_.end(); ++it) {
        const ResultTable cols = query(QStringLiteral("SELECT name, type FROM pragma_table_info(?)"), {it.key()});
        QStringList& order = columnOrder_[it.key()];
        for (const auto& c : cols.rows) {
            it.value().insert(c[0].toString().toLower(), trimDecl(c[1].toString()));
            order << c[0].toString();
        }
    }
    schemaLoaded_ = true;
}

bool Engine::hasTable(const QString& mangled) {
    if (!schemaLoaded_) refreshSchema();
    if (schema_.contains(mangled.toLower())) return true;
    refreshSchema();  // another connection or a script may have created it since
    return schema_.contains(mangled.toLower());
}

QString Engine::columnType(const QString& mangledTable, const QString& column) {
    if (!schemaLoaded_) refreshSchema();
    const auto it = schema_.constFind(mangledTable.toLower());
    return it == schema_.constEnd() ? QString() : it->value(column.toLower());
}

QStringList Engine::columns(const QString& mangledTable) {
    if (!schemaLoaded_) refreshSchema();
    return columnOrder_.value(mangledTable.toLower());
}

bool Engine::inTransaction() const { return !sqlite3_get_autocommit(db_); }

// ---------------------------------------------------------------------------------------

QString readTextFile(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        throw Failure(mss::db::errnum::ConnectionFailed, kSource, QStringLiteral("Cannot read '%1'.").arg(path));
    return QString::fromUtf8(f.readAll());
}

QStringList resourceScripts(const QString& folder) {
    QDir dir(QStringLiteral(":/hospitaldb/sql/") + folder);
    QStringList out;
    for (const QString& f : dir.entryList({QStringLiteral("*.sql")}, QDir::Files, QDir::Name))
        out << dir.filePath(f);
    return out;
}

void createDatabase(const QString& path, const CreateOptions& options) {
    if (QFileInfo::exists(path))
        throw Failure(mss::db::errnum::ConnectionFailed, kSource, QStringLiteral("'%1' already exists.").arg(path));
    // Patient records: the file is made private before SQLite writes a page into it (SQLite
    // gives its journal and WAL files the same mode); a missing folder is made private too.
    QString why;
    if (!mss::db::makePrivateFolder(QFileInfo(path).absolutePath()))
        throw Failure(mss::db::errnum::ConnectionFailed, kSource,
                      QStringLiteral("Cannot create '%1': its folder cannot be made.").arg(path));
    if (!mss::db::createPrivateFile(path, &why)) {
        if (QFileInfo::exists(path))
            throw Failure(mss::db::errnum::ConnectionFailed, kSource, QStringLiteral("'%1' already exists.").arg(path));
        throw Failure(mss::db::errnum::ConnectionFailed, kSource, QStringLiteral("Cannot create '%1': %2").arg(path, why));
    }
    try {
        Engine e(path, true);
        e.runScript(QStringLiteral("BEGIN"));
        e.runScript(QStringLiteral(
            "CREATE TABLE hospitaldb_info (Name TEXT PRIMARY KEY, Value TEXT);"
            "INSERT INTO hospitaldb_info VALUES ('format', '1');"
            "INSERT INTO hospitaldb_info VALUES ('collation', '%1');").arg(QLatin1String(kCollationVersion)));
        QStringList scripts;
        if (options.builtinSchema) scripts << resourceScripts(QStringLiteral("schema"));
        if (options.referenceData) scripts << resourceScripts(QStringLiteral("reference"));
        scripts << options.extraScripts;
        for (const QString& s : scripts) e.runScript(readTextFile(s), QFileInfo(s).fileName());
        e.runScript(QStringLiteral("COMMIT"));
    } catch (...) {
        QFile::remove(path);
        throw;
    }
}

namespace {
void removeDatabaseFiles(const QString& path) {
    for (const char* suffix : {"", "-wal", "-shm", "-journal"}) QFile::remove(path + QLatin1String(suffix));
}
}  // namespace

void buildInPlaceOf(const QString& path, const std::function<void(const QString& aside)>& build) {
    const QString aside = path + QStringLiteral(".part");
    removeDatabaseFiles(aside);
    try {
        build(aside);
    } catch (...) {
        removeDatabaseFiles(aside);
        throw;
    }
    // A journal left beside the old file would be read into the new one.
    if (QFileInfo::exists(path)) removeDatabaseFiles(path);
    if (!QFile::rename(aside, path)) {
        removeDatabaseFiles(aside);
        throw Failure(mss::db::errnum::FileWrite, kSource,
                      QStringLiteral("%1: the file cannot be written").arg(QDir::toNativeSeparators(path)));
    }
}

}  // namespace hospitaldb
