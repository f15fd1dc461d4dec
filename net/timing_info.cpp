#include "net/timing_info.h"

namespace vantic {

TimingInfo ReadTimingInfo(ByteView payload) {
    TimingInfo info;
    if (payload.size() < info.words.size() * 4) {
        return info;
    }
    for (std::size_t i = 0; i < info.words.size(); ++i) {
        const std::uint8_t* word = payload.data() + 4 * i;
        info.words[i] = std::uint32_t{word[0]} << 24 | std::uint32_t{word[1]} << 16 |
                        std::uint32_t{word[2]} << 8 | word[3];
    }
    return info;
}

}  // namespace vantic
