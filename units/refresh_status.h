#pragma once

// What the status bar says about the unit list: that it is being fetched,
// when it was last brought up to date and how many units it shows, or what
// has kept the server away since when and how old the list on screen is.

#include <cstdint>
#include <string>

#include "platform/clock.h"

namespace vantic {

struct RefreshRecord {
    std::int64_t updatedAt = 0;     // the last refresh that brought the list; 0: none yet
    int unitCount = 0;              // the rows after it
    std::int64_t failingSince = 0;  // the first failure after it; 0: none
    std::string failure;            // the latest failure in a few words; empty: not known
    std::string loadingFrom;        // "HOST:PORT" while a fetch the operator waits for runs

    // Whether the list on screen may no longer be what the server knows.
    [[nodiscard]] bool Stale() const { return failingSince != 0; }
    [[nodiscard]] bool operator==(const RefreshRecord&) const = default;
};

// The record after a refresh at now that brought a list of unitCount rows
// (ok), or after a failed request (the refresh's or any other) at now that
// the status bar names as failure ("Login refused").
[[nodiscard]] RefreshRecord AfterRefresh(RefreshRecord record, bool ok, std::int64_t now,
                                         int unitCount, std::string failure = {});

// "Loading units from 10.0.0.5:12322...", "Units updated at 10:43 (8
// units)", "No answer from 10.0.0.5:12322 since 10:45 - showing the list of
// 10:43" (with an em dash; "Server not reachable" when the failure has no
// name), or "Ready..." before any refresh ended. Times are local, hours and
// minutes.
[[nodiscard]] std::string RefreshStatusText(const RefreshRecord& record, const Clock& clock);

}  // namespace vantic
