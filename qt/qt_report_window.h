#pragma once

// "Vantic Media Player Report" on Qt: a read-only rich-text viewer over
// the whole window and the buttons "Email", "Print", "Save" and "Done" at
// the bottom right, laid out so that the viewer takes any change of size;
// every button, Escape and the close box go to the logic, which closes the
// window.

#include <QDialog>
#include <QTextBrowser>
#include <optional>

#include "reports/report_window_view.h"

namespace vantic {

class QtReportDialog final : public QDialog {
  public:
    QtReportDialog(QWidget* owner, ReportWindowEvents& events);

    [[nodiscard]] QTextBrowser& Viewer() { return *viewer_; }
    // Closes with result; before the window runs, it then never shows.
    void CloseWith(int result);
    [[nodiscard]] const std::optional<int>& ClosedWith() const { return closedWith_; }

    void reject() override;

  private:
    ReportWindowEvents& events_;
    QTextBrowser* viewer_ = nullptr;
    std::optional<int> closedWith_;
};

class QtReportWindowView final : public ReportWindowView {
  public:
    std::optional<int> RunReportWindow(WindowId owner, ReportWindowEvents& events) override;
    void ShowRichText(WindowId window, const std::string& richText) override;
    void CloseReportWindow(WindowId window, int result) override;
};

// The viewer's document for a report's rich text; page breaks show as a
// ruled line.
void LoadRichText(QTextBrowser& viewer, const std::string& richText);

}  // namespace vantic
