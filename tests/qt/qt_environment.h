#pragma once

// Helpers for the Qt tests. The QApplication itself is made once for the
// whole program by a global test environment (qt_environment_test.cpp),
// on the offscreen platform unless QT_QPA_PLATFORM says otherwise.

#include <QCoreApplication>
#include <QElapsedTimer>
#include <functional>

namespace vantic::testing {

// Pumps the event loop until done() or timeoutMs passed; done()'s last answer.
inline bool PumpUntil(const std::function<bool()>& done, int timeoutMs = 20000) {
    QElapsedTimer timer;
    timer.start();
    while (!done()) {
        if (timer.elapsed() > timeoutMs) {
            return false;
        }
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    return true;
}

}  // namespace vantic::testing
