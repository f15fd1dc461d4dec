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

}  // namespace
}  // namespace vantic
