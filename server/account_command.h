#pragma once

// "vantic-server account": adds, changes, removes and lists the accounts
// of a data directory, also while a server runs on it (the server reads
// the accounts afresh for every connection).

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "server/password_hash.h"

namespace vantic::server {

enum class AccountVerb { Add, Passwd, Remove, List };

struct AccountCommand {
    AccountVerb verb = AccountVerb::List;
    std::string login;
    std::string units;  // add: "*" or numbers separated by commas; empty: none
    std::string dataDir;
    std::uint32_t hashIterations = kDefaultHashIterations;
    // Test venues only: accept passwords shorter than kMinPasswordLength.
    bool allowShortPassword = false;
};

// The shortest password add and passwd accept without the override.
inline constexpr std::size_t kMinPasswordLength = 10;

struct AccountOutcome {
    bool ok = false;
    std::string output;  // for standard output: never a password or hash
    std::string error;
};

// Gives the new password of login, or nothing with the reason in error.
using PasswordReader =
    std::function<std::optional<std::string>(const std::string& login, std::string& error)>;

// Why login cannot name an account; nothing when it can.
[[nodiscard]] std::optional<std::string> LoginProblem(std::string_view login);
// Why password cannot be used; nothing when it can.
[[nodiscard]] std::optional<std::string> PasswordProblem(std::string_view password,
                                                         bool allowShort = false);
// Why the current user must not change the files of dir (they belong to
// another user, who would find files it cannot read); nothing when it may.
[[nodiscard]] std::optional<std::string> OwnerProblem(const std::string& dir);

[[nodiscard]] AccountOutcome RunAccountCommand(const AccountCommand& command,
                                               const PasswordReader& readPassword);

}  // namespace vantic::server
