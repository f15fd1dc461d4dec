#pragma once

// The "--screenshot FILE" mode the dialog demos share.

#include <QString>
#include <QStringList>

class QApplication;
class QDialog;

namespace vantic {

// FILE of "--screenshot FILE" among the program's arguments, or empty.
[[nodiscard]] QString ScreenshotPath(const QStringList& arguments);

// Shows the dialog where the program would place it, saves a picture of it
// to path once it has painted, and ends the program's loop. The exit code:
// 0 when the picture was saved.
[[nodiscard]] int SaveDialogScreenshot(QApplication& app, QDialog& dialog, const QString& path);

}  // namespace vantic
