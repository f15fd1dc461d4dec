#include "app/update/update_server_address.h"

#include <arpa/inet.h>

#include <algorithm>
#include <charconv>

#include "framework/wreg.h"

namespace vantic {

namespace {

constexpr std::size_t kMaxHostName = 253;
constexpr std::size_t kMaxLabel = 63;

bool IsLabelCharacter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-';
}

// Dot-separated labels of letters, digits and '-', none starting or ending
// with '-' (IPv4 addresses are such names too).
bool IsHostName(std::string_view name) {
    if (name.empty() || name.size() > kMaxHostName) {
        return false;
    }
    std::size_t start = 0;
    while (start <= name.size()) {
        const std::size_t dot = std::min(name.find('.', start), name.size());
        const std::string_view label = name.substr(start, dot - start);
        if (label.empty() || label.size() > kMaxLabel || label.front() == '-' ||
            label.back() == '-') {
            return false;
        }
        for (char c : label) {
            if (!IsLabelCharacter(c)) {
                return false;
            }
        }
        start = dot + 1;
    }
    return true;
}

bool IsIpv6Address(std::string_view text) {
    in6_addr address{};
    return !text.empty() && ::inet_pton(AF_INET6, std::string(text).c_str(), &address) == 1;
}

std::optional<int> ParsePort(std::string_view digits) {
    int port = 0;
    const char* end = digits.data() + digits.size();
    auto [stop, error] = std::from_chars(digits.data(), end, port);
    if (digits.empty() || digits.front() == '+' || error != std::errc() || stop != end ||
        port < 1 || port > 65535) {
        return std::nullopt;
    }
    return port;
}

// "[address]" or "[address]:port".
std::optional<UpdateServer> ParseBracketed(std::string_view text) {
    const std::size_t close = text.find(']');
    if (close == std::string_view::npos || !IsIpv6Address(text.substr(1, close - 1))) {
        return std::nullopt;
    }
    UpdateServer server;
    server.host = std::string(text.substr(1, close - 1));
    const std::string_view rest = text.substr(close + 1);
    if (rest.empty()) {
        return server;
    }
    const std::optional<int> port = rest.front() == ':' ? ParsePort(rest.substr(1)) : std::nullopt;
    if (!port) {
        return std::nullopt;
    }
    server.port = *port;
    return server;
}

}  // namespace

std::optional<UpdateServer> ParseUpdateServer(std::string_view text) {
    if (text.empty()) {
        return UpdateServer{};
    }
    if (text.front() == '[') {
        return ParseBracketed(text);
    }
    // One colon at most: a bare IPv6 address is ambiguous with a port.
    const std::size_t colon = text.find(':');
    UpdateServer server;
    server.host = std::string(text.substr(0, colon));
    if (!IsHostName(server.host)) {
        return std::nullopt;
    }
    if (colon != std::string_view::npos) {
        const std::optional<int> port = ParsePort(text.substr(colon + 1));
        if (!port) {
            return std::nullopt;
        }
        server.port = *port;
    }
    return server;
}

std::string BadUpdateServerText(std::string_view text) {
    return "The update server setting " + std::string(text) + " is not a host name or address";
}

UpdateServer UpdateServerFromSettings(WReg& settings, std::string& problem) {
    constexpr std::size_t kTextSize = 4096;
    const std::string text = settings.GetString(kUpdateServerKey, kTextSize);
    std::optional<UpdateServer> server = ParseUpdateServer(text);
    if (!server) {
        problem = BadUpdateServerText(text);
        return UpdateServer{};
    }
    server->certificate = settings.GetString(kUpdateCertificateKey, kTextSize);
    return *server;
}

std::string UpdateUrl(const UpdateServer& server, std::string_view path) {
    const bool ipv6 = server.host.find(':') != std::string::npos;
    const std::string host = ipv6 ? "[" + server.host + "]" : server.host;
    return "https://" + host + ":" + std::to_string(server.port) + "/" + std::string(path);
}

}  // namespace vantic
