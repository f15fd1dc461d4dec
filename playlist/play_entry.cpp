#include "playlist/play_entry.h"

namespace vantic {

PlayEntry NewSettingEntry(std::string_view key, std::string_view value) {
    PlayEntry entry;
    entry.kind = kSettingKind;
    entry.isSetting = true;
    entry.key = key;
    entry.value = value;
    return entry;
}

PlayEntry CopyEntry(const PlayEntry& entry) {
    return entry;
}

}  // namespace vantic
