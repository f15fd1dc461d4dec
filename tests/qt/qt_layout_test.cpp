#include <gtest/gtest.h>

#include <QLabel>
#include <QPushButton>
#include <QStatusBar>
#include <QTreeWidget>
#include <QWidget>

#include "framework/wsizer.h"
#include "qt/qt_window.h"
#include "qt/qt_window_system.h"
#include "tests/qt/qt_environment.h"

namespace vantic {
namespace {

QWidget* Item(QWidget* dialog, int id, QWidget* widget, QRect rect) {
    widget->setParent(dialog);
    widget->setGeometry(rect);
    SetItemId(widget, id);
    return widget;
}

// The main window's layout: a dialog filling a top-level window above its
// status bar, with the unit list, the tabs and a button anchored.
class QtLayoutTest : public ::testing::Test {
  protected:
    QtLayoutTest() {
        main.resize(800, 600);
        dialog = new QWidget(&main);
        dialog->setGeometry(0, 0, 800, 580);
        units = Item(dialog, 1005, new QTreeWidget, QRect(10, 10, 780, 270));
        tabs = Item(dialog, 1008, new QWidget, QRect(10, 290, 780, 30));
        add = Item(dialog, 1014, new QPushButton("Add"), QRect(10, 540, 80, 25));
        label = Item(dialog, 1021, new QLabel("Current Playlist: "), QRect(100, 540, 200, 25));
        status = new QStatusBar(&main);
        status->setGeometry(0, 580, 800, 20);
        sizer.Attach(IdOf(dialog), true);
        sizer.AnchorItem(1005, 0, 0, 1, 0.5);
        sizer.AnchorItem(1008, 0, 0.5, 1, 0.5);
        sizer.AnchorItem(1014, 0, 0.5, 0, 0);
        sizer.AnchorItemLike(1021);
    }

    QWidget main;
    QWidget* dialog;
    QWidget *units, *tabs, *add, *label;
    QStatusBar* status;
    QtWindowSystem windows;
    WSizer sizer{windows};
};

TEST_F(QtLayoutTest, RelayoutAfterAResizeFollowsTheFractions) {
    dialog->resize(1000, 781);
    sizer.Relayout();
    EXPECT_EQ(units->geometry(), QRect(10, 10, 980, 370));
    EXPECT_EQ(tabs->geometry(), QRect(10, 390, 980, 130));
    EXPECT_EQ(add->geometry(), QRect(10, 640, 80, 25));
    EXPECT_EQ(label->geometry(), QRect(100, 640, 200, 25));
}

TEST_F(QtLayoutTest, FitToParentFillsTheWindowAboveTheStatusBar) {
    main.resize(900, 700);
    sizer.FitToParent(IdOf(status));
    EXPECT_EQ(dialog->size(), QSize(900, 680));
    EXPECT_EQ(units->geometry(), QRect(10, 10, 880, 320));
}

TEST_F(QtLayoutTest, TheMinimumRuleGrowsTheWindow) {
    main.resize(500, 400);
    sizer.FitToParent(IdOf(status));
    EXPECT_EQ(main.size(), QSize(800, 600));
    sizer.FitToParent(IdOf(status));  // what the resize brings back
    EXPECT_EQ(dialog->size(), QSize(800, 580));
}

TEST_F(QtLayoutTest, GeometryNamesItemsAndParents) {
    EXPECT_EQ(windows.Item(IdOf(dialog), 1008), IdOf(tabs));
    EXPECT_EQ(windows.Item(IdOf(dialog), 4242), kNoWindow);
    EXPECT_EQ(windows.Parent(IdOf(dialog)), IdOf(&main));
    EXPECT_EQ(windows.RectInParent(IdOf(add)), (Rect{10, 540, 90, 565}));
    EXPECT_EQ(windows.ClientRect(IdOf(dialog)), (Rect{0, 0, 800, 580}));
    windows.SetEnabled(IdOf(&main), false);
    EXPECT_FALSE(windows.IsEnabled(IdOf(add)));
    windows.SetEnabled(IdOf(&main), true);
}

}  // namespace
}  // namespace vantic
