#include "playlist/entry_set.h"

#include "core/cpstring.h"
#include "playlist/entry_fields.h"

namespace vantic {
namespace {

enum class LineRead { Entry, Dropped, Empty, Malformed };

LineRead ReadLine(std::string_view line, EntrySet& set) {
    const cpStringArray fields = cpStringArray::SplitNew(line, "\t");
    if (fields.Count() == kClipFieldCount || fields.Count() == kSettingFieldCount) {
        std::optional<PlayEntry> entry = EntryFromFields(fields);
        return entry && set.Append(std::move(*entry)) ? LineRead::Entry : LineRead::Dropped;
    }
    if (fields.Count() == 1 && fields.TextAt(0).empty()) {
        return LineRead::Empty;
    }
    return LineRead::Malformed;
}

}  // namespace

bool EntrySet::Append(PlayEntry entry) {
    if (entry.kind < 0 || entry.kind >= kEntryListCount) {
        return false;
    }
    lists[static_cast<std::size_t>(entry.kind)].push_back(std::move(entry));
    return true;
}

EntryList EntrySet::ReplaceList(int kind, EntryList entries) {
    EntryList& list = List(kind);
    EntryList old = std::move(list);
    list = std::move(entries);
    return old;
}

void EntrySet::Clear() {
    for (EntryList& list : lists) {
        list.clear();
    }
}

std::size_t EntrySet::TotalCount() const {
    std::size_t count = 0;
    for (const EntryList& list : lists) {
        count += list.size();
    }
    return count;
}

std::optional<cpStringArray> EntrySetToLines(const EntrySet& set) {
    cpStringArray lines;
    for (const EntryList& list : set.lists) {
        for (const PlayEntry& entry : list) {
            const std::optional<cpStringArray> fields = EntryToFields(entry);
            if (!fields || !lines.Append(fields->Join("\t"))) {
                return std::nullopt;
            }
        }
    }
    return lines;
}

std::optional<std::string> EntrySetToText(const EntrySet& set) {
    const std::optional<cpStringArray> lines = EntrySetToLines(set);
    if (!lines) {
        return std::nullopt;
    }
    return lines->Join("\n");
}

bool LinesToEntrySet(const cpStringArray& lines, EntrySet& set) {
    set.Clear();
    for (const std::string& line : lines) {
        if (ReadLine(line, set) == LineRead::Malformed) {
            set.Clear();
            return false;
        }
    }
    return true;
}

bool TextToEntrySet(std::string text, EntrySet& set) {
    NormalizeLineEnds(text, "\n");
    return LinesToEntrySet(cpStringArray::SplitNew(text, "\n"), set);
}

}  // namespace vantic
