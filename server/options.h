#pragma once

// The command line of vantic-server.

#include <optional>
#include <string>
#include <vector>

#include "server/account_command.h"
#include "server/server.h"

namespace vantic::server {

enum class Action { Help, SeedDemo, Serve, Account };

// Where the packaged service keeps its data: what account works on when
// --data does not say.
inline constexpr const char* kServiceDataDir = "/var/lib/vantic-server";

struct CommandLine {
    Action action = Action::Help;
    std::string seedDir;
    std::uint32_t seedHashIterations = kDefaultHashIterations;
    ServeOptions serve;
    AccountCommand account;
};

// args excludes the program name. Nothing, with the reason in error, when
// the line is not valid.
[[nodiscard]] std::optional<CommandLine> ParseCommandLine(const std::vector<std::string>& args,
                                                          std::string& error);
[[nodiscard]] std::string HelpText();

}  // namespace vantic::server
