#pragma once

// The server's address, the operator's login name and the password that
// every request carries. They live in the settings store and are cached
// here for the life of the process: each value is read from the store on
// its first use, and afterwards only the login form changes it.
//
// Worker threads must not load values: the application reads them on the
// user-interface thread at start-up, and a worker works from a copy taken
// with Access() before it starts. The cache itself is guarded, so a copy
// taken while the form changes a value is never torn.

#include <mutex>
#include <optional>
#include <string>
#include <string_view>

#include "net/server_access.h"

namespace vantic {

// The settings keys and the room each text is read with (NUL included).
inline constexpr std::string_view kServerKey = "Distribution_Server";
inline constexpr std::string_view kLoginNameKey = "Distribution_Username";
inline constexpr std::string_view kPasswordKey = "Distribution_Userpass";
inline constexpr std::string_view kRememberPasswordKey = "Distribution_Userpass_Remember";
inline constexpr std::size_t kServerRoom = 260;
inline constexpr std::size_t kLoginNameRoom = 24;
inline constexpr std::size_t kPasswordRoom = 24;

// The administrator's login name. It sees every unit, gets the
// administrator's menu items and may not deploy to all units at once.
inline constexpr std::string_view kAdministratorLogin = "sovra";
// Compared without regard to case.
[[nodiscard]] bool IsAdministratorLogin(std::string_view loginName);

// What the login settings need of the settings store (the application's
// WReg, through units/wreg_login_store.h).
class LoginStore {
  public:
    virtual ~LoginStore() = default;
    // The value, or empty text when absent or bufferSize characters or longer.
    [[nodiscard]] virtual std::string GetString(std::string_view key, std::size_t bufferSize) = 0;
    virtual bool SetString(std::string_view key, std::string_view value) = 0;
    [[nodiscard]] virtual bool GetBool(std::string_view key, bool fallback) = 0;
    virtual bool SetInt(std::string_view key, int value) = 0;
};

class LoginSettings {
  public:
    // keyFilePath: the server's public key ("p.key" beside the program).
    LoginSettings(LoginStore& store, std::string keyFilePath);
    LoginSettings(const LoginSettings&) = delete;
    LoginSettings& operator=(const LoginSettings&) = delete;

    // The cached values, loaded on first use; an unset value is empty. The
    // password comes from the store only while it is remembered.
    [[nodiscard]] std::string ServerHost();
    [[nodiscard]] std::string ServerLoginName();
    [[nodiscard]] std::string ServerPassword();
    // True when host, login name and password are all known.
    [[nodiscard]] bool Complete();
    // Everything a request needs, copied at once, with the time limits.
    [[nodiscard]] ServerAccess Access();
    // Other time limits for the requests from now on (a test's shorter ones).
    void UseLimits(const SessionLimits& limits);
    [[nodiscard]] const std::string& KeyFilePath() const { return keyFilePath_; }

    // The stored state of the "Remember Password" box.
    [[nodiscard]] bool RememberPassword();

    // The form's writes. Each stores what the form stores and sets the
    // cache: the host as given, the login name stored as typed and cached
    // (like the one read from the store) in lower case, the password cached
    // only.
    void SetHost(std::string_view host);
    void SetLoginName(std::string_view typed);
    void SetPassword(std::string_view password);
    void SetRememberPassword(bool remember);
    // The stored password: erased, or set to password.
    void StorePassword(std::string_view password);

  private:
    std::string& Loaded(std::optional<std::string>& slot, std::string_view key, std::size_t room);
    std::string& HostLocked();
    std::string& LoginNameLocked();
    std::string& PasswordLocked();

    LoginStore& store_;
    const std::string keyFilePath_;
    std::mutex mutex_;
    std::optional<std::string> host_;
    std::optional<std::string> loginName_;
    std::optional<std::string> password_;
    SessionLimits limits_;
};

}  // namespace vantic
