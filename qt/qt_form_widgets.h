#pragma once

// Input widgets the forms share, so that every time picker reads the same
// way and every number box takes digits only.

#include <QLineEdit>
#include <QString>
#include <QTimeEdit>

namespace vantic {

// A time picker on the 12-hour clock ("hh:mm AP"), named name.
[[nodiscard]] QTimeEdit* MakeTimePicker(const QString& name);

// A one-line box named name that takes at most maxLength digits.
[[nodiscard]] QLineEdit* MakeDigitsBox(const QString& name, int maxLength);

}  // namespace vantic
