#include "assessment/frmreprintarr.h"
#include "promptdouble.h"
#include "reporttesting.h"
#include "shell/reports/reports.h"
#include "testhospital.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <gtest/gtest.h>

using namespace mss;
using namespace mss::assessment;
using namespace mss::reports;

namespace {

// Re-printing the Assessment and Referral form, from the menu command and the re-print screen.
class ReprintTest : public ::testing::Test {
protected:
    void SetUp() override {
        ctx_.reportFolder = QStringLiteral(MSS_SOURCE_DIR) + "/reports/";
        ReportSettings s;
        s.company = hospital_.scalar("SELECT Company FROM PATIENT_DATA..tbHospitalInfo");
        s.logOn.database = "MSS";
        s.logOn.sessionConnectionString = hospital_.connection().ConnectionString();
        SetReportSettings(s);
    }
    void TearDown() override { test::closeViewers(); }

    QString shown(const QString& title) { return test::shownReport(title, dir_); }

    test::TestHospital hospital_;
    CatalogContext ctx_;
    QTemporaryDir dir_;
};

TEST_F(ReprintTest, TheChosenPatientsFormOrTheReprintScreensRowIsPrinted) {
    const QString hosp = hospital_.scalar("SELECT TOP 1 HospNum FROM MSS..tbMSSAssessment ORDER BY IdNum");
    const QString idnum = hospital_.scalar("SELECT TOP 1 IdNum FROM MSS..tbMSSAssessment WHERE HospNum = '" + hosp + "' ORDER BY IdNum");
    const QString last = hospital_.scalar("SELECT LastName FROM PATIENT_DATA..tbMaster WHERE HospNum = '" + hosp + "'");
    const QString mss = hospital_.scalar("SELECT MSSNum FROM MSS..tbMSSAssessment WHERE IdNum = '" + idnum + "'");
    const QString licence = hospital_.scalar("SELECT w.LicenseNumber FROM MSS..tbMSSAssessment a JOIN MSS..tbMSSEmployee w "
                                             "ON w.EmployeeCode = a.MSSW WHERE a.IdNum = '" + idnum + "'");
    ctx_.patient.HospNum = hosp + "  ";
    ctx_.patient.IDNUM = idnum;
    ReprintARR(ctx_);
    const QString t = shown("Assessment and Referal report");
    EXPECT_TRUE(t.contains("ASSESSMENT AND REFERRAL FORM"));
    EXPECT_TRUE(t.contains(last));
    EXPECT_TRUE(t.contains(mss));
    // The form's hospital number is the one it was asked for, beside the MSS number.
    EXPECT_TRUE(QRegularExpression("Hospital No\\.:\\s+" + hosp + "\\b").match(t).hasMatch()) << t.toStdString();
    EXPECT_TRUE(QRegularExpression("MSS No\\.:\\s+" + QRegularExpression::escape(mss)).match(t).hasMatch());
    EXPECT_TRUE(t.contains("Licence No. " + licence)) << t.toStdString();
    EXPECT_TRUE(t.contains("Intake Sheet"));

    // No patient chosen: the re-print screen, searched by hospital number, row clicked, printed.
    ctx_.patient = {};
    test::ScriptedPrompts prompts;
    prompts.expectDialog([&](QDialog& d) {
        auto& s = static_cast<frmReprintARR&>(d);
        EXPECT_EQ(s.windowTitle(), "Medical Social Service ");
        s.txtSearch->setText(" " + hosp + " ");
        QTest::keyClick(s.txtSearch, Qt::Key_Return);
        EXPECT_GE(s.GridAssessment->rowCount(), 1);
        EXPECT_EQ(s.GridAssessment->columnCount(), 11);
        EXPECT_TRUE(s.GridAssessment->isColumnHidden(10));
        EXPECT_EQ(s.GridAssessment->horizontalHeaderItem(1)->text(), " Hosp. Num ");
        int row = 0;
        for (int r = 0; r < s.GridAssessment->rowCount(); ++r)
            if (s.GridAssessment->item(r, 2)->text() == idnum) row = r;
        QTest::mouseClick(s.GridAssessment->viewport(), Qt::LeftButton, {},
                          s.GridAssessment->visualItemRect(s.GridAssessment->item(row, 1)).center());
        EXPECT_EQ(s.rowToPrint().value(1), idnum);
        // Nothing found: the grid keeps its rows.
        s.txtSearch->setText("no such patient");
        QTest::keyClick(s.txtSearch, Qt::Key_Return);
        EXPECT_GE(s.GridAssessment->rowCount(), 1);
        s.btnPrint->click();
        EXPECT_FALSE(s.isVisible());
        return int(QDialog::Accepted);
    });
    ReprintARR(ctx_);
    const QString r = shown("Assessment and Referal report");
    EXPECT_TRUE(r.contains(mss));
    EXPECT_TRUE(r.contains("Licence No. " + licence));
}

}  // namespace
