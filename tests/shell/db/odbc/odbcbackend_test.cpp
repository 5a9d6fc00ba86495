#include "shell/db/odbc/odbcbackend.h"

#ifdef _WIN32
#include <windows.h>
#endif
#include <sql.h>
#include <sqlext.h>

#include <QDateTime>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace mss::db;

namespace {

bool driverRegistered(const char* wanted) {
    SQLHENV env = SQL_NULL_HENV;
    if (!SQL_SUCCEEDED(SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &env))) return false;
    SQLSetEnvAttr(env, SQL_ATTR_ODBC_VERSION, reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0);
    bool found = false;
    SQLCHAR name[256], attrs[1024];
    SQLSMALLINT nameLen = 0, attrsLen = 0;
    SQLUSMALLINT dir = SQL_FETCH_FIRST;
    while (SQL_SUCCEEDED(SQLDrivers(env, dir, name, sizeof name, &nameLen, attrs, sizeof attrs, &attrsLen))) {
        if (qstrcmp(reinterpret_cast<const char*>(name), wanted) == 0) found = true;
        dir = SQL_FETCH_NEXT;
    }
    SQLFreeHandle(SQL_HANDLE_ENV, env);
    return found;
}

class OdbcSqlite : public ::testing::Test {
protected:
    void SetUp() override {
        if (!driverRegistered("SQLite3")) GTEST_SKIP() << "the SQLite3 ODBC driver is not registered in odbcinst";
        ASSERT_TRUE(dir_.isValid());
        db_ = open();
    }

    QString connectionString() const {
        return QStringLiteral("DRIVER=SQLite3;Database=%1").arg(dir_.filePath(QStringLiteral("test.db")));
    }
    std::unique_ptr<Backend> open() const { return openOdbc(connectionString()); }

    ResultTable run(const QString& sql) { return run(*db_, sql); }
    ResultTable run(Backend& b, const QString& sql) {
        messages_.clear();
        return b.execute(sql, messages_);
    }
    qlonglong count(Backend& b, const QString& table) {
        ResultTable r = run(b, QStringLiteral("SELECT count(*) AS n FROM ") + table);
        return r.rows.at(0).at(0).toLongLong();
    }

    QTemporaryDir dir_;
    std::unique_ptr<Backend> db_;
    QList<ErrorEntry> messages_;
};

TEST(OdbcConnect, UnknownDriverFailsWithDiagnostic) {
    try {
        openOdbc(QStringLiteral("DRIVER=NoSuchDriverAnywhere;Database=x"));
        FAIL() << "connected to a driver that does not exist";
    } catch (const Failure& f) {
        // The driver manager gives no native number for this.
        EXPECT_EQ(f.Number, errnum::ConnectionFailed);
        EXPECT_TRUE(f.Source.startsWith(u"ODBC")) << f.Source.toStdString();
        EXPECT_TRUE(f.Description.contains(u"not found", Qt::CaseInsensitive)) << f.Description.toStdString();
    }
}

TEST_F(OdbcSqlite, UnopenableDatabaseFailsWithDriverText) {
    try {
        openOdbc(QStringLiteral("DRIVER=SQLite3;Database=%1/missing-dir/x.db").arg(dir_.path()));
        FAIL() << "opened a database in a directory that does not exist";
    } catch (const Failure& f) {
        EXPECT_NE(f.Number, 0);
        EXPECT_FALSE(f.Description.isEmpty());
    }
}

TEST_F(OdbcSqlite, ValuesComeBackTypedAndNullStaysDistinctFromEmpty) {
    run(QStringLiteral("CREATE TABLE t (id INTEGER PRIMARY KEY, name TEXT, note VARCHAR(20), "
                       "amount REAL, price NUMERIC(10,2), born DATE, seen DATETIME, active BIT, pic BLOB)"));
    ResultTable ins = run(QStringLiteral(
        "INSERT INTO t VALUES (1, 'Cruz', '', 12.5, 99.25, '2021-03-04', '2022-11-30 08:15:42', 1, X'00FF7F')"));
    EXPECT_FALSE(ins.hasResult);
    EXPECT_EQ(ins.rowsAffected, 1);
    run(QStringLiteral("INSERT INTO t (id) VALUES (2)"));

    ResultTable r = run(QStringLiteral("SELECT * FROM t ORDER BY id"));
    ASSERT_TRUE(r.hasResult);
    EXPECT_EQ(r.columns, (QStringList{"id", "name", "note", "amount", "price", "born", "seen", "active", "pic"}));
    ASSERT_EQ(r.rows.size(), 2);
    const QVector<QVariant>& a = r.rows[0];
    EXPECT_EQ(a[0].typeId(), QMetaType::LongLong);
    EXPECT_EQ(a[0].toLongLong(), 1);
    EXPECT_EQ(a[1].toString(), "Cruz");
    EXPECT_EQ(a[2].typeId(), QMetaType::QString);
    EXPECT_FALSE(a[2].toString().isNull()) << "empty text must not read as null";
    EXPECT_TRUE(a[2].toString().isEmpty());
    EXPECT_EQ(a[3].typeId(), QMetaType::Double);
    EXPECT_DOUBLE_EQ(a[3].toDouble(), 12.5);
    EXPECT_DOUBLE_EQ(a[4].toDouble(), 99.25);
    EXPECT_EQ(a[5].typeId(), QMetaType::QDateTime);
    EXPECT_EQ(a[5].toDateTime().date(), QDate(2021, 3, 4));
    EXPECT_EQ(a[6].toDateTime(), QDateTime(QDate(2022, 11, 30), QTime(8, 15, 42)));
    EXPECT_EQ(a[7].typeId(), QMetaType::Bool);
    EXPECT_TRUE(a[7].toBool());
    EXPECT_EQ(a[8].toByteArray(), QByteArray("\x00\xff\x7f", 3));

    const QVector<QVariant>& b = r.rows[1];
    for (int c = 1; c < b.size(); ++c) EXPECT_FALSE(b[c].isValid()) << "column " << c << " should be null";
}

TEST_F(OdbcSqlite, RowCountsAndEmptyResults) {
    run(QStringLiteral("CREATE TABLE t (id INTEGER, v TEXT)"));
    for (int i = 0; i < 3; ++i) run(QStringLiteral("INSERT INTO t VALUES (%1, 'x')").arg(i));

    EXPECT_EQ(run(QStringLiteral("UPDATE t SET v = 'y' WHERE id >= 1")).rowsAffected, 2);
    EXPECT_EQ(run(QStringLiteral("UPDATE t SET v = 'z' WHERE id = 99")).rowsAffected, 0);
    EXPECT_EQ(run(QStringLiteral("DELETE FROM t WHERE id = 0")).rowsAffected, 1);

    ResultTable none = run(QStringLiteral("SELECT id, v FROM t WHERE id = 99"));
    EXPECT_TRUE(none.hasResult) << "an empty row set is still a row set";
    EXPECT_EQ(none.columns, (QStringList{"id", "v"}));
    EXPECT_TRUE(none.rows.isEmpty());
    EXPECT_EQ(count(*db_, "t"), 2);
}

TEST_F(OdbcSqlite, NonAsciiTextRoundTripsInDataNamesAndStatementText) {
    const QString word = QStringLiteral("Ca\u00f1ete \u00e9t\u00e9 \u4e2d\u6587");
    run(QStringLiteral("CREATE TABLE t (name TEXT)"));
    run(QStringLiteral("INSERT INTO t VALUES ('%1')").arg(word));

    ResultTable r = run(QStringLiteral("SELECT name AS \"a\u00f1o\" FROM t WHERE name = '%1'").arg(word));
    ASSERT_EQ(r.rows.size(), 1) << "the WHERE text lost its characters on the way";
    EXPECT_EQ(r.columns, QStringList{QStringLiteral("a\u00f1o")});
    EXPECT_EQ(r.rows[0][0].toString(), word);
    EXPECT_EQ(run(QStringLiteral("SELECT length(name) FROM t")).rows[0][0].toLongLong(), word.size());
}

TEST_F(OdbcSqlite, LongValuesAreReadWhole) {
    // Multi-byte characters at every offset, so piece boundaries fall inside characters too.
    QString text;
    const QString pattern = QStringLiteral("ab\u00e9\u4e2dxyz\u00f1");
    while (text.size() < 100 * 1024) text += pattern + QString::number(text.size());
    QByteArray blob(100 * 1024 + 7, '\0');
    for (int i = 0; i < blob.size(); ++i) blob[i] = char((i * 7 + i / 256) & 0xff);

    run(QStringLiteral("CREATE TABLE t (body TEXT, data BLOB)"));
    run(QStringLiteral("INSERT INTO t VALUES ('%1', X'%2')").arg(text, QString::fromLatin1(blob.toHex())));
    ResultTable r = run(QStringLiteral("SELECT body, data FROM t"));
    ASSERT_EQ(r.rows.size(), 1);
    const QString back = r.rows[0][0].toString();
    EXPECT_EQ(back.size(), text.size());
    EXPECT_TRUE(back == text) << "long text differs";
    EXPECT_TRUE(r.rows[0][1].toByteArray() == blob) << "long binary value differs";
}

TEST_F(OdbcSqlite, CommitKeepsRowsAndRollbackDropsThem) {
    run(QStringLiteral("CREATE TABLE t (id INTEGER)"));

    db_->beginTransaction();
    run(QStringLiteral("INSERT INTO t VALUES (1)"));
    run(QStringLiteral("INSERT INTO t VALUES (2)"));
    db_->rollbackTransaction();
    EXPECT_EQ(count(*db_, "t"), 0);

    db_->beginTransaction();
    run(QStringLiteral("INSERT INTO t VALUES (3)"));
    db_->commitTransaction();

    // Back in autocommit: this row must not wait for a commit.
    run(QStringLiteral("INSERT INTO t VALUES (4)"));
    auto other = open();
    EXPECT_EQ(run(*other, QStringLiteral("SELECT id FROM t ORDER BY id")).rows,
              (QList<QVector<QVariant>>{{qlonglong(3)}, {qlonglong(4)}}));
}

TEST_F(OdbcSqlite, ClosingInsideATransactionAbandonsItsWork) {
    run(QStringLiteral("CREATE TABLE t (id INTEGER)"));
    db_->beginTransaction();
    run(QStringLiteral("INSERT INTO t VALUES (1)"));
    db_->close();
    db_->close();  // a second close is harmless

    // A connection left half-open would still hold the write lock.
    auto other = openOdbc(connectionString() + QStringLiteral(";Timeout=200"));
    EXPECT_EQ(count(*other, "t"), 0);
    EXPECT_NO_THROW(run(*other, QStringLiteral("INSERT INTO t VALUES (2)")));

    try {
        run(QStringLiteral("SELECT 1"));
        FAIL() << "a closed backend executed a statement";
    } catch (const Failure& f) {
        EXPECT_EQ(f.Number, errnum::ObjectClosed);
    }
}

TEST_F(OdbcSqlite, FailingStatementsCarryNumberAndTextAndLeaveConnectionUsable) {
    try {
        run(QStringLiteral("SELEC 1"));
        FAIL() << "a syntax error passed";
    } catch (const Failure& f) {
        EXPECT_NE(f.Number, 0);
        EXPECT_TRUE(f.Description.contains(u"syntax error")) << f.Description.toStdString();
        EXPECT_TRUE(f.Source.startsWith(u"SQLite/")) << f.Source.toStdString();
    }

    run(QStringLiteral("CREATE TABLE t (id INTEGER PRIMARY KEY, v TEXT NOT NULL)"));
    run(QStringLiteral("INSERT INTO t VALUES (1, 'a')"));
    try {
        run(QStringLiteral("INSERT INTO t VALUES (1, 'b')"));
        FAIL() << "a duplicate key passed";
    } catch (const Failure& f) {
        EXPECT_NE(f.Number, 0);
        EXPECT_TRUE(f.Description.contains(u"constraint", Qt::CaseInsensitive) ||
                    f.Description.contains(u"unique", Qt::CaseInsensitive))
            << f.Description.toStdString();
    }
    try {
        run(QStringLiteral("SELECT * FROM no_such_table"));
        FAIL() << "an unknown table passed";
    } catch (const Failure& f) {
        EXPECT_TRUE(f.Description.contains(u"no_such_table")) << f.Description.toStdString();
    }

    EXPECT_EQ(run(QStringLiteral("SELECT v FROM t")).rows, (QList<QVector<QVariant>>{{QString("a")}}));
    EXPECT_TRUE(messages_.isEmpty());
}

TEST_F(OdbcSqlite, DefaultDatabaseIsRememberedWhereTheDriverHasNoCatalogs) {
    db_->setDefaultDatabase(QStringLiteral("MSS"));
    EXPECT_EQ(db_->defaultDatabase(), "MSS");
    EXPECT_EQ(run(QStringLiteral("SELECT 1 AS one")).rows.size(), 1);
}

TEST_F(OdbcSqlite, OutputCallBindsAndRunsTheProcedureText) {
    // This driver turns the call escape into plain text and never writes output parameters,
    // so only the binding and the execution path can be checked here.
    run(QStringLiteral("CREATE TABLE t (v TEXT)"));
    QList<ErrorEntry> messages;
    const QString v = db_->executeWithOutput(QStringLiteral("INSERT INTO t VALUES "), QStringLiteral("@MSSNum"),
                                             18, messages);
    EXPECT_TRUE(v.isEmpty());
    EXPECT_EQ(count(*db_, "t"), 1) << "the call was not executed";

    EXPECT_THROW(db_->executeWithOutput(QStringLiteral("no_such_procedure"), QStringLiteral("@MSSNum"), 18, messages),
                 Failure);
    EXPECT_THROW(db_->executeWithOutput(QStringLiteral("INSERT INTO t VALUES "), QStringLiteral("@MSSNum"), 0, messages),
                 Failure);
}

}  // namespace

#ifdef MSS_SCRIPT_DRIVER
namespace {

// The scripted driver plays a SQL Server: each statement text says what the server sends.
class OdbcScripted : public ::testing::Test {
protected:
    void SetUp() override { db_ = openOdbc(connectionString()); }
    static QString connectionString(const QString& extra = QString()) {
        return QStringLiteral("DRIVER={%1};SERVER=local").arg(QStringLiteral(MSS_SCRIPT_DRIVER)) + extra;
    }
    ResultTable run(const QString& script) {
        messages_.clear();
        return db_->execute(script, messages_);
    }
    std::unique_ptr<Backend> db_;
    QList<ErrorEntry> messages_;
};

TEST_F(OdbcScripted, RowsOfTheFirstRowSetArePickedPastLeadingRowCounts) {
    ResultTable r = run(QStringLiteral("count 1;count 2;set Code,Name/A1,Alpha/B2,NULL;count 5;set Other/9"));
    ASSERT_TRUE(r.hasResult);
    EXPECT_EQ(r.columns, (QStringList{"Code", "Name"}));
    ASSERT_EQ(r.rows.size(), 2);
    EXPECT_EQ(r.rows[0][1].toString(), "Alpha");
    EXPECT_FALSE(r.rows[1][1].isValid());
    EXPECT_EQ(r.rowsAffected, 8) << "row counts of the batch are summed";

    ResultTable writes = run(QStringLiteral("count 3;count 4"));
    EXPECT_FALSE(writes.hasResult);
    EXPECT_EQ(writes.rowsAffected, 7);
}

TEST_F(OdbcScripted, InformationalMessagesAreCollectedWithoutContextChatter) {
    EXPECT_TRUE(run(QStringLiteral("count 1")).rowsAffected == 1);
    EXPECT_TRUE(messages_.isEmpty()) << "log-in messages leaked into the first statement";

    run(QStringLiteral("info 5701 01000 Changed database context to 'MSS'.;info 0 01000 Patient already tagged.;"
                       "set A/1;info 50000 01000 Checked at the end."));
    ASSERT_EQ(messages_.size(), 2);
    EXPECT_EQ(messages_[0].Number, 0);
    EXPECT_EQ(messages_[0].Source, "Script Server/01000");
    EXPECT_TRUE(messages_[0].Description.endsWith(u"Patient already tagged."));
    EXPECT_EQ(messages_[1].Number, 50000);
    EXPECT_TRUE(messages_[1].Description.endsWith(u"Checked at the end."));
}

TEST_F(OdbcScripted, ErrorsFailTheCallWhereverTheyArriveInTheBatch) {
    try {
        run(QStringLiteral("error 2812 Could not find stored procedure 'sp_Nothing'."));
        FAIL() << "the error was not raised";
    } catch (const Failure& f) {
        EXPECT_EQ(f.Number, 2812);
        EXPECT_EQ(f.Source, "Script Server/42000");
        EXPECT_TRUE(f.Description.contains(u"Could not find stored procedure 'sp_Nothing'."));
    }
    try {
        run(QStringLiteral("set A/1;count 1;error 547 The INSERT statement conflicted with the FOREIGN KEY constraint."));
        FAIL() << "an error behind the row set was lost";
    } catch (const Failure& f) {
        EXPECT_EQ(f.Number, 547);
    }
    EXPECT_EQ(run(QStringLiteral("set A/ok")).rows.at(0).at(0).toString(), "ok");
}

TEST_F(OdbcScripted, OutputParameterArrivesAfterTheResults) {
    QList<ErrorEntry> messages;
    EXPECT_EQ(db_->executeWithOutput(QStringLiteral("count 1;set X/1;info 0 01000 issued;out 2024-000123"),
                                     QStringLiteral("@MSSNum"), 18, messages),
              "2024-000123");
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].Description.endsWith(u"issued"));

    // A longer value than declared is cut to the declared size, never written past it.
    EXPECT_EQ(db_->executeWithOutput(QStringLiteral("out \u00d1-0123456789-0123456789"), QStringLiteral("@MSSNum"), 18,
                                     messages),
              QStringLiteral("\u00d1-0123456789-01234"));
    EXPECT_THROW(db_->executeWithOutput(QStringLiteral("error 8144 Procedure or function has too many arguments."),
                                        QStringLiteral("@MSSNum"), 18, messages),
                 Failure);
}

TEST_F(OdbcScripted, LongTextIsReadWholeThroughTheUnicodeCalls) {
    QString text;
    while (text.size() < 60000) text += QStringLiteral("abc \u00f1\u4e2d-x");
    ResultTable r = run(QStringLiteral("set Body/") + text);
    ASSERT_EQ(r.rows.size(), 1);
    EXPECT_EQ(r.rows[0][0].toString().size(), text.size());
    EXPECT_TRUE(r.rows[0][0].toString() == text);
}

TEST_F(OdbcScripted, DefaultDatabaseFollowsTheServer) {
    EXPECT_EQ(db_->defaultDatabase(), "master");
    db_->setDefaultDatabase(QStringLiteral("MSS"));
    EXPECT_EQ(db_->defaultDatabase(), "MSS");
    try {
        db_->setDefaultDatabase(QStringLiteral("Nowhere"));
        FAIL() << "a missing database was accepted";
    } catch (const Failure& f) {
        EXPECT_EQ(f.Number, 911);
    }
    EXPECT_EQ(db_->defaultDatabase(), "MSS");
}

TEST(OdbcScriptedConnect, RefusedLogInCarriesTheServerError) {
    try {
        openOdbc(QStringLiteral("DRIVER={%1};Refuse=1").arg(QStringLiteral(MSS_SCRIPT_DRIVER)));
        FAIL() << "a refused log-in connected";
    } catch (const Failure& f) {
        EXPECT_EQ(f.Number, 18456);
        EXPECT_EQ(f.Source, "ODBC/28000");
        EXPECT_TRUE(f.Description.contains(u"Login failed for user 'nobody'."));
    }
}

}  // namespace
#endif
