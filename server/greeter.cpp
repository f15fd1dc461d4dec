#include "server/greeter.h"

#include <fcntl.h>
#include <sys/random.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

namespace vantic::server {

namespace {

using Clock = std::chrono::steady_clock;

bool WouldBlock(int error) {
    return error == EAGAIN || error == EWOULDBLOCK || error == EINTR;
}

long long MillisecondsSince(Clock::time_point began) {
    return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - began).count();
}

}  // namespace

Nonce FreshNonce() {
    Nonce nonce{};
    std::size_t filled = 0;
    while (filled < nonce.size()) {
        ssize_t got = ::getrandom(nonce.data() + filled, nonce.size() - filled, 0);
        if (got > 0) {
            filled += static_cast<std::size_t>(got);
        }
    }
    return nonce;
}

Greeter::Greeter(int pieceSeconds, std::size_t maxPending)
    : pieceLimit_(pieceSeconds), maxPending_(maxPending) {}

Greeter::~Greeter() {
    CloseAll();
}

FailedGreeting Greeter::Failure(const Pending& pending, std::string outcome,
                                std::uint64_t bytesOut) {
    return FailedGreeting{pending.peer,       pending.greeting.start,
                          std::move(outcome), pending.received,
                          bytesOut,           MillisecondsSince(pending.greeting.began)};
}

std::optional<FailedGreeting> Greeter::Add(int fd, std::string peer) {
    Pending pending{fd, std::move(peer), Greeting{}, 0, {}};
    pending.greeting.start = std::time(nullptr);
    pending.greeting.began = Clock::now();
    pending.deadline = pending.greeting.began + pieceLimit_;
    if (pending_.size() >= maxPending_) {
        ::close(fd);
        return Failure(pending, "overload", 0);
    }
    const int flags = ::fcntl(fd, F_GETFL, 0);
    ::fcntl(fd, F_SETFL, (flags < 0 ? 0 : flags) | O_NONBLOCK);
    pending.greeting.nonce = FreshNonce();
    // A new connection's send buffer always takes the 16 bytes at once.
    const ssize_t sent =
        ::send(fd, pending.greeting.nonce.data(), kNonceSize, MSG_NOSIGNAL | MSG_DONTWAIT);
    if (sent != static_cast<ssize_t>(kNonceSize)) {
        ::close(fd);
        return Failure(pending, "io-error:nonce", 0);
    }
    pending_.push_back(std::move(pending));
    return std::nullopt;
}

void Greeter::AppendPollEntries(std::vector<pollfd>& entries) const {
    for (const Pending& pending : pending_) {
        entries.push_back(pollfd{pending.fd, POLLIN, 0});
    }
}

int Greeter::NextTimeoutMs() const {
    if (pending_.empty()) {
        return -1;
    }
    Clock::time_point first = pending_.front().deadline;
    for (const Pending& pending : pending_) {
        first = std::min(first, pending.deadline);
    }
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(first - Clock::now());
    return static_cast<int>(std::clamp<long long>(left.count() + 1, 0, 60'000));
}

bool Greeter::Read(Pending& pending, std::vector<Accepted>& complete,
                   std::vector<FailedGreeting>& failed) {
    Greeting& greeting = pending.greeting;
    for (;;) {
        const ssize_t got = ::recv(pending.fd, greeting.block.data() + pending.received,
                                   greeting.block.size() - pending.received, MSG_DONTWAIT);
        if (got > 0) {
            pending.received += static_cast<std::size_t>(got);
            if (pending.received == greeting.block.size()) {
                complete.push_back(Accepted{pending.fd, pending.peer, greeting});
                return true;
            }
            continue;
        }
        if (got < 0 && WouldBlock(errno)) {
            break;
        }
        ::close(pending.fd);
        failed.push_back(Failure(
            pending, got == 0 ? "peer-closed:login-block" : "io-error:login-block", kNonceSize));
        return true;
    }
    if (Clock::now() >= pending.deadline) {
        ::close(pending.fd);
        failed.push_back(Failure(pending, "timeout:login-block", kNonceSize));
        return true;
    }
    return false;
}

void Greeter::Service(const pollfd* entries, std::size_t count, std::vector<Accepted>& complete,
                      std::vector<FailedGreeting>& failed) {
    const Clock::time_point now = Clock::now();
    std::vector<bool> over(pending_.size(), false);
    for (std::size_t at = 0; at < pending_.size(); ++at) {
        const bool ready = at < count && entries[at].revents != 0;
        if (ready || now >= pending_[at].deadline) {
            over[at] = Read(pending_[at], complete, failed);
        }
    }
    std::size_t kept = 0;
    for (std::size_t at = 0; at < pending_.size(); ++at) {
        if (!over[at]) {
            pending_[kept++] = std::move(pending_[at]);
        }
    }
    pending_.erase(pending_.begin() + static_cast<std::ptrdiff_t>(kept), pending_.end());
}

void Greeter::CloseAll() {
    for (const Pending& pending : pending_) {
        ::close(pending.fd);
    }
    pending_.clear();
}

}  // namespace vantic::server
