#pragma once
#include <QDialog>
#include <functional>
#include <memory>

class QThread;

namespace Ui { class frmLogIn; }

namespace mss::components {

class CurrentUser;

// The log-in dialog of the log-in component. Accepts when the worker logged in; rejects on
// Cancel or after too many failures in a row.
class frmLogIn : public QDialog {
    Q_OBJECT
public:
    static constexpr int kMaxFailures = 5;

    explicit frmLogIn(CurrentUser& user, QWidget* parent = nullptr);
    ~frmLogIn() override;

    // Shown in the dialog itself, e.g. that a new database was created.
    void setStatus(const QString& text);
    QString status() const;
    int failures() const { return failures_; }

    // Runs `work` on a thread of its own while the dialog is up, with a busy bar and
    // `busyText`; the log-in button waits for it. `work` returns the line shown afterwards.
    void prepare(const QString& busyText, std::function<QString()> work);
    bool preparing() const { return thread_ != nullptr; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    void tryLogIn();
    void prepared(const QString& line);

    std::unique_ptr<Ui::frmLogIn> ui;
    CurrentUser& user_;
    int failures_ = 0;
    QThread* thread_ = nullptr;
};

}  // namespace mss::components
