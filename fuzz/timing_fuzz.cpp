// Any payload as the timing words: five big-endian words from the first
// twenty bytes, zeros when fewer arrive.

#include "fuzz/fuzz_check.h"
#include "net/timing_info.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace vantic;
    const TimingInfo info = ReadTimingInfo(ByteView(data, size));
    for (std::size_t word = 0; word < info.words.size(); ++word) {
        std::uint32_t expected = 0;
        if (size >= 20) {
            const std::uint8_t* at = data + 4 * word;
            expected = std::uint32_t{at[0]} << 24 | std::uint32_t{at[1]} << 16 |
                       std::uint32_t{at[2]} << 8 | at[3];
        }
        FUZZ_CHECK(info.words[word] == expected);
    }
    FUZZ_CHECK(info.LastCallIn() >= 0 && info.NextCallIn() >= 0);
    return 0;
}
