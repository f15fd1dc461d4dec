#include "server/greeter.h"

#include <fcntl.h>
#include <sys/random.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

#include "server/listener.h"

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

Greeter::Greeter(int blockSeconds, std::size_t maxPending, std::size_t maxPerAddress)
    : blockLimit_(blockSeconds),
      maxPending_(std::max<std::size_t>(maxPending, 1)),
      maxPerAddress_(std::max<std::size_t>(maxPerAddress, 1)) {}

Greeter::~Greeter() {
    CloseAll();
}

FailedGreeting Greeter::Failure(const Pending& pending, std::string outcome,
                                std::uint64_t bytesOut) {
    return FailedGreeting{pending.peer,       pending.greeting.start,
                          std::move(outcome), pending.received,
                          bytesOut,           MillisecondsSince(pending.greeting.began)};
}

void Greeter::Add(int fd, std::string peer, std::vector<Accepted>& complete,
                  std::vector<FailedGreeting>& failed) {
    Pending pending{fd, std::move(peer), {}, Greeting{}, 0, {}};
    pending.address = PeerAddress(pending.peer);
    pending.greeting.start = std::time(nullptr);
    pending.greeting.began = Clock::now();
    pending.deadline = pending.greeting.began + blockLimit_;
    const auto held = perAddress_.find(pending.address);
    if (held != perAddress_.end() && held->second >= maxPerAddress_) {
        EndOldest(pending.address, complete, failed);
    } else if (pending_.size() >= maxPending_) {
        EndOldest(BusiestAddress(), complete, failed);
    }
    const int flags = ::fcntl(fd, F_GETFL, 0);
    ::fcntl(fd, F_SETFL, (flags < 0 ? 0 : flags) | O_NONBLOCK);
    pending.greeting.nonce = FreshNonce();
    // A new connection's send buffer always takes the 16 bytes at once.
    const ssize_t sent =
        ::send(fd, pending.greeting.nonce.data(), kNonceSize, MSG_NOSIGNAL | MSG_DONTWAIT);
    if (sent != static_cast<ssize_t>(kNonceSize)) {
        ::close(fd);
        failed.push_back(Failure(pending, "io-error:nonce", 0));
        return;
    }
    ++perAddress_[pending.address];
    pending_.push_back(std::move(pending));
}

std::string Greeter::BusiestAddress() const {
    auto busiest = perAddress_.begin();
    for (auto at = perAddress_.begin(); at != perAddress_.end(); ++at) {
        busiest = at->second > busiest->second ? at : busiest;
    }
    return busiest == perAddress_.end() ? std::string() : busiest->first;
}

void Greeter::EndOldest(const std::string& address, std::vector<Accepted>& complete,
                        std::vector<FailedGreeting>& failed) {
    // Greetings are appended as they come, so the first found is the oldest.
    const auto oldest = std::find_if(pending_.begin(), pending_.end(),
                                     [&](const Pending& p) { return p.address == address; });
    if (oldest == pending_.end()) {
        return;
    }
    // In a burst of connections an honest block may have arrived unread.
    if (!Read(*oldest, complete, failed)) {
        ::close(oldest->fd);
        failed.push_back(Failure(*oldest, "dropped:login-block", kNonceSize));
    }
    Forget(*oldest);
    pending_.erase(oldest);
}

void Greeter::Forget(const Pending& pending) {
    const auto held = perAddress_.find(pending.address);
    if (held != perAddress_.end() && --held->second == 0) {
        perAddress_.erase(held);
    }
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
        if (over[at]) {
            Forget(pending_[at]);
        } else if (kept++ != at) {
            // Never onto itself: a self-move would empty the peer's name.
            pending_[kept - 1] = std::move(pending_[at]);
        }
    }
    pending_.erase(pending_.begin() + static_cast<std::ptrdiff_t>(kept), pending_.end());
}

void Greeter::CloseAll() {
    for (const Pending& pending : pending_) {
        ::close(pending.fd);
    }
    pending_.clear();
    perAddress_.clear();
}

}  // namespace vantic::server
