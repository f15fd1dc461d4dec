#include "server/accounts.h"

#include <algorithm>

#include "core/cpconfig.h"
#include "core/cpstring.h"
#include "core/cpstringarray.h"

namespace vantic::server {

namespace {

std::optional<std::uint32_t> UnitNumber(std::string_view text) {
    std::string_view digits = TrimmedView(text);
    if (digits.empty() || digits.size() > 10 ||
        digits.find_first_not_of("0123456789") != std::string_view::npos) {
        return std::nullopt;
    }
    const long long number = LeadingInteger(digits);
    if (number <= 0 || number > 0xFFFFFFFFll) {
        return std::nullopt;
    }
    return static_cast<std::uint32_t>(number);
}

// Lenient, as a person may have typed it: numbers that do not read are
// skipped.
void ReadUnits(std::string_view text, Account& account) {
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

}  // namespace

bool Account::Sees(std::uint32_t unit) const {
    return allUnits || std::find(units.begin(), units.end(), unit) != units.end();
}

std::vector<std::string_view> LineWords(std::string_view line) {
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

std::optional<Account> ParseAccountLine(std::string_view line) {
    std::vector<std::string_view> words = LineWords(line);
    if (words.size() < 2 || words[0].front() == '#') {
        return std::nullopt;
    }
    Account account{std::string(words[0]), std::string(words[1]), false, {}};
    std::string units;  // blanks may follow the commas
    for (std::size_t i = 2; i < words.size(); ++i) {
        units += words[i];
    }
    ReadUnits(units, account);
    account.allUnits = account.allUnits || account.login == kAdministratorLogin;
    return account;
}

std::vector<Account> ParseAccounts(std::string_view text) {
    cpStringArray lines;
    std::vector<Account> accounts;
    if (!lines.SplitLines(text)) {
        return accounts;
    }
    for (const std::string& line : lines) {
        if (std::optional<Account> account = ParseAccountLine(line)) {
            accounts.push_back(std::move(*account));
        }
    }
    return accounts;
}

bool ParseAccountUnits(std::string_view text, Account& account) {
    account.allUnits = false;
    account.units.clear();
    if (text == "*") {
        account.allUnits = true;
        return true;
    }
    std::size_t at = 0;
    while (at <= text.size()) {
        const std::size_t comma = std::min(text.find(',', at), text.size());
        std::optional<std::uint32_t> unit = UnitNumber(text.substr(at, comma - at));
        if (!unit) {
            return false;
        }
        account.units.push_back(*unit);
        at = comma + 1;
    }
    return true;
}

std::string UnitListText(const Account& account) {
    if (account.allUnits) {
        return "*";
    }
    std::string units;
    for (std::uint32_t unit : account.units) {
        units += units.empty() ? "" : ",";
        units += std::to_string(unit);
    }
    return units;
}

std::string AccountsFileHeader() {
    return "# One account per line: login, password hash and the units it sees\n"
           "# (\"*\" for every unit, else numbers separated by commas).\n"
           "# The login \"sovra\" always sees every unit. Change accounts with\n"
           "# \"vantic-server account\"; a password written here in plain text is\n"
           "# replaced by its hash when the server next starts.\n";
}

std::string FormatAccountLine(const Account& account) {
    std::string line = account.login + "\t" + account.storedPassword;
    const std::string units = UnitListText(account);
    return units.empty() ? line : line + "\t" + units;
}

std::string FormatAccounts(const std::vector<Account>& accounts) {
    std::string text = AccountsFileHeader();
    for (const Account& account : accounts) {
        text += FormatAccountLine(account) + "\n";
    }
    return text;
}

const Account* FindAccount(const std::vector<Account>& accounts, std::string_view login) {
    for (const Account& account : accounts) {
        if (account.login == login) {
            return &account;
        }
    }
    return nullptr;
}

}  // namespace vantic::server
