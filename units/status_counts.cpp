#include "units/status_counts.h"

#include <array>
#include <map>

#include "core/cpstring.h"

namespace vantic {

namespace {

struct KnownStatus {
    std::string_view status;
    std::string_view word;
};

// The statuses that carry meaning, in the order their counts stand.
constexpr std::array<KnownStatus, 4> kKnownStatuses{{
    {"OK", "OK"},
    {"Late Calling In", "late"},
    {"Check Network Connection", "no network"},
    {"Factory Defaults", "factory defaults"},
}};

// Statuses differing only in case are one status, as the filter sees them.
struct NoCaseLess {
    bool operator()(const std::string& a, const std::string& b) const {
        return CompareNoCase(a, b) < 0;
    }
};

StatusCount CountOf(int count, std::string_view word, std::string_view status) {
    return {std::to_string(count) + " " + std::string(word),
            "status:\"" + std::string(status) + "\""};
}

}  // namespace

StatusCounts CountStatuses(const std::vector<const UnitRecord*>& records) {
    StatusCounts result;
    std::map<std::string, int, NoCaseLess> byStatus;
    for (const UnitRecord* record : records) {
        if (record != nullptr) {
            ++result.units;
            ++byStatus[std::string(record->Field(kStatusField))];
        }
    }
    for (const KnownStatus& known : kKnownStatuses) {
        const auto found = byStatus.find(std::string(known.status));
        if (found != byStatus.end()) {
            result.counts.push_back(CountOf(found->second, known.word, known.status));
            byStatus.erase(found);
        }
    }
    for (const auto& [status, count] : byStatus) {
        // A status holding a double quote (no status the server sends does)
        // cannot be written quoted; its count's filter may show more units.
        const std::string word = status.empty() ? "no status" : status;
        result.counts.push_back(CountOf(count, word, status));
    }
    return result;
}

std::string StatusCountsLead(const StatusCounts& counts) {
    if (counts.units == 0) {
        return {};
    }
    return std::to_string(counts.units) + (counts.units == 1 ? " unit: " : " units: ");
}

std::string StatusCountsText(const StatusCounts& counts) {
    std::string text = StatusCountsLead(counts);
    for (std::size_t i = 0; i < counts.counts.size(); ++i) {
        text += (i > 0 ? ", " : "") + counts.counts[i].label;
    }
    return text;
}

}  // namespace vantic
