#pragma once

// How a deployment changes one unit's instruction file: a settings change
// list is merged into the unit's settings, or a channel's clip list
// replaces the unit's list for that channel. Everything else in the file
// stays as the unit had it.

#include <optional>
#include <string>

#include "playlist/entry_set.h"

namespace vantic {

// The settings after merging: a copy of every given entry in its order,
// then each existing setting in its order unless its key (ignoring case)
// is already there. So the given keys replace the unit's values for them,
// the unit's other keys keep their values and order, and two existing
// lines with one key collapse to the first.
[[nodiscard]] EntryList MergeSettings(const EntryList& given, const EntryList& existing);

// Changes list listIndex of set with entries (4: settings merge; 0-3: the
// channel's list becomes exactly entries) and returns the instruction text.
// entries is unchanged afterwards, ready for the next unit; set is not.
// None when the set cannot be written or listIndex is outside 0-4.
[[nodiscard]] std::optional<std::string> ChangedInstructionText(EntrySet& set, int listIndex,
                                                                EntryList& entries);

}  // namespace vantic
