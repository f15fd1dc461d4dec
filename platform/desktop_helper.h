#pragma once

// The helper programs the desktop's shell and mail program go through.

#include <string>

namespace vantic {

// A helper program that is not installed, and the package that brings it.
struct MissingHelper {
    std::string program;  // "xdg-open"
    std::string package;  // "xdg-utils"
    bool operator==(const MissingHelper&) const = default;
};

}  // namespace vantic
