// The reports from the command line: the same builders as the program's
// report window, written to a file as the window's Save writes it.

#include <charconv>
#include <iostream>

#include "core/cpstring.h"
#include "core/cpstringarray.h"
#include "framework/wprogress.h"
#include "net/payload_exchange.h"
#include "platform/console_platform.h"
#include "platform/system_clock.h"
#include "reports/activity_report.h"
#include "reports/clip_statement.h"
#include "reports/report_window.h"
#include "reports/status_report.h"
#include "tools/vanticctl/ctl_chart_renderer.h"
#include "tools/vanticctl/ctl_handlers.h"
#include "tools/vanticctl/ctl_unit_choice.h"
#include "units/unit_rows.h"
#include "units/upload_progress.h"

namespace vantic::ctl {
namespace {

CommandOutcome Fail(std::string error) {
    return {ExitStatus::Failure, std::move(error)};
}

std::optional<int> ReadNumber(std::string_view text) {
    int value = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size()) {
        return std::nullopt;
    }
    return value;
}

struct ReportRequest {
    ReportDateRange range;
    std::string error;
};

ReportRequest ReadRange(const CtlOptions& options) {
    if (!options.from || !options.to) {
        return {{}, "give the days as --from YYYY-MM-DD --to YYYY-MM-DD"};
    }
    const std::optional<ReportDate> first = ReadDate(*options.from);
    const std::optional<ReportDate> last = ReadDate(*options.to);
    if (!first || !last) {
        return {{}, "--from and --to take a date as YYYY-MM-DD"};
    }
    return {OrderedRange({*first, *last}), {}};
}

// The server's unit-list reply for this login.
CommandOutcome FetchUnitList(const Invocation& call, std::string& reply) {
    const FetchResult list = FetchPayload(*call.access, ServerCommand::GetUnitList, kNoUnit);
    if (!list.Ok()) {
        return Fail("could not get the unit list from the server at " + call.access->host);
    }
    reply = list.Text();
    return {};
}

// The unit list as the server shows it to this login, with the units of
// --units, --match or --group selected.
CommandOutcome LoadUnits(const Invocation& call, UnitRows& units) {
    std::string reply;
    if (CommandOutcome fetched = FetchUnitList(call, reply);
        fetched.status != ExitStatus::Success) {
        return fetched;
    }
    units = UnitRows::FromUnitListReply(reply);
    if (units.ItemCount() == 0) {
        return Fail("No player units in list!");
    }
    if (call.options.units && (call.options.match || call.options.group)) {
        return Fail("give --units, --match or --group, not more than one");
    }
    const FilterChoice chosen = ChosenFilter(call.options);
    if (!chosen.error.empty()) {
        return Fail(chosen.error);
    }
    if (chosen.filter) {
        std::string error;
        for (const std::uint32_t unit : MatchedUnitNumbers(reply, *chosen.filter, error)) {
            (void)units.Select(unit);
        }
        return error.empty() ? CommandOutcome{} : Fail(error);
    }
    if (!call.options.units) {
        return {};
    }
    for (const std::string& field : cpStringArray::SplitNew(*call.options.units, ",")) {
        const std::optional<std::uint32_t> unit = ParseUnitNumber(field);
        if (!unit) {
            return Fail("--units takes unit numbers separated by commas");
        }
        if (!units.Select(*unit)) {
            return Fail("unit " + std::to_string(*unit) + " is not in the unit list");
        }
    }
    return {};
}

// Runs build with the covered units and a console context for the range.
template <class Build>
CommandOutcome WithReportContext(const Invocation& call, const ReportDateRange& range,
                                 Build build) {
    UnitRows units;
    if (CommandOutcome loaded = LoadUnits(call, units); loaded.status != ExitStatus::Success) {
        return loaded;
    }
    ConsolePlatform platform(std::cerr, std::cin, false);
    WProgress progress(platform);
    FixedLogin login(*call.access);
    StatusReportContext context{platform.Time(), units, login, progress, range};
    return build(context);
}

// --chart and --statement: drawn by the renderer from the export's rows.
CommandOutcome DrawPlays(const CtlOptions& options, const ReportDateRange& range, int channel,
                         const PlayRows& rows, std::string_view csv) {
    std::unique_ptr<ChartRenderer> renderer = HelperChartRenderer();
    if (options.chart) {
        ChartRequest chart{ChartRequest::Kind::Chart,
                           range,
                           PlayChartForm{channel, std::nullopt, ChartStyle::StackedBars},
                           {},
                           *options.chart};
        if (std::optional<std::string> error = renderer->Draw(chart, csv)) {
            return Fail(*error);
        }
    }
    if (options.statement) {
        const std::optional<StatementClip> clip = FindStatementClip(rows.rows, *options.statement);
        if (!clip) {
            return Fail("no clip named " + *options.statement +
                        " played on those units in those days");
        }
        ChartRequest statement{
            ChartRequest::Kind::Statement, range, {}, clip->contentName, *options.out};
        if (std::optional<std::string> error = renderer->Draw(statement, csv)) {
            return Fail(*error);
        }
    }
    return {};
}

// A saved report ends with its terminating zero byte, as the controller's do.
CommandOutcome SaveReport(const std::string& path, std::string text) {
    text.push_back('\0');
    if (!WriteReportFile(path, text)) {
        return Fail("cannot write " + path);
    }
    return {};
}

}  // namespace

std::optional<ReportDate> ReadDate(std::string_view text) {
    const cpStringArray parts = cpStringArray::SplitNew(text, "-");
    if (parts.Count() != 3 || parts.TextAt(0).size() != 4) {
        return std::nullopt;
    }
    const std::optional<int> year = ReadNumber(parts.TextAt(0));
    const std::optional<int> month = ReadNumber(parts.TextAt(1));
    const std::optional<int> day = ReadNumber(parts.TextAt(2));
    if (!year || !month || !day) {
        return std::nullopt;
    }
    const ReportDate date{*year, *month, *day};
    return IsCalendarDate(date) ? std::optional(date) : std::nullopt;
}

CommandOutcome RunReportStatus(const Invocation& call) {
    const ReportRequest request = ReadRange(call.options);
    if (!request.error.empty()) {
        return Fail(request.error);
    }
    if (!call.options.out) {
        return Fail("give the report file as --out FILE.rtf");
    }
    return WithReportContext(call, request.range, [&](StatusReportContext& context) {
        const StatusReportResult report = BuildStatusReport(context, kNoWindow);
        if (!report.text) {
            return Fail(report.end == ReportBuildEnd::Cancelled ? "the report was cancelled"
                                                                : "the login is not complete");
        }
        return SaveReport(*call.options.out, *report.text);
    });
}

CommandOutcome RunReportPlays(const Invocation& call) {
    const ReportRequest request = ReadRange(call.options);
    if (!request.error.empty()) {
        return Fail(request.error);
    }
    const CtlOptions& options = call.options;
    std::optional<int> channel = 0;
    if (options.channel) {
        channel = ReadChannel(*options.channel);
        if (!channel) {
            return Fail("--channel takes 0-3 or a channel's name");
        }
    }
    if (options.statement && !options.out) {
        return Fail("give the statement's file as --out FILE.pdf");
    }
    if (options.HasDrawingOptions()) {
        if (std::optional<std::string> missing = HelperChartRenderer()->Unavailable()) {
            return Fail(*missing);  // before the units are asked for their plays
        }
    }
    return WithReportContext(call, request.range, [&](StatusReportContext& context) {
        const std::optional<std::vector<UnitPlays>> plays = FetchUnitPlays(context, kNoWindow);
        if (!plays) {
            return Fail("the export was cancelled");
        }
        const PlayRows rows = PlayRowsOf(*plays, request.range);
        const PlayExport table = PlayRowsToCsv(rows);
        if (CommandOutcome drawn = DrawPlays(options, request.range, *channel, rows, table.csv);
            drawn.status != ExitStatus::Success) {
            return drawn;
        }
        if (!options.HasDrawingOptions() && !options.out) {
            call.output += table.csv;
        } else if (!options.statement && options.out && !WriteReportFile(*options.out, table.csv)) {
            return Fail("cannot write " + *options.out);
        }
        if (!table.failedUnits.empty()) {
            return Fail(LeftOutUnitsText(table.failedUnits));
        }
        return CommandOutcome{};
    });
}

CommandOutcome RunActivityReport(const Invocation& call) {
    if (!call.options.out) {
        return Fail("give the report file as --out FILE.rtf");
    }
    std::string reply;
    if (CommandOutcome fetched = FetchUnitList(call, reply);
        fetched.status != ExitStatus::Success) {
        return fetched;
    }
    const std::vector<UnitCells> rows = UnitCellsOfReply(reply);
    if (rows.empty()) {
        return Fail("No player units in list!");
    }
    SystemClock clock;
    return SaveReport(*call.options.out, ActivityReportText(rows, clock.LocalNow()));
}

}  // namespace vantic::ctl
