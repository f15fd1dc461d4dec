#include "qt/qt_screen_capture.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace vantic {

namespace {

constexpr int kFrameWaitMs = 1000;

}  // namespace

QPixmap CaptureOnScreen(QWidget* widget) {
    QScreen* screen = widget->screen();
    if (QGuiApplication::platformName() != "xcb" || screen == nullptr) {
        return widget->grab();
    }
    QElapsedTimer waited;
    waited.start();
    while (widget->frameGeometry() == widget->geometry() && waited.elapsed() < kFrameWaitMs) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    const QRect frame = widget->frameGeometry();
    return screen->grabWindow(0, frame.x(), frame.y(), frame.width(), frame.height());
}

}  // namespace vantic
