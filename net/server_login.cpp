#include "net/server_login.h"

namespace vantic {

ServerLogin::ServerLogin(LoginSettings& settings, LoginFormView& view,
                         std::function<void()> afterOk)
    : settings_(settings), view_(view), afterOk_(std::move(afterOk)) {}

bool ServerLogin::EnsureLogin(WindowId owner) {
    if (settings_.Complete()) {
        return true;
    }
    return owner != kNoWindow && ShowLoginForm(owner);
}

bool ServerLogin::ShowLoginForm(WindowId owner) {
    LoginForm form =
        OpenLoginForm(settings_.ServerHost(), settings_.ServerLoginName(),
                      !settings_.ServerPassword().empty(), settings_.RememberPassword());
    const bool ok = view_.RunLoginForm(
        owner, form, [this](const LoginForm& value) { return ApplyLoginFormOk(settings_, value); });
    if (ok && afterOk_) {
        afterOk_();
    }
    return ok;
}

}  // namespace vantic
