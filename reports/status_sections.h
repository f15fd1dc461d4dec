#pragma once

// The sections of a unit's status page and of the summary page: the
// playlists a unit reported, its proof-of-runtime counts over the report's
// date range, its configuration, and the counts of every covered unit added
// up per content name. Each appends rich-text pieces to a report document;
// every text taken from a unit is escaped on the way in.

#include <array>
#include <cstdint>
#include <ctime>

#include "core/cpconfig.h"
#include "core/cpstringarray.h"
#include "playlist/entry_set.h"
#include "reports/report_dates.h"

namespace vantic {

// The channel headings of the playlist and proof-of-runtime sections.
inline constexpr std::array<const char*, kChannelCount> kChannelHeadings{
    "--Video Channel: \\par\r\n", "--Video Alt Channel: \\par\r\n", "--Audio A Channel: \\par\r\n",
    "--Audio B Channel: \\par\r\n"};

// One line per entry with a path: its file name, and whether its last day
// is past or its first day still to come (today taken at now).
void AppendPlaylistList(const EntryList& entries, std::time_t now, cpStringArray& document);

// Whether a runtime entry lies within the range: its first day on or after
// the range's first day and its last day on or before the range's last,
// whatever its has-flags say.
[[nodiscard]] bool CountsInRange(const PlayEntry& entry, const ReportDateRange& range);

// One line per content name: the play counts of its entries in the range,
// added up, and the file name of the first of them that counts and has a
// path. The list is sorted by content name (ignoring case) in place.
void AppendProofOfRunList(EntryList& entries, const ReportDateRange& range,
                          cpStringArray& document);

// Every runtime entry of the covered units, by channel, for the summary
// page. It lives for one report run.
struct RuntimeSummary {
    std::array<EntryList, kChannelCount> lists;
};

// Adds copies of the unit's channel entries to the summary, each channel
// kept sorted by content name. Counts are added only when printed.
void MergeIntoSummary(RuntimeSummary& summary, const EntrySet& unitEntries);

// "Summary Proof of Run Report": every channel's proof-of-runtime list.
void AppendSummary(RuntimeSummary& summary, const ReportDateRange& range, cpStringArray& document);

// The unit's version, locations, channel modes, play and update hours and
// update schedule, with the unit's defaults for missing keys.
void AppendConfigurationSection(const cpConfig& record, cpStringArray& document);

// The play count a runtime entry carries: the leading integer of its size
// text, 0 when it has none.
[[nodiscard]] std::int64_t PlayCountOf(const PlayEntry& entry);

}  // namespace vantic
