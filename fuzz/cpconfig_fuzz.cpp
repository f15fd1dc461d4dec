// Any text as a key=value record: what is read, written and read again is
// the same record, and every line's key finds a value.

#include "core/cpconfig.h"
#include "fuzz/fuzz_check.h"
#include "fuzz/fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace vantic;
    cpConfig record = cpConfig::FromText(FuzzText(data, size));
    const std::string text = record.ToText();
    cpConfig again = cpConfig::FromText(text);
    FUZZ_CHECK(again.ToText() == text);
    // The keys of the first lines only: each lookup scans the record, and
    // checking every line of a long one would spend the run on the check.
    std::size_t checked = 0;
    for (const std::string& line : record) {
        if (++checked > 64) {
            break;
        }
        const std::size_t equals = line.find('=');
        if (equals != std::string::npos && equals > 0) {
            FUZZ_CHECK(record.Find(line.substr(0, equals)).has_value());
        }
    }
    (void)record.GetBool("key", false);
    FUZZ_CHECK(record.Set("fuzzkey", "value") && record.Get("FUZZKEY") == "value");
    return 0;
}
