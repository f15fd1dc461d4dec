#include "qt/qt_window_system.h"

#include "qt/qt_blocking_calls.h"

#include <thread>

#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QPainter>
#include <QPointer>
#include <QScreen>
#include <QThread>
#include <QTimer>
#include <QWidget>

#include "qt/qt_pictures.h"
#include "qt/qt_screen_capture.h"
#include "qt/qt_window.h"

namespace vantic {

namespace {

Rect ToRect(const QRect& rect) {
    return Rect{rect.left(), rect.top(), rect.left() + rect.width(), rect.top() + rect.height()};
}

QSize ShownFrameExtra(const QWidget& window) {
    return window.frameGeometry().size() - window.geometry().size();
}

// The extra size of a window's frame around its client area. Before a
// window is first shown the window manager has not framed it yet: its
// frame is taken to be that of a window already on the screen, or a
// placement stored with its frame would grow the window by the frame at
// every opening.
QSize FrameExtra(const QWidget& window) {
    if (!window.isWindow()) {
        return QSize(0, 0);
    }
    if (window.isVisible()) {
        return ShownFrameExtra(window);
    }
    for (const QWidget* shown : QApplication::topLevelWidgets()) {
        if (shown->isVisible() && shown->frameGeometry() != shown->geometry()) {
            return ShownFrameExtra(*shown);
        }
    }
    return QSize(0, 0);
}

class QtPlacedWindow final : public PlacedWindow {
  public:
    explicit QtPlacedWindow(QWidget* window) : window_(window) {}

    [[nodiscard]] std::optional<Rect> NormalRect() const override {
        if (!window_) {
            return std::nullopt;
        }
        if (window_->isMaximized() || window_->isMinimized() || window_->isFullScreen()) {
            const QRect normal = window_->normalGeometry();
            const QSize extra = FrameExtra(*window_);
            const QPoint offset =
                window_->geometry().topLeft() - window_->frameGeometry().topLeft();
            return Rect{normal.left() - offset.x(), normal.top() - offset.y(),
                        normal.left() - offset.x() + normal.width() + extra.width(),
                        normal.top() - offset.y() + normal.height() + extra.height()};
        }
        if (!window_->isVisible()) {  // framed as it will be once shown
            const QSize extra = FrameExtra(*window_);
            const QRect client = window_->geometry();
            return Rect{client.left(), client.top(), client.right() + 1 + extra.width(),
                        client.bottom() + 1 + extra.height()};
        }
        return ToRect(window_->frameGeometry());
    }
    void MoveTo(int x, int y) override {
        if (window_) {
            window_->move(x, y);
        }
    }
    void MoveResize(int x, int y, int width, int height) override {
        if (!window_) {
            return;
        }
        const QSize extra = FrameExtra(*window_);
        window_->move(x, y);
        window_->resize(std::max(1, width - extra.width()), std::max(1, height - extra.height()));
    }

  private:
    QPointer<QWidget> window_;
};

}  // namespace

// On an operation's thread there are no window messages: only the calls
// posted to it (a progress dialog's button) run.
void QtWindowSystem::PumpMessages() {
    if (!OnUiThreadNow()) {
        RunPostedCalls();
        return;
    }
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

// The timer bounds the wait; the user's clicks and keys wait for the next
// full dispatch, so nothing the user starts runs inside someone's wait.
void QtWindowSystem::WaitForMessages(std::chrono::milliseconds limit) {
    if (!OnUiThreadNow()) {
        std::this_thread::sleep_for(limit);
        RunPostedCalls();
        return;
    }
    QTimer bound;
    bound.setSingleShot(true);
    bound.start(limit);
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents |
                                    QEventLoop::ExcludeUserInputEvents);
}

void QtWindowSystem::Wake() {
    const QCoreApplication* app = QCoreApplication::instance();
    if (app == nullptr) {
        return;
    }
    if (QAbstractEventDispatcher* dispatcher = app->thread()->eventDispatcher()) {
        dispatcher->wakeUp();
    }
}

void QtWindowSystem::SetEnabled(WindowId window, bool enabled) {
    OnUiThread([&] {
        if (QWidget* widget = WidgetOf(window)) {
            widget->setEnabled(enabled);
        }
    });
}

bool QtWindowSystem::IsEnabled(WindowId window) const {
    return OnUiThread([&]() -> bool {
        const QWidget* widget = WidgetOf(window);
        return widget != nullptr && widget->isEnabled();
    });
}

std::unique_ptr<PlacedWindow> QtWindowSystem::Placement(WindowId window) {
    return OnUiThread([&]() -> std::unique_ptr<PlacedWindow> {
        QWidget* widget = WidgetOf(window);
        if (widget == nullptr) {
            return nullptr;
        }
        return std::make_unique<QtPlacedWindow>(widget->window());
    });
}

std::optional<std::vector<Rect>> QtDisplays::MonitorRects() const {
    const auto screens = QGuiApplication::screens();
    if (screens.isEmpty()) {
        return std::nullopt;
    }
    std::vector<Rect> rects;
    for (const QScreen* screen : screens) {
        rects.push_back(ToRect(screen->geometry()));
    }
    return rects;
}

Rect QtDisplays::WorkArea() const {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen == nullptr ? Rect{} : ToRect(screen->availableGeometry());
}

bool QtDisplays::DrawPixels(WindowId window, int x, int y, const PixelView& image,
                            const Rect& source) {
    QWidget* widget = WidgetOf(window);
    if (widget == nullptr || !widget->testAttribute(Qt::WA_WState_InPaintEvent)) {
        return false;
    }
    const QImage pixels = ImageOf(image);
    if (pixels.isNull()) {
        return false;
    }
    QPainter painter(widget);
    painter.drawImage(QPoint(x, y), pixels,
                      QRect(source.left, source.top, source.Width(), source.Height()));
    return true;
}

std::optional<ScreenPixels> QtDisplays::CaptureWindow(WindowId window, bool clientOnly) {
    QPixmap shot;
    if (window == kNoWindow) {
        QScreen* screen = QGuiApplication::primaryScreen();
        if (screen == nullptr) {
            return std::nullopt;
        }
        const QRect desktop = screen->virtualGeometry();
        shot = screen->grabWindow(0, desktop.x(), desktop.y(), desktop.width(), desktop.height());
    } else {
        QWidget* widget = WidgetOf(window);
        widget->window()->raise();
        widget->activateWindow();
        // A child has no frame: its whole window is its client area.
        shot = clientOnly || !widget->isWindow() ? widget->grab() : CaptureOnScreen(widget);
    }
    if (shot.isNull()) {
        return std::nullopt;
    }
    return PixelsOf(shot.toImage());
}

}  // namespace vantic
