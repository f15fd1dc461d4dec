#pragma once

// The text fields of one entry. A clip has 11 fields: kind, path, duration,
// content name, size, day, schedule, first day, last day, audio, notes.
// A setting has 3: "4", key, value. Joined with tabs they make one line of a
// playlist or instruction file.

#include <optional>

#include "core/cpstringarray.h"
#include "playlist/play_entry.h"

namespace vantic {

inline constexpr std::size_t kClipFieldCount = 11;
inline constexpr std::size_t kSettingFieldCount = 3;

// Nothing for a kind outside 0-4. Tabs and line breaks inside a text are
// written as blanks, so a field can never split its line.
[[nodiscard]] std::optional<cpStringArray> EntryToFields(const PlayEntry& entry);

// Nothing when the first field is not a single digit 0-4 or the field count
// does not suit the kind. Every other field falls back to a default instead.
[[nodiscard]] std::optional<PlayEntry> EntryFromFields(const cpStringArray& fields);

}  // namespace vantic
