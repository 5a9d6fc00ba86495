#include "failure.h"
#include "reporttesting.h"
#include "hospitaldb/engine.h"
#include "promptdouble.h"
#include "shell/db/dbaccess.h"
#include "shell/dialogs/action.h"
#include "shell/reports/dateprompts.h"
#include "shell/reports/reports.h"

#include <QComboBox>
#include <QLabel>
#include <QFile>
#include <QPrintDialog>
#include <QPrinter>
#include <QFileDialog>
#include <gtest/gtest.h>

using namespace mss;
using namespace mss::reports;

namespace {

// A ward of our own, so the engine's arithmetic is checked against numbers we chose.
class ReportEngineTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir_.isValid());
        db_ = dir_.filePath("ward.db");
        write("ward.sql", R"(
CREATE TABLE MSS__tbCharge (Id INTEGER PRIMARY KEY, HospNum TEXT COLLATE TSQL, Dept TEXT COLLATE TSQL,
                            Item TEXT COLLATE TSQL, Amount MONEY, ChargedOn DATETIME);
INSERT INTO MSS__tbCharge VALUES (1, 'H1', 'LABORATORY', 'CBC', 350.25, '2026-03-01 08:00:00');
INSERT INTO MSS__tbCharge VALUES (2, 'H1', 'LABORATORY', 'URINALYSIS', 1200, '2026-03-02 08:00:00');
INSERT INTO MSS__tbCharge VALUES (3, 'H1', 'PHARMACY', 'PARACETAMOL', 1000000.5, '2026-03-02 09:00:00');
INSERT INTO MSS__tbCharge VALUES (4, 'H2', 'PHARMACY', 'O''BRIEN TABLETS', 99, '2026-03-03 09:00:00');
)");
        hospitaldb::CreateOptions options;
        options.builtinSchema = false;
        options.referenceData = false;
        options.extraScripts = {dir_.filePath("ward.sql")};
        hospitaldb::createDatabase(db_, options);
        settings_.company = "WARD HOSPITAL";
        settings_.logOn.sessionConnectionString = db::embeddedConnectionString(db_);
        SetReportSettings(settings_);
    }
    void TearDown() override {
        test::closeViewers();
        ReleaseCurrentReport();
    }
    QString write(const QString& name, const QByteArray& content) {
        QFile f(dir_.filePath(name));
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(content);
        return f.fileName();
    }
    // A statement of charges: one parameter field per kind, grouped by department.
    QString chargesReport(const QByteArray& extraBody = {}) {
        return write("charges.rpt", R"(<?xml version="1.0"?>
<report title="Charges">
  <parameter name="HospNum" type="text"/>
  <parameter name="From" type="date"/>
  <parameter name="Limit" type="number"/>
  <parameter name="Detailed" type="boolean"/>
  <query name="charges"><![CDATA[
SELECT Dept, Item, Amount, ChargedOn FROM MSS..tbCharge
 WHERE HospNum = {?HospNum} AND ChargedOn >= {?From} ORDER BY Dept, Id
  ]]></query>
  <page size="A4" orientation="portrait" margins="10"/>
  <reportHeader><text>{company} / {title}</text><text>Patient {?HospNum} from {?From} limit {?Limit} detailed {?Detailed}</text></reportHeader>
  <body>
    <table query="charges" total="Grand total" empty="No charges.">
      <group field="Dept" header="Department {Dept}" footer="Total {Dept}"/>
      <column title="Item" field="Item" width="40"/>
      <column title="Date" field="ChargedOn" format="date" width="20"/>
      <column title="Amount" field="Amount" format="##,###,###,##0.00" width="30" align="right" total="sum"/>
    </table>
)" + extraBody + R"(
  </body>
  <pageFooter><text>Page {page} of {pages}</text></pageFooter>
</report>
)");
    }
    QString renderedText(const QString& file, const QVariantList& params) {
        PrepareReport(file, params);
        return CurrentReport()->render("Charges").pageText(0);
    }

    QTemporaryDir dir_;
    QString db_;
    ReportSettings settings_;
};

TEST_F(ReportEngineTest, GroupsAndTotalsAddUpWithAmountFormat) {
    const QString text = renderedText(chargesReport(), {"H1", "03/01/2026", "5", "True"});
    EXPECT_TRUE(text.contains("WARD HOSPITAL / Charges"));
    EXPECT_TRUE(text.contains("Patient H1 from 03/01/2026 limit 5 detailed True"));
    EXPECT_TRUE(text.contains("Department LABORATORY\nCBC\n03/01/2026\n350.25"));
    EXPECT_TRUE(text.contains("Total LABORATORY\n1,550.25"));
    EXPECT_TRUE(text.contains("Total PHARMACY\n1,000,000.50"));
    EXPECT_TRUE(text.contains("Grand total\n1,001,550.75"));
    EXPECT_TRUE(text.contains("Page 1 of 1"));
    EXPECT_FALSE(text.contains("BRIEN"));
}

TEST_F(ReportEngineTest, ParametersGoByPositionAndCarryApostrophesSafely) {
    const QString file = chargesReport();
    // Fields beyond the list stay empty: no date means no row passes the date condition.
    EXPECT_TRUE(renderedText(file, {"H1"}).contains("No charges."));
    // Elements beyond the fields are ignored.
    EXPECT_TRUE(renderedText(file, {"H1", "03/02/2026", "", "", "extra", 42}).contains("Grand total\n1,001,200.50"));
    // A value with an apostrophe is a value, not SQL.
    EXPECT_TRUE(renderedText(file, {"H2' OR '1'='1", "01/01/2000"}).contains("No charges."));
    try {
        PrepareReport(file, {"H1", "not a date"});
        FAIL() << "a text that is no date was accepted for a date field";
    } catch (const db::Failure& f) {
        EXPECT_EQ(f.Number, errnum::ParameterRejected);
        EXPECT_TRUE(f.Description.contains("charges.rpt, line 4")) << f.Description.toStdString();
    }
}

TEST_F(ReportEngineTest, LongReportsBreakPagesAndRepeatHeaders) {
    QByteArray many;
    for (int i = 0; i < 120; ++i) many += "<text>filler line " + QByteArray::number(i) + "</text>\n";
    PrepareReport(chargesReport(many), {"H1", "01/01/2026"});
    const RenderedReport r = CurrentReport()->render("Charges");
    ASSERT_GE(r.pages.size(), 2);
    const QString pages = QString::number(r.pages.size());
    EXPECT_TRUE(r.pageText(0).contains("Page 1 of " + pages));
    EXPECT_TRUE(r.pageText(int(r.pages.size()) - 1).contains("Page " + pages + " of " + pages));
    EXPECT_TRUE(r.pageText(int(r.pages.size()) - 1).contains("filler line 119"));
}

// Summary amounts sit under the table's amount column, and a long label never runs into its value.
TEST_F(ReportEngineTest, FieldValuesAlignAndLabelsStayClearOfThem) {
    PrepareReport(chargesReport(R"(<fields columns="1" labelWidth="60" bold="true" align="right">
      <field label="Grand total again" value="{charges.Amount|amount}"/></fields>
    <fields columns="2" labelWidth="25"><field label="Occupation / Salary:" value="CARPENTER"/></fields>)"),
                  {"H1", "03/01/2026"});
    const RenderedReport r = CurrentReport()->render("Charges");
    const DrawItem* amount = nullptr;
    const DrawItem* summary = nullptr;
    const DrawItem* label = nullptr;
    const DrawItem* value = nullptr;
    for (const DrawItem& d : r.pages[0].items) {
        if (d.text == "Amount") amount = &d;
        if (d.text == "350.25" && d.bold) summary = &d;
        if (d.text == "Occupation / Salary:") label = &d;
        if (d.text == "CARPENTER") value = &d;
    }
    ASSERT_TRUE(amount && summary && label && value);
    EXPECT_TRUE(summary->flags & Qt::AlignRight);
    EXPECT_NEAR(summary->rect.right(), amount->rect.right(), 3);
    // Painting adds 2pt of slack to every box; the label must still end before the value starts.
    EXPECT_LT(label->rect.right() + 2, value->rect.left());
}

TEST_F(ReportEngineTest, BrokenFilesFailWithFileAndLineAndOpenNoViewer) {
    struct Case { QByteArray content; long number; QString where; };
    const QList<Case> cases{
        {"<report>\n<parameter name=\"A\" type=\"text\">\n</report>\n", errnum::MalformedFile, "line 3"},
        {"<report>\n<parameter name=\"A\" type=\"money\"/>\n</report>\n", errnum::MalformedFile, "line 2"},
        {"<report>\n<query name=\"q\">SELECT 1 AS X WHERE {?Nope} = 1</query>\n</report>\n", errnum::UnknownField, "line 2"},
        {"<report>\n<body>\n<text>{Nobody}</text>\n</body>\n</report>\n", errnum::UnknownField, "line 3"},
        {"<report>\n<query name=\"q\">SELECT 1 AS X</query>\n<body>\n<text>{q.Y}</text></body></report>", errnum::UnknownField, "line 4"},
        {"<report>\n<query name=\"q\">SELECT Nothing FROM MSS..tbMissing</query>\n</report>\n", 208, "line 2"},
        {"<report>\n<query name=\"q\">SELECT 1 AS Y</query>\n<body>\n<text>{q.Y|sparkle}</text></body></report>", errnum::MalformedFile, "line 4"},
    };
    for (const Case& c : cases) {
        const QString file = write("broken.rpt", c.content);
        test::ScriptedPrompts prompts;
        prompts.expect(QString("Run-time error '%1':*").arg(c.number));
        const bool ran = ui::RunAction([&] {
            PrepareReport(file);
            ShowReport("Broken");
        });
        EXPECT_FALSE(ran) << c.content.toStdString();
        ASSERT_EQ(prompts.shown().size(), 1);
        EXPECT_TRUE(prompts.shown()[0].text.contains(QString::number(c.number))) << prompts.shown()[0].text.toStdString();
        EXPECT_TRUE(prompts.shown()[0].text.contains("broken.rpt, " + c.where)) << prompts.shown()[0].text.toStdString();
        EXPECT_TRUE(test::openViewers().isEmpty());
    }
    EXPECT_FAILURE(PrepareReport(dir_.filePath("missing.rpt")), errnum::FileNotFound);
}

TEST_F(ReportEngineTest, ViewersKeepTheirOwnReportAndPageThroughZoomAndExport) {
    QByteArray many;
    for (int i = 0; i < 150; ++i) many += "<text>line " + QByteArray::number(i) + "</text>\n";
    const QString file = chargesReport(many);
    PrepareReport(file, {"H1", "01/01/2026"});
    ShowReport("First");
    PrepareReport(file, {"H2", "01/01/2026"});
    ShowReport("Second");
    auto viewers = test::openViewers();
    ASSERT_EQ(viewers.size(), 2);
    frmReportViewer* first = viewers[0]->windowTitle() == "First" ? viewers[0] : viewers[1];
    frmReportViewer* second = first == viewers[0] ? viewers[1] : viewers[0];
    EXPECT_TRUE(test::viewerText(first, dir_).contains("Patient H1"));
    EXPECT_TRUE(test::viewerText(second, dir_).contains("Patient H2"));

    ReportView* view = first->CRViewer1;
    ASSERT_GE(view->pageCount(), 2);
    view->actLast->trigger();
    EXPECT_EQ(view->currentPage(), view->pageCount());
    EXPECT_FALSE(view->actNext->isEnabled());
    view->actPrevious->trigger();
    EXPECT_EQ(view->currentPage(), view->pageCount() - 1);
    view->actFirst->trigger();
    EXPECT_EQ(view->lblPage->text(), QString("Page 1 of %1").arg(view->pageCount()));
    const double before = view->zoomFactor();
    view->actZoomIn->trigger();
    EXPECT_GT(view->zoomFactor(), before);
    view->cboZoom->setCurrentIndex(4);
    emit view->cboZoom->activated(4);
    EXPECT_NEAR(view->zoomFactor(), 1.0, 0.01);

    // The viewer follows its window.
    first->resize(640, 480);
    QApplication::processEvents();
    EXPECT_EQ(view->size(), first->size());

    // Export through the dialog, print through the system's print dialog (to a file here).
    test::ScriptedPrompts prompts;
    const QString exported = dir_.filePath("exported.pdf");
    prompts.expectDialog([&](QDialog& d) {
        static_cast<QFileDialog&>(d).selectFile(exported);
        return int(QDialog::Accepted);
    });
    view->actExport->trigger();
    EXPECT_TRUE(test::pdfText(exported).contains("Total LABORATORY"));
    const QString printed = dir_.filePath("printed.pdf");
    prompts.expectDialog([&](QDialog& d) {
        QPrinter* p = static_cast<QPrintDialog&>(d).printer();
        p->setOutputFormat(QPrinter::PdfFormat);
        p->setOutputFileName(printed);
        return int(QDialog::Accepted);
    });
    view->actPrint->trigger();
    const QString printedText = test::pdfText(printed);
    EXPECT_TRUE(printedText.contains("Grand total")) << printedText.toStdString();

    // A file that cannot be written (its folder is a plain file) is shown with its number and
    // description; the viewer stays open and usable.
    QFile plain(dir_.filePath("plain.txt"));
    ASSERT_TRUE(plain.open(QIODevice::WriteOnly));
    plain.close();
    const QString unwritable = dir_.filePath("plain.txt/exported.pdf");
    prompts.expectDialog([&](QDialog& d) {
        static_cast<QFileDialog&>(d).selectFile(unwritable);
        return int(QDialog::Accepted);
    });
    prompts.expect("Run-time error '75':\n\n" + unwritable + ": the file cannot be written");
    view->actExport->trigger();
    EXPECT_TRUE(first->isVisible());
    view->actNext->trigger();
    EXPECT_EQ(view->currentPage(), 2);

    // Closing the newest viewer releases the current report; the other one keeps showing its own.
    ASSERT_TRUE(CurrentReport());
    second->close();
    EXPECT_FALSE(CurrentReport());
    EXPECT_TRUE(test::viewerText(first, dir_).contains("Patient H1"));
    EXPECT_FAILURE(ShowReport("Nothing"), db::errnum::NoReport);
}

TEST_F(ReportEngineTest, DatePromptsReturnShortDatesOrCloseForm) {
    frmReportDateRange range;
    EXPECT_EQ(range.windowTitle(), "Report Date Entry");
    EXPECT_EQ(range.dtStart->date(), QDate::currentDate());
    range.dtStart->setDate(QDate(2026, 3, 1));
    range.dtEnd->setDate(QDate(2026, 3, 31));
    range.cmdEnter->click();
    EXPECT_FALSE(range.CloseForm());
    EXPECT_EQ(range.startdate(), "3/1/2026");
    EXPECT_EQ(range.enddate(), "3/31/2026");
    EXPECT_EQ(range.property("startdate").toString(), "3/1/2026");

    frmReportDate one;
    EXPECT_EQ(one.windowTitle(), "Generate Report");
    EXPECT_EQ(one.dtEnd, nullptr);
    EXPECT_EQ(one.findChild<QLabel*>("lblStart")->text(), "Report Date :");
    one.cmdClose->click();
    EXPECT_TRUE(one.CloseForm());
    EXPECT_TRUE(one.startdate().isEmpty());

    frmReportDate2 two;
    EXPECT_EQ(two.cmdEnter->text(), "&Enter");
    EXPECT_EQ(two.cmdClose->text(), "&Close");
    two.reject();   // the window's close box counts as Close
    EXPECT_TRUE(two.CloseForm());
}

}  // namespace
