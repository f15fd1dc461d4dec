#pragma once

// Saved groups of units: a name for a filter of the unit list (the filter
// language of units/unit_filter.h). Each group is one key of the settings
// store, "Unit_Group_" and the name, with the filter text as its value, so
// the window and vanticctl --group read the same groups from config.ini.
// Names are matched without regard to case, as every settings key is.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/cpconfig.h"
#include "framework/wreg.h"

namespace vantic {

inline constexpr std::string_view kUnitGroupPrefix = "Unit_Group_";
// The longest group name.
inline constexpr std::size_t kGroupNameRoom = 60;

struct UnitGroup {
    std::string name;
    std::string filter;
};

// Why name cannot name a group, or empty when it can: it is not empty,
// fits kGroupNameRoom, and holds no "=", line end or tab, nor blanks at
// either end.
[[nodiscard]] std::string GroupNameProblem(std::string_view name);

// The groups in the store (or in a settings record read from a file),
// sorted by name (case ignored).
[[nodiscard]] std::vector<UnitGroup> ReadUnitGroups(WReg& store);
[[nodiscard]] std::vector<UnitGroup> ReadUnitGroups(const cpConfig& settings);
// The filter of the group called name, none when there is no such group.
[[nodiscard]] std::optional<std::string> FindUnitGroup(WReg& store, std::string_view name);
[[nodiscard]] std::optional<std::string> FindUnitGroup(const std::vector<UnitGroup>& groups,
                                                       std::string_view name);
// Stores (or replaces) the group; false when the settings file could not be
// written.
[[nodiscard]] bool SaveUnitGroup(WReg& store, std::string_view name, std::string_view filter);
[[nodiscard]] bool DeleteUnitGroup(WReg& store, std::string_view name);

}  // namespace vantic
