#include <gtest/gtest.h>

#include <ctime>

#include "core/cpstring.h"
#include "reports/day_plan.h"
#include "tests/app/app_fixture.h"

namespace vantic {
namespace {

using testing::AppFixture;
using testing::WriteFileBytes;

// Tuesday 12/08/2026 10:00 in the scripted clock's local time (UTC).
constexpr std::int64_t kTuesdayMorning = 1796724000;

class DayPlanCommand : public AppFixture {
  protected:
    DayPlanCommand() {
        StoreLoginNameOnly("operator");
        platform->clock.SetNow(kTuesdayMorning);
    }
    void RunWith(std::function<void()> body) {
        Window().whileRunning = std::move(body);
        app->Run();
    }
};

TEST_F(DayPlanCommand, ShowsThePlaylistsPlanFromTodayAndTheShownChannelToAnyChoice) {
    const std::string path = dir.File("week.PLY");
    ASSERT_TRUE(WriteFileBytes(
        path,
        "0\t/m/office.mpg\tAuto\t\t1 KB\tWeekdays\tloop from 08:00 to 18:00\t12/01/2026\t"
        "12/31/2026\tA\t\r\n"
        "1\t/m/noon.mpg\tAuto\t\t1 KB\tAll\t13:30\tNone\tNone\tA\t"));
    views->dayPlan.choices = {DayPlanForm{{2026, 11, 30}, 0}};
    RunWith([&] {
        ASSERT_TRUE(app->Playlist().OpenFile(path));
        Window().Events().OnTabSelected(1);
        ASSERT_TRUE(Window().InMenu(command::kDayPlan));
        EXPECT_TRUE(Window().IsEnabled(command::kDayPlan));
        Window().Events().OnCommand(command::kDayPlan);
    });
    ASSERT_EQ(views->dayPlan.opened, (std::vector<DayPlanForm>{{{2026, 12, 8}, 1}}));
    EXPECT_EQ(views->dayPlan.owners, std::vector<WindowId>{Window().window});

    // The very text the command line prints for the saved file.
    EntrySet file;
    ASSERT_TRUE(TextToEntrySet(*ReadWholeFile(path), file));
    ASSERT_EQ(views->dayPlan.shown.size(), 2u);
    EXPECT_EQ(views->dayPlan.shown[0], PlanTextOf(file, path, {{2026, 12, 8}, 1}));
    EXPECT_EQ(views->dayPlan.shown[1], PlanTextOf(file, path, {{2026, 11, 30}, 0}));
    EXPECT_NE(views->dayPlan.shown[0].find("\n13:00  noon.mpg (at 13:30)\n"), std::string::npos);
    EXPECT_NE(views->dayPlan.shown[1].find("office.mpg: first day 12/01/2026"), std::string::npos);
}

}  // namespace
}  // namespace vantic
