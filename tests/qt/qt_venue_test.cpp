// The unit list's lock with a real list control: the control's calls from
// a worker run on the user-interface thread, so whichever thread waits for
// the lock, the user-interface thread must keep running events.

#include <gtest/gtest.h>

#include <QTimer>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <thread>

#include "platform/system_clock.h"
#include "qt/qt_dialogs.h"
#include "qt/qt_list_control.h"
#include "qt/qt_window_system.h"
#include "tests/qt/qt_environment.h"
#include "tests/support/memory_login_store.h"
#include "units/venue_list.h"

namespace vantic {
namespace {

constexpr const char* kReply = "12\tLobby\tOK\ta\tb\n7\tBar\tLate Calling In\tc\td\n";

// A deadlock would otherwise hang the test program until CTest gives up.
class Watchdog {
  public:
    Watchdog()
        : thread_([this] {
              for (int i = 0; i < 3000 && !done_; ++i) {
                  std::this_thread::sleep_for(std::chrono::milliseconds(10));
              }
              if (!done_) {
                  std::fputs("deadlock: the unit list lock never came free\n", stderr);
                  std::abort();
              }
          }) {}
    ~Watchdog() {
        done_ = true;
        thread_.join();
    }

  private:
    std::atomic<bool> done_{false};
    std::thread thread_;
};

class QtVenueTest : public ::testing::Test {
  protected:
    QtVenueTest() {
        venue.Attach(&list);
        for (const UnitColumn& column : kUnitColumns) {
            venue.InsertColumn(column.title, column.width);
        }
        list.show();
    }

    QtListControl list;
    QtWindowSystem windows;
    QtMessageBoxes messages;
    SystemClock clock;
    testing::MemoryLoginStore store;
    LoginSettings login{store, "p.key"};
    VenueList venue{messages, windows, clock, login};
    Watchdog watchdog;
};

TEST_F(QtVenueTest, AWorkersMergeWaitsWhileTheUiThreadHoldsTheLockAndEventsKeepRunning) {
    int ticks = 0;
    QTimer repaint;
    QObject::connect(&repaint, &QTimer::timeout, [&ticks] { ++ticks; });
    repaint.start(10);

    venue.Lock();  // a deployment, say, pumping through its progress dialog
    std::atomic<bool> merged{false};
    std::thread worker([&] {
        venue.MergeReply(kReply);
        merged = true;
    });
    testing::PumpUntil([] { return false; }, 300);
    EXPECT_FALSE(merged);
    EXPECT_EQ(list.RowCount(), 0);
    EXPECT_GE(ticks, 5);
    venue.Unlock();

    EXPECT_TRUE(testing::PumpUntil([&] { return merged.load(); }));
    worker.join();
    ASSERT_EQ(list.RowCount(), 2);
    EXPECT_EQ(list.CellText(1, kStatusField), "Late Calling In");
}

TEST_F(QtVenueTest, TheUiThreadWaitingForAMergingWorkerRunsTheWorkersListCalls) {
    std::atomic<bool> holding{false};
    std::thread worker([&] {
        venue.Lock();
        holding = true;
        venue.MergeReply(kReply);  // every row and cell goes through the UI thread
        venue.Unlock();
    });
    while (!holding) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    venue.Lock();  // without running events here, both threads would wait forever
    EXPECT_EQ(list.RowCount(), 2);
    EXPECT_EQ(list.CellText(0, kUnitNumberField), "12");
    venue.Unlock();
    worker.join();
}

}  // namespace
}  // namespace vantic
