#include "testdb.h"

#include <QProcess>

using namespace hospitaldb::testing;

namespace {

struct ToolRun {
    int status;
    QString out, err;
};

ToolRun tool(const QStringList& args, const QString& input = QString()) {
    QProcess p;
    p.start(QStringLiteral(MSS_BINARY_DIR "/bin/mss-hospitaldb"), args);
    EXPECT_TRUE(p.waitForStarted());
    p.write(input.toUtf8());
    p.closeWriteChannel();
    EXPECT_TRUE(p.waitForFinished(60000));
    return {p.exitCode(), QString::fromUtf8(p.readAllStandardOutput()), QString::fromUtf8(p.readAllStandardError())};
}

TEST(HdbTool, ExecPrintsResultsAndReportsFailures) {
    TestDb t;
    t.db.reset();
    const ToolRun r = tool({"exec", "--procedures", fixture("procedures.sql"), t.path},
                       "select HospNum, FirstName, BirthDate from tbTestPatient order by HospNum\n"
                       "\n"
                       "update tbTestPatient set Visits = 9 where HospNum = '0001'\n"
                       "select * from tbNothing\n"
                       "MSS..sp_Test_Warn '0002'\n"
                       "select 'a\tb' as v\n");
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out,
              "HospNum\tFirstName\tBirthDate\n"
              "0001\tJuan\t1980-02-29 00:00:00\n"
              "0002\tNULL\tNULL\n"
              "0003\t\t2001-12-31 00:00:00\n"
              "\n"
              "HospNum\tLastName\n"
              "0002\tO'Brien\n"
              "\n"
              "v\n"
              "a\\tb\n"
              "\n");
    EXPECT_EQ(r.err, "error 208: Invalid object name 'tbNothing'.\n"
                     "info 50002: Patient 0002 has no intake sheet.\n");
}

TEST(HdbTool, ExitStatusAndCreate) {
    QTemporaryDir dir;
    const QString path = dir.filePath("new.db");
    EXPECT_EQ(tool({"create", path}).status, 0);
    EXPECT_NE(tool({"create", path}).status, 0);  // never overwrites without --force
    const ToolRun ok = tool({"exec", path}, "select 1 as one\n");
    EXPECT_EQ(ok.status, 0);
    EXPECT_EQ(ok.out, "one\n1\n\n");
    EXPECT_EQ(tool({"exec", dir.filePath("missing.db")}, "select 1\n").status, 1);
    EXPECT_EQ(tool({"--help"}).status, 0);
    EXPECT_NE(tool({"nonsense"}).status, 0);
}

}  // namespace
