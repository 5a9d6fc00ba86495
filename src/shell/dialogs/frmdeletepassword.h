#pragma once
// The rights prompt: the logged-in worker confirms a guarded action with a password.
#include "shell/dialogs/rightsholder.h"

#include <QDialog>
#include <memory>

namespace Ui { class frmDeletePassword; }

namespace mss::dialogs {

class frmDeletePassword : public QDialog {
    Q_OBJECT
    Q_PROPERTY(int GetForm READ GetForm WRITE SetGetForm)
    Q_PROPERTY(bool DeleteOK READ DeleteOK WRITE SetDeleteOK)

public:
    // The user is not owned and must outlive the prompt; without one every check fails.
    explicit frmDeletePassword(const RightsHolder* user = nullptr, QWidget* parent = nullptr);
    ~frmDeletePassword() override;

    void SetUser(const RightsHolder* user) { user_ = user; }

    // Which guarded action follows a successful check; the class-history deletion sets 2.
    int GetForm() const { return getForm_; }
    void SetGetForm(int form) { getForm_ = form; }
    bool DeleteOK() const { return deleteOK_; }
    void SetDeleteOK(bool ok) { deleteOK_ = ok; }

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Check();
    bool PasswordMatches() const;

    std::unique_ptr<Ui::frmDeletePassword> ui_;
    const RightsHolder* user_;
    int getForm_ = 0;
    bool deleteOK_ = false;
};

}  // namespace mss::dialogs
