#include "server/unit_list.h"

#include <unordered_map>
#include <unordered_set>

#include "core/cpconfig.h"
#include "core/cpstring.h"
#include "core/cpstringarray.h"

namespace vantic::server {

namespace {

std::string Clean(std::string_view field) {
    std::string text(field);
    ReplaceAll(text, "\t", " ");
    ReplaceAll(text, "\r", " ");
    ReplaceAll(text, "\n", " ");
    return text;
}

std::string FormatRow(const UnitRow& row, std::string_view notes) {
    return std::to_string(row.number) + "\t" + Clean(notes) + "\t" + Clean(row.status) + "\t" +
           Clean(row.lastCallIn) + "\t" + Clean(row.nextCallIn) + "\n";
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

}  // namespace

std::vector<UnitRow> ParseUnitList(std::string_view text) {
    cpStringArray lines;
    std::vector<UnitRow> rows;
    if (!lines.SplitLines(text)) {
        return rows;
    }
    for (const std::string& line : lines) {
        if (!line.empty() && line.front() == '#') {
            continue;
        }
        cpStringArray fields = cpStringArray::SplitNew(line, "\t");
        long long number = LeadingInteger(fields.TextAt(0));
        if (number <= 0 || number > 0xFFFFFFFFll) {
            continue;
        }
        rows.push_back(UnitRow{static_cast<std::uint32_t>(number), std::string(fields.TextAt(1)),
                               std::string(fields.TextAt(2)), std::string(fields.TextAt(3)),
                               std::string(fields.TextAt(4))});
    }
    return rows;
}

std::string FormatUnitListFile(const std::vector<UnitRow>& rows) {
    std::string text =
        "# unit\tnotes\tstatus\tlast call-in\tnext scheduled call-in (fields separated by tabs)\n";
    for (const UnitRow& row : rows) {
        text += FormatRow(row, row.notes);
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
    for (const UnitRow& row : rows) {
        if (!account.allUnits && !seen.contains(row.number)) {
            continue;
        }
        const auto owner = ownerOf.find(std::to_string(row.number));
        text += FormatRow(row, NotesWithOwner(row.notes, owner == ownerOf.end() ? std::string_view()
                                                                                : owner->second));
    }
    return text;
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
