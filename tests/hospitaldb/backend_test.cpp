#include "testdb.h"

#include <QDateTime>
#include <QElapsedTimer>
#include <QFile>
#include <gmock/gmock.h>
#include <sqlite3.h>
#include <thread>

using namespace hospitaldb;
using namespace hospitaldb::testing;
using ::testing::HasSubstr;

namespace {

int rowCount(TestDb& t, const QString& table) { return t.scalar("select count(*) from " + table).toInt(); }

TEST(HdbProcedureCalls, EveryCallFormReachesTheProcedure) {
    TestDb t;
    struct Form { const char* text; const char* a; const char* b; };
    const Form forms[] = {
        {"MSS..sp_Test_Echo 'x','y'", "x", "y"},
        {"Mss..sp_Test_Echo 'x', 'y'", "x", "y"},
        {"mss..SP_TEST_ECHO 'x','y'", "x", "y"},
        {"sp_Test_Echo 'x','y'", "x", "y"},
        {" sp_Test_Echo 'x'", "x", ""},
        {"MSS..sp_Test_Echo'x','y'", "x", "y"},
        {"MSS..sp_Test_Echo 'x','y'   ", "x", "y"},
        {"EXEC MSS..sp_Test_Echo 'x','y'", "x", "y"},
        {"execute sp_Test_Echo 'x'", "x", ""},
        {"MSS.dbo.sp_Test_Echo 'x','y'", "x", "y"},
        {"MSS..sp_Test_Echo '', ''", "", ""},
        {"MSS..sp_Test_Echo N'x','y';", "x", "y"},
    };
    for (const Form& f : forms) {
        SCOPED_TRACE(f.text);
        const ResultTable r = t.run(QString::fromUtf8(f.text));
        ASSERT_TRUE(r.hasResult);
        ASSERT_EQ(r.rows.size(), 1);
        EXPECT_EQ(r.rows[0][0].toString(), QString::fromUtf8(f.a));
        EXPECT_EQ(r.rows[0][1].toString(), QString::fromUtf8(f.b));
        EXPECT_EQ(r.columns, QStringList({"A", "B", "TypeA"}));
    }
}

TEST(HdbProcedureCalls, BareNumbersArriveAsNumbersAndQuotedOnesAsText) {
    TestDb t;
    ResultTable r = t.run("MSS..sp_Test_Echo 4,1");
    EXPECT_EQ(r.rows[0][2].toString(), "integer");
    EXPECT_EQ(r.rows[0][0].toLongLong(), 4);
    r = t.run("MSS..sp_Test_Echo -12.5, 10");
    EXPECT_EQ(r.rows[0][2].toString(), "real");
    EXPECT_DOUBLE_EQ(r.rows[0][0].toDouble(), -12.5);
    r = t.run("MSS..sp_Test_Echo '4'");
    EXPECT_EQ(r.rows[0][2].toString(), "text");
    r = t.run("MSS..sp_Test_Echo 'It''s'");
    EXPECT_EQ(r.rows[0][0].toString(), "It's");
    r = t.run("MSS..sp_Test_Echo NULL");
    EXPECT_FALSE(r.rows[0][0].isValid());
}

TEST(HdbProcedureCalls, OtherDatabasesAndBareTableNames) {
    TestDb t;
    t.db->engine().runScript("INSERT INTO BILLING__tbTestCharge VALUES ('R1','PH',10),('R1','LB',2.5),('R2','PH',1)");
    for (const char* text : {"Billing..sp_Test_Charges 'R1'", "BILLING..sp_Test_Charges 'R1'"}) {
        const ResultTable r = t.run(text);
        ASSERT_EQ(r.rows.size(), 2) << text;
        EXPECT_EQ(r.rows[0][0].toString(), "LB");
        EXPECT_EQ(r.rows[0][1].typeId(), QMetaType::Double);
    }
    // Unprefixed names resolve in the default database only.
    EXPECT_EQ(t.failure("sp_Test_Charges 'R1'"), mss::db::errnum::UnknownProcedure);
    t.db->setDefaultDatabase("billing");
    EXPECT_EQ(t.run("sp_Test_Charges 'R1'").rows.size(), 2);
    t.db->setDefaultDatabase("MSS");

    const ResultTable all = t.run("MSS..tbTestPatient");
    EXPECT_TRUE(all.hasResult);
    EXPECT_EQ(all.rows.size(), 3);
    EXPECT_EQ(all.columns.first(), "HospNum");
}

TEST(HdbProcedureCalls, ProcedureWithoutResultAndFirstResultWins) {
    TestDb t;
    const ResultTable none = t.run("MSS..sp_Test_NoResult");
    EXPECT_FALSE(none.hasResult);
    // The INSERT runs although the SELECT after it is the result.
    const ResultTable r = t.run("sp_Test_Store 'abc'");
    ASSERT_TRUE(r.hasResult);
    EXPECT_EQ(r.rows[0][1].toString(), "abc");
    EXPECT_EQ(rowCount(t, "tbTestEcho"), 1);
}

TEST(HdbErrors, UnknownNamesAndArgumentCounts) {
    TestDb t;
    QString d;
    EXPECT_EQ(t.failure("MSS..sp_Nothing 'a'", &d), 2812);
    EXPECT_EQ(d, "Could not find stored procedure 'MSS..sp_Nothing'.");
    EXPECT_EQ(t.failure("Billing..sp_Nothing", &d), 2812);
    EXPECT_EQ(d, "Could not find stored procedure 'Billing..sp_Nothing'.");
    EXPECT_EQ(t.failure("sp_Nothing 'a'", &d), 2812);
    EXPECT_EQ(d, "Could not find stored procedure 'sp_Nothing'.");
    EXPECT_EQ(t.failure("NOWHERE..sp_Test_Echo 'a'"), 2812);

    EXPECT_EQ(t.failure("SELECT * FROM mss..tbNothing", &d), 208);
    EXPECT_EQ(d, "Invalid object name 'mss..tbNothing'.");
    EXPECT_EQ(t.failure("select * from tbNothing", &d), 208);
    EXPECT_EQ(d, "Invalid object name 'tbNothing'.");
    EXPECT_EQ(t.failure("select * from Nowhere..tbTestPatient", &d), 208);
    EXPECT_EQ(d, "Invalid object name 'Nowhere..tbTestPatient'.");

    EXPECT_EQ(t.failure("MSS..sp_Test_Echo 'a','b','c'", &d), 8144);
    EXPECT_THAT(d.toStdString(), HasSubstr("sp_Test_Echo has too many arguments"));
    EXPECT_EQ(t.failure("MSS..sp_Test_Echo", &d), 201);
    EXPECT_EQ(d, "Procedure or function 'sp_Test_Echo' expects parameter '@A', which was not supplied.");

    EXPECT_EQ(t.failure("SELEC * FROM tbTestPatient"), 102);
    EXPECT_EQ(t.failure("SELECT * FROM tbTestPatient WHERE"), 102);
    EXPECT_EQ(t.failure("SELECT * FROM tbTestPatient WHERE HospNum = 'x"), 105);
    EXPECT_EQ(t.failure("MSS..sp_Test_Echo 'a' 'b'"), 102);
}

TEST(HdbErrors, WarningsAreRecordedAndTheCallSucceeds) {
    TestDb t;
    const ResultTable r = t.run("MSS..sp_Test_Warn '0001'");
    ASSERT_EQ(t.messages.size(), 1);
    EXPECT_EQ(t.messages[0].Number, 50002);
    EXPECT_EQ(t.messages[0].Description, "Patient 0001 has no intake sheet.");
    // The warning's own SELECT is no result set: the patient row is.
    ASSERT_TRUE(r.hasResult);
    EXPECT_EQ(r.columns, QStringList({"HospNum", "LastName"}));
    EXPECT_EQ(r.rows.size(), 1);
    t.run("select 1");
    EXPECT_TRUE(t.messages.isEmpty());
}

TEST(HdbErrors, FailingProcedureWritesNothing) {
    TestDb t;
    QString d;
    EXPECT_EQ(t.failure("sp_Test_SaveThenFail '0099'", &d), 50001);
    EXPECT_EQ(d, "Hospital number 0099 is refused.");
    EXPECT_EQ(rowCount(t, "tbTestPatient"), 3);
    // Also inside an open transaction: the call is undone, the transaction's earlier work stays.
    t.db->beginTransaction();
    t.run("insert into tbTestPatient (HospNum, LastName) values ('0100', 'Kept')");
    EXPECT_EQ(t.failure("sp_Test_SaveThenFail '0101'"), 50001);
    t.db->commitTransaction();
    EXPECT_EQ(rowCount(t, "tbTestPatient"), 4);
    EXPECT_EQ(t.scalar("select count(*) from tbTestPatient where HospNum = '0101'").toInt(), 0);
}

TEST(HdbErrors, ConstraintAndConversionFailuresCarryServerNumbers) {
    TestDb t;
    QString d;
    EXPECT_EQ(t.failure("insert into tbTestPatient (HospNum) values ('0001')", &d), 2627);
    EXPECT_EQ(d, "Violation of PRIMARY KEY constraint. Cannot insert duplicate key in object 'MSS.dbo.tbTestPatient'.");
    t.db->engine().runScript("CREATE TABLE MSS__tbTestRequired (Code TEXT NOT NULL)");
    EXPECT_EQ(t.failure("insert into tbTestRequired (Code) values (NULL)", &d), 515);
    EXPECT_EQ(d, "Cannot insert the value NULL into column 'Code', table 'MSS.dbo.tbTestRequired'; column does not allow nulls. INSERT fails.");
    EXPECT_EQ(t.failure("select mss_date('31/31/2020')"), 241);
    EXPECT_EQ(t.failure("update tbTestPatient set Balance = CAST('abc' as Money) where HospNum = '0001'"), 235);
}

TEST(HdbTransactions, OneTransactionCoversEveryDatabase) {
    TestDb t;
    t.db->beginTransaction();
    t.run("insert into MSS..tbTestPatient (HospNum, LastName) values ('0200', 'A')");
    t.run("insert into Billing..tbTestCharge (RefNum, RevenueID, Amount) values ('R9', 'QF', 5)");
    t.db->failStatement(1, 547, "injected");
    EXPECT_EQ(t.failure("update Billing..tbTestCharge set Amount = 6 where RefNum = 'R9'"), 547);
    t.db->rollbackTransaction();
    EXPECT_EQ(t.scalar("select count(*) from tbTestPatient where HospNum = '0200'").toInt(), 0);
    EXPECT_EQ(t.scalar("select count(*) from BILLING..tbTestCharge").toInt(), 0);

    t.db->beginTransaction();
    t.run("insert into MSS..tbTestPatient (HospNum) values ('0201')");
    t.run("insert into Billing..tbTestCharge (RefNum) values ('R10')");
    t.db->commitTransaction();
    EXPECT_EQ(t.scalar("select count(*) from BILLING..tbTestCharge").toInt(), 1);
    EXPECT_EQ(t.scalar("select count(*) from tbTestPatient where HospNum = '0201'").toInt(), 1);
}

TEST(HdbTransactions, MisuseFailsClearly) {
    TestDb t;
    t.db->beginTransaction();
    EXPECT_THROW(t.db->beginTransaction(), Failure);
    t.db->rollbackTransaction();
    EXPECT_THROW(t.db->commitTransaction(), Failure);
    EXPECT_THROW(t.db->rollbackTransaction(), Failure);
    // The numbers the database layer gives for both kinds of database.
    try {
        t.db->beginTransaction();
        t.db->beginTransaction();
        FAIL();
    } catch (const Failure& f) {
        EXPECT_EQ(f.Number, mss::db::errnum::TransactionOpen);
        EXPECT_EQ(f.Description, "Only one transaction can be active on this session.");
    }
    t.db->commitTransaction();
    try {
        t.db->rollbackTransaction();
        FAIL();
    } catch (const Failure& f) {
        EXPECT_EQ(f.Number, mss::db::errnum::NoTransaction);
        EXPECT_EQ(f.Description, "No transaction is active.");
    }
}

// Another workstation's write between this transaction's read and write must wait for the
// transaction, not break it.
TEST(HdbTransactions, AnOpenTransactionHoldsOffOtherWriters) {
    TestDb t;
    auto other = std::make_unique<EmbeddedBackend>(t.path);
    sqlite3_busy_timeout(other->engine().handle(), 0);  // refuse at once instead of waiting
    QList<ErrorEntry> m;
    t.db->beginTransaction();
    EXPECT_EQ(t.scalar("select Visits from tbTestPatient where HospNum = '0001'").toInt(), 3);
    try {
        other->execute("update tbTestPatient set Visits = 100 where HospNum = '0001'", m);
        FAIL() << "the other workstation wrote inside the transaction";
    } catch (const Failure& f) {
        EXPECT_EQ(f.Number, 1222);
    }
    t.run("update tbTestPatient set Visits = Visits + 1 where HospNum = '0001'");
    t.db->commitTransaction();
    EXPECT_EQ(t.scalar("select Visits from tbTestPatient where HospNum = '0001'").toInt(), 4);
    // Once committed the other workstation writes.
    other->execute("update tbTestPatient set Visits = 100 where HospNum = '0001'", m);
    EXPECT_EQ(t.scalar("select Visits from tbTestPatient where HospNum = '0001'").toInt(), 100);
}

// Two workstations reading and writing in transactions at the same time: each waits for the
// other, none fails, nothing is lost.
TEST(HdbTransactions, TwoWorkstationsWritingAtOnceBothSucceed) {
    TestDb t;
    t.db.reset();  // each thread opens its own connection
    constexpr int kRounds = 60;
    auto work = [&t](const QString& prefix, QStringList* failures) {
        EmbeddedBackend db(t.path);
        db.procedures().loadFile(fixture(QStringLiteral("procedures.sql")));
        QList<ErrorEntry> m;
        for (int i = 0; i < kRounds; ++i) {
            try {
                db.beginTransaction();
                const qlonglong before = db.execute("select count(*) from tbTestEcho", m).rows[0][0].toLongLong();
                db.execute(QStringLiteral("insert into tbTestEcho (Value) values ('%1%2 after %3')").arg(prefix).arg(i).arg(before), m);
                db.execute("MSS..sp_Test_Store '" + prefix + QString::number(i) + "'", m);
                db.commitTransaction();
                // A call of several statements outside a transaction is one of its own.
                db.execute("MSS..sp_Test_Store '" + prefix + QString::number(i) + " alone'", m);
            } catch (const Failure& f) {
                failures->append(QStringLiteral("%1: %2").arg(f.Number).arg(f.Description));
                try { db.rollbackTransaction(); } catch (const Failure&) {}
            }
        }
    };
    QStringList failuresA, failuresB;
    std::thread a(work, QStringLiteral("A"), &failuresA);
    std::thread b(work, QStringLiteral("B"), &failuresB);
    a.join();
    b.join();
    EXPECT_TRUE(failuresA.isEmpty()) << failuresA.join("\n").toStdString();
    EXPECT_TRUE(failuresB.isEmpty()) << failuresB.join("\n").toStdString();
    EmbeddedBackend check(t.path);
    QList<ErrorEntry> m;
    EXPECT_EQ(check.execute("select count(*) from tbTestEcho", m).rows[0][0].toLongLong(), 6 * kRounds);
}

TEST(HdbFaultInjection, NthPatternAndWarning) {
    TestDb t;
    t.db->failStatement(2, 1205, "deadlock victim");
    EXPECT_EQ(t.failure("select 1"), 0);
    EXPECT_EQ(t.failure("select 2"), 1205);
    EXPECT_EQ(t.failure("select 3"), 0);  // only once

    t.db->failMatching(QRegularExpression("(?i)tbTestCharge"), 547, "refused");
    QString d;
    EXPECT_EQ(t.failure("insert into Billing..tbTestCharge (RefNum) values ('X')", &d), 547);
    EXPECT_EQ(d, "refused");
    EXPECT_EQ(t.failure("insert into Billing..tbTestCharge (RefNum) values ('Y')"), 547);
    EXPECT_EQ(t.failure("select count(*) from tbTestPatient"), 0);
    t.db->clearFaults();
    EXPECT_EQ(t.failure("insert into Billing..tbTestCharge (RefNum) values ('Z')"), 0);
    EXPECT_EQ(t.scalar("select count(*) from Billing..tbTestCharge").toInt(), 1);  // failed ones wrote nothing

    t.db->warnMatching(QRegularExpression("sp_Test_Echo"), 3604, "Duplicate key was ignored.");
    t.db->warnStatement(1, 50010, "first only");
    const ResultTable r = t.run("sp_Test_Echo 'w'");
    EXPECT_EQ(r.rows[0][0].toString(), "w");  // the statement still ran
    ASSERT_EQ(t.messages.size(), 2);
    EXPECT_EQ(t.messages[0].Number, 3604);
    EXPECT_EQ(t.messages[1].Number, 50010);
    t.run("sp_Test_Echo 'w'");
    EXPECT_EQ(t.messages.size(), 1);

    // Reachable from the interface the program holds.
    std::unique_ptr<mss::db::Backend> b = openEmbedded(t.path);
    ASSERT_NE(dynamic_cast<EmbeddedBackend*>(b.get()), nullptr);
}

TEST(HdbTextComparison, CaseAndTrailingBlanksAreIgnored) {
    TestDb t;
    EXPECT_EQ(t.scalar("select HospNum from tbTestPatient where LastName = 'DELA CRUZ   '").toString(), "0001");
    EXPECT_EQ(t.scalar("select HospNum from tbTestPatient where LastName = 'o''brien'").toString(), "0002");
    EXPECT_EQ(t.scalar("select count(*) from tbTestPatient where LastName <> 'SANTOS '").toInt(), 2);
    // An expression, not a column, compares the same way.
    EXPECT_EQ(t.scalar("select count(*) from tbTestPatient where upper(LastName) = 'santos'").toInt(), 1);
    EXPECT_EQ(t.scalar("select HospNum from tbTestPatient where HospNum = '0003  '").toString(), "0003");
    // Sorting: case does not split the order.
    const ResultTable r = t.run("select LastName from tbTestPatient order by LastName");
    EXPECT_EQ(r.rows[0][0].toString(), "Dela Cruz");
    EXPECT_EQ(r.rows[1][0].toString(), "O'Brien");
    EXPECT_EQ(r.rows[2][0].toString(), "santos");
    // Non-ASCII letters fold too.
    t.run("insert into tbTestPatient (HospNum, LastName) values ('0300', 'Peñaflor')");
    EXPECT_EQ(t.scalar("select HospNum from tbTestPatient where LastName = 'PEÑAFLOR'").toString(), "0300");
    // Keys sharing a prefix, then differing in case inside a multi-byte letter.
    t.run("insert into tbTestPatient (HospNum, LastName) values ('0301', 'peñafiel')");
    EXPECT_EQ(t.scalar("select HospNum from tbTestPatient where LastName = 'peÑAFIEL  '").toString(), "0301");
    EXPECT_EQ(t.scalar("select count(*) from tbTestPatient where LastName >= 'peñaf' and LastName < 'PEÑAFZ'").toLongLong(), 2);
}

TEST(HdbValues, NullEmptyNumbersAndDates) {
    TestDb t;
    const ResultTable r = t.run("select FirstName, Balance, Visits, BirthDate from tbTestPatient order by HospNum");
    ASSERT_EQ(r.rows.size(), 3);
    EXPECT_FALSE(r.rows[1][0].isValid());                 // NULL
    EXPECT_TRUE(r.rows[2][0].isValid());                  // ''
    EXPECT_EQ(r.rows[2][0].typeId(), QMetaType::QString);
    EXPECT_EQ(r.rows[2][0].toString(), "");
    EXPECT_EQ(r.rows[0][1].typeId(), QMetaType::Double);  // MONEY
    EXPECT_DOUBLE_EQ(r.rows[0][1].toDouble(), 1250.5);
    EXPECT_EQ(r.rows[1][1].typeId(), QMetaType::Double);  // 0 stored as integer, still money
    EXPECT_EQ(r.rows[0][2].typeId(), QMetaType::LongLong);
    EXPECT_EQ(r.rows[0][3].typeId(), QMetaType::QDateTime);
    EXPECT_EQ(r.rows[0][3].toDateTime(), QDateTime(QDate(1980, 2, 29), QTime(0, 0)));
    EXPECT_EQ(r.rows[2][3].toDateTime(), QDateTime(QDate(2001, 12, 31), QTime(0, 0)));
    EXPECT_FALSE(r.rows[1][3].isValid());
    // Expressions have no declared type: text stays text.
    EXPECT_EQ(t.scalar("select CONVERT(VARCHAR(10), BirthDate, 101) from tbTestPatient where HospNum = '0001'").toString(),
              "02/29/1980");
    EXPECT_EQ(t.scalar("select isnull(FirstName, '') from tbTestPatient where HospNum = '0002'").toString(), "");
}

TEST(HdbValues, DateLiteralsInMonthDayYearForm) {
    TestDb t;
    EXPECT_EQ(t.scalar("select HospNum from tbTestPatient where BirthDate = '02/29/1980'").toString(), "0001");
    EXPECT_EQ(t.scalar("select HospNum from tbTestPatient where BirthDate = '2/29/1980'").toString(), "0001");
    EXPECT_EQ(t.scalar("select count(*) from tbTestPatient where BirthDate between '1/1/1970' and '12/31/1990'").toInt(), 1);
    t.run("update tbTestPatient set BirthDate = '12/25/1999' where HospNum = '0002'");
    t.run("insert into tbTestPatient (HospNum, BirthDate) values ('0400', '1/2/2003')");
    EXPECT_EQ(t.scalar("select BirthDate from tbTestPatient where HospNum = '0002'").toDateTime().date(), QDate(1999, 12, 25));
    EXPECT_EQ(t.scalar("select BirthDate from tbTestPatient where HospNum = '0400'").toDateTime().date(), QDate(2003, 1, 2));
    EXPECT_EQ(t.scalar("select datediff(day, BirthDate, '03/01/1980') from tbTestPatient where HospNum = '0001'").toInt(), 1);
    EXPECT_EQ(t.scalar("select year(BirthDate) from tbTestPatient where HospNum = '0001'").toInt(), 1980);
    EXPECT_EQ(t.scalar("select CONVERT(VARCHAR(10), dateadd(day, 2, BirthDate), 101) from tbTestPatient where HospNum = '0001'").toString(),
              "03/02/1980");
    EXPECT_EQ(t.scalar("sp_Test_Dates '7/4/2024 3:05 PM'").toString(), "2024-07-04 15:05:00");
    EXPECT_EQ(t.scalar("sp_Test_Dates '2024-07-04'").toString(), "2024-07-04 00:00:00");
    EXPECT_FALSE(t.scalar("sp_Test_Dates ''").isValid());
    EXPECT_EQ(t.failure("sp_Test_Dates '13/45/2024'"), 241);
    EXPECT_EQ(t.failure("update tbTestPatient set BirthDate = 'yesterday' where HospNum = '0001'"), 241);
}

TEST(HdbOutput, ExecuteWithOutputTruncates) {
    TestDb t;
    QList<ErrorEntry> m;
    EXPECT_EQ(t.db->executeWithOutput("MSS..sp_Test_NewNumber", "@MSSNum", 18, m), "2024-000042-EXTRA-");
    EXPECT_EQ(t.db->executeWithOutput("MSS..sp_Test_NewNumber", "@MSSNum", 0, m), "2024-000042-EXTRA-TEXT-LONGER");
    EXPECT_THROW(t.db->executeWithOutput("MSS..sp_Missing", "@MSSNum", 18, m), Failure);
}

TEST(HdbOpen, MissingAndForeignFilesFailWith17) {
    QTemporaryDir dir;
    try {
        openEmbedded(dir.filePath("none.db"));
        FAIL();
    } catch (const Failure& f) {
        EXPECT_EQ(f.Number, 17);
    }
    QFile junk(dir.filePath("junk.db"));
    ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
    junk.write("not a database at all, just text that is long enough to look like a header......");
    junk.close();
    try {
        openEmbedded(junk.fileName());
        FAIL();
    } catch (const Failure& f) {
        EXPECT_EQ(f.Number, 17);
    }
    EXPECT_THROW(createDatabase(junk.fileName()), Failure);  // never overwrites
}

// Letters past ASCII once sorted by code point (ñ after z); they now sort beside their base
// letter. A file indexed the old way is reindexed when opened, or its indexes would lie.
TEST(HdbOpen, FilesIndexedUnderAnEarlierCollationAreReindexed) {
    TestDb t;
    t.db.reset();
    sqlite3* raw = nullptr;
    ASSERT_EQ(sqlite3_open(QFile::encodeName(t.path).constData(), &raw), SQLITE_OK);
    auto oldOrder = [](void*, int n1, const void* p1, int n2, const void* p2) {
        const QString a = QString::fromUtf8(static_cast<const char*>(p1), n1).trimmed();
        const QString b = QString::fromUtf8(static_cast<const char*>(p2), n2).trimmed();
        return a.compare(b, Qt::CaseInsensitive);
    };
    sqlite3_create_collation_v2(raw, "TSQL", SQLITE_UTF8, nullptr, oldOrder, nullptr);
    const char* script =
        "CREATE INDEX MSS__tbTestPatient_Last ON MSS__tbTestPatient(LastName);"
        "INSERT INTO MSS__tbTestPatient (HospNum, LastName) VALUES ('0500', 'Ñato'), ('0501', 'Nava'), ('0502', 'Núñez'),"
        " ('0503', 'Oca'), ('0504', 'Zamora'), ('0505', 'Éboli'), ('0506', 'Ebro');"
        "UPDATE hospitaldb_info SET Value = '1' WHERE Name = 'collation';";
    ASSERT_EQ(sqlite3_exec(raw, script, nullptr, nullptr, nullptr), SQLITE_OK) << sqlite3_errmsg(raw);
    sqlite3_close(raw);

    EmbeddedBackend db(t.path);
    EXPECT_EQ(db.engine().query("PRAGMA integrity_check").rows.value(0).value(0).toString(), "ok");
    EXPECT_EQ(db.engine().query("SELECT Value FROM hospitaldb_info WHERE Name = 'collation'").rows.value(0).value(0).toString(),
              QString::fromLatin1(kCollationVersion));
    QList<ErrorEntry> m;
    const ResultTable r = db.execute("select LastName from tbTestPatient where LastName >= 'n' and LastName < 'o' order by LastName", m);
    QStringList names;
    for (const auto& row : r.rows) names << row[0].toString();
    EXPECT_EQ(names, (QStringList{"Ñato", "Nava", "Núñez"}));
}

TEST(HdbOpen, ScratchTableIsPerConnection) {
    TestDb t;
    t.run("insert into Billing..tbDummyDiscountTable (RevenueID, ActualCharges) values ('PH', 100)");
    std::unique_ptr<mss::db::Backend> other = openEmbedded(t.path);
    QList<ErrorEntry> m;
    EXPECT_EQ(other->execute("Select * From Billing..tbDummyDiscountTable", m).rows.size(), 0);
    EXPECT_EQ(t.run("Select * From Billing..tbDummyDiscountTable").rows.size(), 1);
    EXPECT_DOUBLE_EQ(t.scalar("Select isnull(sum(ActualCharges),0) as ActualCharges From Billing..tbDummyDiscountTable Where RevenueID <> 'MD'").toDouble(), 100);
}

TEST(HdbOpen, ClosedBackendRefusesWork) {
    TestDb t;
    t.db->close();
    EXPECT_EQ(t.failure("select 1"), mss::db::errnum::ObjectClosed);
}

TEST(HdbCache, RepeatedShapesArePreparedOnce) {
    TestDb t;
    for (int i = 0; i < 50; ++i)
        EXPECT_EQ(t.run(QStringLiteral("select HospNum from tbTestPatient where HospNum = '%1'").arg(i % 3 + 1, 4, 10, QChar('0'))).rows.size(), 1);
    EXPECT_EQ(t.db->cachedShapes(), 1);
    t.run("select  HospNum   from tbTestPatient where HospNum = 'a'");  // blanks do not make a new shape
    EXPECT_EQ(t.db->cachedShapes(), 1);
    // The default database is part of the shape.
    t.db->setDefaultDatabase("BILLING");
    EXPECT_EQ(t.failure("select HospNum from tbTestPatient where HospNum = '0001'"), 208);
}

TEST(HdbOpen, OpeningIsCheap) {
    TestDb t;
    // Not a timing assertion: the library is parsed once per process and copied.
    const ProcedureLibrary& a = builtinLibrary();
    const ProcedureLibrary& b = builtinLibrary();
    EXPECT_EQ(&a, &b);
    EXPECT_GE(t.db->procedures().size(), a.size());
}

TEST(HdbLibrary, FileFormat) {
    ProcedureLibrary lib;
    const int n = lib.loadText(
        "-- leading comment\n"
        "-- @procedure MSS.sp_One\n"
        "-- @param A\n"
        "-- @param @B = 'x''y'\n"
        "-- @param C = 5\n"
        "-- free comment\n"
        "SELECT ';' AS s,\n  :A AS a; -- trailing\n"
        "UPDATE t SET x = 'a;\nb';\n"
        "-- @procedure billing.sp_Two\n"
        "SELECT 1\n",
        "inline.sql");
    EXPECT_EQ(n, 2);
    const Procedure* one = lib.find("MSS", "SP_ONE");
    ASSERT_NE(one, nullptr);
    ASSERT_EQ(one->params.size(), 3);
    EXPECT_EQ(one->params[1].name, "B");
    EXPECT_EQ(one->params[1].defaultValue.toString(), "x'y");
    EXPECT_EQ(one->params[2].defaultValue.toLongLong(), 5);
    ASSERT_EQ(one->statements.size(), 2);
    EXPECT_THAT(one->statements[1].toStdString(), HasSubstr("'a;\nb'"));
    ASSERT_NE(lib.find("BILLING", "sp_two"), nullptr);
    EXPECT_EQ(lib.find("BILLING", "sp_two")->statements.size(), 1);
    EXPECT_THROW(lib.loadText("SELECT 1;\n", "bad.sql"), Failure);
    EXPECT_THROW(lib.loadText("-- @procedure NOWHERE.sp_x\nSELECT 1;\n", "bad.sql"), Failure);
}

TEST(HdbLibrary, NativeProcedures) {
    TestDb t;
    t.db->procedures().registerProcedure("BILLING", "sp_Native_Sum", {"@RefNum", "@Extra"},
        [](ProcedureContext& ctx, const QVector<QVariant>& args) {
            if (args[0].toString().isEmpty()) ctx.fail(50020, "No reference.");
            ctx.query("INSERT INTO BILLING__tbTestCharge (RefNum, RevenueID, Amount) VALUES (:r, 'NX', :a)",
                      {{"r", args[0]}, {"a", args[1]}});
            ctx.warning(50021, "summed");
            return ctx.query("SELECT sum(Amount) AS Total FROM BILLING__tbTestCharge WHERE RefNum = @r", {{"r", args[0]}});
        });
    EXPECT_DOUBLE_EQ(t.scalar("Billing..sp_Native_Sum 'N1', 7").toDouble(), 7.0);
    ASSERT_EQ(t.messages.size(), 1);
    EXPECT_EQ(t.messages[0].Number, 50021);
    EXPECT_DOUBLE_EQ(t.scalar("BILLING..SP_NATIVE_SUM 'N1', 3.5").toDouble(), 10.5);
    EXPECT_EQ(t.failure("Billing..sp_Native_Sum '', 1"), 50020);
    EXPECT_EQ(t.failure("Billing..sp_Native_Sum 'N1'"), 201);
}

}  // namespace
