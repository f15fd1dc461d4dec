#include "tests/support/scripted_list.h"

#include <algorithm>

namespace vantic::testing {

using Lock = std::lock_guard<std::recursive_mutex>;

bool ScriptedListControl::ValidRow(int row) const {
    return row >= 0 && row < static_cast<int>(rows_.size());
}

int ScriptedListControl::ColumnWidth(int column) const {
    Lock lock(mutex_);
    if (column < 0 || column >= static_cast<int>(columns_.size())) {
        return 0;
    }
    return columns_[column].width;
}

void ScriptedListControl::SetColumnWidth(int column, int width) {
    Lock lock(mutex_);
    if (column >= 0 && column < static_cast<int>(columns_.size())) {
        columns_[column].width = width;
    }
}

bool ScriptedListControl::InsertColumn(int index, const std::string& title, int width,
                                       ColumnAlign align) {
    Lock lock(mutex_);
    if (refuseColumns_ || index < 0 || index > static_cast<int>(columns_.size())) {
        return false;
    }
    columns_.insert(columns_.begin() + index, Column{title, width, align});
    for (Row& row : rows_) {
        if (index <= static_cast<int>(row.cells.size())) {
            row.cells.insert(row.cells.begin() + index, std::string());
        }
    }
    return true;
}

int ScriptedListControl::ColumnCount() const {
    Lock lock(mutex_);
    return static_cast<int>(columns_.size());
}

int ScriptedListControl::RowCount() const {
    Lock lock(mutex_);
    return static_cast<int>(rows_.size());
}

int ScriptedListControl::InsertRow(int index, RowData* data) {
    Lock lock(mutex_);
    if (refuseRows_) {
        return -1;
    }
    const int count = static_cast<int>(rows_.size());
    index = std::clamp(index, 0, count);
    rows_.insert(rows_.begin() + index, Row{data, 0, std::vector<std::string>(columns_.size())});
    return index;
}

bool ScriptedListControl::DeleteRow(int row) {
    Lock lock(mutex_);
    if (!ValidRow(row)) {
        return false;
    }
    rows_.erase(rows_.begin() + row);
    return true;
}

void ScriptedListControl::DeleteAllRows() {
    Lock lock(mutex_);
    rows_.clear();
    ++deleteAllCount_;
}

RowData* ScriptedListControl::GetRowData(int row) const {
    Lock lock(mutex_);
    return ValidRow(row) ? rows_[row].data : nullptr;
}

void ScriptedListControl::SetRowData(int row, RowData* data) {
    Lock lock(mutex_);
    if (ValidRow(row)) {
        rows_[row].data = data;
    }
}

std::string ScriptedListControl::CellText(int row, int column) const {
    Lock lock(mutex_);
    if (!ValidRow(row) || column < 0 || column >= static_cast<int>(rows_[row].cells.size())) {
        return {};
    }
    return rows_[row].cells[column];
}

void ScriptedListControl::SetCellText(int row, int column, const std::string& text) {
    Lock lock(mutex_);
    if (ValidRow(row) && column >= 0 && column < static_cast<int>(rows_[row].cells.size())) {
        rows_[row].cells[column] = text;
    }
}

void ScriptedListControl::SetCellMark(int row, int column, CellMark mark) {
    Lock lock(mutex_);
    if (ValidRow(row) && column >= 0 && column < static_cast<int>(rows_[row].cells.size())) {
        rows_[row].marks.resize(rows_[row].cells.size(), CellMark::None);
        rows_[row].marks[column] = mark;
    }
}

CellMark ScriptedListControl::Mark(int row, int column) const {
    Lock lock(mutex_);
    if (!ValidRow(row) || column < 0 || column >= static_cast<int>(rows_[row].marks.size())) {
        return CellMark::None;
    }
    return rows_[row].marks[column];
}

void ScriptedListControl::ShowSortIndicator(int column, bool ascending) {
    Lock lock(mutex_);
    sortIndicator_ = {column, ascending};
}

void ScriptedListControl::ShowStale(bool stale) {
    Lock lock(mutex_);
    stale_ = stale;
}

void ScriptedListControl::FitColumns() {
    Lock lock(mutex_);
    ++fits_;
}

int ScriptedListControl::FitCount() const {
    Lock lock(mutex_);
    return fits_;
}

std::pair<int, bool> ScriptedListControl::SortIndicator() const {
    Lock lock(mutex_);
    return sortIndicator_;
}

bool ScriptedListControl::Stale() const {
    Lock lock(mutex_);
    return stale_;
}

std::uint32_t ScriptedListControl::RowState(int row) const {
    Lock lock(mutex_);
    return ValidRow(row) ? rows_[row].state : 0;
}

void ScriptedListControl::SetRowState(int row, std::uint32_t state, std::uint32_t mask) {
    Lock lock(mutex_);
    if (ValidRow(row)) {
        rows_[row].state = (rows_[row].state & ~mask) | (state & mask);
    }
}

int ScriptedListControl::NextSelected(int after) const {
    Lock lock(mutex_);
    for (int row = std::max(after + 1, 0); row < static_cast<int>(rows_.size()); ++row) {
        if (rows_[row].state & kRowSelected) {
            return row;
        }
    }
    return -1;
}

int ScriptedListControl::SelectedCount() const {
    Lock lock(mutex_);
    return static_cast<int>(std::count_if(rows_.begin(), rows_.end(), [](const Row& row) {
        return (row.state & kRowSelected) != 0;
    }));
}

void ScriptedListControl::SetGridLines(bool on) {
    Lock lock(mutex_);
    gridLines_ = on;
}

void ScriptedListControl::SetFullRowSelect(bool on) {
    Lock lock(mutex_);
    fullRowSelect_ = on;
}

void ScriptedListControl::EnsureVisible(int row) {
    Lock lock(mutex_);
    lastEnsured_ = row;
}

void ScriptedListControl::SortRows(const RowComparison& compare) {
    Lock lock(mutex_);
    std::stable_sort(rows_.begin(), rows_.end(), [&compare](const Row& a, const Row& b) {
        return compare(a.data, b.data) < 0;
    });
}

void ScriptedListControl::ArrangeRows(const std::vector<int>& order) {
    Lock lock(mutex_);
    if (!IsRowOrder(order, static_cast<int>(rows_.size()))) {
        return;
    }
    std::vector<Row> arranged;
    arranged.reserve(rows_.size());
    for (int row : order) {
        arranged.push_back(std::move(rows_[static_cast<std::size_t>(row)]));
    }
    rows_ = std::move(arranged);
}

void ScriptedListControl::SetEvents(ListEvents* events) {
    Lock lock(mutex_);
    events_ = events;
}

void ScriptedListControl::RefuseColumns(bool refuse) {
    Lock lock(mutex_);
    refuseColumns_ = refuse;
}

void ScriptedListControl::RefuseRows(bool refuse) {
    Lock lock(mutex_);
    refuseRows_ = refuse;
}

std::vector<ScriptedListControl::Column> ScriptedListControl::Columns() const {
    Lock lock(mutex_);
    return columns_;
}

bool ScriptedListControl::GridLines() const {
    Lock lock(mutex_);
    return gridLines_;
}

bool ScriptedListControl::FullRowSelect() const {
    Lock lock(mutex_);
    return fullRowSelect_;
}

int ScriptedListControl::LastEnsuredVisible() const {
    Lock lock(mutex_);
    return lastEnsured_;
}

int ScriptedListControl::DeleteAllCount() const {
    Lock lock(mutex_);
    return deleteAllCount_;
}

void ScriptedListControl::ClickHeader(int column) {
    ListEvents* events = nullptr;
    {
        Lock lock(mutex_);
        events = events_;
    }
    if (events != nullptr) {
        events->OnHeaderClicked(column);
    }
}

void ScriptedListControl::DoubleClick(int row) {
    ListEvents* events = nullptr;
    int hit = -1;
    {
        Lock lock(mutex_);
        events = events_;
        hit = ValidRow(row) ? row : -1;
    }
    if (events != nullptr) {
        events->OnDoubleClicked(hit);
    }
}

void ScriptedListControl::DropFiles(const std::vector<std::string>& paths) {
    ListEvents* events = nullptr;
    {
        Lock lock(mutex_);
        events = events_;
    }
    if (events != nullptr) {
        events->OnFilesDropped(paths);
    }
}

void ScriptedListControl::ClickRow(int row) {
    ListEvents* events = nullptr;
    {
        Lock lock(mutex_);
        for (int i = 0; i < static_cast<int>(rows_.size()); ++i) {
            auto& state = rows_[static_cast<std::size_t>(i)].state;
            state = i == row ? (state | kRowSelected) : (state & ~kRowSelected);
        }
        events = events_;
    }
    if (events != nullptr) {
        events->OnSelectionChanged();
    }
}

}  // namespace vantic::testing
