#include "playlist/leading_number.h"

#include <charconv>
#include <climits>
#include <cmath>

namespace vantic {
namespace {

// The blanks the C library skips before a number.
bool IsNumberBlank(char c) {
    return c == ' ' || (c >= '\t' && c <= '\r');
}

std::string_view SkipBlanks(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && IsNumberBlank(text[i])) {
        ++i;
    }
    return text.substr(i);
}

}  // namespace

int LeadingInt(std::string_view text) {
    text = SkipBlanks(text);
    bool negative = false;
    if (!text.empty() && (text[0] == '+' || text[0] == '-')) {
        negative = text[0] == '-';
        text.remove_prefix(1);
    }
    long long magnitude = 0;
    const long long limit = negative ? -static_cast<long long>(INT_MIN) : INT_MAX;
    for (char c : text) {
        if (c < '0' || c > '9') {
            break;
        }
        magnitude = magnitude * 10 + (c - '0');
        if (magnitude >= limit) {
            magnitude = limit;  // keep reading digits, but stay saturated
        }
    }
    return static_cast<int>(negative ? -magnitude : magnitude);
}

double LeadingDouble(std::string_view text) {
    text = SkipBlanks(text);
    if (!text.empty() && text[0] == '+') {
        text.remove_prefix(1);
        if (!text.empty() && text[0] == '-') {
            return 0;  // "+-1" is no number
        }
    }
    double value = 0;
    const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
    if (result.ec != std::errc() || !std::isfinite(value)) {
        return 0;
    }
    return value;
}

}  // namespace vantic
