#pragma once

// A unit's timing words, kept in "timing.txt" as key=value lines and sent
// to controllers as five big-endian words: call-ins so far, last call-in,
// call-in interval in seconds, a reserved 0, next scheduled call-in. Times
// are seconds since 1970; 0 means none.

#include <array>
#include <cstdint>
#include <ctime>
#include <string>
#include <string_view>

namespace vantic::server {

struct TimingWords {
    std::uint32_t calls = 0;
    std::uint32_t last = 0;
    std::uint32_t interval = 0;
    std::uint32_t reserved = 0;
    std::uint32_t next = 0;
};

[[nodiscard]] TimingWords ParseTimingFile(std::string_view text);
// Key lines with the two times also written out as comment lines.
[[nodiscard]] std::string FormatTimingFile(const TimingWords& words);
[[nodiscard]] std::array<std::uint8_t, 20> TimingPayload(const TimingWords& words);

}  // namespace vantic::server
