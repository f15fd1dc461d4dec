#include "reports/report_document.h"

#include "core/cpstring.h"
#include "platform/codepage.h"

namespace vantic {

void AppendRtfHeader(cpStringArray& document) {
    document.AppendAll({"{\\rtf1\\ansi\\ansicpg1252\\deff0\\deflang1033",
                        "{\\fonttbl{\\f0\\fnil\\fcharset0MS Sans Serif;}}\r\n", "\\viewkind4\\uc1",
                        "\\pard\\f0\\fs17 "});
}

namespace {

// The bytes that code page 1252 does not assign; they map to the control
// characters of the same value.
bool IsUnassigned(unsigned char byte) {
    return byte >= 0x80 && byte < 0xA0 && Cp1252ToUnicode(byte) == byte;
}

}  // namespace

std::string EscapeRichText(std::string_view text) {
    static constexpr char kHex[] = "0123456789abcdef";
    std::string out;
    out.reserve(text.size() + text.size() / 8);
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '\\' || c == '{' || c == '}') {
            out.push_back('\\');
            out.push_back(c);
        } else if (c == '\t') {
            out += "\\tab ";
        } else if (byte >= 0x20 && byte < 0x7F) {
            out.push_back(c);
        } else if (IsUnassigned(byte)) {
            out += "\\u" + std::to_string(byte) + "?";
        } else {
            out += "\\'";
            out.push_back(kHex[byte >> 4]);
            out.push_back(kHex[byte & 0x0F]);
        }
    }
    return out;
}

std::string ReportTimeText(const LocalTime& time) {
    static constexpr const char* kDays[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
    static constexpr const char* kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                              "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    const char* day = kDays[(time.weekday % 7 + 7) % 7];
    const char* month = kMonths[((time.month - 1) % 12 + 12) % 12];
    return FormatNew("%s %s %02d %02d:%02d:%02d %d\n", day, month, time.day, time.hour, time.minute,
                     time.second, time.year);
}

}  // namespace vantic
