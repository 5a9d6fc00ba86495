// mss-report, as hospital IT uses it to try report files.
#include "testhospital.h"
#include "toolrun.h"

#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

using mss::test::ToolRun;

ToolRun mssReport(const QStringList& args) { return mss::test::runTool(QStringLiteral("mss-report"), args); }

void writeFile(const QString& path, const QByteArray& content) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(content);
}

TEST(ReportTool, RendersAFileWithTheHospitalsNameAndItsRows) {
    mss::test::TestHospital hospital;
    QTemporaryDir dir;
    const QString pdf = dir.filePath("grantees.pdf");
    const ToolRun r = mssReport({"render", MSS_SOURCE_DIR "/reports/ListofGrantees.rpt", "--db", hospital.path(), "--out",
                             pdf, "--text"});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_TRUE(QFile(pdf).size() > 1000);
    EXPECT_TRUE(r.out.contains(hospital.scalar("SELECT Company FROM PATIENT_DATA..tbHospitalInfo")));
    const QString grantee = hospital.scalar(
        "SELECT m.LastName FROM PATIENT_DATA..tbMaster m WHERE isnull(m.MSSNum,'') <> '' "
        "AND m.MSSDiscountExpiry >= getdate() ORDER BY m.LastName");
    EXPECT_TRUE(r.out.contains(grantee)) << grantee.toStdString();
}

TEST(ReportTool, ABrokenFileIsRefusedWithItsNameAndNoOutput) {
    mss::test::TestHospital hospital;
    QTemporaryDir dir;
    const QString broken = dir.filePath("broken.rpt");
    writeFile(broken, "<report>\n  <parameter name=\"x\" type=\"text\">\n</report>\n");
    const QString pdf = dir.filePath("out.pdf");
    const ToolRun r = mssReport({"render", broken, "--db", hospital.path(), "--out", pdf});
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(r.err.contains("broken.rpt")) << r.err.toStdString();
    EXPECT_FALSE(QFile::exists(pdf));
    EXPECT_EQ(mssReport({"render"}).status == 0, false);
}

TEST(ReportTool, ExplainsItselfAndNamesWhatIsWrongWithACall) {
    const ToolRun help = mssReport({"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_TRUE(help.out.contains("\n  render REPORT.rpt --db DB")) << help.out.toStdString();
    EXPECT_TRUE(QRegularExpression("^mss-report \\d+\\.\\d+\n$").match(mssReport({"--version"}).out).hasMatch());
    const ToolRun renderHelp = mssReport({"render", "--help"});
    EXPECT_EQ(renderHelp.status, 0);
    EXPECT_TRUE(renderHelp.out.startsWith("usage: mss-report render REPORT.rpt")) << renderHelp.out.toStdString();

    const QString report = MSS_SOURCE_DIR "/reports/ListofGrantees.rpt";
    struct Wrong {
        QStringList args;
        const char* named;
    };
    const Wrong wrong[] = {
        {{"draw", report}, "mss-report: unknown command 'draw'"},
        {{"render", report, "--db", "h.db", "--out", "x.pdf", "--landscape"},
         "mss-report render: unknown option '--landscape'"},
        {{"render", report, "--db", "h.db"}, "mss-report render: --db and --out are required"},
        {{"render", report, "--db"}, "mss-report render: option '--db' needs a value"},
        {{"render", "--db", "h.db", "--out", "x.pdf"}, "mss-report render: missing arguments"},
    };
    for (const Wrong& w : wrong) {
        const ToolRun r = mssReport(w.args);
        const std::string call = w.args.join(' ').toStdString();
        EXPECT_EQ(r.status, 2) << call;
        EXPECT_TRUE(r.err.contains(w.named)) << call << ": " << r.err.toStdString();
        EXPECT_TRUE(r.err.contains("usage: mss-report")) << call << ": " << r.err.toStdString();
    }
}

TEST(ReportTool, AnExistingFileIsReplacedOnlyWhenForced) {
    mss::test::TestHospital hospital;
    QTemporaryDir dir;
    const QString pdf = dir.filePath("grantees.pdf");
    writeFile(pdf, "the worker's own file");
    QFile earlier(pdf);
    const QStringList render{"render", MSS_SOURCE_DIR "/reports/ListofGrantees.rpt", "--db", hospital.path(), "--out", pdf};
    const ToolRun refused = mssReport(render);
    EXPECT_EQ(refused.status, 1);
    EXPECT_TRUE(refused.err.contains(pdf + " already exists; --force replaces it")) << refused.err.toStdString();
    ASSERT_TRUE(earlier.open(QIODevice::ReadOnly));
    EXPECT_EQ(earlier.readAll(), "the worker's own file");
    earlier.close();

    const ToolRun forced = mssReport(render + QStringList{"--force"});
    ASSERT_EQ(forced.status, 0) << forced.err.toStdString();
    EXPECT_TRUE(QRegularExpression("^wrote .*grantees.pdf: \\d+ pages?\n$").match(forced.out).hasMatch()) << forced.out.toStdString();
    ASSERT_TRUE(earlier.open(QIODevice::ReadOnly));
    EXPECT_TRUE(earlier.readAll().startsWith("%PDF"));
}

}  // namespace
