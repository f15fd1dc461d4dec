#pragma once

// A hidden hook for scripts and smoke tests. With VANTIC_SCREENSHOT=PATH
// the program saves its main window as PATH once the unit list has rows
// (or VANTIC_SCREENSHOT_WAIT seconds after the window appeared, default
// 30), prints "rows N" (the unit list's rows in the picture) on standard
// output, then closes the window as the user would.
// VANTIC_SCREENSHOT_ABOUT=PATH first saves the About box. Without the
// variables it does nothing.

#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <QTimer>

namespace vantic {

class App;
class QtMainWindowView;

class ScreenshotHook final : public QObject {
  public:
    ScreenshotHook(App& app, QtMainWindowView& view);
    // Starts watching when the variables ask for it.
    void Start();
    // False when a picture asked for could not be saved.
    [[nodiscard]] bool Succeeded() const { return failures_ == 0; }

  private:
    void Poll();
    void ShootAbout();
    void ShootMainWindowAndClose();
    void Save(QWidget* widget, const QString& path);

    App& app_;
    QtMainWindowView& view_;
    QString mainPath_;
    QString aboutPath_;
    int waitMs_ = 30000;
    QTimer poll_;
    QElapsedTimer shown_;
    int failures_ = 0;
};

}  // namespace vantic
