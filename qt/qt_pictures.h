#pragma once

// The program's own pictures, painted in code: the splash (1342 x 250) and
// the About box's banner (360 x 67).

#include <QImage>

#include "app/splash.h"

namespace vantic {

// The picture, or a null image for an unknown id. ratio is the screen's
// device pixel ratio: the image has that many pixels per logical pixel.
[[nodiscard]] QImage PaintPicture(int pictureId, qreal ratio = 1);

// The program's icon: the sign motif on the splash's colours in a rounded
// square, size x size pixels with a transparent surround.
[[nodiscard]] QImage PaintIcon(int size);

// A surface's pixels as an image (0x00RRGGBB words are Qt's RGB32).
[[nodiscard]] QImage ImageOf(const BitmapSurface& surface);
// The same over pixels it does not copy: use it while they live.
[[nodiscard]] QImage ImageOf(const PixelView& pixels);
// An image's pixels as 0x00RRGGBB words.
[[nodiscard]] ScreenPixels PixelsOf(const QImage& image);

class QtPictures final : public PictureSource {
  public:
    bool Load(int pictureId, BitmapSurface& into) override;
};

}  // namespace vantic
