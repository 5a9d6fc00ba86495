#pragma once
#include <QDialog>
#include <memory>

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

private:
    void tryLogIn();

    std::unique_ptr<Ui::frmLogIn> ui;
    CurrentUser& user_;
    int failures_ = 0;
};

}  // namespace mss::components
