#pragma once

// The report window as the logic drives it: a read-only rich-text viewer
// over the whole window and the buttons "Email", "Print", "Save" and
// "Done" (the default) at the bottom right.

#include <optional>
#include <string>
#include <string_view>

#include "platform/window.h"

namespace vantic {

namespace report_window {
inline constexpr std::string_view kTitle = "Vantic Media Player Report";
}  // namespace report_window

// What the operator pressed in the report window.
enum class ReportButton {
    Email,
    Print,
    Save,
    ExportCsv,  // "Export CSV...", after "Save", in the status report's window only
    Chart,      // "Chart..." and "Clip Statement...", after "Export CSV...", where
    Statement,  // the program can draw charts
    Done,
    Cancel,  // Escape and the close box
};

class ReportWindowEvents {
  public:
    virtual ~ReportWindowEvents() = default;
    // The window exists, laid out (the viewer takes every change of size,
    // the buttons keep to the bottom right), and is not shown yet; it may be
    // closed from here.
    virtual void OnCreated(WindowId window) = 0;
    // A button, or Cancel for Escape and the close box. The window stays
    // open until CloseReportWindow.
    virtual void OnButton(ReportButton button) = 0;
    // Whether the window carries "Export CSV..." (asked while it is made).
    [[nodiscard]] virtual bool HasExportButton() const { return false; }
    // Whether it carries "Chart..." and "Clip Statement..." too.
    [[nodiscard]] virtual bool HasChartButtons() const { return false; }
};

class ReportWindowView {
  public:
    virtual ~ReportWindowView() = default;
    // Runs the window modal over owner until it is closed and returns the
    // button it was closed with; none when the window cannot be made.
    [[nodiscard]] virtual std::optional<ReportButton> RunReportWindow(
        WindowId owner, ReportWindowEvents& events) = 0;
    // Replaces what the viewer shows by the rich text (8-bit, code page
    // 1252; reading stops at a zero byte), with nothing selected.
    virtual void ShowRichText(WindowId window, const std::string& richText) = 0;
    virtual void CloseReportWindow(WindowId window, ReportButton result) = 0;
};

}  // namespace vantic
