#include "server/connection.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>

#include "server/wire.h"

namespace vantic::server {

namespace {

using Clock = std::chrono::steady_clock;

// A pending piece is polled in steps of this length, so a stop request is
// noticed quickly.
constexpr int kWaitStepMs = 200;

bool WouldBlock(int error) {
    return error == EAGAIN || error == EWOULDBLOCK || error == EINTR;
}

// Waits up to one step for the socket to become ready for events.
void WaitStep(int fd, short events, Clock::time_point deadline) {
    auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
    int wait = static_cast<int>(std::clamp<long long>(left.count(), 1, kWaitStepMs));
    pollfd entry{fd, events, 0};
    ::poll(&entry, 1, wait);
}

}  // namespace

std::string_view IoResultName(IoResult result) {
    switch (result) {
        case IoResult::Ok:
            return "ok";
        case IoResult::Timeout:
            return "timeout";
        case IoResult::Closed:
            return "peer-closed";
        case IoResult::Error:
            return "io-error";
        case IoResult::Stopped:
            return "server-stopping";
    }
    return "?";
}

Connection::Connection(int fd, std::string peer, const std::atomic<bool>* stop)
    : fd_(fd), peer_(std::move(peer)), stop_(stop) {
    int flags = ::fcntl(fd_, F_GETFL, 0);
    if (flags >= 0) {
        ::fcntl(fd_, F_SETFL, flags | O_NONBLOCK);
    }
}

Connection::~Connection() {
    Close();
}

int Connection::Release() {
    const int fd = fd_;
    fd_ = -1;
    return fd;
}

void Connection::Close(bool abort) {
    if (fd_ < 0) {
        return;
    }
    if (abort) {
        linger reset{1, 0};
        ::setsockopt(fd_, SOL_SOCKET, SO_LINGER, &reset, sizeof reset);
    }
    ::close(fd_);
    fd_ = -1;
}

bool Connection::Stopping() const {
    return stop_ != nullptr && stop_->load();
}

void Connection::RequireRate(std::uint32_t bytesPerSecond, int graceSeconds) {
    minRate_ = bytesPerSecond;
    rateFrom_ = Clock::now() + std::chrono::seconds(graceSeconds);
    rateBase_ = bytesIn_;
}

bool Connection::BelowRate() const {
    if (minRate_ == 0) {
        return false;
    }
    // What has arrived buys time at the required rate beyond the grace.
    const auto earned = std::chrono::microseconds((bytesIn_ - rateBase_) * 1'000'000 / minRate_);
    return Clock::now() > rateFrom_ + earned;
}

IoResult Connection::Receive(std::uint8_t* data, std::size_t count, int limitSeconds) {
    if (fd_ < 0) {
        return IoResult::Closed;
    }
    // Each recv takes all that has arrived, but every piece still has its
    // own limit, counted from the moment the piece before it was complete.
    auto deadline = Clock::now() + std::chrono::seconds(limitSeconds);
    std::size_t done = 0;
    std::size_t pieceEnd = std::min(count, kPieceSize);
    while (done < count) {
        ssize_t got = ::recv(fd_, data + done, count - done, 0);
        if (got > 0) {
            bytesIn_ += static_cast<std::uint64_t>(got);
            done += static_cast<std::size_t>(got);
            if (done >= pieceEnd) {
                deadline = Clock::now() + std::chrono::seconds(limitSeconds);
                pieceEnd = std::min(count, (done / kPieceSize + 1) * kPieceSize);
            }
            continue;
        }
        if (got == 0) {
            return IoResult::Closed;
        }
        if (!WouldBlock(errno)) {
            return IoResult::Error;
        }
        if (Stopping()) {
            return IoResult::Stopped;
        }
        if (Clock::now() >= deadline || BelowRate()) {
            return IoResult::Timeout;
        }
        WaitStep(fd_, POLLIN, deadline);
    }
    return IoResult::Ok;
}

IoResult Connection::Send(const std::uint8_t* data, std::size_t count, int limitSeconds) {
    while (count > 0) {
        const std::size_t piece = std::min(count, kPieceSize);
        IoResult result = SendPiece(data, piece, limitSeconds);
        if (result != IoResult::Ok) {
            return result;
        }
        data += piece;
        count -= piece;
    }
    return IoResult::Ok;
}

IoResult Connection::SendPiece(const std::uint8_t* data, std::size_t count, int limitSeconds) {
    if (fd_ < 0) {
        return IoResult::Closed;
    }
    const auto deadline = Clock::now() + std::chrono::seconds(limitSeconds);
    while (count > 0) {
        ssize_t sent = ::send(fd_, data, count, MSG_NOSIGNAL);
        if (sent > 0) {
            bytesOut_ += static_cast<std::uint64_t>(sent);
            data += sent;
            count -= static_cast<std::size_t>(sent);
            continue;
        }
        if (sent < 0 && !WouldBlock(errno)) {
            return errno == EPIPE || errno == ECONNRESET ? IoResult::Closed : IoResult::Error;
        }
        if (Stopping()) {
            return IoResult::Stopped;
        }
        if (Clock::now() >= deadline) {
            return IoResult::Timeout;
        }
        WaitStep(fd_, POLLOUT, deadline);
    }
    return IoResult::Ok;
}

IoResult Connection::ReceiveWord(std::uint32_t& value, int limitSeconds) {
    std::uint8_t bytes[4];
    IoResult result = Receive(bytes, sizeof bytes, limitSeconds);
    if (result == IoResult::Ok) {
        value = ReadWord(bytes);
    }
    return result;
}

IoResult Connection::SendWord(std::uint32_t value, int limitSeconds) {
    auto bytes = WordBytes(value);
    return Send(bytes.data(), bytes.size(), limitSeconds);
}

bool Connection::WaitForPeerClose(int seconds) {
    const auto deadline = Clock::now() + std::chrono::seconds(seconds);
    std::uint8_t sink[512];
    while (fd_ >= 0 && !Stopping() && Clock::now() < deadline) {
        ssize_t got = ::recv(fd_, sink, sizeof sink, 0);
        if (got == 0 || (got < 0 && !WouldBlock(errno))) {
            return true;
        }
        if (got > 0) {
            bytesIn_ += static_cast<std::uint64_t>(got);
            continue;
        }
        WaitStep(fd_, POLLIN, deadline);
    }
    return false;
}

bool Connection::Pause(int seconds) {
    const auto deadline = Clock::now() + std::chrono::seconds(seconds);
    while (Clock::now() < deadline) {
        if (Stopping()) {
            return false;
        }
        auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        ::poll(nullptr, 0, static_cast<int>(std::clamp<long long>(left.count(), 1, kWaitStepMs)));
    }
    return !Stopping();
}

}  // namespace vantic::server
