#pragma once

// Where vanticctl finds the server, the login and the key: the controller's
// own settings ("Distribution_Server", "Distribution_Username" and, when it
// is remembered, "Distribution_Userpass" in "config.ini"; "p.key" beside the
// program), each overridable on the command line.

#include <optional>
#include <string>

#include "net/server_access.h"
#include "tools/vanticctl/ctl_options.h"

namespace vantic::ctl {

// The three login settings as the controller reads them at start-up.
struct LoginSettings {
    std::string server;
    std::string user;
    std::string password;  // empty unless "Distribution_Userpass_Remember" is set
};

// From `configFile`, or from the controller's settings store when none is
// given. None when a given file cannot be read.
[[nodiscard]] std::optional<LoginSettings> ReadLoginSettings(
    const std::optional<std::string>& configFile);

struct AccessResult {
    std::optional<ServerAccess> access;
    std::string error;  // one line saying what is missing, when access is none
};

// Combines the settings with the options and checks that everything a
// login needs is there and usable, so that a request fails here with a
// clear reason rather than at the server with none.
[[nodiscard]] AccessResult ResolveAccess(const CtlOptions& options);

}  // namespace vantic::ctl
