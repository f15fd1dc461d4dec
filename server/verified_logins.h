#pragma once

// Checks the password of a login against its account. Every connection
// logs in again, and a slow password hash on each would cap the server at
// a few logins per second, so a login that checked once is remembered for
// the life of the process: by a keyed digest of its password (the key is
// random and never leaves memory) together with the stored hash it
// matched. A changed stored password forgets it.

#include <array>
#include <cstdint>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>

#include "server/accounts.h"

namespace vantic::server {

class VerifiedLogins {
  public:
    VerifiedLogins();
    VerifiedLogins(const VerifiedLogins&) = delete;
    VerifiedLogins& operator=(const VerifiedLogins&) = delete;

    // Recall, else the slow check (remembering a success).
    [[nodiscard]] bool Check(const Account& account, std::string_view password);
    // True when the password checked for this account before, without
    // the slow check.
    [[nodiscard]] bool Recall(const Account& account, std::string_view password);
    // Notes a password the slow check accepted.
    void Remember(const Account& account, std::string_view password);

  private:
    using Tag = std::array<std::uint8_t, 32>;
    struct Entry {
        std::string storedPassword;
        Tag tag{};
    };
    [[nodiscard]] std::optional<Tag> TagOf(std::string_view password) const;
    [[nodiscard]] bool Remembered(const Account& account, const Tag& tag);

    std::array<std::uint8_t, 32> key_{};
    std::mutex lock_;
    std::map<std::string, Entry, std::less<>> entries_;
};

}  // namespace vantic::server
