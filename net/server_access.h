#pragma once

#include <string>
#include <utility>

#include "net/session_limits.h"
#include "platform/window.h"

namespace vantic {

// What every request to the distribution server carries: where the server
// is, who logs in, and the key that seals the login.
struct ServerAccess {
    ServerAccess() = default;
    ServerAccess(std::string host, std::string loginName, std::string password,
                 std::string keyFilePath, SessionLimits limits = {})
        : host(std::move(host)),
          loginName(std::move(loginName)),
          password(std::move(password)),
          keyFilePath(std::move(keyFilePath)),
          limits(limits) {}

    std::string host;         // a name or dotted IPv4 address, optionally ":PORT"
    std::string loginName;    // at most 23 characters
    std::string password;     // at most 23 characters
    std::string keyFilePath;  // the server's public key file ("p.key" beside the program)
    SessionLimits limits;     // how long each step may wait for the server
};

// The server login a series of requests starts with.
class RequestLogin {
  public:
    virtual ~RequestLogin() = default;
    // True when server, login name and password are all known; when they
    // are not and an owner is given, the operator may complete them.
    [[nodiscard]] virtual bool EnsureLogin(WindowId owner) = 0;
    // What the next request carries.
    [[nodiscard]] virtual ServerAccess Access() = 0;
};

// Fixed credentials, complete or not; nothing to ask.
class FixedLogin final : public RequestLogin {
  public:
    explicit FixedLogin(ServerAccess access) : access_(std::move(access)) {}
    [[nodiscard]] bool EnsureLogin(WindowId /*owner*/) override {
        return !access_.host.empty() && !access_.loginName.empty() && !access_.password.empty();
    }
    [[nodiscard]] ServerAccess Access() override { return access_; }

  private:
    ServerAccess access_;
};

}  // namespace vantic
