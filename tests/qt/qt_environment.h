#pragma once

// Helpers for the Qt tests. The QApplication itself is made once for the
// whole program by a global test environment (qt_environment_test.cpp),
// on the offscreen platform unless QT_QPA_PLATFORM says otherwise.

#include <gtest/gtest.h>

#include <QApplication>
#include <QCoreApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QTimer>
#include <QWidget>
#include <cstdlib>
#include <functional>
#include <type_traits>

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

// Runs answer on the modal dialog of type Dialog that opens next, from the
// event loop the dialog runs.
template <class Dialog = QDialog>
void WhenModal(std::type_identity_t<std::function<void(Dialog*)>> answer) {
    auto* poll = new QTimer;
    QObject::connect(poll, &QTimer::timeout, [poll, answer] {
        if (auto* dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget())) {
            poll->stop();
            poll->deleteLater();
            answer(dialog);
        }
    });
    poll->start(10);
}

// The dialog's child widget of that type and object name; a test failure
// when there is none.
template <class Widget>
Widget* Find(QWidget* dialog, const char* name) {
    auto* widget = dialog->findChild<Widget*>(name);
    EXPECT_NE(widget, nullptr) << name;
    return widget;
}

// With VANTIC_TEST_PICTURES=DIR, saves the widget as DIR/name, so a person
// can look at what a test saw; without it, nothing.
inline void KeepPicture(QWidget& widget, const char* name) {
    if (const char* dir = std::getenv("VANTIC_TEST_PICTURES")) {
        widget.grab().save(QString(dir) + "/" + name);
    }
}

}  // namespace vantic::testing
