#include "app/firststart.h"
#include "app/startup.h"
#include "billing/frmcomputediscount.h"
#include "intake/frmintakesheet.h"
#include "login.h"
#include "patient/frmlistpatient.h"
#include "promptdouble.h"
#include "shell/components/frmlogin.h"
#include "shell/db/text.h"
#include "shell/dialogs/settings.h"
#include "shell/mainwindow/mdimss.h"
#include "shell/session/session.h"
#include "testhospital.h"
#include "toolrun.h"

#include <QApplication>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QFileInfo>
#include <QDateEdit>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QRadioButton>
#include <QSettings>
#include <QTreeWidget>
#include <gtest/gtest.h>

using namespace mss;

namespace {

using test::logIn;

class StartupTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { QStandardPaths::setTestModeEnabled(true); }
    void SetUp() override {
        // Tests run side by side: each keeps its own remembered servers.
        previousSettings_ = ui::settingsFile();
        ui::setSettingsFile(dir_.filePath("settings.ini"));
        setProgramFolder(dir_.path());
        Selection() = PatientSelection{};
    }
    void TearDown() override {
        if (session().MainWindow) delete session().MainWindow.data();
        session().CurrentUser.reset();
        ui::setSettingsFile(previousSettings_);
        components::CurrentUser::setDefaultEmbeddedPath(QString());
    }
    QTemporaryDir dir_;
    QString previousSettings_;
    test::TestHospital hospital_;
    test::ScriptedPrompts prompts_;
};

TEST_F(StartupTest, TheDemoWorkerLogsInAndSeesTheMainWindow) {
    prompts_.expectDialog(logIn(hospital_.path(), "0001", {"demo"}));
    ASSERT_EQ(StartSession(), StartResult::Running);
    Session& s = session();
    EXPECT_TRUE(s.ReportFolder.endsWith("\\REPORTS\\"));
    EXPECT_EQ(s.ReportFolder, QDir::toNativeSeparators(dir_.path()) + "\\REPORTS\\");
    EXPECT_EQ(s.Company, hospital_.scalar("SELECT Company FROM PATIENT_DATA..tbHospitalInfo"));
    EXPECT_EQ(s.Address1, hospital_.scalar("SELECT Address1 FROM PATIENT_DATA..tbHospitalInfo"));
    EXPECT_EQ(s.EmployeeCode, "0001");
    EXPECT_EQ(s.Connection(), s.CurrentUser->sqlconnection());
    EXPECT_EQ(s.Connection()->DefaultDatabase().toUpper(), "MSS");
    EXPECT_EQ(s.Connection()->GetCursorLocation(), db::CursorLocation::Client);
    EXPECT_TRUE(s.CurrentUser->have_rights("A"));
    // What this worker writes is stamped with the code.
    const db::ResultTable who = s.Connection()->Execute("SELECT mss_user() AS u");
    EXPECT_EQ(who.rows.at(0).at(0).toString(), "0001");
    EXPECT_EQ(s.CurrentUser->Password(), "demo");
    EXPECT_EQ(s.CurrentUser->Database(), "MSS");
    EXPECT_EQ(s.CurrentUser->ServerName(), hospital_.path());
    EXPECT_EQ(s.CodeSearch->SearchTitle, "Medical Social Service");
    EXPECT_EQ(s.CodeSearch->CompanyName, s.Company);
    EXPECT_TRUE(s.CodeSearch->initialized());
    EXPECT_NE(s.RegistryAdmission, nullptr);
    EXPECT_FALSE(s.Registry->ActiveConnection().isEmpty());

    mainwindow::mdiMSS* w = s.MainWindow;
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->windowTitle(), "Medical Social Service");
    auto* user = w->findChild<QLabel*>("CurrentUser");
    ASSERT_NE(user, nullptr);
    EXPECT_EQ(user->text(), "CurrentUser Name:  (0001)  " + s.CurrentUser->EmployeeName());
    EXPECT_FALSE(s.CurrentUser->EmployeeName().isEmpty());
    EXPECT_EQ(user->toolTip(), "User logged on");
    EXPECT_EQ(w->findChild<QLabel*>("CurrentDateTime")->toolTip(), "Current Date Time Values");
    EXPECT_EQ(w->tmrShowDateTime()->interval(), 60);
    EXPECT_EQ(w->tmrReferralNotice()->interval(), 65000);
    EXPECT_TRUE(w->tmrReferralNotice()->isActive());
    EXPECT_EQ(w->Timer1()->interval(), 15000);
    EXPECT_FALSE(w->Timer1()->isActive());
    EXPECT_FALSE(w->Timer2()->isActive());
}

TEST_F(StartupTest, AWrongPasswordLetsTheWorkerTryAgain) {
    QStringList statuses;
    prompts_.expectDialog(logIn(hospital_.path(), "0001", {"wrong", "DEMO", "demo"}, &statuses));
    ASSERT_EQ(StartSession(), StartResult::Running);
    EXPECT_EQ(session().EmployeeCode, "0001");
    EXPECT_EQ(statuses, QStringList(2, "Unknown employee code or wrong password."));
}

TEST_F(StartupTest, FiveFailuresOrCancelEndWithoutAWindow) {
    QStringList statuses;
    prompts_.expectDialog(logIn(hospital_.path(), "0001", {"a", "b", "c", "d", "e", "demo"}, &statuses));
    EXPECT_EQ(StartSession(), StartResult::NotLoggedIn);
    EXPECT_EQ(session().MainWindow, nullptr);
    EXPECT_EQ(statuses, QStringList(4, "Unknown employee code or wrong password."))
        << "the fifth refusal closes the dialog";

    prompts_.expectDialog([](QDialog& d) {
        d.findChild<QPushButton*>("cmdCancel")->click();
        return d.result();
    });
    EXPECT_EQ(StartSession(), StartResult::NotLoggedIn);
    EXPECT_EQ(session().MainWindow, nullptr);
    EXPECT_TRUE(prompts_.shown().isEmpty()) << "a cancelled log-in shows no message";
}

TEST_F(StartupTest, WrongCodeAndPasswordAreRefusedInTheDialog) {
    components::CurrentUser user;
    user.PasswordDeptCode = "MSS";
    QString why;
    EXPECT_FALSE(user.LogIn(hospital_.path(), "9999", "demo", &why));
    EXPECT_EQ(why, "Unknown employee code or wrong password.");
    EXPECT_FALSE(user.Connected().toBool());
    EXPECT_FALSE(user.LogIn(hospital_.path(), "0001", "Demo", &why));
    EXPECT_FALSE(user.LogIn(dir_.filePath("missing.db"), "0001", "demo", &why));
    EXPECT_TRUE(why.contains("does not exist"));
    ASSERT_TRUE(user.LogIn(hospital_.path(), "0002", "demo", &why)) << why.toStdString();
    EXPECT_FALSE(user.have_rights("A")) << "the second demo worker holds no A right";
    EXPECT_TRUE(user.Connected().toBool());
}

TEST_F(StartupTest, AnEmptyHospitalInformationTableEndsStartUpWithAMessage) {
    hospital_.connection().Execute("DELETE FROM PATIENT_DATA..tbHospitalInfo");
    prompts_.expectDialog(logIn(hospital_.path(), "0001", {"demo"}));
    prompts_.expect("Either BOF or EOF is True, or the current record has been deleted. "
                    "Requested operation requires a current record.");
    EXPECT_EQ(StartSession(), StartResult::Failed);
    EXPECT_EQ(session().MainWindow, nullptr);
    ASSERT_EQ(prompts_.shown().size(), 1);
    EXPECT_EQ(prompts_.shown()[0].icon, ui::Icon::Critical);
}

TEST_F(StartupTest, MenusHoldExactlyTheirItems) {
    prompts_.expectDialog(logIn(hospital_.path(), "0001", {"demo"}));
    ASSERT_EQ(StartSession(), StartResult::Running);
    mainwindow::mdiMSS* w = session().MainWindow;
    auto items = [&](const char* menu) {
        QStringList out;
        for (QAction* a : w->findChild<QMenu*>(menu)->actions())
            out << (a->isSeparator() ? "-" : a->objectName().isEmpty() ? a->text() : a->objectName() + ":" + a->text());
        return out;
    };
    EXPECT_EQ(items("mnuFile"), (QStringList{"mnuIntakeSheet:Intake Sheet Entry", "mnuARR:Assessment and Referal",
                                             "mnuEditPatClass:Edit Patient Classification"}));
    QStringList viewing = items("mnuViewing");
    ASSERT_EQ(viewing.size(), 5);
    EXPECT_EQ(viewing[0], "mnuComputeDiscount:View Computation of Discount");
    EXPECT_TRUE(viewing[1].endsWith("View Patient Charges"));
    EXPECT_EQ(items("mnuPatientCharges"), (QStringList{"mnuViewPatientBill:Detailed SOA", "mnuSummarizedSOA:Summarized SOA"}));
    EXPECT_EQ(viewing[4], "mnuViewPatientDatasheet:Patient Datasheet");
    EXPECT_FALSE(w->findChild<QAction*>("mnuViewPatientDatasheet")->isEnabled());
    EXPECT_EQ(items("mnuFileMaintenance"),
              (QStringList{"mnuRePrintIntake:Re-Print Intake Sheet", "mnuRePrintARR:Re-Print ARR",
                           "mnuEditMSSNo:Edit MSS Number", "mnuContractSlip:Contract/Responsibility Slip"}));
    EXPECT_EQ(items("mnuReports"),
              (QStringList{"mnuListGrantees:View List of Grantees", "mnuAssessment:List of Assessments",
                           "mnuTransaction:ARR Transaction Report", "-", "-", "-",
                           "mnuDischargeNoticeReport:Discharge Notice Monitoring",
                           "mnuDischargeNoticeRevoked:Revoked Discharge Notice", "-"}));
    QStringList bar;
    for (QAction* a : w->menuBar()->actions()) bar << a->text();
    EXPECT_EQ(bar, (QStringList{"File", "Viewing", "File Maintenance", "Reports"}));
    EXPECT_EQ(w->findChild<QToolButton*>("btnDataEntry")->text(), "Data Entry");
    EXPECT_EQ(w->findChild<QToolButton*>("btnClose")->toolTip(), "Change Active User");
    EXPECT_FALSE(w->findChild<QToolButton*>("btnDataEntry")->icon().isNull());
}

TEST_F(StartupTest, ClockShowsDayMonthYearAndMinutes) {
    EXPECT_EQ(mainwindow::mdiMSS::clockText(QDateTime(QDate(2026, 12, 9), QTime(7, 5, 59))), "(09 December 2026)  07:05 ");
    EXPECT_EQ(mainwindow::mdiMSS::clockText(QDateTime(QDate(2026, 1, 31), QTime(23, 59, 1))), "(31 January 2026)  23:59 ");
}

TEST_F(StartupTest, IntakeEntryWithoutAPatientOpensTheSearchAndListingReopensIt) {
    prompts_.expectDialog(logIn(hospital_.path(), "0001", {"demo"}));
    ASSERT_EQ(StartSession(), StartResult::Running);
    mainwindow::mdiMSS* w = session().MainWindow;
    db::Connection& c = *session().Connection();
    c.SetLogging(true);
    w->findChild<QAction*>("mnuIntakeSheet")->trigger();
    auto* search = w->area()->findChild<patient::frmListPatient*>("frmListPatient");
    ASSERT_NE(search, nullptr);
    EXPECT_EQ(w->area()->subWindowList().size(), 1);
    EXPECT_TRUE(c.StatementLog().isEmpty()) << "no search without a remembered patient";
    search->findChild<QRadioButton*>("optPatientType_2")->click();
    search->txtLastname()->setText("S");
    QTest::keyClick(search->txtLastname(), Qt::Key_Return);
    ASSERT_GT(search->findChild<QTreeWidget*>("lvwSearchPatient")->topLevelItemCount(), 0);
    const QString hosp = Selection().HospNum;
    ASSERT_FALSE(hosp.isEmpty());
    search->txtHospNum()->setText(hosp);
    c.ClearLog();

    // The listing button reopens the search with its three texts, and it searches at once.
    w->findChild<QToolButton*>("btnListing")->click();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    auto* again = w->area()->findChild<patient::frmListPatient*>("frmListPatient");
    ASSERT_NE(again, nullptr);
    EXPECT_NE(again, search);
    EXPECT_EQ(w->area()->subWindowList().size(), 1);
    EXPECT_EQ(again->txtLastname()->text(), "S");
    EXPECT_EQ(again->txtHospNum()->text(), hosp);
    EXPECT_EQ(c.StatementLog(), QStringList{"MSS..sp_MSS_LoadInPatient '" + hosp + "', '','','',''"});
}

TEST_F(StartupTest, IntakeEntryWithAChosenPatientOpensTheSheetInsideTheWindow) {
    prompts_.expectDialog(logIn(hospital_.path(), "0001", {"demo"}));
    ASSERT_EQ(StartSession(), StartResult::Running);
    mainwindow::mdiMSS* w = session().MainWindow;
    w->findChild<QToolButton*>("btnListing")->click();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    auto* search = w->area()->findChild<patient::frmListPatient*>("frmListPatient");
    search->findChild<QRadioButton*>("optPatientType_0")->click();
    QTest::keyClick(search->txtLastname(), Qt::Key_Return);
    const QString hosp = Selection().HospNum;
    ASSERT_FALSE(hosp.isEmpty());
    w->findChild<QAction*>("mnuIntakeSheet")->trigger();
    auto* sheet = w->area()->findChild<intake::frmIntakeSheet*>("frmIntakeSheet");
    ASSERT_NE(sheet, nullptr);
    EXPECT_EQ(w->area()->activeSubWindow()->widget(), sheet);
    EXPECT_EQ(sheet->txtHospitalNo->text(), hosp);
    // Chosen again, the open sheet comes forward; it is not loaded again.
    w->area()->setActiveSubWindow(qobject_cast<QMdiSubWindow*>(search->parentWidget()));
    w->findChild<QAction*>("mnuIntakeSheet")->trigger();
    EXPECT_EQ(w->area()->findChildren<intake::frmIntakeSheet*>().size(), 1);
    EXPECT_EQ(w->area()->activeSubWindow()->widget(), sheet);
    // Another patient chosen: a sheet of their own, not the first patient's brought forward.
    Selection().IDNUM = hospital_.scalar("SELECT TOP 1 IdNum FROM PATIENT_DATA..tbPatient2 WHERE HospNum <> '" + hosp +
                                         "' ORDER BY IdNum");
    Selection().HospNum = hospital_.scalar("SELECT HospNum FROM PATIENT_DATA..tbPatient2 WHERE IdNum = '" +
                                           Selection().IDNUM + "'");
    w->findChild<QAction*>("mnuIntakeSheet")->trigger();
    ASSERT_EQ(w->area()->findChildren<intake::frmIntakeSheet*>().size(), 2);
    auto* second = qobject_cast<intake::frmIntakeSheet*>(w->area()->activeSubWindow()->widget());
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(second->txtHospitalNo->text(), Selection().HospNum);
}

TEST_F(StartupTest, ThePatientSearchKeepsWhereTheWorkerPlacedIt) {
    prompts_.expectDialog(logIn(hospital_.path(), "0001", {"demo"}));
    ASSERT_EQ(StartSession(), StartResult::Running);
    mainwindow::mdiMSS* w = session().MainWindow;
    w->findChild<QToolButton*>("btnListing")->click();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    auto* frame = qobject_cast<QMdiSubWindow*>(w->area()->findChild<patient::frmListPatient*>("frmListPatient")->parentWidget());
    ASSERT_NE(frame, nullptr);
    EXPECT_TRUE(frame->isMaximized()) << "maximized the first time";
    frame->showNormal();
    frame->setGeometry(10, 20, 640, 360);
    w->findChild<QToolButton*>("btnListing")->click();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    auto* again = qobject_cast<QMdiSubWindow*>(w->area()->findChild<patient::frmListPatient*>("frmListPatient")->parentWidget());
    ASSERT_NE(again, frame);
    EXPECT_FALSE(again->isMaximized());
    EXPECT_EQ(again->geometry(), QRect(10, 20, 640, 360));
}

TEST_F(StartupTest, ListingBeforeAnySearchOpensAnEmptySearchWithoutSearching) {
    prompts_.expectDialog(logIn(hospital_.path(), "0001", {"demo"}));
    ASSERT_EQ(StartSession(), StartResult::Running);
    mainwindow::mdiMSS* w = session().MainWindow;
    session().Connection()->SetLogging(true);
    w->findChild<QToolButton*>("btnListing")->click();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    auto* search = w->area()->findChild<patient::frmListPatient*>("frmListPatient");
    ASSERT_NE(search, nullptr);
    EXPECT_EQ(search->txtHospNum()->text(), "");
    EXPECT_TRUE(session().Connection()->StatementLog().isEmpty());
}

// The menu items' states: no patient, an admission, an ER visit, after Change Active User.
TEST_F(StartupTest, MenuStatesFollowThePatientAndSurviveChangeActiveUser) {
    prompts_.expectDialog(logIn(hospital_.path(), "0001", {"demo"}));
    ASSERT_EQ(StartSession(), StartResult::Running);
    QPointer<mainwindow::mdiMSS> w = session().MainWindow;
    auto enabled = [&](const char* item) { return w->findChild<QAction*>(item)->isEnabled(); };
    auto search = [&](int type) {
        w->findChild<QToolButton*>("btnListing")->click();
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        auto* s = w->area()->findChild<patient::frmListPatient*>("frmListPatient");
        s->findChild<QRadioButton*>(QString("optPatientType_%1").arg(type))->click();
        QTest::keyClick(s->txtLastname(), Qt::Key_Return);
        return s;
    };
    EXPECT_FALSE(enabled("mnuViewPatientDatasheet"));
    EXPECT_TRUE(enabled("mnuIntakeSheet"));
    EXPECT_TRUE(enabled("mnuViewPatientBill"));
    EXPECT_TRUE(enabled("mnuARR")) << "the assessment opens with no patient chosen as well";

    search(0);
    ASSERT_TRUE(text::IsNumeric(Selection().IDNUM)) << Selection().IDNUM.toStdString();
    EXPECT_TRUE(enabled("mnuViewPatientDatasheet"));
    search(3);
    ASSERT_FALSE(Selection().IDNUM.isEmpty());
    EXPECT_FALSE(enabled("mnuViewPatientDatasheet")) << "ER registration numbers are not numeric";

    // The next worker starts with no patient chosen, and the search works for that worker as
    // it did before: the data sheet item follows it and the list's right click pops up File.
    prompts_.expectDialog(logIn(hospital_.path(), "0002", {"demo"}));
    w->findChild<QToolButton*>("btnClose")->click();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    ASSERT_TRUE(w.isNull());
    w = session().MainWindow;
    ASSERT_FALSE(w.isNull());
    EXPECT_EQ(Selection().HospNum, "");
    EXPECT_EQ(Selection().IDNUM, "");
    EXPECT_EQ(Selection().ERNum, "");
    EXPECT_FALSE(enabled("mnuViewPatientDatasheet"));
    patient::frmListPatient* s = search(0);
    ASSERT_FALSE(Selection().HospNum.isEmpty());
    EXPECT_TRUE(enabled("mnuViewPatientDatasheet"));
    auto* file = w->findChild<QMenu*>("mnuFile");
    int popups = 0;
    QObject::connect(file, &QMenu::aboutToShow, [&] { ++popups; });
    auto* list = s->findChild<QTreeWidget*>("lvwSearchPatient");
    QContextMenuEvent click(QContextMenuEvent::Mouse, QPoint(5, 5), list->mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(list->viewport(), &click);
    EXPECT_EQ(popups, 1);
    file->hide();
}

TEST_F(StartupTest, ChangeActiveUserLeavesNoPatientForTheNextWorkersCommands) {
    prompts_.expectDialog(logIn(hospital_.path(), "0001", {"demo"}));
    ASSERT_EQ(StartSession(), StartResult::Running);
    QPointer<mainwindow::mdiMSS> w = session().MainWindow;
    w->findChild<QToolButton*>("btnListing")->click();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    auto* s = w->area()->findChild<patient::frmListPatient*>("frmListPatient");
    s->findChild<QRadioButton*>("optPatientType_2")->click();
    s->txtLastname()->setText("S");
    QTest::keyClick(s->txtLastname(), Qt::Key_Return);
    ASSERT_FALSE(Selection().HospNum.isEmpty());

    prompts_.expectDialog(logIn(hospital_.path(), "0002", {"demo"}));
    w->findChild<QToolButton*>("btnClose")->click();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    w = session().MainWindow;
    ASSERT_FALSE(w.isNull());
    // "Re-Print ARR" without a chosen patient opens the re-print screen, not the last
    // worker's patient's form; the statement asks for a patient.
    prompts_.expectDialog([](QDialog& d) {
        EXPECT_EQ(d.objectName(), "frmReprintARR");
        return int(QDialog::Rejected);
    });
    w->findChild<QAction*>("mnuRePrintARR")->trigger();
    prompts_.expect("Please select a patient.");
    w->findChild<QAction*>("mnuViewPatientBill")->trigger();
}

TEST_F(StartupTest, ChangeActiveUserLogsInAgainAndTheWindowKeepsItsPlace) {
    prompts_.expectDialog(logIn(hospital_.path(), "0001", {"demo"}));
    ASSERT_EQ(StartSession(), StartResult::Running);
    QPointer<mainwindow::mdiMSS> first = session().MainWindow;
    first->resize(700, 500);
    prompts_.expectDialog(logIn(hospital_.path(), "0002", {"demo"}));
    first->findChild<QToolButton*>("btnClose")->click();
    QApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(first.isNull());
    ASSERT_NE(session().MainWindow, nullptr);
    EXPECT_EQ(session().EmployeeCode, "0002");
    EXPECT_EQ(session().MainWindow->size(), QSize(700, 500));
}

TEST_F(StartupTest, ReportCommandsOpenTheirPromptsAndViewers) {
    // The report files are copied beside the program in the build.
    setProgramFolder(QStringLiteral(MSS_BINARY_DIR "/bin"));
    prompts_.expectDialog(logIn(hospital_.path(), "0001", {"demo"}));
    ASSERT_EQ(StartSession(), StartResult::Running);
    mainwindow::mdiMSS* w = session().MainWindow;
    auto viewers = [] {
        QStringList titles;
        for (QWidget* t : QApplication::topLevelWidgets())
            if (t->isVisible() && t->inherits("mss::reports::frmReportViewer")) titles << t->windowTitle();
        return titles;
    };
    w->findChild<QAction*>("mnuListGrantees")->trigger();
    EXPECT_TRUE(viewers().contains("List of Grantees"));

    // Closing the date prompt opens nothing; Enter opens the list for the range.
    prompts_.expectDialog([](QDialog& d) {
        EXPECT_EQ(d.objectName(), "frmReportDateRange");
        d.findChild<QPushButton*>("cmdClose")->click();
        return d.result();
    });
    w->findChild<QAction*>("mnuAssessment")->trigger();
    EXPECT_FALSE(viewers().contains("List of Assessments"));
    prompts_.expectDialog([](QDialog& d) {
        d.findChild<QDateEdit*>("dtStart")->setDate(QDate::currentDate().addYears(-2));
        d.findChild<QDateEdit*>("dtEnd")->setDate(QDate::currentDate());
        d.findChild<QPushButton*>("cmdEnter")->click();
        return d.result();
    });
    w->findChild<QAction*>("mnuAssessment")->trigger();
    EXPECT_TRUE(viewers().contains("List of Assessments"));

    for (QWidget* t : QApplication::topLevelWidgets())
        if (t->inherits("mss::reports::frmReportViewer")) t->close();
}

// "View Computation of Discount" opens a window of its own without waiting; closing it brings
// the patient search back, a fresh one unless the search is disabled.
TEST_F(StartupTest, TheDiscountScreenOpensNotModalAndClosingBringsTheSearchBack) {
    prompts_.expectDialog(logIn(hospital_.path(), "0001", {"demo"}));
    ASSERT_EQ(StartSession(), StartResult::Running);
    mainwindow::mdiMSS* w = session().MainWindow;
    auto openSearch = [&] {
        w->findChild<QToolButton*>("btnListing")->click();
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        return w->area()->findChild<patient::frmListPatient*>("frmListPatient");
    };
    auto discountScreens = [&] { return w->findChildren<billing::frmComputeDiscount*>(); };
    // A demo admission whose discount is stored opens without a message.
    const QString id = hospital_.scalar("SELECT min(IdNum) FROM BILLING..tbBillDailyBill WHERE RevenueID = 'QF'");
    const QString hosp = hospital_.scalar("SELECT HospNum FROM PATIENT_DATA..tbPatient2 WHERE IdNum = '" + id + "'");
    auto choose = [&] {
        Selection().IDNUM = id;
        Selection().HospNum = hosp;
    };
    QAction* item = w->findChild<QAction*>("mnuComputeDiscount");
    ASSERT_TRUE(item->isEnabled());

    patient::frmListPatient* search = openSearch();
    choose();
    item->trigger();
    ASSERT_EQ(discountScreens().size(), 1);
    billing::frmComputeDiscount* screen = discountScreens().first();
    EXPECT_TRUE(screen->isWindow());
    EXPECT_TRUE(screen->isVisible());
    EXPECT_EQ(screen->windowModality(), Qt::NonModal);
    EXPECT_EQ(screen->txtIDNum->text(), id);
    EXPECT_TRUE(screen->frameCovered->isEnabled());
    item->trigger();
    EXPECT_EQ(discountScreens().size(), 1) << "the open one comes forward";

    screen->cmdExit->click();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(discountScreens().isEmpty());
    auto* fresh = w->area()->findChild<patient::frmListPatient*>("frmListPatient");
    ASSERT_NE(fresh, nullptr);
    EXPECT_NE(fresh, search);
    EXPECT_EQ(w->area()->subWindowList().size(), 1);
    EXPECT_EQ(w->area()->activeSubWindow(), fresh->parentWidget());
    EXPECT_TRUE(Selection().IDNUM.isEmpty()) << "the search was unloaded, and the selection with it";

    // A disabled search is only shown again.
    choose();
    item->trigger();
    fresh->setEnabled(false);
    discountScreens().first()->close();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(w->area()->findChild<patient::frmListPatient*>("frmListPatient"), fresh);
    EXPECT_EQ(Selection().IDNUM, id);
}

TEST_F(StartupTest, OnAFirstStartTheDialogIsUpAtOnceAndTheLogInWaitsForTheDemoHospital) {
    // A first start: the default hospital file does not exist yet and is made from the demo.
    // It is this test's own file: the others, side by side, keep using the shared one.
    const QString defaultPath = dir_.filePath("first-start/hospital.db");
    components::CurrentUser::setDefaultEmbeddedPath(defaultPath);
    components::CurrentUser::setFirstStart(&app::PrepareDemoHospital);
    prompts_.expectDialog([&](QDialog& d) {
        d.show();
        QApplication::setActiveWindow(&d);
        EXPECT_TRUE(QTest::qWaitForWindowActive(&d));
        auto* ok = d.findChild<QPushButton*>("cmdOK");
        auto* status = d.findChild<QLabel*>("lblStatus");
        auto* busy = d.findChild<QProgressBar*>("pbPreparing");
        // The worker may type while the demo hospital is being made; the log-in waits.
        EXPECT_TRUE(status->text().startsWith("The demo hospital is being prepared")) << status->text().toStdString();
        EXPECT_TRUE(busy->isVisible());
        EXPECT_FALSE(ok->isEnabled());
        EXPECT_EQ(QApplication::focusWidget(), d.findChild<QLineEdit*>("txtEmployeeCode"));
        QTest::keyClicks(QApplication::focusWidget(), "0001");
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        EXPECT_EQ(QApplication::focusWidget(), d.findChild<QLineEdit*>("txtPassword"));
        QTest::keyClicks(QApplication::focusWidget(), "demo");
        EXPECT_TRUE(QTest::qWaitFor([&] { return ok->isEnabled(); }, 120000));
        EXPECT_FALSE(busy->isVisible());
        EXPECT_TRUE(status->text().startsWith("A new hospital database was created from the demo hospital"))
            << status->text().toStdString();
        EXPECT_EQ(d.findChild<QComboBox*>("cboServer")->currentText(), QDir::toNativeSeparators(defaultPath));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        return d.result();
    });
    ASSERT_EQ(StartSession(), StartResult::Running);
    components::CurrentUser::setFirstStart({});
    EXPECT_TRUE(QFileInfo::exists(defaultPath));
    EXPECT_FALSE(QFileInfo::exists(defaultPath + ".part"));
    // Patient records: no other user of the workstation may read them or look into their folder.
    EXPECT_TRUE(test::ownerOnly(defaultPath));
    EXPECT_TRUE(test::ownerOnly(QFileInfo(defaultPath).absolutePath()));
    EXPECT_EQ(session().CurrentUser->ServerName(), defaultPath);
}

TEST_F(StartupTest, TheLogInDialogOffersTheServerOfTheLastLogInFirst) {
    const QString embedded = QDir::toNativeSeparators(components::CurrentUser::defaultEmbeddedPath());
    auto servers = [](QDialog& d) {
        auto* cbo = d.findChild<QComboBox*>("cboServer");
        QStringList out;
        for (int i = 0; i < cbo->count(); ++i) out << cbo->itemText(i);
        return out;
    };
    // Nothing remembered yet: the embedded database is the one choice.
    prompts_.expectDialog([&](QDialog& d) {
        EXPECT_EQ(servers(d), QStringList{embedded});
        return logIn(hospital_.path(), "0001", {"a", "b", "c", "d", "e"})(d);
    });
    ASSERT_EQ(StartSession(), StartResult::NotLoggedIn);
    // A failed log-in is not remembered; a successful one is, and comes first next time.
    prompts_.expectDialog([&](QDialog& d) {
        EXPECT_EQ(servers(d), QStringList{embedded});
        return logIn(hospital_.path(), "0001", {"demo"})(d);
    });
    ASSERT_EQ(StartSession(), StartResult::Running);
    delete session().MainWindow.data();
    session().CurrentUser.reset();
    prompts_.expectDialog([&](QDialog& d) {
        EXPECT_EQ(servers(d), (QStringList{QDir::toNativeSeparators(hospital_.path()), embedded}));
        EXPECT_EQ(d.findChild<QComboBox*>("cboServer")->currentText(), QDir::toNativeSeparators(hospital_.path()));
        // Only code and password to type.
        d.show();
        QTest::keyClicks(d.findChild<QLineEdit*>("txtEmployeeCode"), "0001");
        QTest::keyClicks(d.findChild<QLineEdit*>("txtPassword"), "demo");
        QTest::keyClick(d.findChild<QLineEdit*>("txtPassword"), Qt::Key_Return);
        return d.result();
    });
    ASSERT_EQ(StartSession(), StartResult::Running);
    EXPECT_EQ(session().CurrentUser->ServerName(), hospital_.path());
}

TEST_F(StartupTest, RememberedServersKeepNoPasswordAndNoVanishedFile) {
    using components::CurrentUser;
    // What an earlier version remembered in a file of its own is still offered.
    QSettings(dir_.filePath("login.ini"), QSettings::IniFormat).setValue("LogIn/RecentServers", QStringList{"DSN=Old"});
    EXPECT_EQ(CurrentUser::recentServers(), QStringList{"DSN=Old"});
    CurrentUser::rememberServer("DRIVER=FreeTDS;SERVER=mss-db;PORT=1433;UID=mss;PWD={se;cret};DATABASE=MSS");
    CurrentUser::rememberServer("DSN=Hospital;Password=x");
    QTemporaryDir files;
    const QString gone = files.filePath("gone.db");
    QFile(gone).open(QIODevice::WriteOnly);
    CurrentUser::rememberServer(gone);
    ASSERT_EQ(CurrentUser::recentServers().first(), gone);
    QFile::remove(gone);
    EXPECT_EQ(CurrentUser::recentServers(),
              (QStringList{"DSN=Hospital", "DRIVER=FreeTDS;SERVER=mss-db;PORT=1433;UID=mss;DATABASE=MSS", "DSN=Old"}));
    QFile ini(ui::settingsFile());
    ASSERT_TRUE(ini.open(QIODevice::ReadOnly));
    EXPECT_FALSE(ini.readAll().contains("cret"));

    // Newest first, once each, at most the last few.
    for (int i = 0; i < CurrentUser::kRecentServers + 3; ++i) CurrentUser::rememberServer(QString("DSN=H%1").arg(i % 5));
    CurrentUser::rememberServer("DSN=H9");
    const QStringList recent = CurrentUser::recentServers();
    EXPECT_EQ(recent.mid(0, 6), (QStringList{"DSN=H9", "DSN=H0", "DSN=H4", "DSN=H3", "DSN=H2", "DSN=H1"}));
    EXPECT_LE(recent.size(), CurrentUser::kRecentServers);
    EXPECT_EQ(recent.count("DSN=H0"), 1);
}

TEST_F(StartupTest, TheRememberedLogInsAreReadableByTheWorkerAlone) {
    using components::CurrentUser;
    // A workstation's first log-in: neither the settings nor their folder exist yet.
    ui::setSettingsFile(dir_.filePath("profile/config/settings.ini"));
    CurrentUser::rememberServer("DSN=Hospital;UID=mss");
    EXPECT_TRUE(test::ownerOnly(ui::settingsFile()));
    EXPECT_TRUE(test::ownerOnly(dir_.filePath("profile/config")));
    EXPECT_TRUE(test::ownerOnly(dir_.filePath("profile")));
    EXPECT_EQ(CurrentUser::recentServers(), QStringList{"DSN=Hospital;UID=mss"});

    // Settings an earlier version left open to all are closed at the next write, and kept.
    const QString earlier = dir_.filePath("earlier/settings.ini");
    QSettings(earlier, QSettings::IniFormat).setValue("LogIn/RecentServers", QStringList{"DSN=Old"});
    QFile::setPermissions(earlier, QFile::permissions(earlier) | QFileDevice::ReadGroup | QFileDevice::ReadOther);
    ASSERT_FALSE(test::ownerOnly(earlier));
    ui::setSettingsFile(earlier);
    CurrentUser::rememberServer("DSN=New");
    EXPECT_TRUE(test::ownerOnly(earlier));
    EXPECT_EQ(CurrentUser::recentServers(), (QStringList{"DSN=New", "DSN=Old"}));
}

}  // namespace
