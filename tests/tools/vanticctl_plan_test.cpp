#include <gtest/gtest.h>

#include "core/cpstring.h"
#include "reports/day_plan.h"
#include "tests/support/temp_dir.h"
#include "tools/vanticctl/ctl_commands.h"

namespace vantic::ctl {
namespace {

class CtlPlanTest : public ::testing::Test {
  protected:
    CtlPlanTest() {
        EXPECT_TRUE(testing::WriteFileBytes(
            path_,
            "0\t/m/office.mpg\tAuto\t\t1 KB\tWeekdays\tloop from 08:00 to 18:00\t12/01/2026\t"
            "12/31/2026\tA\t\r\n"
            "0\t/m/noon.mpg\tAuto\t\t1 KB\tAll\t13:30\tNone\tNone\tA\t\r\n"
            "2\t/m/song.mp3\tAuto\t\t1 KB\tAll\tloop\tNone\tNone\tA\t"));
    }
    int Plan(std::vector<std::string> extra) {
        std::vector<std::string> arguments = {"plan", "--playlist", path_};
        arguments.insert(arguments.end(), extra.begin(), extra.end());
        out_.clear();
        err_.clear();
        return RunCtl(arguments, out_, err_);
    }

    testing::TempDir dir_;
    const std::string path_ = dir_.File("week.PLY");
    std::string out_, err_;
};

TEST_F(CtlPlanTest, PrintsThePlanOfTheChannelWithoutAServer) {
    ASSERT_EQ(Plan({"--channel", "video", "--date", "2026-12-08"}), 0) << err_;
    EntrySet file;
    ASSERT_TRUE(TextToEntrySet(*ReadWholeFile(path_), file));
    EXPECT_EQ(out_, PlanTextOf(file, path_, {{2026, 12, 8}, 0}));
    EXPECT_NE(out_.find("\n08:00  office.mpg (loop)\n"), std::string::npos);
    EXPECT_NE(out_.find("\n13:00  office.mpg (loop), noon.mpg (at 13:30)\n"), std::string::npos);
    EXPECT_NE(out_.find("\n18:00  -\n"), std::string::npos);

    ASSERT_EQ(Plan({"--channel", "0", "--date", "2026-12-06"}), 0) << err_;
    EXPECT_NE(out_.find("Not due:\n  office.mpg: plays on Weekdays only\n"), std::string::npos);
    ASSERT_EQ(Plan({"--channel=Audio A", "--date", "2026-11-30"}), 0) << err_;
    EXPECT_NE(out_.find("\n00:00  song.mp3 (loop)\n"), std::string::npos);
}

TEST_F(CtlPlanTest, RefusesWhatItCannotPlan) {
    EXPECT_EQ(Plan({"--channel", "0"}), 1);
    EXPECT_NE(err_.find("--date"), std::string::npos);
    EXPECT_EQ(Plan({"--channel", "5", "--date", "2026-12-08"}), 1);
    EXPECT_EQ(Plan({"--channel", "0", "--date", "2026-02-30"}), 1);
    EXPECT_EQ(Plan({"--channel", "0", "--date", "2026-12-08", "--units", "4"}), 1);
    EXPECT_TRUE(out_.empty());
    std::string out, err;
    EXPECT_EQ(RunCtl({"units", "--date", "2026-12-08"}, out, err), 1);
    EXPECT_EQ(err, "vanticctl: --date is an option of plan only\n");
    ASSERT_TRUE(testing::WriteFileBytes(path_, "not\ta playlist"));
    EXPECT_EQ(Plan({"--channel", "0", "--date", "2026-12-08"}), 1);
    EXPECT_NE(err_.find("is not a playlist file"), std::string::npos);
}

}  // namespace
}  // namespace vantic::ctl
