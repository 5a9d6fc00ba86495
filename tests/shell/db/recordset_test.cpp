#include "failure.h"
#include "hospitaldb/engine.h"
#include "shell/db/dbaccess.h"
#include "shell/db/text.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace mss::db;

namespace {

// A small database of our own: the layer's behaviour must not depend on the hospital's tables.
class RecordsetTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir_.isValid());
        path_ = dir_.filePath("layer.db");
        const QString script = dir_.filePath("layer.sql");
        QFile f(script);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(R"(
CREATE TABLE MSS__tbNote (Id INTEGER PRIMARY KEY, HospNum TEXT COLLATE TSQL NOT NULL,
                          Remarks TEXT COLLATE TSQL, Amount MONEY, NotedOn DATETIME);
INSERT INTO MSS__tbNote VALUES (1, '000123', 'first visit', 1500.5, '2026-12-01 08:30:00');
INSERT INTO MSS__tbNote VALUES (2, '000123', NULL, NULL, NULL);
INSERT INTO MSS__tbNote VALUES (3, '000456', '', 0, '2026-11-30');
CREATE TABLE BILLING__tbCharge (Id INTEGER PRIMARY KEY, IdNum TEXT COLLATE TSQL NOT NULL, Amount MONEY);
)");
        f.close();
        hospitaldb::CreateOptions options;
        options.builtinSchema = false;
        options.referenceData = false;
        options.extraScripts = {script};
        hospitaldb::createDatabase(path_, options);
        conn_.Open(embeddedConnectionString(path_));
        conn_.SetCursorLocation(CursorLocation::Client);
        conn_.SetLogging(true);
        SetSessionConnection(&conn_);
    }
    void TearDown() override { SetSessionConnection(nullptr); }

    long count(const QString& sql) {
        Recordset rs;
        OpenQuery(rs, sql);
        return static_cast<long>(mss::text::AsNumber(rs.Value(0)));
    }

    QTemporaryDir dir_;
    QString path_;
    Connection conn_;
};

TEST_F(RecordsetTest, ReadsRowsByNameWithNullDistinctFromEmpty) {
    Recordset rs;
    OpenQuery(rs, "SELECT * FROM MSS..tbNote WHERE HospNum = '000123' ORDER BY Id");
    ASSERT_EQ(rs.RecordCount(), 2);
    EXPECT_FALSE(rs.Eof());
    EXPECT_EQ(FieldText(rs, "remarks"), "first visit");
    EXPECT_EQ(FieldText(rs, "AMOUNT"), "1500.5");
    EXPECT_EQ(rs.Value("NotedOn").toDateTime(), QDateTime(QDate(2026, 12, 1), QTime(8, 30)));
    EXPECT_EQ(FieldText(rs, "NotedOn"), "12/1/2026 8:30:00 AM");
    rs.MoveNext();
    EXPECT_FALSE(rs.Value("Remarks").isValid());
    EXPECT_EQ(FieldText(rs, "Remarks"), "");
    EXPECT_FAILURE(mss::text::AsText(rs.Value("Remarks")), errnum::InvalidUseOfNull);
    rs.MoveNext();
    EXPECT_TRUE(rs.Eof());
    try {
        rs.MoveNext();
        FAIL();
    } catch (const Failure& f) {
        EXPECT_EQ(f.Number, errnum::EofOrBof);
    }
    EXPECT_FAILURE(FieldText(rs, "Remarks"), errnum::EofOrBof);

    OpenQuery(rs, "SELECT * FROM MSS..tbNote WHERE HospNum = '000456'");
    EXPECT_EQ(rs.Value("Remarks").toString(), "");
    EXPECT_TRUE(rs.Value("Remarks").isValid());
    try {
        rs.Value("NoSuchColumn");
        FAIL();
    } catch (const Failure& f) {
        EXPECT_EQ(f.Number, errnum::ItemNotFound);
    }
}

TEST_F(RecordsetTest, EmptyResultIsBothEofAndBof) {
    Recordset rs;
    OpenQuery(rs, "SELECT * FROM MSS..tbNote WHERE HospNum = 'none'");
    EXPECT_EQ(rs.RecordCount(), 0);
    EXPECT_TRUE(rs.Eof());
    EXPECT_TRUE(rs.Bof());
}

TEST_F(RecordsetTest, OpenQueryOnAnOpenSetClosesItFirstAndLogsExactTexts) {
    Recordset rs;
    conn_.ClearLog();
    OpenQuery(rs, "SELECT * FROM MSS..tbNote WHERE Id = 1");
    ASSERT_TRUE(rs.IsOpen());
    OpenQuery(rs, "SELECT Remarks FROM MSS..tbNote WHERE Id = 3");
    EXPECT_EQ(rs.RecordCount(), 1);
    EXPECT_EQ(rs.FieldNames(), QStringList{"Remarks"});
    EXPECT_EQ(conn_.StatementLog(),
              (QStringList{"SELECT * FROM MSS..tbNote WHERE Id = 1", "SELECT Remarks FROM MSS..tbNote WHERE Id = 3"}));
}

TEST_F(RecordsetTest, ServerSideForwardCursorDoesNotKnowItsCount) {
    Connection other;
    other.Open(embeddedConnectionString(path_));
    Recordset rs;
    rs.Open("SELECT * FROM MSS..tbNote", other, CursorType::ForwardOnly, LockType::ReadOnly);
    EXPECT_EQ(rs.RecordCount(), -1);
    other.SetCursorLocation(CursorLocation::Client);
    rs.Open("SELECT * FROM MSS..tbNote", other, CursorType::ForwardOnly, LockType::ReadOnly);
    EXPECT_EQ(rs.RecordCount(), 3);
}

TEST_F(RecordsetTest, OptimisticUpdateWritesOnlyChangedFields) {
    Recordset rs;
    OpenQuery(rs, "SELECT a.* FROM MSS..tbNote a WHERE a.Id = 1", LockType::Optimistic);
    ASSERT_TRUE(rs.IsUpdatable());
    // Another workstation changes a column this screen does not touch: as with ADO, the
    // update is guarded by the key and the changed column only, so both changes stand.
    Connection other;
    other.Open(embeddedConnectionString(path_));
    other.Execute("UPDATE MSS..tbNote SET Amount = 99 WHERE Id = 1");
    rs.SetValue("Remarks", "second visit");
    conn_.ClearLog();
    rs.Update();
    EXPECT_EQ(conn_.StatementLog(),
              (QStringList{"MSS..sp_pkeys 'tbNote'",
                           "UPDATE MSS..tbNote SET [Remarks] = 'second visit' WHERE [Id] = 1 AND [Remarks] = 'first visit'"}));
    Recordset check;
    OpenQuery(check, "SELECT Remarks, Amount FROM MSS..tbNote WHERE Id = 1");
    EXPECT_EQ(FieldText(check, "Remarks"), "second visit");
    EXPECT_EQ(FieldText(check, "Amount"), "99");
    // The second save of the same set needs no second look at the key.
    rs.SetValue("Amount", 0.1);
    rs.SetValue("NotedOn", QDateTime(QDate(2026, 12, 2), QTime(9, 15, 30)));
    conn_.ClearLog();
    EXPECT_THROW(rs.Update(), Failure);  // the Amount read (1500.5) is no longer there
    ASSERT_EQ(conn_.StatementLog().size(), 1);
    EXPECT_EQ(conn_.StatementLog().first(),
              "UPDATE MSS..tbNote SET [Amount] = 0.1, [NotedOn] = '2026-12-02T09:15:30.000' "
              "WHERE [Id] = 1 AND [Amount] = 1500.5 AND [NotedOn] = '2026-12-01T08:30:00.000'");
}

TEST_F(RecordsetTest, UpdateOfARowChangedMeanwhileFailsAndWritesNothing) {
    Recordset rs;
    OpenQuery(rs, "SELECT * FROM MSS..tbNote WHERE Id = 1", LockType::Optimistic);
    Connection other;
    other.Open(embeddedConnectionString(path_));
    other.Execute("UPDATE MSS..tbNote SET Remarks = 'theirs' WHERE Id = 1");
    rs.SetValue("Remarks", "overwritten?");
    try {
        rs.Update();
        FAIL() << "a changed row must not be overwritten";
    } catch (const Failure& f) {
        EXPECT_EQ(f.Number, errnum::RowChanged);
    }
    Recordset check;
    OpenQuery(check, "SELECT Remarks, Amount FROM MSS..tbNote WHERE Id = 1");
    EXPECT_EQ(FieldText(check, "Remarks"), "theirs");
    EXPECT_EQ(FieldText(check, "Amount"), "1500.5");

    OpenQuery(rs, "SELECT * FROM MSS..tbNote WHERE Id = 2", LockType::Optimistic);
    other.Execute("DELETE FROM MSS..tbNote WHERE Id = 2");
    rs.SetValue("Remarks", "gone");
    EXPECT_FAILURE(rs.Update(), errnum::RowChanged);
    EXPECT_EQ(count("SELECT count(*) FROM MSS..tbNote WHERE Remarks = 'gone'"), 0);
}

TEST_F(RecordsetTest, WithoutTheKeyInTheSetEveryColumnGuards) {
    Recordset rs;
    OpenQuery(rs, "SELECT HospNum, Remarks FROM MSS..tbNote WHERE Id = 3", LockType::Optimistic);
    rs.SetValue("Remarks", "Peñaflor");
    conn_.ClearLog();
    rs.Update();
    EXPECT_EQ(conn_.StatementLog().last(),
              "UPDATE MSS..tbNote SET [Remarks] = N'Peñaflor' WHERE [HospNum] = '000456' AND [Remarks] = ''");
    Recordset check;
    OpenQuery(check, "SELECT Remarks FROM MSS..tbNote WHERE Id = 3");
    EXPECT_EQ(FieldText(check, "Remarks"), "Peñaflor");
}

TEST_F(RecordsetTest, AddNewInsertsAssignedFields) {
    Recordset rs;
    OpenQuery(rs, "SELECT * FROM MSS..tbNote WHERE HospNum = '000789'", LockType::Optimistic);
    EXPECT_TRUE(rs.Eof());
    rs.AddNew();
    rs.SetValue("Id", qlonglong(10));
    rs.SetValue("HospNum", "000789");
    rs.SetValue("Remarks", "Ma'am O'Hara; -- /* not a comment */");
    rs.Update();
    EXPECT_EQ(rs.RecordCount(), 1);
    Recordset check;
    OpenQuery(check, "SELECT * FROM MSS..tbNote WHERE Id = 10");
    EXPECT_EQ(FieldText(check, "Remarks"), "Ma'am O'Hara; -- /* not a comment */");
    EXPECT_FALSE(check.Value("Amount").isValid());
}

TEST_F(RecordsetTest, ReadOnlyAndJoinedSetsRefuseChanges) {
    Recordset rs;
    OpenQuery(rs, "SELECT * FROM MSS..tbNote WHERE Id = 1");
    EXPECT_FAILURE(rs.SetValue("Remarks", "x"), errnum::NotUpdatable);
    OpenQuery(rs, "SELECT n.Id FROM MSS..tbNote n JOIN BILLING..tbCharge c ON c.IdNum = n.HospNum",
              LockType::Optimistic);
    EXPECT_FALSE(rs.IsUpdatable());
}

TEST_F(RecordsetTest, TransactionsCommitAndRollBack) {
    BeginTrans();
    try {
        BeginTrans();
        FAIL();
    } catch (const Failure& f) {
        EXPECT_EQ(f.Number, errnum::TransactionOpen);
        EXPECT_EQ(f.Description, "Only one transaction can be active on this session.");
    }
    ExecuteCommand("INSERT INTO MSS..tbNote (Id, HospNum) VALUES (20, 'T1')");
    ExecuteCommand("INSERT INTO Billing..tbCharge (Id, IdNum, Amount) VALUES (1, 'T1', 10)");
    RollbackTrans();
    EXPECT_EQ(count("SELECT count(*) FROM MSS..tbNote WHERE Id = 20"), 0);
    EXPECT_EQ(count("SELECT count(*) FROM BILLING..tbCharge"), 0);
    BeginTrans();
    ExecuteCommand("INSERT INTO MSS..tbNote (Id, HospNum) VALUES (21, 'T2')");
    CommitTrans();
    EXPECT_EQ(count("SELECT count(*) FROM MSS..tbNote WHERE Id = 21"), 1);
    try {
        CommitTrans();
        FAIL();
    } catch (const Failure& f) {
        EXPECT_EQ(f.Number, errnum::NoTransaction);
        EXPECT_EQ(f.Description, "No transaction is active.");
    }
}

TEST_F(RecordsetTest, ErrorsAreClearedWhenTheNextStatementStarts) {
    ExecuteCommand("SELECT mss_warning(50010, 'Patient already has that number.')");
    ASSERT_EQ(conn_.Errors().size(), 1);
    EXPECT_EQ(conn_.Errors().first().Number, 50010);
    try {
        CheckConnectionErrors();
        FAIL();
    } catch (const Failure& f) {
        EXPECT_EQ(f.Number, 50010);
        EXPECT_EQ(f.Description, "Patient already has that number.");
    }
    ExecuteCommand("SELECT 1");
    EXPECT_TRUE(conn_.Errors().isEmpty());
    EXPECT_NO_THROW(CheckConnectionErrors());
}

TEST_F(RecordsetTest, QuotedValuesCannotChangeAStatement) {
    const QString typed = "x'); DELETE FROM MSS__tbNote; --";
    ExecuteCommand("INSERT INTO MSS..tbNote (Id, HospNum, Remarks) VALUES (30, 'Q', " + QuoteText(typed) + ")");
    Recordset rs;
    OpenQuery(rs, "SELECT Remarks FROM MSS..tbNote WHERE Remarks = " + QuoteText(typed));
    ASSERT_EQ(rs.RecordCount(), 1);
    EXPECT_EQ(FieldText(rs, "Remarks"), typed);
    EXPECT_EQ(count("SELECT count(*) FROM MSS..tbNote"), 4);
    EXPECT_EQ(DateText(QDate(2026, 1, 5)), "01/05/2026");
    EXPECT_EQ(DateText(QString("1/5/2026")), "01/05/2026");
    EXPECT_FAILURE(DateText(QString("not a date")), errnum::TypeMismatch);
}

}  // namespace
