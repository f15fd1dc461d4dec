#pragma once

// What the status bar says about the unit list: when it was last brought
// up to date and how many units it shows, or since when the server has not
// answered and how old the list on screen is.

#include <cstdint>
#include <string>

#include "platform/clock.h"

namespace vantic {

struct RefreshRecord {
    std::int64_t updatedAt = 0;     // the last refresh that brought the list; 0: none yet
    int unitCount = 0;              // the rows after it
    std::int64_t failingSince = 0;  // the first failure after it; 0: none
};

// The record after a refresh at now that brought a list of unitCount rows
// (ok) or failed.
[[nodiscard]] RefreshRecord AfterRefresh(RefreshRecord record, bool ok, std::int64_t now,
                                         int unitCount);

// "Units updated at 10:43 (8 units)", "Server not reachable since 10:45 -
// showing the list of 10:43" (with an em dash), or "Ready..." before any
// refresh ended. Times are local, hours and minutes.
[[nodiscard]] std::string RefreshStatusText(const RefreshRecord& record, const Clock& clock);

}  // namespace vantic
