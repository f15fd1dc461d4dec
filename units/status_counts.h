#pragma once

// The unit list's status counts, as the status bar shows them beside the
// refresh line: "8 units: 6 OK, 1 late, 1 no network". Each count names the
// filter that shows exactly the units it counted, so a click on it can set
// that filter. The counts are over every unit, shown or not.

#include <string>
#include <vector>

#include "units/unit_record.h"

namespace vantic {

struct StatusCount {
    std::string label;   // "6 OK"
    std::string filter;  // status:"OK"
};

struct StatusCounts {
    int units = 0;
    std::vector<StatusCount> counts;  // the known statuses first, then the others by name
};

// Null records are not counted.
[[nodiscard]] StatusCounts CountStatuses(const std::vector<const UnitRecord*>& records);

// "8 units: 6 OK, 1 late, 1 no network"; "1 unit: 1 OK"; empty for no units.
[[nodiscard]] std::string StatusCountsText(const StatusCounts& counts);
// The text before the counts: "8 units: ".
[[nodiscard]] std::string StatusCountsLead(const StatusCounts& counts);

}  // namespace vantic
