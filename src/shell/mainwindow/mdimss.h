#pragma once
// The main window: toolbar, the four menus, the status bar with user and clock, and the
// area in which inner screens live. It is a host: the program binds its menu items and
// buttons to the features' commands; it knows no feature itself.
#include <QMainWindow>
#include <QHash>
#include <functional>
#include <memory>

class QLabel;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QTimer;
class QToolButton;
namespace Ui { class mdiMSS; }

namespace mss::components { class CurrentUser; }

namespace mss::mainwindow {

class mdiMSS : public QMainWindow {
    Q_OBJECT
public:
    explicit mdiMSS(const components::CurrentUser& user, QWidget* parent = nullptr);
    ~mdiMSS() override;

    QMdiArea* area() const;
    QTimer* tmrShowDateTime() const { return tmrShowDateTime_; }
    QTimer* Timer1() const { return timer1_; }
    QTimer* Timer2() const { return timer2_; }
    QTimer* tmrReferralNotice() const { return tmrReferralNotice_; }
    QToolButton* button(const QString& name) const;

    // The clock text for a moment: "(DD MMMM YYYY)  hh:mm ".
    static QString clockText(const QDateTime& now);
    void refreshClock();

    // Binds a menu item, by its name, to a command run under the action guard. Items without
    // a command stay visible but cannot be chosen. `enabledWhen`, when given, decides the
    // item's state each time updateActionStates runs.
    void bindCommand(const QString& itemName, std::function<void()> command,
                     std::function<bool()> enabledWhen = {});
    // Binds a toolbar button (btnListing and the notice buttons) the same way.
    void bindButton(const QString& buttonName, std::function<void()> command);
    // Sets the enabled state of every menu item at once. Runs when the active inner screen
    // changes; the program also calls it when the Patient selection changes.
    void updateActionStates();

    // Pops a menu up at the mouse, as the toolbar's menu buttons do.
    void popupMenu(const QString& menuName);

    // Adds a screen to the area, shown not modal.
    QMdiSubWindow* addScreen(QWidget* screen);
    // Closes every screen inside and opens the window anew (status bar, clock).
    void reopen();

    // Called by "Change Active User" after this window has closed.
    void setChangeUserHandler(std::function<void()> handler) { changeUser_ = std::move(handler); }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void openWindow();

    struct Command {
        std::function<void()> run;
        std::function<bool()> enabledWhen;
    };

    std::unique_ptr<Ui::mdiMSS> ui;
    const components::CurrentUser& user_;
    QLabel* panelUser_ = nullptr;
    QLabel* panelClock_ = nullptr;
    QTimer* tmrShowDateTime_ = nullptr;
    QTimer* timer1_ = nullptr;
    QTimer* timer2_ = nullptr;
    QTimer* tmrReferralNotice_ = nullptr;
    QHash<QAction*, Command> commands_;
    std::function<void()> changeUser_;
};

}  // namespace mss::mainwindow
