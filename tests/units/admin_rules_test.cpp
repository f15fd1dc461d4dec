// The administration forms' rules, without a server.

#include <gtest/gtest.h>

#include "units/admin_forms.h"

namespace vantic {
namespace {

std::vector<std::string> Lines(const EntryList& changes) {
    std::vector<std::string> lines;
    for (const PlayEntry& entry : changes) {
        EXPECT_EQ(entry.kind, kSettingKind);
        lines.push_back("[" + entry.key + "]=[" + entry.value + "]");
    }
    return lines;
}

TEST(AdminRules, AdminConfigTakesKeyValueLinesAsTyped) {
    EXPECT_EQ(Lines(AdminConfigChanges("UpdateFreq=6\r\n=6\r\nnovalue")),
              std::vector<std::string>{"[UpdateFreq]=[6]"});
    // Outer blanks go, inner ones stay; the first "=" splits; every line end counts.
    EXPECT_EQ(
        Lines(AdminConfigChanges(" \tcrawl = 1 \r\na=b=c\rnotes=caf\xe9\n\n x=\n")),
        (std::vector<std::string>{"[crawl ]=[ 1]", "[a]=[b=c]", "[notes]=[caf\xe9]", "[x]=[]"}));
    EXPECT_TRUE(AdminConfigChanges("= only\r\n\r\n  \r\n").empty());
}

TEST(AdminRules, OwnerNamesLoseEveryBlank) {
    EXPECT_EQ(OwnerNameFrom(" Acme Corp\t\r\n"), "AcmeCorp");
    EXPECT_EQ(OwnerNameFrom(" \t\r\n "), "");
    // The box holds 63 characters; blanks among them still count.
    EXPECT_EQ(OwnerNameFrom(std::string(60, 'a') + " bcdef"), std::string(60, 'a') + "bc");
}

TEST(AdminRules, OwnerTableRecordsEveryUnitButOne) {
    const std::uint32_t units[] = {1, 7, 12};
    EXPECT_EQ(OwnerTableWith("1 = First\n12=Old\n30=Other", units, "Acme"),
              "12=Acme\n7=Acme\n1=First\n30=Other\n");
    EXPECT_EQ(OwnerTableWith("", units, "Acme"), "12=Acme\n7=Acme\n");
}

TEST(AdminRules, RefreshIntervalAndTimeZones) {
    EXPECT_EQ(RefreshMinutes(""), 0);
    EXPECT_EQ(RefreshMinutes("00042"), 42);
    EXPECT_FALSE(RefreshInRange(RefreshMinutes("")));
    EXPECT_TRUE(RefreshInRange(1));
    EXPECT_TRUE(RefreshInRange(500000));
    EXPECT_FALSE(RefreshInRange(500001));

    EXPECT_EQ(TimezoneForm{}.zone, TimeZone::Central);
    EXPECT_EQ(Lines(TimezoneChanges(TimeZone::Hawaii)),
              std::vector<std::string>{"[TimezonePending]=[/usr/share/zoneinfo/Pacific/Honolulu]"});
    EXPECT_EQ(TimeZoneNamed(" alaska"), TimeZone::Alaska);
    EXPECT_FALSE(TimeZoneNamed("Atlantic").has_value());
    EXPECT_EQ(TimeZoneChoices().size(), 6u);
}

TEST(AdminRules, TheMediaCarrierIsAChannelZeroClipOfTheFile) {
    const std::optional<PlayEntry> carrier = MediaCarrier("/firmware/fw 4.2.tgz");
    ASSERT_TRUE(carrier.has_value());
    EXPECT_EQ(carrier->kind, 0);
    EXPECT_EQ(carrier->path, "/firmware/fw 4.2.tgz");
    EXPECT_TRUE(carrier->contentName.empty());
}

}  // namespace
}  // namespace vantic
