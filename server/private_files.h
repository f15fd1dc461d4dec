#pragma once

// The data directory holds secrets (the server key, password hashes): its
// folders are made for the server's user alone, and the key must not be
// open to anyone else.

#include <sys/types.h>
#include <optional>
#include <string>

namespace vantic::server {

inline constexpr mode_t kPrivateFileMode = 0600;
inline constexpr mode_t kPrivateFolderMode = 0700;

// Creates path and its missing parents with mode 0700; folders that exist
// are left as they are.
[[nodiscard]] bool MakePrivateFolders(const std::string& path, std::string& error);

// Why the key file at path may not be used: it is open to other users.
// Nothing when only its owner may read and write it (or it is missing:
// loading it reports that).
[[nodiscard]] std::optional<std::string> KeyFileProblem(const std::string& path);

// Takes every permission of other users away from an existing file.
[[nodiscard]] bool RestrictToOwner(const std::string& path);

}  // namespace vantic::server
