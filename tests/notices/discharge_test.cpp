#include "noticetesting.h"
#include "failure.h"
#include "notices/frmclearpatient.h"
#include "notices/frmdischargenotice.h"
#include "notices/noticeboard.h"
#include "promptdouble.h"
#include "reporttesting.h"
#include "shell/db/text.h"
#include "shell/reports/catalog.h"
#include "shell/reports/dateprompts.h"
#include "shell/reports/reports.h"

#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

using namespace mss;
using namespace mss::notices;
using test::clickLine;
using test::kWorker;
using test::lineWith;

namespace {

constexpr int kAdmColumn = 2;

class DischargeNotices : public ::testing::Test {
protected:
    void TearDown() override { test::closeViewers(); }
    QString scalar(const QString& sql) { return hospital_.scalar(sql); }
    // The report commands as the main window runs them, on this hospital.
    reports::CatalogContext reportContext() {
        reports::ReportSettings settings;
        settings.company = scalar("SELECT Company FROM PATIENT_DATA..tbHospitalInfo");
        settings.logOn.database = "MSS";
        settings.logOn.sessionConnectionString = hospital_.connection().ConnectionString();
        reports::SetReportSettings(settings);
        reports::CatalogContext ctx;
        ctx.reportFolder = QStringLiteral(MSS_SOURCE_DIR) + "/reports/";
        return ctx;
    }
    // An open notice that no ward has revoked, of a patient assessed (or not) by the department.
    QString openNotice(const QString& condition) {
        return scalar("SELECT TOP 1 n.IdNum FROM MSS..tbMSSDischargeNotice n "
                      "LEFT JOIN MSS..tbMSSAssessment a ON a.IdNum = n.IdNum "
                      "WHERE n.ClearDate IS NULL AND n.RevokedDate IS NULL AND " + condition + " ORDER BY n.IdNum");
    }
    // Picks the line of an admission in the list as a worker does, then presses Select.
    static std::function<int(QDialog&)> choose(const QString& idnum, const QString& expectIcon) {
        return [=](QDialog& d) {
            auto& list = static_cast<frmDischargeNotice&>(d);
            list.show();
            QTreeWidgetItem* line = lineWith(*list.lvwRequest, kAdmColumn, idnum);
            EXPECT_NE(line, nullptr) << idnum.toStdString();
            if (!line) return int(QDialog::Rejected);
            EXPECT_EQ(IconKey(*line), expectIcon);
            clickLine(*list.lvwRequest, line);
            list.cmdSelect->click();
            EXPECT_EQ(list.IDNUM(), idnum);
            return list.result();
        };
    }
    static std::function<int(QDialog&)> closeList(std::function<void(frmDischargeNotice&)> check = {}) {
        return [=](QDialog& d) {
            auto& list = static_cast<frmDischargeNotice&>(d);
            if (check) check(list);
            list.cmdClose->click();
            EXPECT_TRUE(list.IDNUM().isEmpty());
            return list.result();
        };
    }

    test::TestHospital hospital_;
    test::ScriptedPrompts prompts_;
};

TEST_F(DischargeNotices, TheListMarksEachNoticeAndLeavesRevokedOnesOut) {
    // A ward that sent its notice without a time.
    hospital_.openAnother()->Execute("UPDATE MSS..tbMSSDischargeNotice SET NoticeDate = NULL WHERE IdNum = '" +
                                     openNotice("a.IdNum IS NULL") + "'");
    const auto notices = test::rows(hospital_, "SELECT n.IdNum, n.ClearDate, n.NoticeDate FROM MSS..tbMSSDischargeNotice n "
                                               "WHERE n.RevokedDate IS NULL");
    const auto revoked = test::rows(hospital_, "SELECT IdNum FROM MSS..tbMSSDischargeNotice WHERE RevokedDate IS NOT NULL");
    ASSERT_FALSE(revoked.isEmpty()) << "the demo's ward revokes some notices";

    frmDischargeNotice list;
    EXPECT_EQ(list.windowTitle(), "Discharge Notice");
    EXPECT_EQ(hospital_.takeStatements(), QStringList{"MSS..sp_MSS_LoadDischargeNotice "});
    QTreeWidget& lvw = *list.lvwRequest;
    EXPECT_EQ(test::headings(lvw), (QStringList{"Patient", "Room", "Adm. #", "Discharge Nurse", "Notice Time"}));
    EXPECT_EQ(lvw.columnWidth(0), text::TwipsToPixels(3000));
    EXPECT_GE(lvw.columnWidth(4), text::TwipsToPixels(2100));
    EXPECT_EQ(lvw.columnWidth(1), text::TwipsToPixels(1440));
    ASSERT_EQ(lvw.topLevelItemCount(), notices.size());
    int withoutTime = 0, cleared = 0;
    for (const auto& n : notices) {
        QTreeWidgetItem* line = lineWith(lvw, kAdmColumn, n[0].toString());
        ASSERT_NE(line, nullptr);
        const bool isCleared = n[1].isValid() && !n[1].isNull();
        cleared += isCleared;
        EXPECT_EQ(IconKey(*line), isCleared ? "clear" : "open") << n[0].toString().toStdString();
        EXPECT_EQ(line->text(4), text::GeneralDate(n[2].toDateTime()));
        if (line->text(4).isEmpty()) ++withoutTime;
    }
    EXPECT_GT(cleared, 0);
    EXPECT_GT(withoutTime, 0) << "some wards send notices without a time";
    for (const auto& r : revoked) EXPECT_EQ(lineWith(lvw, kAdmColumn, r[0].toString()), nullptr);
    EXPECT_FALSE(list.imgOpen->pixmap().isNull());
    EXPECT_FALSE(list.imgClear->pixmap().isNull());
    EXPECT_NE(list.imgOpen->pixmap().toImage(), list.imgClear->pixmap().toImage());

    // The first line starts selected; with none selected, Select does nothing.
    EXPECT_EQ(SelectedLine(lvw), lvw.topLevelItem(0));
    list.show();
    lvw.clearSelection();
    list.cmdSelect->click();
    EXPECT_TRUE(list.isVisible());
    EXPECT_EQ(list.IDNUM(), "");
}

TEST_F(DischargeNotices, ClearingAnAssessedPatientShowsHisMSSDataAndMarksTheNotice) {
    const QString idnum = openNotice("a.IsCDF = 1 AND a.IsPCSO = 1 AND a.IsSpecial = 1 AND a.NC > 0");
    ASSERT_FALSE(idnum.isEmpty());
    const QString hosp = scalar("SELECT HospNum FROM PATIENT_DATA..tbPatient2 WHERE IdNum = '" + idnum + "'");
    const QString mss = scalar("SELECT MSSNum FROM MSS..tbMSSAssessment WHERE IdNum = '" + idnum + "'");
    const QString code = scalar("SELECT Code FROM MSS..tbMSSAssessment WHERE IdNum = '" + idnum + "'");
    const QString nc = text::NumberText(scalar("SELECT NC FROM MSS..tbMSSAssessment WHERE IdNum = '" + idnum + "'").toDouble());
    ASSERT_NE(mss, hosp);
    const QString typed = "Ma'am Peña's family paid — “₱2,500” at the cashier's";
    const QString sent = "Ma`am Peña`s family paid — “₱2,500” at the cashier`s";

    prompts_.expectDialog([&](QDialog& d) {
        auto& list = static_cast<frmDischargeNotice&>(d);
        list.show();
        QTreeWidgetItem* line = lineWith(*list.lvwRequest, kAdmColumn, idnum);
        EXPECT_NE(line, nullptr);
        if (!line) return int(QDialog::Rejected);
        EXPECT_EQ(IconKey(*line), "open");
        test::doubleClickLine(*list.lvwRequest, line);
        return list.result();
    });
    prompts_.expectDialog([&](QDialog& d) {
        auto& s = static_cast<frmClearPatient&>(d);
        s.show();
        EXPECT_EQ(s.windowTitle(), "Clear Patient");
        EXPECT_EQ(s.lblHeading->text(), "Clear Patient for Discharge");
        EXPECT_EQ(s.txtAdmNo->text(), idnum);
        EXPECT_EQ(s.txtHospNo->text(), hosp);
        EXPECT_FALSE(s.txtSname->text().isEmpty());
        EXPECT_FALSE(s.txtDoctor->text().isEmpty());
        EXPECT_FALSE(s.txtAdmDate->text().isEmpty());
        EXPECT_EQ(s.txtClearDate->text(), "For clearing");
        EXPECT_EQ(s.txtClearedBy->text(), "(0002) MANALASTAS, RODEL CRUZ");
        // The MSS data: the MSS number, not the hospital number; the classification beside the category.
        EXPECT_EQ(s.txtMSSNum->text(), mss);
        EXPECT_FALSE(s.txtCategory->text().isEmpty());
        EXPECT_TRUE(s.lblClassification->isVisible());
        EXPECT_EQ(s.lblClassification->text(), code);
        EXPECT_EQ(s.txtOtherInfo->text(), "with CDF; with PCSO; Special Arrangement (NC: " + nc + ")");
        EXPECT_TRUE(s.txtHospNo->isReadOnly());
        EXPECT_FALSE(s.txtClearRemarks->isReadOnly());
        s.txtClearRemarks->setFocus();
        test::typeText(s.txtClearRemarks, typed);
        s.cmdSave->click();
        EXPECT_TRUE(s.backToList());
        return s.result();
    });
    prompts_.expect("Patient has been cleared for discharge.");
    prompts_.expectDialog(closeList([&](frmDischargeNotice& list) {
        QTreeWidgetItem* line = lineWith(*list.lvwRequest, kAdmColumn, idnum);
        ASSERT_NE(line, nullptr);
        EXPECT_EQ(IconKey(*line), "clear");
    }));
    hospital_.takeStatements();
    ShowDischargeNotices(nullptr, kWorker);

    EXPECT_EQ(hospital_.takeStatements(),
              (QStringList{"MSS..sp_MSS_LoadDischargeNotice ", "MSS..sp_MSS_LoadDischargeNoticePatient '" + idnum + "'",
                           "MSS..sp_MSS_PrintAssessment '" + hosp + "','" + idnum + "'",
                           "MSS..sp_MSS_ClearPatientForDischarge '" + idnum + "','0002','" + sent + "'",
                           "MSS..sp_MSS_LoadDischargeNotice "}));
    ASSERT_EQ(prompts_.shown().size(), 1);
    EXPECT_EQ(prompts_.shown()[0].icon, ui::Icon::Information);
    EXPECT_EQ(prompts_.shown()[0].title, "Medical Social Service");
    EXPECT_EQ(scalar("SELECT ClearRemarks FROM MSS..tbMSSDischargeNotice WHERE IdNum = '" + idnum + "'"), sent);
    EXPECT_EQ(scalar("SELECT UserId FROM MSS..tbMSSDischargeNotice WHERE IdNum = '" + idnum + "'"), "0002");
    const QString clearDate = scalar("SELECT ClearDate FROM MSS..tbMSSDischargeNotice WHERE IdNum = '" + idnum + "'");

    // Opened again, the cleared notice is shown as it was cleared and cannot be cleared twice.
    prompts_.expectDialog(choose(idnum, "clear"));
    prompts_.expectDialog([&](QDialog& d) {
        auto& s = static_cast<frmClearPatient&>(d);
        EXPECT_EQ(s.txtClearDate->text(), clearDate);
        EXPECT_EQ(s.txtClearedBy->text(), "0002");
        EXPECT_EQ(s.txtClearRemarks->toPlainText(), sent);
        EXPECT_TRUE(s.txtClearRemarks->isReadOnly());
        EXPECT_FALSE(s.cmdSave->isEnabled());
        EXPECT_EQ(s.cmdIgnore->text(), "&Close");
        s.cmdIgnore->click();
        return s.result();
    });
    prompts_.expectDialog(closeList());
    ShowDischargeNotices(nullptr, kWorker);

    // The monitoring report of the notice's day shows the clearance.
    const reports::CatalogContext ctx = reportContext();
    const QDate noticeDay =
        text::ParseDateTime(scalar("SELECT NoticeDate FROM MSS..tbMSSDischargeNotice WHERE IdNum = '" + idnum + "'")).date();
    prompts_.expectDialog([&](QDialog& d) {
        auto& p = static_cast<reports::ReportDatePrompt&>(d);
        p.dtStart->setDate(noticeDay);
        p.cmdEnter->click();
        return int(QDialog::Accepted);
    });
    reports::DischargeNoticeMonitoring(ctx);
    QTemporaryDir dir;
    const QString report = test::shownReport("Discharge Notice Monitoring Report", dir);
    EXPECT_TRUE(report.contains(idnum));
    EXPECT_TRUE(report.contains("Ma`am Peña`s")) << report.toStdString();
}

TEST_F(DischargeNotices, TheDatabaseRefusesASecondClearanceAndARevokedNotice) {
    const QString first = openNotice("a.IdNum IS NULL");
    ASSERT_FALSE(first.isEmpty());
    const QString second = openNotice("a.IdNum IS NULL AND n.IdNum <> '" + first + "'");
    ASSERT_FALSE(second.isEmpty());
    auto elsewhere = hospital_.openAnother();

    // Another worker clears the notice while this one is looking at it.
    prompts_.expectDialog(choose(first, "open"));
    prompts_.expectDialog([&](QDialog& d) {
        auto& s = static_cast<frmClearPatient&>(d);
        s.show();
        // A patient the department never assessed has no MSS data.
        EXPECT_EQ(s.txtMSSNum->text(), "");
        EXPECT_FALSE(s.lblClassification->isVisible());
        EXPECT_EQ(s.txtOtherInfo->text(), "");
        elsewhere->Execute("MSS..sp_MSS_ClearPatientForDischarge '" + first + "','0003','by phone'");
        s.txtClearRemarks->setPlainText("second try");
        s.cmdSave->click();
        EXPECT_TRUE(s.isVisible()) << "a refused clearance keeps the screen open";
        EXPECT_FALSE(s.backToList());
        s.cmdIgnore->click();
        return s.result();
    });
    prompts_.expect("Run-time error '50051':\n\nThe patient of admission " + first + " was already cleared for discharge on *");
    prompts_.expectDialog(closeList());
    ShowDischargeNotices(nullptr, kWorker);
    EXPECT_EQ(prompts_.shown().last().icon, ui::Icon::Critical);
    EXPECT_EQ(scalar("SELECT UserId + '/' + ClearRemarks FROM MSS..tbMSSDischargeNotice WHERE IdNum = '" + first + "'"),
              "0003/by phone");

    // The ward revokes the notice while it is open here.
    prompts_.expectDialog(choose(second, "open"));
    prompts_.expectDialog([&](QDialog& d) {
        auto& s = static_cast<frmClearPatient&>(d);
        s.show();
        elsewhere->Execute("PATIENT_DATA..sp_Adm_RevokeDischargeNotice '" + second + "','WARD'");
        s.cmdSave->click();
        EXPECT_TRUE(s.isVisible());
        s.cmdIgnore->click();
        return s.result();
    });
    prompts_.expect("Run-time error '50052':\n\nThe discharge notice of admission " + second + " was revoked.");
    prompts_.expectDialog(closeList([&](frmDischargeNotice& list) {
        EXPECT_EQ(lineWith(*list.lvwRequest, kAdmColumn, second), nullptr) << "a revoked notice leaves the list";
    }));
    ShowDischargeNotices(nullptr, kWorker);
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM MSS..tbMSSDischargeNotice WHERE IdNum = '" + second + "' AND ClearDate IS NULL"),
              "1");
}

TEST_F(DischargeNotices, ANoticeThatIsGoneOpensEmptyAndClosingTheListOpensNothing) {
    frmClearPatient s("999999", kWorker);
    for (QLineEdit* box : {s.txtHospNo, s.txtAdmNo, s.txtSname, s.txtClearDate, s.txtClearedBy, s.txtMSSNum, s.txtOtherInfo})
        EXPECT_EQ(box->text(), "") << box->objectName().toStdString();
    EXPECT_TRUE(s.cmdSave->isEnabled());
    EXPECT_EQ(s.cmdIgnore->text(), "&Ignore");
    EXPECT_FALSE(s.lblClassification->isVisibleTo(&s));

    prompts_.expectDialog(closeList());
    hospital_.takeStatements();
    ShowDischargeNotices(nullptr, kWorker);
    EXPECT_EQ(hospital_.takeStatements(), QStringList{"MSS..sp_MSS_LoadDischargeNotice "});
}

// How the ward takes a notice back, and where the department finds revoked notices.
TEST_F(DischargeNotices, TheWardRevokesANoticeOnceAndTheReportListsIt) {
    db::Connection& c = hospital_.connection();
    const QString open = openNotice("n.NoticeDate IS NOT NULL");
    const QString discharged = scalar("SELECT TOP 1 n.IdNum FROM MSS..tbMSSDischargeNotice n JOIN PATIENT_DATA..tbPatient2 p "
                                      "ON p.IdNum = n.IdNum WHERE p.DcrDate IS NOT NULL ORDER BY n.IdNum");
    const QString revoke = "PATIENT_DATA..sp_Adm_RevokeDischargeNotice '%1','%2'";
    EXPECT_FAILURE(c.Execute(revoke.arg("999999", "WARD")), 50050);
    EXPECT_FAILURE(c.Execute(revoke.arg(discharged, "WARD")), 50054);
    EXPECT_FAILURE(c.Execute(revoke.arg(open, " ")), 50053);
    EXPECT_FAILURE(c.Execute(revoke.arg(open, "WARD") + ",'01/01/2000'"), 50055);
    c.Execute(revoke.arg(open, "WARD"));
    EXPECT_FAILURE(c.Execute(revoke.arg(open, "WARD")), 50052);
    EXPECT_EQ(scalar("SELECT UpdatedBy FROM MSS..tbMSSDischargeNotice WHERE IdNum = '" + open + "'"), "WARD");

    const auto revoked = test::rows(hospital_, "SELECT IdNum, RevokedDate FROM MSS..tbMSSDischargeNotice "
                                               "WHERE RevokedDate IS NOT NULL ORDER BY RevokedDate");
    ASSERT_GE(revoked.size(), 2);
    const reports::CatalogContext ctx = reportContext();
    prompts_.expectDialog([&](QDialog& d) {
        auto& p = static_cast<reports::ReportDatePrompt&>(d);
        p.dtStart->setDate(revoked.first()[1].toDateTime().date());
        p.dtEnd->setDate(revoked.last()[1].toDateTime().date());
        p.cmdEnter->click();
        return int(QDialog::Accepted);
    });
    reports::RevokedDischargeNotice(ctx);
    QTemporaryDir dir;
    const QString report = test::shownReport("Revoked Discharge Notice Monitoring Report", dir);
    for (const auto& r : revoked) EXPECT_TRUE(report.contains(r[0].toString())) << report.toStdString();
    EXPECT_FALSE(report.contains("No discharge notice was revoked"));
}

}  // namespace
