#include "tests/support/test_passwords.h"

#include <algorithm>
#include <mutex>

namespace vantic::testing {

namespace {

std::mutex& Guard() {
    static std::mutex mutex;
    return mutex;
}

std::vector<std::string>& Passwords() {
    static std::vector<std::string> passwords;
    return passwords;
}

}  // namespace

void RememberTestPassword(const std::string& password) {
    if (password.empty()) {
        return;
    }
    std::lock_guard hold(Guard());
    if (std::find(Passwords().begin(), Passwords().end(), password) == Passwords().end()) {
        Passwords().push_back(password);
    }
}

std::vector<std::string> KnownTestPasswords() {
    std::lock_guard hold(Guard());
    return Passwords();
}

std::vector<std::string> PasswordsIn(std::string_view text) {
    std::vector<std::string> found;
    for (const std::string& password : KnownTestPasswords()) {
        if (text.find(password) != std::string_view::npos) {
            found.push_back(password);
        }
    }
    return found;
}

}  // namespace vantic::testing
