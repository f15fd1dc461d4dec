#pragma once

// The report-style list control on a QTreeWidget: one top-level item per
// row, no tree decoration, optional grid lines. Calls from a worker thread
// run on the user-interface thread while the worker waits, so the UI
// thread must keep pumping messages while a worker fills the list.

#include <QTreeWidget>
#include <vector>

#include "platform/list_control.h"

namespace vantic {

class QtListControl final : public QTreeWidget, public ListControl {
  public:
    explicit QtListControl(QWidget* parent = nullptr);
    ~QtListControl() override;

    // ColumnWidths
    [[nodiscard]] int ColumnWidth(int column) const override;
    void SetColumnWidth(int column, int width) override;

    // ListControl. Columns are only ever appended: an index other than the
    // column count is refused.
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
    // Sort and arrange in the model: the view lays out once, and the
    // selection and the current row follow their rows as whole ranges.
    void SortRows(const RowComparison& compare) override;
    void ArrangeRows(const std::vector<int>& order) override;
    void ShowSortIndicator(int column, bool ascending) override;
    void ShowStale(bool stale) override;
    // Only the rows whose flag changes are touched, and the view lays out once.
    void SetHiddenRows(const std::vector<bool>& hidden) override;
    // One selection of whole ranges, so the receiver hears of it once.
    void SelectExactly(const std::vector<bool>& selected) override;
    void FitColumns() override;
    void RunBatch(const std::function<void()>& batch) override;
    int AppendRows(const std::vector<RowData*>& data) override;
    void SetEvents(ListEvents* events) override;

    [[nodiscard]] bool GridLines() const { return gridLines_; }
    [[nodiscard]] bool Stale() const { return stale_; }
    // True when the cell's text does not fit its column (its tooltip then
    // shows the whole text).
    [[nodiscard]] bool CellIsCut(const QModelIndex& index) const;

  protected:
    void resizeEvent(QResizeEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    // Return or Enter on a selected row acts as a double-click on it.
    void keyPressEvent(QKeyEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

  private:
    class Row;
    [[nodiscard]] Row* RowAt(int row) const;
    [[nodiscard]] Row* NewRow(RowData* data) const;
    void NoteRowsChanged();
    // Runs change, which sets one cell of row; see the definition.
    template <class Change>
    void ChangeCell(int row, Change&& change);
    // Tells the view at once of the cells a batch changed so far.
    void FlushCellChanges();
    // Fits the columns while fitting_ holds.
    void FitNow();
    // The last column takes whatever width the others leave, never less
    // than the width it was given.
    void StretchLast();
    void OnSectionResized(int column, int newSize);
    // Runs call on the user-interface thread, waiting for it.
    template <class Call>
    auto OnUiThread(Call&& call) const;

    std::vector<ColumnAlign> aligns_;
    bool gridLines_ = false;
    bool stale_ = false;
    ListEvents* events_ = nullptr;
    bool rowsChangedPending_ = false;
    struct RowSpan {
        int first = 0;
        int last = -1;
        [[nodiscard]] bool Empty() const { return last < first; }
    };
    int batchDepth_ = 0;  // RunBatch calls under way
    RowSpan changed_;     // rows whose cells a batch changed unannounced
    bool fitting_ = false;
    bool fitPending_ = false;
    bool sizing_ = false;  // our own resizes, not the operator's
    int lastWidth_ = 0;    // the last column's width before stretching
    // The widths fitted so far: a fit only widens, so rows a filter hides
    // for a moment do not narrow the columns they need.
    std::vector<int> fitted_;
};

}  // namespace vantic
