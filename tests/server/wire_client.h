#pragma once

// A small client for the distribution server, written from the wire
// formats alone (it shares no code with the server): greeting nonce,
// 129-byte login block, download and upload frames, media query and
// upload. Every wait is bounded, so a misbehaving server fails a test
// instead of hanging it.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "net/aes128.h"
#include "net/md5.h"

namespace vantic::testing {

// A connected socket that closes itself.
class WireSocket {
  public:
    explicit WireSocket(int fd = -1) : fd_(fd) {}
    ~WireSocket();
    WireSocket(WireSocket&& other) noexcept : fd_(other.fd_) { other.fd_ = -1; }
    WireSocket& operator=(WireSocket&& other) noexcept;
    WireSocket(const WireSocket&) = delete;
    WireSocket& operator=(const WireSocket&) = delete;

    [[nodiscard]] bool Valid() const { return fd_ >= 0; }
    [[nodiscard]] bool SendAll(std::string_view bytes);
    // Exactly count bytes within timeoutSeconds; nothing on close or time-out.
    [[nodiscard]] std::optional<std::string> Receive(std::size_t count, double timeoutSeconds);
    [[nodiscard]] bool SendWord(std::uint32_t value);
    [[nodiscard]] std::optional<std::uint32_t> ReceiveWord(double timeoutSeconds);
    // True when the peer closes (or resets) within timeoutSeconds; data
    // arriving meanwhile is counted in received.
    [[nodiscard]] bool ClosedWithin(double timeoutSeconds, std::size_t* received = nullptr);
    void Close();

  private:
    int fd_;
};

[[nodiscard]] WireSocket ConnectTo(const std::string& host, std::uint16_t port);

struct Download {
    enum class Kind { Payload, Absent, Refused, Undecryptable, Oversize, Failed };
    Kind kind = Kind::Failed;
    std::uint32_t length = 0;
    std::int32_t status = 0;
    std::string payload;
};

class WireClient {
  public:
    WireClient(std::string host, std::uint16_t port, std::string keyFile, std::string login,
               std::string password, double timeoutSeconds = 10);

    // A logged-in connection ready for the command's exchange.
    struct Session {
        WireSocket socket;
        AesKey key{};
    };
    [[nodiscard]] std::optional<Session> Login(std::int32_t command, std::int32_t unit,
                                               const Md5Digest* digest = nullptr);

    // A whole download: header, body, envelope, acknowledgement.
    [[nodiscard]] Download Fetch(std::int32_t command, std::int32_t unit);
    // A whole upload; the server's reply word, or nothing.
    [[nodiscard]] std::optional<std::uint32_t> Store(std::int32_t command, std::int32_t unit,
                                                     std::string_view payload);
    // Query by digest, echoing the answer; the answer, or nothing.
    [[nodiscard]] std::optional<std::uint32_t> Query(const Md5Digest& digest);
    // Media upload of bytes announced under digest; the reply word, or nothing.
    [[nodiscard]] std::optional<std::uint32_t> PutMedia(const Md5Digest& digest,
                                                        std::string_view bytes);

    void SetCredentials(std::string login, std::string password);
    [[nodiscard]] double Timeout() const { return timeout_; }

  private:
    std::string host_;
    std::uint16_t port_;
    std::string keyFile_;
    std::string login_;
    std::string password_;
    double timeout_;
};

// The 108-byte login record, for tests that build odd login blocks.
[[nodiscard]] std::string LoginRecord(std::int32_t command, std::int32_t unit,
                                      const Md5Digest* digest, std::string_view login,
                                      std::string_view password, std::string_view nonce,
                                      std::string_view sessionKey);
[[nodiscard]] std::string WordText(std::uint32_t value);
[[nodiscard]] Md5Digest DigestOf(std::string_view bytes);

}  // namespace vantic::testing
