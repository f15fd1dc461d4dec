#include "server/unit_list.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <unordered_map>
#include <unordered_set>

#include "core/cpconfig.h"
#include "core/cpstring.h"

namespace vantic::server {

namespace {

// A field never breaks its line: tabs and line ends become blanks.
void AppendClean(std::string& text, std::string_view field) {
    if (field.find_first_of("\t\r\n") == std::string_view::npos) {
        text.append(field);
        return;
    }
    for (char c : field) {
        text.push_back(c == '\t' || c == '\r' || c == '\n' ? ' ' : c);
    }
}

// The unit's number as text, in buffer.
std::string_view NumberText(std::uint32_t number, std::array<char, 16>& buffer) {
    const auto end = std::to_chars(buffer.data(), buffer.data() + buffer.size(), number).ptr;
    return {buffer.data(), static_cast<std::size_t>(end - buffer.data())};
}

// Appended in place: a reply of ten thousand rows makes no string per field.
void AppendRow(std::string& text, const UnitRow& row, std::string_view notes) {
    std::array<char, 16> number{};
    text.append(NumberText(row.number, number)).push_back('\t');
    AppendClean(text, notes);
    text.push_back('\t');
    AppendClean(text, row.status);
    text.push_back('\t');
    AppendClean(text, row.lastCallIn);
    text.push_back('\t');
    AppendClean(text, row.nextCallIn);
    text.push_back('\n');
}

// The owner table's lines by key, the first line of a key winning as in
// cpConfig::Get; unit numbers are digits, so case does not matter here.
std::unordered_map<std::string_view, std::string_view> OwnersByUnit(const cpConfig& owners) {
    std::unordered_map<std::string_view, std::string_view> byUnit;
    byUnit.reserve(owners.Count());
    for (const std::string& line : owners) {
        const std::size_t equals = line.find('=');
        if (equals != std::string::npos && equals > 0) {
            const std::string_view text(line);
            byUnit.try_emplace(text.substr(0, equals), text.substr(equals + 1));
        }
    }
    return byUnit;
}

// The line's next tab-separated field; `rest` moves past it and is empty
// once the fields run out.
std::string_view NextField(std::string_view& rest) {
    const std::size_t tab = rest.find('\t');
    const std::string_view field = rest.substr(0, tab);
    rest = tab == std::string_view::npos ? std::string_view() : rest.substr(tab + 1);
    return field;
}

// One line of the file as a row: comments and lines without a valid unit
// number are skipped, missing fields are empty and extra ones ignored.
void AddRow(std::vector<UnitRow>& rows, std::string_view line) {
    if (!line.empty() && line.front() == '#') {
        return;
    }
    const long long number = LeadingInteger(NextField(line));
    if (number <= 0 || number > 0xFFFFFFFFll) {
        return;
    }
    UnitRow& row = rows.emplace_back();
    row.number = static_cast<std::uint32_t>(number);
    row.notes = NextField(line);
    row.status = NextField(line);
    row.lastCallIn = NextField(line);
    row.nextCallIn = NextField(line);
}

}  // namespace

std::vector<UnitRow> ParseUnitList(std::string_view text) {
    // Read in place: a list of ten thousand units makes no string per line
    // or field beyond the rows' own.
    std::vector<UnitRow> rows;
    ForEachLine(text, [&rows](std::string_view line) { AddRow(rows, line); });
    return rows;
}

std::string FormatUnitListFile(const std::vector<UnitRow>& rows) {
    std::string text =
        "# unit\tnotes\tstatus\tlast call-in\tnext scheduled call-in (fields separated by tabs)\n";
    for (const UnitRow& row : rows) {
        AppendRow(text, row, row.notes);
    }
    return text;
}

std::string NotesWithOwner(std::string_view notes, std::string_view owner) {
    if (owner.empty()) {
        return std::string(notes);
    }
    std::string_view rest = notes;
    if (!rest.empty() && rest.front() == '[') {
        std::size_t close = rest.find(']');
        if (close != std::string_view::npos) {
            rest = TrimmedView(rest.substr(close + 1));
        }
    }
    std::string text = "[";
    text.append(owner).append("]");
    if (!rest.empty()) {
        text.append(" ").append(rest);
    }
    return text;
}

std::string UnitListReply(const std::vector<UnitRow>& rows, const Account& account,
                          std::string_view ownerTable) {
    // Owners and the account's units are looked up once per unit, so both
    // go into hash tables first.
    const cpConfig owners = cpConfig::FromText(ownerTable);
    const auto ownerOf = OwnersByUnit(owners);
    const std::unordered_set<std::uint32_t> seen(account.units.begin(), account.units.end());
    std::string text;
    text.reserve(rows.size() * 96);
    std::array<char, 16> number{};
    for (const UnitRow& row : rows) {
        if (!account.allUnits && !seen.contains(row.number)) {
            continue;
        }
        const auto owner = ownerOf.find(NumberText(row.number, number));
        if (owner == ownerOf.end()) {
            AppendRow(text, row, row.notes);
        } else {
            AppendRow(text, row, NotesWithOwner(row.notes, owner->second));
        }
    }
    return text;
}

std::string OwnerTableFor(std::string_view ownerTable, const Account& account) {
    if (account.allUnits) {
        return std::string(ownerTable);
    }
    std::string visible;
    while (!ownerTable.empty()) {
        const std::size_t end = std::min(ownerTable.find('\n'), ownerTable.size() - 1) + 1;
        const std::string_view line = ownerTable.substr(0, end);
        ownerTable.remove_prefix(end);
        const std::string_view key = TrimmedView(line.substr(0, line.find('=')));
        const bool isNumber = !key.empty() && key.size() <= 10 &&
                              key.find_first_not_of("0123456789") == std::string_view::npos;
        if (isNumber && line.find('=') != std::string_view::npos && LeadingInteger(key) > 0 &&
            LeadingInteger(key) <= 0xFFFFFFFFll &&
            account.Sees(static_cast<std::uint32_t>(LeadingInteger(key)))) {
            visible += line;
        }
    }
    return visible;
}

const UnitRow* FindUnit(const std::vector<UnitRow>& rows, std::uint32_t number) {
    for (const UnitRow& row : rows) {
        if (row.number == number) {
            return &row;
        }
    }
    return nullptr;
}

UnitRow* FindUnit(std::vector<UnitRow>& rows, std::uint32_t number) {
    for (UnitRow& row : rows) {
        if (row.number == number) {
            return &row;
        }
    }
    return nullptr;
}

}  // namespace vantic::server
