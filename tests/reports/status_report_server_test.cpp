// The status report built against the reference distribution server: the
// whole document compared byte for byte, with the server's answers shaped
// by the units' files and by its faults. The clock is the test's own
// (local time is UTC), so the generation time is fixed too.

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

#include "core/cpconfig.h"
#include "core/cpstring.h"
#include "framework/wprogress.h"
#include "reports/status_command.h"
#include "reports/status_report.h"
#include "tests/support/pause_counter.h"
#include "tests/support/scripted_platform.h"
#include "tests/support/scripted_play_chart.h"
#include "tests/support/scripted_report_window.h"
#include "tests/support/shared_server.h"
#include "tests/support/temp_dir.h"
#include "units/unit_rows.h"
#include "units/upload_progress.h"

namespace vantic {
namespace {

using testing::WriteFileBytes;
namespace layout = progress_layout;

const std::string kA(32, 'a');
const std::string kB = "B2b2B2b2B2b2B2b2B2b2B2b2B2b2B2b2";
const std::string kC(32, 'c');

std::string Clip(int channel, const std::string& path, const std::string& content,
                 const std::string& size, const std::string& first, const std::string& last) {
    return std::to_string(channel) + "\t" + path + "\tAuto\t" + content + "\t" + size +
           "\tAll\tloop\t" + first + "\t" + last + "\tA\t\n";
}

std::string Played(int channel, const std::string& path, const std::string& content, int plays,
                   const std::string& day) {
    return Clip(channel, path, content, std::to_string(plays), day + " 00:00", day + " 23:59");
}

// Unit 4 reports everything; unit 9 only a few facts.
const std::map<std::string, std::string> kUnitFiles = {
    {"4/info.txt",
     "notes=Lobby {east}\nversion=Version: 3.8.2\nlocation1=Harbor Mall\nlocation3=Caf\xe9 "
     "level\nVideoRandom=1\nVideoAlt=yes\nRestrictedPlay=1\nRestrictedPlayStart=07:00\n"
     "RestrictedPlayStop=22:30\nUpdateFixed=1\nUpdateFixedStart=02:00\nUpdateFreq=1\n"},
    {"4/timing.txt", "calls=3\nlast=1699999000\ninterval=3600\nnext=0\n"},
    {"4/playlist.txt",
     Clip(0, "C:\\Media\\Lobby\\welcome.mpg", kA, "12 KB", "None", "None") +
         Clip(0, "C:\\Media\\Lobby\\old_sale.mpg", kB, "9 KB", "10/01/2023", "11/13/2023") +
         Clip(2, "/media/xmas {tune}.mp3", kC, "3 KB", "12/01/2023", "None")},
    // Three entries of one clip under three file names, only the middle
    // one in the range (its name is the line's); a run whose second entry
    // has no path; a clip on another channel.
    {"4/runtime.txt", Played(0, "C:\\Media\\Lobby\\welcome_fall.mpg", kA, 100, "10/31/2023") +
                          Played(0, "C:\\Media\\Lobby\\welcome.mpg", kA, 7, "11/01/2023") +
                          Played(0, "C:\\Media\\Lobby\\welcome_xmas.mpg", kA, 50, "11/15/2023") +
                          Played(0, "C:\\Media\\Lobby\\old_sale.mpg", kB, 3, "11/14/2023") +
                          Played(0, "", "b2b2b2b2b2b2b2b2b2b2b2b2b2b2b2b2", 4, "11/10/2023") +
                          Played(2, "/media/xmas {tune}.mp3", kC, 12, "11/05/2023")},
    {"9/info.txt", "notes=Bar\n"},
    {"9/timing.txt", "last=1699990000\nnext=1700003600\n"},
    {"9/runtime.txt", Played(0, "C:\\Media\\Bar\\welcome.mpg", kA, 5, "11/02/2023")},
};

const std::string kHeader =
    "{\\rtf1\\ansi\\ansicpg1252\\deff0\\deflang1033{\\fonttbl{\\f0\\fnil\\fcharset0MS Sans "
    "Serif;}}\r\n\\viewkind4\\uc1\\pard\\f0\\fs17 ";
const std::string kBreak = "\\par \\page\r\n";
const std::string kEnd = " }\r\n";
const std::string kVideo = "--Video Channel: \\par\r\n";
const std::string kAlt = "--Video Alt Channel: \\par\r\n";
const std::string kAudioA = "--Audio A Channel: \\par\r\n";
const std::string kAudioB = "--Audio B Channel: \\par\r\n";
const std::string kTitle = "\\fs48 Media Player Report \\par\\fs24 ";
const std::string kGenerated = "\\par Report Generated: Tue Nov 14 22:13:20 2023\n \\par\r\n";
const std::string kPlaylistHeading = "\\par\\b Current System Playlist: \\b0\\par\r\n";
const std::string kRuntimeHeading =
    "\\par\\b Proof of Runtime: From 11/01/2023 To 11/14/2023 \\b0\\par\r\n";
const std::string kConfigHeading = "\\par\\b Current Configuration Information: \\b0\\par\r\n";

const std::string kUnit4Timing =
    "Vantic serial number 4 \\par\r\nLast Player Call-In: Tue Nov 14 21:56:40 2023\n "
    "\\par\r\nNext Scheduled Call-In: Unknown \\par\r\n";
const std::string kUnit4Playlist =
    kVideo + "      welcome.mpg \\par\r\n" + "      old_sale.mpg - (Past Stop Day)\\par\r\n" +
    kAlt + kAudioA + "      xmas \\{tune\\}.mp3 - (Pending Start Day)\\par\r\n" + kAudioB;
const std::string kUnit4Runtime = kVideo + " 7 - welcome.mpg \\par\r\n" +
                                  " 7 - old_sale.mpg \\par\r\n" + kAlt + kAudioA +
                                  " 12 - xmas \\{tune\\}.mp3 \\par\r\n" + kAudioB;
const std::string kUnit4Config =
    "Version: 3.8.2 \\par\r\nLocation: \\par\r\n  Harbor Mall \\par\r\n  Caf\\'e9 level "
    "\\par\r\nVideo Mode: Random \\par\r\nVideo Alt Mode: Loop \\par\r\nAudio A Mode: Loop "
    "\\par\r\nAudio B Mode: Loop \\par\r\nVideo Alt Enabled: Yes \\par\r\nPlay Hours: "
    "Restricted: Only allowed from 07:00 to 22:30\\par\r\nUpdate Hours: Not Restricted "
    "\\par\r\nUpdate Schedule: Fixed - Fixed Base Time is: 02:00 \\par\r\nUpdate Frequency: 1 "
    "time(s) per day\\par\r\n";
const std::string kUnit4 = kTitle + "\\fs48 Lobby \\{east\\} \\par\\fs24 " + kGenerated +
                           kUnit4Timing + kPlaylistHeading + kUnit4Playlist + kRuntimeHeading +
                           kUnit4Runtime + kConfigHeading + kUnit4Config;

const std::string kUnit9Config =
    "Version: Unknown \\par\r\nLocation: \\par\r\nVideo Mode: Loop \\par\r\nVideo Alt Mode: "
    "Loop \\par\r\nAudio A Mode: Loop \\par\r\nAudio B Mode: Loop \\par\r\nVideo Alt Enabled: "
    "No \\par\r\nPlay Hours: Not Restricted \\par\r\nUpdate Hours: Not Restricted "
    "\\par\r\nUpdate Schedule: Floating \\par\r\nUpdate Frequency: 24 time(s) per day\\par\r\n";
const std::string kUnit9 =
    kTitle + "\\fs48 Bar \\par\\fs24 " + kGenerated +
    "Vantic serial number 9 \\par\r\nLast Player Call-In: Tue Nov 14 19:26:40 2023\n "
    "\\par\r\nNext Scheduled Call-In: Tue Nov 14 23:13:20 2023\n \\par\r\n" +
    kPlaylistHeading + "Playlist information has not been reported to server \\par\r\n" +
    kRuntimeHeading + kVideo + " 5 - welcome.mpg \\par\r\n" + kAlt + kAudioA + kAudioB +
    kConfigHeading + kUnit9Config;

const std::string kSummary = "\\fs48 Summary Proof of Run Report \\par\\fs24 \\par\r\n" + kVideo +
                             " 12 - welcome.mpg \\par\r\n" + " 7 - old_sale.mpg \\par\r\n" + kAlt +
                             kAudioA + " 12 - xmas \\{tune\\}.mp3 \\par\r\n" + kAudioB;

// A page whose requests all failed after the server was taken as gone.
std::string FailedPage(int unit) {
    return kTitle + kGenerated + "Vantic serial number " + std::to_string(unit) +
           " \\par\r\nError getting timing information from server \\par\r\n" + kPlaylistHeading +
           "Error getting playlist information from server \\par\r\n" + kRuntimeHeading +
           "Error getting runtime report information from server \\par\r\n" + kConfigHeading;
}

// Picks the days of the test's units, last day first, and presses OK.
class PickedDays final : public DateRangeFormView {
  public:
    bool RunDateRangeForm(WindowId /*owner*/, DateRangeForm& form) override {
        form = DateRangeForm{{2023, 11, 14}, {2023, 11, 1}};
        return true;
    }
};

class StatusReportServerTest : public testing::SharedServerTest {
  protected:
    static void SetUpTestSuite() {
        SharedServerTest::SetUpTestSuite();
        if (!server_->Ok()) {
            return;
        }
        const std::string data = server_->DataDir();
        ASSERT_TRUE(WriteFileBytes(data + "/units.txt", "4\tLobby\tOK\t\t\n9\tBar\tOK\t\t\n"));
        for (const auto& [name, text] : kUnitFiles) {
            const std::string path = data + "/units/" + name;
            std::filesystem::create_directories(std::filesystem::path(path).parent_path());
            ASSERT_TRUE(WriteFileBytes(path, text));
        }
    }

    void SetUp() override {
        SharedServerTest::SetUp();
        logStart_ = server_->LogLines().size();
        window_ = platform_.windows.NewWindow(kNoWindow, Rect{0, 0, 600, 600});
        settings_.SetSettingsLocation({dir_.Path(), {}});
    }
    void TearDown() override { EXPECT_TRUE(server_->SetFaults({})); }

    StatusReportResult Build(const std::vector<std::uint32_t>& selected) {
        for (std::uint32_t unit : selected) {
            EXPECT_TRUE(units_.Select(unit));
        }
        StatusReportContext context{platform_.clock, units_, login_, progress_,
                                    ReportDateRange{{2023, 11, 1}, {2023, 11, 14}}};
        return BuildStatusReport(context, window_);
    }
    // The server logs a connection when it has ended, which may be a moment
    // after the controller is done with it: waits for count lines.
    std::size_t LoggedConnections(const std::string& needle, std::size_t count) const {
        (void)testing::WaitUntil([&] { return NewLogLines(needle).size() >= count; });
        return NewLogLines(needle).size();
    }
    // "Generate Status Report..." over window_, the report window scripted.
    void Generate(PlayChartView* charts = nullptr) {
        StatusReportCommand command{
            ReportContext{platform_, settings_, reportView_, window_, charts},
            days_,
            range_,
            units_,
            login_,
            progress_};
        GenerateStatusReport(command);
    }
    std::vector<std::string> NewLogLines(const std::string& needle) const {
        std::vector<std::string> lines = server_->LogLines();
        lines.erase(lines.begin(), lines.begin() + static_cast<std::ptrdiff_t>(logStart_));
        std::erase_if(
            lines, [&](const std::string& line) { return line.find(needle) == std::string::npos; });
        return lines;
    }

    testing::ScriptedPlatform platform_;
    UnitRows units_{std::vector<std::uint32_t>{4, 9}};
    FixedLogin login_{AdminAccess()};
    WProgress progress_{platform_};
    WindowId window_ = kNoWindow;
    std::size_t logStart_ = 0;
    testing::TempDir dir_;
    WReg settings_;
    testing::ScriptedReportWindow reportView_{platform_.windows};
    PickedDays days_;
    ReportDateRange range_;
};

TEST_F(StatusReportServerTest, OneUnitHasNoSummaryTwoUnitsAddUpTheirCounts) {
    testing::PauseCounter requests(platform_.clock);  // the window's requests
    StatusReportResult one = Build({4});
    EXPECT_EQ(one.end, ReportBuildEnd::Done);
    EXPECT_EQ(one.text, kHeader + kUnit4 + kBreak + kEnd);
    EXPECT_EQ(LoggedConnections("unit=4", 4), 4u);
    EXPECT_EQ(NewLogLines("unit=9").size(), 0u);

    units_ = UnitRows(std::vector<std::uint32_t>{4, 9});
    StatusReportResult both = Build({});
    EXPECT_EQ(both.text, kHeader + kUnit4 + kBreak + kUnit9 + kBreak + kSummary + kEnd);

    const testing::ProgressRecord* dialog = platform_.progress.Last();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->owner, window_);
    EXPECT_EQ(dialog->texts.at(layout::kStatusLine),
              (std::vector<std::string>{"Building Report: Media Player #4",
                                        "Building Report: Media Player #9"}));
    EXPECT_EQ(dialog->LastBar(layout::kItemBar), 100);
    EXPECT_TRUE(dialog->destroyed);
    EXPECT_EQ(platform_.clock.Sleeps(), (std::vector<int>{150, 150, 150}));
    EXPECT_EQ(requests.pausesInside, 3u);  // each page's pause lets the window paint
}

TEST_F(StatusReportServerTest, AnUnreachableServerIsAskedTwiceAndEveryPageSaysSo) {
    ASSERT_TRUE(server_->SetFaults({"close-before-nonce"}));
    StatusReportResult result = Build({});
    EXPECT_EQ(result.end, ReportBuildEnd::Done);
    EXPECT_EQ(result.text, kHeader + FailedPage(4) + kBreak + FailedPage(9) + kBreak +
                               "\\fs48 Summary Proof of Run Report \\par\\fs24 \\par\r\n" + kVideo +
                               kAlt + kAudioA + kAudioB + kEnd);
    // Unit information, then timing; nothing after the first hard failure.
    EXPECT_EQ(LoggedConnections("closed-before-nonce", 2), 2u);
}

TEST_F(StatusReportServerTest, AbsentAndUndecryptableAnswersGetTheirLinesAndTheRunGoesOn) {
    ASSERT_TRUE(server_->SetFaults({"absent@6", "bad-envelope@4"}));
    StatusReportResult result = Build({9});
    const std::string page =
        kTitle + kGenerated +
        "Vantic serial number 9 \\par\r\nLast Player Call-In: Tue Nov 14 19:26:40 2023\n "
        "\\par\r\nNext Scheduled Call-In: Tue Nov 14 23:13:20 2023\n \\par\r\n" +
        kPlaylistHeading + "Playlist information has not been reported to server \\par\r\n" +
        kRuntimeHeading +
        "Unable to decrypt runtime report information \\par Contact your system administrator "
        "if this persists \\par\r\n" +
        kConfigHeading;
    EXPECT_EQ(result.text, kHeader + page + kBreak + kEnd);
    EXPECT_EQ(LoggedConnections("unit=9", 4), 4u);
}

TEST_F(StatusReportServerTest, CancelDuringTheSecondUnitShowsNothing) {
    platform_.windows.OnPump([this] {
        const testing::ProgressRecord* dialog = platform_.progress.Last();
        if (dialog != nullptr && !dialog->destroyed &&
            dialog->LastText(layout::kStatusLine) == "Building Report: Media Player #9") {
            platform_.progress.Press(layout::kCancelButton);
        }
    });
    StatusReportResult result = Build({});
    EXPECT_EQ(result.end, ReportBuildEnd::Cancelled);
    EXPECT_FALSE(result.text);
    EXPECT_FALSE(platform_.progress.AnyOpen());
    // The step under way finishes; nothing after it is asked.
    EXPECT_EQ(LoggedConnections("unit=9", 2), 2u);
}

TEST_F(StatusReportServerTest, TheCommandShowsTheDocumentInTheReportWindowInDateOrder) {
    Generate();
    EXPECT_EQ(range_, (ReportDateRange{{2023, 11, 1}, {2023, 11, 14}}));
    ASSERT_EQ(reportView_.shownTexts.size(), 1u);
    EXPECT_EQ(reportView_.shownTexts[0],
              kHeader + kUnit4 + kBreak + kUnit9 + kBreak + kSummary + kEnd + '\0');
    EXPECT_EQ(platform_.progress.Last()->owner, reportView_.window);
    EXPECT_EQ(cpConfig::LoadFile(dir_.File("config.ini")).Get("Last_Start_Day"), "14");

    units_ = UnitRows();
    platform_.messageBoxes.Queue(MessageAnswer::Ok, "No player units in list!");
    Generate();
    EXPECT_EQ(platform_.ShownMessages().back().text, "Please check your user name and password.");
    EXPECT_EQ(platform_.ShownMessages().back().icon, MessageIcon::Warning);
    EXPECT_EQ(reportView_.owners.size(), 1u);
}

TEST_F(StatusReportServerTest, TheWindowExportsThePlaysThatTheConsoleExportWrites) {
    const std::string exported = dir_.File("plays");
    platform_.fileDialogs.Queue(exported);
    reportView_.presses = {ReportButton::ExportCsv};
    Generate();
    ASSERT_EQ(platform_.fileDialogs.ShownDialogs().size(), 1u);
    EXPECT_EQ(platform_.fileDialogs.ShownDialogs()[0].request.filters[0].name, "CSV Files");
    const std::string csv = testing::ReadFileBytes(exported + ".csv");
    EXPECT_EQ(csv,
              "unit,notes,channel,clip file,content name,day,plays\r\n"
              "4,Lobby {east},Video,welcome.mpg," +
                  kA +
                  ",2023-11-01,7\r\n"
                  "4,Lobby {east},Video,old_sale.mpg," +
                  kB +
                  ",2023-11-10,4\r\n"
                  "4,Lobby {east},Video,old_sale.mpg," +
                  kB +
                  ",2023-11-14,3\r\n"
                  "4,Lobby {east},Audio A,xmas {tune}.mp3," +
                  kC +
                  ",2023-11-05,12\r\n"
                  "9,Bar,Video,welcome.mpg," +
                  kA + ",2023-11-02,5\r\n");

    // What vanticctl report plays runs: two requests a unit, no pauses.
    StatusReportContext context{platform_.clock, units_, login_, progress_, range_};
    std::optional<std::vector<UnitPlays>> plays = FetchUnitPlays(context, kNoWindow);
    ASSERT_TRUE(plays);
    EXPECT_EQ(PlaysToCsv(*plays, range_).csv, csv);
    EXPECT_EQ(LoggedConnections("unit=4", 6), 6u);
}

// The summary page's counts, "channel|file" to plays, read off the document.
std::map<std::string, std::int64_t> SummaryCounts(const std::string& document) {
    std::map<std::string, std::int64_t> counts;
    std::size_t at = document.find("Summary Proof of Run Report");
    int channel = -1;
    while ((at = document.find("\r\n", at)) != std::string::npos) {
        const std::size_t start = at += 2;
        const std::string line = document.substr(start, document.find("\r\n", start) - start);
        if (line.starts_with("--")) {
            ++channel;
        } else if (std::size_t dash = line.find(" - "); dash != std::string::npos) {
            std::string file = line.substr(dash + 3, line.rfind(" \\par") - dash - 3);
            ReplaceAll(file, "\\{", "{");
            ReplaceAll(file, "\\}", "}");
            counts[std::to_string(channel) + "|" + file] = std::stoll(line.substr(0, dash));
        }
    }
    return counts;
}

TEST_F(StatusReportServerTest, TheChartAndTheStatementAddUpAsTheSummaryAndTheCsvDo) {
    testing::ScriptedPlayChart charts;
    for (int channel = 0; channel < kChannelCount; ++channel) {
        charts.choices.push_back(PlayChartForm{channel, std::nullopt, ChartStyle::StackedBars});
    }
    charts.choices.push_back(PlayChartForm{0, 4, ChartStyle::Lines});
    charts.choices.push_back(PlayChartForm{0, 9, ChartStyle::StackedBars});
    charts.saves = {ChartFile::Image};
    charts.statementClip = "welcome.mpg";
    platform_.fileDialogs.Queue(dir_.File("chart"));
    platform_.fileDialogs.Queue(dir_.File("statement.pdf"));
    platform_.fileDialogs.Queue(dir_.File("plays.csv"));
    reportView_.presses = {ReportButton::Chart, ReportButton::Statement, ReportButton::ExportCsv};
    Generate(&charts);
    ASSERT_EQ(charts.shown.size(), 6u);
    const std::map<std::string, std::int64_t> summary =
        SummaryCounts(reportView_.shownTexts.back());
    EXPECT_FALSE(summary.empty());

    std::map<std::string, std::int64_t> charted;
    for (int channel = 0; channel < kChannelCount; ++channel) {
        for (const ChartSeries& series : charts.shown[static_cast<std::size_t>(channel)].series) {
            charted[std::to_string(channel) + "|" + series.label] = series.total;
        }
    }
    EXPECT_EQ(charted, summary);
    const std::optional<std::vector<PlayRow>> rows =
        ReadPlayRowsCsv(testing::ReadFileBytes(dir_.File("plays.csv")));
    ASSERT_TRUE(rows);
    std::map<std::string, std::int64_t> exported;
    for (const PlayRow& row : *rows) {
        exported[std::to_string(row.channel) + "|" + row.clipFile] += row.plays;
    }
    EXPECT_EQ(exported, summary);
    EXPECT_EQ(charts.offeredUnits, (std::vector<std::uint32_t>{4, 9}));
    EXPECT_EQ(charts.shown[4].total + charts.shown[5].total, charts.shown[0].total);
    EXPECT_EQ(charts.writtenCharts, std::vector<std::string>{dir_.File("chart") + ".png"});

    ASSERT_EQ(charts.statements.size(), 1u);
    const ClipStatement& statement = charts.statements[0];
    EXPECT_EQ(statement.clip.contentName, kA);
    EXPECT_EQ(statement.units,
              (std::vector<StatementUnit>{{4, "Lobby {east}", 1, 7}, {9, "Bar", 1, 5}}));
    EXPECT_EQ(statement.plays, summary.at("0|welcome.mpg"));
    EXPECT_EQ(statement.daysPlayed, 2);
    EXPECT_EQ(statement.chart.total, statement.plays);
}

TEST_F(StatusReportServerTest, CancelInTheCommandClosesTheWindowShowingNothing) {
    platform_.windows.OnPump([this] {
        const testing::ProgressRecord* dialog = platform_.progress.Last();
        if (dialog != nullptr && !dialog->destroyed &&
            dialog->LastText(layout::kStatusLine) == "Building Report: Media Player #9") {
            platform_.progress.Press(layout::kCancelButton);
        }
    });
    Generate();
    EXPECT_EQ(reportView_.owners.size(), 1u);
    EXPECT_TRUE(reportView_.shownTexts.empty());
    EXPECT_FALSE(platform_.progress.AnyOpen());
    // Closed by the build, not by the operator: no placement was stored.
    EXPECT_FALSE(cpConfig::LoadFile(dir_.File("config.ini")).Find("Report_Window_Dim"));
}

}  // namespace
}  // namespace vantic
