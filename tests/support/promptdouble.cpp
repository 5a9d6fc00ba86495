#include "promptdouble.h"

#include <QDialog>
#include <gtest/gtest.h>

namespace mss::test {

ScriptedPrompts::ScriptedPrompts() { ui::setPrompts(this); }

ScriptedPrompts::~ScriptedPrompts() {
    ui::setPrompts(nullptr);
    for (const auto& m : messages_) ADD_FAILURE() << "expected message never shown: " << m.text.toStdString();
    if (!inputs_.empty()) ADD_FAILURE() << inputs_.size() << " expected input box(es) never shown";
    if (!dialogs_.empty()) ADD_FAILURE() << dialogs_.size() << " expected dialog(s) never shown";
}

ScriptedPrompts& ScriptedPrompts::expect(const QString& text, ui::Answer answer) {
    messages_.push_back({text, answer});
    return *this;
}

ScriptedPrompts& ScriptedPrompts::expectInput(std::optional<QString> answer) {
    inputs_.push_back(std::move(answer));
    return *this;
}

ScriptedPrompts& ScriptedPrompts::expectDialog(std::function<int(QDialog&)> handler) {
    dialogs_.push_back(std::move(handler));
    return *this;
}

QStringList ScriptedPrompts::texts() const {
    QStringList out;
    for (const auto& m : shown_) out << m.text;
    return out;
}

ui::Answer ScriptedPrompts::message(const QString& text, ui::Icon icon, ui::Buttons buttons, const QString& title) {
    shown_.append({text, icon, buttons, title});
    if (messages_.empty()) {
        ADD_FAILURE() << "unexpected message: " << text.toStdString();
        return buttons == ui::Buttons::YesNo ? ui::Answer::No : ui::Answer::Cancel;
    }
    const Expected e = messages_.front();
    messages_.pop_front();
    const bool matches = e.text.endsWith(u'*') ? text.startsWith(e.text.chopped(1)) : text == e.text;
    EXPECT_TRUE(matches) << "message shown: " << text.toStdString() << "\nexpected: " << e.text.toStdString();
    return e.answer;
}

std::optional<QString> ScriptedPrompts::input(const QString& prompt, const QString& title, const QString&) {
    shown_.append({prompt, ui::Icon::None, ui::Buttons::OkCancel, title});
    if (inputs_.empty()) {
        ADD_FAILURE() << "unexpected input box: " << prompt.toStdString();
        return std::nullopt;
    }
    // Answered from the front of the script; a cancel is an empty optional.
    const bool typed = inputs_.front().has_value();
    const QString text = typed ? *inputs_.front() : QString();
    inputs_.pop_front();
    if (!typed) return std::nullopt;
    return text;
}

int ScriptedPrompts::showModal(QDialog& dialog) {
    if (dialogs_.empty()) {
        ADD_FAILURE() << "unexpected dialog: " << dialog.objectName().toStdString();
        return QDialog::Rejected;
    }
    auto handler = std::move(dialogs_.front());
    dialogs_.pop_front();
    return handler(dialog);
}

}  // namespace mss::test
