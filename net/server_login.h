#pragma once

// The operator's side of the login settings: the check that a series of
// server requests starts with, and the login form behind it.

#include <functional>

#include "net/login_form.h"
#include "net/login_settings.h"
#include "net/server_access.h"
#include "platform/window.h"

namespace vantic {

class ServerLogin final : public RequestLogin {
  public:
    // afterOk runs after every confirmed form: the application empties the
    // unit list and fetches it again with the new credentials.
    ServerLogin(LoginSettings& settings, LoginFormView& view, std::function<void()> afterOk);

    // True at once when host, login name and password are all known.
    // Otherwise, with an owner, the login form decides; without one, false.
    [[nodiscard]] bool EnsureLogin(WindowId owner) override;
    // Shows the login form over owner; true after OK, false after Cancel.
    bool ShowLoginForm(WindowId owner);

    [[nodiscard]] LoginSettings& Settings() { return settings_; }
    [[nodiscard]] ServerAccess Access() override { return settings_.Access(); }

  private:
    LoginSettings& settings_;
    LoginFormView& view_;
    std::function<void()> afterOk_;
};

}  // namespace vantic
