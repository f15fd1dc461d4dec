#include "server/listener.h"

#include <arpa/inet.h>
#include <netdb.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "core/cpconfig.h"

namespace vantic::server {

namespace {

constexpr int kBacklog = 1024;

std::optional<in_addr> Resolve(const std::string& host) {
    in_addr address{};
    if (host.empty() || host == "*") {
        address.s_addr = htonl(INADDR_ANY);
        return address;
    }
    if (::inet_pton(AF_INET, host.c_str(), &address) == 1) {
        return address;
    }
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    if (::getaddrinfo(host.c_str(), nullptr, &hints, &found) != 0 || found == nullptr) {
        return std::nullopt;
    }
    address = reinterpret_cast<sockaddr_in*>(found->ai_addr)->sin_addr;
    ::freeaddrinfo(found);
    return address;
}

std::string AddressText(const in_addr& address) {
    char text[INET_ADDRSTRLEN] = {};
    ::inet_ntop(AF_INET, &address, text, sizeof text);
    return text;
}

}  // namespace

std::optional<ListenAddress> ParseListenAddress(const std::string& text,
                                                const ListenAddress& fallback) {
    ListenAddress result = fallback;
    std::size_t colon = text.rfind(':');
    std::string portText = colon == std::string::npos ? "" : text.substr(colon + 1);
    std::string host = colon == std::string::npos ? text : text.substr(0, colon);
    if (!host.empty()) {
        result.host = host;
    }
    if (colon == std::string::npos) {
        return result;
    }
    if (portText.empty() || portText.size() > 5 ||
        portText.find_first_not_of("0123456789") != std::string::npos) {
        return std::nullopt;
    }
    long long port = LeadingInteger(portText);
    if (port > 65535) {
        return std::nullopt;
    }
    result.port = static_cast<std::uint16_t>(port);
    return result;
}

std::optional<Listener> Listener::Open(const ListenAddress& address, std::string& error) {
    std::optional<in_addr> host = Resolve(address.host);
    if (!host) {
        error = "cannot resolve the listen address " + address.host;
        return std::nullopt;
    }
    // Non-blocking, so the accept thread can take connections until none wait.
    int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (fd < 0) {
        error = std::string("cannot create a socket: ") + std::strerror(errno);
        return std::nullopt;
    }
    int on = 1;
    ::setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
    sockaddr_in bind{};
    bind.sin_family = AF_INET;
    bind.sin_addr = *host;
    bind.sin_port = htons(address.port);
    socklen_t size = sizeof bind;
    if (::bind(fd, reinterpret_cast<sockaddr*>(&bind), sizeof bind) != 0 ||
        ::listen(fd, kBacklog) != 0 ||
        ::getsockname(fd, reinterpret_cast<sockaddr*>(&bind), &size) != 0) {
        error = "cannot listen on " + address.host + ":" + std::to_string(address.port) + ": " +
                std::strerror(errno);
        ::close(fd);
        return std::nullopt;
    }
    return Listener(fd, ListenAddress{AddressText(bind.sin_addr), ntohs(bind.sin_port)});
}

Listener::Listener(Listener&& other) noexcept : fd_(other.fd_), bound_(std::move(other.bound_)) {
    other.fd_ = -1;
}

Listener::~Listener() {
    if (fd_ >= 0) {
        ::close(fd_);
    }
}

std::string PeerText(int fd) {
    sockaddr_in peer{};
    socklen_t size = sizeof peer;
    if (::getpeername(fd, reinterpret_cast<sockaddr*>(&peer), &size) != 0 ||
        peer.sin_family != AF_INET) {
        return "unknown";
    }
    return AddressText(peer.sin_addr) + ":" + std::to_string(ntohs(peer.sin_port));
}

std::string PeerAddress(std::string_view peer) {
    return std::string(peer.substr(0, peer.rfind(':')));
}

}  // namespace vantic::server
