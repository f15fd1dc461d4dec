#pragma once

// The two sides of the server load test: honest clients that run the
// controller's own requests and keep what they stored, and hostile
// clients that misbehave on the wire until told to stop.

#include <atomic>
#include <cstdint>
#include <map>
#include <mutex>
#include <set>
#include <string>
#include <vector>

#include "net/md5.h"
#include "net/server_access.h"

namespace vantic::load {

// What the honest clients did, filled from many threads.
class HonestLedger {
  public:
    void Succeeded() { ++succeeded_; }
    void Failed(const std::string& what);
    void StoredInstructions(std::uint32_t unit, const std::string& text);
    void StoredMedia(const Md5Digest& digest);

    [[nodiscard]] std::uint64_t SucceededCount() const { return succeeded_; }
    [[nodiscard]] std::uint64_t FailedCount() const { return failed_; }
    // The first few failures, one a line.
    [[nodiscard]] std::vector<std::string> FirstFailures() const;
    // The texts stored for each unit; the digests of stored media.
    [[nodiscard]] std::map<std::uint32_t, std::set<std::string>> Instructions() const;
    [[nodiscard]] std::vector<Md5Digest> Media() const;

  private:
    std::atomic<std::uint64_t> succeeded_{0};
    std::atomic<std::uint64_t> failed_{0};
    mutable std::mutex lock_;
    std::vector<std::string> failures_;
    std::map<std::uint32_t, std::set<std::string>> instructions_;
    std::vector<Md5Digest> media_;
};

// Runs `requests` requests one after another, cycling through unit list,
// instruction file, media query, instruction upload, unit information and
// media upload. Media files to upload are written in scratchDir.
void RunHonestClient(const ServerAccess& access, int client, int requests,
                     const std::string& scratchDir, HonestLedger& ledger);

enum class HostileKind {
    Trickle,         // sends the login block a byte at a time
    OversizeLength,  // logs in, then announces bodies beyond every limit
    Garbage,         // random bytes where the login block belongs
    OpenAndDrop,     // connects and closes (or resets) at once
};
inline constexpr int kHostileKinds = 4;
[[nodiscard]] const char* HostileName(HostileKind kind);

struct HostileTally {
    std::atomic<std::uint64_t> connections{0};
    // Connections the server ended by itself (time limit, refusal).
    std::atomic<std::uint64_t> droppedByServer{0};
};

// Repeats its misbehaviour until stop is set.
void RunHostileClient(const ServerAccess& access, HostileKind kind, const std::atomic<bool>& stop,
                      HostileTally& tally);

}  // namespace vantic::load
