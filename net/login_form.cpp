#include "net/login_form.h"

namespace vantic {

namespace {

std::string Cut(std::string_view text, std::size_t limit) {
    return std::string(text.substr(0, limit));
}

LoginFormFocus FirstFocus(bool hostSet, bool nameSet, bool passwordKnown) {
    if (!hostSet) {
        return LoginFormFocus::Host;
    }
    if (!nameSet) {
        return LoginFormFocus::LoginName;
    }
    return passwordKnown ? LoginFormFocus::Ok : LoginFormFocus::Password;
}

}  // namespace

LoginForm OpenLoginForm(std::string_view host, std::string_view loginName, bool passwordKnown,
                        bool rememberPassword) {
    LoginForm form;
    form.host = Cut(host, kHostFieldLimit);
    form.loginName = Cut(loginName, kLoginNameFieldLimit);
    form.password = passwordKnown ? std::string(kPasswordMask) : std::string();
    form.rememberPassword = rememberPassword;
    form.passwordChanged = false;
    form.focus = FirstFocus(!host.empty(), !loginName.empty(), passwordKnown);
    if (form.focus == LoginFormFocus::Password) {
        FocusPasswordField(form);
    }
    return form;
}

void FocusPasswordField(LoginForm& form) {
    form.password.clear();
    form.passwordChanged = true;
}

void EditPasswordField(LoginForm& form, std::string_view text) {
    form.password = Cut(text, kPasswordFieldLimit);
    form.passwordChanged = true;
}

LoginFormCommit PlanLoginFormOk(const LoginForm& form) {
    LoginFormCommit commit;
    if (form.host.empty()) {
        return commit;
    }
    commit.host = Cut(form.host, kHostFieldLimit);
    if (form.loginName.empty()) {
        return commit;
    }
    commit.loginName = Cut(form.loginName, kLoginNameFieldLimit);
    commit.rememberPassword = form.rememberPassword;
    if (form.passwordChanged) {
        if (form.password.empty()) {
            return commit;
        }
        commit.password = Cut(form.password, kPasswordFieldLimit);
    }
    if (!form.rememberPassword) {
        commit.storedPassword = LoginFormCommit::StoredPassword::Erase;
    } else if (form.passwordChanged) {
        commit.storedPassword = LoginFormCommit::StoredPassword::Store;
    }
    commit.close = true;
    return commit;
}

bool ApplyLoginFormOk(LoginSettings& settings, const LoginForm& form) {
    const LoginFormCommit commit = PlanLoginFormOk(form);
    if (commit.host) {
        settings.SetHost(*commit.host);
    }
    if (commit.loginName) {
        settings.SetLoginName(*commit.loginName);
    }
    if (commit.rememberPassword) {
        settings.SetRememberPassword(*commit.rememberPassword);
    }
    if (commit.password) {
        settings.SetPassword(*commit.password);
    }
    switch (commit.storedPassword) {
        case LoginFormCommit::StoredPassword::Keep:
            break;
        case LoginFormCommit::StoredPassword::Erase:
            settings.StorePassword("");
            break;
        case LoginFormCommit::StoredPassword::Store:
            settings.StorePassword(*commit.password);
            break;
    }
    return commit.close;
}

}  // namespace vantic
