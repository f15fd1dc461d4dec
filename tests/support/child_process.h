#pragma once

// Helper programs started by tests (the reference servers): started with
// their output on a pipe, read line by line and waited for, every wait
// bounded by a deadline.

#include <sys/types.h>

#include <chrono>
#include <string>
#include <string_view>
#include <vector>

namespace vantic::testing {

using SteadyClock = std::chrono::steady_clock;

struct Child {
    pid_t pid = -1;
    int out = -1;  // read end of the child's standard output
};

// Starts argv with standard output on a pipe and standard error appended
// to errorPath.
[[nodiscard]] Child Spawn(const std::vector<std::string>& args, const std::string& errorPath);

// Reads lines from fd until one starts with prefix, end of file, or the
// deadline; gives every line read.
[[nodiscard]] std::vector<std::string> ReadLines(int fd, SteadyClock::time_point deadline,
                                                 std::string_view until);

// Waits for the child to end; its wait status, or -1 when it outlives
// the time limit.
int WaitFor(pid_t pid, int seconds);

// A program built beside the test programs: <build>/<relative>, found
// through $VANTIC_BIN_DIR or this program's location.
[[nodiscard]] std::string BuiltProgram(const std::string& relative);

// text quoted for the shell, single quotes inside it included.
[[nodiscard]] std::string Quote(const std::string& text);

// How a program run to its end ended, and what it printed.
struct ProgramRun {
    int code = -1;  // its exit status; -1 when it did not exit
    std::string out;
    std::string err;
};

// Runs argv through the shell, standard input from inputPath, standard
// output and error caught in files of scratchDir, and waits for its end.
[[nodiscard]] ProgramRun RunProgram(const std::vector<std::string>& argv,
                                    const std::string& inputPath, const std::string& scratchDir);

}  // namespace vantic::testing
