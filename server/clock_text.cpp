#include "server/clock_text.h"

#include "core/cpconfig.h"
#include "core/cpstring.h"
#include "core/cpstringarray.h"

namespace vantic::server {

namespace {

std::tm LocalFields(std::time_t when) {
    std::tm fields{};
    localtime_r(&when, &fields);
    return fields;
}

}  // namespace

std::string CallInText(std::time_t when) {
    std::tm t = LocalFields(when);
    return FormatNew("%2.2d/%2.2d/%4.4d %2.2d:%2.2d", t.tm_mon + 1, t.tm_mday, t.tm_year + 1900,
                     t.tm_hour, t.tm_min);
}

std::string DayText(std::time_t when) {
    std::tm t = LocalFields(when);
    return FormatNew("%2.2d/%2.2d/%4.4d", t.tm_mon + 1, t.tm_mday, t.tm_year + 1900);
}

std::time_t StartOfDay(std::time_t when) {
    std::tm t = LocalFields(when);
    t.tm_hour = 0;
    t.tm_min = 0;
    t.tm_sec = 0;
    t.tm_isdst = -1;
    return std::mktime(&t);
}

std::optional<std::time_t> ParseDay(std::string_view text) {
    std::string_view date = TrimmedView(text);
    date = date.substr(0, date.find(' '));
    cpStringArray parts = cpStringArray::SplitNew(date, "/");
    if (parts.Count() != 3) {
        return std::nullopt;
    }
    long long month = LeadingInteger(parts.TextAt(0));
    long long day = LeadingInteger(parts.TextAt(1));
    long long year = LeadingInteger(parts.TextAt(2));
    if (month < 1 || month > 12 || day < 1 || day > 31 || year < 1971 || year > 2100) {
        return std::nullopt;
    }
    std::tm t{};
    t.tm_year = static_cast<int>(year - 1900);
    t.tm_mon = static_cast<int>(month - 1);
    t.tm_mday = static_cast<int>(day);
    t.tm_isdst = -1;
    return std::mktime(&t);
}

std::string UtcStamp(std::time_t when) {
    std::tm t{};
    gmtime_r(&when, &t);
    return FormatNew("%4.4d-%2.2d-%2.2dT%2.2d:%2.2d:%2.2dZ", t.tm_year + 1900, t.tm_mon + 1,
                     t.tm_mday, t.tm_hour, t.tm_min, t.tm_sec);
}

}  // namespace vantic::server
