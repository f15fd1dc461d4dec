// A server that takes the connection and never answers: the window keeps
// running its events under the busy cursor while the operation waits, and
// the operation ends with its message and why it failed; or the waiting
// line's Cancel ends it at once, without a message.

#include <gtest/gtest.h>

#include <signal.h>

#include <QLabel>
#include <QMessageBox>
#include <QPushButton>

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

    // The server stops answering under the usual limits: only a cancel
    // ends the wait soon.
    void SilenceServer() {
        stopped_ = ::kill(server.Pid(), SIGSTOP) == 0;
        ASSERT_TRUE(stopped_);
    }

  private:
    bool stopped_ = false;
};

[[nodiscard]] QWidget* WaitingLine() {
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (auto* line = window->findChild<QWidget*>("waitingLine"); line && line->isVisible()) {
            return line;
        }
    }
    return nullptr;
}

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
        RunCommand(command::kOpenUnitPlaylist);
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

TEST_F(QtAppWait, TheWaitingLinesCancelEndsAStalledRequestWithoutAMessage) {
    bool messageShown = false;
    QString waitingText;
    bool loopFreeMeanwhile = false;
    RunWith([&] {
        int row = -1;
        ASSERT_TRUE(app->Venue().FindUnit(1, row));
        app->Venue().SelectRow(row, true);
        SilenceServer();
        QTimer watch;
        QObject::connect(&watch, &QTimer::timeout, [&] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                messageShown = true;
                box->reject();
            }
        });
        watch.start(10);
        view->Action(command::kOpenUnitPlaylist)->trigger();
        // The trigger came back while the request waits: the loop is free.
        loopFreeMeanwhile = OperationRuns();
        QWidget* line = nullptr;
        while (OperationRuns() && (line = WaitingLine()) == nullptr) {
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        }
        ASSERT_NE(line, nullptr);
        waitingText = line->findChild<QLabel*>()->text();
        line->findChild<QPushButton*>()->click();
        WaitForOperation();
        QCoreApplication::processEvents();
    });
    EXPECT_TRUE(loopFreeMeanwhile);
    EXPECT_EQ(waitingText, QString::fromStdString("Waiting for " + server.Address() + "..."));
    EXPECT_FALSE(messageShown);
    EXPECT_EQ(WaitingLine(), nullptr);
}

}  // namespace
}  // namespace vantic
