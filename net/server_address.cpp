#include "net/server_address.h"

#include <charconv>

namespace vantic {

std::optional<ServerAddress> ParseServerAddress(std::string_view text) {
    ServerAddress address;
    std::size_t colon = text.rfind(':');
    address.host = std::string(text.substr(0, colon));
    if (colon != std::string_view::npos) {
        std::string_view port = text.substr(colon + 1);
        unsigned value = 0;
        auto [end, error] = std::from_chars(port.data(), port.data() + port.size(), value);
        if (port.empty() || error != std::errc() || end != port.data() + port.size() ||
            value == 0 || value > 65535) {
            return std::nullopt;
        }
        address.port = static_cast<std::uint16_t>(value);
    }
    if (address.host.empty()) {
        return std::nullopt;
    }
    return address;
}

std::string ServerPeerName(std::string_view text) {
    std::optional<ServerAddress> address = ParseServerAddress(text);
    return address ? address->host + ":" + std::to_string(address->port) : std::string(text);
}

}  // namespace vantic
