// One unit's page of the status report.

#include <optional>

#include "core/cpconfig.h"
#include "core/cpstring.h"
#include "net/payload_exchange.h"
#include "net/timing_info.h"
#include "platform/operation_progress.h"
#include "platform/request_pause.h"
#include "reports/report_document.h"
#include "reports/status_report.h"

namespace vantic {

namespace {

// A request the run makes, unless the server is taken as gone; a hard
// failure marks it so for the rest of the run.
FetchOutcome Request(StatusReportRun& run, ServerCommand command, std::uint32_t unit,
                     FetchResult& result) {
    if (run.serverFailed) {
        return FetchOutcome::Failed;
    }
    result = run.context.fetch(run.access, command, static_cast<std::int32_t>(unit));
    return result.outcome;
}

// The texts of one section's failures.
struct SectionTexts {
    const char* undecryptable;
    const char* absent;
    const char* error;
    const char* parseError;
};

constexpr SectionTexts kPlaylistTexts{
    "Unable to decrypt playlist information \\par Contact your system administrator if this "
    "persists \\par\r\n",
    "Playlist information has not been reported to server \\par\r\n",
    "Error getting playlist information from server \\par\r\n",
    "Error parsing playlist information \\par\r\n"};

constexpr SectionTexts kRuntimeTexts{
    "Unable to decrypt runtime report information \\par Contact your system administrator if "
    "this persists \\par\r\n",
    "Runtime report information has not been reported to server \\par\r\n",
    "Error getting runtime report information from server \\par\r\n",
    "Error parsing runtime report information \\par\r\n"};

// Appends the failure line of an outcome other than Ok; a hard failure
// marks the server as gone.
void AppendFailure(StatusReportRun& run, FetchOutcome outcome, const SectionTexts& texts,
                   cpStringArray& document) {
    switch (outcome) {
        case FetchOutcome::Undecryptable:
            document.AppendCopy(texts.undecryptable);
            return;
        case FetchOutcome::Absent:
            document.AppendCopy(texts.absent);
            return;
        default:
            document.AppendCopy(texts.error);
            run.serverFailed = true;
            return;
    }
}

// The entry lists of a section's request; none after a failure, whose
// line has been appended.
std::optional<EntrySet> FetchEntries(StatusReportRun& run, ServerCommand command,
                                     std::uint32_t unit, const SectionTexts& texts,
                                     cpStringArray& document, FetchOutcome& outcome) {
    FetchResult result;
    outcome = Request(run, command, unit, result);
    if (outcome != FetchOutcome::Ok) {
        AppendFailure(run, outcome, texts, document);
        return std::nullopt;
    }
    EntrySet entries;
    if (!TextToEntrySet(result.Text(), entries)) {
        document.AppendCopy(texts.parseError);
        return std::nullopt;
    }
    return entries;
}

std::string TimeText(const Clock& clock, std::int64_t seconds) {
    return ReportTimeText(clock.ToLocal(seconds));
}

std::string CallInText(const Clock& clock, std::int64_t seconds) {
    return seconds == 0 ? std::string("Unknown") : TimeText(clock, seconds);
}

std::optional<cpConfig> FetchUnitRecord(StatusReportRun& run, std::uint32_t unit) {
    FetchResult result;
    if (Request(run, ServerCommand::GetUnitInfo, unit, result) != FetchOutcome::Ok) {
        return std::nullopt;
    }
    return cpConfig::FromText(result.Text());
}

void AppendTimingSection(StatusReportRun& run, std::uint32_t unit, std::int64_t generated,
                         cpStringArray& document) {
    const Clock& clock = run.context.clock;
    FetchResult result;
    const FetchOutcome outcome = Request(run, ServerCommand::GetTimingInfo, unit, result);
    document.AppendFormat("\\par Report Generated: %s \\par\r\n",
                          TimeText(clock, generated).c_str());
    document.AppendFormat("Vantic serial number %u \\par\r\n", unit);
    switch (outcome) {
        case FetchOutcome::Ok: {
            const TimingInfo timing = ReadTimingInfo(result.payload);
            document.AppendFormat("Last Player Call-In: %s \\par\r\n",
                                  CallInText(clock, timing.LastCallIn()).c_str());
            document.AppendFormat("Next Scheduled Call-In: %s \\par\r\n",
                                  CallInText(clock, timing.NextCallIn()).c_str());
            return;
        }
        case FetchOutcome::Undecryptable:
            document.AppendCopy(
                "Unable to decrypt timing information \\par Contact your system administrator "
                "if this persists \\par\r\n");
            return;
        case FetchOutcome::Absent:
            document.AppendCopy("Timing information has not been reported to server \\par\r\n");
            return;
        case FetchOutcome::Failed:
            document.AppendCopy("Error getting timing information from server \\par\r\n");
            run.serverFailed = true;
            return;
    }
}

void AppendPlaylistSection(StatusReportRun& run, std::uint32_t unit, cpStringArray& document) {
    document.AppendCopy("\\par\\b Current System Playlist: \\b0\\par\r\n");
    FetchOutcome outcome = FetchOutcome::Failed;
    std::optional<EntrySet> entries =
        FetchEntries(run, ServerCommand::GetPlaylistInfo, unit, kPlaylistTexts, document, outcome);
    if (!entries) {
        return;
    }
    const std::time_t now = static_cast<std::time_t>(run.context.clock.Now());
    for (int channel = 0; channel < kChannelCount; ++channel) {
        document.AppendCopy(kChannelHeadings[static_cast<std::size_t>(channel)]);
        AppendPlaylistList(entries->List(channel), now, document);
    }
}

void AppendRuntimeSection(StatusReportRun& run, std::uint32_t unit, cpStringArray& document,
                          UnitPlays& plays) {
    const ReportDateRange& range = run.context.range;
    document.AppendCopy("\\par\\b Proof of Runtime: ");
    document.AppendFormat("From %2.2d/%2.2d/%4.4d To %2.2d/%2.2d/%4.4d \\b0\\par\r\n",
                          range.first.month, range.first.day, range.first.year, range.last.month,
                          range.last.day, range.last.year);
    FetchOutcome outcome = FetchOutcome::Failed;
    std::optional<EntrySet> entries =
        FetchEntries(run, ServerCommand::GetRuntimeReport, unit, kRuntimeTexts, document, outcome);
    if (!entries) {
        if (outcome == FetchOutcome::Absent) {
            plays.runtime = EntrySet{};  // nothing reported: no plays, no failure
        }
        return;
    }
    for (int channel = 0; channel < kChannelCount; ++channel) {
        document.AppendCopy(kChannelHeadings[static_cast<std::size_t>(channel)]);
        AppendProofOfRunList(entries->List(channel), range, document);
    }
    MergeIntoSummary(run.summary, *entries);
    plays.runtime = std::move(entries);
}

}  // namespace

std::optional<std::vector<UnitPlays>> FetchUnitPlays(StatusReportContext& context, WindowId owner) {
    if (!context.login.EnsureLogin(owner)) {
        return std::nullopt;
    }
    StatusReportRun run{context, context.login.Access(), {}, false, {}};
    const std::vector<std::uint32_t> units = CoveredUnits(context.units);
    OperationProgress& progress = context.progress;
    (void)progress.Open(owner, ProgressLayout::Operation, static_cast<std::uint32_t>(units.size()));
    for (std::uint32_t unit : units) {
        progress.SetLine(ProgressLine::Status, FormatNew("Reading Plays: Media Player #%u", unit));
        const std::optional<cpConfig> record = FetchUnitRecord(run, unit);
        UnitPlays& plays = run.plays.emplace_back(
            UnitPlays{unit, record ? record->Get("notes", "") : std::string(), std::nullopt});
        FetchResult result;
        const FetchOutcome outcome = Request(run, ServerCommand::GetRuntimeReport, unit, result);
        EntrySet entries;
        if (outcome == FetchOutcome::Ok && TextToEntrySet(result.Text(), entries)) {
            plays.runtime = std::move(entries);
        } else if (outcome == FetchOutcome::Absent) {
            plays.runtime = EntrySet{};  // nothing reported: no plays, no failure
        } else if (outcome == FetchOutcome::Failed) {
            run.serverFailed = true;
        }
        if (progress.StepOverall()) {
            progress.Close();
            return std::nullopt;
        }
    }
    progress.Close();
    return std::move(run.plays);
}

UnitReportEnd BuildUnitReport(StatusReportRun& run, std::uint32_t unit, cpStringArray& document) {
    OperationProgress& progress = run.context.progress;
    const std::int64_t generated = run.context.clock.Now();
    progress.SetLine(ProgressLine::Status, FormatNew("Building Report: Media Player #%u", unit));
    (void)progress.StartItem(4);

    const std::optional<cpConfig> record = FetchUnitRecord(run, unit);
    UnitPlays& plays = run.plays.emplace_back(
        UnitPlays{unit, record ? record->Get("notes", "") : std::string(), std::nullopt});
    document.AppendCopy("\\fs48 Media Player Report \\par\\fs24 ");
    if (record) {
        document.AppendFormat("\\fs48 %s \\par\\fs24 ",
                              EscapeRichText(record->Get("notes", "")).c_str());
    }
    AppendTimingSection(run, unit, generated, document);
    if (progress.StepItem()) {
        return UnitReportEnd::Cancelled;
    }
    AppendPlaylistSection(run, unit, document);
    if (progress.StepItem()) {
        return UnitReportEnd::Cancelled;
    }
    AppendRuntimeSection(run, unit, document, plays);
    if (progress.StepItem()) {
        return UnitReportEnd::Cancelled;
    }
    document.AppendCopy("\\par\\b Current Configuration Information: \\b0\\par\r\n");
    if (record) {
        AppendConfigurationSection(*record, document);
    }
    if (progress.StepItem()) {
        return UnitReportEnd::Cancelled;
    }
    PauseAsRequest(run.context.clock, kUnitPagePauseMs);  // the window paints meanwhile
    (void)progress.FinishItem();
    return UnitReportEnd::Finished;
}

}  // namespace vantic
