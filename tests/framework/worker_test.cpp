#include "framework/worker.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <climits>
#include <thread>

#include "framework/wmutex.h"
#include "platform/threads.h"
#include "tests/support/wait_until.h"

namespace vantic {
namespace {

bool WaitForNoWorkers() {
    return testing::WaitUntil([] { return LiveWorkers() == 0; });
}

class WorkerTest : public ::testing::Test {
  protected:
    ~WorkerTest() override { EXPECT_TRUE(WaitForNoWorkers()); }
    WMutex lock;
};

// A system out of threads.
class RefusingThreads final : public ThreadStarter {
  public:
    [[nodiscard]] std::optional<std::jthread> Start(ThreadBody /*body*/) override {
        return std::nullopt;
    }
};

std::int32_t gCount = 0;

void CountOnce(std::intptr_t times) {
    for (std::intptr_t i = 0; i < times; ++i) {
        LockedIncrement(gCount);
    }
}

TEST_F(WorkerTest, CounterIsExactAfterAThousandWorkersFromTwoThreads) {
    gCount = 0;
    std::atomic<int> refused{0};
    auto starter = [&refused] {
        for (int i = 0; i < 500; ++i) {
            if (!StartWorker(CountOnce, 3)) {
                ++refused;
            }
        }
    };
    std::thread first(starter);
    std::thread second(starter);
    first.join();
    second.join();
    ASSERT_TRUE(WaitForNoWorkers());
    EXPECT_EQ(refused.load(), 0);
    EXPECT_EQ(LockedExchange(gCount, 0), 3000);
}

TEST_F(WorkerTest, LiveWorkersCountsWorkersUntilTheyReturn) {
    std::atomic<bool> release{false};
    std::atomic<int> running{0};
    for (int i = 0; i < 3; ++i) {
        ASSERT_TRUE(StartWorker([&] {
            ++running;
            while (!release.load()) {
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
            }
        }));
    }
    EXPECT_EQ(LiveWorkers(), 3);
    release = true;
    EXPECT_TRUE(WaitForNoWorkers());
    EXPECT_EQ(running.load(), 3);
}

TEST_F(WorkerTest, AWorkerThatCannotStartLeavesTheCountAlone) {
    bool ran = false;
    RefusingThreads refusing;
    const bool started = StartWorker([&ran] { ran = true; }, refusing);
    EXPECT_FALSE(started);
    EXPECT_EQ(LiveWorkers(), 0);
    EXPECT_FALSE(ran);
}

TEST_F(WorkerTest, GuardedOperationsReturnOldOrNewValues) {
    std::int32_t value = 5;
    EXPECT_EQ(LockedExchange(value, 9), 5);
    EXPECT_EQ(LockedAdd(value, -4), 9);
    EXPECT_EQ(value, 5);
    EXPECT_EQ(LockedIncrement(value), 6);
    EXPECT_EQ(LockedDecrement(value), 5);
    value = INT32_MAX;
    EXPECT_EQ(LockedIncrement(value), INT32_MIN);  // wraps, no overflow
}

TEST(WorkerLockDeathTest, UsingTheLockWithoutItStopsTheProgram) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    ASSERT_FALSE(WMutex::Exists());
    std::int32_t value = 0;
    EXPECT_DEATH(LockedIncrement(value), "Assertion failed: mutex, file WMutex");
}

}  // namespace
}  // namespace vantic
