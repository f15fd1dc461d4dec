#include "units/status_alerts.h"

#include "core/cpstring.h"

namespace vantic {

bool IsAlertStatus(std::string_view status) {
    return status == "Check Network Connection" || status == "Late Calling In" || status == "OK";
}

std::vector<StatusChange> AlertStatusChanges(const std::vector<const UnitRecord*>& rows,
                                             const MergePlan& plan) {
    std::vector<StatusChange> changes;
    for (const MergePlan::Update& update : plan.updates) {
        const UnitRecord* before = rows[static_cast<std::size_t>(update.row)];
        const std::string_view from = TrimmedView(before->Field(kStatusField));
        const std::string_view to = TrimmedView(update.record.Field(kStatusField));
        if (from != to && IsAlertStatus(to)) {
            changes.push_back({update.record.Number(), std::string(from), std::string(to)});
        }
    }
    return changes;
}

std::optional<DesktopNotice> StatusAlertNotice(const std::vector<StatusChange>& changes) {
    if (changes.empty()) {
        return std::nullopt;
    }
    DesktopNotice notice;
    notice.title = changes.size() == 1 ? std::string("A unit's status changed")
                                       : FormatNew("%zu units changed status", changes.size());
    for (const StatusChange& change : changes) {
        if (!notice.text.empty()) {
            notice.text += "\n";
        }
        notice.text += FormatNew("Media Player #%u: %s", change.unit, change.to.c_str());
        if (!change.from.empty()) {
            notice.text += " (was " + change.from + ")";
        }
    }
    return notice;
}

}  // namespace vantic
