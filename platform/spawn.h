#pragma once

// Starting a helper program without waiting for it.

#include <string>
#include <vector>

namespace vantic {

// Runs argv[0] (looked up in PATH) with the rest as its arguments. True
// when the program started; its exit is collected in the background.
[[nodiscard]] bool SpawnDetached(const std::vector<std::string>& argv);

// Splits a parameter text at blanks; empty pieces are dropped.
[[nodiscard]] std::vector<std::string> SplitParameters(const std::string& parameters);

}  // namespace vantic
