#pragma once

// The login form, "Please Enter Login Info": server, login name, password
// and "Remember Password". The password itself never goes into the form;
// a known password shows as a mask, and only a password typed into the
// form replaces it. The form has no check against the server.

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "net/login_settings.h"
#include "platform/window.h"

namespace vantic {

inline constexpr std::size_t kHostFieldLimit = 259;
inline constexpr std::size_t kLoginNameFieldLimit = 23;
inline constexpr std::size_t kPasswordFieldLimit = 23;
// What the password field shows while a password is known and untouched.
inline constexpr std::string_view kPasswordMask = "********";

// The field that has the keyboard focus when the form opens.
enum class LoginFormFocus { Host, LoginName, Password, Ok };

struct LoginForm {
    std::string host;
    std::string loginName;
    std::string password;  // the mask, or what the operator typed
    bool rememberPassword = false;
    // Set once the password field was focused or edited: only then is its
    // text a password.
    bool passwordChanged = false;
    LoginFormFocus focus = LoginFormFocus::Host;
};

// The form as it opens. With a host set, the focus goes to the first of
// login name, password and OK that still needs the operator; without one
// it starts at the host. A focus that lands on the password field has the
// same effect as any later focus there.
[[nodiscard]] LoginForm OpenLoginForm(std::string_view host, std::string_view loginName,
                                      bool passwordKnown, bool rememberPassword);

// The password field took the focus: its text is cleared, so the mask is
// never edited, and the clearing counts as a change.
void FocusPasswordField(LoginForm& form);
// The operator changed the password field's text.
void EditPasswordField(LoginForm& form, std::string_view text);

// What pressing OK does, step by step. Each step stores its value even
// when a later step keeps the form open.
struct LoginFormCommit {
    enum class StoredPassword { Keep, Erase, Store };

    std::optional<std::string> host;       // stored and cached
    std::optional<std::string> loginName;  // stored as typed, cached in lower case
    std::optional<bool> rememberPassword;  // stored
    std::optional<std::string> password;   // a newly typed password, cached
    StoredPassword storedPassword = StoredPassword::Keep;
    bool close = false;  // false: the form stays open
};

// OK stays open, without a message, on an empty host, an empty login name,
// or a password field that was touched and left empty. Texts longer than
// their field are cut to it, as the field would have.
[[nodiscard]] LoginFormCommit PlanLoginFormOk(const LoginForm& form);
// Applies the plan to the settings; true when the form closes.
bool ApplyLoginFormOk(LoginSettings& settings, const LoginForm& form);

class LoginFormView {
  public:
    virtual ~LoginFormView() = default;
    // Shows the form modal over owner. Every press of OK hands the form's
    // value to onOk, and the form closes only when onOk returns true. True
    // after such an OK, false after Cancel.
    virtual bool RunLoginForm(WindowId owner, LoginForm& form,
                              const std::function<bool(const LoginForm&)>& onOk) = 0;
};

}  // namespace vantic
