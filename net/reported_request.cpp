#include "net/reported_request.h"

#include <atomic>
#include <mutex>
#include <optional>
#include <thread>
#include <utility>

#include "platform/blocking_calls.h"

namespace vantic {

namespace {

class Relay {
  public:
    explicit Relay(const ByteProgress& report)
        : report_(report), owner_(std::this_thread::get_id()) {}

    bool Hear(std::uint64_t done, std::uint64_t total) {
        if (std::this_thread::get_id() == owner_) {
            cancelled_ = report_(done, total) || cancelled_;
            return cancelled_;
        }
        std::lock_guard hold(mutex_);
        pending_ = {done, total};
        return cancelled_;
    }
    // On the requesting thread: the latest relayed report, if any.
    void Pass() {
        std::optional<std::pair<std::uint64_t, std::uint64_t>> latest;
        {
            std::lock_guard hold(mutex_);
            latest = std::exchange(pending_, std::nullopt);
        }
        if (latest) {
            cancelled_ = report_(latest->first, latest->second) || cancelled_;
        }
    }

  private:
    const ByteProgress& report_;
    const std::thread::id owner_;
    std::mutex mutex_;
    std::optional<std::pair<std::uint64_t, std::uint64_t>> pending_;
    std::atomic<bool> cancelled_{false};
};

}  // namespace

bool RunReportedRequest(const std::function<bool(const ByteProgress&)>& exchange,
                        const ByteProgress& report) {
    bool ok = false;
    if (!report) {
        RunRequest([&] { ok = exchange({}); });
        return ok;
    }
    Relay relay(report);
    const ByteProgress relayed = [&relay](std::uint64_t done, std::uint64_t total) {
        return relay.Hear(done, total);
    };
    RunRequest([&] { ok = exchange(relayed); }, [&relay] { relay.Pass(); });
    return ok;
}

}  // namespace vantic
