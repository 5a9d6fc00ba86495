// The database layer over ODBC, against the scripted driver playing a SQL Server: what the
// layer sends is read back from the connection's statement log.
#include "shell/db/odbc/odbcbackend.h"
#include "shell/db/recordset.h"

#include <QDateTime>
#include <gtest/gtest.h>

using namespace mss::db;

namespace {

class OdbcRecordset : public ::testing::Test {
protected:
    void SetUp() override {
        const QString cs = QStringLiteral("DRIVER={%1};SERVER=local").arg(QStringLiteral(MSS_SCRIPT_DRIVER));
        conn_.OpenWith(openOdbc(cs), cs);
        conn_.SetCursorLocation(CursorLocation::Client);
        conn_.SetLogging(true);
    }
    // What the server answers to the next statement that is no script.
    void answer(const QString& steps) { conn_.Execute(QStringLiteral("queue ") + steps); }

    Connection conn_;
};

TEST_F(OdbcRecordset, UpdateGuardsOnTheKeyAndTheChangedColumnsInExactForms) {
    // A row as SQL Server sends it: money 0.1, a GETDATE() time with milliseconds, a text
    // column (which SQL Server cannot compare at all).
    answer("set Id:int,Amount:money,Stamp:datetime,Note:text,Code/7,0.1,2024-03-05 14:05:07.997,a long note,A");
    Recordset rs;
    rs.Open("SELECT * FROM MSS..tbNote WHERE Id = 7", conn_, CursorType::Dynamic, LockType::Optimistic);
    ASSERT_EQ(rs.RecordCount(), 1);
    answer("set TABLE_QUALIFIER,TABLE_OWNER,TABLE_NAME,COLUMN_NAME,KEY_SEQ,PK_NAME/MSS,dbo,tbNote,Id,1,PK_tbNote");
    answer("count 1");
    conn_.ClearLog();
    rs.SetValue("Code", "B");
    rs.Update();
    EXPECT_EQ(conn_.StatementLog(),
              (QStringList{"MSS..sp_pkeys 'tbNote'", "UPDATE MSS..tbNote SET [Code] = 'B' WHERE [Id] = 7 AND [Code] = 'A'"}));

    // The second save of the same set: the amount and the time as the server holds them.
    answer("count 1");
    conn_.ClearLog();
    rs.SetValue("Amount", 0.3);
    rs.SetValue("Stamp", QDateTime(QDate(2024, 3, 5), QTime(15, 0)));
    rs.Update();
    EXPECT_EQ(conn_.StatementLog(),
              QStringList{"UPDATE MSS..tbNote SET [Amount] = 0.3, [Stamp] = '2024-03-05T15:00:00.000' "
                          "WHERE [Id] = 7 AND [Amount] = 0.1 AND [Stamp] = '2024-03-05T14:05:07.997'"});

    // A text with letters past ASCII goes as a national text.
    answer("count 1");
    conn_.ClearLog();
    rs.SetValue("Code", QStringLiteral("Ñ"));
    rs.Update();
    EXPECT_EQ(conn_.StatementLog().value(0), "UPDATE MSS..tbNote SET [Code] = N'Ñ' WHERE [Id] = 7 AND [Code] = 'B'");

    // Another workstation changed or removed the row: nothing updated, and the layer says so.
    answer("count 0");
    rs.SetValue("Code", "C");
    try {
        rs.Update();
        FAIL() << "an update of no row passed";
    } catch (const Failure& f) {
        EXPECT_EQ(f.Number, errnum::RowChanged);
    }
}

TEST_F(OdbcRecordset, ATableWithoutAKnownKeyIsGuardedByEveryColumn) {
    answer("set Code,Name/A,Alpha");
    Recordset rs;
    rs.Open("SELECT Code, Name FROM MSS..tbCode", conn_, CursorType::Dynamic, LockType::Optimistic);
    answer("set TABLE_QUALIFIER,TABLE_OWNER,TABLE_NAME,COLUMN_NAME,KEY_SEQ,PK_NAME");  // no key
    answer("count 1");
    conn_.ClearLog();
    rs.SetValue("Name", "Beta");
    rs.Update();
    EXPECT_EQ(conn_.StatementLog().value(1), "UPDATE MSS..tbCode SET [Name] = 'Beta' WHERE [Code] = 'A' AND [Name] = 'Alpha'");
}

TEST_F(OdbcRecordset, TransactionMisuseFailsWithTheLayersNumbers) {
    conn_.BeginTrans();
    try {
        conn_.BeginTrans();
        FAIL();
    } catch (const Failure& f) {
        EXPECT_EQ(f.Number, errnum::TransactionOpen);
        EXPECT_EQ(f.Description, "Only one transaction can be active on this session.");
    }
    conn_.CommitTrans();
    for (int round = 0; round < 2; ++round) {
        try {
            if (round == 0) conn_.CommitTrans();
            else conn_.RollbackTrans();
            FAIL();
        } catch (const Failure& f) {
            EXPECT_EQ(f.Number, errnum::NoTransaction);
            EXPECT_EQ(f.Description, "No transaction is active.");
        }
    }
}

}  // namespace
