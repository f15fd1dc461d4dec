#pragma once

// A report-style list control: columns with a title, width and alignment,
// and rows of cell texts. Each row carries one data object of the logic
// side; the control only stores the pointer and never deletes it (the list
// view that fills the control owns the objects). Row order in the control
// is the model's order.
//
// Any thread may call a list control; a realisation whose control belongs
// to the user-interface thread runs the call there and waits for it.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/geometry.h"

namespace vantic {

// The data object of a row.
class RowData {
  public:
    virtual ~RowData() = default;
};

// Row state bits. Other bits may be stored and read back as they are.
inline constexpr std::uint32_t kRowFocused = 0x1;
inline constexpr std::uint32_t kRowSelected = 0x2;
// The row is kept but not shown (a filter left it out); it is never selected.
inline constexpr std::uint32_t kRowHidden = 0x4;
inline constexpr std::uint32_t kAllRowState = 0xFFFFFFFFu;

enum class ColumnAlign { Left, Right };

// A coloured mark beside a cell's text, for a state read at a glance: Good
// green, Warning amber, Bad red, Idle grey.
enum class CellMark { None, Good, Warning, Bad, Idle };

// <0, 0 or >0, as the first row's data sorts before, with or after the second's.
using RowComparison = std::function<int(const RowData*, const RowData*)>;

// What the user does to a list; called on the user-interface thread.
class ListEvents {
  public:
    virtual ~ListEvents() = default;
    virtual void OnHeaderClicked(int /*column*/) {}
    // row is -1 when the double click hit no row.
    virtual void OnDoubleClicked(int /*row*/) {}
    virtual void OnSelectionChanged() {}
    virtual void OnFilesDropped(const std::vector<std::string>& /*paths*/) {}
    // Rows were inserted or deleted, by the user's program or a worker; a
    // realisation may report a burst of changes once, afterwards.
    virtual void OnRowsChanged() {}
};

// Whether order names each of rows rows exactly once.
[[nodiscard]] bool IsRowOrder(const std::vector<int>& order, int rows);

class ListControl : public ColumnWidths {
  public:
    // Adds a column at index (0 <= index <= ColumnCount()); false when refused.
    [[nodiscard]] virtual bool InsertColumn(int index, const std::string& title, int width,
                                            ColumnAlign align) = 0;
    [[nodiscard]] virtual int ColumnCount() const = 0;

    [[nodiscard]] virtual int RowCount() const = 0;
    // Inserts an empty row carrying data before row index (RowCount() or
    // more appends). The new row's index, or -1 when refused.
    [[nodiscard]] virtual int InsertRow(int index, RowData* data) = 0;
    // Removes a row; its data object is the caller's to release.
    virtual bool DeleteRow(int row) = 0;
    virtual void DeleteAllRows() = 0;
    // Null for a missing row.
    [[nodiscard]] virtual RowData* GetRowData(int row) const = 0;
    virtual void SetRowData(int row, RowData* data) = 0;

    [[nodiscard]] virtual std::string CellText(int row, int column) const = 0;
    virtual void SetCellText(int row, int column, const std::string& text) = 0;

    // The mark stays with the cell until set again; a control without marks
    // ignores it.
    virtual void SetCellMark(int /*row*/, int /*column*/, CellMark /*mark*/) {}

    [[nodiscard]] virtual std::uint32_t RowState(int row) const = 0;
    // Sets the bits of mask to those of state; other bits stay.
    virtual void SetRowState(int row, std::uint32_t state, std::uint32_t mask) = 0;
    // The first selected row after row after (-1 starts at the top), or -1.
    [[nodiscard]] virtual int NextSelected(int after) const = 0;
    [[nodiscard]] virtual int SelectedCount() const = 0;

    virtual void SetGridLines(bool on) = 0;
    virtual void SetFullRowSelect(bool on) = 0;
    virtual void EnsureVisible(int row) = 0;

    // Hides each row whose flag is set and shows the others (rows past the
    // end of hidden show); hiding a row deselects it. Hidden rows keep their
    // data and order, and their state moves with them.
    virtual void SetHiddenRows(const std::vector<bool>& hidden) {
        for (int row = 0; row < RowCount(); ++row) {
            const bool hide = row < static_cast<int>(hidden.size()) && hidden[row];
            SetRowState(row, hide ? kRowHidden : 0, hide ? kRowHidden | kRowSelected : kRowHidden);
        }
    }
    // Selects exactly the rows whose flag is set, in one step where the
    // control can.
    virtual void SelectExactly(const std::vector<bool>& selected) {
        for (int row = 0; row < RowCount(); ++row) {
            const bool on = row < static_cast<int>(selected.size()) && selected[row];
            SetRowState(row, on ? kRowSelected : 0, kRowSelected);
        }
    }

    // Reorders the rows by their data, keeping the order of rows that
    // compare equal; cells and state move with the rows.
    virtual void SortRows(const RowComparison& compare) = 0;
    // Puts the rows in the given order: the row order[i] becomes row i;
    // cells and state move with the rows. An order that does not name every
    // row exactly once is ignored. This default sorts by each row's data.
    virtual void ArrangeRows(const std::vector<int>& order);
    // Fits each column to its title and cells in the control's font, now
    // and again as rows arrive, until the operator resizes a column.
    virtual void FitColumns() {}
    // Shows in the header which column the rows are sorted by and which way.
    virtual void ShowSortIndicator(int /*column*/, bool /*ascending*/) {}
    // Shows every mark greyed while what the marks tell may no longer hold
    // (the rows could not be brought up to date); the marks stay as set.
    virtual void ShowStale(bool /*stale*/) {}

    // Runs batch so that the list calls it makes go straight to the control:
    // a realisation whose control belongs to the user-interface thread runs
    // the whole batch there in one call and waits for it.
    virtual void RunBatch(const std::function<void()>& batch) { batch(); }
    // Appends one empty row per data object, in order, in one step. The
    // number of rows added: the first ones, when the control refused the rest.
    virtual int AppendRows(const std::vector<RowData*>& data) {
        int added = 0;
        for (RowData* rowData : data) {
            if (InsertRow(RowCount(), rowData) < 0) {
                break;
            }
            ++added;
        }
        return added;
    }

    // Null stops the events. The control does not own the receiver.
    virtual void SetEvents(ListEvents* events) = 0;
};

}  // namespace vantic
