#include "server/accounts.h"

#include <algorithm>

#include "core/cpconfig.h"
#include "core/cpstring.h"
#include "core/cpstringarray.h"

namespace vantic::server {

namespace {

std::vector<std::string_view> Words(std::string_view line) {
    std::vector<std::string_view> words;
    std::size_t at = 0;
    while (at < line.size()) {
        while (at < line.size() && IsWhitespace(line[at])) {
            ++at;
        }
        std::size_t end = at;
        while (end < line.size() && !IsWhitespace(line[end])) {
            ++end;
        }
        if (end > at) {
            words.push_back(line.substr(at, end - at));
        }
        at = end;
    }
    return words;
}

void ReadUnitList(std::string_view text, Account& account) {
    if (text == "*") {
        account.allUnits = true;
        return;
    }
    for (const std::string& piece : cpStringArray::SplitNew(text, ",")) {
        long long number = LeadingInteger(piece);
        if (number > 0 && number <= 0xFFFFFFFFll) {
            account.units.push_back(static_cast<std::uint32_t>(number));
        }
    }
}

// Compares without stopping at the first difference, so the time taken
// tells nothing about how much of a password was right.
bool SameText(std::string_view a, std::string_view b) {
    unsigned difference = a.size() == b.size() ? 0u : 1u;
    for (std::size_t i = 0; i < a.size(); ++i) {
        difference |=
            static_cast<unsigned char>(a[i]) ^ static_cast<unsigned char>(i < b.size() ? b[i] : 0);
    }
    return difference == 0;
}

}  // namespace

bool Account::Sees(std::uint32_t unit) const {
    return allUnits || std::find(units.begin(), units.end(), unit) != units.end();
}

std::vector<Account> ParseAccounts(std::string_view text) {
    cpStringArray lines;
    std::vector<Account> accounts;
    if (!lines.SplitLines(text)) {
        return accounts;
    }
    for (const std::string& line : lines) {
        std::vector<std::string_view> words = Words(line);
        if (words.size() < 2 || words[0].front() == '#') {
            continue;
        }
        Account account{std::string(words[0]), std::string(words[1]), false, {}};
        std::string units;  // blanks may follow the commas
        for (std::size_t i = 2; i < words.size(); ++i) {
            units += words[i];
        }
        ReadUnitList(units, account);
        account.allUnits = account.allUnits || account.login == kAdministratorLogin;
        accounts.push_back(std::move(account));
    }
    return accounts;
}

std::string FormatAccounts(const std::vector<Account>& accounts) {
    std::string text =
        "# One account per line: login, password and the units it sees\n"
        "# (\"*\" for every unit, else numbers separated by commas).\n"
        "# The login \"sovra\" always sees every unit.\n";
    for (const Account& account : accounts) {
        std::string units = "*";
        if (!account.allUnits) {
            units.clear();
            for (std::uint32_t unit : account.units) {
                units += (units.empty() ? "" : ",") + std::to_string(unit);
            }
        }
        text += account.login + "\t" + account.password + "\t" + units + "\n";
    }
    return text;
}

const Account* FindAccount(const std::vector<Account>& accounts, std::string_view login,
                           std::string_view password) {
    for (const Account& account : accounts) {
        if (account.login == login) {
            return SameText(account.password, password) ? &account : nullptr;
        }
    }
    return nullptr;
}

}  // namespace vantic::server
