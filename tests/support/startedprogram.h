#pragma once
// The program started as it starts, on a fresh demo hospital, with a worker logged in and
// the report files beside it; tests then work through the main window's menus. Only for
// tests that link the program's wiring (mss_app).
#include "app/startup.h"
#include "login.h"
#include "promptdouble.h"
#include "shell/db/dbaccess.h"
#include "shell/dialogs/settings.h"
#include "shell/mainwindow/mdimss.h"
#include "shell/session/session.h"
#include "testhospital.h"

#include <QAction>
#include <QApplication>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace mss::test {

class StartedProgram : public ::testing::Test {
protected:
    static void SetUpTestSuite() { QStandardPaths::setTestModeEnabled(true); }
    void SetUp() override {
        previousSettings_ = ui::settingsFile();
        ui::setSettingsFile(dir_.filePath("settings.ini"));
        setProgramFolder(QStringLiteral(MSS_BINARY_DIR "/bin"));
        Selection() = PatientSelection{};
    }
    void TearDown() override {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w->inherits("mss::reports::frmReportViewer")) w->close();
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        if (session().MainWindow) delete session().MainWindow.data();
        db::SetSessionConnection(nullptr);
        session().CurrentUser.reset();
        ui::setSettingsFile(previousSettings_);
    }

    // Logs the worker in; the statements the screens send are logged from here on.
    void start(const QString& code = QStringLiteral("0001")) {
        prompts_.expectDialog(logIn(hospital_.path(), code, {QStringLiteral("demo")}));
        ASSERT_EQ(StartSession(), StartResult::Running);
        session().Connection()->SetLogging(true);
    }
    mainwindow::mdiMSS* window() const { return session().MainWindow; }
    // Chooses a menu item as the worker would; fails when it is missing or disabled.
    void choose(const char* item) {
        window()->updateActionStates();
        auto* action = window()->findChild<QAction*>(QString::fromLatin1(item));
        ASSERT_NE(action, nullptr) << item;
        ASSERT_TRUE(action->isEnabled()) << item;
        action->trigger();
    }
    QStringList statements() {
        db::Connection* c = session().Connection();
        const QStringList s = c->StatementLog();
        c->ClearLog();
        return s;
    }

    QTemporaryDir dir_;
    QString previousSettings_;
    TestHospital hospital_;
    ScriptedPrompts prompts_;
};

}  // namespace mss::test
