#include "tests/support/scripted_report_window.h"

#include <vector>

namespace vantic::testing {

namespace {

namespace rw = report_window;

// The design size of the window's client area, and its buttons' size.
constexpr int kWidth = 678;
constexpr int kHeight = 632;
constexpr int kButtonWidth = 80;
constexpr int kButtonHeight = 24;

}  // namespace

std::optional<int> ScriptedReportWindow::RunReportWindow(WindowId owner,
                                                         ReportWindowEvents& events) {
    owners.push_back(owner);
    if (refuseWindow) {
        return std::nullopt;
    }
    closedWith_.reset();
    window = windows_.NewWindow(kNoWindow, Rect{100, 100, 100 + kWidth, 100 + kHeight});
    windows_.NewItem(window, rw::kViewer, Rect{8, 8, kWidth - 8, kHeight - 40});
    std::vector<int> buttons = {rw::kEmail, rw::kPrint, rw::kSave, rw::kDone};
    if (events.HasExportButton()) {
        buttons.insert(buttons.begin() + 3, rw::kExportCsv);
    }
    if (events.HasChartButtons()) {
        buttons.insert(buttons.begin() + 4, {rw::kChart, rw::kStatement});
    }
    int left = kWidth - static_cast<int>(buttons.size()) * (kButtonWidth + 8);
    for (const int button : buttons) {
        windows_.NewItem(
            window, button,
            Rect{left, kHeight - 32, left + kButtonWidth, kHeight - 32 + kButtonHeight});
        left += kButtonWidth + 8;
    }
    windows_.OnResize(window, [&events] { events.OnSize(); });
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
