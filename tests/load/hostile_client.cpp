// Hostile clients: each repeats one misbehaviour on the wire until told to
// stop, and counts the connections the server ended by itself.

#include <poll.h>
#include <sys/socket.h>

#include <chrono>
#include <random>
#include <thread>

#include "net/login_block.h"
#include "net/session.h"
#include "tests/load/load_clients.h"

namespace vantic::load {

const char* HostileName(HostileKind kind) {
    switch (kind) {
        case HostileKind::Trickle:
            return "trickle";
        case HostileKind::OversizeLength:
            return "oversize-length";
        case HostileKind::Garbage:
            return "garbage";
        case HostileKind::OpenAndDrop:
            return "open-and-drop";
    }
    return "?";
}

namespace {

using namespace std::chrono_literals;

// True when the server closes or resets the connection within limit;
// whatever it sends meanwhile is dropped.
bool ServerCloses(const Socket& socket, std::chrono::milliseconds limit) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    std::uint8_t sink[512];
    while (std::chrono::steady_clock::now() < deadline) {
        const ssize_t got = ::recv(socket.Handle(), sink, sizeof sink, MSG_DONTWAIT);
        if (got == 0 || (got < 0 && errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR)) {
            return true;
        }
        if (got < 0) {
            pollfd entry{socket.Handle(), POLLIN, 0};
            ::poll(&entry, 1, 100);
        }
    }
    return false;
}

bool ReadNonce(const Socket& socket) {
    std::uint8_t nonce[kNonceSize];
    return socket.Valid() && RecvExact(socket, nonce, 10s);
}

// The login block a byte at a time, 300 ms apart: the whole block would
// take longer than the server's limit for one piece.
void Trickle(const ServerAccess& access, const std::atomic<bool>& stop, HostileTally& tally) {
    Socket socket = OpenServerConnection(access.host);
    if (!ReadNonce(socket)) {
        return;
    }
    for (std::size_t sent = 0; sent < kLoginBlockSize && !stop; ++sent) {
        const std::uint8_t byte = 0x55;
        if (!SendExact(socket, ByteView(&byte, 1), 1s) || ServerCloses(socket, 300ms)) {
            ++tally.droppedByServer;
            return;
        }
    }
}

// A logged-in upload whose frame announces more than any limit allows, or
// a large body that stops early.
void OversizeLength(const ServerAccess& access, std::uint64_t round, HostileTally& tally) {
    struct Frame {
        ServerCommand command;
        std::uint32_t length;
        std::uint32_t zero;
        std::size_t bodyBytes;
    };
    static constexpr Frame kFrames[] = {
        {ServerCommand::PutInstructionFile, 0xFFFFFFFFu, 0, 0},
        {ServerCommand::PutMedia, 0xFFFFFFFFu, 0, 0},
        {ServerCommand::PutOwnerMap, kMaxDownloadLength + 1, 0, 0},
        {ServerCommand::PutInstructionFile, 64, 7, 64},
        {ServerCommand::PutOwnerMap, kMaxDownloadLength, 0, 256 * 1024},
    };
    const Frame& frame = kFrames[round % std::size(kFrames)];
    Socket socket = OpenServerConnection(access.host);
    const Md5Digest digest{};
    if (!socket.Valid() ||
        !SendLogin(
            socket, access, frame.command, 1012,
            frame.command == ServerCommand::PutMedia ? std::optional(digest) : std::nullopt)) {
        return;
    }
    const Bytes body(frame.bodyBytes, 0xA5);
    if (!SendWord(socket, frame.length, 5s) || !SendWord(socket, frame.zero, 5s)) {
        ++tally.droppedByServer;
        return;
    }
    if (frame.bodyBytes > 0 && !SendExact(socket, body, 5s)) {
        ++tally.droppedByServer;
        return;
    }
    // A body cut short leaves the server waiting: hang up as a lost client would.
    if (frame.length > frame.bodyBytes && frame.bodyBytes > 0) {
        return;
    }
    if (ServerCloses(socket, 10s)) {
        ++tally.droppedByServer;
    }
}

void Garbage(const ServerAccess& access, std::mt19937& random, HostileTally& tally) {
    Socket socket = OpenServerConnection(access.host);
    if (!ReadNonce(socket)) {
        return;
    }
    Bytes noise(4096);
    for (std::uint8_t& byte : noise) {
        byte = static_cast<std::uint8_t>(random());
    }
    // Sometimes a plausible length byte first, so the server tries the key.
    noise[0] = random() % 2 == 0 ? 0x80 : noise[0];
    (void)SendExact(socket, noise, 5s);
    if (ServerCloses(socket, 10s)) {
        ++tally.droppedByServer;
    }
}

void OpenAndDrop(const ServerAccess& access, std::uint64_t round) {
    Socket socket = OpenServerConnection(access.host);
    if (socket.Valid() && round % 2 == 1) {
        linger reset{1, 0};
        ::setsockopt(socket.Handle(), SOL_SOCKET, SO_LINGER, &reset, sizeof reset);
    }
}

}  // namespace

void RunHostileClient(const ServerAccess& access, HostileKind kind, const std::atomic<bool>& stop,
                      HostileTally& tally) {
    std::mt19937 random(
        static_cast<unsigned>(std::hash<std::thread::id>{}(std::this_thread::get_id())));
    for (std::uint64_t round = 0; !stop; ++round) {
        ++tally.connections;
        switch (kind) {
            case HostileKind::Trickle:
                Trickle(access, stop, tally);
                break;
            case HostileKind::OversizeLength:
                OversizeLength(access, round, tally);
                break;
            case HostileKind::Garbage:
                Garbage(access, random, tally);
                break;
            case HostileKind::OpenAndDrop:
                OpenAndDrop(access, round);
                // Thousands a second would only measure the accept queue.
                std::this_thread::sleep_for(5ms);
                break;
        }
    }
}

}  // namespace vantic::load
