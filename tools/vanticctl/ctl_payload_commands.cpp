// The subcommands that download or upload one encrypted payload.

#include <charconv>
#include <iostream>
#include <iterator>
#include <optional>

#include "core/cpstring.h"
#include "net/payload_exchange.h"
#include "net/timing_info.h"
#include "playlist/entry_set.h"
#include "tools/vanticctl/ctl_format.h"
#include "tools/vanticctl/ctl_handlers.h"
#include "tools/vanticctl/ctl_unit_choice.h"
#include "units/status_counts.h"
#include "units/unit_filter.h"

namespace vantic::ctl {
namespace {

CommandOutcome Fail(std::string error) {
    return {ExitStatus::Failure, std::move(error)};
}

// A unit number: decimal, 1 to 2147483647.
std::optional<std::int32_t> ParseUnit(const std::string& text) {
    std::int32_t unit = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), unit);
    if (error != std::errc() || end != text.data() + text.size() || unit <= 0) {
        return std::nullopt;
    }
    return unit;
}

// The whole file ("-": standard input).
std::optional<std::string> ReadInput(const std::string& path) {
    if (path == "-") {
        std::string text(std::istreambuf_iterator<char>(std::cin), {});
        return std::cin.bad() ? std::nullopt : std::optional(std::move(text));
    }
    return ReadWholeFile(path);
}

// Downloads; on success hands the payload to `emit`, otherwise words the
// outcome with `what`, the thing asked for.
template <typename Emit>
CommandOutcome Download(const Invocation& call, ServerCommand command, std::int32_t unit,
                        const std::string& what, Emit emit) {
    FetchResult result = FetchPayload(*call.access, command, unit);
    switch (result.outcome) {
        case FetchOutcome::Ok:
            emit(result);
            return {};
        case FetchOutcome::Absent:
            return {ExitStatus::Absent, "the server holds no " + what};
        case FetchOutcome::Undecryptable:
            return {ExitStatus::Undecryptable, "the " + what + " from the server did not decrypt"};
        case FetchOutcome::Failed:
            break;
    }
    return Fail("could not get the " + what + " from the server at " + call.access->host);
}

CommandOutcome DownloadRaw(const Invocation& call, ServerCommand command, std::int32_t unit,
                           const std::string& what) {
    return Download(call, command, unit, what,
                    [&](const FetchResult& result) { call.output = result.Text(); });
}

// The per-unit downloads that print the payload as it came.
CommandOutcome UnitDownload(const Invocation& call, ServerCommand command, const char* what) {
    std::optional<std::int32_t> unit = ParseUnit(call.arguments[0]);
    if (!unit) {
        return Fail("not a unit number: " + call.arguments[0]);
    }
    return DownloadRaw(call, command, *unit, FormatNew("%s of unit %d", what, *unit));
}

CommandOutcome Upload(const Invocation& call, ServerCommand command, std::int32_t unit,
                      std::string text, const std::string& what) {
    if (!StorePayload(*call.access, command, unit, std::move(text))) {
        return Fail("could not store the " + what + " on the server at " + call.access->host);
    }
    return {};
}

std::string UnitLines(const std::vector<UnitRecord>& units) {
    std::string lines;
    for (const UnitRecord& unit : units) {
        lines += unit.Fields().Join("\t") + "\n";
    }
    return FormatUnitList(lines);
}

std::string CountsLine(const std::vector<UnitRecord>& units) {
    std::vector<const UnitRecord*> records;
    for (const UnitRecord& unit : units) {
        records.push_back(&unit);
    }
    const StatusCounts counts = CountStatuses(records);
    return counts.units == 0 ? "0 units\n" : StatusCountsText(counts) + "\n";
}

}  // namespace

// With --match or --group only the units the filter shows; with --count
// their status counts rather than their lines.
CommandOutcome RunUnits(const Invocation& call) {
    if (call.options.units || call.options.all) {
        return Fail("units takes --match TEXT or --group NAME, not --units or --all");
    }
    const FilterChoice chosen = ChosenFilter(call.options);
    if (!chosen.error.empty()) {
        return Fail(chosen.error);
    }
    const UnitFilter filter = chosen.filter.value_or(UnitFilter());
    return Download(call, ServerCommand::GetUnitList, kNoUnit, "unit list",
                    [&](const FetchResult& result) {
                        const std::vector<UnitRecord> units = MatchingUnits(result.Text(), filter);
                        call.output = call.options.count ? CountsLine(units) : UnitLines(units);
                    });
}

CommandOutcome RunInstructionsGet(const Invocation& call) {
    return UnitDownload(call, ServerCommand::GetInstructionFile, "instruction file");
}

CommandOutcome RunInstructionsPut(const Invocation& call) {
    std::optional<std::int32_t> unit = ParseUnit(call.arguments[0]);
    if (!unit) {
        return Fail("not a unit number: " + call.arguments[0]);
    }
    const std::string& path = call.arguments[1];
    std::optional<std::string> text = ReadInput(path);
    if (!text) {
        return Fail("cannot read " + path);
    }
    // A unit cannot use a file that is not entry text; refuse to replace
    // its working file with one.
    EntrySet entries;
    if (!TextToEntrySet(*text, entries)) {
        return Fail(path +
                    " is not an instruction file (every line needs 11 or 3 tab-separated "
                    "fields)");
    }
    return Upload(call, ServerCommand::PutInstructionFile, *unit, std::move(*text),
                  FormatNew("instruction file of unit %d", *unit));
}

CommandOutcome RunOwnersGet(const Invocation& call) {
    return DownloadRaw(call, ServerCommand::GetOwnerMap, kNoUnit, "owner table");
}

CommandOutcome RunOwnersPut(const Invocation& call) {
    const std::string& path = call.arguments[0];
    std::optional<std::string> text = ReadInput(path);
    if (!text) {
        return Fail("cannot read " + path);
    }
    return Upload(call, ServerCommand::PutOwnerMap, kNoUnit, std::move(*text), "owner table");
}

CommandOutcome RunInfo(const Invocation& call) {
    return UnitDownload(call, ServerCommand::GetUnitInfo, "information record");
}

CommandOutcome RunPlaylist(const Invocation& call) {
    return UnitDownload(call, ServerCommand::GetPlaylistInfo, "playlist information");
}

CommandOutcome RunRuntime(const Invocation& call) {
    return UnitDownload(call, ServerCommand::GetRuntimeReport, "runtime report");
}

CommandOutcome RunTiming(const Invocation& call) {
    std::optional<std::int32_t> unit = ParseUnit(call.arguments[0]);
    if (!unit) {
        return Fail("not a unit number: " + call.arguments[0]);
    }
    return Download(call, ServerCommand::GetTimingInfo, *unit,
                    FormatNew("timing information of unit %d", *unit),
                    [&](const FetchResult& result) {
                        call.output = FormatTiming(ReadTimingInfo(result.payload));
                    });
}

}  // namespace vantic::ctl
