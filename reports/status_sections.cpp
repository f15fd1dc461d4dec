#include "reports/status_sections.h"

#include <algorithm>
#include <iterator>

#include "core/cpstring.h"
#include "playlist/leading_number.h"
#include "playlist/schedule.h"
#include "reports/report_document.h"

namespace vantic {

namespace {

bool ContentNameLess(const PlayEntry& a, const PlayEntry& b) {
    return CompareNoCase(a.contentName, b.contentName) < 0;
}

// Stable, so entries of one content name keep the order the unit gave them.
void SortByContentName(EntryList& entries) {
    std::stable_sort(entries.begin(), entries.end(), ContentNameLess);
}

const char* PlaylistStatus(const PlayEntry& entry, std::time_t now) {
    if (IsPastLastDay(entry, now)) {
        return "- (Past Stop Day)";
    }
    if (IsBeforeFirstDay(entry, now)) {
        return "- (Pending Start Day)";
    }
    return "";
}

const char* ModeText(const cpConfig& record, std::string_view key) {
    return record.GetBool(key, false) ? "Random" : "Loop";
}

void AppendHoursLine(const cpConfig& record, const char* what, std::string_view flagKey,
                     std::string_view startKey, std::string_view stopKey, cpStringArray& document) {
    if (!record.GetBool(flagKey, false)) {
        document.AppendFormat("%s Hours: Not Restricted \\par\r\n", what);
        return;
    }
    document.AppendFormat("%s Hours: Restricted: Only allowed from %s to %s\\par\r\n", what,
                          EscapeRichText(record.Get(startKey, "00:00")).c_str(),
                          EscapeRichText(record.Get(stopKey, "23:59")).c_str());
}

}  // namespace

std::int64_t PlayCountOf(const PlayEntry& entry) {
    return LeadingInteger(entry.sizeText);
}

void AppendPlaylistList(const EntryList& entries, std::time_t now, cpStringArray& document) {
    for (const PlayEntry& entry : entries) {
        if (entry.path.empty()) {
            continue;
        }
        document.AppendFormat("      %s %s\\par\r\n",
                              EscapeRichText(FileNameOf(entry.path)).c_str(),
                              PlaylistStatus(entry, now));
    }
}

bool CountsInRange(const PlayEntry& entry, const ReportDateRange& range) {
    const ReportDate first{entry.firstYear, entry.firstMonth, entry.firstDay};
    const ReportDate last{entry.lastYear, entry.lastMonth, entry.lastDay};
    return first >= range.first && last <= range.last;
}

void AppendProofOfRunList(EntryList& entries, const ReportDateRange& range,
                          cpStringArray& document) {
    SortByContentName(entries);
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const PlayEntry& start = entries[i];
        if (start.path.empty() || !CountsInRange(start, range)) {
            continue;
        }
        // A run of one content name is one line, counted from its first
        // entry that counts and has a path.
        std::int64_t total = PlayCountOf(start);
        while (i + 1 < entries.size() &&
               EqualsNoCase(entries[i + 1].contentName, entries[i].contentName)) {
            ++i;
            if (CountsInRange(entries[i], range)) {
                total += PlayCountOf(entries[i]);
            }
        }
        const std::string line = FormatNew("%lld - %s", static_cast<long long>(total),
                                           std::string(FileNameOf(start.path)).c_str());
        document.AppendFormat(" %s \\par\r\n", EscapeRichText(line).c_str());
    }
}

void MergeIntoSummary(RuntimeSummary& summary, const EntrySet& unitEntries) {
    for (int channel = 0; channel < kChannelCount; ++channel) {
        EntryList& merged = summary.lists[static_cast<std::size_t>(channel)];
        const EntryList& unit = unitEntries.List(channel);
        const auto oldSize = static_cast<std::ptrdiff_t>(merged.size());
        merged.insert(merged.end(), unit.begin(), unit.end());
        // Both halves are sorted already after the first merge; the counts
        // become plain numbers so the page adds them without reading texts.
        std::stable_sort(merged.begin() + oldSize, merged.end(), ContentNameLess);
        std::inplace_merge(merged.begin(), merged.begin() + oldSize, merged.end(), ContentNameLess);
        for (PlayEntry& entry : merged) {
            entry.sizeText = std::to_string(PlayCountOf(entry));
        }
    }
}

void AppendSummary(RuntimeSummary& summary, const ReportDateRange& range, cpStringArray& document) {
    document.AppendCopy("\\fs48 Summary Proof of Run Report \\par\\fs24 ");
    document.AppendCopy("\\par\r\n");
    for (int channel = 0; channel < kChannelCount; ++channel) {
        document.AppendCopy(kChannelHeadings[static_cast<std::size_t>(channel)]);
        AppendProofOfRunList(summary.lists[static_cast<std::size_t>(channel)], range, document);
    }
}

void AppendConfigurationSection(const cpConfig& record, cpStringArray& document) {
    document.AppendFormat("%s \\par\r\n",
                          EscapeRichText(record.Get("version", "Version: Unknown")).c_str());
    document.AppendCopy("Location: \\par\r\n");
    for (const char* key : {"location1", "location2", "location3", "location4"}) {
        const std::string location = record.Get(key, "");
        if (!location.empty()) {
            document.AppendFormat("  %s \\par\r\n", EscapeRichText(location).c_str());
        }
    }
    document.AppendFormat("Video Mode: %s \\par\r\n", ModeText(record, "VideoRandom"));
    document.AppendFormat("Video Alt Mode: %s \\par\r\n", ModeText(record, "VideoAltRandom"));
    document.AppendFormat("Audio A Mode: %s \\par\r\n", ModeText(record, "AudioARandom"));
    document.AppendFormat("Audio B Mode: %s \\par\r\n", ModeText(record, "AudioBRandom"));
    document.AppendFormat("Video Alt Enabled: %s \\par\r\n",
                          record.GetBool("VideoAlt", false) ? "Yes" : "No");
    AppendHoursLine(record, "Play", "RestrictedPlay", "RestrictedPlayStart", "RestrictedPlayStop",
                    document);
    AppendHoursLine(record, "Update", "RestrictedUpdate", "RestrictedUpdateStart",
                    "RestrictedUpdateStop", document);
    if (record.GetBool("UpdateFixed", false)) {
        document.AppendFormat("Update Schedule: Fixed - Fixed Base Time is: %s \\par\r\n",
                              EscapeRichText(record.Get("UpdateFixedStart", "00:00")).c_str());
    } else {
        document.AppendCopy("Update Schedule: Floating \\par\r\n");
    }
    document.AppendFormat("Update Frequency: %s time(s) per day\\par\r\n",
                          EscapeRichText(record.Get("UpdateFreq", "24")).c_str());
}

}  // namespace vantic
