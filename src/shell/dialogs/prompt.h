#pragma once
// Every message box, input box and modal dialog of the program goes through here, so tests
// can replace them with scripted doubles.
#include <QString>
#include <optional>

class QDialog;
class QWidget;

namespace mss::ui {

enum class Icon { None, Information, Exclamation, Critical, Question };
enum class Buttons { Ok, YesNo, OkCancel };
enum class Answer { Ok, Cancel, Yes, No };

// The title used when a screen names none.
QString applicationTitle();

class PromptService {
public:
    virtual ~PromptService() = default;
    virtual Answer message(const QString& text, Icon icon, Buttons buttons, const QString& title) = 0;
    // Returns the typed text, or nothing when the user cancelled.
    virtual std::optional<QString> input(const QString& prompt, const QString& title,
                                         const QString& defaultText) = 0;
    // Shows a dialog modally and returns its result code.
    virtual int showModal(QDialog& dialog) = 0;
};

// The service in use (the real message boxes unless a test installed a double).
PromptService& prompts();
// Installs a service (not owned); nullptr restores the real one.
void setPrompts(PromptService* service);

// Shorthands; an empty title means the application's title.
Answer MsgBox(const QString& text, Icon icon = Icon::None, Buttons buttons = Buttons::Ok,
              const QString& title = QString());
std::optional<QString> InputBox(const QString& prompt, const QString& title = QString(),
                                const QString& defaultText = QString());
int ShowModal(QDialog& dialog);

// The real service: QMessageBox, QInputDialog, QDialog::exec.
class WidgetPromptService : public PromptService {
public:
    Answer message(const QString& text, Icon icon, Buttons buttons, const QString& title) override;
    std::optional<QString> input(const QString& prompt, const QString& title,
                                 const QString& defaultText) override;
    int showModal(QDialog& dialog) override;
};

}  // namespace mss::ui
