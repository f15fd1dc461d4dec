#include "reports/activity_report.h"

#include <gtest/gtest.h>

#include "platform/rich_text.h"
#include "tests/support/scripted_list.h"
#include "tests/support/scripted_platform.h"
#include "tests/support/scripted_report_window.h"

namespace vantic {
namespace {

constexpr LocalTime kNow{2026, 12, 6, 13, 52, 13, 0};
constexpr const char* kOpening =
    "\\fs48 Vantic Player Usage \\par\\fs24 \\par Report Generated: Sun Dec 06 13:52:13 2026\n"
    " \\par\r\n";

// The report's text after the header.
std::string Body(const std::vector<UnitCells>& rows) {
    cpStringArray document;
    AppendUsageBody(CollectUsageLines(rows), document, kNow);
    return document.Join("");
}

TEST(ActivityReport, CountsUnitsPerOwnerAndState) {
    EXPECT_EQ(Body({{"[Acme] lobby", "OK"},
                    {"[Acme] bar", "Late Calling In"},
                    {"[Acme] gym", "Check Network Connection"},
                    {"[Zed]", "OK"},
                    {"no owner", "OK"}}),
              std::string(kOpening) +
                  " \\par\r\n\\fs36 Owner: Acme \\par\\fs24\r\n"
                  "   Active  -  2 Units \\par\r\n"
                  "   Inactive  -  1 Unit \\par\r\n"
                  " \\par\r\n\\fs36 Owner: Zed \\par\\fs24\r\n"
                  "   Active  -  1 Unit \\par\r\n");
}

TEST(ActivityReport, OwnersAndStatesAreTakenAsWritten) {
    const cpStringArray lines = CollectUsageLines({{"[acme]", "OK"},
                                                   {"[Acme]", "OK"},
                                                   {"[]", ""},
                                                   {" [Lead] blank", "OK"},
                                                   {"[Ab:c] colon", "Rebooting"},
                                                   {"[Acme]", "Factory Defaults"},
                                                   {"[Open", "OK"}});
    EXPECT_EQ(lines.Join("|"), ":|Ab:c:Rebooting|acme:Active|Acme:Active");
    // Owners differing in case get headings of their own; the empty owner
    // sorted first gets none; an owner holding ":" is cut there.
    EXPECT_EQ(Body({{"[acme]", "OK"}, {"[Acme]", "OK"}, {"[]", ""}, {"[Ab:c]", "Rebooting"}}),
              std::string(kOpening) +
                  "     -  1 Unit \\par\r\n"
                  " \\par\r\n\\fs36 Owner: Ab \\par\\fs24\r\n"
                  "   c:Rebooting  -  1 Unit \\par\r\n"
                  " \\par\r\n\\fs36 Owner: acme \\par\\fs24\r\n"
                  "   Active  -  1 Unit \\par\r\n"
                  " \\par\r\n\\fs36 Owner: Acme \\par\\fs24\r\n"
                  "   Active  -  1 Unit \\par\r\n");
}

TEST(ActivityReport, InsertedTextsCannotBreakTheDocument) {
    const std::string html =
        RichTextToHtml(ActivityReportText({{"[} \\b {\\rtf1 x Caf\xE9]", "Caf\xE9"}}, kNow));
    EXPECT_NE(html.find("Owner: } \\b {\\rtf1 x Caf&#233;"), std::string::npos) << html;
    EXPECT_NE(html.find("Caf&#233;  -  1 Unit"), std::string::npos) << html;
    EXPECT_EQ(html.find("bold"), std::string::npos);
}

TEST(ActivityReport, CellsAreReadAsShownAndFromTheServersReply) {
    testing::ScriptedListControl list;
    for (int column = 0; column < 5; ++column) {
        ASSERT_TRUE(list.InsertColumn(column, "c", 10, ColumnAlign::Left));
    }
    ASSERT_EQ(list.InsertRow(0, nullptr), 0);
    list.SetCellText(0, 1, "[Acme]" + std::string(120, 'n'));
    list.SetCellText(0, 2, "OK");
    const std::vector<UnitCells> shown = ShownUnitCells(list);
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].notes.size(), 99u);
    EXPECT_EQ(shown[0].status, "OK");

    const std::vector<UnitCells> replied =
        UnitCellsOfReply("12\t[Acme] lobby\tOK\tx\ty\r\nnot a unit\t[Zed]\tOK\r\n7\t[Zed]\r\n");
    ASSERT_EQ(replied.size(), 2u);
    EXPECT_EQ(replied[0].notes, "[Acme] lobby");
    EXPECT_EQ(replied[1].status, "");
}

TEST(ActivityReport, AnEmptyUnitListWarnsAndOpensNoWindow) {
    testing::ScriptedPlatform platform;
    testing::ScriptedReportWindow view(platform.windows);
    WReg settings;
    testing::ScriptedListControl list;
    platform.QueueAnswer(MessageAnswer::Ok, "No player units in list!");
    GenerateActivityReport(ReportContext{platform, settings, view, kNoWindow}, list);
    EXPECT_EQ(platform.ShownMessages().at(0).text, "Please check your user name and password.");
    EXPECT_EQ(platform.ShownMessages().at(0).icon, MessageIcon::Warning);
    EXPECT_TRUE(view.owners.empty());
}

}  // namespace
}  // namespace vantic
