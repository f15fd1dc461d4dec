#pragma once

// A connected socket pair for the session tests: the client end is a
// non-blocking Socket as the session code expects, the peer end a plain
// blocking descriptor that a test scripts from its own thread.

#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "net/bytes.h"
#include "net/rsa.h"
#include "net/rsa_key.h"
#include "net/server_access.h"
#include "net/session.h"
#include "platform/socket.h"
#include "tests/support/temp_dir.h"

namespace vantic::testing {

class SocketPair {
  public:
    SocketPair() {
        int ends[2] = {-1, -1};
        if (socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, ends) == 0) {
            fcntl(ends[0], F_SETFL, fcntl(ends[0], F_GETFL) | O_NONBLOCK);
            client_ = Socket(ends[0]);
            peer_ = ends[1];
        }
    }
    ~SocketPair() { ClosePeer(); }
    SocketPair(const SocketPair&) = delete;
    SocketPair& operator=(const SocketPair&) = delete;

    [[nodiscard]] const Socket& Client() const { return client_; }
    void CloseClient() { client_.Close(); }
    [[nodiscard]] int Peer() const { return peer_; }
    void ClosePeer() {
        if (peer_ >= 0) {
            ::close(peer_);
            peer_ = -1;
        }
    }

  private:
    Socket client_;
    int peer_ = -1;
};

inline bool PeerWrite(int fd, ByteView data) {
    while (!data.empty()) {
        ssize_t sent = ::send(fd, data.data(), data.size(), MSG_NOSIGNAL);
        if (sent <= 0) {
            return false;
        }
        data = data.subspan(static_cast<std::size_t>(sent));
    }
    return true;
}

inline bool PeerWriteWord(int fd, std::uint32_t value) {
    const std::uint8_t bytes[4] = {
        static_cast<std::uint8_t>(value >> 24), static_cast<std::uint8_t>(value >> 16),
        static_cast<std::uint8_t>(value >> 8), static_cast<std::uint8_t>(value)};
    return PeerWrite(fd, bytes);
}

// Up to `count` bytes; fewer when the other end closed first.
inline Bytes PeerRead(int fd, std::size_t count) {
    Bytes bytes(count);
    std::size_t done = 0;
    while (done < count) {
        ssize_t got = ::recv(fd, bytes.data() + done, count - done, 0);
        if (got <= 0) {
            break;
        }
        done += static_cast<std::size_t>(got);
    }
    bytes.resize(done);
    return bytes;
}

inline std::optional<std::uint32_t> PeerReadWord(int fd) {
    Bytes bytes = PeerRead(fd, 4);
    if (bytes.size() != 4) {
        return std::nullopt;
    }
    return std::uint32_t{bytes[0]} << 24 | std::uint32_t{bytes[1]} << 16 |
           std::uint32_t{bytes[2]} << 8 | bytes[3];
}

// Everything until the other end closes.
inline Bytes PeerReadToEnd(int fd) {
    Bytes all;
    std::uint8_t piece[65536];
    for (ssize_t got; (got = ::recv(fd, piece, sizeof piece, 0)) > 0;) {
        all.insert(all.end(), piece, piece + got);
    }
    return all;
}

inline double SecondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// A time limit no test comes near. A step that must end at once, not at its
// limit, runs under it and must end well before it: no load on the machine
// takes that long, and a step that waited for its limit cannot pass.
inline constexpr std::chrono::seconds kLongLimit{60};
inline constexpr double kWellBeforeTheLongLimit = 30.0;

// The access with other time limits: each piece and word waits at most
// `piece`, the connect at most `connect`.
inline ServerAccess WithLimits(ServerAccess access, std::chrono::milliseconds piece,
                               std::chrono::milliseconds connect = std::chrono::seconds(15)) {
    access.limits = {connect, piece, piece};
    return access;
}

// A server key with its public half in a "p.key" file.
struct TestServerKey {
    explicit TestServerKey(int bits) {
        key = GenerateRsaKey(bits).value_or(RsaPrivateKey{});
        written = WritePublicKeyFile(publicFile, key.Public());
    }

    // One 1024-bit key for the whole test program: generating is slow.
    static const TestServerKey& Default() {
        static const auto shared = std::make_unique<TestServerKey>(1024);
        return *shared;
    }

    TempDir dir;
    std::string publicFile = dir.File("p.key");
    RsaPrivateKey key;
    bool written = false;
};

}  // namespace vantic::testing
