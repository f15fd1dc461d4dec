#include "units/status_alerts.h"

#include <gtest/gtest.h>

#include <memory>

#include "framework/wmutex.h"
#include "framework/worker.h"
#include "tests/support/server_runner.h"
#include "tests/support/wait_until.h"
#include "tests/units/venue_test_support.h"

namespace vantic {
namespace {

std::unique_ptr<UnitRecord> Record(const std::string& line) {
    auto record = std::make_unique<UnitRecord>();
    record->Apply(cpStringArray::SplitNew(line, "\t"));
    return record;
}

TEST(StatusAlerts, OnlyKnownUnitsComingToAnAlertStatusCount) {
    std::vector<std::unique_ptr<UnitRecord>> owned;
    for (const char* line : {"1\tA\tOK", "2\tB\tLate Calling In", "3\tC\tOK", "4\tD\tOK",
                             "5\tE\tCheck Network Connection"}) {
        owned.push_back(Record(line));
    }
    const std::vector<const UnitRecord*> rows = {owned[0].get(), owned[1].get(), owned[2].get(),
                                                 owned[3].get(), owned[4].get()};
    const MergePlan plan = PlanMerge(rows, ParseUnitListReply("1\tA\tCheck Network Connection\n"
                                                              "2\tB\tOK\n"
                                                              "3\tC\tFactory Defaults\n"
                                                              "4\tD renamed\tOK\n"
                                                              "5\tE\tLate Calling In\n"
                                                              "6\tNew\tOK\n"));
    EXPECT_EQ(AlertStatusChanges(rows, plan),
              (std::vector<StatusChange>{{1, "OK", "Check Network Connection"},
                                         {2, "Late Calling In", "OK"},
                                         {5, "Check Network Connection", "Late Calling In"}}));
}

TEST(StatusAlerts, OneNoticeNamesEveryChange) {
    EXPECT_FALSE(StatusAlertNotice({}).has_value());
    EXPECT_EQ(StatusAlertNotice({{9, "OK", "Check Network Connection"}}),
              (DesktopNotice{"A unit's status changed",
                             "Media Player #9: Check Network Connection (was OK)"}));
    EXPECT_EQ(StatusAlertNotice({{4, "Late Calling In", "OK"}, {12, "", "Late Calling In"}}),
              (DesktopNotice{"2 units changed status",
                             "Media Player #4: OK (was Late Calling In)\n"
                             "Media Player #12: Late Calling In"}));
}

// The reference server's simulation: every online unit calls in each round
// and comes back to OK, so the demo venue's late units turn OK.
constexpr int kRoundSeconds = 6;

testing::ServerRunnerOptions Simulating() {
    testing::ServerRunnerOptions options;
    options.simulateSeconds = kRoundSeconds;
    return options;
}

struct SimulatingServer {
    testing::ServerRunner server{Simulating()};
};

class StatusAlertsWithSimulation : public ::testing::Test,
                                   protected SimulatingServer,
                                   public testing::VenueFixture {
  protected:
    StatusAlertsWithSimulation() : VenueFixture(server.KeyFile()) {}
    void SetUp() override {
        ASSERT_TRUE(server.Ok()) << server.Error();
        store.values = {{"Distribution_Server", server.Address()},
                        {"Distribution_Username", server.Administrator().login},
                        {"Distribution_Userpass", server.Administrator().password},
                        {"Distribution_Userpass_Remember", "1"}};
        venue.SetStatusAlerts(&platform.notices);
    }
    void RefreshAndWait() {
        ASSERT_TRUE(venue.RefreshInBackground());
        ASSERT_TRUE(testing::WaitUntil([] { return LiveWorkers() == 0; }));
    }
    [[nodiscard]] std::size_t Rounds() const { return server.LogLines("simulate call-ins").size(); }

    WMutex workerLock;  // the workers' process-wide lock
};

TEST_F(StatusAlertsWithSimulation, OneNoticePerRefreshNamesTheUnitsThatChanged) {
    RefreshAndWait();  // the first refresh: every unit is new
    ASSERT_EQ(Rounds(), 0u) << "the simulation ran before the first refresh";
    EXPECT_GT(venue.ItemCount(), 0);
    EXPECT_TRUE(platform.notices.Shown().empty());

    ASSERT_TRUE(testing::WaitUntil([this] { return Rounds() > 0; }));
    RefreshAndWait();
    RefreshAndWait();  // nothing changed since
    const std::vector<DesktopNotice> shown = platform.notices.Shown();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].title, "2 units changed status");
    EXPECT_EQ(shown[0].text,
              "Media Player #1023: OK (was Late Calling In)\n"
              "Media Player #1058: OK (was Late Calling In)");
}

}  // namespace
}  // namespace vantic
