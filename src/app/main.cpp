// The program: start-up, then the main window's day until its last window closes.
#include "shell/session/session.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("MedicalSocialService"));
    QApplication::setOrganizationName(QStringLiteral("MSS"));
    if (mss::StartSession() != mss::StartResult::Running) return 0;
    return app.exec();
}
