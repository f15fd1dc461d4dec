#pragma once

// Output forms of vanticctl: what scripts read from standard output.

#include <cstdint>
#include <string>
#include <string_view>

#include "net/timing_info.h"

namespace vantic::ctl {

// The unit list reply as one line per unit: exactly five tab-separated
// fields (unit number, notes, status, last call-in, next scheduled
// call-in), each line ending in LF. Lines whose first field does not start
// with a positive number (blank lines, headings) are left out, as the
// controller leaves them out; fields after the fifth are dropped and
// missing ones are empty.
[[nodiscard]] std::string FormatUnitList(std::string_view reply);

// A time as local time in the report form "Sun Dec 06 13:52:13 2026";
// "Unknown" for 0.
[[nodiscard]] std::string CallInTimeText(std::int64_t seconds);

// The five timing words, one line each: the word's index and value, and for
// words 1 and 4 also what they mean and the time as local time.
//   1<TAB>1796566333<TAB>last call-in<TAB>Sun Dec 06 13:52:13 2026
[[nodiscard]] std::string FormatTiming(const TimingInfo& info);

}  // namespace vantic::ctl
