#pragma once

// WListView: a report-style list whose rows each own one data object. The
// rows live in the list control, in the model's order; the view takes over
// each row's data when the row is inserted and gives it to ReleaseRowData
// when the row goes, so every object is released exactly once.

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "framework/wreg.h"
#include "platform/list_control.h"
#include "platform/message_box.h"

namespace vantic {

// A list's rows and which of them are selected, as code that walks the
// rows reads them. Every index is 0-based.
class RowSelection {
  public:
    virtual ~RowSelection() = default;
    [[nodiscard]] virtual int ItemCount() const = 0;
    [[nodiscard]] virtual int SelectedCount() const = 0;
    [[nodiscard]] virtual bool IsSelected(int row) const = 0;
};

class WListView : public virtual RowSelection {
  public:
    // Passed to DeleteFirstRows to delete every row.
    static constexpr std::uint32_t kAllRows = 0xFFFFFFFFu;

    explicit WListView(MessageBoxes& messages);
    // Deletes every row. The rows' data reaches this class's ReleaseRowData
    // here, not an override: a derived class whose release does more than
    // destroy the object clears the list in its own destructor.
    ~WListView() override;
    WListView(const WListView&) = delete;
    WListView& operator=(const WListView&) = delete;

    // Frees a row's data object; the base lets it go.
    virtual void ReleaseRowData(std::unique_ptr<RowData> rowData);
    // Writes the row's cell texts from its data object; the base writes nothing.
    virtual void FillRow(int rowIndex, RowData* rowData);

    // Takes over control and the columns it already has.
    void Attach(ListControl* control);
    [[nodiscard]] ListControl* Control() const { return control_; }
    [[nodiscard]] int ColumnCount() const { return columnCount_; }
    // Adds a column after the last; false (and no new column) when refused.
    bool InsertColumn(std::string_view title, int width, bool rightAligned = false);

    [[nodiscard]] int ItemCount() const override;
    [[nodiscard]] int SelectedCount() const override;
    [[nodiscard]] bool IsSelected(int row) const override;
    [[nodiscard]] int FirstSelected() const;
    // Moves row to the next selected row after it (start with -1); false
    // when there is none.
    bool NextSelected(int& row) const;
    // With selectedOnly NextSelected, else the next row of all.
    bool NextRow(int& row, bool selectedOnly) const;

    [[nodiscard]] RowData* GetRowData(int row) const;
    template <class T>
    [[nodiscard]] T* RowAs(int row) const {
        return dynamic_cast<T*>(GetRowData(row));
    }
    // Puts data on the row and hands back what was there, unreleased (data
    // itself comes back when there is no such row).
    [[nodiscard]] std::unique_ptr<RowData> SetRowData(int row, std::unique_ptr<RowData> data);
    [[nodiscard]] std::unique_ptr<RowData> TakeRowData(int row) { return SetRowData(row, nullptr); }

    // Adds a row carrying data at the end, or with beforeSelection at the
    // first selected row when there is one, then fills it. The new index,
    // or -1 when the control refused (data is then released unfilled).
    int InsertRow(std::unique_ptr<RowData> data, bool beforeSelection = false);
    // Appends one row per data object in one step, then fills them. The
    // number of rows added; data the control refused is released unfilled.
    int AppendRows(std::vector<std::unique_ptr<RowData>> rows);
    // Every row's data object, in row order.
    [[nodiscard]] std::vector<RowData*> AllRowData() const;
    // Runs batch with the control's calls going straight to it, in one call
    // on the control's thread (see ListControl::RunBatch).
    void RunBatch(const std::function<void()>& batch);
    void DeleteRow(int row);
    // Deletes rows n-1 down to 0; more rows than there are deletes them all.
    void DeleteFirstRows(std::uint32_t n);
    // Deletes every row and forgets the control.
    void Clear();
    // Deletes the selected rows, last first. With an owner it first asks a
    // Yes/No question (default text and caption when none are given).
    void DeleteSelected(WindowId owner, std::optional<std::string_view> text = std::nullopt,
                        std::optional<std::string_view> caption = std::nullopt);

    // Exchanges two rows' data, cells and state bits.
    void SwapRows(int a, int b);
    // Moves the selected rows one up (down). A block touching the top
    // (bottom) stays. The row count when there are fewer than two rows,
    // 0 when nothing moved, else 1.
    int MoveSelectedUp();
    int MoveSelectedDown();
    void DeselectAll();
    void SelectRow(int row, bool on);
    // See ListControl::SetHiddenRows and ListControl::SelectExactly.
    void SetHiddenRows(const std::vector<bool>& hidden);
    void SelectExactly(const std::vector<bool>& selected);
    // Writes 1, 2, 3... into column.
    void NumberColumn(int column);
    void SortRows(const RowComparison& compare);
    // See ListControl::ArrangeRows.
    void ArrangeRows(const std::vector<int>& order);

    // The widths are kept in the settings store under "<name>_col<i>".
    void SaveColumnWidths(std::string_view name, WReg& store);
    void LoadColumnWidths(std::string_view name, WReg& store);

  private:
    void ReleaseRowOf(int row);

    MessageBoxes& messages_;
    ListControl* control_ = nullptr;
    int columnCount_ = 0;
};

}  // namespace vantic
