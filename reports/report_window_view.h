#pragma once

// The report window as the logic drives it: a read-only rich-text viewer
// over the whole window and the buttons "Email", "Print", "Save" and
// "Done" (the default) at the bottom right, named by report_window::*.

#include <optional>
#include <string>
#include <string_view>

#include "platform/window.h"

namespace vantic {

namespace report_window {
inline constexpr std::string_view kTitle = "Vantic Media Player Report";
inline constexpr int kDone = 1;
inline constexpr int kCancel = 2;  // Escape and the close box
inline constexpr int kEmail = 1062;
inline constexpr int kSave = 1063;
inline constexpr int kPrint = 1064;
// "Export CSV...", after "Save", in the status report's window only.
inline constexpr int kExportCsv = 1071;
}  // namespace report_window

class ReportWindowEvents {
  public:
    virtual ~ReportWindowEvents() = default;
    // The window exists, laid out (the viewer takes every change of size,
    // the buttons keep to the bottom right), and is not shown yet; it may be
    // closed from here.
    virtual void OnCreated(WindowId window) = 0;
    // A button, or kCancel for Escape and the close box. The window stays
    // open until CloseReportWindow.
    virtual void OnButton(int buttonId) = 0;
    // Whether the window carries "Export CSV..." (asked while it is made).
    [[nodiscard]] virtual bool HasExportButton() const { return false; }
};

class ReportWindowView {
  public:
    virtual ~ReportWindowView() = default;
    // Runs the window modal over owner until it is closed and returns the
    // id it was closed with; none when the window cannot be made.
    [[nodiscard]] virtual std::optional<int> RunReportWindow(WindowId owner,
                                                             ReportWindowEvents& events) = 0;
    // Replaces what the viewer shows by the rich text (8-bit, code page
    // 1252; reading stops at a zero byte), with nothing selected.
    virtual void ShowRichText(WindowId window, const std::string& richText) = 0;
    virtual void CloseReportWindow(WindowId window, int result) = 0;
};

}  // namespace vantic
