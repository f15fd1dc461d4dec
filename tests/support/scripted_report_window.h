#pragma once

// The report window in memory: a window of the scripted platform with the
// viewer and the four buttons at their design places. Once it is created
// the queued buttons are pressed in order; with none left it is closed
// with Done, as an operator would.

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "reports/report_window_view.h"
#include "tests/support/scripted_windows.h"

namespace vantic::testing {

class ScriptedReportWindow final : public ReportWindowView {
  public:
    explicit ScriptedReportWindow(ScriptedWindows& windows) : windows_(windows) {}

    std::optional<ReportButton> RunReportWindow(WindowId owner,
                                                ReportWindowEvents& events) override;
    void ShowRichText(WindowId window, const std::string& richText) override;
    void CloseReportWindow(WindowId window, ReportButton result) override;

    std::deque<ReportButton> presses;
    // Runs once the window is created and shown, before the first press.
    std::function<void(WindowId window, ReportWindowEvents& events)> onShown;
    bool refuseWindow = false;

    std::vector<WindowId> owners;
    std::vector<std::string> shownTexts;
    WindowId window = kNoWindow;  // the last window made

  private:
    ScriptedWindows& windows_;
    std::optional<ReportButton> closedWith_;
};

}  // namespace vantic::testing
