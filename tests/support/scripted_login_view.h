#pragma once

// The login form as the operator meets it: each queued answer edits the
// form and presses OK or Cancel, and an OK the settings refuse leaves the
// form open for the next answer.

#include <functional>

#include "net/login_form.h"
#include "tests/support/scripted_form.h"

namespace vantic::testing {

class ScriptedLoginView final : public LoginFormView {
  public:
    bool RunLoginForm(WindowId /*owner*/, LoginForm& form,
                      const std::function<bool(const LoginForm&)>& onOk) override {
        while (script.Run(form)) {
            if (onOk(form)) {
                return true;
            }
        }
        return false;
    }
    ScriptedForm<LoginForm> script{"login form"};
};

}  // namespace vantic::testing
