#pragma once

// Stored passwords: salted PBKDF2-HMAC-SHA256, written in one word that
// carries its own parameters, so the count can be raised for new hashes
// while the old ones still check:
//
//   pbkdf2-sha256$ITERATIONS$SALT$HASH     (salt and hash in hex)
//
// A stored word without that prefix is a plain-text password of an older
// accounts file; it still checks, in constant time, until the server
// rewrites it hashed at its next start.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace vantic::server {

// Strong enough for a service; tests ask for fewer through the command line.
inline constexpr std::uint32_t kDefaultHashIterations = 600000;
inline constexpr std::uint32_t kMinHashIterations = 1000;
inline constexpr std::uint32_t kMaxHashIterations = 100000000;

// A new hash with a fresh random salt; nothing when the system's KDF is
// not available.
[[nodiscard]] std::optional<std::string> HashPassword(std::string_view password,
                                                      std::uint32_t iterations);

// True for a stored word written by HashPassword (well formed or not): such
// a word is never compared as plain text.
[[nodiscard]] bool IsPasswordHash(std::string_view stored);

// Whether password matches the stored word. A malformed hash matches
// nothing. The comparison takes the same time wherever the texts differ.
[[nodiscard]] bool CheckPassword(std::string_view stored, std::string_view password);

// The iterations of a well-formed hash word; nothing for anything else.
[[nodiscard]] std::optional<std::uint32_t> HashIterations(std::string_view stored);
// A hash word with the given iterations that no password matches: checking
// against it costs what checking a real one does.
[[nodiscard]] std::string UnmatchableHash(std::uint32_t iterations);

}  // namespace vantic::server
