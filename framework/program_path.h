#pragma once

// Files kept beside the running program ("p.key", "UserManual.pdf", the
// update files) are found through ProgramFilePath.

#include <optional>
#include <string>
#include <string_view>

namespace vantic {

// The longest path the program builds for a file beside it.
inline constexpr std::size_t kMaxPathLength = 4096;

// The running program's own file, or none when the system cannot tell.
[[nodiscard]] std::optional<std::string> ExecutablePath();

// The directory of programPath with name in place of the file name. When
// programPath is unknown, or the result would be too long, the file is
// looked for in the current directory instead.
[[nodiscard]] std::string PathBeside(const std::optional<std::string>& programPath,
                                     std::string_view name);

// The full path of name beside the running program; with mustExist, none
// unless that file can be opened for reading.
[[nodiscard]] std::optional<std::string> ProgramFilePath(std::string_view name,
                                                         bool mustExist = false);

// Test hook: pretends the program lives in directory (empty: the real place).
void SetProgramDirectoryForTesting(const std::string& directory);

}  // namespace vantic
