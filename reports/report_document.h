#pragma once

// The report document: rich-text pieces appended in order and joined
// without a separator. Both reports open with the same header, name the
// time they were made in one fixed form, and escape every text that comes
// from units or operators before it goes into the document.

#include <string>
#include <string_view>

#include "core/cpstringarray.h"
#include "platform/clock.h"

namespace vantic {

// Appends the opening of a report: code page 1252, the one font "MS Sans
// Serif", base size 8.5 points.
void AppendRtfHeader(cpStringArray& document);

// text (8-bit, code page 1252) as rich text that reads back as exactly
// that text: "\", "{" and "}" are escaped, a tab becomes \tab, other
// characters outside printable ASCII are written as \'hh, and the five
// bytes code page 1252 leaves unassigned as \uN? of their own value.
[[nodiscard]] std::string EscapeRichText(std::string_view text);

// "Sun Dec 06 13:52:13 2026\n": weekday, month, two-digit day, 24-hour
// time and year, ending with a line feed.
[[nodiscard]] std::string ReportTimeText(const LocalTime& time);

}  // namespace vantic
