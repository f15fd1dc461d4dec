#include "units/unit_groups.h"

#include <algorithm>

#include "core/cpstring.h"

namespace vantic {

namespace {

std::string KeyOf(std::string_view name) {
    return std::string(kUnitGroupPrefix) + std::string(name);
}

}  // namespace

std::string GroupNameProblem(std::string_view name) {
    if (name.empty()) {
        return "Type a name for the group.";
    }
    if (name.size() > kGroupNameRoom) {
        return "A group name has at most " + std::to_string(kGroupNameRoom) + " characters.";
    }
    if (name.find_first_of("=\r\n\t") != std::string_view::npos) {
        return "A group name cannot hold \"=\", a tab or a line end.";
    }
    if (IsWhitespace(name.front()) || IsWhitespace(name.back())) {
        return "A group name cannot begin or end with a blank.";
    }
    return {};
}

namespace {

std::vector<UnitGroup> GroupsOf(std::vector<std::pair<std::string, std::string>> entries) {
    std::vector<UnitGroup> groups;
    for (auto& [key, filter] : entries) {
        std::string name = key.substr(kUnitGroupPrefix.size());
        if (GroupNameProblem(name).empty()) {
            groups.push_back({std::move(name), std::move(filter)});
        }
    }
    std::sort(groups.begin(), groups.end(), [](const UnitGroup& a, const UnitGroup& b) {
        return CompareNoCase(a.name, b.name) < 0;
    });
    return groups;
}

}  // namespace

std::vector<UnitGroup> ReadUnitGroups(WReg& store) {
    return GroupsOf(store.EntriesStartingWith(kUnitGroupPrefix));
}

std::vector<UnitGroup> ReadUnitGroups(const cpConfig& settings) {
    return GroupsOf(settings.EntriesStartingWith(kUnitGroupPrefix));
}

std::optional<std::string> FindUnitGroup(const std::vector<UnitGroup>& groups,
                                         std::string_view name) {
    for (const UnitGroup& group : groups) {
        if (EqualsNoCase(group.name, name)) {
            return group.filter;
        }
    }
    return std::nullopt;
}

std::optional<std::string> FindUnitGroup(WReg& store, std::string_view name) {
    return FindUnitGroup(ReadUnitGroups(store), name);
}

bool SaveUnitGroup(WReg& store, std::string_view name, std::string_view filter) {
    return store.SetString(KeyOf(name), filter);
}

bool DeleteUnitGroup(WReg& store, std::string_view name) {
    return store.RemoveKey(KeyOf(name));
}

}  // namespace vantic
