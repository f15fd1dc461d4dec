// The date range form's rules: where its pickers start, and that OK and
// Cancel alike keep what was picked.

#include <gtest/gtest.h>

#include "core/cpconfig.h"
#include "reports/report_dates.h"
#include "tests/support/scripted_report_dates.h"
#include "tests/support/temp_dir.h"

namespace vantic {
namespace {

constexpr ReportDate kToday{2026, 12, 7};

class ReportDatesTest : public ::testing::Test {
  protected:
    void SetUp() override { settings_.SetSettingsLocation({dir_.Path(), {}}); }

    testing::TempDir dir_;
    WReg settings_;
    testing::ScriptedReportDates view_;
};

TEST_F(ReportDatesTest, PickersStartFromTheSettingsElseTheRangeAndImpossibleDatesShowToday) {
    // A fresh process: no settings and an all-zero range.
    DateRangeForm fresh = OpenDateRangeForm(settings_, ReportDateRange{}, kToday);
    EXPECT_EQ(fresh.first, kToday);
    EXPECT_EQ(fresh.last, kToday);

    const ReportDateRange range{{2025, 1, 31}, {2025, 2, 28}};
    DateRangeForm fromRange = OpenDateRangeForm(settings_, range, kToday);
    EXPECT_EQ(fromRange.first, range.first);
    EXPECT_EQ(fromRange.last, range.last);

    ASSERT_TRUE(settings_.SetInt("Last_Start_Month", 2));  // 31 February: impossible
    ASSERT_TRUE(settings_.SetInt("Last_End_YEAR", 2024));
    ASSERT_TRUE(settings_.SetInt("Last_End_Day", 29));  // 29 February 2024 exists
    DateRangeForm fromSettings = OpenDateRangeForm(settings_, range, kToday);
    EXPECT_EQ(fromSettings.first, kToday);
    EXPECT_EQ(fromSettings.last, (ReportDate{2024, 2, 29}));
}

TEST_F(ReportDatesTest, CancelKeepsThePickedDatesAsPickedAndOnlyOkReports) {
    ReportDateRange range;
    view_.script.Queue([](DateRangeForm& form) {
        form = {{2026, 11, 30}, {2026, 11, 1}};
        return false;
    });
    EXPECT_FALSE(ChooseReportDates(view_, kNoWindow, settings_, range, kToday));
    EXPECT_EQ(range, (ReportDateRange{{2026, 11, 30}, {2026, 11, 1}}));
    const cpConfig stored = cpConfig::LoadFile(dir_.File("config.ini"));
    EXPECT_EQ(stored.Get("Last_Start_Year"), "2026");
    EXPECT_EQ(stored.Get("Last_Start_Month"), "11");
    EXPECT_EQ(stored.Get("Last_Start_Day"), "30");
    EXPECT_EQ(stored.Get("Last_End_YEAR"), "2026");
    EXPECT_EQ(stored.Get("Last_End_Day"), "1");

    view_.script.Queue([](DateRangeForm& form) {
        form = {{2026, 1, 2}, {2026, 3, 4}};
        return true;
    });
    EXPECT_TRUE(ChooseReportDates(view_, kNoWindow, settings_, range, kToday));
    EXPECT_EQ(view_.script.Opened().back().first, (ReportDate{2026, 11, 30}));
    EXPECT_EQ(range.last, (ReportDate{2026, 3, 4}));

    // The report exchanges the dates; the stored settings stay as picked.
    EXPECT_EQ(OrderedRange({{2026, 11, 30}, {2026, 11, 1}}),
              (ReportDateRange{{2026, 11, 1}, {2026, 11, 30}}));
}

}  // namespace
}  // namespace vantic
