#include "testdb.h"

#include "toolrun.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QRegularExpression>

using namespace hospitaldb::testing;
using mss::test::ToolRun;

namespace {

ToolRun tool(const QStringList& args, const QString& input = QString()) {
    return mss::test::runTool(QStringLiteral("mss-hospitaldb"), args, input);
}

QByteArray contentOf(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha256) : QByteArray();
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

TEST(HdbTool, ExplainsItselfAndNamesWhatIsWrongWithACall) {
    const ToolRun help = tool({"--help"});
    EXPECT_EQ(help.status, 0);
    for (const char* command : {"exec", "create", "script", "init", "demo", "generate", "check", "user add"})
        EXPECT_TRUE(help.out.contains(QStringLiteral("\n  %1 ").arg(command))) << command;
    EXPECT_EQ(help.err, "");
    const ToolRun version = tool({"--version"});
    EXPECT_EQ(version.status, 0);
    EXPECT_TRUE(QRegularExpression("^mss-hospitaldb \\d+\\.\\d+").match(version.out).hasMatch()) << version.out.toStdString();
    const ToolRun demoHelp = tool({"demo", "--help"});
    EXPECT_EQ(demoHelp.status, 0);
    EXPECT_TRUE(demoHelp.out.startsWith("usage: mss-hospitaldb demo [--force] DB\n")) << demoHelp.out.toStdString();

    QTemporaryDir dir;
    const QString db = dir.filePath("h.db");
    struct Wrong {
        QStringList args;
        const char* named;
        const char* usage;
    };
    const Wrong wrong[] = {
        {{}, "usage: mss-hospitaldb COMMAND", "Commands:"},
        {{"nonsense"}, "mss-hospitaldb: unknown command 'nonsense'", "Commands:"},
        {{"--frobnicate"}, "mss-hospitaldb: unknown option '--frobnicate'", "Commands:"},
        {{"demo", "--frobnicate", db}, "mss-hospitaldb demo: unknown option '--frobnicate'", "usage: mss-hospitaldb demo"},
        {{"demo"}, "mss-hospitaldb demo: missing arguments", "usage: mss-hospitaldb demo"},
        {{"demo", db, "extra"}, "mss-hospitaldb demo: unexpected argument 'extra'", "usage: mss-hospitaldb demo"},
        {{"generate", db, "--patients"}, "option '--patients' needs a value", "usage: mss-hospitaldb generate"},
        {{"generate", db, "--patients", "many"}, "--patients wants a number", "usage: mss-hospitaldb generate"},
        {{"user", "remove", "0001", db}, "mss-hospitaldb user: unknown command 'user remove'", "usage: mss-hospitaldb user add"},
        {{"exec", "--procedures"}, "option '--procedures' needs a value", "usage: mss-hospitaldb exec"},
    };
    for (const Wrong& w : wrong) {
        const ToolRun r = tool(w.args);
        const std::string call = w.args.join(' ').toStdString();
        EXPECT_EQ(r.status, 2) << call;
        EXPECT_TRUE(r.err.contains(w.named)) << call << ": " << r.err.toStdString();
        EXPECT_TRUE(r.err.contains(w.usage)) << call << ": " << r.err.toStdString();
        EXPECT_EQ(r.out, "") << call;
    }
    EXPECT_FALSE(QFileInfo::exists(db)) << "no wrong call made a database";
}

TEST(HdbTool, NewDatabasesArePrivateAndAreReplacedOnlyWhenForced) {
    QTemporaryDir dir;
    const QString folder = dir.filePath("hospitals/ward");
    const QString db = folder + "/h.db";
    const ToolRun created = tool({"create", "--reference", db});
    ASSERT_EQ(created.status, 0) << created.err.toStdString();
    EXPECT_EQ(created.out, "created " + db + " with the schema and the reference data\n");
    // Patient records: nobody but the one who made them may read the file or look into its folders.
    EXPECT_TRUE(mss::test::ownerOnly(db));
    EXPECT_TRUE(mss::test::ownerOnly(folder));
    EXPECT_TRUE(mss::test::ownerOnly(dir.filePath("hospitals")));

    const QByteArray schemaOnly = contentOf(db);
    for (const QStringList& again : {QStringList{"create", db}, QStringList{"demo", db}}) {
        const ToolRun refused = tool(again);
        EXPECT_EQ(refused.status, 1);
        EXPECT_EQ(refused.err, "mss-hospitaldb: " + db + " already exists; --force replaces it\n");
        EXPECT_EQ(contentOf(db), schemaOnly);
    }
    const ToolRun refusedInit = tool({"init", db}, "secret\n");
    EXPECT_EQ(refusedInit.status, 1);
    EXPECT_EQ(contentOf(db), schemaOnly);

    const ToolRun demo = tool({"demo", "--force", db});
    ASSERT_EQ(demo.status, 0) << demo.err.toStdString();
    EXPECT_TRUE(demo.out.startsWith("created " + db + " from the demo hospital")) << demo.out.toStdString();
    EXPECT_TRUE(demo.out.contains("patients 500,")) << demo.out.toStdString();
    EXPECT_TRUE(mss::test::ownerOnly(db));
    EXPECT_EQ(QDir(folder).entryList(QDir::Files), QStringList{"h.db"}) << "nothing built aside is left";
    const ToolRun count = tool({"exec", db}, "select count(*) as n from PATIENT_DATA..tbMaster\n");
    EXPECT_EQ(count.out, "n\n500\n\n");
    EXPECT_EQ(count.err, "mss-hospitaldb: ran 1 statement on " + db + "\n");

    const ToolRun user = tool({"user", "add", "0100", "--name", "CRUZ, ANA", "--rights", "A", db}, "pw\n");
    EXPECT_EQ(user.status, 0) << user.err.toStdString();
    EXPECT_EQ(user.out, "added account 0100 to " + db + "\n");
    const ToolRun check = tool({"check", db});
    EXPECT_EQ(check.status, 0) << check.out.toStdString();
    EXPECT_EQ(check.out, db + ": ok, no problems found\n");
}

}  // namespace
