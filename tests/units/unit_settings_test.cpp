#include "units/unit_settings.h"

#include <gtest/gtest.h>

namespace vantic {
namespace {

TEST(UnitSettingsTest, ViewLooksUpAnyCaseAndSetLeavesOneLineInFront) {
    UnitSettings view;
    EntryList entries{NewSettingEntry("crawlspeed", "3"), NewSettingEntry("notes", "lobby"),
                      NewSettingEntry("CRAWLSPEED", "7")};
    view.SetAll(entries);
    EXPECT_EQ(view.Find("CrawlSpeed"), "7");  // the later line wins
    EXPECT_EQ(view.Lines().Count(), 2u);
    EXPECT_EQ(view.Lines().TextAt(0), "CRAWLSPEED=7");

    view.Set("NOTES", "hall");
    EXPECT_EQ(view.Lines().TextAt(0), "NOTES=hall");
    EXPECT_EQ(view.Lines().Count(), 2u);
    // "crawl=" is not a line of "crawlspeed", nor the other way round.
    EXPECT_FALSE(view.Find("crawl"));
    EXPECT_FALSE(view.Find("crawlspee"));
}

TEST(UnitSettingsTest, MissingKeysTakeTheirFallbacksAndBooleansReadLeniently) {
    UnitSettings view;
    EXPECT_EQ(view.Value(unit_key::kCrawlSize), "8");
    EXPECT_EQ(view.Value("CRAWLFOREGROUND"), "FFFF00");
    EXPECT_EQ(view.Value(unit_key::kRestrictedPlayStop), "23:59");
    EXPECT_EQ(view.Value(unit_key::kFirmwarePending), "");
    EXPECT_EQ(view.Value(unit_key::kPassword).size(), 8u);
    EXPECT_FALSE(view.Flag(unit_key::kCrawl));
    for (const char* yes : {" Sure ", "YES", "y", "ok", "true", "-2", "12abc"}) {
        view.Set(unit_key::kCrawl, yes);
        EXPECT_TRUE(view.Flag(unit_key::kCrawl)) << yes;
    }
    for (const char* no : {"0", "", "no", "yess", "x1"}) {
        view.Set(unit_key::kCrawl, no);
        EXPECT_FALSE(view.Flag(unit_key::kCrawl)) << no;
    }
    ASSERT_NE(FindSettingKey("timezonepending"), nullptr);
    EXPECT_EQ(FindSettingKey("timezonepending")->key, "TimezonePending");
    EXPECT_EQ(FindSettingKey("nosuchkey"), nullptr);
}

}  // namespace
}  // namespace vantic
