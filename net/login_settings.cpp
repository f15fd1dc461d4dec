#include "net/login_settings.h"

#include "core/cpstring.h"

namespace vantic {

bool IsAdministratorLogin(std::string_view loginName) {
    return EqualsNoCase(loginName, kAdministratorLogin);
}

LoginSettings::LoginSettings(LoginStore& store, std::string keyFilePath)
    : store_(store), keyFilePath_(std::move(keyFilePath)) {}

std::string& LoginSettings::Loaded(std::optional<std::string>& slot, std::string_view key,
                                   std::size_t room) {
    if (!slot) {
        slot = store_.GetString(key, room);
    }
    return *slot;
}

std::string& LoginSettings::HostLocked() {
    return Loaded(host_, kServerKey, kServerRoom);
}

// The store keeps the name as it was typed, but the server knows only the
// lower-case form: every use, in this run or a later one, sends that.
std::string& LoginSettings::LoginNameLocked() {
    if (!loginName_) {
        std::string name = store_.GetString(kLoginNameKey, kLoginNameRoom);
        ToLower(name);
        loginName_ = std::move(name);
    }
    return *loginName_;
}

std::string& LoginSettings::PasswordLocked() {
    if (!password_) {
        password_ = store_.GetBool(kRememberPasswordKey, false)
                        ? store_.GetString(kPasswordKey, kPasswordRoom)
                        : std::string();
    }
    return *password_;
}

std::string LoginSettings::ServerHost() {
    std::lock_guard hold(mutex_);
    return HostLocked();
}

std::string LoginSettings::ServerLoginName() {
    std::lock_guard hold(mutex_);
    return LoginNameLocked();
}

std::string LoginSettings::ServerPassword() {
    std::lock_guard hold(mutex_);
    return PasswordLocked();
}

bool LoginSettings::Complete() {
    std::lock_guard hold(mutex_);
    return !HostLocked().empty() && !LoginNameLocked().empty() && !PasswordLocked().empty();
}

ServerAccess LoginSettings::Access() {
    std::lock_guard hold(mutex_);
    return ServerAccess{HostLocked(), LoginNameLocked(), PasswordLocked(), keyFilePath_, limits_};
}

void LoginSettings::UseLimits(const SessionLimits& limits) {
    std::lock_guard hold(mutex_);
    limits_ = limits;
}

bool LoginSettings::RememberPassword() {
    return store_.GetBool(kRememberPasswordKey, false);
}

// A failed save keeps the value in the store's memory for its next save;
// the form has no message for it.
void LoginSettings::SetHost(std::string_view host) {
    store_.SetString(kServerKey, host);
    std::lock_guard hold(mutex_);
    host_ = std::string(host);
}

void LoginSettings::SetLoginName(std::string_view typed) {
    store_.SetString(kLoginNameKey, typed);
    std::string lower(typed);
    ToLower(lower);
    std::lock_guard hold(mutex_);
    loginName_ = std::move(lower);
}

void LoginSettings::SetPassword(std::string_view password) {
    std::lock_guard hold(mutex_);
    password_ = std::string(password);
}

void LoginSettings::SetRememberPassword(bool remember) {
    store_.SetInt(kRememberPasswordKey, remember ? 1 : 0);
}

void LoginSettings::StorePassword(std::string_view password) {
    store_.SetString(kPasswordKey, password);
}

}  // namespace vantic
