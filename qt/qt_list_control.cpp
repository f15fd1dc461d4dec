#include "qt/qt_list_control.h"

#include <QApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QHeaderView>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QSignalBlocker>
#include <QStyledItemDelegate>
#include <QToolTip>
#include <QUrl>
#include <algorithm>
#include <map>
#include <utility>

#include "qt/qt_text.h"
#include "qt/qt_window.h"

namespace vantic {

// A row: the item carries the row's data object and the state bits that
// Qt has no place for (selection and focus live in Qt's own state).
class QtListControl::Row final : public QTreeWidgetItem {
  public:
    explicit Row(RowData* rowData) : QTreeWidgetItem(UserType), data(rowData) {}

    // The model sorts by the places ArrangeRows gives the rows.
    bool operator<(const QTreeWidgetItem& other) const override {
        if (other.type() != UserType) {
            return QTreeWidgetItem::operator<(other);
        }
        return place < static_cast<const Row&>(other).place;
    }
    RowData* data = nullptr;
    std::uint32_t otherState = 0;
    int place = 0;  // the row's place in the order being arranged
};

namespace {

constexpr std::uint32_t kQtState = kRowSelected | kRowFocused;

// Draws the cells as usual, then the grid when the list shows one.
class GridDelegate final : public QStyledItemDelegate {
  public:
    explicit GridDelegate(QtListControl* list) : QStyledItemDelegate(list), list_(list) {}

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        QStyledItemDelegate::paint(painter, option, index);
        if (!list_->GridLines()) {
            return;
        }
        painter->save();
        painter->setPen(option.palette.color(QPalette::Midlight));
        const QRect cell = option.rect;
        painter->drawLine(cell.bottomLeft(), cell.bottomRight());
        painter->drawLine(cell.topRight(), cell.bottomRight());
        painter->restore();
    }
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        return QStyledItemDelegate::sizeHint(option, index) + QSize(0, 2);
    }
    // The marks of a stale list are drawn greyed (as the style greys a
    // disabled icon), each keeping its own shade.
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override {
        QStyledItemDelegate::initStyleOption(option, index);
        if (list_->Stale() && !option->icon.isNull()) {
            option->icon = QIcon(option->icon.pixmap(option->decorationSize, QIcon::Disabled));
        }
    }
    // A cut cell shows its whole text as a tooltip.
    bool helpEvent(QHelpEvent* event, QAbstractItemView* view, const QStyleOptionViewItem& option,
                   const QModelIndex& index) override {
        if (event->type() != QEvent::ToolTip || !list_->CellIsCut(index)) {
            QToolTip::hideText();
            return QStyledItemDelegate::helpEvent(event, view, option, index);
        }
        QToolTip::showText(event->globalPos(), index.data(Qt::DisplayRole).toString(), view,
                           option.rect);
        return true;
    }

  private:
    QtListControl* list_;
};

// A round dot in the mark's colour, as high as the text.
QIcon DrawMark(CellMark mark, int size) {
    QColor colour;
    switch (mark) {
        case CellMark::Good:
            colour = QColor(0x2e, 0x9d, 0x3a);
            break;
        case CellMark::Warning:
            colour = QColor(0xe8, 0xa2, 0x00);
            break;
        case CellMark::Bad:
            colour = QColor(0xd0, 0x30, 0x30);
            break;
        case CellMark::Idle:
            colour = QColor(0x9a, 0x9a, 0x9a);
            break;
        case CellMark::None:
            return {};
    }
    // Drawn for ordinary and for high-density screens, so a scaled screen
    // shows a sharp dot rather than an enlarged blur.
    QIcon icon;
    for (const int ratio : {1, 2, 3}) {
        QPixmap dot(size * ratio, size * ratio);
        dot.setDevicePixelRatio(ratio);
        dot.fill(Qt::transparent);
        QPainter painter(&dot);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(colour.darker(130));
        painter.setBrush(colour);
        painter.drawEllipse(QRectF(1, 1, size - 2, size - 2));
        painter.end();
        icon.addPixmap(dot);
    }
    return icon;
}

// The dots are drawn once per size; a list of thousands of units shares them.
QIcon MarkIcon(CellMark mark, int size) {
    static std::map<std::pair<int, int>, QIcon> drawn;
    const std::pair key{static_cast<int>(mark), size};
    auto found = drawn.find(key);
    if (found == drawn.end()) {
        found = drawn.emplace(key, DrawMark(mark, size)).first;
    }
    return found->second;
}

Qt::Alignment AlignmentOf(ColumnAlign align) {
    return (align == ColumnAlign::Right ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter;
}

}  // namespace

template <class Call>
auto QtListControl::OnUiThread(Call&& call) const {
    return RunOnThreadOf(const_cast<QtListControl*>(this), std::forward<Call>(call));
}

// Inside a batch the model keeps quiet about each cell: every cell's own
// notice makes the view look its row up and repaint it, and a batch may
// touch every cell of ten thousand rows. The rows touched are announced
// together when the batch ends, or before the rows themselves change.
template <class Change>
void QtListControl::ChangeCell(int row, Change&& change) {
    if (batchDepth_ == 0) {
        change();
        return;
    }
    {
        const QSignalBlocker quiet(model());
        change();
    }
    changed_.first = changed_.Empty() ? row : std::min(changed_.first, row);
    changed_.last = std::max(changed_.last, row);
}

QtListControl::QtListControl(QWidget* parent) : QTreeWidget(parent) {
    setColumnCount(0);
    setRootIsDecorated(false);
    setItemsExpandable(false);
    setUniformRowHeights(true);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setAllColumnsShowFocus(true);
    setItemDelegate(new GridDelegate(this));
    header()->setStretchLastSection(false);
    header()->setSectionsClickable(true);
    header()->setSectionsMovable(false);
    header()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    connect(header(), &QHeaderView::sectionResized, this,
            [this](int column, int, int newSize) { OnSectionResized(column, newSize); });
    connect(model(), &QAbstractItemModel::dataChanged, this, [this] {
        if (fitting_ && !fitPending_) {
            fitPending_ = true;
            QMetaObject::invokeMethod(
                this, [this] { FitNow(); }, Qt::QueuedConnection);
        }
    });
    setAcceptDrops(true);
    viewport()->setAcceptDrops(true);
    connect(header(), &QHeaderView::sectionClicked, this, [this](int column) {
        if (events_ != nullptr) {
            events_->OnHeaderClicked(column);
        }
    });
    // Rows come and go in bursts (a refresh, a channel switch); the
    // receiver hears of a burst once, when the loop next runs.
    for (auto signal : {&QAbstractItemModel::rowsInserted, &QAbstractItemModel::rowsRemoved}) {
        connect(model(), signal, this, [this] { NoteRowsChanged(); });
    }
    connect(model(), &QAbstractItemModel::modelReset, this, [this] { NoteRowsChanged(); });
    connect(this, &QTreeWidget::itemSelectionChanged, this, [this] {
        if (events_ != nullptr) {
            events_->OnSelectionChanged();
        }
    });
}

QtListControl::~QtListControl() {
    events_ = nullptr;
    // The model empties itself after this part of the object is gone.
    disconnect(model(), nullptr, this, nullptr);
}

QtListControl::Row* QtListControl::RowAt(int row) const {
    if (row < 0 || row >= topLevelItemCount()) {
        return nullptr;
    }
    return static_cast<Row*>(topLevelItem(row));
}

int QtListControl::ColumnWidth(int column) const {
    return OnUiThread([&] {
        if (column < 0 || column >= columnCount()) {
            return 0;
        }
        return column == columnCount() - 1 ? lastWidth_ : header()->sectionSize(column);
    });
}

void QtListControl::SetColumnWidth(int column, int width) {
    OnUiThread([&] {
        if (column >= 0 && column < columnCount()) {
            sizing_ = true;
            header()->resizeSection(column, width);
            sizing_ = false;
            if (column == columnCount() - 1) {
                lastWidth_ = width;
            }
            StretchLast();
        }
    });
}

bool QtListControl::InsertColumn(int index, const std::string& title, int width,
                                 ColumnAlign align) {
    return OnUiThread([&] {
        if (index != columnCount()) {
            return false;
        }
        if (index > 0) {  // the last column so far stops stretching
            sizing_ = true;
            header()->resizeSection(index - 1, lastWidth_);
            sizing_ = false;
        }
        setColumnCount(index + 1);
        aligns_.push_back(align);
        QTreeWidgetItem* head = headerItem();
        head->setText(index, FromText(title));
        head->setTextAlignment(index, AlignmentOf(align));
        sizing_ = true;
        header()->resizeSection(index, width);
        sizing_ = false;
        lastWidth_ = width;
        StretchLast();
        return true;
    });
}

int QtListControl::ColumnCount() const {
    return OnUiThread([&] { return columnCount(); });
}

int QtListControl::RowCount() const {
    return OnUiThread([&] { return topLevelItemCount(); });
}

int QtListControl::InsertRow(int index, RowData* data) {
    return OnUiThread([&] {
        FlushCellChanges();
        const int at = std::clamp(index, 0, topLevelItemCount());
        insertTopLevelItem(at, NewRow(data));
        return at;
    });
}

int QtListControl::AppendRows(const std::vector<RowData*>& data) {
    return OnUiThread([&] {
        FlushCellChanges();
        QList<QTreeWidgetItem*> rows;
        rows.reserve(static_cast<qsizetype>(data.size()));
        for (RowData* rowData : data) {
            rows.append(NewRow(rowData));
        }
        addTopLevelItems(rows);
        return static_cast<int>(rows.size());
    });
}

QtListControl::Row* QtListControl::NewRow(RowData* data) const {
    auto* row = new Row(data);
    row->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled);
    for (int column = 0; column < static_cast<int>(aligns_.size()); ++column) {
        row->setTextAlignment(column, AlignmentOf(aligns_[column]));
    }
    return row;
}

bool QtListControl::DeleteRow(int row) {
    return OnUiThread([&] {
        if (RowAt(row) == nullptr) {
            return false;
        }
        FlushCellChanges();
        delete takeTopLevelItem(row);
        return true;
    });
}

void QtListControl::DeleteAllRows() {
    OnUiThread([&] {
        changed_ = {};
        clear();
    });
}

RowData* QtListControl::GetRowData(int row) const {
    return OnUiThread([&]() -> RowData* {
        const Row* item = RowAt(row);
        return item == nullptr ? nullptr : item->data;
    });
}

void QtListControl::SetRowData(int row, RowData* data) {
    OnUiThread([&] {
        if (Row* item = RowAt(row)) {
            item->data = data;
        }
    });
}

std::string QtListControl::CellText(int row, int column) const {
    return OnUiThread([&] {
        const Row* item = RowAt(row);
        return item == nullptr ? std::string() : ToText(item->text(column));
    });
}

void QtListControl::SetCellMark(int row, int column, CellMark mark) {
    OnUiThread([&] {
        Row* item = RowAt(row);
        if (item != nullptr && column >= 0 && column < columnCount()) {
            const int size = fontMetrics().height() * 3 / 4;
            ChangeCell(row, [&] { item->setIcon(column, MarkIcon(mark, size)); });
        }
    });
}

void QtListControl::SetCellText(int row, int column, const std::string& text) {
    OnUiThread([&] {
        Row* item = RowAt(row);
        if (item != nullptr && column >= 0 && column < columnCount()) {
            ChangeCell(row, [&] { item->setText(column, FromText(text)); });
        }
    });
}

std::uint32_t QtListControl::RowState(int row) const {
    return OnUiThread([&]() -> std::uint32_t {
        const Row* item = RowAt(row);
        if (item == nullptr) {
            return 0;
        }
        std::uint32_t state = item->otherState;
        if (item->isSelected()) {
            state |= kRowSelected;
        }
        if (currentItem() == item) {
            state |= kRowFocused;
        }
        return state;
    });
}

void QtListControl::SetRowState(int row, std::uint32_t state, std::uint32_t mask) {
    OnUiThread([&] {
        Row* item = RowAt(row);
        if (item == nullptr) {
            return;
        }
        item->otherState = (item->otherState & ~(mask & ~kQtState)) | (state & mask & ~kQtState);
        if (mask & kRowFocused) {
            if (state & kRowFocused) {
                setCurrentItem(item, 0, QItemSelectionModel::NoUpdate);
            } else if (currentItem() == item) {
                selectionModel()->setCurrentIndex(QModelIndex(), QItemSelectionModel::NoUpdate);
            }
        }
        if (mask & kRowHidden) {
            item->setHidden((state & kRowHidden) != 0);
        }
        if (mask & kRowSelected) {
            item->setSelected((state & kRowSelected) != 0 && !item->isHidden());
        }
    });
}

// A selected row the filter hides leaves the selection: the rows that stay
// selected are selected anew, as runs of neighbouring rows, in one step.
// Taking the hidden rows out of a full selection one by one, or even run by
// run, made a keystroke at 10,000 rows cost most of a second.
void QtListControl::SetHiddenRows(const std::vector<bool>& hidden) {
    OnUiThread([&] {
        FlushCellChanges();
        bool selectedHidden = false;
        const int count = topLevelItemCount();
        for (int row = 0; row < count; ++row) {
            Row* item = RowAt(row);
            const bool hide = row < static_cast<int>(hidden.size()) && hidden[row];
            if (((item->otherState & kRowHidden) != 0) != hide) {
                item->otherState ^= kRowHidden;
                setRowHidden(row, QModelIndex(), hide);
            }
            selectedHidden = selectedHidden || (hide && item->isSelected());
        }
        if (selectedHidden) {
            std::vector<bool> keep(static_cast<std::size_t>(count));
            for (int row = 0; row < count; ++row) {
                keep[static_cast<std::size_t>(row)] = RowAt(row)->isSelected();
            }
            SelectExactly(keep);
        }
    });
}

// The rows to select are gathered into runs of neighbouring rows.
void QtListControl::SelectExactly(const std::vector<bool>& selected) {
    OnUiThread([&] {
        QItemSelection runs;
        const int count = std::min(topLevelItemCount(), static_cast<int>(selected.size()));
        for (int row = 0; row < count;) {
            if (!selected[row] || RowAt(row)->otherState & kRowHidden) {
                ++row;
                continue;
            }
            const int first = row;
            while (row < count && selected[row] && !(RowAt(row)->otherState & kRowHidden)) {
                ++row;
            }
            runs.select(model()->index(first, 0), model()->index(row - 1, 0));
        }
        // Cleared first, then selected: Qt works out what a combined step
        // deselects run by run against the old selection, which grew with
        // the square of the runs.
        selectionModel()->clearSelection();
        selectionModel()->select(runs, QItemSelectionModel::Select | QItemSelectionModel::Rows);
    });
}

int QtListControl::NextSelected(int after) const {
    return OnUiThread([&] {
        const int count = topLevelItemCount();
        for (int row = std::max(after + 1, 0); row < count; ++row) {
            if (topLevelItem(row)->isSelected()) {
                return row;
            }
        }
        return -1;
    });
}

int QtListControl::SelectedCount() const {
    return OnUiThread([&] { return static_cast<int>(selectedItems().size()); });
}

void QtListControl::SetGridLines(bool on) {
    OnUiThread([&] {
        gridLines_ = on;
        viewport()->update();
    });
}

void QtListControl::SetFullRowSelect(bool on) {
    OnUiThread([&] { setAllColumnsShowFocus(on); });
}

void QtListControl::EnsureVisible(int row) {
    OnUiThread([&] {
        if (Row* item = RowAt(row)) {
            scrollToItem(item);
        }
    });
}

// The order is worked out on a compact list of the rows' data (a stable
// sort, so equal rows keep their order), then arranged in one step.
void QtListControl::SortRows(const RowComparison& compare) {
    OnUiThread([&] {
        std::vector<std::pair<const RowData*, int>> rows;
        rows.reserve(static_cast<std::size_t>(topLevelItemCount()));
        for (int row = 0; row < topLevelItemCount(); ++row) {
            rows.emplace_back(RowAt(row)->data, row);
        }
        std::stable_sort(rows.begin(), rows.end(), [&compare](const auto& a, const auto& b) {
            return compare(a.first, b.first) < 0;
        });
        std::vector<int> order;
        order.reserve(rows.size());
        for (const auto& [data, row] : rows) {
            order.push_back(row);
        }
        ArrangeRows(order);
    });
}

// The model reorders its rows in one step, by the places given here, and
// moves the selection and the current row with them: the view lays out
// once and the selection stays whole ranges.
void QtListControl::ArrangeRows(const std::vector<int>& order) {
    OnUiThread([&] {
        if (!IsRowOrder(order, topLevelItemCount())) {
            return;
        }
        FlushCellChanges();
        for (int place = 0; place < static_cast<int>(order.size()); ++place) {
            RowAt(order[static_cast<std::size_t>(place)])->place = place;
        }
        invisibleRootItem()->sortChildren(0, Qt::AscendingOrder);
    });
}

void QtListControl::ShowSortIndicator(int column, bool ascending) {
    OnUiThread([&] {
        header()->setSortIndicatorShown(column >= 0);
        header()->setSortIndicator(column, ascending ? Qt::AscendingOrder : Qt::DescendingOrder);
    });
}

void QtListControl::ShowStale(bool stale) {
    OnUiThread([&] {
        if (stale_ != stale) {
            stale_ = stale;
            viewport()->update();
        }
    });
}

void QtListControl::FitColumns() {
    OnUiThread([&] {
        fitting_ = true;
        fitted_.clear();
        FitNow();
    });
}

void QtListControl::FitNow() {
    fitPending_ = false;
    if (!fitting_) {
        return;
    }
    sizing_ = true;
    const int last = columnCount() - 1;
    fitted_.resize(static_cast<std::size_t>(std::max(0, columnCount())), 0);
    for (int column = 0; column <= last; ++column) {
        int& width = fitted_[static_cast<std::size_t>(column)];
        width = std::max({width, sizeHintForColumn(column), header()->sectionSizeHint(column)});
        if (column == last) {
            lastWidth_ = width;
        } else {
            header()->resizeSection(column, width);
        }
    }
    sizing_ = false;
    StretchLast();
}

void QtListControl::StretchLast() {
    const int last = columnCount() - 1;
    if (last < 0) {
        return;
    }
    const int room = viewport()->width() - header()->sectionPosition(last);
    sizing_ = true;
    header()->resizeSection(last, std::max(lastWidth_, room));
    sizing_ = false;
}

// The operator dragging a divider ends the fitting; the list then keeps
// the widths as they are given.
void QtListControl::OnSectionResized(int column, int newSize) {
    if (sizing_) {
        return;
    }
    fitting_ = false;
    if (column == columnCount() - 1) {
        lastWidth_ = newSize;
        return;
    }
    StretchLast();
}

bool QtListControl::CellIsCut(const QModelIndex& index) const {
    if (!index.isValid()) {
        return false;
    }
    QStyleOptionViewItem option;
    initViewItemOption(&option);
    const int needed = itemDelegateForIndex(index)->sizeHint(option, index).width();
    return needed > header()->sectionSize(index.column());
}

void QtListControl::resizeEvent(QResizeEvent* event) {
    QTreeWidget::resizeEvent(event);
    StretchLast();
}

void QtListControl::RunBatch(const std::function<void()>& batch) {
    OnUiThread([&] {
        ++batchDepth_;
        batch();
        if (--batchDepth_ == 0) {
            FlushCellChanges();
        }
    });
}

void QtListControl::FlushCellChanges() {
    if (changed_.Empty()) {
        return;
    }
    const RowSpan span = std::exchange(changed_, {});
    const int last = std::min(span.last, topLevelItemCount() - 1);
    if (span.first > last || columnCount() == 0) {
        return;
    }
    QAbstractItemModel* rows = model();
    emit rows->dataChanged(rows->index(span.first, 0), rows->index(last, columnCount() - 1));
}

void QtListControl::SetEvents(ListEvents* events) {
    OnUiThread([&] { events_ = events; });
}

void QtListControl::NoteRowsChanged() {
    if (rowsChangedPending_) {
        return;
    }
    rowsChangedPending_ = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            rowsChangedPending_ = false;
            FitNow();
            if (events_ != nullptr) {
                events_->OnRowsChanged();
            }
        },
        Qt::QueuedConnection);
}

void QtListControl::mouseDoubleClickEvent(QMouseEvent* event) {
    QTreeWidget::mouseDoubleClickEvent(event);
    const QModelIndex hit = indexAt(event->position().toPoint());
    if (events_ != nullptr) {
        events_->OnDoubleClicked(hit.isValid() ? hit.row() : -1);
    }
}

// The current row when it is selected, else the first selected one;
// nothing happens without a selection.
void QtListControl::keyPressEvent(QKeyEvent* event) {
    if (event->key() != Qt::Key_Return && event->key() != Qt::Key_Enter) {
        QTreeWidget::keyPressEvent(event);
        return;
    }
    const QModelIndex current = currentIndex();
    const int row = current.isValid() && selectionModel()->isRowSelected(current.row(), {})
                        ? current.row()
                        : NextSelected(-1);
    if (row >= 0 && events_ != nullptr) {
        events_->OnDoubleClicked(row);
    }
}

void QtListControl::dragEnterEvent(QDragEnterEvent* event) {
    if (event->mimeData()->hasUrls()) {
        event->acceptProposedAction();
    }
}

void QtListControl::dragMoveEvent(QDragMoveEvent* event) {
    if (event->mimeData()->hasUrls()) {
        event->acceptProposedAction();
    }
}

void QtListControl::dropEvent(QDropEvent* event) {
    std::vector<std::string> paths;
    for (const QUrl& url : event->mimeData()->urls()) {
        if (url.isLocalFile()) {
            paths.push_back(ToPath(url.toLocalFile()));
        }
    }
    event->acceptProposedAction();
    if (events_ != nullptr && !paths.empty()) {
        events_->OnFilesDropped(paths);
    }
}

}  // namespace vantic
