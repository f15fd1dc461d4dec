#pragma once

// Which units a command works on: --units N,N..., --all, or the units of
// the unit list that --match "TEXT" (the window's filter language) or
// --group NAME (a group the window saved in config.ini) shows.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "tools/vanticctl/ctl_options.h"
#include "units/unit_filter.h"

namespace vantic::ctl {

struct FilterChoice {
    std::optional<UnitFilter> filter;  // none: neither --match nor --group
    std::string error;                 // empty when the options could be read
};

// The filter of --match or --group; the group is read from --config FILE,
// else from the controller's config.ini.
[[nodiscard]] FilterChoice ChosenFilter(const CtlOptions& options);

// How many of --units, --match, --group and --all are given.
[[nodiscard]] int UnitChoiceCount(const CtlOptions& options);
inline constexpr std::string_view kOneUnitChoice =
    "give one of --units N,N..., --match TEXT, --group NAME or --all";

// The numbers of the units of the reply the filter shows, in reply order;
// error set (and none) when it shows none, so a match never widens into
// every unit.
[[nodiscard]] std::vector<std::uint32_t> MatchedUnitNumbers(std::string_view reply,
                                                            const UnitFilter& filter,
                                                            std::string& error);

}  // namespace vantic::ctl
