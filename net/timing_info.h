#pragma once

// The payload of GetTimingInfo: five unsigned big-endian words. Word 1 is
// the unit's last call-in and word 4 its next scheduled call-in, both in
// seconds since 1970 (UTC), 0 when none is recorded. Words 0, 2 and 3 are
// the server's own and carry no meaning here.

#include <array>
#include <cstdint>

#include "net/bytes.h"

namespace vantic {

struct TimingInfo {
    std::array<std::uint32_t, 5> words{};

    // Widened for calendar use; 0 means none recorded.
    [[nodiscard]] std::int64_t LastCallIn() const { return words[1]; }
    [[nodiscard]] std::int64_t NextCallIn() const { return words[4]; }
};

// Reads the five words; a payload shorter than 20 bytes reads as five
// zeros, and bytes after the twentieth are ignored.
[[nodiscard]] TimingInfo ReadTimingInfo(ByteView payload);

}  // namespace vantic
