#pragma once

// Input widgets the forms share, so that every time picker reads the same
// way, every number box takes digits only and every form ends in the same
// OK and Cancel row.

#include <QBoxLayout>
#include <QDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QString>
#include <QTimeEdit>
#include <functional>

namespace vantic {

// A time picker on the 12-hour clock ("hh:mm AP"), named name.
[[nodiscard]] QTimeEdit* MakeTimePicker(const QString& name);

// A one-line box named name that takes at most maxLength digits.
[[nodiscard]] QLineEdit* MakeDigitsBox(const QString& name, int maxLength);

// Adds the OK and Cancel row to layout: OK (item 1, the default button) runs
// pressOk, which decides whether the dialog closes; Cancel (item 2), Escape
// and the close box reject. Returns the OK button.
QPushButton* AddOkCancel(QDialog& dialog, QBoxLayout& layout, std::function<void()> pressOk);

}  // namespace vantic
