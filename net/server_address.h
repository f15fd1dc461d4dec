#pragma once

// Where the distribution server is: the "Distribution_Server" text names a
// host (a name or a dotted IPv4 address) and may add ":PORT". Servers in
// the field listen on ServerPort; the port suffix is there for servers run
// elsewhere, such as the reference server that tests start on a free
// loopback port.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "net/server_command.h"

namespace vantic {

struct ServerAddress {
    std::string host;
    std::uint16_t port = ServerPort;
};

// "HOST" or "HOST:PORT". None when the host is empty or the port is not a
// decimal number from 1 to 65535.
[[nodiscard]] std::optional<ServerAddress> ParseServerAddress(std::string_view text);
// "HOST:PORT" as a connection to the server named by text uses it; the text
// itself when it names none.
[[nodiscard]] std::string ServerPeerName(std::string_view text);

}  // namespace vantic
