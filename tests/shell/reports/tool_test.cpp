// mss-report, as hospital IT uses it to try report files.
#include "testhospital.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

struct ToolRun {
    int exitCode = -1;
    QString out, err;
};

ToolRun mssReport(const QStringList& args) {
    QProcess p;
    p.start(QStringLiteral(MSS_BINARY_DIR "/bin/mss-report"), args);
    EXPECT_TRUE(p.waitForFinished(120000));
    return {p.exitCode(), QString::fromUtf8(p.readAllStandardOutput()), QString::fromUtf8(p.readAllStandardError())};
}

TEST(ReportTool, RendersAFileWithTheHospitalsNameAndItsRows) {
    mss::test::TestHospital hospital;
    QTemporaryDir dir;
    const QString pdf = dir.filePath("grantees.pdf");
    const ToolRun r = mssReport({"render", MSS_SOURCE_DIR "/reports/ListofGrantees.rpt", "--db", hospital.path(), "--out",
                             pdf, "--text"});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
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
    QFile f(broken);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("<report>\n  <parameter name=\"x\" type=\"text\">\n</report>\n");
    f.close();
    const QString pdf = dir.filePath("out.pdf");
    const ToolRun r = mssReport({"render", broken, "--db", hospital.path(), "--out", pdf});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err.contains("broken.rpt")) << r.err.toStdString();
    EXPECT_FALSE(QFile::exists(pdf));
    EXPECT_EQ(mssReport({"render"}).exitCode == 0, false);
}

}  // namespace
