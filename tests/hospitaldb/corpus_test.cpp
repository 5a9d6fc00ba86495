// Every statement text the program sends must be understood by the front and answered by
// the hospital database: no failure of form, no missing procedure or table. A procedure may
// still refuse the sample values (they name no real patient); those are counted.
#include "testdb.h"
#include "hospitaldb/translator.h"

#include <QFile>
#include <QSet>
#include <sqlite3.h>

using namespace hospitaldb;
using namespace hospitaldb::testing;

namespace {

QStringList corpus() {
    QFile f(QStringLiteral(MSS_SOURCE_DIR "/tests/hospitaldb/corpus.txt"));
    EXPECT_TRUE(f.open(QIODevice::ReadOnly));
    QStringList out;
    for (const QByteArray& line : f.readAll().split('\n')) {
        const QString s = QString::fromUtf8(line);
        if (!s.trimmed().isEmpty() && !s.startsWith('#')) out << s;
    }
    return out;
}

bool isFormFailure(long n) {
    static const QSet<long> form{102, 105, 137, 201, 207, 8144};
    return form.contains(n) || n >= 90000;
}

TEST(HdbCorpus, EveryTextHasAReadableForm) {
    // Translation alone, against a schema that has every table: the SQLite SQL must parse.
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(":memory:", &db), SQLITE_OK);
    const SchemaInfo anyTable{[](const QString&) { return true; }, [](const QString&, const QString&) { return QString(); }};
    int statements = 0;
    for (const QString& s : corpus()) {
        SCOPED_TRACE(s.toStdString());
        Tokens t;
        ASSERT_NO_THROW(t = tokenize(s));
        Call call;
        if (parseCall(t, &call)) continue;
        ++statements;
        QString sql;
        ASSERT_NO_THROW(sql = translate(t, anyTable, "MSS"));
        sqlite3_stmt* st = nullptr;
        const QByteArray u = sql.toUtf8();
        const int rc = sqlite3_prepare_v2(db, u.constData(), int(u.size()), &st, nullptr);
        const QString err = QString::fromUtf8(sqlite3_errmsg(db));
        sqlite3_finalize(st);
        // With no tables in this database, name resolution is the only acceptable complaint.
        if (rc != SQLITE_OK) {
            EXPECT_TRUE(err.startsWith("no such table") || err.startsWith("no such column"))
                << sql.toStdString() << ": " << err.toStdString();
        }
    }
    sqlite3_close(db);
    EXPECT_GT(statements, 30);
}

TEST(HdbCorpus, EveryTextRunsAgainstTheHospitalDatabase) {
    TestDb t(true);
    int ok = 0, missingProcedure = 0, missingTable = 0, refused = 0;
    QStringList missing;
    for (const QString& s : corpus()) {
        QList<ErrorEntry> m;
        try {
            t.db->execute(s, m);
            ++ok;
        } catch (const Failure& f) {
            EXPECT_FALSE(isFormFailure(f.Number)) << s.toStdString() << "\n  -> " << f.Number << ": " << f.Description.toStdString();
            if (f.Number == 2812) { ++missingProcedure; missing << f.Description; }
            else if (f.Number == 208) { ++missingTable; missing << f.Description; }
            else if (!isFormFailure(f.Number)) ++refused;  // a procedure's own refusal of the sample values
        }
    }
    EXPECT_EQ(missingProcedure, 0);
    EXPECT_EQ(missingTable, 0);
    std::printf("corpus: %d ran, %d missing procedures, %d missing tables, %d refused by the procedure\n",
                ok, missingProcedure, missingTable, refused);
    for (const QString& d : missing) std::printf("  %s\n", qPrintable(d));
    ::testing::Test::RecordProperty("ran", ok);
    ::testing::Test::RecordProperty("missing_procedures", missingProcedure);
    ::testing::Test::RecordProperty("missing_tables", missingTable);
}

}  // namespace

namespace {

TEST(HdbCorpus, QuickShapeAgreesWithTheTokenizer) {
    QStringList texts = corpus();
    texts << "select N'x', n'y', an'z' from t -- c\n where a='' /* c */ and b = [a ]] b] and \"q\"\"\" = 1"
          << "sp_x 'a',\t'b'  " << "select 'ñ' from t" << "select ':x' + '?1'";
    int quick = 0;
    for (const QString& s : texts) {
        SCOPED_TRACE(s.toStdString());
        const Tokens full = tokenize(s);
        Tokens fast;
        if (!quickShape(s, fast)) continue;
        ++quick;
        EXPECT_EQ(fast.shape, full.shape);
        EXPECT_EQ(fast.literals, full.literals);
    }
    EXPECT_EQ(quick, texts.size());
    Tokens t;
    EXPECT_FALSE(quickShape("select 'open", t));
    EXPECT_FALSE(quickShape("select a ? b", t));
}

}  // namespace
