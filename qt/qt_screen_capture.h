#pragma once

// A picture of a window as the operator sees it. On X11 the screen holds the
// window with the frame and title a window manager draws around it (waited
// for briefly, as the frame comes a little after the window shows);
// elsewhere, offscreen among them, the widget paints itself.

#include <QPixmap>

class QWidget;

namespace vantic {

[[nodiscard]] QPixmap CaptureOnScreen(QWidget* widget);

}  // namespace vantic
