#include "tools/vanticctl/ctl_unit_choice.h"

#include "core/cpconfig.h"
#include "core/cpstring.h"
#include "framework/wreg.h"
#include "units/unit_groups.h"

namespace vantic::ctl {

namespace {

std::optional<std::vector<UnitGroup>> ReadGroups(const CtlOptions& options) {
    if (!options.configFile) {
        WReg store;
        return ReadUnitGroups(store);
    }
    const std::optional<std::string> text = ReadWholeFile(*options.configFile);
    if (!text) {
        return std::nullopt;
    }
    return ReadUnitGroups(cpConfig::FromText(*text));
}

}  // namespace

FilterChoice ChosenFilter(const CtlOptions& options) {
    if (options.match && options.group) {
        return {std::nullopt, "give --match or --group, not both"};
    }
    if (options.match) {
        return {UnitFilter::Parse(*options.match), {}};
    }
    if (!options.group) {
        return {};
    }
    const std::optional<std::vector<UnitGroup>> groups = ReadGroups(options);
    if (!groups) {
        return {std::nullopt, "cannot read the settings file " + *options.configFile};
    }
    const std::optional<std::string> filter = FindUnitGroup(*groups, *options.group);
    if (!filter) {
        return {std::nullopt, "no group \"" + *options.group + "\" in config.ini"};
    }
    return {UnitFilter::Parse(*filter), {}};
}

int UnitChoiceCount(const CtlOptions& options) {
    return (options.units ? 1 : 0) + (options.match ? 1 : 0) + (options.group ? 1 : 0) +
           (options.all ? 1 : 0);
}

std::vector<std::uint32_t> MatchedUnitNumbers(std::string_view reply, const UnitFilter& filter,
                                              std::string& error) {
    std::vector<std::uint32_t> numbers;
    for (const UnitRecord& unit : MatchingUnits(reply, filter)) {
        numbers.push_back(unit.Number());
    }
    if (numbers.empty()) {
        error = "no unit of the unit list matches \"" + filter.Text() + "\"";
    }
    return numbers;
}

}  // namespace vantic::ctl
