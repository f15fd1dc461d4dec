#pragma once

// Fetching a file from the update server. Authenticity rests on the signed
// signature file, not on the transport: unless the server's certificate is
// named (UpdateServer::certificate) any certificate is accepted, and the
// HTTP status is not looked at; whatever body comes back is the answer.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "app/update/update_server_address.h"
#include "framework/wprogress.h"
#include "net/bytes.h"
#include "platform/clock.h"

namespace vantic {

// Time limits so a silent or dribbling server cannot hang the program.
struct FetchLimits {
    long connectSeconds = 20;  // TCP and TLS handshake
    long stallSeconds = 30;    // no byte at all for this long fails the fetch
    long totalSeconds = 120;   // whole fetch, without a progress dialog only
    std::size_t maxBytes = 256u << 20;
};

// Fetches a path relative to the server's root. With progress, every read
// moves its overall bar and a cancel fails the fetch.
class UpdateFetcher {
  public:
    virtual ~UpdateFetcher() = default;
    [[nodiscard]] virtual std::optional<std::string> Fetch(const std::string& path,
                                                           WProgress* progress) = 0;
};

// The overall bar during a download whose size is not announced: it fills
// once per 750,000 bytes and starts over, pausing 10 ms after each read.
class FetchMeter {
  public:
    static constexpr std::uint32_t kSpan = 750'000;
    static constexpr int kPauseMs = 10;

    FetchMeter(WProgress& progress, Clock& clock) : progress_(progress), clock_(clock) {}
    // After a read of `count` bytes (0 at the end). False when cancelled.
    [[nodiscard]] bool OnRead(std::size_t count);

  private:
    WProgress& progress_;
    Clock& clock_;
    std::uint32_t position_ = 0;
};

// HTTPS POST with an empty body through libcurl: user agent
// "VanticAutoUpdateFetch", "Content-Type: binary", the system's proxy
// settings (the usual proxy environment variables), reads of at most 2047
// bytes.
class CurlUpdateFetcher final : public UpdateFetcher {
  public:
    CurlUpdateFetcher(UpdateServer server, Clock& clock, FetchLimits limits = {});
    [[nodiscard]] std::optional<std::string> Fetch(const std::string& path,
                                                   WProgress* progress) override;

  private:
    UpdateServer server_;
    Clock& clock_;
    FetchLimits limits_;
};

}  // namespace vantic
