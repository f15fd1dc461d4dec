// Status-change alerts of the running program: the background refreshes
// of the 20-second timer against the reference server.

#include <gtest/gtest.h>

#include "app/app.h"
#include "core/cpstring.h"
#include "framework/worker.h"
#include "tests/app/app_fixture.h"
#include "tests/support/server_runner.h"
#include "tests/support/wait_until.h"

namespace vantic {
namespace {

class StatusAlertsInApp : public testing::AppFixture {
  protected:
    StatusAlertsInApp() {
        EXPECT_TRUE(server.Ok()) << server.Error();
        EXPECT_TRUE(CopyFileOver(server.KeyFile(), dir.File("p.key")));
        StoreLogin(server.Address(), server.Administrator().login, server.Administrator().password);
    }
    // Gives every unit of one status another on the server.
    void ChangeStatuses(const std::string& from, const std::string& to) {
        const std::string path = server.DataDir() + "/units.txt";
        std::string units = testing::ReadFileBytes(path);
        for (std::size_t at = units.find(from); at != std::string::npos;
             at = units.find(from, at + to.size())) {
            units.replace(at, from.size(), to);
        }
        ASSERT_TRUE(testing::WriteFileBytes(path, units));
    }
    // The next tick, far enough on for a periodic refresh, and its worker.
    void Tick() {
        platform->clock.Advance(180'000);
        platform->timers.FireAll();
        EXPECT_TRUE(testing::WaitUntil([] { return LiveWorkers() == 0; },
                                       [this] { platform->windows.PumpMessages(); }));
    }

    testing::ServerRunner server;
};

TEST_F(StatusAlertsInApp, OnByDefaultOneNoticePerRefreshAndNoneWithTheSettingOff) {
    Window().whileRunning = [&] {
        ASSERT_GT(app->Venue().ItemCount(), 0);
        Tick();  // no change since the start-up's list
        ChangeStatuses("\tLate Calling In\t", "\tOK\t");
        Tick();
        Tick();
        ASSERT_EQ(platform->notices.Shown().size(), 1u);
        EXPECT_EQ(platform->notices.Shown()[0].text,
                  "Media Player #1023: OK (was Late Calling In)\n"
                  "Media Player #1058: OK (was Late Calling In)");

        ASSERT_TRUE(app->SetInt(kStatusAlertsKey, 0));
        ChangeStatuses("\tCheck Network Connection\t", "\tOK\t");
        Tick();
        int row = -1;
        ASSERT_TRUE(app->Venue().FindUnit(1031, row));
        EXPECT_EQ(Window().units.CellText(row, kStatusField), "OK");
        EXPECT_EQ(platform->notices.Shown().size(), 1u);
    };
    app->Run();
}

}  // namespace
}  // namespace vantic
