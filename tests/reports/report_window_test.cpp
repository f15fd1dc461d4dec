#include "reports/report_window.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "core/cpstring.h"
#include "framework/program_path.h"
#include "tests/support/failing_file_writes.h"
#include "tests/support/scripted_platform.h"
#include "tests/support/scripted_report_window.h"
#include "tests/support/temp_dir.h"

namespace vantic {
namespace {

namespace rw = report_window;
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
    view.presses = {rw::kSave};
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
    view.presses = {rw::kSave};
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
    view.presses = {rw::kSave};
    Open();
    EXPECT_EQ(platform.messageBoxes.Shown().size(), 2u);
    ::chmod(locked.c_str(), 0755);
}

TEST_F(ReportWindowTest, EmailSavesTodaysFileBesideTheProgramAndAttachesIt) {
    view.presses = {rw::kEmail, rw::kEmail};
    Open(ReportMode::Activity);
    const std::string path = dir.File("Vantic-Report-11-14-2023.rtf");
    ASSERT_EQ(platform.mail.documents.size(), 2u);
    EXPECT_EQ(platform.mail.documents[1].path, path);
    EXPECT_EQ(platform.mail.documents[1].attachmentName, "Vantic-Report-11-14-2023.rtf");
    EXPECT_EQ(ReadFileBytes(path), std::string(kReport) + '\0');
}

TEST_F(ReportWindowTest, EmailWithoutAMailProgramWritesNothing) {
    platform.mail.available = false;
    view.presses = {rw::kEmail};
    Open();
    EXPECT_FALSE(FileExists(dir.File("Vantic-Report-11-14-2023.rtf")));
    EXPECT_TRUE(platform.mail.documents.empty());
    EXPECT_TRUE(platform.messageBoxes.Shown().empty());
}

TEST_F(ReportWindowTest, PrintHandsTheDocumentToThePrinter) {
    platform.printer.Queue(PrintOutcome::Printed);
    view.presses = {rw::kPrint};
    Open();
    ASSERT_EQ(platform.printer.printed.size(), 1u);
    EXPECT_EQ(platform.printer.printed[0], std::string(kReport) + '\0');
}

TEST_F(ReportWindowTest, PlacementIsKeptOnCloseButNotAfterACancelledBuild) {
    view.onShown = [this](WindowId window, ReportWindowEvents&) {
        platform.windows.SetStoredRect(window, Rect{40, 50, 540, 450});
    };
    view.presses = {rw::kCancel};
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
    view.presses = {rw::kSave, rw::kEmail, rw::kPrint};
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

}  // namespace
}  // namespace vantic
