#pragma once

// A hidden hook for the desktop check. With VANTIC_DESKTOP_WALK=DIR the
// program, once its unit list has loaded, opens every window of the walked
// windows' table as the operator would (through its menu command) and
// checks each as it opens, at 900x600 and back at its first size
// (window_check.h). It prints one line per window and one per problem,
// saves a screenshot of each window with a problem in DIR, then closes
// as the user would. With VANTIC_DESKTOP_PICTURES=DIR as well, it saves
// the user manual's pictures there. Without the variable it does nothing.

#include <QElapsedTimer>
#include <QObject>
#include <QPointer>
#include <QSize>
#include <QString>
#include <QTimer>
#include <deque>
#include <functional>

#include "qt/probe/walked_windows.h"

class QWidget;

namespace vantic {

class App;
class QtMainWindowView;

class DesktopWalk final : public QObject {
  public:
    DesktopWalk(App& app, QtMainWindowView& view);
    void Start();
    // False when a window had a problem or did not open.
    [[nodiscard]] bool Succeeded() const { return problems_ == 0; }

  private:
    // One step of the walk: true once done, polled until then.
    struct Step {
        QString what;
        std::function<bool()> done;
    };

    void Tick();
    void Plan(const WalkedWindow& window);
    void Then(QString what, std::function<bool()> done);
    void Now(QString what, std::function<void()> act);
    void Wait(int ms);

    [[nodiscard]] bool Idle() const;
    void Select(WalkSelection selection);
    [[nodiscard]] bool Open(const WalkedWindow& window);
    [[nodiscard]] bool Found(const WalkedWindow& window);
    void Check(const QString& stage);
    void Leave(WalkLeave leave);
    void SavePicture(const QString& file);
    // Notes a problem of the window walked; with skip, its other steps go.
    void Fail(const QString& stage, const QString& problem, bool skip);
    void SkipWindow();
    void Finish();

    App& app_;
    QtMainWindowView& view_;
    QString outDir_;
    QString pictureDir_;
    QTimer tick_;
    std::deque<Step> steps_;
    QElapsedTimer stepClock_;
    bool inTick_ = false;
    QString name_;  // of the window walked
    QPointer<QWidget> window_;
    QSize firstSize_;
    bool skipping_ = false;
    int problems_ = 0;
};

}  // namespace vantic
