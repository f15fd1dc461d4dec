#include "qt/demo/demo_screenshot.h"

#include <QApplication>
#include <QDialog>
#include <QTimer>

#include "qt/qt_dialogs.h"
#include "qt/qt_screen_capture.h"

namespace vantic {

QString ScreenshotPath(const QStringList& arguments) {
    const int at = arguments.indexOf("--screenshot");
    return at >= 0 && at + 1 < arguments.size() ? arguments[at + 1] : QString();
}

int SaveDialogScreenshot(QApplication& app, QDialog& dialog, const QString& path) {
    dialog.show();
    PlaceDialog(dialog, nullptr);
    int failures = 0;
    QTimer::singleShot(500, [&] {
        failures = CaptureOnScreen(&dialog).save(path) ? 0 : 1;
        app.quit();
    });
    app.exec();
    return failures;
}

}  // namespace vantic
