#include "qt/qt_list_control.h"

#include <gtest/gtest.h>

#include <QHeaderView>
#include <QItemSelectionModel>
#include <QTest>
#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <memory>

#include "framework/wlistview.h"
#include "framework/wmutex.h"
#include "framework/worker.h"
#include "tests/qt/qt_environment.h"
#include "tests/support/scripted_platform.h"

namespace vantic {
namespace {

std::atomic<int> gLiveRows{0};

struct Unit : RowData {
    explicit Unit(int number) : number(number) { ++gLiveRows; }
    ~Unit() override { --gLiveRows; }
    int number;
};

class UnitList : public WListView {
  public:
    using WListView::WListView;
    ~UnitList() override { Clear(); }
    void FillRow(int row, RowData* data) override {
        const int number = static_cast<Unit*>(data)->number;
        Control()->SetCellText(row, 0, std::to_string(number));
        Control()->SetCellText(row, 1, "Media Player #" + std::to_string(number));
        Control()->SetCellText(row, 2, number % 2 == 0 ? "OK" : "Late Calling In");
    }
};

class RecordedEvents : public ListEvents {
  public:
    void OnHeaderClicked(int column) override { headers.push_back(column); }
    void OnDoubleClicked(int row) override { doubles.push_back(row); }
    void OnSelectionChanged() override { ++selectionChanges; }
    std::vector<int> headers;
    std::vector<int> doubles;
    int selectionChanges = 0;
};

class QtListTest : public ::testing::Test {
  protected:
    QtListTest() : view(platform.messageBoxes) {
        control.resize(500, 300);
        view.Attach(&control);
        EXPECT_TRUE(view.InsertColumn("Unit #", 60));
        EXPECT_TRUE(view.InsertColumn("Notes", 200));
        EXPECT_TRUE(view.InsertColumn("Status", 120, true));
    }

    testing::ScriptedPlatform platform;
    QtListControl control;
    UnitList view;
};

TEST_F(QtListTest, FillsTenThousandRowsFromAWorkerWhileTheUiPumps) {
    WMutex lock;
    gLiveRows = 0;
    ASSERT_TRUE(StartWorker([this] {
        for (int number = 1; number <= 10000; ++number) {
            view.InsertRow(std::make_unique<Unit>(number));
        }
    }));
    ASSERT_TRUE(testing::PumpUntil([] { return LiveWorkers() == 0; }, 120000));
    ASSERT_EQ(view.ItemCount(), 10000);
    EXPECT_EQ(control.topLevelItemCount(), 10000);
    EXPECT_EQ(control.CellText(0, 1), "Media Player #1");
    EXPECT_EQ(control.CellText(9999, 0), "10000");
    EXPECT_EQ(control.CellText(9998, 2), "Late Calling In");
    EXPECT_EQ(view.RowAs<Unit>(4321)->number, 4322);
    EXPECT_EQ(gLiveRows.load(), 10000);
    view.Clear();
    EXPECT_EQ(gLiveRows.load(), 0);
    EXPECT_EQ(control.topLevelItemCount(), 0);
}

TEST_F(QtListTest, ColumnsKeepTitlesWidthsAndAlignment) {
    EXPECT_EQ(control.ColumnCount(), 3);
    EXPECT_EQ(control.headerItem()->text(1), "Notes");
    EXPECT_EQ(control.ColumnWidth(1), 200);
    EXPECT_EQ(control.ColumnWidth(3), 0);
    EXPECT_FALSE(control.InsertColumn(0, "Front", 10, ColumnAlign::Left));
    view.InsertRow(std::make_unique<Unit>(7));
    EXPECT_TRUE(control.topLevelItem(0)->textAlignment(2) & Qt::AlignRight);
    control.SetColumnWidth(0, 90);
    EXPECT_EQ(control.header()->sectionSize(0), 90);
}

// Fitted columns cut no title or value and the last one reaches the edge;
// once the operator narrows a column, its cut cells show their text on hover.
TEST_F(QtListTest, FittedColumnsShowEveryTextAndTheLastFillsTheList) {
    control.show();
    control.FitColumns();
    view.InsertRow(std::make_unique<Unit>(1234567));
    view.InsertRow(std::make_unique<Unit>(8));
    QHeaderView* header = control.header();
    auto allFit = [&] {
        for (int column = 0; column < 3; ++column) {
            if (header->sectionSize(column) < header->sectionSizeHint(column)) {
                return false;
            }
            for (int row = 0; row < 2; ++row) {
                if (control.CellIsCut(control.model()->index(row, column))) {
                    return false;
                }
            }
        }
        return true;
    };
    EXPECT_TRUE(testing::PumpUntil(allFit));
    EXPECT_EQ(header->sectionPosition(2) + header->sectionSize(2), control.viewport()->width());

    const int fitted = header->sectionSize(0);
    view.SetHiddenRows({true, false});  // the long number hidden: no narrower fit
    view.InsertRow(std::make_unique<Unit>(9));
    QCoreApplication::processEvents();
    EXPECT_EQ(header->sectionSize(0), fitted);
    view.SetHiddenRows({});

    control.resize(900, 300);
    EXPECT_TRUE(testing::PumpUntil([&] {
        return header->sectionPosition(2) + header->sectionSize(2) == control.viewport()->width();
    }));

    header->resizeSection(1, 40);  // the operator's drag
    const int dragged = header->sectionSize(1);
    const QModelIndex notes = control.model()->index(0, 1);
    EXPECT_TRUE(control.CellIsCut(notes));
    view.InsertRow(std::make_unique<Unit>(9));  // no refit over the operator's width
    QCoreApplication::processEvents();
    EXPECT_EQ(header->sectionSize(1), dragged);
}

// How far red stands from green in the most coloured pixel of a cell's mark.
int MarkColourfulness(QtListControl& control, int row, int column) {
    const QRect cell = control.visualRect(control.model()->index(row, column));
    const QImage shot = control.viewport()->grab(cell).toImage();
    int most = 0;
    for (int y = 0; y < shot.height(); ++y) {
        for (int x = 0; x < std::min(shot.width(), cell.height() + 8); ++x) {
            const QRgb pixel = shot.pixel(x, y);
            most = std::max(most, std::abs(qRed(pixel) - qGreen(pixel)));
        }
    }
    return most;
}

TEST_F(QtListTest, MarksAndTheSortIndicatorShowInTheWidget) {
    view.InsertRow(std::make_unique<Unit>(1));
    control.SetCellMark(0, 2, CellMark::Bad);
    EXPECT_FALSE(control.topLevelItem(0)->icon(2).isNull());
    EXPECT_TRUE(control.topLevelItem(0)->icon(1).isNull());
    EXPECT_EQ(control.topLevelItem(0)->text(2), "Late Calling In");  // the text stays
    EXPECT_GT(MarkColourfulness(control, 0, 2), 100);
    control.ShowStale(true);  // greyed
    EXPECT_LT(MarkColourfulness(control, 0, 2), 30);
    control.SetCellMark(0, 2, CellMark::None);
    EXPECT_TRUE(control.topLevelItem(0)->icon(2).isNull());

    control.ShowSortIndicator(1, false);
    EXPECT_TRUE(control.header()->isSortIndicatorShown());
    EXPECT_EQ(control.header()->sortIndicatorSection(), 1);
    EXPECT_EQ(control.header()->sortIndicatorOrder(), Qt::DescendingOrder);
}

TEST_F(QtListTest, EightBitTextSurvivesTheWidget) {
    view.InsertRow(std::make_unique<Unit>(1));
    const std::string notes = "Caf\xE9 \x80 5 \x81\x9D";
    control.SetCellText(0, 1, notes);
    EXPECT_EQ(control.CellText(0, 1), notes);
    EXPECT_EQ(control.topLevelItem(0)->text(1), QString::fromUtf8("Café € 5 \u0081\u009D"));
}

TEST_F(QtListTest, StateBitsSelectionAndFocusRoundTrip) {
    for (int number = 1; number <= 4; ++number) {
        view.InsertRow(std::make_unique<Unit>(number));
    }
    view.SelectRow(1, true);
    view.SelectRow(2, true);
    control.SetRowState(1, kRowFocused | 0x40, kRowFocused | 0x40);
    EXPECT_EQ(control.RowState(1), kRowSelected | kRowFocused | 0x40);
    EXPECT_EQ(view.SelectedCount(), 2);
    EXPECT_EQ(view.MoveSelectedUp(), 1);
    EXPECT_EQ(control.CellText(0, 0), "2");
    EXPECT_EQ(control.CellText(1, 0), "3");
    EXPECT_EQ(control.RowState(0), kRowSelected | kRowFocused | 0x40);
    EXPECT_TRUE(control.topLevelItem(1)->isSelected());
    EXPECT_FALSE(control.topLevelItem(2)->isSelected());
}

TEST_F(QtListTest, SortingMovesRowsWithTheirSelection) {
    for (int number : {12, 7, 30}) {
        view.InsertRow(std::make_unique<Unit>(number));
    }
    view.SelectRow(0, true);  // unit 12
    view.SortRows([](const RowData* a, const RowData* b) {
        return static_cast<const Unit*>(a)->number - static_cast<const Unit*>(b)->number;
    });
    EXPECT_EQ(control.CellText(0, 0), "7");
    EXPECT_EQ(control.CellText(1, 0), "12");
    EXPECT_EQ(view.FirstSelected(), 1);
    EXPECT_EQ(view.RowAs<Unit>(2)->number, 30);
}

// Hidden rows leave the view and the selection but keep their place, move
// with a sort, and are skipped when the shown rows are selected.
TEST_F(QtListTest, HiddenRowsStayOutOfViewAndSelectionThroughASort) {
    for (int number : {12, 7, 30, 5}) {
        view.InsertRow(std::make_unique<Unit>(number));
    }
    view.SelectRow(0, true);
    view.SetHiddenRows({true, false, true});  // units 12 and 30; 5 past the end shows
    EXPECT_TRUE(control.isRowHidden(0, QModelIndex()));
    EXPECT_FALSE(control.isRowHidden(3, QModelIndex()));
    EXPECT_EQ(view.SelectedCount(), 0);
    EXPECT_EQ(control.RowState(2), kRowHidden);
    view.SortRows([](const RowData* a, const RowData* b) {
        return static_cast<const Unit*>(a)->number - static_cast<const Unit*>(b)->number;
    });
    std::vector<int> hidden;
    for (int row = 0; row < view.ItemCount(); ++row) {
        if (control.isRowHidden(row, QModelIndex())) {
            hidden.push_back(view.RowAs<Unit>(row)->number);
        }
    }
    EXPECT_EQ(hidden, (std::vector<int>{12, 30}));
    view.SelectExactly({true, true, true, true});
    EXPECT_EQ(view.SelectedCount(), 2);
    EXPECT_TRUE(view.IsSelected(0) && view.IsSelected(1));  // units 5 and 7
    view.SetHiddenRows({});
    EXPECT_FALSE(control.isRowHidden(2, QModelIndex()));
}

// Sorting a large, fully selected list keeps the whole selection as one
// range, the current row on its unit, and equal rows in their old order.
TEST_F(QtListTest, SortingAFullSelectionKeepsOneRangeTheCurrentRowAndTies) {
    std::vector<std::unique_ptr<RowData>> rows;
    for (int number = 1; number <= 3000; ++number) {
        rows.push_back(std::make_unique<Unit>(number));
    }
    ASSERT_EQ(view.AppendRows(std::move(rows)), 3000);
    EXPECT_EQ(control.CellText(2999, 1), "Media Player #3000");
    control.selectAll();
    control.setCurrentItem(control.topLevelItem(1234), 0, QItemSelectionModel::NoUpdate);
    const auto lastDigit = [](const RowData* data) {
        return static_cast<const Unit*>(data)->number % 10;
    };
    view.SortRows([&](const RowData* a, const RowData* b) { return lastDigit(a) - lastDigit(b); });
    EXPECT_EQ(view.RowAs<Unit>(0)->number, 10);
    EXPECT_EQ(view.RowAs<Unit>(1)->number, 20);
    EXPECT_EQ(view.RowAs<Unit>(300)->number, 1);
    EXPECT_EQ(view.RowAs<Unit>(2999)->number, 2999);
    EXPECT_EQ(control.selectionModel()->selection().size(), 1);
    EXPECT_EQ(view.SelectedCount(), 3000);
    const int current = control.indexOfTopLevelItem(control.currentItem());
    EXPECT_EQ(view.RowAs<Unit>(current)->number, 1235);
}

// A batch that rewrites many rows tells the view once, over the rows it
// touched; rows added in the middle of the batch still show their texts.
TEST_F(QtListTest, ABatchOfCellChangesReachesTheViewAsOneNotice) {
    for (int number = 1; number <= 500; ++number) {
        view.InsertRow(std::make_unique<Unit>(number));
    }
    std::vector<std::pair<QModelIndex, QModelIndex>> notices;
    QObject::connect(
        control.model(), &QAbstractItemModel::dataChanged,
        [&](const QModelIndex& from, const QModelIndex& to) { notices.emplace_back(from, to); });
    view.RunBatch([&] {
        for (int row = 10; row < 400; ++row) {
            control.SetCellText(row, 1, "changed " + std::to_string(row));
        }
        control.SetCellMark(450, 2, CellMark::Good);
    });
    ASSERT_EQ(notices.size(), 1u);
    EXPECT_EQ(notices[0].first.row(), 10);
    EXPECT_EQ(notices[0].second.row(), 450);
    EXPECT_EQ(notices[0].second.column(), 2);
    EXPECT_EQ(control.topLevelItem(399)->text(1), "changed 399");
    EXPECT_FALSE(control.topLevelItem(450)->icon(2).isNull());

    notices.clear();
    view.RunBatch([&] {
        control.SetCellText(0, 1, "first");
        view.InsertRow(std::make_unique<Unit>(501));  // fills its cells in the batch
        control.SetCellText(500, 1, "last");
    });
    ASSERT_EQ(notices.size(), 2u);  // before the insertion, and at the end
    EXPECT_EQ(notices[0].first.row(), 0);
    EXPECT_EQ(notices[1].second.row(), 500);
    EXPECT_EQ(control.CellText(500, 0), "501");
    EXPECT_EQ(control.CellText(500, 1), "last");
    EXPECT_EQ(control.CellText(0, 1), "first");
    control.SetCellText(1, 1, "alone");  // outside a batch: at once
    EXPECT_EQ(notices.size(), 3u);
}

TEST_F(QtListTest, ClicksReachTheEventsWithTheRowHit) {
    RecordedEvents events;
    control.SetEvents(&events);
    control.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&control));
    view.InsertRow(std::make_unique<Unit>(1));
    view.InsertRow(std::make_unique<Unit>(2));
    const QRect second = control.visualItemRect(control.topLevelItem(1));
    QTest::mouseDClick(control.viewport(), Qt::LeftButton, {}, second.center());
    QTest::mouseDClick(control.viewport(), Qt::LeftButton, {},
                       QPoint(10, control.viewport()->height() - 5));
    EXPECT_EQ(events.doubles, (std::vector<int>{1, -1}));
    const int middle = control.header()->sectionPosition(2) + 20;
    QTest::mouseClick(control.header()->viewport(), Qt::LeftButton, {}, QPoint(middle, 5));
    EXPECT_EQ(events.headers, std::vector<int>{2});
    view.SelectRow(0, true);
    EXPECT_GT(events.selectionChanges, 0);
    // Return acts on the selected row as a double-click; without one, not at all.
    QTest::keyClick(&control, Qt::Key_Return);
    view.DeselectAll();
    QTest::keyClick(&control, Qt::Key_Return);
    EXPECT_EQ(events.doubles, (std::vector<int>{1, -1, 1}));
    control.SetEvents(nullptr);
}

}  // namespace
}  // namespace vantic
