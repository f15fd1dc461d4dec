#include "units/venue_lock.h"

#include <gtest/gtest.h>

#include <atomic>
#include <condition_variable>
#include <thread>

#include "platform/window_system.h"
#include "tests/units/venue_test_support.h"

namespace vantic {
namespace {

using namespace std::chrono_literals;

// A window system whose waits end only when woken (or after a deadline
// long enough to mean the wake never came).
class WakeableWindows final : public WindowSystem {
  public:
    void PumpMessages() override {}
    void WaitForMessages(std::chrono::milliseconds /*limit*/) override {
        std::unique_lock hold(mutex_);
        ++waits;
        entered = true;
        if (!woken_.wait_for(hold, 10s, [this] { return wake_; })) {
            ++missedWakes;
        }
        wake_ = false;
    }
    void Wake() override {
        {
            std::lock_guard hold(mutex_);
            wake_ = true;
        }
        woken_.notify_all();
    }
    void SetEnabled(WindowId, bool) override {}
    bool IsEnabled(WindowId) const override { return true; }
    std::unique_ptr<PlacedWindow> Placement(WindowId) override { return nullptr; }

    int waits = 0;
    int missedWakes = 0;
    // Set inside the wait, under its mutex: the waiter cannot miss a wake
    // sent after this is seen.
    std::atomic<bool> entered{false};

  private:
    std::mutex mutex_;
    std::condition_variable woken_;
    bool wake_ = false;
};

TEST(VenueLockWait, TheWorkersReleaseWakesTheWaitingUiThread) {
    WakeableWindows windows;
    VenueLock lock(windows);
    std::atomic<bool> held{false};
    std::thread worker([&] {
        lock.Lock();
        held = true;
        // Released only once the user-interface thread sleeps in its wait,
        // so the release itself must wake it (released earlier, the UI
        // thread would take the lock without ever waiting).
        while (!windows.entered) {
            std::this_thread::yield();
        }
        lock.Unlock();
    });
    while (!held) {
        std::this_thread::yield();
    }
    lock.Lock();
    worker.join();
    EXPECT_FALSE(lock.UiWaiting());
    EXPECT_EQ(windows.missedWakes, 0);
    EXPECT_GE(windows.waits, 1);
    lock.Unlock();
}

class VenueWaitTest : public ::testing::Test, public testing::VenueFixture {};

// While the user-interface thread waits for a worker's merge, what its
// messages would start (a sort, the periodic refresh) does not run nested.
TEST_F(VenueWaitTest, ASortOrTickDispatchedInsideTheWaitIsIgnored) {
    SetUpColumns();
    venue.MergeReply("12\tA\n7\tB\n");
    std::atomic<bool> held{false};
    std::atomic<bool> release{false};
    std::thread worker([&] {
        venue.Lock();
        held = true;
        while (!release) {
            std::this_thread::yield();
        }
        venue.Unlock();
    });
    while (!held) {
        std::this_thread::yield();
    }
    bool sawWait = false;
    platform.windows.OnPump([&] {
        if (venue.Waiting() && !release) {
            sawWait = true;
            venue.SortByColumn(0);
            venue.PeriodicTick();
            release = true;
        }
    });
    venue.Lock();
    worker.join();
    venue.Unlock();
    EXPECT_TRUE(sawWait);
    EXPECT_EQ(venue.SortKey(), 0);
    EXPECT_EQ(Units(), (std::vector<std::uint32_t>{12, 7}));
    venue.SortByColumn(0);  // outside the wait it sorts
    EXPECT_EQ(Units(), (std::vector<std::uint32_t>{7, 12}));
}

}  // namespace
}  // namespace vantic
