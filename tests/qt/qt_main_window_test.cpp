#include "qt/qt_main_window.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <iterator>

#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QStatusBar>
#include <QTabWidget>
#include <QTest>
#include <QTimer>

#include "qt/qt_list_control.h"
#include "tests/qt/qt_environment.h"

namespace vantic {
namespace {

using testing::PumpUntil;
namespace c = command;

class RecordingEvents final : public MainWindowEvents {
  public:
    void OnCommand(int id) override { commands.push_back(id); }
    void OnButton(int id) override { buttons.push_back(id); }
    void OnCloseRequest() override { ++closeRequests; }
    void OnTabSelected(int index) override { tabs.push_back(index); }
    void OnUnitFilterChanged(const std::string& text) override { filters.push_back(text); }
    void OnGroupChosen(const std::string& name) override { groups.push_back(name); }
    void OnGroupDeleteChosen(const std::string& name) override { groups.push_back("-" + name); }

    std::vector<std::string> filters;
    std::vector<std::string> groups;
    std::vector<int> commands;
    std::vector<int> buttons;
    std::vector<int> tabs;
    int closeRequests = 0;
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
        view.CreateStatusBar("Ready...");
        EXPECT_TRUE(view.CreateMainDialog(ButtonTable()));
        for (int i = 0; i < 4; ++i) {
            view.InsertTab(i, std::string(i == 0 ? "Video" : "Other"));
        }
    }
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
};

TEST_F(QtMainWindow, TheMenuBarFollowsTheCommandTable) {
    QStringList titles;
    for (QAction* action : view.Window()->menuBar()->actions()) {
        titles << action->text();
    }
    EXPECT_EQ(titles, (QStringList{"&File", "&Edit", "&Deploy", "&Groups", "&Reports", "&Help"}));
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
    view.SetCommandEnabled(c::kNewFirmware, true);  // no effect, no crash
    view.SetCommandEnabled(c::kCrawlText, false);
    EXPECT_FALSE(view.Action(c::kCrawlText)->isEnabled());
    // A command greys its menu item and its button alike.
    view.SetCommandEnabled(c::kDeleteMedia, false);
    EXPECT_FALSE(view.Action(c::kDeleteMedia)->isEnabled());
    EXPECT_FALSE(view.Button(c::kDeleteMedia)->isEnabled());
    view.SetCommandEnabled(c::kPreviewMedia, false);
    EXPECT_FALSE(view.Button(c::kPreviewMedia)->isEnabled());
    EXPECT_TRUE(view.Button(c::kAddMedia)->isEnabled());
}

TEST_F(QtMainWindow, TheDialogHoldsItsItemsWithThePlaylistInsideTheTabPane) {
    ASSERT_NE(view.UnitList(), nullptr);
    ASSERT_NE(view.PlaylistList(), nullptr);
    QTabWidget* tabs = view.Tabs();
    ASSERT_NE(tabs, nullptr);
    EXPECT_EQ(tabs->count(), 4);
    EXPECT_TRUE(events.tabs.empty());  // inserting selects nothing
    view.ShowMainWindow();
    QCoreApplication::processEvents();
    auto inPane = [&] {
        const QRect pane = tabs->currentWidget()->geometry();
        const QWidget* list = view.PlaylistWidget();
        return list->isVisible() && list->parentWidget() == tabs->currentWidget() &&
               QRect(QPoint(0, 0), pane.size()).contains(list->geometry());
    };
    EXPECT_TRUE(inPane());
    EXPECT_LT(view.UnitListWidget()->geometry().bottom(),
              view.Button(c::kAddMedia)->geometry().top());
    EXPECT_LT(view.Button(c::kAddMedia)->geometry().bottom(), tabs->geometry().top());

    tabs->setCurrentIndex(2);
    EXPECT_EQ(events.tabs, std::vector<int>{2});
    QCoreApplication::processEvents();
    EXPECT_TRUE(inPane());
    view.Button(c::kPreviewMedia)->click();
    EXPECT_EQ(events.buttons, std::vector<int>{c::kPreviewMedia});
    view.SetPlaylistTitle("Current Playlist: night");
    EXPECT_EQ(view.TitleLabel()->text(), "Current Playlist: night");
}

TEST_F(QtMainWindow, ClosingTheWindowOnlyAsksTheApplication) {
    view.ShowMainWindow();
    view.Window()->close();
    EXPECT_EQ(events.closeRequests, 1);
    EXPECT_TRUE(view.Window()->isVisible());
}

TEST_F(QtMainWindow, TheDialogFillsTheClientAreaAboveTheStatusBarAndKeepsItsMinimum) {
    view.ShowMainWindow();
    view.Window()->resize(200, 150);
    QCoreApplication::processEvents();
    const QWidget* dialog = view.Dialog();
    EXPECT_GE(dialog->width(), 840);
    EXPECT_GE(dialog->height(), 560);
    EXPECT_EQ(dialog->geometry().bottom() + 1, view.StatusBar()->geometry().top());
    EXPECT_EQ(dialog->width(), view.Window()->width());
}

// Each edge of got within a pixel (the rounding of halves) of want's.
::testing::AssertionResult Near(const QRect& got, const QRect& want) {
    const QMargins off(got.left() - want.left(), got.top() - want.top(), got.right() - want.right(),
                       got.bottom() - want.bottom());
    if (std::max({std::abs(off.left()), std::abs(off.top()), std::abs(off.right()),
                  std::abs(off.bottom())}) <= 1) {
        return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure() << "wanted about " << want.x() << "," << want.y() << " "
                                         << want.width() << "x" << want.height();
}

// As the window grows, the unit list takes the upper half of the extra
// height, the tabs the lower half; the label and the buttons move down by
// half of it keeping their size, the buttons flush with the right edge.
TEST_F(QtMainWindow, GrowingTheWindowStretchesTheListsAndMovesTheButtonRow) {
    view.ShowMainWindow();
    QCoreApplication::processEvents();
    const QSize start = view.Window()->size();
    const QRect units = view.UnitListWidget()->geometry(), tabs = view.Tabs()->geometry(),
                title = view.TitleLabel()->geometry(), add = view.Button(c::kAddMedia)->geometry();
    for (const QSize grow : {QSize(400, 300), QSize(0, 120), QSize(70, 0), QSize(13, 41)}) {
        view.Window()->resize(start + grow);
        QCoreApplication::processEvents();
        const int dw = grow.width(), dh = grow.height(), half = dh / 2;
        const std::string name = std::to_string(dw) + "x" + std::to_string(dh);
        EXPECT_TRUE(Near(view.UnitListWidget()->geometry(), units.adjusted(0, 0, dw, half)))
            << name;
        EXPECT_TRUE(Near(view.Tabs()->geometry(), tabs.adjusted(0, half, dw, dh))) << name;
        EXPECT_EQ(view.Tabs()->geometry().bottom(), tabs.bottom() + dh) << name;
        EXPECT_TRUE(Near(view.TitleLabel()->geometry(), title.translated(0, half))) << name;
        EXPECT_TRUE(Near(view.Button(c::kAddMedia)->geometry(), add.translated(dw, half))) << name;
        EXPECT_EQ(view.Button(c::kDeployToAll)->geometry().right(),
                  view.UnitListWidget()->geometry().right())
            << name;
    }
}

TEST_F(QtMainWindow, AnAcceleratorRunsItsCommandAndStillReachesTheControl) {
    auto* field = new KeyLog(view.Dialog());
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

// The filter field reports its text once typing pauses; Escape clears it,
// Ctrl+F comes back to it, a status count puts its filter in it, the groups
// fill the Groups menu, and Ctrl+Shift+A is "Select Shown Units".
TEST_F(QtMainWindow, TheFilterFieldCountsAndGroupsFeedTheUnitFilter) {
    view.ShowMainWindow();
    view.Window()->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(view.Window()));
    QLineEdit* field = view.FilterField();
    ASSERT_NE(field, nullptr);
    EXPECT_EQ(field->placeholderText(), "Filter units");
    view.UnitListWidget()->setFocus();
    QTest::keyClick(view.UnitListWidget(), Qt::Key_F, Qt::ControlModifier);
    ASSERT_TRUE(PumpUntil([&] { return QApplication::focusWidget() == field; }));
    QTest::keyClicks(field, "late");
    ASSERT_TRUE(PumpUntil([&] { return !events.filters.empty(); }));
    EXPECT_EQ(events.filters, std::vector<std::string>{"late"});  // once, not per letter
    QTest::keyClick(field, Qt::Key_Escape);
    ASSERT_TRUE(PumpUntil([&] { return events.filters.size() == 2; }));
    EXPECT_EQ(events.filters.back(), "");

    view.SetStatusCounts(StatusCounts{3, {{"2 OK", "status:\"OK\""}, {"1 late", "x & y"}}});
    EXPECT_TRUE(view.StatusBar()->isAncestorOf(view.CountsLabel()));
    EXPECT_NE(view.CountsLabel()->text().indexOf("3 units: "), -1);
    const QString text = view.CountsLabel()->text();
    const int link = text.indexOf("href=\"") + 6;
    emit view.CountsLabel()->linkActivated(text.mid(link, text.indexOf('"', link) - link));
    EXPECT_EQ(field->text(), "status:\"OK\"");

    view.SetUnitGroups({"Harbor", "Late ones"});
    QStringList items;
    for (QAction* action : Menu("&Groups")->actions()) {
        items << (action->isSeparator() ? "--" : action->text());
    }
    EXPECT_EQ(items, (QStringList{"Save Filter as Group...", "--", "Harbor", "Late ones", "--",
                                  "Delete Group"}));
    Menu("&Groups")->actions()[3]->trigger();
    Menu("&Groups")->actions()[5]->menu()->actions()[0]->trigger();
    EXPECT_EQ(events.groups, (std::vector<std::string>{"Late ones", "-Harbor"}));
    view.SetUnitGroups({});
    EXPECT_EQ(Menu("&Groups")->actions().size(), 1);

    QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);  // selects the text, adds no media
    EXPECT_EQ(field->selectedText(), field->text());
    QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(events.commands, std::vector<int>{40053});
}

TEST_F(QtMainWindow, CtrlAAddsMediaWithoutSelectingEveryRowOfTheList) {
    QtListControl* list = view.PlaylistWidget();
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

// A right click on a row selects it and offers that row's menu commands
// (the menu bar's own actions, so they run through OnCommand); F1 asks for
// the user manual.
TEST_F(QtMainWindow, RowsOfferTheirMenuCommandsAndF1OpensTheManual) {
    view.ShowMainWindow();
    view.Window()->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(view.Window()));
    view.UnitListWidget()->setFocus();
    ASSERT_TRUE(PumpUntil([&] { return QApplication::focusWidget() == view.UnitListWidget(); }));
    QTest::keyClick(view.UnitListWidget(), Qt::Key_F1);
    EXPECT_EQ(events.commands, std::vector<int>{c::kUserManual});
    for (const auto& [list, commands] : {std::pair(view.UnitListWidget(), UnitRowCommands()),
                                         std::pair(view.PlaylistWidget(), ClipRowCommands())}) {
        ASSERT_TRUE(list->InsertColumn(0, "Row", 100, ColumnAlign::Left));
        for (int row = 0; row < 3; ++row) {
            ASSERT_EQ(list->InsertRow(row, nullptr), row);
        }
        list->SetRowState(0, kRowSelected, kRowSelected);
        std::vector<QAction*> offered;
        QTimer::singleShot(0, [&offered] {
            auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            ASSERT_NE(menu, nullptr);
            const QList<QAction*> actions = menu->actions();
            std::copy_if(actions.begin(), actions.end(), std::back_inserter(offered),
                         [](QAction* action) { return !action->isSeparator(); });
            menu->close();
        });
        const QPoint at = list->visualItemRect(list->topLevelItem(2)).center();
        QContextMenuEvent click(QContextMenuEvent::Mouse, at, list->viewport()->mapToGlobal(at));
        QApplication::sendEvent(list->viewport(), &click);
        std::vector<QAction*> expected;
        for (const int id : commands) {
            if (id != 0) {
                expected.push_back(view.Action(id));
            }
        }
        EXPECT_EQ(offered, expected);
        EXPECT_EQ(list->NextSelected(-1), 2);  // the clicked row alone
        EXPECT_EQ(list->NextSelected(2), -1);
    }
}

TEST_F(QtMainWindow, PostedCommandsRunOnceTheLoopGetsToThem) {
    view.PostCommand(c::kOpenPlaylist);
    EXPECT_TRUE(events.commands.empty());
    ASSERT_TRUE(PumpUntil([&] { return !events.commands.empty(); }));
    EXPECT_EQ(events.commands, std::vector<int>{c::kOpenPlaylist});
}

}  // namespace
}  // namespace vantic
