#pragma once

// Hands a file, a web address or a program to the desktop.

#include <string>

namespace vantic {

class ShellLauncher {
  public:
    virtual ~ShellLauncher() = default;
    // Opens target with the program the desktop associates with it. With
    // parameters, target is a program started with them (blank-separated).
    // False when nothing could be started; the opened program's own
    // failures are not seen.
    virtual bool Open(const std::string& target, const std::string& parameters) = 0;
};

}  // namespace vantic
