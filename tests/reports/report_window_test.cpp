#include "reports/report_window.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "core/cpstring.h"
#include "framework/missing_helper.h"
#include "framework/program_path.h"
#include "tests/support/failing_file_writes.h"
#include "tests/support/scripted_platform.h"
#include "tests/support/scripted_play_chart.h"
#include "tests/support/scripted_report_window.h"
#include "tests/support/temp_dir.h"

namespace vantic {
namespace {

using testing::ReadFileBytes;

constexpr const char* kReport = "{\\rtf1 report \\par }\r\n";

class ReportWindowTest : public ::testing::Test {
  protected:
    ReportWindowTest() : view(platform.windows) {
        settings.SetSettingsLocation({dir.Path(), {}});
        SetProgramDirectoryForTesting(dir.Path());
    }
    ~ReportWindowTest() override { SetProgramDirectoryForTesting({}); }

    ReportContext Context() { return ReportContext{platform, settings, view, kNoWindow}; }
    // Opens the window of mode with a builder that shows kReport.
    void Open(ReportMode mode = ReportMode::Status) {
        OpenReportWindow(mode, Context(), [](ReportWindow& window) {
            window.ShowReportText(kReport);
            return ReportBuildEnd::Done;
        });
    }

    testing::TempDir dir;
    testing::ScriptedPlatform platform;
    testing::ScriptedReportWindow view;
    testing::FailingFileWrites writes;
    WReg settings{writes};
};

TEST_F(ReportWindowTest, SavedFileHoldsTheTextAndItsZeroByte) {
    platform.QueueFileChoice(dir.File("weekly"));
    view.presses = {ReportButton::Save};
    Open(ReportMode::Activity);
    ASSERT_EQ(view.shownTexts.size(), 1u);
    EXPECT_EQ(ReadFileBytes(dir.File("weekly.rtf")), std::string(kReport) + '\0');
    const FileDialogRequest& asked = platform.fileDialogs.ShownDialogs().at(0).request;
    EXPECT_EQ(asked.title, "Choose Report File name");
    EXPECT_EQ(asked.filters.at(0).name, "Rich Text Files");
    EXPECT_EQ(asked.filters.at(0).patterns, "*.rtf");
    EXPECT_TRUE(asked.confirmOverwrite);
    // 1,700,000,000 s is Tue Nov 14 22:13:20 2023 on the scripted clock.
    EXPECT_EQ(asked.initialPath, "Vantic-Server-Report-Tue Nov 14 22-13-20 2023");
}

TEST_F(ReportWindowTest, SuggestedNamesAndTheMailedFileName) {
    const LocalTime t{2026, 3, 7, 9, 5, 1, 6};
    EXPECT_EQ(SuggestedReportName(ReportMode::Status, t), "Vantic-Report-Sat Mar 07 09-05-01 2026");
    EXPECT_EQ(EmailedReportName(t), "Vantic-Report-03-07-2026.rtf");
}

TEST_F(ReportWindowTest, FailedWritesAreShownAndKeepTheEarlierFile) {
    const std::string target = dir.File("kept.rtf");
    ASSERT_TRUE(testing::WriteFileBytes(target, "earlier"));
    platform.QueueFileChoice(target);
    platform.QueueAnswer(MessageAnswer::Ok, "ERROR");
    view.presses = {ReportButton::Save};
    writes.fault = testing::FileFault::WriteFails;
    Open();
    writes.fault.reset();
    EXPECT_EQ(platform.messageBoxes.Shown().at(0).text, "Error saving file");
    EXPECT_EQ(ReadFileBytes(target), "earlier");

    // A folder that takes no new file fails the same way (root writes
    // anywhere, so only an ordinary user can see it).
    if (::geteuid() == 0) {
        return;
    }
    const std::string locked = dir.File("locked");
    ASSERT_EQ(::mkdir(locked.c_str(), 0555), 0);
    platform.QueueFileChoice(locked + "/report.rtf");
    platform.QueueAnswer(MessageAnswer::Ok, "ERROR");
    view.presses = {ReportButton::Save};
    Open();
    EXPECT_EQ(platform.messageBoxes.Shown().size(), 2u);
    ::chmod(locked.c_str(), 0755);
}

TEST_F(ReportWindowTest, EmailSavesTodaysFileBesideTheProgramAndAttachesIt) {
    view.presses = {ReportButton::Email, ReportButton::Email};
    Open(ReportMode::Activity);
    const std::string path = dir.File("Vantic-Report-11-14-2023.rtf");
    ASSERT_EQ(platform.mail.documents.size(), 2u);
    EXPECT_EQ(platform.mail.documents[1].path, path);
    EXPECT_EQ(platform.mail.documents[1].attachmentName, "Vantic-Report-11-14-2023.rtf");
    EXPECT_EQ(ReadFileBytes(path), std::string(kReport) + '\0');
}

TEST_F(ReportWindowTest, EmailWithoutAMailProgramWritesNothing) {
    platform.mail.available = false;
    view.presses = {ReportButton::Email};
    Open();
    EXPECT_FALSE(FileExists(dir.File("Vantic-Report-11-14-2023.rtf")));
    EXPECT_TRUE(platform.mail.documents.empty());
    EXPECT_TRUE(platform.messageBoxes.Shown().empty());
    // For want of the desktop's helper: the operator learns what to install.
    platform.mail.missing = MissingHelper{"xdg-email", "xdg-utils"};
    platform.QueueAnswer(MessageAnswer::Ok, std::string(kMissingHelperCaption));
    view.presses = {ReportButton::Email};
    Open();
    ASSERT_EQ(platform.messageBoxes.Shown().size(), 1u);
    EXPECT_NE(platform.messageBoxes.Shown()[0].text.find("\"xdg-email\" is not installed"),
              std::string::npos);
}

TEST_F(ReportWindowTest, PrintHandsTheDocumentToThePrinter) {
    platform.printer.Queue(PrintOutcome::Printed);
    view.presses = {ReportButton::Print};
    Open();
    ASSERT_EQ(platform.printer.printed.size(), 1u);
    EXPECT_EQ(platform.printer.printed[0], std::string(kReport) + '\0');
}

TEST_F(ReportWindowTest, PlacementIsKeptOnCloseButNotAfterACancelledBuild) {
    view.onShown = [this](WindowId window, ReportWindowEvents&) {
        platform.windows.SetStoredRect(window, Rect{40, 50, 540, 450});
    };
    view.presses = {ReportButton::Cancel};
    Open();
    EXPECT_EQ(settings.GetInt("Report_Window_Dim_dx", 0), 500);

    // The next window opens where the last one closed.
    Rect reopened;
    view.onShown = [&](WindowId window, ReportWindowEvents&) {
        reopened = platform.windows.StoredRect(window);
    };
    Open();
    EXPECT_EQ(reopened, (Rect{40, 50, 540, 450}));

    int built = 0;
    view.onShown = nullptr;
    OpenReportWindow(ReportMode::Status, Context(), [&built](ReportWindow&) {
        ++built;
        return ReportBuildEnd::Cancelled;
    });
    EXPECT_EQ(built, 1);
    EXPECT_TRUE(platform.mail.documents.empty());
}

TEST_F(ReportWindowTest, SaveEmailAndPrintDoNothingWithoutAReport) {
    view.presses = {ReportButton::Save, ReportButton::Email, ReportButton::Print};
    OpenReportWindow(ReportMode::Status, Context(),
                     [](ReportWindow&) { return ReportBuildEnd::Done; });
    EXPECT_TRUE(platform.fileDialogs.ShownDialogs().empty());
    EXPECT_TRUE(platform.mail.documents.empty());
    EXPECT_TRUE(platform.printer.printed.empty());
}

TEST_F(ReportWindowTest, AWindowThatCannotBeMadeIsReported) {
    view.refuseWindow = true;
    platform.QueueAnswer(MessageAnswer::Ok, "ERROR");
    Open();
    EXPECT_EQ(platform.messageBoxes.Shown().at(0).text, "Error loading RichEd20.dll");
}

// What "Clip Statement..." does when the operator or the disk says no: no
// clip played, the form cancelled, the save dialog cancelled, a failed write.
TEST_F(ReportWindowTest, StatementsThatAreNotWrittenSayWhyOnlyWhenTheyFailed) {
    const std::string played = "0\tC:\\M\\hall.mpg\tAuto\t" + std::string(32, 'a') +
                               "\t5\tAll\tloop\t03/02/2026 00:00\t03/02/2026 23:59\tA\t\n";
    struct Case {
        const char* name;
        std::string runtime;
        std::optional<std::string> clip;  // picked in the form; none: cancelled
        bool chooseFile;
        bool writeFails;
        std::vector<std::string> messages;
        std::size_t dialogs;  // save dialogs shown
        std::size_t drawn;    // statements handed to the view to write
    };
    const std::vector<Case> cases = {
        {"nothing played", "", "hall.mpg", true, false, {std::string(kNoClipsText)}, 0, 0},
        {"form cancelled", played, std::nullopt, true, false, {}, 0, 0},
        {"dialog cancelled", played, "hall.mpg", false, false, {}, 1, 0},
        {"write fails", played, "hall.mpg", true, true, {"Error saving file"}, 1, 1},
        {"written", played, "hall.mpg", true, false, {}, 1, 1},
    };
    for (const Case& one : cases) {
        SCOPED_TRACE(one.name);
        testing::ScriptedPlatform platform;
        testing::ScriptedReportWindow window(platform.windows);
        testing::ScriptedPlayChart charts;
        charts.statementClip = one.clip;
        charts.failWrites = one.writeFails;
        if (one.dialogs > 0) {
            platform.QueueFileChoice(one.chooseFile ? std::optional(dir.File("statement"))
                                                    : std::nullopt);
        }
        for (const std::string& text : one.messages) {
            platform.QueueAnswer(MessageAnswer::Ok,
                                 text == "Error saving file" ? "ERROR" : "Clip Statement");
        }
        window.presses = {ReportButton::Statement};
        EntrySet runtime;
        ASSERT_TRUE(TextToEntrySet(one.runtime, runtime));
        std::vector<UnitPlays> plays{UnitPlays{4, "Lobby", runtime}};
        OpenReportWindow(ReportMode::Status,
                         ReportContext{platform, settings, window, kNoWindow, &charts},
                         [&plays](ReportWindow& report) {
                             report.ShowReportText(kReport);
                             report.SetPlays(plays, {{2026, 3, 1}, {2026, 3, 31}});
                             return ReportBuildEnd::Done;
                         });
        std::vector<std::string> shown;
        for (const Message& message : platform.messageBoxes.Shown()) {
            shown.push_back(message.text);
        }
        EXPECT_EQ(shown, one.messages);
        EXPECT_EQ(platform.fileDialogs.ShownDialogs().size(), one.dialogs);
        EXPECT_EQ(charts.statements.size(), one.drawn);
    }
}

}  // namespace
}  // namespace vantic
