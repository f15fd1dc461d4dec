#include "tests/support/scripted_report_window.h"

namespace vantic::testing {

namespace {

namespace rw = report_window;

// The design size of the window's client area.
constexpr int kWidth = 678;
constexpr int kHeight = 632;

}  // namespace

std::optional<int> ScriptedReportWindow::RunReportWindow(WindowId owner,
                                                         ReportWindowEvents& events) {
    owners.push_back(owner);
    if (refuseWindow) {
        return std::nullopt;
    }
    closedWith_.reset();
    window = windows_.NewWindow(kNoWindow, Rect{100, 100, 100 + kWidth, 100 + kHeight});
    events.OnCreated(window);
    if (!closedWith_ && onShown) {
        onShown(window, events);
    }
    while (!closedWith_) {
        int button = rw::kDone;
        if (!presses.empty()) {
            button = presses.front();
            presses.pop_front();
        }
        events.OnButton(button);
    }
    return closedWith_;
}

void ScriptedReportWindow::ShowRichText(WindowId /*window*/, const std::string& richText) {
    shownTexts.push_back(richText);
}

void ScriptedReportWindow::CloseReportWindow(WindowId /*window*/, int result) {
    closedWith_ = result;
}

}  // namespace vantic::testing
