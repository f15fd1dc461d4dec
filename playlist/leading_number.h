#pragma once

// The number reading the clip texts rely on: the leading number of a text,
// as the C library reads it, but without atoi's overflow and without any
// dependence on the process locale (a GUI toolkit may switch the decimal
// point to a comma).

#include <string_view>

namespace vantic {

// Leading blanks skipped, an optional sign, then digits up to the first
// non-digit; 0 when there are none. Saturates at the int range.
[[nodiscard]] int LeadingInt(std::string_view text);

// The leading decimal number (optional sign, digits, point, exponent) with
// "." as the decimal point; 0 when there is none, and for values out of
// range, infinities and NaN.
[[nodiscard]] double LeadingDouble(std::string_view text);

}  // namespace vantic
