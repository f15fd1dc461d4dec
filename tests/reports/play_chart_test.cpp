// The chart's and the statement's figures from proof-of-play rows, the
// rows read back from the CSV export, and the chart helper's command line.

#include <gtest/gtest.h>

#include "reports/chart_request.h"
#include "reports/clip_statement.h"
#include "reports/play_export.h"

namespace vantic {
namespace {

const ReportDateRange kMarch{{2026, 3, 1}, {2026, 3, 31}};
const std::string kWelcome(32, 'a');
const std::string kPromo(32, 'b');
const std::string kOtherPromo(32, 'c');
const std::string kSong(32, 'd');

PlayRow Row(std::uint32_t unit, int channel, const std::string& file, const std::string& content,
            int day, std::int64_t plays) {
    return PlayRow{unit,    "Notes " + std::to_string(unit), channel, file,
                   content, ReportDate{2026, 3, day},        plays};
}

// Units 4, 9 and 12; two clips share a file name on channel 0, one clip on
// channel 2; a row outside the range is left out.
const std::vector<PlayRow> kRows = {
    Row(4, 0, "welcome.mpg", kWelcome, 1, 10),
    Row(4, 0, "welcome.mpg", kWelcome, 3, 5),
    Row(4, 0, "promo.mpg", kPromo, 3, 2),
    Row(9, 0, "WELCOME.MPG", "A" + kWelcome.substr(1), 1, 7),
    Row(9, 0, "promo.mpg", kOtherPromo, 31, 4),
    Row(12, 0, "welcome.mpg", kWelcome, 31, 8),
    Row(12, 2, "song.mp3", kSong, 2, 3),
    PlayRow{12, "", 0, "late.mpg", kWelcome, {2026, 4, 1}, 99},
};

TEST(PlayChart, SeriesAddUpTheRowsOfTheChosenChannelAndUnit) {
    struct Case {
        PlayChartForm form;
        std::vector<std::pair<std::string, std::int64_t>> series;  // label, total
        std::int64_t firstDayPlays;                                // every series on March 1
    };
    const std::vector<Case> cases = {
        {{0, std::nullopt, ChartStyle::StackedBars},
         {{"welcome.mpg", 30}, {"promo.mpg (bbbbbbbb)", 2}, {"promo.mpg (cccccccc)", 4}},
         17},
        {{0, 9, ChartStyle::Lines}, {{"WELCOME.MPG", 7}, {"promo.mpg", 4}}, 7},
        {{2, std::nullopt, ChartStyle::StackedBars}, {{"song.mp3", 3}}, 0},
        {{1, std::nullopt, ChartStyle::StackedBars}, {}, 0},
        {{0, 5, ChartStyle::StackedBars}, {}, 0},
    };
    for (const Case& one : cases) {
        const PlayChart chart = BuildPlayChart(kRows, kMarch, one.form);
        SCOPED_TRACE(chart.title);
        ASSERT_EQ(chart.days.size(), 31u);
        EXPECT_EQ(chart.days.back(), (ReportDate{2026, 3, 31}));
        std::vector<std::pair<std::string, std::int64_t>> series;
        std::int64_t total = 0;
        std::int64_t firstDay = 0;
        for (const ChartSeries& one : chart.series) {
            series.emplace_back(one.label, one.total);
            total += one.total;
            firstDay += one.plays.front();
        }
        EXPECT_EQ(series, one.series);
        EXPECT_EQ(chart.total, total);
        EXPECT_EQ(firstDay, one.firstDayPlays);
    }
}

TEST(ClipStatement, OneLinePerUnitThatPlayedTheClipWithItsDaysAndTotals) {
    struct Case {
        std::string name;  // as the operator gives it
        ReportDateRange range;
        std::vector<StatementUnit> units;
        int days;
    };
    const std::vector<Case> cases = {
        {"Welcome.mpg",
         kMarch,
         {{4, "Notes 4", 2, 15}, {9, "Notes 9", 1, 7}, {12, "Notes 12", 1, 8}},
         3},
        {kWelcome,
         {{2026, 3, 2}, {2026, 3, 31}},
         {{4, "Notes 4", 1, 5}, {12, "Notes 12", 1, 8}},
         2},
        {"song.mp3", kMarch, {{12, "Notes 12", 1, 3}}, 1},
    };
    for (const Case& one : cases) {
        SCOPED_TRACE(one.name);
        const std::optional<StatementClip> clip = FindStatementClip(kRows, one.name);
        ASSERT_TRUE(clip);
        const ClipStatement statement =
            BuildClipStatement(kRows, one.range, *clip, LocalTime{2026, 4, 2, 9, 30, 0, 4});
        EXPECT_EQ(statement.units, one.units);
        EXPECT_EQ(statement.daysPlayed, one.days);
        std::int64_t plays = 0;
        for (const StatementUnit& unit : one.units) {
            plays += unit.plays;
        }
        EXPECT_EQ(statement.plays, plays);
        EXPECT_EQ(statement.chart.total, plays);
        EXPECT_EQ(statement.chart.series.size(), one.units.size());
        EXPECT_EQ(statement.generated, "Thu Apr 02 09:30:00 2026");
    }
    EXPECT_FALSE(FindStatementClip(kRows, "missing.mpg"));
}

TEST(PlayRowsCsv, TheExportReadsBackAsTheRowsItWasWrittenFrom) {
    PlayRows rows{
        {Row(4, 0, "a,\"b\".mpg", kWelcome, 1, 10), Row(12, 3, "Caf\xe9.mp3", kPromo, 2, 3)}, {}};
    rows.rows[0].notes = "two\r\nlines";
    EXPECT_EQ(ReadPlayRowsCsv(PlayRowsToCsv(rows).csv), rows.rows);
    const std::string header(kPlayExportHeader);
    for (const std::string& broken :
         {std::string("unit,notes\r\n"), header + "4,n,Video,a.mpg,x,2026-03-01\r\n",
          header + "4,n,Sideways,a.mpg,x,2026-03-01,1\r\n",
          header + "4,n,Video,a.mpg,x,03/01/2026,1\r\n",
          header + "4,\"open,Video,a.mpg,x,2026-03-01,1\r\n",
          header + "x,n,Video,a.mpg,x,2026-03-01,1\r\n"}) {
        EXPECT_FALSE(ReadPlayRowsCsv(broken)) << broken;
    }
}

TEST(ChartRequest, TheHelpersCommandLineReadsBackAsTheRequest) {
    const std::vector<ChartRequest> requests = {
        {ChartRequest::Kind::Chart, kMarch, {2, 12, ChartStyle::Lines}, {}, "/tmp/c.svg"},
        {ChartRequest::Kind::Chart,
         kMarch,
         {0, std::nullopt, ChartStyle::StackedBars},
         {},
         "c.png"},
        {ChartRequest::Kind::Statement, kMarch, {}, kWelcome, "s.pdf"},
    };
    for (const ChartRequest& request : requests) {
        EXPECT_EQ(ReadChartRequest(ChartRequestArguments(request)), request) << request.path;
    }
    const std::vector<std::vector<std::string>> refused = {
        {},
        {"graph", "--from", "2026-03-01", "--to", "2026-03-31", "--out", "c.png"},
        {"chart", "--from", "2026-02-30", "--to", "2026-03-31", "--out", "c.png"},
        {"chart", "--from", "2026-03-01", "--to", "2026-03-31"},
        {"chart", "--from", "2026-03-01", "--to", "2026-03-31", "--channel", "4", "--out", "c"},
        {"chart", "--from", "2026-03-01", "--to", "2026-03-31", "--clip", "x", "--out", "c"},
        {"statement", "--from", "2026-03-01", "--to", "2026-03-31", "--out", "s.pdf"},
        {"statement", "--from", "2026-03-01", "--to", "2026-03-31", "--lines", "--out", "s"},
    };
    for (const std::vector<std::string>& arguments : refused) {
        EXPECT_FALSE(ReadChartRequest(arguments)) << arguments.size();
    }
}

}  // namespace
}  // namespace vantic
