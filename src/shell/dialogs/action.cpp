#include "shell/dialogs/action.h"
#include "shell/db/error.h"
#include "shell/dialogs/prompt.h"

#include <QApplication>
#include <QWidget>

namespace mss::ui {

void ShowFailure(const mss::db::Failure& failure) {
    MsgBox(QStringLiteral("Run-time error '%1':\n\n%2").arg(failure.Number).arg(failure.Description),
           Icon::Critical, Buttons::Ok, applicationTitle());
}

bool RunAction(const std::function<void()>& handler) {
    try {
        handler();
        return true;
    } catch (const mss::db::Failure& f) {
        ShowFailure(f);
    } catch (const std::exception& e) {
        ShowFailure(mss::db::Failure(-1, applicationTitle(), QString::fromLocal8Bit(e.what())));
    } catch (...) {
        ShowFailure(mss::db::Failure(-1, applicationTitle(), QStringLiteral("Unexpected failure")));
    }
    return false;
}

BusyGuard::BusyGuard(QWidget* screen) : screen_(screen) {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    if (screen_) {
        wasEnabled_ = screen_->isEnabled();
        screen_->setEnabled(false);
    }
}

BusyGuard::~BusyGuard() {
    if (screen_) screen_->setEnabled(wasEnabled_);
    QApplication::restoreOverrideCursor();
}

}  // namespace mss::ui
