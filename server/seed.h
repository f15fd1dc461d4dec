#pragma once

// "seed-demo": a complete demo venue in a new data directory.

#include <ctime>
#include <optional>
#include <string>
#include <vector>

#include "server/accounts.h"
#include "server/password_hash.h"

namespace vantic::server {

// A new account with the password it was given, which only its hash
// keeps afterwards.
struct SeededAccount : Account {
    std::string password;
};

// Writes the key pair (server.key, p.key), an operator account and the
// administrator account with fresh random passwords (stored as hashes of
// hashIterations), and about a dozen units with their instruction files,
// reports, media and owners, dated around now. Refuses a directory that
// already holds a server key. Gives the accounts created.
[[nodiscard]] std::optional<std::vector<SeededAccount>> SeedDemo(
    const std::string& dir, std::time_t now, std::string& error,
    std::uint32_t hashIterations = kDefaultHashIterations);

// A random password of letters and digits.
[[nodiscard]] std::string RandomPassword(std::size_t length);

}  // namespace vantic::server
