#pragma once

// One accepted TCP connection with the piece-wise time limits of the
// protocol: data moves in pieces of at most 4096 bytes, and each piece must
// move within its own limit, so a silent or trickling peer is dropped
// instead of holding a worker. Receiving reads as much as has arrived at
// once; the limits still apply piece by piece.

#include <atomic>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <string>

namespace vantic::server {

enum class IoResult { Ok, Timeout, Closed, Error, Stopped };

[[nodiscard]] std::string_view IoResultName(IoResult result);

class Connection {
  public:
    // Takes ownership of fd and makes it non-blocking. stop, when given, is
    // polled between waits so a shutting-down server abandons slow peers.
    Connection(int fd, std::string peer, const std::atomic<bool>* stop);
    ~Connection();
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    [[nodiscard]] IoResult Receive(std::uint8_t* data, std::size_t count, int limitSeconds);
    [[nodiscard]] IoResult Send(const std::uint8_t* data, std::size_t count, int limitSeconds);
    [[nodiscard]] IoResult ReceiveWord(std::uint32_t& value, int limitSeconds);
    [[nodiscard]] IoResult SendWord(std::uint32_t value, int limitSeconds);

    // From now on what Receive takes must average at least bytesPerSecond
    // once graceSeconds have passed; a slower peer gets Timeout.
    void RequireRate(std::uint32_t bytesPerSecond, int graceSeconds);

    // Waits until the peer closes or seconds pass; true when it closed.
    // Whatever the peer sends meanwhile is read and dropped.
    bool WaitForPeerClose(int seconds);
    // Sleeps for seconds unless the server stops first; false when stopped.
    bool Pause(int seconds);
    // Gives up the socket to the caller, who closes it.
    [[nodiscard]] int Release();
    // Closes the socket now, resetting the connection when abort is set.
    void Close(bool abort = false);

    [[nodiscard]] const std::string& Peer() const { return peer_; }
    [[nodiscard]] std::uint64_t BytesIn() const { return bytesIn_; }
    [[nodiscard]] std::uint64_t BytesOut() const { return bytesOut_; }

  private:
    [[nodiscard]] IoResult SendPiece(const std::uint8_t* data, std::size_t count, int limitSeconds);
    [[nodiscard]] bool Stopping() const;
    [[nodiscard]] bool BelowRate() const;

    int fd_;
    std::string peer_;
    const std::atomic<bool>* stop_;
    std::uint64_t bytesIn_ = 0;
    std::uint64_t bytesOut_ = 0;
    // The required rate: 0 for none.
    std::uint32_t minRate_ = 0;
    std::chrono::steady_clock::time_point rateFrom_;
    std::uint64_t rateBase_ = 0;
};

}  // namespace vantic::server
