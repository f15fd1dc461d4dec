#include "server/entry_text.h"

#include "core/cpstring.h"
#include "core/cpstringarray.h"

namespace vantic::server {

namespace {

std::string_view Kind(const EntryFields& fields) {
    return fields.empty() ? std::string_view() : TrimmedView(fields[kKindField]);
}

}  // namespace

std::optional<std::vector<EntryFields>> ReadEntryLines(std::string_view text) {
    cpStringArray lines;
    if (!lines.SplitLines(text)) {
        return std::nullopt;
    }
    std::vector<EntryFields> entries;
    for (const std::string& line : lines) {
        cpStringArray fields = cpStringArray::SplitNew(line, "\t");
        if (fields.Count() == 1 && line.empty()) {
            continue;
        }
        if (fields.Count() != kClipFieldCount && fields.Count() != kSettingFieldCount) {
            return std::nullopt;
        }
        entries.emplace_back(fields.begin(), fields.end());
    }
    return entries;
}

int ClipChannel(const EntryFields& fields) {
    std::string_view kind = Kind(fields);
    if (fields.size() != kClipFieldCount || kind.size() != 1 || kind[0] < '0' || kind[0] > '3') {
        return -1;
    }
    return kind[0] - '0';
}

bool IsSetting(const EntryFields& fields) {
    return fields.size() == kSettingFieldCount && Kind(fields) == "4";
}

std::string WriteEntryLines(const std::vector<EntryFields>& lines) {
    cpStringArray text;
    for (const EntryFields& fields : lines) {
        cpStringArray line;
        for (const std::string& field : fields) {
            line.AppendCopy(field);
        }
        text.Append(line.Join("\t"));
    }
    return text.Join("\n");
}

}  // namespace vantic::server
