#include "server/account_command.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "core/cpstring.h"
#include "server/account_file.h"
#include "server/accounts.h"

namespace vantic::server {

namespace {

// The login and password fields of the controller's login record hold 23
// bytes and a NUL.
constexpr std::size_t kFieldRoom = 23;

AccountOutcome Failed(std::string error) {
    return AccountOutcome{false, "", std::move(error)};
}

AccountOutcome Done(std::string output) {
    return AccountOutcome{true, std::move(output), ""};
}

std::optional<std::vector<Account>> CurrentAccounts(const std::string& dir, std::string& error) {
    std::unique_ptr<AccountFile> file = AccountFile::Lock(dir, error);
    if (!file) {
        return std::nullopt;
    }
    std::optional<std::string> text = file->Read(error);
    if (!text) {
        return std::nullopt;
    }
    return ParseAccounts(*text);
}

AccountOutcome List(const AccountCommand& command) {
    std::string error;
    std::optional<std::vector<Account>> accounts = CurrentAccounts(command.dataDir, error);
    if (!accounts) {
        return Failed(error);
    }
    std::string output;
    for (const Account& account : *accounts) {
        const std::string units = UnitListText(account);
        output += account.login + "\t" + (units.empty() ? "-" : units);
        if (!IsPasswordHash(account.storedPassword)) {
            output += "\tplain-text password (hashed when the server next starts)";
        }
        output += "\n";
    }
    return Done(output);
}

// Applies edit to the accounts text under the file's lock.
AccountOutcome Edit(const AccountCommand& command,
                    const std::function<std::optional<std::string>(const std::string& text,
                                                                   std::string& error)>& edit,
                    std::string output) {
    std::string error;
    std::unique_ptr<AccountFile> file = AccountFile::Lock(command.dataDir, error);
    if (!file) {
        return Failed(error);
    }
    std::optional<std::string> text = file->Read(error);
    if (!text) {
        return Failed(error);
    }
    std::optional<std::string> changed = edit(*text, error);
    if (!changed || !file->Write(*changed, true, error)) {
        return Failed(error);
    }
    return Done(std::move(output));
}

AccountOutcome Remove(const AccountCommand& command) {
    return Edit(
        command,
        [&](const std::string& text, std::string& error) -> std::optional<std::string> {
            int removed = 0;
            std::string rest = WithoutAccount(text, command.login, removed);
            if (removed == 0) {
                error = "no account " + command.login;
                return std::nullopt;
            }
            return rest;
        },
        "removed " + command.login + "\n");
}

// add and passwd: the new password is asked for once the login is known
// to be (or not to be) there, and hashed before the file is locked.
AccountOutcome SetPassword(const AccountCommand& command, const PasswordReader& readPassword) {
    const bool adding = command.verb == AccountVerb::Add;
    Account account{command.login, "", false, {}};
    if (adding && !command.units.empty() && !ParseAccountUnits(command.units, account)) {
        return Failed("--units needs * or unit numbers separated by commas, not " + command.units);
    }
    std::string error;
    std::optional<std::vector<Account>> accounts = CurrentAccounts(command.dataDir, error);
    if (!accounts) {
        return Failed(error);
    }
    const Account* existing = FindAccount(*accounts, command.login);
    if (adding && existing != nullptr) {
        return Failed("the account " + command.login +
                      " exists (change its password with "
                      "account passwd)");
    }
    if (!adding && existing == nullptr) {
        return Failed("no account " + command.login);
    }
    std::optional<std::string> password = readPassword(command.login, error);
    if (!password) {
        return Failed(error);
    }
    if (std::optional<std::string> problem =
            PasswordProblem(*password, command.allowShortPassword)) {
        return Failed(*problem);
    }
    std::optional<std::string> hash = HashPassword(*password, command.hashIterations);
    if (!hash) {
        return Failed("cannot hash the password");
    }
    account.storedPassword = std::move(*hash);
    return Edit(
        command,
        [&](const std::string& text, std::string& editError) -> std::optional<std::string> {
            const std::vector<Account> current = ParseAccounts(text);
            const Account* now = FindAccount(current, command.login);
            if ((now != nullptr) == adding) {
                editError = (adding ? "the account " + command.login + " exists"
                                    : "no account " + command.login);
                return std::nullopt;
            }
            if (!adding) {
                account.allUnits = now->allUnits;
                account.units = now->units;
            }
            return WithAccount(text, account);
        },
        (adding ? "added " : "changed the password of ") + command.login + "\n");
}

}  // namespace

std::optional<std::string> LoginProblem(std::string_view login) {
    if (login.empty() || login.size() > kFieldRoom) {
        return FormatNew("a login has 1 to %zu characters", kFieldRoom);
    }
    for (char c : login) {
        if (static_cast<unsigned char>(c) <= ' ' || c == 0x7f) {
            return std::string("a login holds no blanks or control characters");
        }
    }
    if (login.front() == '#') {
        return std::string("a login cannot start with #");
    }
    return std::nullopt;
}

std::optional<std::string> PasswordProblem(std::string_view password, bool allowShort) {
    if (password.empty()) {
        return std::string("a password cannot be empty");
    }
    if (!allowShort && password.size() < kMinPasswordLength) {
        return FormatNew(
            "a password needs at least %zu characters (--allow-short-password "
            "accepts a shorter one for a test venue)",
            kMinPasswordLength);
    }
    if (password.size() > kFieldRoom) {
        return FormatNew("a password has at most %zu characters (the controller sends no more)",
                         kFieldRoom);
    }
    if (password.find('\0') != std::string_view::npos) {
        return std::string("a password holds no NUL character");
    }
    return std::nullopt;
}

std::optional<std::string> OwnerProblem(const std::string& dir) {
    struct stat info {};
    if (::stat(dir.c_str(), &info) != 0 || info.st_uid == ::geteuid()) {
        return std::nullopt;
    }
    const passwd* owner = ::getpwuid(info.st_uid);
    const std::string name = owner != nullptr ? owner->pw_name : std::to_string(info.st_uid);
    return dir + " belongs to the user " + name +
           "; files written by another user would lock the server out. Run the command as " + name +
           ": runuser -u " + name +
           " -- vantic-server account ..., or for the packaged service (a dynamic user) "
           "systemd-run --pipe --wait -p DynamicUser=yes -p StateDirectory=vantic-server "
           "vantic-server account ...";
}

AccountOutcome RunAccountCommand(const AccountCommand& command,
                                 const PasswordReader& readPassword) {
    std::error_code code;
    if (!std::filesystem::is_directory(command.dataDir, code)) {
        return Failed("no data directory " + command.dataDir);
    }
    if (std::optional<std::string> problem = OwnerProblem(command.dataDir)) {
        return Failed(*problem);
    }
    if (command.verb != AccountVerb::List) {
        if (std::optional<std::string> problem = LoginProblem(command.login)) {
            return Failed(*problem);
        }
    }
    switch (command.verb) {
        case AccountVerb::List:
            return List(command);
        case AccountVerb::Remove:
            return Remove(command);
        case AccountVerb::Add:
        case AccountVerb::Passwd:
            return SetPassword(command, readPassword);
    }
    return Failed("unknown account command");
}

}  // namespace vantic::server
