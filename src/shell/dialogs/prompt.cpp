#include "shell/dialogs/prompt.h"

#include <QApplication>
#include <QDialog>
#include <QInputDialog>
#include <QMessageBox>

namespace mss::ui {

namespace {
PromptService* g_service = nullptr;

WidgetPromptService& realService() {
    static WidgetPromptService service;
    return service;
}

QWidget* activeParent() { return QApplication::activeWindow(); }
}  // namespace

QString applicationTitle() { return QStringLiteral("Medical Social Service"); }

PromptService& prompts() { return g_service ? *g_service : realService(); }

void setPrompts(PromptService* service) { g_service = service; }

Answer MsgBox(const QString& text, Icon icon, Buttons buttons, const QString& title) {
    return prompts().message(text, icon, buttons, title.isEmpty() ? applicationTitle() : title);
}

std::optional<QString> InputBox(const QString& prompt, const QString& title, const QString& defaultText) {
    return prompts().input(prompt, title.isEmpty() ? applicationTitle() : title, defaultText);
}

int ShowModal(QDialog& dialog) { return prompts().showModal(dialog); }

Answer WidgetPromptService::message(const QString& text, Icon icon, Buttons buttons, const QString& title) {
    QMessageBox box(activeParent());
    box.setWindowTitle(title);
    box.setText(text);
    switch (icon) {
    case Icon::None: box.setIcon(QMessageBox::NoIcon); break;
    case Icon::Information: box.setIcon(QMessageBox::Information); break;
    case Icon::Exclamation: box.setIcon(QMessageBox::Warning); break;
    case Icon::Critical: box.setIcon(QMessageBox::Critical); break;
    case Icon::Question: box.setIcon(QMessageBox::Question); break;
    }
    switch (buttons) {
    case Buttons::Ok: box.setStandardButtons(QMessageBox::Ok); break;
    case Buttons::YesNo: box.setStandardButtons(QMessageBox::Yes | QMessageBox::No); break;
    case Buttons::OkCancel: box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel); break;
    }
    switch (box.exec()) {
    case QMessageBox::Yes: return Answer::Yes;
    case QMessageBox::No: return Answer::No;
    case QMessageBox::Cancel: return Answer::Cancel;
    default: return buttons == Buttons::YesNo ? Answer::No : Answer::Ok;
    }
}

std::optional<QString> WidgetPromptService::input(const QString& prompt, const QString& title,
                                                  const QString& defaultText) {
    bool ok = false;
    const QString text = QInputDialog::getText(activeParent(), title, prompt, QLineEdit::Normal, defaultText, &ok);
    if (!ok) return std::nullopt;
    return text;
}

int WidgetPromptService::showModal(QDialog& dialog) { return dialog.exec(); }

}  // namespace mss::ui
