#pragma once

// Operator accounts: who may log in, with which password, and which units
// each one sees. The store keeps them in "accounts.txt", one account per
// line: login, stored password and unit list separated by blanks, where
// the stored password is a hash (see password_hash.h) or, in an older
// file, the password itself, and the unit list is "*" (every unit) or
// numbers separated by commas (blanks after a comma are allowed). Lines
// starting with "#" are comments.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vantic::server {

// The administrator login always sees every unit.
inline constexpr std::string_view kAdministratorLogin = "sovra";

struct Account {
    std::string login;
    std::string storedPassword;  // a hash, or plain text in an older file
    bool allUnits = false;
    std::vector<std::uint32_t> units;

    [[nodiscard]] bool Sees(std::uint32_t unit) const;
    // Only accounts that see every unit may rewrite the owner table.
    [[nodiscard]] bool IsAdministrator() const { return allUnits; }
};

// The blank-separated words of a line, as views into it.
[[nodiscard]] std::vector<std::string_view> LineWords(std::string_view line);

// The account of one line; nothing for comments, blank and malformed lines
// (fewer than two words).
[[nodiscard]] std::optional<Account> ParseAccountLine(std::string_view line);
[[nodiscard]] std::vector<Account> ParseAccounts(std::string_view text);

// "*" or the unit numbers separated by commas; false when text holds
// anything else.
[[nodiscard]] bool ParseAccountUnits(std::string_view text, Account& account);

[[nodiscard]] std::string UnitListText(const Account& account);
// What a new accounts file starts with.
[[nodiscard]] std::string AccountsFileHeader();
[[nodiscard]] std::string FormatAccountLine(const Account& account);
[[nodiscard]] std::string FormatAccounts(const std::vector<Account>& accounts);

// The account of login (the first line that names it), or null.
[[nodiscard]] const Account* FindAccount(const std::vector<Account>& accounts,
                                         std::string_view login);

}  // namespace vantic::server
