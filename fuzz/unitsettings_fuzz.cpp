// Any instruction text's settings as a unit's settings view: every known
// key reads without harm, and a value set is the value found.

#include "fuzz/fuzz_check.h"
#include "fuzz/fuzz_input.h"
#include "units/unit_settings.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace vantic;
    EntrySet set;
    if (!TextToEntrySet(std::string(FuzzText(data, size)), set)) {
        return 0;
    }
    UnitSettings settings;
    settings.SetAll(set.Settings());
    for (const SettingKey& key : SettingKeys()) {
        const std::string value = settings.Value(key.key);
        (void)settings.Flag(key.key);
        if (!settings.Find(key.key) && key.fallback) {
            FUZZ_CHECK(value == *key.fallback);
        }
    }
    settings.Set(unit_key::kNotes, "fuzz notes");
    FUZZ_CHECK(settings.Find("NOTES") == std::optional<std::string>("fuzz notes"));
    return 0;
}
