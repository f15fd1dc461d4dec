#pragma once

// TCP stream sockets over IPv4, the way the server link uses them: connected
// under a time limit, then non-blocking, with keep-alive on. Every move of
// bytes is one attempt that may report "would block"; the caller waits for
// readiness and tries again (net/session.h builds exact transfers on it).

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace vantic {

// An IPv4 address as its four bytes, most significant first.
struct Ipv4Address {
    std::uint8_t bytes[4] = {};

    [[nodiscard]] std::string ToText() const;
    friend bool operator==(const Ipv4Address&, const Ipv4Address&) = default;
};

// The first IPv4 address the system's name lookup gives for `name`; none
// when the lookup finds nothing.
[[nodiscard]] std::optional<Ipv4Address> LookUpHostName(const std::string& name);

// Reads dotted IPv4 text the way the classic address parser does
// ("10.0.0.1", also "10.1" and "0x7f.1"); none when it is not one.
[[nodiscard]] std::optional<Ipv4Address> ParseDottedAddress(const std::string& text);

// An owned socket handle, closed when the object goes.
class Socket {
  public:
    Socket() = default;
    explicit Socket(int handle) : handle_(handle) {}
    ~Socket() { Close(); }
    Socket(Socket&& other) noexcept : handle_(other.Release()) {}
    Socket& operator=(Socket&& other) noexcept;
    Socket(const Socket&) = delete;
    Socket& operator=(const Socket&) = delete;

    [[nodiscard]] bool Valid() const { return handle_ >= 0; }
    [[nodiscard]] int Handle() const { return handle_; }
    int Release();
    void Close();

  private:
    int handle_ = -1;
};

// Connects a TCP socket to address:port with keep-alive on, giving up after
// `limit`. The socket comes back non-blocking; an invalid one on failure.
// It is watched as the calling thread's request to `peer` (address:port
// when empty) until it is closed, so a cancel shuts it down (see
// connection_watch.h); a thread whose requests were cancelled gets none.
[[nodiscard]] Socket ConnectTcp(const Ipv4Address& address, std::uint16_t port,
                                std::chrono::milliseconds limit, std::string_view peer = {});

enum class IoStatus {
    Moved,       // `count` bytes moved (0 is possible for a send)
    WouldBlock,  // nothing can move now; wait and try again
    Closed,      // the peer closed the connection (receives only)
    Failed,      // any other error
};

struct IoResult {
    IoStatus status = IoStatus::Failed;
    std::size_t count = 0;
};

// One receive or send attempt on a non-blocking socket. An interrupted call
// reports WouldBlock, so the caller's deadline still governs. Sends never
// raise SIGPIPE.
[[nodiscard]] IoResult ReceiveSome(const Socket& socket, std::span<std::uint8_t> buffer);
[[nodiscard]] IoResult SendSome(const Socket& socket, std::span<const std::uint8_t> data);

// Waits up to `wait` for the socket to become readable or writable. False
// on time-out and on error; the caller's next attempt tells which.
bool WaitReadable(const Socket& socket, std::chrono::milliseconds wait);
bool WaitWritable(const Socket& socket, std::chrono::milliseconds wait);

}  // namespace vantic
