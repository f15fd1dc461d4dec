#include "server/timing.h"

#include "core/cpconfig.h"
#include "server/clock_text.h"
#include "server/wire.h"

namespace vantic::server {

namespace {

std::uint32_t Word(const cpConfig& record, std::string_view key) {
    long long value = LeadingInteger(record.Get(key, "0"));
    return value < 0 || value > 0xFFFFFFFFll ? 0 : static_cast<std::uint32_t>(value);
}

std::string TimeComment(std::string_view label, std::uint32_t when) {
    return "# " + std::string(label) + ": " +
           (when == 0 ? std::string("none") : CallInText(static_cast<std::time_t>(when))) + "\n";
}

}  // namespace

TimingWords ParseTimingFile(std::string_view text) {
    const cpConfig record = cpConfig::FromText(text);
    return TimingWords{Word(record, "calls"), Word(record, "last"), Word(record, "interval"),
                       Word(record, "reserved"), Word(record, "next")};
}

std::string FormatTimingFile(const TimingWords& words) {
    return TimeComment("last call-in", words.last) + TimeComment("next call-in", words.next) +
           "calls=" + std::to_string(words.calls) + "\n" + "last=" + std::to_string(words.last) +
           "\n" + "interval=" + std::to_string(words.interval) + "\n" +
           "reserved=" + std::to_string(words.reserved) + "\n" +
           "next=" + std::to_string(words.next) + "\n";
}

std::array<std::uint8_t, 20> TimingPayload(const TimingWords& words) {
    std::array<std::uint8_t, 20> bytes{};
    const std::uint32_t values[] = {words.calls, words.last, words.interval, words.reserved,
                                    words.next};
    for (std::size_t i = 0; i < 5; ++i) {
        WriteWord(bytes.data() + 4 * i, values[i]);
    }
    return bytes;
}

}  // namespace vantic::server
