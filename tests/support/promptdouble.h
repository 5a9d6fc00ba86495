#pragma once
// A scripted stand-in for the prompt service: records every message, answers as the script
// says, and fails the test on a message or dialog nobody expected.
#include "shell/dialogs/prompt.h"

#include <QList>
#include <deque>
#include <functional>

namespace mss::test {

struct ShownMessage {
    QString text;
    ui::Icon icon;
    ui::Buttons buttons;
    QString title;
};

class ScriptedPrompts : public ui::PromptService {
public:
    ScriptedPrompts();   // installs itself
    ~ScriptedPrompts() override;   // uninstalls; fails on script lines never used

    // The next message is expected to have this text (a "*" suffix matches a prefix) and is answered so.
    ScriptedPrompts& expect(const QString& text, ui::Answer answer = ui::Answer::Ok);
    // The next input box is answered with text, or cancelled with std::nullopt.
    ScriptedPrompts& expectInput(std::optional<QString> answer);
    // The next modal dialog is handed to this function instead of running its event loop.
    ScriptedPrompts& expectDialog(std::function<int(QDialog&)> handler);

    const QList<ShownMessage>& shown() const { return shown_; }
    QStringList texts() const;
    void clear() { shown_.clear(); }

    ui::Answer message(const QString& text, ui::Icon icon, ui::Buttons buttons, const QString& title) override;
    std::optional<QString> input(const QString& prompt, const QString& title, const QString& defaultText) override;
    int showModal(QDialog& dialog) override;

private:
    struct Expected { QString text; ui::Answer answer; };
    std::deque<Expected> messages_;
    std::deque<std::optional<QString>> inputs_;
    std::deque<std::function<int(QDialog&)>> dialogs_;
    QList<ShownMessage> shown_;
};

}  // namespace mss::test
