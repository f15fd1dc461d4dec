#pragma once

// "accounts.txt" of a data directory as the account commands and the
// server's start change it: under a lock of its own (a running server
// holds the store's lock, and the commands work beside it), replaced whole
// through tmp/ with mode 0600, and edited line by line so that comments,
// spacing and the other accounts stay as a person wrote them.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "server/accounts.h"

namespace vantic::server {

class AccountFile {
  public:
    // Waits for the lock of dir's accounts file. Nothing (with the reason)
    // when dir holds no store.
    [[nodiscard]] static std::unique_ptr<AccountFile> Lock(const std::string& dir,
                                                           std::string& error);
    ~AccountFile();
    AccountFile(const AccountFile&) = delete;
    AccountFile& operator=(const AccountFile&) = delete;

    [[nodiscard]] const std::string& Path() const { return path_; }
    // The text; empty when there is no file yet, nothing when it cannot
    // be read.
    [[nodiscard]] std::optional<std::string> Read(std::string& error) const;
    [[nodiscard]] bool Write(std::string_view text, bool durable, std::string& error) const;

  private:
    AccountFile(std::string dir, int lockFd);

    std::string dir_;
    std::string path_;
    int lockFd_;
};

// The text with the account's line replaced (the first line of its login)
// or, for a new login, added at the end.
[[nodiscard]] std::string WithAccount(std::string_view text, const Account& account);
// The text without any line of login; removed counts them.
[[nodiscard]] std::string WithoutAccount(std::string_view text, std::string_view login,
                                         int& removed);
// The text with every plain-text password replaced by its hash, in place;
// hashed counts them. Nothing when a hash cannot be made.
[[nodiscard]] std::optional<std::string> WithHashedPasswords(std::string_view text,
                                                             std::uint32_t iterations, int& hashed);

// At the server's start: hashes the plain-text passwords of dir's accounts
// file and makes it private to the server's user.
[[nodiscard]] bool SecureAccountFile(const std::string& dir, std::uint32_t iterations, bool durable,
                                     std::string& error);

}  // namespace vantic::server
