#include "core/cpconfig.h"

#include <algorithm>

#include <cerrno>
#include <climits>

#include "core/cpstring.h"

namespace vantic {

namespace {

// A line belongs to key when it starts with the key (any case) followed by "=".
bool LineHasKey(std::string_view line, std::string_view key) {
    return line.size() > key.size() && line[key.size()] == '=' && StartsWithNoCase(line, key);
}

void NormalizeAll(cpConfig& record) {
    record.TrimLeftAll();
    record.TrimRightAll();
    record.ForEach(NormalizeKeyLine);
}

}  // namespace

void NormalizeKeyLine(std::string& line) {
    std::size_t equals = line.find('=');
    if (equals == std::string::npos) {
        return;
    }
    std::size_t keyEnd = equals;
    while (keyEnd > 0 && IsWhitespace(line[keyEnd - 1])) {
        --keyEnd;
    }
    std::size_t valueStart = equals + 1;
    while (valueStart < line.size() && IsWhitespace(line[valueStart])) {
        ++valueStart;
    }
    line = line.substr(0, keyEnd) + "=" + line.substr(valueStart);
}

long long LeadingInteger(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && (IsWhitespace(text[i]) || text[i] == '\v' || text[i] == '\f')) {
        ++i;
    }
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    long long value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        int digit = text[i] - '0';
        if (value > (LLONG_MAX - digit) / 10) {
            return negative ? LLONG_MIN : LLONG_MAX;  // saturate like strtoll
        }
        value = value * 10 + digit;
    }
    return negative ? -value : value;
}

bool ParseBool(std::string_view text) {
    std::string word(TrimmedView(text));
    ToLower(word);
    if (LeadingInteger(word) != 0) {
        return true;
    }
    return word == "y" || word == "yes" || word == "ok" || word == "sure" || word == "true";
}

bool cpConfig::ParseText(std::string_view text) {
    cpConfig lines;
    if (!lines.SplitLines(text)) {
        return false;
    }
    NormalizeAll(lines);
    return AppendArray(std::move(lines));
}

cpConfig cpConfig::FromText(std::string_view text) {
    cpConfig record;
    record.ParseText(text);
    return record;
}

cpConfig cpConfig::LoadFile(const std::string& path) {
    cpConfig record;
    if (!record.LoadLines(path)) {
        record.Clear();
        return record;
    }
    NormalizeAll(record);
    return record;
}

void cpConfig::AddFinalEmptyLine() {
    if (Empty() || !Last()->empty()) {
        AppendCopy("");
    }
}

std::string cpConfig::ToText() {
    AddFinalEmptyLine();
    return Join("\n");
}

bool cpConfig::SaveFile(const std::string& path, const std::string& tempPath, FileWrites& writes) {
    AddFinalEmptyLine();
    return SaveLines(path, tempPath, writes);
}

std::optional<std::string> cpConfig::Find(std::string_view key) const {
    for (const std::string& line : *this) {
        if (LineHasKey(line, key)) {
            return line.substr(key.size() + 1);
        }
    }
    return std::nullopt;
}

std::string cpConfig::Get(std::string_view key, std::string_view fallback) const {
    std::optional<std::string> value = Find(key);
    return value ? *value : std::string(fallback);
}

bool cpConfig::GetBool(std::string_view key, bool fallback) const {
    return ParseBool(Get(key, fallback ? "1" : "0"));
}

bool cpConfig::Set(std::string_view key, std::string_view value) {
    RemoveKey(key);
    std::string line;
    line.reserve(key.size() + 1 + value.size());
    line.append(key).append("=").append(value);
    return InsertFirst(line);
}

void cpConfig::RemoveKey(std::string_view key) {
    for (std::size_t i = Count(); i > 0; --i) {
        if (LineHasKey(*At(i - 1), key)) {
            RemoveAt(i - 1);
        }
    }
}

}  // namespace vantic

namespace vantic {

std::vector<std::pair<std::string, std::string>> cpConfig::EntriesStartingWith(
    std::string_view prefix) const {
    std::vector<std::pair<std::string, std::string>> entries;
    for (std::size_t i = 0; i < Count(); ++i) {
        const std::string_view line = TextAt(i);
        const std::size_t equals = line.find('=');
        if (equals == std::string_view::npos || !StartsWithNoCase(line.substr(0, equals), prefix)) {
            continue;
        }
        const std::string_view key = line.substr(0, equals);
        const bool seen = std::any_of(entries.begin(), entries.end(), [key](const auto& entry) {
            return EqualsNoCase(entry.first, key);
        });
        if (!seen) {
            entries.emplace_back(std::string(key), std::string(line.substr(equals + 1)));
        }
    }
    return entries;
}

}  // namespace vantic
