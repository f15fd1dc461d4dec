#include "units/refresh_status.h"

#include <gtest/gtest.h>

#include "tests/support/manual_clock.h"

namespace vantic {
namespace {

constexpr std::int64_t k1043 = 1'700'000'000 - 22 * 3600 - 13 * 60 + 10 * 3600 + 43 * 60;

// An outage keeps the time it began and the list it shows; the next list
// ends it.
TEST(RefreshStatus, AnOutageKeepsItsStartUntilAListArrives) {
    testing::ManualClock clock;
    RefreshRecord record;
    EXPECT_EQ(RefreshStatusText(record, clock), "Ready...");
    record = AfterRefresh(record, false, k1043, 0);
    EXPECT_EQ(RefreshStatusText(record, clock), "Server not reachable since 10:43");

    record = AfterRefresh(record, true, k1043 + 60, 1);
    EXPECT_EQ(RefreshStatusText(record, clock), "Units updated at 10:44 (1 unit)");
    record = AfterRefresh(record, false, k1043 + 120, 5);
    record = AfterRefresh(record, false, k1043 + 300, 5);
    EXPECT_EQ(RefreshStatusText(record, clock),
              "Server not reachable since 10:45 \x97 showing the list of 10:44");
    record = AfterRefresh(record, true, k1043 + 360, 8);
    EXPECT_EQ(RefreshStatusText(record, clock), "Units updated at 10:49 (8 units)");
}

// A fetch under way is told first; a named failure replaces the general
// words, and the latest name wins while the outage keeps its start.
TEST(RefreshStatus, TheLineNamesTheLoadAndTheCause) {
    testing::ManualClock clock;
    const RefreshRecord listed = AfterRefresh({}, true, k1043, 8);
    const RefreshRecord refused = AfterRefresh(listed, false, k1043 + 120, 8, "Login refused");
    RefreshRecord loading = refused;
    loading.loadingFrom = "10.0.0.5:12322";
    const struct {
        RefreshRecord record;
        const char* line;
        bool stale;
    } cases[] = {
        {AfterRefresh(refused, false, k1043 + 300, 8, "No answer from 10.0.0.5:12322"),
         "No answer from 10.0.0.5:12322 since 10:45 \x97 showing the list of 10:43", true},
        {AfterRefresh(refused, false, k1043 + 300, 8),
         "Login refused since 10:45 \x97 showing the list of 10:43", true},
        {loading, "Loading units from 10.0.0.5:12322...", true},
        {AfterRefresh(loading, true, k1043 + 360, 9), "Loading units from 10.0.0.5:12322...",
         false},
    };
    for (const auto& one : cases) {
        EXPECT_EQ(RefreshStatusText(one.record, clock), one.line);
        EXPECT_EQ(one.record.Stale(), one.stale) << one.line;
    }
}

}  // namespace
}  // namespace vantic
