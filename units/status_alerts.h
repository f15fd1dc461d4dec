#pragma once

// Alerts for the operator when a background refresh finds units whose
// status changed to one that matters: lost the network, calling in late,
// or back to OK. A unit new to the list has no earlier status, so its
// first refresh is no change.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/desktop_notices.h"
#include "units/venue_merge.h"

namespace vantic {

// The setting that turns the alerts off ("0"); they are on without it.
inline constexpr std::string_view kStatusAlertsKey = "Status_Alerts";

struct StatusChange {
    std::uint32_t unit = 0;
    std::string from;
    std::string to;

    bool operator==(const StatusChange&) const = default;
};

// Whether a unit that comes to this status is worth an alert.
[[nodiscard]] bool IsAlertStatus(std::string_view status);

// The changes a merge plan makes to the statuses of rows (each row's
// record before the merge, as the plan was made from them) that are worth
// an alert, in row order.
[[nodiscard]] std::vector<StatusChange> AlertStatusChanges(
    const std::vector<const UnitRecord*>& rows, const MergePlan& plan);

// One notice naming every change; nothing without changes.
[[nodiscard]] std::optional<DesktopNotice> StatusAlertNotice(
    const std::vector<StatusChange>& changes);

}  // namespace vantic
