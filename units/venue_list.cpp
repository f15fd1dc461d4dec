#include "units/venue_list.h"

#include <algorithm>
#include <cstdlib>

namespace vantic {

VenueList::VenueList(MessageBoxes& messages, WindowSystem& windows, Clock& clock,
                     LoginSettings& login)
    : WListView(messages),
      messages_(messages),
      clock_(clock),
      login_(login),
      lock_(std::make_shared<VenueLock>(windows)) {}

VenueList::VenueList(Platform& platform, LoginSettings& login)
    : VenueList(platform.Messages(), platform.Windows(), platform.Time(), login) {}

VenueList::~VenueList() {
    VenueLockHold hold(*lock_);
    lock_->Retire();
    WListView::Clear();
}

void VenueList::FillRow(int row, RowData* rowData) {
    const auto* record = dynamic_cast<const UnitRecord*>(rowData);
    if (record == nullptr || Control() == nullptr) {
        return;
    }
    for (int column = 0; column < ColumnCount(); ++column) {
        Control()->SetCellText(row, column, std::string(record->Field(column)));
    }
    if (kStatusField < ColumnCount()) {
        Control()->SetCellMark(row, kStatusField, StatusMark(record->Field(kStatusField)));
    }
}

void VenueList::SetupColumns(ListControl* control, WReg& store) {
    Attach(control);
    if (control == nullptr) {
        return;
    }
    control->SetGridLines(true);
    control->SetFullRowSelect(true);
    for (std::size_t column = static_cast<std::size_t>(ColumnCount()); column < kUnitColumns.size();
         ++column) {
        InsertColumn(kUnitColumns[column].title, kUnitColumns[column].width);
    }
    LoadColumnWidths(kVenueWidthsName, store);
    VenueLockHold hold(*lock_);
    control->ShowStale(refresh_.Stale());
}

void VenueList::Clear() {
    VenueLockHold hold(*lock_);
    WListView::Clear();
}

std::uint32_t VenueList::UnitNumberAt(int row) {
    VenueLockHold hold(*lock_);
    const UnitRecord* record = RecordAt(row);
    return record == nullptr ? 0 : record->Number();
}

bool VenueList::FindUnit(std::uint32_t number, int& row) {
    VenueLockHold hold(*lock_);
    const int count = ItemCount();
    for (int at = 0; at < count; ++at) {
        if (UnitNumberAt(at) == number) {
            row = at;
            return true;
        }
    }
    return false;
}

void VenueList::SelectOnlyUnit(std::uint32_t number) {
    VenueLockHold hold(*lock_);
    DeselectAll();
    int row = -1;
    if (FindUnit(number, row)) {
        SelectRow(row, true);
    }
}

void VenueList::SortByColumn(int column) {
    if (lock_->UiWaiting()) {
        return;  // a click dispatched inside a wait; it would sort nested in it
    }
    VenueLockHold hold(*lock_);
    sortKey_ = NextSortKey(sortKey_, column);
    ArrangeBySortKey();
}

// The order is worked out from the records' keys, read once each, and the
// control moves its rows into it in one step.
void VenueList::ArrangeBySortKey() {
    ArrangeRows(SortedUnitOrder(Records(), sortKey_));
    if (Control() != nullptr) {
        Control()->ShowSortIndicator(std::abs(sortKey_) - 1, sortKey_ > 0);
    }
}

std::vector<const UnitRecord*> VenueList::Records() const {
    std::vector<const UnitRecord*> records;
    for (const RowData* data : AllRowData()) {
        records.push_back(dynamic_cast<const UnitRecord*>(data));
    }
    return records;
}

std::vector<bool> VenueList::ShownRows() const {
    return filter_.MatchAll(Records());
}

void VenueList::ApplyFilter() {
    std::vector<bool> hidden = ShownRows();
    hidden.flip();
    SetHiddenRows(hidden);
}

bool VenueList::SetFilter(UnitFilter filter) {
    if (lock_->UiWaiting()) {
        return false;
    }
    VenueLockHold hold(*lock_);
    filter_ = std::move(filter);
    ApplyFilter();
    return true;
}

int VenueList::HiddenCount() {
    VenueLockHold hold(*lock_);
    if (filter_.Empty()) {
        return 0;
    }
    const std::vector<bool> shown = ShownRows();
    return static_cast<int>(std::count(shown.begin(), shown.end(), false));
}

void VenueList::SelectShown() {
    VenueLockHold hold(*lock_);
    SelectExactly(ShownRows());
}

StatusCounts VenueList::CountStatuses() {
    VenueLockHold hold(*lock_);
    return vantic::CountStatuses(Records());
}

}  // namespace vantic
