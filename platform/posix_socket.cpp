// The POSIX realisation of platform/socket.h.

#include <arpa/inet.h>
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "platform/connection_watch.h"
#include "platform/socket.h"

namespace vantic {
namespace {

Ipv4Address FromInAddr(const in_addr& in) {
    Ipv4Address address;
    std::memcpy(address.bytes, &in.s_addr, 4);  // s_addr is in network order
    return address;
}

in_addr ToInAddr(const Ipv4Address& address) {
    in_addr in{};
    std::memcpy(&in.s_addr, address.bytes, 4);
    return in;
}

bool SetNonBlocking(int handle) {
    int flags = fcntl(handle, F_GETFL, 0);
    return flags >= 0 && fcntl(handle, F_SETFL, flags | O_NONBLOCK) == 0;
}

bool WaitFor(const Socket& socket, short events, std::chrono::milliseconds wait) {
    pollfd entry{socket.Handle(), events, 0};
    int ready = poll(&entry, 1, static_cast<int>(wait.count()));
    return ready > 0 && (entry.revents & (events | POLLHUP | POLLERR)) != 0;
}

// How long one wait for a connect lasts before a cancel is looked for.
constexpr std::chrono::milliseconds kConnectSlice{100};

// Waits for a non-blocking connect to finish; true when it succeeded. A
// signal that interrupts the wait does not cut the limit short; a cancel
// of the thread's requests does.
bool FinishConnect(const Socket& socket, std::chrono::milliseconds limit) {
    auto deadline = std::chrono::steady_clock::now() + limit;
    for (;;) {
        auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() < 0 || RequestsCancelled()) {
            errno = ETIMEDOUT;
            return false;
        }
        pollfd entry{socket.Handle(), POLLOUT, 0};
        int ready = poll(&entry, 1, static_cast<int>(std::min(left, kConnectSlice).count()));
        if (ready > 0) {
            break;
        }
        if (ready < 0 && errno != EINTR) {
            return false;
        }
    }
    // errno tells the caller why it failed (ECONNREFUSED, ETIMEDOUT...).
    int error = 0;
    socklen_t size = sizeof error;
    if (getsockopt(socket.Handle(), SOL_SOCKET, SO_ERROR, &error, &size) != 0) {
        return false;
    }
    errno = error;
    return error == 0;
}

IoResult FromCall(ssize_t moved, bool isReceive) {
    if (moved > 0) {
        return {IoStatus::Moved, static_cast<std::size_t>(moved)};
    }
    if (moved == 0) {
        return {isReceive ? IoStatus::Closed : IoStatus::Moved, 0};
    }
    if (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR) {
        return {IoStatus::WouldBlock, 0};
    }
    return {IoStatus::Failed, 0};
}

}  // namespace

std::string Ipv4Address::ToText() const {
    char text[INET_ADDRSTRLEN] = {};
    in_addr in = ToInAddr(*this);
    inet_ntop(AF_INET, &in, text, sizeof text);
    return text;
}

std::optional<Ipv4Address> LookUpHostName(const std::string& name) {
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    if (name.empty() || getaddrinfo(name.c_str(), nullptr, &hints, &found) != 0) {
        return std::nullopt;
    }
    std::optional<Ipv4Address> address;
    if (found != nullptr && found->ai_family == AF_INET) {
        address = FromInAddr(reinterpret_cast<const sockaddr_in*>(found->ai_addr)->sin_addr);
    }
    freeaddrinfo(found);
    return address;
}

std::optional<Ipv4Address> ParseDottedAddress(const std::string& text) {
    in_addr in{};
    if (inet_aton(text.c_str(), &in) == 0) {
        return std::nullopt;
    }
    return FromInAddr(in);
}

Socket& Socket::operator=(Socket&& other) noexcept {
    if (this != &other) {
        Close();
        handle_ = other.Release();
    }
    return *this;
}

int Socket::Release() {
    int handle = handle_;
    handle_ = -1;
    return handle;
}

void Socket::Close() {
    if (handle_ >= 0) {
        ForgetConnection(handle_);
        ::close(handle_);
        handle_ = -1;
    }
}

Socket ConnectTcp(const Ipv4Address& address, std::uint16_t port, std::chrono::milliseconds limit,
                  std::string_view peer) {
    if (RequestsCancelled()) {
        return {};
    }
    Socket socket(::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0));
    if (socket.Valid()) {
        WatchConnection(socket.Handle(), peer.empty()
                                             ? address.ToText() + ":" + std::to_string(port)
                                             : std::string(peer));
    }
    int on = 1;
    if (!socket.Valid() ||
        setsockopt(socket.Handle(), SOL_SOCKET, SO_KEEPALIVE, &on, sizeof on) != 0 ||
        !SetNonBlocking(socket.Handle())) {
        return {};
    }
    sockaddr_in target{};
    target.sin_family = AF_INET;
    target.sin_port = htons(port);
    target.sin_addr = ToInAddr(address);
    // Connecting non-blocking lets the limit apply instead of the system's
    // own, which can run to minutes for a host that never answers.
    if (connect(socket.Handle(), reinterpret_cast<const sockaddr*>(&target), sizeof target) != 0) {
        if (errno != EINPROGRESS || !FinishConnect(socket, limit)) {
            return {};
        }
    }
    return socket;
}

namespace {

ssize_t NotingActivity(const Socket& socket, ssize_t moved) {
    if (moved > 0) {
        NoteConnectionActivity(socket.Handle());
    }
    return moved;
}

}  // namespace

IoResult ReceiveSome(const Socket& socket, std::span<std::uint8_t> buffer) {
    return FromCall(NotingActivity(socket, recv(socket.Handle(), buffer.data(), buffer.size(), 0)),
                    true);
}

IoResult SendSome(const Socket& socket, std::span<const std::uint8_t> data) {
    return FromCall(
        NotingActivity(socket, send(socket.Handle(), data.data(), data.size(), MSG_NOSIGNAL)),
        false);
}

bool WaitReadable(const Socket& socket, std::chrono::milliseconds wait) {
    return WaitFor(socket, POLLIN, wait);
}

bool WaitWritable(const Socket& socket, std::chrono::milliseconds wait) {
    return WaitFor(socket, POLLOUT, wait);
}

}  // namespace vantic
