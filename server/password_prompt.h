#pragma once

// The new password of an account command: typed twice at the terminal
// without echo, or the first line of standard input when that is not a
// terminal (for scripts: printf '%s\n' "$password" | vantic-server ...).

#include <optional>
#include <string>

namespace vantic::server {

[[nodiscard]] std::optional<std::string> ReadNewPassword(const std::string& login,
                                                         std::string& error);

}  // namespace vantic::server
