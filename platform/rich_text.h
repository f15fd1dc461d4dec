#pragma once

// Rich text (RTF) as the reports write it, turned into HTML for viewing
// and printing: paragraphs, line and page breaks, bold, italic, underline
// and font sizes. Tables of fonts, colours and styles are skipped. The
// HTML is plain ASCII: other characters are written as character
// references, so it can be handed on as Latin-1 text.

#include <string>
#include <string_view>

namespace vantic {

// How a page break (\page) appears: as a break before the next paragraph
// when printed, and for a viewer that shows no pages also as a ruled line.
enum class RichTextPageBreaks { Printed, Ruled };

// Reading stops at a zero byte.
[[nodiscard]] std::string RichTextToHtml(
    std::string_view richText, RichTextPageBreaks pageBreaks = RichTextPageBreaks::Printed);

}  // namespace vantic
