#include "units/refresh_status.h"

#include "core/cpstring.h"

namespace vantic {

namespace {

constexpr const char* kEmDash = "\x97";  // 8-bit text

std::string ClockText(std::int64_t seconds, const Clock& clock) {
    const LocalTime local = clock.ToLocal(seconds);
    return FormatNew("%02d:%02d", local.hour, local.minute);
}

}  // namespace

RefreshRecord AfterRefresh(RefreshRecord record, bool ok, std::int64_t now, int unitCount,
                           std::string failure) {
    if (ok) {
        return RefreshRecord{now, unitCount, 0, {}, std::move(record.loadingFrom)};
    }
    if (record.failingSince == 0) {
        record.failingSince = now;  // the outage began with the first failure
    }
    if (!failure.empty()) {
        record.failure = std::move(failure);  // what keeps the server away now
    }
    return record;
}

std::string RefreshStatusText(const RefreshRecord& record, const Clock& clock) {
    if (!record.loadingFrom.empty()) {
        return "Loading units from " + record.loadingFrom + "...";
    }
    if (record.failingSince != 0) {
        std::string text = record.failure.empty() ? "Server not reachable" : record.failure;
        text += " since " + ClockText(record.failingSince, clock);
        if (record.updatedAt != 0) {
            text += std::string(" ") + kEmDash + " showing the list of " +
                    ClockText(record.updatedAt, clock);
        }
        return text;
    }
    if (record.updatedAt != 0) {
        return FormatNew("Units updated at %s (%d unit%s)",
                         ClockText(record.updatedAt, clock).c_str(), record.unitCount,
                         record.unitCount == 1 ? "" : "s");
    }
    return "Ready...";
}

}  // namespace vantic
