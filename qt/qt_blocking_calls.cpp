#include "qt/qt_blocking_calls.h"

#include <QApplication>
#include <QCursor>
#include <QEventLoop>
#include <QThread>
#include <QTimer>
#include <atomic>
#include <thread>

namespace vantic {

namespace {

// A request that ends sooner leaves the cursor alone, so quick exchanges
// do not make it flicker.
constexpr int kBusyCursorAfterMs = 150;
constexpr int kTickMs = 50;

}  // namespace

void QtBlockingCalls::Run(const std::function<void()>& call, const std::function<void()>& tick) {
    if (QThread::currentThread() != qApp->thread()) {
        DirectCalls().Run(call, tick);
        return;
    }
    ++waits_;
    QEventLoop loop;
    std::atomic<bool> done{false};
    std::thread worker([&] {
        call();
        done = true;
        QMetaObject::invokeMethod(&loop, "quit", Qt::QueuedConnection);
    });
    bool busyCursor = false;
    QTimer busy;
    busy.setSingleShot(true);
    QObject::connect(&busy, &QTimer::timeout, [&busyCursor] {
        QApplication::setOverrideCursor(Qt::BusyCursor);
        busyCursor = true;
    });
    QTimer pulse;
    if (tick) {
        QObject::connect(&pulse, &QTimer::timeout, tick);
    }
    busy.start(kBusyCursorAfterMs);
    pulse.start(kTickMs);
    if (!done) {
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    }
    worker.join();
    pulse.stop();
    busy.stop();
    if (busyCursor) {
        QApplication::restoreOverrideCursor();
    }
    --waits_;
    if (tick) {
        tick();
    }
}

}  // namespace vantic
