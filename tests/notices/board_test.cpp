#include "noticetesting.h"
#include "app/commands.h"
#include "hospitaldb/embedded.h"
#include "notices/frmdischargenotice.h"
#include "notices/frmreferralapproval.h"
#include "notices/noticeboard.h"
#include "notices/referrallists.h"
#include "promptdouble.h"
#include "shell/components/userlogin.h"
#include "shell/mainwindow/mdimss.h"
#include "shell/session/session.h"

#include <QAction>
#include <QApplication>
#include <QRadioButton>
#include <QPushButton>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTimer>
#include <QToolButton>

using namespace mss;
using namespace mss::notices;

namespace {

// The timers are driven by hand: a tick is the timer's own timeout, sent now.
void tick(QTimer* timer) { ASSERT_TRUE(QMetaObject::invokeMethod(timer, "timeout")); }

// What the worker sees in the referral button's corner (the picture sits in its middle).
QColor cornerOf(QToolButton* b) { return b->grab().toImage().pixelColor(2, 2); }

class NoticePolling : public ::testing::Test {
protected:
    void SetUp() override {
        window_ = std::make_unique<mainwindow::mdiMSS>(user_);
        window_->show();
        button_ = window_->button("btnReferralNotice");
        board_ = new NoticeBoard(window_.get(), button_, window_->tmrReferralNotice(), window_->Timer1(),
                                 window_->Timer2());
        board_->setWorker([] { return test::kWorker; });
    }
    void setAllReferrals(const QString& status) {
        hospital_.openAnother()->Execute("UPDATE MSS..tbMSSReferralNotice SET Status = '" + status + "'");
    }
    hospitaldb::EmbeddedBackend& engine() {
        return dynamic_cast<hospitaldb::EmbeddedBackend&>(*hospital_.connection().backend());
    }

    test::TestHospital hospital_;
    test::ScriptedPrompts prompts_;   // any message box fails the test
    components::CurrentUser user_;
    std::unique_ptr<mainwindow::mdiMSS> window_;
    QToolButton* button_ = nullptr;
    NoticeBoard* board_ = nullptr;
};

TEST_F(NoticePolling, TheReferralButtonFlashesOnceAPollFindsWaitingReferralsAndKeepsFlashing) {
    QTimer* poll = window_->tmrReferralNotice();
    QApplication::processEvents();
    EXPECT_TRUE(hospital_.takeStatements().isEmpty()) << "the first poll comes after 65 seconds, not at once";
    EXPECT_TRUE(poll->isActive());
    EXPECT_EQ(poll->interval(), 65000);
    EXPECT_GT(poll->remainingTime(), 60000);
    const QColor plain = cornerOf(button_);

    // Nothing waiting: the toolbar never changes.
    setAllReferrals("A");
    tick(poll);
    EXPECT_EQ(hospital_.takeStatements(), QStringList{"MSS..sp_MSS_LoadReferralNoticeCount"});
    EXPECT_FALSE(board_->highlighted());
    EXPECT_FALSE(window_->Timer1()->isActive());
    EXPECT_FALSE(window_->Timer2()->isActive());
    EXPECT_EQ(cornerOf(button_), plain);

    // One referral waits: the button turns opaque (white until the first flash) and both flash timers run.
    hospital_.openAnother()->Execute("UPDATE MSS..tbMSSReferralNotice SET Status = 'P' WHERE ReferralNo = "
                                     "(SELECT MIN(ReferralNo) FROM MSS..tbMSSReferralNotice)");
    tick(poll);
    EXPECT_TRUE(board_->highlighted());
    EXPECT_EQ(button_->property("Style").toInt(), 1);
    EXPECT_TRUE(window_->Timer1()->isActive());
    EXPECT_TRUE(window_->Timer2()->isActive());
    EXPECT_EQ(window_->Timer1()->interval(), 15000);
    EXPECT_EQ(cornerOf(button_), QColor(255, 255, 255));
    tick(window_->Timer1());
    EXPECT_EQ(board_->referralBackColor(), 255);
    EXPECT_EQ(cornerOf(button_), QColor(255, 0, 0));
    tick(window_->Timer2());
    EXPECT_EQ(board_->referralBackColor(), 8454143);
    EXPECT_EQ(cornerOf(button_), QColor(255, 255, 128));
    tick(window_->Timer1());
    EXPECT_EQ(cornerOf(button_), QColor(255, 0, 0));

    // Once the referrals are tagged the button still flashes, until the program ends.
    setAllReferrals("C");
    tick(poll);
    EXPECT_TRUE(board_->highlighted());
    EXPECT_TRUE(window_->Timer1()->isActive());
    tick(window_->Timer2());
    EXPECT_EQ(cornerOf(button_), QColor(255, 255, 128));
    EXPECT_TRUE(poll->isActive());
}

TEST_F(NoticePolling, AFailingPollShowsNothingIsNotedOnceAndPollingGoesOn) {
    QSignalSpy noted(board_, &NoticeBoard::pollFailed);
    QTimer* poll = window_->tmrReferralNotice();
    engine().failMatching(QRegularExpression("sp_MSS_LoadReferralNoticeCount"), 11, "General network error.");
    for (int i = 0; i < 3; ++i) tick(poll);
    EXPECT_TRUE(prompts_.shown().isEmpty());
    ASSERT_EQ(noted.size(), 1) << "noted once, not on every tick";
    EXPECT_EQ(noted[0][0].toLongLong(), 11);
    EXPECT_EQ(noted[0][1].toString(), "General network error.");
    EXPECT_FALSE(board_->highlighted());
    EXPECT_TRUE(poll->isActive()) << "polling goes on";

    // The database is back: the next tick finds the demo's waiting referrals.
    engine().clearFaults();
    tick(poll);
    EXPECT_TRUE(board_->highlighted());
    // A new run of failures is noted again; the button keeps flashing meanwhile.
    engine().failMatching(QRegularExpression("sp_MSS_LoadReferralNoticeCount"), 11, "General network error.");
    tick(poll);
    tick(poll);
    EXPECT_EQ(noted.size(), 2);
    EXPECT_TRUE(board_->highlighted());
    EXPECT_TRUE(window_->Timer1()->isActive());
}

// The program as it starts: the main window hands its notice buttons, timers and menu items
// to the notices, which work for the worker who logged in.
class NoticeCommands : public ::testing::Test {
protected:
    void SetUp() override {
        auto user = std::make_unique<components::CurrentUser>();
        user->PasswordDeptCode = "MSS";
        ASSERT_TRUE(user->LogIn(hospital_.path(), "0001", "demo"));
        session().CurrentUser = std::move(user);
        session().EmployeeCode = "0001";
        window_ = new mainwindow::mdiMSS(*session().CurrentUser);
        app::BindCommands(*window_);
        window_->show();
    }
    void TearDown() override {
        delete window_.data();
        session().CurrentUser.reset();
        session().EmployeeCode.clear();
    }
    template <class T>
    QList<T*> shown() {
        QList<T*> out;
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* s = qobject_cast<T*>(w); s && s->isVisible()) out << s;
        return out;
    }

    test::TestHospital hospital_;
    test::ScriptedPrompts prompts_;
    QPointer<mainwindow::mdiMSS> window_;
};

TEST_F(NoticeCommands, AFailingPollIsNotedOnTheStatusBarWithoutAMessageBox) {
    auto& engine = dynamic_cast<hospitaldb::EmbeddedBackend&>(*hospital_.connection().backend());
    engine.failMatching(QRegularExpression("sp_MSS_LoadReferralNoticeCount"), 11, "General network error.");
    ASSERT_TRUE(QMetaObject::invokeMethod(window_->tmrReferralNotice(), "timeout"));
    EXPECT_TRUE(prompts_.shown().isEmpty());
    EXPECT_EQ(window_->statusBar()->currentMessage(),
              "Waiting referrals could not be counted (11: General network error.). The next check is in a minute.");
}

TEST_F(NoticeCommands, TheButtonsAndMenuItemsOpenTheNoticeScreensForTheLoggedInWorker) {
    QToolButton* discharge = window_->button("btnDischargeNotice");
    QToolButton* referral = window_->button("btnReferralNotice");
    EXPECT_TRUE(discharge->isEnabled());
    EXPECT_TRUE(referral->isEnabled());
    EXPECT_TRUE(window_->findChild<QAction*>("mnuDischargeNotice")->isEnabled());
    EXPECT_TRUE(window_->findChild<QAction*>("mnuReferral")->isEnabled());

    auto closeWith = [this](const char* screen) {
        return [screen, window = window_.data()](QDialog& d) {
            EXPECT_EQ(d.objectName(), screen);
            EXPECT_EQ(d.parentWidget(), window);
            d.findChild<QPushButton*>("cmdClose")->click();
            return d.result();
        };
    };
    prompts_.expectDialog(closeWith("frmDischargeNotice"));
    discharge->click();
    prompts_.expectDialog(closeWith("frmDischargeNotice"));
    window_->findChild<QAction*>("mnuDischargeNotice")->trigger();
    prompts_.expectDialog(closeWith("frmReferralHistory"));
    window_->findChild<QAction*>("mnuReferral")->trigger();

    // The referral list opens without waiting; pressed again, the same list comes forward.
    referral->click();
    ASSERT_EQ(shown<frmReferralToMedicalTeam>().size(), 1);
    frmReferralToMedicalTeam* list = shown<frmReferralToMedicalTeam>().first();
    EXPECT_EQ(list->window()->parentWidget(), window_.data());
    referral->click();
    EXPECT_EQ(shown<frmReferralToMedicalTeam>().size(), 1);
    EXPECT_EQ(shown<frmReferralToMedicalTeam>().first(), list);

    // A referral tagged from it carries the logged-in worker's code.
    QTreeWidgetItem* line = list->lvwRequest->topLevelItem(0);
    ASSERT_NE(line, nullptr);
    const QString refnum = line->text(5);
    test::clickLine(*list->lvwRequest, line);
    list->cmdSelect->click();
    ASSERT_EQ(shown<frmReferralApproval>().size(), 1);
    frmReferralApproval* tag = shown<frmReferralApproval>().first();
    tag->OptDeny->click();
    prompts_.expect("Are you sure you want to tag thi Referral as For Justification ? ", ui::Answer::Ok);
    prompts_.expect("Successfuly saved");
    hospital_.takeStatements();
    tag->cmdSave->click();
    const QStringList sent = hospital_.takeStatements();
    ASSERT_EQ(sent.size(), 1);
    EXPECT_TRUE(sent[0].contains("','D','")) << sent[0].toStdString();
    EXPECT_TRUE(sent[0].endsWith("','0001','" + refnum + "' ")) << sent[0].toStdString();

    // The main window's poll timer drives the board.
    auto* board = window_->findChild<NoticeBoard*>();
    ASSERT_NE(board, nullptr);
    tick(window_->tmrReferralNotice());
    EXPECT_TRUE(board->highlighted());
}

}  // namespace
