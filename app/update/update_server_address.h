#pragma once

// The update server the settings name: "Update_Server" (a mirror in place of
// the maker's server) and "Update_Certificate" (a PEM file the server's
// certificate must be, or be signed by).

#include <optional>
#include <string>
#include <string_view>

namespace vantic {

inline constexpr const char* kUpdateServerKey = "Update_Server";
inline constexpr const char* kUpdateCertificateKey = "Update_Certificate";
inline constexpr const char* kDefaultUpdateHost = "updates.vantic-signage.example";
inline constexpr int kDefaultUpdatePort = 443;

struct UpdateServer {
    std::string host = kDefaultUpdateHost;  // a name or an address, IPv6 without brackets
    int port = kDefaultUpdatePort;
    // Empty: any certificate is accepted and the signature file alone
    // vouches for an update.
    std::string certificate;
};

// "host", "host:port", "[IPv6]" or "[IPv6]:port"; the default server for
// empty text, none for anything else.
[[nodiscard]] std::optional<UpdateServer> ParseUpdateServer(std::string_view text);

// What the operator is told when the setting is not a server.
[[nodiscard]] std::string BadUpdateServerText(std::string_view text);

class WReg;

// The server "Update_Server" and "Update_Certificate" name. When the first
// is not a server, `problem` receives what the operator is told and the
// default server is returned, never to be asked.
[[nodiscard]] UpdateServer UpdateServerFromSettings(WReg& settings, std::string& problem);

// "https://host:port/path", an IPv6 address in brackets.
[[nodiscard]] std::string UpdateUrl(const UpdateServer& server, std::string_view path);

}  // namespace vantic
