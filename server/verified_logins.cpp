#include "server/verified_logins.h"

#include <openssl/crypto.h>
#include <openssl/evp.h>
#include <sys/random.h>

#include "server/password_hash.h"

namespace vantic::server {

VerifiedLogins::VerifiedLogins() {
    std::size_t filled = 0;
    while (filled < key_.size()) {
        ssize_t got = ::getrandom(key_.data() + filled, key_.size() - filled, 0);
        if (got > 0) {
            filled += static_cast<std::size_t>(got);
        }
    }
}

std::optional<VerifiedLogins::Tag> VerifiedLogins::TagOf(std::string_view password) const {
    Tag tag{};
    std::size_t size = 0;
    if (EVP_Q_mac(nullptr, "HMAC", nullptr, "SHA256", nullptr, key_.data(), key_.size(),
                  reinterpret_cast<const unsigned char*>(password.data()), password.size(),
                  tag.data(), tag.size(), &size) == nullptr ||
        size != tag.size()) {
        return std::nullopt;
    }
    return tag;
}

bool VerifiedLogins::Remembered(const Account& account, const Tag& tag) {
    std::lock_guard<std::mutex> guard(lock_);
    auto found = entries_.find(account.login);
    return found != entries_.end() && found->second.storedPassword == account.storedPassword &&
           CRYPTO_memcmp(found->second.tag.data(), tag.data(), tag.size()) == 0;
}

bool VerifiedLogins::Recall(const Account& account, std::string_view password) {
    // Without a tag nothing is remembered: the slow check runs every time.
    const std::optional<Tag> tag = TagOf(password);
    return tag && Remembered(account, *tag);
}

void VerifiedLogins::Remember(const Account& account, std::string_view password) {
    if (const std::optional<Tag> tag = TagOf(password)) {
        std::lock_guard<std::mutex> guard(lock_);
        entries_[account.login] = Entry{account.storedPassword, *tag};
    }
}

bool VerifiedLogins::Check(const Account& account, std::string_view password) {
    if (Recall(account, password)) {
        return true;
    }
    if (!CheckPassword(account.storedPassword, password)) {
        return false;
    }
    Remember(account, password);
    return true;
}

}  // namespace vantic::server
