#pragma once

// Operator accounts: who may log in, with which password, and which units
// each one sees. The store keeps them in "accounts.txt", one account per
// line: login, password and unit list separated by blanks, where the unit
// list is "*" (every unit) or numbers separated by commas (blanks after a
// comma are allowed). Lines starting
// with "#" are comments.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vantic::server {

// The administrator login always sees every unit.
inline constexpr std::string_view kAdministratorLogin = "sovra";

struct Account {
    std::string login;
    std::string password;
    bool allUnits = false;
    std::vector<std::uint32_t> units;

    [[nodiscard]] bool Sees(std::uint32_t unit) const;
    // Only accounts that see every unit may rewrite the owner table.
    [[nodiscard]] bool IsAdministrator() const { return allUnits; }
};

// Malformed lines (fewer than two words) are skipped.
[[nodiscard]] std::vector<Account> ParseAccounts(std::string_view text);
[[nodiscard]] std::string FormatAccounts(const std::vector<Account>& accounts);

// The account whose login and password both match exactly, or null.
[[nodiscard]] const Account* FindAccount(const std::vector<Account>& accounts,
                                         std::string_view login, std::string_view password);

}  // namespace vantic::server
