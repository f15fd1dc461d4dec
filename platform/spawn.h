#pragma once

// Starting a helper program without waiting for it.

#include <string>
#include <string_view>
#include <vector>

#include "platform/shell.h"

namespace vantic {

// Runs argv[0] (looked up in PATH) with the rest as its arguments. True
// when the program started; its exit is collected in the background.
[[nodiscard]] bool SpawnDetached(const std::vector<std::string>& argv);

// Runs program (a path) with the blank-separated parameters as
// SpawnDetached does; when it cannot start, the cause names the program
// and the system's reason.
[[nodiscard]] ProgramStart SpawnProgram(const std::string& program, const std::string& parameters);

// True when name can be started as SpawnDetached starts it: an executable
// file found in PATH, or at name itself when it holds a "/".
[[nodiscard]] bool ProgramOnPath(std::string_view name);

// Splits a parameter text at blanks; empty pieces are dropped.
[[nodiscard]] std::vector<std::string> SplitParameters(const std::string& parameters);

}  // namespace vantic
