#pragma once

// What the load test checks around a run: the server's memory, sampled
// while the clients run, and the store, compared before and after.

#include <sys/types.h>

#include <atomic>
#include <filesystem>
#include <map>
#include <string>
#include <thread>
#include <vector>

#include "tests/load/load_clients.h"
#include "tests/support/server_runner.h"

namespace vantic::load {

struct MemoryFigures {
    long rssPeakKib = 0;  // the largest VmRSS seen
    long hwmKib = 0;      // VmHWM at the end: the kernel's own peak
};

// Samples /proc/<pid>/status every 50 ms until Finish.
class MemorySampler {
  public:
    explicit MemorySampler(pid_t pid);
    ~MemorySampler();
    MemorySampler(const MemorySampler&) = delete;
    MemorySampler& operator=(const MemorySampler&) = delete;
    MemoryFigures Finish();

  private:
    pid_t pid_;
    std::atomic<bool> stop_{false};
    std::atomic<long> rssPeakKib_{0};
    std::thread thread_;
};

// Every file of the store but the log, the lock, tmp/ and media/.
using StoreSnapshot = std::map<std::string, std::string>;
[[nodiscard]] StoreSnapshot TakeSnapshot(const std::string& dataDir);

// Stops the server (so its log is complete), then lists what is wrong: a
// file changed that nobody wrote, an instruction file that is not one of
// the texts stored for its unit, a medium missing or not matching its
// name, a temporary left behind, a log that does not show every store.
[[nodiscard]] std::vector<std::string> CheckStore(testing::ServerRunner& server,
                                                  const StoreSnapshot& before,
                                                  const HonestLedger& ledger);

}  // namespace vantic::load
