#pragma once

// EntrySet: the five entry lists of an instruction file (the clips of
// channels 0-3, then the settings), and its text form: one tab-separated
// line per entry, lists in index order.

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "core/cpstringarray.h"
#include "playlist/play_entry.h"

namespace vantic {

using EntryList = std::vector<PlayEntry>;

struct EntrySet {
    // List k holds the entries of kind k: channels 0-3, settings at 4.
    std::array<EntryList, kEntryListCount> lists;

    // kind must be 0-4.
    [[nodiscard]] EntryList& List(int kind) { return lists[static_cast<std::size_t>(kind)]; }
    [[nodiscard]] const EntryList& List(int kind) const {
        return lists[static_cast<std::size_t>(kind)];
    }
    [[nodiscard]] EntryList& Settings() { return lists[kSettingKind]; }
    [[nodiscard]] const EntryList& Settings() const { return lists[kSettingKind]; }

    // Appends the entry to the list of its kind; false for a kind outside 0-4.
    bool Append(PlayEntry entry);
    // Puts entries in place of list kind (0-4) and hands back the old list.
    EntryList ReplaceList(int kind, EntryList entries);
    void Clear();
    [[nodiscard]] std::size_t TotalCount() const;

    bool operator==(const EntrySet&) const = default;
};

// One line per entry, its fields joined with a tab. Nothing if an entry
// cannot be written (a kind outside 0-4).
[[nodiscard]] std::optional<cpStringArray> EntrySetToLines(const EntrySet& set);
// The lines joined with LF, without a line end after the last one.
[[nodiscard]] std::optional<std::string> EntrySetToText(const EntrySet& set);

// Reads the lines into set, replacing what it held. A malformed line (a
// field count other than 11 or 3, or a non-empty line without tabs) fails
// the whole text and leaves set empty; a well-formed line with an unknown
// kind is dropped; empty lines are skipped.
[[nodiscard]] bool LinesToEntrySet(const cpStringArray& lines, EntrySet& set);
// The same for a whole text with any line ends.
[[nodiscard]] bool TextToEntrySet(std::string text, EntrySet& set);

}  // namespace vantic
