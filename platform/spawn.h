#pragma once

// Starting helper programs: without waiting for them, or feeding one its
// input and waiting for it.

#include <optional>
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

// Runs the program at argv[0] (a path) with input on its standard input,
// its standard output and error going to this program's standard error,
// and waits for it. Its exit code; none when it could not be started or
// was ended by a signal.
[[nodiscard]] std::optional<int> RunWithInput(const std::vector<std::string>& argv,
                                              std::string_view input);

// Splits a parameter text at blanks; empty pieces are dropped.
[[nodiscard]] std::vector<std::string> SplitParameters(const std::string& parameters);

}  // namespace vantic
