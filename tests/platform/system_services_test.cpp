#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <ctime>
#include <thread>

#include <sys/socket.h>

#include "platform/connection_watch.h"
#include "platform/socket.h"
#include "platform/spawn.h"
#include "platform/system_clock.h"
#include "platform/threads.h"

namespace vantic {
namespace {

// A transfer that moves data is not waiting, however long it runs: what
// passes through a watched socket restarts its quiet time.
TEST(ConnectionWatch, DataMovingRestartsTheQuietTime) {
    int ends[2];
    ASSERT_EQ(::socketpair(AF_UNIX, SOCK_STREAM, 0, ends), 0);
    Socket near(ends[0]);
    Socket far(ends[1]);
    WatchConnection(near.Handle(), "peer:1");
    const auto quietSince = [] {
        return QuietestRequestOf(std::this_thread::get_id())->quietSince;
    };
    auto before = quietSince();
    std::uint8_t byte = 1;
    for (IoResult (*move)(const Socket&, std::span<std::uint8_t>) :
         {+[](const Socket&s, std::span<std::uint8_t> b) { return SendSome(s, b); },
          +[](const Socket&s, std::span<std::uint8_t> b) { return ReceiveSome(s, b); }}) {
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
        ASSERT_EQ(move(near, std::span(&byte, 1)).count, 1u);
        EXPECT_GT(quietSince(), before);
        before = quietSince();
        (void)SendSome(far, std::span(&byte, 1));  // something for the receive
    }
}

TEST(SystemClock, LocalTimeFollowsTheTimeZone) {
    const char* old = std::getenv("TZ");
    const std::string saved = old == nullptr ? "" : old;
    setenv("TZ", "EST5", 1);
    tzset();
    SystemClock clock;
    // 2026-12-06 13:52:13 UTC is 08:52:13 in a zone five hours behind.
    EXPECT_EQ(clock.ToLocal(1796565133), (LocalTime{2026, 12, 6, 8, 52, 13, 0}));
    old == nullptr ? unsetenv("TZ") : setenv("TZ", saved.c_str(), 1);
    tzset();
}

TEST(SystemClock, SleepPassesTicks) {
    SystemClock clock;
    const std::uint32_t before = clock.TickMs();
    clock.Sleep(30);
    EXPECT_GE(clock.TickMs() - before, 30u);
}

void Bump(void* context) {
    static_cast<std::atomic<int>*>(context)->fetch_add(1);
}

TEST(OwnedThread, RunsItsBodyOrReportsFailure) {
    std::atomic<int> runs{0};
    std::optional<std::jthread> thread = StartThread([&runs](std::stop_token) { Bump(&runs); });
    ASSERT_TRUE(thread);
    thread->join();
    EXPECT_EQ(runs.load(), 1);
    EXPECT_FALSE(StartThread(nullptr));
    EXPECT_EQ(runs.load(), 1);
}

TEST(SplitParameters, DropsEmptyPieces) {
    EXPECT_EQ(SplitParameters("  /silent \t/x  "), (std::vector<std::string>{"/silent", "/x"}));
    EXPECT_TRUE(SplitParameters("   ").empty());
}

}  // namespace
}  // namespace vantic
