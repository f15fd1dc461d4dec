#include "tools/vanticctl/ctl_commands.h"

#include <array>
#include <optional>

#include "core/cpstringarray.h"
#include "core/product_identity.h"
#include "tools/vanticctl/ctl_access.h"
#include "tools/vanticctl/ctl_handlers.h"

namespace vantic::ctl {
namespace {

constexpr std::size_t kAnyCount = static_cast<std::size_t>(-1);

constexpr std::array kSubcommands = {
    Subcommand{"units", "[--match TEXT | --group NAME] [--count]", 0, 0, true, RunUnits,
               "the unit list: unit, notes, status, last and next call-in, tab-separated;\n"
               "      with --count the status counts (\"8 units: 6 OK, 1 late\") instead"},
    Subcommand{"instructions get", "N", 1, 1, true, RunInstructionsGet,
               "unit N's instruction file, as stored"},
    Subcommand{"instructions put", "N FILE", 2, 2, true, RunInstructionsPut,
               "replace unit N's instruction file with FILE (\"-\": standard input)"},
    Subcommand{"media query", "FILE", 1, 1, true, RunMediaQuery,
               "whether the server holds FILE's content (exit 2 when not)"},
    Subcommand{"media put", "FILE", 1, 1, true, RunMediaPut,
               "upload FILE unless the server holds it already; prints its content name"},
    Subcommand{"owners get", "", 0, 0, true, RunOwnersGet, "the owner table (unit=owner lines)"},
    Subcommand{"owners put", "FILE", 1, 1, true, RunOwnersPut,
               "replace the owner table with FILE (\"-\": standard input)"},
    Subcommand{"info", "N", 1, 1, true, RunInfo, "unit N's information record (key=value)"},
    Subcommand{"timing", "N", 1, 1, true, RunTiming,
               "unit N's five timing words, call-in times as local time"},
    Subcommand{"playlist", "N", 1, 1, true, RunPlaylist, "the playlists unit N reported"},
    Subcommand{"runtime", "N", 1, 1, true, RunRuntime, "unit N's proof-of-runtime report"},
    Subcommand{"deploy",
               "--playlist FILE.PLY --channel C (--units N,N... | --match TEXT | --group NAME | "
               "--all) [--yes] [--dry-run]",
               0, 0, true, RunDeploy,
               "put channel C's clips of FILE.PLY (their media uploaded first) in place of\n"
               "      that channel's clips on the units; C is 0-3 or the channel's name.\n"
               "      The confirmation shows what will happen: the units, the clips, the media\n"
               "      the server holds and those to upload, the bytes and the time to send them;\n"
               "      --dry-run prints that on standard output and changes nothing",
               true, false, false, true},
    Subcommand{"settings",
               "(--units N,N... | --match TEXT | --group NAME | --all) [--yes] KEY=VALUE...", 1,
               kAnyCount, true, RunSettings,
               "merge the settings into the units' settings, given keys first", true},
    Subcommand{"crawl",
               "--text-file F [--refresh MIN] (--units N,N... | --match TEXT | --group NAME | "
               "--all) [--yes]",
               0, 0, true, RunCrawl,
               "send F as the units' crawl text (kept in crawl.dat beside the program),\n"
               "      refreshed every MIN minutes (1-500000; default: the last confirmed)",
               true},
    Subcommand{"admin-config",
               "--file F (--units N,N... | --match TEXT | --group NAME | --all) [--yes]", 0, 0,
               true, RunAdminConfig, "merge F's key=value lines into the units' settings, as typed",
               true},
    Subcommand{
        "firmware", "FILE.tgz (--units N,N... | --match TEXT | --group NAME | --all) [--yes]", 1, 1,
        true, RunFirmware, "upload the firmware archive and have the units install it", true},
    Subcommand{"timezone", "NAME (--units N,N... | --match TEXT | --group NAME | --all) [--yes]", 1,
               1, true, RunTimezone,
               "switch the units to Eastern, Central, Mountain, Pacific, Alaska or Hawaii", true},
    Subcommand{"owner", "NAME (--units N,N... | --match TEXT | --group NAME | --all) [--yes]", 1, 1,
               true, RunOwner,
               "record NAME (blanks taken out) as the units' owner; unit 1 keeps its own", true},
    Subcommand{"report activity", "--out FILE.rtf", 0, 0, true, RunActivityReport,
               "the unit activity report of the unit list, written to FILE.rtf"},
    Subcommand{"report status", "--from YYYY-MM-DD --to YYYY-MM-DD [--units N,N...] --out FILE.rtf",
               0, 0, true, RunReportStatus,
               "the status report of the units (default: every unit) over the days, as the\n"
               "      controller's \"Generate Status Report...\" makes it; progress on stderr",
               false, true},
    Subcommand{"report plays",
               "--from YYYY-MM-DD --to YYYY-MM-DD [--units N,N...] [--out FILE.csv] "
               "[--chart FILE.svg|FILE.png [--channel C]] [--statement CLIP --out FILE.pdf]",
               0, 0, true, RunReportPlays,
               "proof of play as CSV: one row per unit, channel, clip and day in the range\n"
               "      (standard output without --out); progress on stderr. --chart draws\n"
               "      channel C's plays per day (default Video), one series per clip, of\n"
               "      all the units; --statement writes clip CLIP's statement (its content\n"
               "      name or file name) as a PDF: each unit's days and plays, the totals\n"
               "      and the chart. Both need vantic-chart-render beside vanticctl",
               false, true},
    Subcommand{"unit show", "N", 1, 1, true, RunUnitShow,
               "unit N's settings as key=value; a key the unit lacks shows its default,\n"
               "      marked by a tab and \"(default)\""},
    Subcommand{"unit set", "N KEY=VALUE...", 2, kAnyCount, true, RunUnitSet,
               "change unit N's settings as the unit editor does, and deploy them to it"},
    Subcommand{"plan", "--playlist FILE.PLY --channel C --date YYYY-MM-DD", 0, 0, false, RunPlan,
               "which of channel C's clips of FILE.PLY may play in each hour of the day, and\n"
               "      which are not due or run out that day, as the controller's \"Day Plan...\"\n"
               "      shows it (no server needed)",
               false, false, true},
};

constexpr const char* kOptionsText =
    "Options (anywhere on the line):\n"
    "  --server HOST[:PORT]  the distribution server; the port defaults to 12322\n"
    "  --user NAME           the login name\n"
    "  --password-file FILE  read the password from the first line of FILE (\"-\": stdin)\n"
    "  --key FILE            the server's public key (default: p.key beside the program)\n"
    "  --version             the program's version\n"
    "  --config FILE         read the settings from FILE instead of the controller's\n"
    "                        config.ini (Distribution_Server, Distribution_Username and,\n"
    "                        when remembered, Distribution_Userpass)\n"
    "\n"
    "The commands that change units ask for \"yes\" to be typed on standard input,\n"
    "print every message and their progress on standard error, and stop at Ctrl+C:\n"
    "  --units N,N...        the units to deploy to, as the unit list shows them\n"
    "  --match TEXT          the units the filter TEXT shows, as the window's filter\n"
    "                        field: words that must all match; status:late,\n"
    "                        owner:Harbor and #1012 look at one column\n"
    "  --group NAME          the units of a group saved in the window (config.ini)\n"
    "  --all                 every unit of the unit list (refused for the administrator)\n"
    "  --yes                 answer the confirmation and every question yes\n"
    "  --dry-run             deploy only: print what the deployment would do, and stop\n"
    "\n"
    "Day plan:\n"
    "  --date DATE           the day (YYYY-MM-DD) the plan is for\n"
    "\n"
    "Reports:\n"
    "  --from, --to DATE     the first and last day (YYYY-MM-DD) the counts cover\n"
    "  --units N,N...        the units to report on (default: every unit)\n"
    "  --out FILE            where the report goes (replaced safely)\n"
    "  --chart FILE          report plays: the chart as FILE.svg or FILE.png\n"
    "  --statement CLIP      report plays: the clip's statement, written to --out FILE.pdf\n"
    "\n"
    "Exit codes: 0 success, 1 failure, 2 the server holds nothing for the request,\n"
    "3 the server's reply did not decrypt.\n";

std::size_t WordCount(std::string_view words) {
    return cpStringArray::SplitNew(words, " ").Count();
}

bool StartsWithWords(std::span<const std::string> given, std::string_view words) {
    cpStringArray wanted = cpStringArray::SplitNew(words, " ");
    if (given.size() < wanted.Count()) {
        return false;
    }
    for (std::size_t i = 0; i < wanted.Count(); ++i) {
        if (given[i] != wanted.TextAt(i)) {
            return false;
        }
    }
    return true;
}

std::string UsageLine(const Subcommand& command) {
    std::string line = "vanticctl " + std::string(command.words);
    if (!command.arguments.empty()) {
        line += " " + std::string(command.arguments);
    }
    return line;
}

int Finish(const CommandOutcome& outcome, std::string& err) {
    if (outcome.status != ExitStatus::Success) {
        err = "vanticctl: " + outcome.error + "\n";
    }
    return static_cast<int>(outcome.status);
}

}  // namespace

std::span<const Subcommand> Subcommands() {
    return kSubcommands;
}

const Subcommand* FindSubcommand(std::span<const std::string> words, std::size_t& used) {
    const Subcommand* best = nullptr;
    used = 0;
    for (const Subcommand& command : kSubcommands) {
        std::size_t count = WordCount(command.words);
        if (count > used && StartsWithWords(words, command.words)) {
            best = &command;
            used = count;
        }
    }
    return best;
}

std::string UsageText() {
    std::string text = "usage: vanticctl [OPTIONS] COMMAND [ARGUMENTS]\n\nCommands:\n";
    for (const Subcommand& command : kSubcommands) {
        text +=
            "  " + UsageLine(command).substr(10) + "\n      " + std::string(command.summary) + "\n";
    }
    return text + "\n" + kOptionsText;
}

int RunCtl(const std::vector<std::string>& arguments, std::string& out, std::string& err) {
    CommandLine line = ParseCommandLine(arguments);
    if (!line.error.empty()) {
        return Finish({ExitStatus::Failure, line.error + " (see vanticctl --help)"}, err);
    }
    if (line.options.help) {
        out = UsageText();
        return 0;
    }
    if (line.options.version) {
        out = "vanticctl " + std::string(identity::kVersion) + "\n";
        return 0;
    }
    if (line.words.empty()) {
        return Finish({ExitStatus::Failure, "no command given (see vanticctl --help)"}, err);
    }
    std::size_t used = 0;
    const Subcommand* command = FindSubcommand(line.words, used);
    if (command == nullptr) {
        return Finish({ExitStatus::Failure,
                       "unknown command \"" + line.words[0] + "\" (see vanticctl --help)"},
                      err);
    }
    std::span<const std::string> rest = std::span(line.words).subspan(used);
    if (rest.size() < command->minArguments || rest.size() > command->maxArguments) {
        return Finish({ExitStatus::Failure, "usage: " + UsageLine(*command)}, err);
    }
    // Reports and the unit list take --units, --match and --group too.
    const bool unitsOnly =
        (command->reports || command->run == RunUnits) && !line.options.HasDeployOnlyOptions();
    if (line.options.count && command->run != RunUnits) {
        return Finish({ExitStatus::Failure, "--count is an option of units only"}, err);
    }
    if (command->plans && line.options.HasUnitChangeOptions()) {
        return Finish(
            {ExitStatus::Failure, "plan takes --playlist, --channel and --date, no unit options"},
            err);
    }
    if (!command->plans && line.options.date) {
        return Finish({ExitStatus::Failure, "--date is an option of plan only"}, err);
    }
    if (!command->deploys && !command->plans && line.options.HasDeployOptions() && !unitsOnly) {
        return Finish({ExitStatus::Failure,
                       "--playlist, --channel, --units, --match, --group, --all, --yes, "
                       "--dry-run, --text-file, --refresh and --file are options of the "
                       "commands that change units only"},
                      err);
    }
    if (!command->previews && line.options.dryRun) {
        return Finish({ExitStatus::Failure, "--dry-run is an option of deploy only"}, err);
    }
    if (line.options.HasDrawingOptions() && command->run != RunReportPlays) {
        return Finish(
            {ExitStatus::Failure, "--chart and --statement are options of report plays only"}, err);
    }
    if (!command->reports && line.options.HasReportOptions()) {
        return Finish({ExitStatus::Failure,
                       "--from and --to are options of report status and report plays only"},
                      err);
    }
    std::optional<ServerAccess> access;
    if (command->talksToServer) {
        AccessResult resolved = ResolveAccess(line.options);
        if (!resolved.access) {
            return Finish({ExitStatus::Failure, resolved.error}, err);
        }
        access = std::move(resolved.access);
    }
    Invocation call{line.options, access ? &*access : nullptr, rest, out};
    return Finish(command->run(call), err);
}

}  // namespace vantic::ctl
