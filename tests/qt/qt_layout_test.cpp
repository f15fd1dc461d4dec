#include <gtest/gtest.h>

#include <QPushButton>
#include <QWidget>

#include "qt/qt_window.h"
#include "qt/qt_window_system.h"
#include "tests/qt/qt_environment.h"

namespace vantic {
namespace {

// A window disabled while an operation's progress dialog is up takes its
// controls with it.
TEST(QtWindowSystemTest, DisablingAWindowDisablesItsControls) {
    QWidget main;
    auto* add = new QPushButton("Add", &main);
    QtWindowSystem windows;
    windows.SetEnabled(IdOf(&main), false);
    EXPECT_FALSE(windows.IsEnabled(IdOf(add)));
    windows.SetEnabled(IdOf(&main), true);
    EXPECT_TRUE(windows.IsEnabled(IdOf(add)));
}

}  // namespace
}  // namespace vantic
