#pragma once

// "Proof of Play Chart" on Qt: the channel and unit choices, the
// stacked-bar/line switch, the chart with its values shown on hover, and
// "Save Image...", "Save PDF..." and "Close". "Clip Statement": the clip
// and the range of a statement.

#include <QButtonGroup>
#include <QChartView>
#include <QComboBox>
#include <QDateEdit>
#include <QDialog>
#include <QLabel>
#include <vector>

#include "reports/play_chart_view.h"

namespace vantic {

inline constexpr std::string_view kChartWindowTitle = "Proof of Play Chart";
inline constexpr std::string_view kStatementFormTitle = "Clip Statement";

// The chart window bound to a form value; exposed so tests can reach it.
class QtPlayChartDialog final : public QDialog {
  public:
    QtPlayChartDialog(QWidget* owner, const std::vector<std::uint32_t>& units, PlayChartForm& form,
                      PlayChartView::ChartOf chartOf, PlayChartView::SaveChart save);

    [[nodiscard]] QComboBox& ChannelChoice() { return *channel_; }
    [[nodiscard]] QComboBox& UnitChoice() { return *unit_; }
    [[nodiscard]] QButtonGroup& StyleChoice() { return *style_; }
    [[nodiscard]] QChartView& View() { return *view_; }
    [[nodiscard]] const PlayChart& Shown() const { return shown_; }
    // What hovering over a value shows beside the total.
    [[nodiscard]] QString HoverLine() const { return hover_->text(); }

  private:
    // Copies the choices into the form and shows their chart.
    void ShowChoice();
    void ConnectHover();
    void ShowHover(bool on, std::size_t series, std::size_t day);

    const std::vector<std::uint32_t> units_;
    PlayChartForm& form_;
    PlayChartView::ChartOf chartOf_;
    PlayChartView::SaveChart save_;
    QComboBox* channel_ = nullptr;
    QComboBox* unit_ = nullptr;
    QButtonGroup* style_ = nullptr;
    QChartView* view_ = nullptr;
    QLabel* total_ = nullptr;
    QLabel* hover_ = nullptr;
    PlayChart shown_;
};

class QtStatementDialog final : public QDialog {
  public:
    QtStatementDialog(QWidget* owner, const std::vector<StatementClip>& clips,
                      const StatementForm& form);
    [[nodiscard]] StatementForm Form() const;
    [[nodiscard]] QComboBox& ClipChoice() { return *clip_; }

  private:
    QComboBox* clip_ = nullptr;
    QDateEdit* first_ = nullptr;
    QDateEdit* last_ = nullptr;
};

class QtPlayChartView final : public PlayChartView {
  public:
    void RunPlayChart(WindowId owner, const std::vector<std::uint32_t>& units, PlayChartForm& form,
                      const ChartOf& chartOf, const SaveChart& save) override;
    bool WriteChart(const PlayChart& chart, ChartStyle style, const std::string& path) override;
    bool ChooseStatement(WindowId owner, const std::vector<StatementClip>& clips,
                         StatementForm& form) override;
    bool WriteStatement(const ClipStatement& statement, const std::string& path) override;
};

}  // namespace vantic
