#pragma once

// What an operator needs of a window on a real desktop: it is at least its
// minimum size and fits the screen, and every button and scroll bar it
// shows lies inside it, unclipped and big enough for its text.

#include <QSize>
#include <QStringList>

class QWidget;

namespace vantic {

// The problems of window as it stands on a screen of screenSize; empty
// when there are none. Each names the control and what is wrong.
[[nodiscard]] QStringList WindowProblems(const QWidget& window, QSize screenSize);

}  // namespace vantic
