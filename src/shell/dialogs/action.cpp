#include "shell/dialogs/action.h"
#include "shell/db/error.h"
#include "shell/dialogs/prompt.h"

#include <QApplication>

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
        QApplication::restoreOverrideCursor();
        ShowFailure(f);
    } catch (const std::exception& e) {
        QApplication::restoreOverrideCursor();
        ShowFailure(mss::db::Failure(-1, applicationTitle(), QString::fromLocal8Bit(e.what())));
    } catch (...) {
        QApplication::restoreOverrideCursor();
        ShowFailure(mss::db::Failure(-1, applicationTitle(), QStringLiteral("Unexpected failure")));
    }
    return false;
}

}  // namespace mss::ui
