#include "units/unit_filter.h"

#include <gtest/gtest.h>

#include "units/status_counts.h"

namespace vantic {
namespace {

UnitRecord Unit(std::string_view line) {
    UnitRecord record;
    (void)record.Apply(cpStringArray::SplitNew(line, "\t"));
    return record;
}

TEST(UnitFilter, EveryWordMustMatchItsColumnIgnoringCase) {
    const UnitRecord lobby = Unit("1012\t[Harbor Mall] north lobby\tLate Calling In\t\t");
    const UnitRecord clinic = Unit("7\t[Riverside] Caf\xe9 lobby\tOK\t\t");
    struct Case {
        const char* filter;
        bool lobbyShows;
        bool clinicShows;
    };
    const Case cases[] = {
        {"", true, true},
        {"   ", true, true},
        {"HARBOR lobby", true, false},
        {"harbor clinic", false, false},
        {"lobby", true, true},
        {"status:late", true, false},
        {"status:", true, true},  // half typed: narrows nothing yet
        {"status:\"ok\"", false, true},
        {"status:\"Late\"", false, false},  // quoted: the whole status
        {"owner:harbor", true, false},
        {"owner:\"Harbor Mall\"", true, false},
        {"owner:mall", true, false},
        {"owner:lobby", false, false},  // only the bracketed name is the owner
        {"#1012", true, false},
        {"#101", false, false},  // a number matches whole
        {"#7 lobby", false, true},
        {"101", true, false},  // a plain word searches the number's text too
        {"\"north lobby\"", true, false},
        {"caf\xe9", false, true},  // 8-bit text matches as typed
        {"#x", false, false},
    };
    for (const Case& c : cases) {
        const UnitFilter filter = UnitFilter::Parse(c.filter);
        EXPECT_EQ(filter.Matches(lobby), c.lobbyShows) << c.filter;
        EXPECT_EQ(filter.Matches(clinic), c.clinicShows) << c.filter;
        EXPECT_EQ(filter.Text(), c.filter);
    }
}

TEST(UnitFilter, MatchingUnitsOfAReplyTakeEachUnitOnceWithItsLatestFields) {
    const std::string reply =
        "4\tA\tOK\t\t\r\nheading\n9\tB\tLate Calling In\t\t\n4\tA\tLate Calling In\t\t\n";
    const std::vector<UnitRecord> late = MatchingUnits(reply, UnitFilter::Parse("status:late"));
    ASSERT_EQ(late.size(), 2u);
    EXPECT_EQ(late[0].Number(), 4u);
    EXPECT_EQ(late[1].Number(), 9u);
    EXPECT_TRUE(MatchingUnits(reply, UnitFilter::Parse("#5")).empty());
}

TEST(StatusCounts, CountEveryStatusWithTheFilterThatShowsExactlyThoseUnits) {
    const std::vector<UnitRecord> units = {Unit("1\ta\tOK"), Unit("2\tb\tLate Calling In"),
                                           Unit("3\tc\tok"), Unit("4\td\tCheck Network Connection"),
                                           Unit("5\te\t"),   Unit("6\tf\tRebooting")};
    std::vector<const UnitRecord*> records;
    for (const UnitRecord& unit : units) {
        records.push_back(&unit);
    }
    records.push_back(nullptr);
    const StatusCounts counts = CountStatuses(records);
    EXPECT_EQ(StatusCountsText(counts),
              "6 units: 2 OK, 1 late, 1 no network, 1 no status, 1 Rebooting");
    for (const StatusCount& count : counts.counts) {
        const UnitFilter filter = UnitFilter::Parse(count.filter);
        int shown = 0;
        for (const UnitRecord& unit : units) {
            shown += filter.Matches(unit) ? 1 : 0;
        }
        EXPECT_EQ(std::to_string(shown), count.label.substr(0, count.label.find(' ')))
            << count.filter;
    }
    EXPECT_EQ(StatusCountsText(CountStatuses({&units[0]})), "1 unit: 1 OK");
    EXPECT_EQ(StatusCountsText(CountStatuses({})), "");
}

}  // namespace
}  // namespace vantic
