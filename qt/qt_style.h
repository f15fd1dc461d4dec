#pragma once

// The program's look on top of the platform's style: buttons carry their
// text only. The generic desktop theme would put Qt's own bitmap ticks and
// crosses on OK and Cancel, which no other program on the desktop shows.

#include <QApplication>
#include <QStyle>

namespace vantic {

// base (the platform's default style when null) with the program's changes;
// the caller owns the result, which owns base.
[[nodiscard]] QStyle* NewProgramStyle(QStyle* base = nullptr);

// Installs the program's style on app, over the style the platform chose.
void ApplyProgramStyle(QApplication& app);

}  // namespace vantic
