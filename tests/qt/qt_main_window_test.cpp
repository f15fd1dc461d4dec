#include "qt/qt_main_window.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>

#include "app/main_dialog_layout.h"
#include "framework/wsizer.h"
#include "qt/qt_list_control.h"
#include "qt/qt_window.h"
#include "qt/qt_window_system.h"
#include "tests/qt/qt_environment.h"

namespace vantic {
namespace {

using testing::PumpUntil;
namespace c = command;
namespace d = main_dialog;

class RecordingEvents final : public MainWindowEvents {
  public:
    void OnCommand(int id) override { commands.push_back(id); }
    void OnButton(int id) override { buttons.push_back(id); }
    void OnCloseRequest() override { ++closeRequests; }
    void OnSize() override { ++sizes; }
    void OnTabSelected(int index) override { tabs.push_back(index); }

    std::vector<int> commands;
    std::vector<int> buttons;
    std::vector<int> tabs;
    int closeRequests = 0;
    int sizes = 0;
};

// A control that notes the keys it is given.
class KeyLog final : public QLineEdit {
  public:
    using QLineEdit::QLineEdit;
    std::vector<int> keys;

  protected:
    void keyPressEvent(QKeyEvent* event) override {
        if (event->key() != Qt::Key_Control && event->key() != Qt::Key_Shift) {
            keys.push_back(event->key());
        }
        QLineEdit::keyPressEvent(event);
    }
};

class QtMainWindow : public ::testing::Test {
  protected:
    QtMainWindow() {
        window = view.CreateMainWindow("Vantic Controller 4.1", CommandTable(), events);
        statusBar = view.CreateStatusBar("Ready...");
        dialog = view.CreateMainDialog(ButtonTable());
        for (int i = 0; i < 4; ++i) {
            view.InsertTab(i, std::string(i == 0 ? "Video" : "Other"));
        }
    }
    QWidget* Item(int id) { return FindItem(WidgetOf(dialog), id); }
    QMenu* Menu(const QString& title) {
        for (QAction* action : view.Window()->menuBar()->actions()) {
            if (action->text() == title) {
                return action->menu();
            }
        }
        return nullptr;
    }

    RecordingEvents events;
    QtMainWindowView view;
    WindowId window = kNoWindow;
    WindowId statusBar = kNoWindow;
    WindowId dialog = kNoWindow;
};

TEST_F(QtMainWindow, TheMenuBarFollowsTheCommandTable) {
    QStringList titles;
    for (QAction* action : view.Window()->menuBar()->actions()) {
        titles << action->text();
    }
    EXPECT_EQ(titles, (QStringList{"&File", "&Edit", "&Deploy", "&Reports", "&Help"}));
    QMenu* file = Menu("&File");
    ASSERT_NE(file, nullptr);
    QStringList items;
    for (QAction* action : file->actions()) {
        items << (action->isSeparator() ? "--" : action->text());
    }
    EXPECT_EQ(items,
              (QStringList{"&New Playlist\tCtrl+N", "&Open Playlist...   \tCtrl+O",
                           "Open Selected Unit's Playlist...", "&Close Playlist...", "--",
                           "&Save Playlist...\tCtrl+S", "Save Playlist &As...", "--", "E&xit"}));
    // Every menu's separators, by the item above each.
    QStringList separatedAfter;
    for (QAction* menu : view.Window()->menuBar()->actions()) {
        const auto actions = menu->menu()->actions();
        for (int i = 1; i < actions.size(); ++i) {
            if (actions[i]->isSeparator()) {
                separatedAfter << actions[i - 1]->text();
            }
        }
    }
    EXPECT_EQ(separatedAfter,
              (QStringList{"&Close Playlist...", "Save Playlist &As...",
                           "Edit Selected Unit...\t(double-click)", "Move Media Down   \tCtrl+Down",
                           "Channel to Selected Units\tCtrl+M", "User Manual..."}));
    // The shortcut column binds nothing: the accelerators do that.
    EXPECT_TRUE(view.Action(c::kNewPlaylist)->shortcut().isEmpty());

    view.Action(c::kExit)->trigger();
    EXPECT_EQ(events.commands, std::vector<int>{c::kExit});
}

TEST_F(QtMainWindow, RemovedItemsLeaveTheMenuAndIgnoreEnabling) {
    QMenu* deploy = Menu("&Deploy");
    const int before = static_cast<int>(deploy->actions().size());
    view.RemoveCommand(c::kNewFirmware);
    EXPECT_EQ(deploy->actions().size(), before - 1);
    EXPECT_EQ(view.Action(c::kNewFirmware), nullptr);
    view.EnableCommand(c::kNewFirmware, true);  // no effect, no crash
    view.EnableCommand(c::kCrawlText, false);
    EXPECT_FALSE(view.Action(c::kCrawlText)->isEnabled());
}

TEST_F(QtMainWindow, TheDialogHoldsItsItemsWithThePlaylistInsideTheTabPane) {
    for (int id : {d::kUnitList, d::kPlaylistList}) {
        EXPECT_NE(dynamic_cast<QtListControl*>(Item(id)), nullptr) << id;
    }
    auto* tabs = qobject_cast<QTabWidget*>(Item(d::kChannelTabs));
    ASSERT_NE(tabs, nullptr);
    EXPECT_EQ(tabs->count(), 4);
    EXPECT_TRUE(events.tabs.empty());  // inserting selects nothing
    const QRect pane = tabs->geometry();
    const QRect list = Item(d::kPlaylistList)->geometry();
    EXPECT_TRUE(pane.contains(list));
    EXPECT_GE(list.top(), pane.top() + tabs->tabBar()->height());
    EXPECT_LT(Item(d::kUnitList)->geometry().bottom(), Item(d::kAddButton)->geometry().top());
    EXPECT_LT(Item(d::kAddButton)->geometry().bottom(), pane.top());

    tabs->setCurrentIndex(2);
    EXPECT_EQ(events.tabs, std::vector<int>{2});
    qobject_cast<QPushButton*>(Item(d::kPreviewButton))->click();
    EXPECT_EQ(events.buttons, std::vector<int>{d::kPreviewButton});
}

TEST_F(QtMainWindow, ClosingTheWindowOnlyAsksTheApplication) {
    view.ShowMainWindow();
    view.Window()->close();
    EXPECT_EQ(events.closeRequests, 1);
    EXPECT_TRUE(view.Window()->isVisible());
}

TEST_F(QtMainWindow, TheWindowNeverGetsSmallerThanTheDialogAndStatusBar) {
    view.ShowMainWindow();
    view.Window()->resize(200, 150);
    QCoreApplication::processEvents();
    const QWidget* client = view.Window()->centralWidget();
    EXPECT_GE(client->width(), WidgetOf(dialog)->width());
    EXPECT_GE(client->height(), WidgetOf(dialog)->height() + WidgetOf(statusBar)->height());
}

// Grown wider and taller, the window keeps the button row flush with the
// unit list's right edge and between the two lists.
TEST_F(QtMainWindow, TheButtonRowStaysAlignedWhenTheWindowGrows) {
    QtWindowSystem windows;
    WSizer sizer{windows};
    AnchorMainDialog(sizer, dialog);
    view.ShowMainWindow();
    view.Window()->resize(view.Window()->width() + 400, view.Window()->height() + 300);
    QCoreApplication::processEvents();
    sizer.FitToParent(statusBar);

    const QRect units = Item(d::kUnitList)->geometry();
    const QRect tabs = Item(d::kChannelTabs)->geometry();
    EXPECT_EQ(Item(d::kDeployAllButton)->geometry().right(), units.right());
    for (const ButtonItem& button : ButtonTable()) {
        const QRect rect = Item(button.id)->geometry();
        EXPECT_GT(rect.top(), units.bottom()) << button.text;
        EXPECT_LT(rect.bottom(), tabs.top()) << button.text;
    }
}

TEST_F(QtMainWindow, AnAcceleratorRunsItsCommandAndStillReachesTheControl) {
    auto* field = new KeyLog(WidgetOf(dialog));
    view.ShowMainWindow();
    view.Window()->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(view.Window()));
    field->setFocus();
    ASSERT_TRUE(PumpUntil([&] { return QApplication::focusWidget() == field; }));

    QTest::keyClick(field, Qt::Key_Up, Qt::ControlModifier);
    QTest::keyClick(field, Qt::Key_N, Qt::ControlModifier);
    QTest::keyClick(field, Qt::Key_N, Qt::ControlModifier | Qt::ShiftModifier);
    QTest::keyClick(field, Qt::Key_X);
    EXPECT_EQ(events.commands, (std::vector<int>{40026, 40044}));
    EXPECT_EQ(field->keys, (std::vector<int>{Qt::Key_Up, Qt::Key_N, Qt::Key_N, Qt::Key_X}));
}

TEST_F(QtMainWindow, CtrlAAddsMediaWithoutSelectingEveryRowOfTheList) {
    auto* list = static_cast<QtListControl*>(Item(d::kPlaylistList));
    ASSERT_TRUE(list->InsertColumn(0, "Media", 100, ColumnAlign::Left));
    for (int row = 0; row < 3; ++row) {
        ASSERT_EQ(list->InsertRow(row, nullptr), row);
    }
    view.ShowMainWindow();
    view.Window()->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(view.Window()));
    list->setFocus();
    ASSERT_TRUE(PumpUntil([&] { return QApplication::focusWidget() == list; }));
    list->SetRowState(1, kRowSelected, kRowSelected);

    QTest::keyClick(list, Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(events.commands, std::vector<int>{40029});
    EXPECT_EQ(list->NextSelected(-1), 1);
    EXPECT_EQ(list->NextSelected(1), -1);
}

TEST_F(QtMainWindow, PostedCommandsRunOnceTheLoopGetsToThem) {
    view.PostCommand(c::kOpenPlaylist);
    EXPECT_TRUE(events.commands.empty());
    ASSERT_TRUE(PumpUntil([&] { return !events.commands.empty(); }));
    EXPECT_EQ(events.commands, std::vector<int>{c::kOpenPlaylist});
}

}  // namespace
}  // namespace vantic
