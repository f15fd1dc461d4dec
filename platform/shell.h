#pragma once

// Hands a file, a web address or a program to the desktop.

#include <optional>
#include <string>

#include "platform/desktop_helper.h"

namespace vantic {

// Whether a program started, and the system's reason when it did not.
struct ProgramStart {
    bool started = false;
    std::string cause;
};

class ShellLauncher {
  public:
    virtual ~ShellLauncher() = default;
    // Opens target with the program the desktop associates with it. With
    // parameters, target is a program started with them (blank-separated).
    // False when nothing could be started; the opened program's own
    // failures are not seen.
    virtual bool Open(const std::string& target, const std::string& parameters) = 0;
    // Starts program with parameters as Open does; a program that cannot
    // run (a folder mounted noexec, a missing interpreter) says why.
    [[nodiscard]] virtual ProgramStart StartProgram(const std::string& program,
                                                    const std::string& parameters) {
        if (Open(program, parameters)) {
            return ProgramStart{true, {}};
        }
        return ProgramStart{false, program + ": the program could not be started"};
    }
    // The helper Open goes through when it is not installed; none when Open
    // has what it needs. Asked after a failed Open, to tell the operator
    // what to install.
    [[nodiscard]] virtual std::optional<MissingHelper> Missing() const { return std::nullopt; }
};

}  // namespace vantic
