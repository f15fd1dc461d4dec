#pragma once

// The listening socket.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace vantic::server {

struct ListenAddress {
    std::string host = "127.0.0.1";
    std::uint16_t port = 0;
};

// Reads "ADDR:PORT", "ADDR" or ":PORT" (the missing part keeps its value
// in fallback); nothing when the port is not a number up to 65535.
[[nodiscard]] std::optional<ListenAddress> ParseListenAddress(const std::string& text,
                                                              const ListenAddress& fallback);

class Listener {
  public:
    // Binds and listens (IPv4). Port 0 picks a free port.
    [[nodiscard]] static std::optional<Listener> Open(const ListenAddress& address,
                                                      std::string& error);
    Listener(Listener&& other) noexcept;
    ~Listener();
    Listener(const Listener&) = delete;
    Listener& operator=(const Listener&) = delete;
    Listener& operator=(Listener&&) = delete;

    [[nodiscard]] int Fd() const { return fd_; }
    // The bound address, with the port actually chosen.
    [[nodiscard]] const ListenAddress& Bound() const { return bound_; }

  private:
    Listener(int fd, ListenAddress bound) : fd_(fd), bound_(std::move(bound)) {}

    int fd_;
    ListenAddress bound_;
};

// "a.b.c.d:port" of a connected peer.
[[nodiscard]] std::string PeerText(int fd);
// The address part of a peer text, without its port.
[[nodiscard]] std::string PeerAddress(std::string_view peer);

}  // namespace vantic::server
