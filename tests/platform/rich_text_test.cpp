#include "platform/rich_text.h"

#include <gtest/gtest.h>

#include "platform/codepage.h"

namespace vantic {
namespace {

// The paragraphs of the HTML body, one per line, without the wrapping.
std::string Body(const std::string& html) {
    const std::size_t start = html.find("\">\n") + 3;
    const std::size_t end = html.rfind("</body>");
    return html.substr(start, end - start);
}

constexpr const char* kHeader =
    "{\\rtf1\\ansi\\ansicpg1252\\deff0\\deflang1033{\\fonttbl{\\f0\\fnil\\fcharset0MS Sans "
    "Serif;}}\r\n\\viewkind4\\uc1\\pard\\f0\\fs17 ";

TEST(RichTextToHtml, ReadsTheReportHeaderAndParagraphs) {
    const std::string html = RichTextToHtml(std::string(kHeader) +
                                            "\\fs48 Media Player Report \\par\\fs24 "
                                            "\\par\\b Proof of Runtime: \\b0\\par\r\n }");
    EXPECT_EQ(Body(html),
              "<p style=\"margin-top:0; margin-bottom:0;\"><span style=\"font-size:24pt;\">Media "
              "Player Report </span></p>\n"
              "<p style=\"margin-top:0; margin-bottom:0;\">&nbsp;</p>\n"
              "<p style=\"margin-top:0; margin-bottom:0;\"><span style=\"font-size:12pt; "
              "font-weight:bold;\">Proof of Runtime: </span></p>\n"
              "<p style=\"margin-top:0; margin-bottom:0;\"><span "
              "style=\"font-size:12pt;\"> </span></p>\n");
    EXPECT_EQ(html.find("Sans Serif;"), std::string::npos);  // the font table is not text
}

TEST(RichTextToHtml, PageBreaksStartTheNextParagraphOnANewPage) {
    const std::string html = RichTextToHtml("{\\rtf1 One\\par \\page\r\nTwo\\par}");
    EXPECT_NE(html.find("page-break-before:always;\"><span style=\"font-size:12pt;\">Two"),
              std::string::npos);
    EXPECT_EQ(html.find("page-break-before:always;\"><span style=\"font-size:12pt;\">One"),
              std::string::npos);
}

TEST(RichTextToHtml, EscapesAndEightBitCharacters) {
    const std::string html = RichTextToHtml(
        "{\\rtf1 3 - C:\\\\clips\\\\a<b>&c \\{x\\} "
        "caf\xE9 \\'80 \\u8364?\\par}");
    EXPECT_NE(html.find("3 - C:\\clips\\a&lt;b&gt;&amp;c {x} caf&#233; &#8364; &#8364;</span>"),
              std::string::npos)
        << html;
}

TEST(RichTextToHtml, StopsAtTheTerminatingZero) {
    const std::string rtf("{\\rtf1 Shown\\par}\0Hidden\\par", 28);
    const std::string html = RichTextToHtml(rtf);
    EXPECT_NE(html.find("Shown"), std::string::npos);
    EXPECT_EQ(html.find("Hidden"), std::string::npos);
}

TEST(Codepage1252, EveryByteRoundTrips) {
    for (int byte = 0; byte < 256; ++byte) {
        EXPECT_EQ(static_cast<unsigned char>(UnicodeToCp1252(Cp1252ToUnicode(byte))), byte);
    }
    EXPECT_EQ(Cp1252ToUnicode(0x80), U'\u20AC');
    EXPECT_EQ(UnicodeToCp1252(U'\u4E2D'), '?');
}

}  // namespace
}  // namespace vantic
