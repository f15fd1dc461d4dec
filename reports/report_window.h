#pragma once

// The report window of both reports: it builds its report while it is
// created, keeps the finished rich text, and saves, e-mails and prints it.
// Its placement is kept under "Report_Window_Dim" for both reports.

#include <functional>
#include <optional>
#include <string>

#include "framework/wreg.h"
#include "platform/platform.h"
#include "reports/play_export.h"
#include "reports/report_window_view.h"

namespace vantic {

enum class ReportMode { Status, Activity };

inline constexpr std::string_view kReportPlacementName = "Report_Window_Dim";

// What the report window and its builders need from the application.
struct ReportContext {
    Platform& platform;
    WReg& settings;
    ReportWindowView& view;
    WindowId owner = kNoWindow;  // the main window
};

class ReportWindow;

// A builder makes the report inside the window's creation: it may open a
// progress dialog or the login form owned by window.Window(), and hands the
// finished text to window.ShowReportText. Cancelled closes the window
// showing nothing; Done leaves it open, empty when no text was handed over.
enum class ReportBuildEnd { Done, Cancelled };
using ReportBuilder = std::function<ReportBuildEnd(ReportWindow& window)>;

// The suggested name of a saved report: "Vantic-Report-" (status) or
// "Vantic-Server-Report-" (activity) and the report time text with every
// ":" made "-", cut at the line end.
[[nodiscard]] std::string SuggestedReportName(ReportMode mode, const LocalTime& now);
// Replaces the file at path by bytes through a temporary file beside it;
// false when it could not, the earlier file then being left as it was.
[[nodiscard]] bool WriteReportFile(const std::string& path, std::string_view bytes);

// "Vantic-Report-MM-DD-YYYY.rtf", the e-mailed file of either report.
[[nodiscard]] std::string EmailedReportName(const LocalTime& today);

class ReportWindow final : private ReportWindowEvents {
  public:
    ReportWindow(ReportMode mode, const ReportContext& context, ReportBuilder build);
    ReportWindow(const ReportWindow&) = delete;
    ReportWindow& operator=(const ReportWindow&) = delete;

    // Runs the window until it closes; the id it closed with, or none when
    // it could not be made (the failure has been shown).
    std::optional<int> Run();

    [[nodiscard]] ReportMode Mode() const { return mode_; }
    [[nodiscard]] WindowId Window() const { return window_; }
    [[nodiscard]] const ReportContext& Context() const { return context_; }
    // Keeps the finished document and shows it. The kept text ends with its
    // terminating zero byte, which a saved file holds too.
    void ShowReportText(std::string text);
    // The document with its terminating zero byte; none before ShowReportText.
    [[nodiscard]] const std::optional<std::string>& ReportText() const { return text_; }

    // Save: into path, or where the operator chooses when path is none.
    // Nothing happens without a report text or when the dialog is
    // cancelled; a failed write is shown. True when the file was written.
    bool SaveReport(const std::optional<std::string>& path);
    // Saves the report as today's file beside the program and hands it to
    // the mail program as an attachment.
    void EmailReport();
    void PrintReport();

    // The proof-of-play table of a status report, offered by "Export CSV...".
    void SetPlaysExport(PlayExport plays) { plays_ = std::move(plays); }
    // Export CSV: into path, or where the operator chooses when path is
    // none; then the units left out are named. True when the file was
    // written.
    bool ExportPlays(const std::optional<std::string>& path);

  private:
    [[nodiscard]] bool HasExportButton() const override { return mode_ == ReportMode::Status; }
    void OnCreated(WindowId window) override;
    void OnButton(int buttonId) override;
    struct SaveKind {
        std::string title;
        std::string filterName;
        std::string extension;
        std::string namePrefix;
    };
    [[nodiscard]] std::optional<std::string> ChooseFilePath(const SaveKind& kind);

    ReportMode mode_;
    ReportContext context_;
    ReportBuilder build_;
    WindowId window_ = kNoWindow;
    std::optional<std::string> text_;
    std::optional<PlayExport> plays_;
};

// Opens the report window of mode over the context's owner and runs it
// until it closes; the builder makes its report while it is created.
void OpenReportWindow(ReportMode mode, const ReportContext& context, const ReportBuilder& build);

}  // namespace vantic
