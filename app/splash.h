#pragma once

// The splash screen: the product's picture, scaled to the desktop, shown
// without a frame for a few seconds while the main window is being made.

#include "framework/bitmap_surface.h"
#include "platform/geometry.h"
#include "platform/platform.h"

namespace vantic {

namespace picture {
inline constexpr int kSplash = 125;  // 1342 x 250
inline constexpr int kAbout = 127;   // 360 x 67
}  // namespace picture

// The program's pictures.
class PictureSource {
  public:
    virtual ~PictureSource() = default;
    // Sizes into to the picture and copies it in; false, leaving into as
    // it was, for an unknown picture.
    virtual bool Load(int pictureId, BitmapSurface& into) = 0;
};

// A borderless pop-up window that shows one picture.
class SplashView {
  public:
    virtual ~SplashView() = default;
    // Makes the hidden window; false when it cannot.
    [[nodiscard]] virtual bool Open() = 0;
    // Places the window at rect (screen coordinates), shows it and draws
    // the picture once.
    virtual void Show(const BitmapSurface& picture, const Rect& rect) = 0;
    virtual void Close() = 0;
};

// Where the splash stands on the desktop: centred across, a third of the
// spare height above it.
[[nodiscard]] Rect SplashRect(ImageSize shown, const Rect& desktop);

// Shows the picture for the given seconds, dispatching messages meanwhile.
void ShowSplash(int pictureId, int seconds, SplashView& view, PictureSource& pictures,
                Platform& platform);

}  // namespace vantic
