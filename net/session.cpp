#include "net/session.h"

#include <algorithm>

#include "net/server_address.h"
#include "net/server_command.h"

namespace vantic {
namespace {

enum class Step { Done, Pending, Failed };

// One attempt at moving the rest of a piece; advances `done`.
template <typename Attempt>
Step Advance(Attempt attempt, std::size_t size, std::size_t& done) {
    IoResult result = attempt(done);
    if (result.status == IoStatus::Closed || result.status == IoStatus::Failed) {
        return Step::Failed;
    }
    done += result.count;
    return done == size ? Step::Done : Step::Pending;
}

// Moves one piece: an attempt at once, then attempts after readiness waits
// until the piece is complete or its deadline has passed. The deadline runs
// on the monotonic clock, so a change of the calendar clock neither cuts a
// transfer short nor stretches it.
template <typename Attempt, typename Wait>
bool MovePiece(Attempt attempt, Wait wait, std::size_t size, milliseconds limit) {
    std::size_t done = 0;
    Step step = Advance(attempt, size, done);
    auto deadline = std::chrono::steady_clock::now() + limit;
    while (step == Step::Pending) {
        if (std::chrono::steady_clock::now() > deadline) {
            return false;
        }
        wait(kReadinessWait);
        step = Advance(attempt, size, done);
    }
    return step == Step::Done;
}

}  // namespace

Socket OpenServerConnection(std::string_view host, milliseconds connectLimit) {
    std::optional<ServerAddress> address = ParseServerAddress(host);
    if (!address) {
        return {};
    }
    std::optional<Ipv4Address> ip = LookUpHostName(address->host);
    if (!ip) {
        ip = ParseDottedAddress(address->host);
    }
    if (!ip) {
        return {};
    }
    return ConnectTcp(*ip, address->port, connectLimit,
                      address->host + ":" + std::to_string(address->port));
}

bool RecvExact(const Socket& socket, std::span<std::uint8_t> buffer, milliseconds limit) {
    for (std::size_t start = 0; start < buffer.size(); start += kPieceSize) {
        std::span<std::uint8_t> piece =
            buffer.subspan(start).first(std::min(kPieceSize, buffer.size() - start));
        auto attempt = [&](std::size_t done) { return ReceiveSome(socket, piece.subspan(done)); };
        auto wait = [&](milliseconds step) { WaitReadable(socket, step); };
        if (!MovePiece(attempt, wait, piece.size(), limit)) {
            return false;
        }
    }
    return true;
}

bool SendExact(const Socket& socket, ByteView data, milliseconds limit) {
    for (std::size_t start = 0; start < data.size(); start += kPieceSize) {
        ByteView piece = data.subspan(start).first(std::min(kPieceSize, data.size() - start));
        auto attempt = [&](std::size_t done) { return SendSome(socket, piece.subspan(done)); };
        auto wait = [&](milliseconds step) { WaitWritable(socket, step); };
        if (!MovePiece(attempt, wait, piece.size(), limit)) {
            return false;
        }
    }
    return true;
}

std::optional<std::uint32_t> RecvWord(const Socket& socket, milliseconds limit) {
    std::uint8_t bytes[4];
    if (!RecvExact(socket, bytes, limit)) {
        return std::nullopt;
    }
    return std::uint32_t{bytes[0]} << 24 | std::uint32_t{bytes[1]} << 16 |
           std::uint32_t{bytes[2]} << 8 | bytes[3];
}

bool SendWord(const Socket& socket, std::uint32_t value, milliseconds limit) {
    const std::uint8_t bytes[4] = {
        static_cast<std::uint8_t>(value >> 24), static_cast<std::uint8_t>(value >> 16),
        static_cast<std::uint8_t>(value >> 8), static_cast<std::uint8_t>(value)};
    return SendExact(socket, bytes, limit);
}

}  // namespace vantic
