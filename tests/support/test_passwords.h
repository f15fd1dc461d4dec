#pragma once

// Every password the tests hand to a server: the demo venue's and those of
// the accounts added to it. Whatever a test prints, logs or shows must
// hold none of them. Shared by the threads of a test program.

#include <string>
#include <string_view>
#include <vector>

namespace vantic::testing {

void RememberTestPassword(const std::string& password);
[[nodiscard]] std::vector<std::string> KnownTestPasswords();
// The known passwords found in text.
[[nodiscard]] std::vector<std::string> PasswordsIn(std::string_view text);

}  // namespace vantic::testing
