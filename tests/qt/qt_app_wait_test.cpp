// A server that takes the connection and never answers: the window keeps
// running its events under the busy cursor while the request waits, and
// the operation ends with its message and why it failed.

#include <gtest/gtest.h>

#include <signal.h>

#include <QMessageBox>

#include "net/session.h"
#include "tests/qt/qt_app_rig.h"
#include "tests/qt/qt_environment.h"

namespace vantic {
namespace {

using testing::QtAppRig;
using testing::WhenModal;

class QtAppWait : public QtAppRig {
  protected:
    ~QtAppWait() override {
        if (stopped_) {
            ::kill(server.Pid(), SIGCONT);
        }
    }
    // The server stops answering; its connections still get accepted.
    void StopServer() {
        app->Login().Settings().UseLimits(
            {std::chrono::seconds(1), std::chrono::seconds(1), std::chrono::seconds(1)});
        stopped_ = ::kill(server.Pid(), SIGSTOP) == 0;
        ASSERT_TRUE(stopped_);
    }

  private:
    bool stopped_ = false;
};

TEST_F(QtAppWait, ASilentServerLeavesTheWindowRunningAndIsReportedWithTheCause) {
    int ticks = 0;
    bool busyCursor = false;
    QTimer during;
    QObject::connect(&during, &QTimer::timeout, [&] {
        ++ticks;
        const QCursor* cursor = QApplication::overrideCursor();
        busyCursor = busyCursor || (cursor != nullptr && cursor->shape() == Qt::BusyCursor);
    });
    QString caption, text, details;
    int ticksWhileWaiting = 0;
    RunWith([&] {
        int row = -1;
        ASSERT_TRUE(app->Venue().FindUnit(1, row));
        app->Venue().SelectRow(row, true);
        StopServer();
        WhenModal<QMessageBox>([&](QMessageBox* box) {
            ticksWhileWaiting = ticks;
            caption = box->windowTitle();
            text = box->text();
            details = box->detailedText();
            box->button(QMessageBox::Ok)->click();
        });
        during.start(20);
        view->Action(command::kOpenUnitPlaylist)->trigger();
        during.stop();
    });
    // A frozen window would tick not at all; a loaded machine may manage
    // far fewer than the fifty ticks of the second the wait lasts.
    EXPECT_GE(ticksWhileWaiting, 3);
    EXPECT_TRUE(busyCursor);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    EXPECT_EQ(caption, "Communication Error");
    EXPECT_EQ(text, "Error getting config information from server");
    EXPECT_EQ(details, "No answer within 1 second");
}

}  // namespace
}  // namespace vantic
