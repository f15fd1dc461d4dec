#pragma once

// The greeting of every connection, before any worker thread is involved:
// the accept thread sends the nonce and collects the 129-byte login block
// of all new connections at once with poll(). Only a connection whose
// whole block has arrived goes to a worker, so clients that trickle their
// block, send nothing, or hang up hold a socket for at most the login
// block's own short limit, never a worker: any number of them cannot keep
// an honest client waiting for a worker. One address holds at most a few
// dozen pending greetings, and when the table is full the address holding
// most gives way, so a flood of idle connections cannot lock others out.

#include <poll.h>

#include <array>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <ctime>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "server/wire.h"

namespace vantic::server {

// What the greeting of a connection gathered.
struct Greeting {
    Nonce nonce{};
    std::array<std::uint8_t, kLoginBlockSize> block{};
    std::time_t start = 0;
    std::chrono::steady_clock::time_point began;
};

// A connection for a worker: with its greeting, or (when a fault shapes
// the greeting itself) without one.
struct Accepted {
    int fd = -1;
    std::string peer;
    std::optional<Greeting> greeting;
};

// A greeting that ended without a whole login block, for the log.
struct FailedGreeting {
    std::string peer;
    std::time_t start = 0;
    std::string outcome;
    std::uint64_t bytesIn = 0;
    std::uint64_t bytesOut = 0;
    long long milliseconds = 0;
};

class Greeter {
  public:
    // A greeting ends when its whole login block has not arrived within
    // blockSeconds of the nonce.
    Greeter(int blockSeconds, std::size_t maxPending, std::size_t maxPerAddress);
    ~Greeter();
    Greeter(const Greeter&) = delete;
    Greeter& operator=(const Greeter&) = delete;

    // Sends the nonce on a new connection (taking fd) and watches it. When
    // the peer's address, or the whole table, holds too many greetings, the
    // oldest greeting of that address (of the address holding most) makes
    // room: it is read first, and dropped unless its block has come.
    // Appends the greetings that ended.
    void Add(int fd, std::string peer, std::vector<Accepted>& complete,
             std::vector<FailedGreeting>& failed);
    // The sockets to poll for, appended to entries.
    void AppendPollEntries(std::vector<pollfd>& entries) const;
    // How long poll may wait before the next greeting runs out of time;
    // -1 with none pending.
    [[nodiscard]] int NextTimeoutMs() const;
    // Reads what arrived (entries as polled, from AppendPollEntries on) and
    // ends the greetings that are complete, closed or out of time.
    void Service(const pollfd* entries, std::size_t count, std::vector<Accepted>& complete,
                 std::vector<FailedGreeting>& failed);
    // Closes every pending connection.
    void CloseAll();

  private:
    struct Pending {
        int fd;
        std::string peer;
        std::string address;  // the peer without its port
        Greeting greeting;
        std::size_t received = 0;
        std::chrono::steady_clock::time_point deadline;
    };
    // True when the pending greeting is over (complete or failed).
    bool Read(Pending& pending, std::vector<Accepted>& complete,
              std::vector<FailedGreeting>& failed);
    static FailedGreeting Failure(const Pending& pending, std::string outcome,
                                  std::uint64_t bytesOut);
    // Ends the oldest pending greeting of address: complete when its block
    // has arrived, else dropped.
    void EndOldest(const std::string& address, std::vector<Accepted>& complete,
                   std::vector<FailedGreeting>& failed);
    [[nodiscard]] std::string BusiestAddress() const;
    void Forget(const Pending& pending);

    const std::chrono::seconds blockLimit_;
    const std::size_t maxPending_;
    const std::size_t maxPerAddress_;
    std::vector<Pending> pending_;
    std::map<std::string, std::size_t, std::less<>> perAddress_;
};

// A fresh random nonce.
[[nodiscard]] Nonce FreshNonce();

}  // namespace vantic::server
