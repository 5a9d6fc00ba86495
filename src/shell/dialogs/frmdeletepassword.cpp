#include "shell/dialogs/frmdeletepassword.h"

#include "shell/dialogs/action.h"
#include "shell/dialogs/prompt.h"
#include "ui_frmdeletepassword.h"

#include <QKeyEvent>

namespace mss::dialogs {

frmDeletePassword::frmDeletePassword(const RightsHolder* user, QWidget* parent)
    : QDialog(parent), ui_(std::make_unique<Ui::frmDeletePassword>()), user_(user) {
    ui_->setupUi(this);
    ui_->txtPassword->installEventFilter(this);
    connect(ui_->cmdEnter, &QPushButton::clicked, this, ui::Guarded([this] { Check(); }));
    connect(ui_->txtPassword, &QLineEdit::returnPressed, this, ui::Guarded([this] { Check(); }));
}

frmDeletePassword::~frmDeletePassword() = default;

void frmDeletePassword::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (event->spontaneous()) return;
    deleteOK_ = false;
    ui_->txtPassword->setFocus();
}

bool frmDeletePassword::eventFilter(QObject* watched, QEvent* event) {
    if (watched == ui_->txtPassword && event->type() == QEvent::FocusIn)
        ui_->txtPassword->setStyleSheet(QStringLiteral("lineedit-password-character: 183;"));
    return QDialog::eventFilter(watched, event);
}

bool frmDeletePassword::PasswordMatches() const {
    if (!user_) return false;
    const QString code = user_->employeecode();
    const QString password = user_->Password();
    // A user without a code or password has no expected password at all.
    if (code.isNull() || password.isNull()) return false;
    return ui_->txtPassword->text().toUpper() == (code + password).toUpper() && user_->have_rights("A");
}

void frmDeletePassword::Check() {
    if (PasswordMatches()) {
        accept();
        deleteOK_ = true;
        return;
    }
    ui::MsgBox("Password not valid!", ui::Icon::Information);
    ui_->txtPassword->setFocus();
}

}  // namespace mss::dialogs
