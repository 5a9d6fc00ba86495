#pragma once
// What the rights prompt needs of the logged-in user. The log-in component offers it through
// UserRights, so the prompt does not depend on how the component is built.
#include <QString>

namespace mss::dialogs {

class RightsHolder {
public:
    virtual ~RightsHolder() = default;
    virtual QString employeecode() const = 0;
    virtual QString Password() const = 0;
    virtual bool have_rights(const QString& code) const = 0;
};

// Adapts any user object with the three members, e.g. components::CurrentUser.
template <typename User>
class UserRights : public RightsHolder {
public:
    explicit UserRights(const User* user) : user_(user) {}
    QString employeecode() const override { return user_ ? user_->employeecode() : QString(); }
    QString Password() const override { return user_ ? user_->Password() : QString(); }
    bool have_rights(const QString& code) const override { return user_ && user_->have_rights(code); }

private:
    const User* user_;
};

}  // namespace mss::dialogs
