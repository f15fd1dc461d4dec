#include "reports/report_document.h"

#include <gtest/gtest.h>

#include "platform/rich_text.h"

namespace vantic {
namespace {

TEST(ReportDocument, HeaderJoinsToTheFixedOpening) {
    cpStringArray document;
    AppendRtfHeader(document);
    EXPECT_EQ(document.Count(), 4u);
    EXPECT_EQ(document.Join(""),
              "{\\rtf1\\ansi\\ansicpg1252\\deff0\\deflang1033{\\fonttbl{\\f0\\fnil\\fcharset0MS "
              "Sans Serif;}}\r\n\\viewkind4\\uc1\\pard\\f0\\fs17 ");
}

TEST(ReportDocument, TimeTextHasTheFixedForm) {
    EXPECT_EQ(ReportTimeText(LocalTime{2026, 12, 6, 13, 52, 13, 0}), "Sun Dec 06 13:52:13 2026\n");
    EXPECT_EQ(ReportTimeText(LocalTime{2024, 2, 29, 0, 5, 9, 4}), "Thu Feb 29 00:05:09 2024\n");
}

// What a rich-text reader shows of text once escaped and put in a document.
std::string ReadBack(std::string_view inserted) {
    cpStringArray document;
    AppendRtfHeader(document);
    document.Append(EscapeRichText(inserted));
    document.Append(" \\par }");
    return RichTextToHtml(document.Join(""));
}

TEST(ReportDocument, EscapedTextsReadBackUnchanged) {
    EXPECT_EQ(EscapeRichText("} \\b {\\rtf1 x"), "\\} \\\\b \\{\\\\rtf1 x");
    EXPECT_EQ(EscapeRichText("Caf\xE9\t\x80"), "Caf\\'e9\\tab \\'80");
    EXPECT_EQ(EscapeRichText("\x81"), "\\u129?");
    const std::string html = ReadBack("} \\b {\\rtf1 x Caf\xE9 \x80");
    EXPECT_NE(html.find("} \\b {\\rtf1 x Caf&#233; &#8364;"), std::string::npos) << html;
    EXPECT_EQ(html.find("font-weight:bold"), std::string::npos);
}

}  // namespace
}  // namespace vantic
