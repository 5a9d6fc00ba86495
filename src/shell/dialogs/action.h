#pragma once
// Runs an event handler so that a failure ends the action where it happened and is shown
// with its number and description; nothing propagates into Qt's event loop.
#include <functional>

class QWidget;
namespace mss::db { class Failure; }

namespace mss::ui {

// Shows a failure: critical icon, the application's title, number and description.
void ShowFailure(const mss::db::Failure& failure);

// Returns true when the handler ran to its end.
bool RunAction(const std::function<void()>& handler);

// Wraps a handler for QObject::connect: [=]{ ... } becomes Guarded([=]{ ... }).
template <typename F>
auto Guarded(F handler) {
    return [handler](auto&&...) { RunAction(handler); };
}

// A wait cursor (and, when given, the screen that started the work disabled) for as long as
// the guard lives: searches, saves and report runs block the one thread.
class BusyGuard {
public:
    explicit BusyGuard(QWidget* screen = nullptr);
    ~BusyGuard();
    BusyGuard(const BusyGuard&) = delete;
    BusyGuard& operator=(const BusyGuard&) = delete;

private:
    QWidget* screen_;
    bool wasEnabled_ = true;
};

}  // namespace mss::ui
