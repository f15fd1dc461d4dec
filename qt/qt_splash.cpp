#include "qt/qt_splash.h"

#include <QPainter>

#include "qt/qt_window.h"
#include "qt/qt_window_system.h"

namespace vantic {

// The picture is a surface drawn into the window whenever it paints.
class QtSplashView::Window final : public QWidget {
  public:
    Window() : QWidget(nullptr, Qt::SplashScreen | Qt::FramelessWindowHint) {
        setAttribute(Qt::WA_OpaquePaintEvent);
        setWindowTitle(QString());
        picture_.SetWindow(IdOf(this));
    }
    void SetPicture(const BitmapSurface& picture) {
        picture_.Create(picture.Width(), picture.Height());
        if (picture_.HasBuffer()) {
            picture_.Pixels() = picture.Pixels();
        }
    }

  protected:
    void paintEvent(QPaintEvent* /*event*/) override {
        {
            QPainter painter(this);
            painter.fillRect(rect(), Qt::white);
        }  // ended before Draw paints
        (void)picture_.Draw(0, 0);
    }

  private:
    QtDisplays screen_;
    BitmapSurface picture_{screen_};
};

QtSplashView::QtSplashView() = default;
QtSplashView::~QtSplashView() = default;

bool QtSplashView::Open() {
    window_ = std::make_unique<Window>();
    return true;
}

void QtSplashView::Show(const BitmapSurface& picture, const Rect& rect) {
    if (!window_) {
        return;
    }
    window_->SetPicture(picture);
    window_->setGeometry(rect.left, rect.top, rect.Width(), rect.Height());
    window_->show();
    window_->repaint();
}

void QtSplashView::Close() {
    window_.reset();
}

}  // namespace vantic
