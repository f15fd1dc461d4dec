#pragma once

// vanticctl's subcommands, kept in one table: each entry names its words,
// its arguments and whether it talks to the server, so that a new
// subcommand (deployment, settings, reports) is one more row and one more
// handler.

#include <cstddef>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "net/server_access.h"
#include "tools/vanticctl/ctl_options.h"

namespace vantic::ctl {

// The process exit codes.
enum class ExitStatus : int {
    Success = 0,
    Failure = 1,        // anything else, usage errors included
    Absent = 2,         // the server holds nothing for the request
    Undecryptable = 3,  // the server's reply did not decrypt
};

struct Invocation {
    const CtlOptions& options;
    const ServerAccess* access;              // set for commands that talk to the server
    std::span<const std::string> arguments;  // after the subcommand's words
    std::string& output;                     // bytes for standard output
};

struct CommandOutcome {
    ExitStatus status = ExitStatus::Success;
    std::string error;  // one line for standard error unless status is Success
};

struct Subcommand {
    std::string_view words;      // "instructions get"
    std::string_view arguments;  // "N FILE", for the usage text
    std::size_t minArguments = 0;
    std::size_t maxArguments = 0;
    bool talksToServer = true;
    CommandOutcome (*run)(const Invocation&) = nullptr;
    std::string_view summary;
    bool deploys = false;   // takes the options of deploy and settings
    bool reports = false;   // takes --from, --to and --units
    bool plans = false;     // takes --playlist, --channel and --date
    bool previews = false;  // takes --dry-run
};

[[nodiscard]] std::span<const Subcommand> Subcommands();

// The subcommand whose words start `words`, preferring the longest; sets
// `used` to the number of its words. Null when none matches.
[[nodiscard]] const Subcommand* FindSubcommand(std::span<const std::string> words,
                                               std::size_t& used);

[[nodiscard]] std::string UsageText();

// The whole program: reads the arguments (without the program name), runs
// one subcommand, and leaves what belongs on standard output in `out` and
// the error line in `err`. Returns the exit code.
[[nodiscard]] int RunCtl(const std::vector<std::string>& arguments, std::string& out,
                         std::string& err);

}  // namespace vantic::ctl
