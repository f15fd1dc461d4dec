#pragma once

// The splash window on Qt: a frameless pop-up that paints one picture.

#include <QWidget>
#include <memory>

#include "app/splash.h"

namespace vantic {

class QtSplashView final : public SplashView {
  public:
    QtSplashView();
    ~QtSplashView() override;
    [[nodiscard]] bool Open() override;
    void Show(const BitmapSurface& picture, const Rect& rect) override;
    void Close() override;

  private:
    class Window;
    std::unique_ptr<Window> window_;
};

}  // namespace vantic
