// Values typed by users travel inside apostrophes with their own apostrophes doubled; they
// must arrive exactly as typed, and never change what the statement does.
#include "testdb.h"

#include <QRandomGenerator>

using namespace hospitaldb;
using namespace hospitaldb::testing;

namespace {

QString randomValue(QRandomGenerator& rng) {
    static const QStringList pieces{"'", "''", "\"", ";", "--", "/*", "*/", "[", "]", "%", "_", "ñ", "é", "中",
                                    "\n", "\r\n", " ", "a", "Z", "0", "');", "' OR '1'='1", "\\", "\t",
                                    "DROP TABLE MSS__tbTestEcho", "?", ":A", "@B", "?1", "||", "+"};
    QString v;
    const int n = int(rng.bounded(0, 12));
    for (int i = 0; i < n; ++i) v += pieces[int(rng.bounded(pieces.size()))];
    return v;
}

QString quote(const QString& v) {
    QString d = v;
    d.replace("'", "''");
    return "'" + d + "'";
}

TEST(HdbApostrophes, ValuesArriveExactlyAsTyped) {
    TestDb t;
    QRandomGenerator rng(20240115);
    int stored = 0;
    for (int i = 0; i < 1500; ++i) {
        const QString a = randomValue(rng);
        const QString b = randomValue(rng);
        SCOPED_TRACE(("value: " + a).toStdString());

        // As procedure arguments (both separators), echoed back.
        QString da = a, db = b;
        da.replace("'", "''");
        db.replace("'", "''");
        const ResultTable echo = t.run("MSS..sp_Test_Echo '" + da + (i % 2 ? "','" : "', '") + db + "'");
        ASSERT_EQ(echo.rows.size(), 1);
        ASSERT_EQ(echo.rows[0][0].toString(), a);
        ASSERT_EQ(echo.rows[0][1].toString(), b);

        // Stored by a procedure: exactly one row more.
        const ResultTable saved = t.run("sp_Test_Store " + quote(a));
        ++stored;
        ASSERT_EQ(saved.rows[0][1].toString(), a);

        // In INSERT and SELECT texts.
        t.run("INSERT INTO MSS..tbTestEcho (Value) VALUES (" + quote(b) + ")");
        ++stored;
        const ResultTable back = t.run("SELECT Value FROM tbTestEcho WHERE Seq = " + QString::number(stored));
        ASSERT_EQ(back.rows.size(), 1);
        ASSERT_EQ(back.rows[0][0].toString(), b);
        const ResultTable cmp = t.run("select count(*) from MSS..tbTestEcho where Value = " + quote(b) + " and Seq = " +
                                      QString::number(stored));
        ASSERT_EQ(cmp.rows[0][0].toInt(), 1);
        // Text building with + keeps the value whole.
        const ResultTable cat = t.run("select '<' + Value + '>' as v from tbTestEcho where Seq = " + QString::number(stored));
        ASSERT_EQ(cat.rows[0][0].toString(), "<" + b + ">");
    }
    EXPECT_EQ(t.scalar("select count(*) from tbTestEcho").toInt(), stored);
    EXPECT_EQ(t.scalar("select count(*) from tbTestPatient").toInt(), 3);
}

}  // namespace
