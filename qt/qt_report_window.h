#pragma once

// "Vantic Media Player Report" on Qt: a read-only rich-text viewer over
// the whole window and the buttons "Email", "Print", "Save" and "Done" at
// the bottom right, laid out so that the viewer takes any change of size;
// every button, Escape and the close box go to the logic, which closes the
// window.

#include <QDialog>
#include <QPushButton>
#include <QTextBrowser>
#include <map>
#include <optional>

#include "reports/report_window_view.h"

namespace vantic {

class QtReportDialog final : public QDialog {
  public:
    QtReportDialog(QWidget* owner, ReportWindowEvents& events);

    [[nodiscard]] QTextBrowser& Viewer() { return *viewer_; }
    // Closes with result; before the window runs, it then never shows.
    void CloseWith(ReportButton result);
    [[nodiscard]] const std::optional<ReportButton>& ClosedWith() const { return closedWith_; }
    // The button that reports button; null for none.
    [[nodiscard]] QPushButton* Button(ReportButton button) const;

    void reject() override;

  private:
    ReportWindowEvents& events_;
    QTextBrowser* viewer_ = nullptr;
    std::map<ReportButton, QPushButton*> buttons_;
    std::optional<ReportButton> closedWith_;
};

class QtReportWindowView final : public ReportWindowView {
  public:
    std::optional<ReportButton> RunReportWindow(WindowId owner,
                                                ReportWindowEvents& events) override;
    void ShowRichText(WindowId window, const std::string& richText) override;
    void CloseReportWindow(WindowId window, ReportButton result) override;
};

// The viewer's document for a report's rich text; page breaks show as a
// ruled line.
void LoadRichText(QTextBrowser& viewer, const std::string& richText);

}  // namespace vantic
