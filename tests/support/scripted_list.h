#pragma once

// A list control in memory, for tests of list views. Safe to call from
// several threads.

#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include "platform/list_control.h"

namespace vantic::testing {

class ScriptedListControl final : public ListControl {
  public:
    struct Column {
        std::string title;
        int width = 0;
        ColumnAlign align = ColumnAlign::Left;
    };

    // ColumnWidths
    [[nodiscard]] int ColumnWidth(int column) const override;
    void SetColumnWidth(int column, int width) override;

    // ListControl
    [[nodiscard]] bool InsertColumn(int index, const std::string& title, int width,
                                    ColumnAlign align) override;
    [[nodiscard]] int ColumnCount() const override;
    [[nodiscard]] int RowCount() const override;
    [[nodiscard]] int InsertRow(int index, RowData* data) override;
    bool DeleteRow(int row) override;
    void DeleteAllRows() override;
    [[nodiscard]] RowData* GetRowData(int row) const override;
    void SetRowData(int row, RowData* data) override;
    [[nodiscard]] std::string CellText(int row, int column) const override;
    void SetCellText(int row, int column, const std::string& text) override;
    void SetCellMark(int row, int column, CellMark mark) override;
    [[nodiscard]] std::uint32_t RowState(int row) const override;
    void SetRowState(int row, std::uint32_t state, std::uint32_t mask) override;
    [[nodiscard]] int NextSelected(int after) const override;
    [[nodiscard]] int SelectedCount() const override;
    void SetGridLines(bool on) override;
    void SetFullRowSelect(bool on) override;
    void EnsureVisible(int row) override;
    void SortRows(const RowComparison& compare) override;
    void ArrangeRows(const std::vector<int>& order) override;
    void ShowSortIndicator(int column, bool ascending) override;
    void ShowStale(bool stale) override;
    void FitColumns() override;
    void SetEvents(ListEvents* events) override;

    // Script and inspection.
    void RefuseColumns(bool refuse);
    void RefuseRows(bool refuse);
    [[nodiscard]] std::vector<Column> Columns() const;
    [[nodiscard]] bool GridLines() const;
    [[nodiscard]] bool FullRowSelect() const;
    [[nodiscard]] int LastEnsuredVisible() const;
    [[nodiscard]] CellMark Mark(int row, int column) const;
    [[nodiscard]] int FitCount() const;
    // The column the header marks as sorted (-1: none), and its direction.
    [[nodiscard]] std::pair<int, bool> SortIndicator() const;
    // Whether the marks show greyed.
    [[nodiscard]] bool Stale() const;
    // How many times every row went at once.
    [[nodiscard]] int DeleteAllCount() const;
    // The user's actions, delivered to the events receiver.
    void ClickHeader(int column);
    void DoubleClick(int row);
    void DropFiles(const std::vector<std::string>& paths);
    // The user clicks a row: it alone is selected, and the receiver hears.
    void ClickRow(int row);

  private:
    struct Row {
        RowData* data = nullptr;
        std::uint32_t state = 0;
        std::vector<std::string> cells;
        std::vector<CellMark> marks = {};
    };
    [[nodiscard]] bool ValidRow(int row) const;

    mutable std::recursive_mutex mutex_;
    std::vector<Column> columns_;
    std::vector<Row> rows_;
    bool refuseColumns_ = false;
    bool refuseRows_ = false;
    bool gridLines_ = false;
    bool fullRowSelect_ = false;
    int lastEnsured_ = -1;
    std::pair<int, bool> sortIndicator_{-1, true};
    bool stale_ = false;
    int fits_ = 0;
    int deleteAllCount_ = 0;
    ListEvents* events_ = nullptr;
};

}  // namespace vantic::testing
