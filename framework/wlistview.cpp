#include "framework/wlistview.h"

#include <algorithm>
#include <limits>

#include "core/cpstring.h"

namespace vantic {

namespace {

constexpr std::string_view kDeleteQuestion = "Are you sure you want to delete the selected items?";
constexpr std::string_view kDeleteCaption = "PERMANENT DELETE";

}  // namespace

WListView::WListView(MessageBoxes& messages) : messages_(messages) {}

WListView::~WListView() {
    Clear();
}

void WListView::ReleaseRowData(std::unique_ptr<RowData> /*rowData*/) {}

void WListView::FillRow(int /*rowIndex*/, RowData* /*rowData*/) {}

void WListView::Attach(ListControl* control) {
    control_ = control;
    // A control attached again (the program went on after a close) keeps
    // the columns it was given; they are adopted, not added twice.
    columnCount_ = control == nullptr ? 0 : std::max(0, control->ColumnCount());
}

bool WListView::InsertColumn(std::string_view title, int width, bool rightAligned) {
    if (control_ == nullptr) {
        return false;
    }
    const ColumnAlign align = rightAligned ? ColumnAlign::Right : ColumnAlign::Left;
    if (!control_->InsertColumn(columnCount_, std::string(title), width, align)) {
        return false;
    }
    ++columnCount_;
    return true;
}

int WListView::ItemCount() const {
    return control_ == nullptr ? 0 : std::max(0, control_->RowCount());
}

int WListView::SelectedCount() const {
    return control_ == nullptr ? 0 : std::max(0, control_->SelectedCount());
}

bool WListView::IsSelected(int row) const {
    return control_ != nullptr && (control_->RowState(row) & kRowSelected) != 0;
}

int WListView::FirstSelected() const {
    return control_ == nullptr ? -1 : control_->NextSelected(-1);
}

bool WListView::NextSelected(int& row) const {
    row = control_ == nullptr ? -1 : control_->NextSelected(row);
    return row >= 0;
}

bool WListView::NextRow(int& row, bool selectedOnly) const {
    if (selectedOnly) {
        return NextSelected(row);
    }
    if (row < 0) {
        row = -1;
    }
    ++row;
    return row < ItemCount();
}

RowData* WListView::GetRowData(int row) const {
    return control_ == nullptr ? nullptr : control_->GetRowData(row);
}

std::unique_ptr<RowData> WListView::SetRowData(int row, std::unique_ptr<RowData> data) {
    if (control_ == nullptr || row < 0 || row >= ItemCount()) {
        return data;
    }
    std::unique_ptr<RowData> old(control_->GetRowData(row));
    control_->SetRowData(row, data.release());
    return old;
}

int WListView::InsertRow(std::unique_ptr<RowData> data, bool beforeSelection) {
    if (control_ == nullptr) {
        return -1;
    }
    int index = ItemCount();
    if (beforeSelection) {
        const int selected = FirstSelected();
        if (selected >= 0) {
            index = selected;
        }
    }
    const int inserted = control_->InsertRow(index, data.get());
    if (inserted < 0) {
        return -1;
    }
    RowData* rowData = data.release();  // the row owns it now
    FillRow(inserted, rowData);
    return inserted;
}

int WListView::AppendRows(std::vector<std::unique_ptr<RowData>> rows) {
    if (control_ == nullptr || rows.empty()) {
        return 0;
    }
    std::vector<RowData*> data;
    data.reserve(rows.size());
    for (const auto& row : rows) {
        data.push_back(row.get());
    }
    int first = 0;
    int added = 0;
    RunBatch([&] {
        first = ItemCount();
        added = control_->AppendRows(data);
        for (int at = 0; at < added; ++at) {
            FillRow(first + at, rows[static_cast<std::size_t>(at)].release());  // the row owns it
        }
    });
    return added;
}

std::vector<RowData*> WListView::AllRowData() const {
    std::vector<RowData*> data;
    if (control_ == nullptr) {
        return data;
    }
    control_->RunBatch([&] {
        const int count = ItemCount();
        data.reserve(static_cast<std::size_t>(count));
        for (int row = 0; row < count; ++row) {
            data.push_back(control_->GetRowData(row));
        }
    });
    return data;
}

void WListView::RunBatch(const std::function<void()>& batch) {
    if (control_ != nullptr) {
        control_->RunBatch(batch);
    }
}

// The row's data leaves the control before it is released, so nothing can
// reach a freed object through the row.
void WListView::ReleaseRowOf(int row) {
    ReleaseRowData(TakeRowData(row));
}

void WListView::DeleteRow(int row) {
    if (control_ == nullptr || row < 0 || row >= ItemCount()) {
        return;
    }
    ReleaseRowOf(row);
    control_->DeleteRow(row);
}

void WListView::DeleteFirstRows(std::uint32_t n) {
    if (control_ == nullptr) {
        return;
    }
    control_->EnsureVisible(0);
    const int count = ItemCount();
    if (n > static_cast<std::uint32_t>(count)) {
        for (int row = count - 1; row >= 0; --row) {
            ReleaseRowOf(row);
        }
        control_->DeleteAllRows();
        return;
    }
    for (int row = static_cast<int>(n) - 1; row >= 0; --row) {
        DeleteRow(row);
    }
}

void WListView::Clear() {
    if (control_ == nullptr) {
        return;
    }
    DeleteFirstRows(kAllRows);
    control_ = nullptr;
}

void WListView::DeleteSelected(WindowId owner, std::optional<std::string_view> text,
                               std::optional<std::string_view> caption) {
    if (SelectedCount() == 0) {
        return;
    }
    if (owner != kNoWindow) {
        Message question{owner, std::string(text.value_or(kDeleteQuestion)),
                         std::string(caption.value_or(kDeleteCaption)), MessageIcon::Warning,
                         MessageButtons::YesNo};
        question.noIsDefault = true;
        if (messages_.Show(question) != MessageAnswer::Yes) {
            return;
        }
    }
    for (int row = ItemCount() - 1; row >= 0; --row) {
        if (IsSelected(row)) {
            DeleteRow(row);
        }
    }
}

void WListView::SwapRows(int a, int b) {
    if (control_ == nullptr) {
        return;
    }
    RowData* dataA = control_->GetRowData(a);
    RowData* dataB = control_->GetRowData(b);
    control_->SetRowData(a, dataB);
    control_->SetRowData(b, dataA);
    FillRow(b, dataA);
    FillRow(a, dataB);
    const std::uint32_t stateA = control_->RowState(a);
    const std::uint32_t stateB = control_->RowState(b);
    control_->SetRowState(a, stateB, kAllRowState);
    control_->SetRowState(b, stateA, kAllRowState);
}

int WListView::MoveSelectedUp() {
    const int count = ItemCount();
    if (count < 2) {
        return count;
    }
    if (SelectedCount() == 0 || IsSelected(0)) {
        return 0;
    }
    for (int row = 0; row <= count - 2; ++row) {
        if (!IsSelected(row) && IsSelected(row + 1)) {
            SwapRows(row, row + 1);
        }
    }
    return 1;
}

int WListView::MoveSelectedDown() {
    const int count = ItemCount();
    if (count < 2) {
        return count;
    }
    if (SelectedCount() == 0 || IsSelected(count - 1)) {
        return 0;
    }
    for (int row = count - 1; row >= 1; --row) {
        if (!IsSelected(row) && IsSelected(row - 1)) {
            SwapRows(row, row - 1);
        }
    }
    return 1;
}

void WListView::DeselectAll() {
    for (int row = -1; NextSelected(row);) {
        control_->SetRowState(row, 0, kRowSelected);
    }
}

void WListView::SelectRow(int row, bool on) {
    if (control_ != nullptr) {
        control_->SetRowState(row, on ? kRowSelected : 0, kRowSelected);
    }
}

void WListView::SetHiddenRows(const std::vector<bool>& hidden) {
    if (control_ != nullptr) {
        control_->SetHiddenRows(hidden);
    }
}

void WListView::SelectExactly(const std::vector<bool>& selected) {
    if (control_ != nullptr) {
        control_->SelectExactly(selected);
    }
}

void WListView::NumberColumn(int column) {
    const int count = ItemCount();
    for (int row = 0; row < count; ++row) {
        control_->SetCellText(row, column, std::to_string(row + 1));
    }
}

void WListView::SortRows(const RowComparison& compare) {
    if (control_ != nullptr) {
        control_->SortRows(compare);
    }
}

void WListView::ArrangeRows(const std::vector<int>& order) {
    if (control_ != nullptr) {
        control_->ArrangeRows(order);
    }
}

void WListView::SaveColumnWidths(std::string_view name, WReg& store) {
    if (control_ != nullptr) {
        store.StoreColumnWidths(name, *control_, columnCount_);
    }
}

// Widths the operator never set start from what the titles and cells need,
// not from fixed numbers that cut them.
void WListView::LoadColumnWidths(std::string_view name, WReg& store) {
    if (control_ == nullptr) {
        return;
    }
    constexpr int kUnset = std::numeric_limits<int>::min();
    const std::string prefix(name);
    for (int column = 0; column < columnCount_; ++column) {
        if (store.GetInt(FormatNew("%s_col%d", prefix.c_str(), column), kUnset) != kUnset) {
            store.ApplyColumnWidths(name, *control_, columnCount_);
            return;
        }
    }
    control_->FitColumns();
}

}  // namespace vantic
