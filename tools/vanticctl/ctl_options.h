#pragma once

// The command line of vanticctl: global options anywhere, then the words of
// a subcommand and its arguments.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vantic::ctl {

struct CtlOptions {
    std::optional<std::string> server;        // --server HOST[:PORT]
    std::optional<std::string> user;          // --user NAME
    std::optional<std::string> passwordFile;  // --password-file FILE ("-": standard input)
    std::optional<std::string> keyFile;       // --key FILE
    std::optional<std::string> configFile;    // --config FILE
    bool help = false;                        // --help, -h
    bool version = false;                     // --version
    std::optional<std::string> out;           // --out FILE: where a report is written

    // the commands that change units
    std::optional<std::string> playlist;  // --playlist FILE.PLY
    std::optional<std::string> channel;   // --channel C (0-3 or the channel's name)
    std::optional<std::string> units;     // --units 4,9
    std::optional<std::string> match;     // --match "TEXT": the units the filter shows
    std::optional<std::string> group;     // --group NAME: the units a saved group shows
    bool all = false;                     // --all
    bool yes = false;                     // --yes: answer every question Yes
    bool dryRun = false;                  // deploy --dry-run: print the preview, change nothing

    // the administration commands
    std::optional<std::string> textFile;  // crawl --text-file F
    std::optional<std::string> refresh;   // crawl --refresh MIN
    std::optional<std::string> file;      // admin-config --file F

    // plan only (with --playlist and --channel)
    std::optional<std::string> date;  // --date YYYY-MM-DD

    // report status only (with --units)
    std::optional<std::string> from;  // --from YYYY-MM-DD
    std::optional<std::string> to;    // --to YYYY-MM-DD

    // report plays only
    std::optional<std::string> chart;      // --chart FILE.svg|FILE.png (with --channel C)
    std::optional<std::string> statement;  // --statement CLIP (with --out FILE.pdf)

    // units only
    bool count = false;  // --count: the status counts instead of the list

    [[nodiscard]] bool HasReportOptions() const { return from || to; }
    // --units, --match or --group.
    [[nodiscard]] bool ChoosesUnits() const { return units || match || group; }
    // Whether any of the options of the commands that change units is given.
    [[nodiscard]] bool HasDeployOptions() const {
        return playlist || channel || ChoosesUnits() || all || yes || dryRun || textFile ||
               refresh || file;
    }
    // The options of the commands that change units that plan does not take.
    [[nodiscard]] bool HasUnitChangeOptions() const {
        return ChoosesUnits() || all || yes || textFile || refresh || file;
    }
    // The same, but for --units (--match, --group), which reports take too, and --channel,
    // which a chart takes.
    [[nodiscard]] bool HasDeployOnlyOptions() const {
        return playlist || (channel && !chart) || all || yes || dryRun || textFile || refresh ||
               file;
    }
    [[nodiscard]] bool HasDrawingOptions() const { return chart || statement; }
};

struct CommandLine {
    CtlOptions options;
    std::vector<std::string> words;  // the subcommand's words and its arguments
    std::string error;               // why the line could not be read; empty when it could
};

// Reads "--name VALUE" and "--name=VALUE" anywhere; "--" ends the options.
// A lone "-" is an argument (standard input or output).
[[nodiscard]] CommandLine ParseCommandLine(const std::vector<std::string>& arguments);

// One unit number of --units (or of a unit list line): digits only, blanks
// around them allowed, above zero; none otherwise.
[[nodiscard]] std::optional<std::uint32_t> ParseUnitNumber(std::string_view text);

}  // namespace vantic::ctl
