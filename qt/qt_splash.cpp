#include "qt/qt_splash.h"

#include <QPainter>

#include "qt/qt_pictures.h"

namespace vantic {

class QtSplashView::Window final : public QWidget {
  public:
    Window() : QWidget(nullptr, Qt::SplashScreen | Qt::FramelessWindowHint) {
        setAttribute(Qt::WA_OpaquePaintEvent);
        setWindowTitle(QString());
    }
    void SetPicture(QImage picture) { picture_ = std::move(picture); }

  protected:
    void paintEvent(QPaintEvent* /*event*/) override {
        QPainter painter(this);
        painter.fillRect(rect(), Qt::white);
        painter.drawImage(0, 0, picture_);
    }

  private:
    QImage picture_;
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
    window_->SetPicture(ImageOf(picture));
    window_->setGeometry(rect.left, rect.top, rect.Width(), rect.Height());
    window_->show();
    window_->repaint();
}

void QtSplashView::Close() {
    window_.reset();
}

}  // namespace vantic
