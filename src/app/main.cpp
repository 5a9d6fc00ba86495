// The program: start-up, then the main window's day until its last window closes.
#include "app/backends.h"
#include "app/firststart.h"
#include "app/startup.h"
#include "shell/components/userlogin.h"

#include <QApplication>
#include <QIcon>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("MedicalSocialService"));
    QApplication::setOrganizationName(QStringLiteral("MSS"));
    // Its desktop entry and icon, installed under this name, stand for its windows.
    QGuiApplication::setDesktopFileName(QStringLiteral("local.mss.MedicalSocialService"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/icons/mss-256.png")));
    mss::app::RegisterBackends();
    mss::components::CurrentUser::setFirstStart(&mss::app::PrepareDemoHospital);
    if (mss::StartSession() != mss::StartResult::Running) return 0;
    return app.exec();
}
