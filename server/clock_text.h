#pragma once

// Times as the server writes them: call-in texts for the unit list and the
// dates of instruction-file entries, month/day/year with a 24-hour clock,
// in the server's local time.

#include <ctime>
#include <optional>
#include <string>
#include <string_view>

namespace vantic::server {

// "MM/DD/YYYY HH:MM".
[[nodiscard]] std::string CallInText(std::time_t when);
// "MM/DD/YYYY".
[[nodiscard]] std::string DayText(std::time_t when);
// Local midnight at the start of when's day.
[[nodiscard]] std::time_t StartOfDay(std::time_t when);
// Reads the date part of "MM/DD/YYYY[ HH:MM]" as local midnight.
[[nodiscard]] std::optional<std::time_t> ParseDay(std::string_view text);
// "2026-12-06T13:52:13Z", for the log.
[[nodiscard]] std::string UtcStamp(std::time_t when);

}  // namespace vantic::server
