#include "units/instruction_change.h"

#include <algorithm>

#include "core/cpstring.h"

namespace vantic {
namespace {

bool HasKey(const EntryList& settings, std::string_view key) {
    return std::any_of(settings.begin(), settings.end(),
                       [key](const PlayEntry& entry) { return EqualsNoCase(entry.key, key); });
}

}  // namespace

EntryList MergeSettings(const EntryList& given, const EntryList& existing) {
    EntryList merged;
    merged.reserve(given.size() + existing.size());
    for (const PlayEntry& entry : given) {
        merged.push_back(CopyEntry(entry));
    }
    for (const PlayEntry& entry : existing) {
        if (!HasKey(merged, entry.key)) {
            merged.push_back(CopyEntry(entry));
        }
    }
    return merged;
}

std::optional<std::string> ChangedInstructionText(EntrySet& set, int listIndex,
                                                  EntryList& entries) {
    if (listIndex == kSettingKind) {
        set.Settings() = MergeSettings(entries, set.Settings());
        return EntrySetToText(set);
    }
    if (listIndex < 0 || listIndex >= kChannelCount) {
        return std::nullopt;
    }
    // The clips are lent to the set for writing and taken back, so the
    // same list serves every unit without a copy.
    set.List(listIndex).swap(entries);
    std::optional<std::string> text = EntrySetToText(set);
    set.List(listIndex).swap(entries);
    return text;
}

}  // namespace vantic
