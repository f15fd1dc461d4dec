#include "framework/wlistview.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "tests/support/scripted_platform.h"
#include "tests/support/temp_dir.h"

namespace vantic {
namespace {

using testing::ScriptedListControl;
using testing::ScriptedPlatform;

// A row object that writes its name into a shared log when it goes.
struct Named : RowData {
    Named(std::string name, std::vector<std::string>& log) : name(std::move(name)), log(log) {}
    ~Named() override { log.push_back("freed " + name); }
    std::string name;
    std::vector<std::string>& log;
};

class NamedList : public WListView {
  public:
    NamedList(MessageBoxes& messages, std::vector<std::string>& log)
        : WListView(messages), log_(log) {}
    ~NamedList() override { Clear(); }

    void ReleaseRowData(std::unique_ptr<RowData> rowData) override {
        log_.push_back("release " + (rowData ? static_cast<Named*>(rowData.get())->name : "none"));
    }
    void FillRow(int rowIndex, RowData* rowData) override {
        ++fills;
        Control()->SetCellText(rowIndex, 0, static_cast<Named*>(rowData)->name);
    }
    int fills = 0;

  private:
    std::vector<std::string>& log_;
};

class ListViewTest : public ::testing::Test {
  protected:
    ListViewTest() : list(platform.messageBoxes, log) {
        list.Attach(&control);
        EXPECT_TRUE(list.InsertColumn("Name", 80));
    }

    void AddRows(std::initializer_list<const char*> names) {
        for (const char* name : names) {
            list.InsertRow(std::make_unique<Named>(name, log));
        }
        log.clear();
    }
    std::string Order() const {
        std::string order;
        for (int row = 0; row < control.RowCount(); ++row) {
            order += control.CellText(row, 0);
        }
        return order;
    }
    std::vector<int> Selected() const {
        std::vector<int> rows;
        for (int row = -1; list.NextSelected(row);) {
            rows.push_back(row);
        }
        return rows;
    }
    void Select(std::initializer_list<int> rows) {
        for (int row : rows) {
            list.SelectRow(row, true);
        }
    }

    ScriptedPlatform platform;
    ScriptedListControl control;
    std::vector<std::string> log;
    NamedList list;
};

TEST_F(ListViewTest, ColumnsGrowOnlyWhenTheControlAccepts) {
    EXPECT_TRUE(list.InsertColumn("Size", 60, true));
    control.RefuseColumns(true);
    EXPECT_FALSE(list.InsertColumn("Lost", 10));
    ASSERT_EQ(list.ColumnCount(), 2);
    const auto columns = control.Columns();
    EXPECT_EQ(columns[1].title, "Size");
    EXPECT_EQ(columns[1].width, 60);
    EXPECT_EQ(columns[1].align, ColumnAlign::Right);
    EXPECT_EQ(columns[0].align, ColumnAlign::Left);
}

TEST_F(ListViewTest, InsertRowAppendsOrGoesBeforeTheSelectionAndFills) {
    AddRows({"A", "B", "C"});
    list.SelectRow(1, true);
    EXPECT_EQ(list.InsertRow(std::make_unique<Named>("X", log), true), 1);
    EXPECT_EQ(list.InsertRow(std::make_unique<Named>("Y", log)), 4);
    EXPECT_EQ(Order(), "AXBCY");
    EXPECT_EQ(list.fills, 5);
    EXPECT_EQ(Selected(), std::vector<int>{2});  // B kept its selection
}

TEST_F(ListViewTest, RefusedInsertDoesNotFillAndFreesTheData) {
    control.RefuseRows(true);
    EXPECT_EQ(list.InsertRow(std::make_unique<Named>("A", log)), -1);
    EXPECT_EQ(list.fills, 0);
    EXPECT_EQ(log, std::vector<std::string>{"freed A"});
    EXPECT_EQ(list.ItemCount(), 0);
}

TEST_F(ListViewTest, DeleteRowReleasesTheDataThroughTheHookOnce) {
    AddRows({"A", "B"});
    list.DeleteRow(0);
    EXPECT_EQ(log, (std::vector<std::string>{"release A", "freed A"}));
    EXPECT_EQ(Order(), "B");
    list.DeleteRow(5);  // no such row
    EXPECT_EQ(log.size(), 2u);
}

TEST_F(ListViewTest, DeleteFirstRowsGoesFromRowNMinusOneDown) {
    AddRows({"A", "B", "C", "D"});
    list.DeleteFirstRows(2);
    EXPECT_EQ(control.LastEnsuredVisible(), 0);
    EXPECT_EQ(log, (std::vector<std::string>{"release B", "freed B", "release A", "freed A"}));
    EXPECT_EQ(Order(), "CD");
    EXPECT_EQ(control.DeleteAllCount(), 0);
}

TEST_F(ListViewTest, DeleteAllReleasesLastToFirstThenEmptiesAtOnce) {
    AddRows({"A", "B", "C"});
    list.DeleteFirstRows(WListView::kAllRows);
    EXPECT_EQ(log, (std::vector<std::string>{"release C", "freed C", "release B", "freed B",
                                             "release A", "freed A"}));
    EXPECT_EQ(control.DeleteAllCount(), 1);
    EXPECT_EQ(list.ItemCount(), 0);
    log.clear();
    list.DeleteFirstRows(WListView::kAllRows);  // empty list: nothing to release
    EXPECT_TRUE(log.empty());
    EXPECT_EQ(list.ItemCount(), 0);
}

TEST_F(ListViewTest, ClearForgetsTheControl) {
    AddRows({"A"});
    list.Clear();
    EXPECT_EQ(list.Control(), nullptr);
    EXPECT_EQ(log.size(), 2u);
    list.Clear();  // no control: nothing happens
    EXPECT_EQ(list.ItemCount(), 0);
    EXPECT_EQ(list.InsertRow(std::make_unique<Named>("B", log)), -1);
}

TEST(ListViewLifetime, DestroyingTheBaseFreesEveryRowOnce) {
    ScriptedPlatform platform;
    ScriptedListControl control;
    std::vector<std::string> log;
    {
        WListView list(platform.messageBoxes);
        list.Attach(&control);
        list.InsertRow(std::make_unique<Named>("A", log));
        list.InsertRow(std::make_unique<Named>("B", log));
    }
    EXPECT_EQ(log, (std::vector<std::string>{"freed B", "freed A"}));
    EXPECT_EQ(control.RowCount(), 0);
}

TEST_F(ListViewTest, SetRowDataHandsBackTheOldObjectUnreleased) {
    AddRows({"A"});
    std::unique_ptr<RowData> old = list.SetRowData(0, std::make_unique<Named>("Z", log));
    ASSERT_NE(old, nullptr);
    EXPECT_EQ(static_cast<Named*>(old.get())->name, "A");
    EXPECT_TRUE(log.empty());
    EXPECT_EQ(list.RowAs<Named>(0)->name, "Z");
    std::unique_ptr<RowData> missing = list.SetRowData(3, std::make_unique<Named>("Q", log));
    ASSERT_NE(missing, nullptr);  // no row 3: the object comes back
    EXPECT_EQ(static_cast<Named*>(missing.get())->name, "Q");
}

TEST_F(ListViewTest, DeleteSelectedWithNothingSelectedAsksNothing) {
    AddRows({"A", "B"});
    list.DeleteSelected(reinterpret_cast<WindowId>(&control));
    EXPECT_TRUE(platform.ShownMessages().empty());
    EXPECT_EQ(Order(), "AB");
}

TEST_F(ListViewTest, DeleteSelectedAsksAndKeepsRowsUnlessYes) {
    AddRows({"A", "B", "C", "D"});
    Select({1, 3});
    const WindowId owner = reinterpret_cast<WindowId>(&control);
    platform.QueueAnswer(MessageAnswer::No);
    list.DeleteSelected(owner);
    EXPECT_EQ(Order(), "ABCD");
    ASSERT_EQ(platform.ShownMessages().size(), 1u);
    const Message& asked = platform.ShownMessages()[0];
    EXPECT_EQ(asked.owner, owner);
    EXPECT_EQ(asked.text, "Are you sure you want to delete the selected items?");
    EXPECT_EQ(asked.caption, "PERMANENT DELETE");
    EXPECT_EQ(asked.icon, MessageIcon::Warning);
    EXPECT_EQ(asked.buttons, MessageButtons::YesNo);
    EXPECT_TRUE(asked.noIsDefault);

    platform.QueueAnswer(MessageAnswer::Yes, "Remove?");
    list.DeleteSelected(owner, "Remove them?", "Remove?");
    EXPECT_EQ(Order(), "AC");
    EXPECT_EQ(platform.ShownMessages()[1].text, "Remove them?");
    EXPECT_EQ(log, (std::vector<std::string>{"release D", "freed D", "release B", "freed B"}));
}

TEST_F(ListViewTest, DeleteSelectedWithoutOwnerDeletesWithoutAsking) {
    AddRows({"A", "B", "C"});
    Select({0, 2});
    list.DeleteSelected(kNoWindow);
    EXPECT_EQ(Order(), "B");
    EXPECT_TRUE(platform.ShownMessages().empty());
}

TEST_F(ListViewTest, SwapRowsMovesDataCellsAndEveryStateBit) {
    AddRows({"A", "B"});
    control.SetRowState(0, kRowSelected | kRowFocused | 0x100, kAllRowState);
    list.SwapRows(0, 1);
    EXPECT_EQ(Order(), "BA");
    EXPECT_EQ(list.RowAs<Named>(1)->name, "A");
    EXPECT_EQ(control.RowState(1), kRowSelected | kRowFocused | 0x100);
    EXPECT_EQ(control.RowState(0), 0u);
}

TEST_F(ListViewTest, MovingRowsOneAndTwoUpKeepsThemSelected) {
    AddRows({"A", "B", "C", "D"});
    Select({1, 2});
    EXPECT_EQ(list.MoveSelectedUp(), 1);
    EXPECT_EQ(Order(), "BCAD");
    EXPECT_EQ(Selected(), (std::vector<int>{0, 1}));
    EXPECT_EQ(list.RowAs<Named>(2)->name, "A");
}

TEST_F(ListViewTest, ABlockTouchingTheTopDoesNotMoveUp) {
    AddRows({"A", "B", "C", "D"});
    Select({0, 2});
    EXPECT_EQ(list.MoveSelectedUp(), 0);
    EXPECT_EQ(Order(), "ABCD");
    EXPECT_EQ(Selected(), (std::vector<int>{0, 2}));
}

TEST_F(ListViewTest, MovingDownMirrorsMovingUp) {
    AddRows({"A", "B", "C", "D"});
    Select({0, 2});
    EXPECT_EQ(list.MoveSelectedDown(), 1);
    EXPECT_EQ(Order(), "BADC");
    EXPECT_EQ(Selected(), (std::vector<int>{1, 3}));
    EXPECT_EQ(list.MoveSelectedDown(), 0);  // now touching the bottom
    EXPECT_EQ(Order(), "BADC");
}

TEST_F(ListViewTest, MovingNeedsTwoRowsAndASelection) {
    EXPECT_EQ(list.MoveSelectedUp(), 0);
    AddRows({"A"});
    Select({0});
    EXPECT_EQ(list.MoveSelectedDown(), 1);  // one row: the row count
    AddRows({"B"});
    list.DeselectAll();
    EXPECT_EQ(list.MoveSelectedUp(), 0);
    EXPECT_EQ(Order(), "AB");
}

TEST_F(ListViewTest, WalksRowsAllOrSelected) {
    AddRows({"A", "B", "C", "D"});
    Select({1, 3});
    EXPECT_EQ(list.FirstSelected(), 1);
    EXPECT_EQ(list.SelectedCount(), 2);
    std::vector<int> all;
    for (int row = -7; list.NextRow(row, false);) {
        all.push_back(row);
    }
    EXPECT_EQ(all, (std::vector<int>{0, 1, 2, 3}));
    std::vector<int> selected;
    for (int row = -1; list.NextRow(row, true);) {
        selected.push_back(row);
    }
    EXPECT_EQ(selected, (std::vector<int>{1, 3}));
    list.DeselectAll();
    EXPECT_EQ(list.FirstSelected(), -1);
    EXPECT_FALSE(list.IsSelected(1));
}

TEST_F(ListViewTest, NumberColumnWritesPositions) {
    AddRows({"A", "B", "C"});
    list.NumberColumn(0);
    EXPECT_EQ(Order(), "123");
}

TEST_F(ListViewTest, ColumnWidthsRoundTripThroughTheSettingsStore) {
    ASSERT_TRUE(list.InsertColumn("Size", 70));
    testing::TempDir dir;
    WReg store;
    store.SetSettingsLocation(SettingsLocation{dir.Path(), {}});
    control.SetColumnWidth(1, 140);
    list.SaveColumnWidths("Sample_Widths", store);
    EXPECT_EQ(store.GetInt("Sample_Widths_col0", 0), 80);
    EXPECT_EQ(store.GetInt("Sample_Widths_col1", 0), 140);

    control.SetColumnWidth(0, 30);
    control.SetColumnWidth(1, 30);
    list.LoadColumnWidths("Sample_Widths", store);
    EXPECT_EQ(control.ColumnWidth(0), 80);
    EXPECT_EQ(control.ColumnWidth(1), 140);
}

}  // namespace
}  // namespace vantic
