#pragma once

// A hidden hook for measuring scripts. With VANTIC_STALL_LOG=PATH a
// heartbeat timer on the user-interface thread notes every gap between
// its ticks longer than 50 ms: a time the window could not repaint. It
// also notes what a script needs to tell the phases apart, and at exit
// writes PATH, times in ms since the hook started:
//
//   launched EPOCH_MS        when that was, in ms since 1970
//   stall START LENGTH       one line per stall
//   worker START END         a worker (a unit list fetch) was running
//   click TIME COLUMN        the unit list's header was clicked
//   sorted TIME              the unit list's rows were put in a new order
//   painted TIME             the unit list's first paint, and the first
//                            after each new order
//   longest START LENGTH     the longest stall (0 0 when there was none)
//
// Without the variable it does nothing.

#include <QElapsedTimer>
#include <QObject>
#include <QPointer>
#include <QStringList>
#include <QTimer>
#include <QWidget>

namespace vantic {

class App;

class StallLog final : public QObject {
  public:
    explicit StallLog(App& app);
    // Starts the heartbeat when the variable asks for it.
    void Start();
    // Writes the file; call once, as the program ends.
    void Finish();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void Beat();
    // Watches the unit list once it exists.
    void WatchUnitList();
    void Note(const QString& line);
    [[nodiscard]] qint64 Now() const { return clock_.elapsed(); }

    App& app_;
    QString path_;
    QElapsedTimer clock_;
    qint64 launched_ = 0;
    QTimer heartbeat_;
    qint64 lastBeat_ = 0;
    qint64 workerSince_ = -1;
    qint64 longestStart_ = 0;
    qint64 longest_ = 0;
    QPointer<QWidget> viewport_;
    bool paintDue_ = true;
    QStringList lines_;
};

}  // namespace vantic
