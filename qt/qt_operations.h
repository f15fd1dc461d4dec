#pragma once

// The operator's operations on Qt: each runs its sequential code on one
// thread of its own while the windows keep running. When it has waited for
// a server for a second, a line "Waiting for HOST:PORT..." shows in its
// progress dialog, whose Cancel serves for it, or with a Cancel button of
// its own in the main window's status bar when it has none; Cancel closes
// the connection at once.

#include <QObject>
#include <QPointer>
#include <QTimer>
#include <deque>
#include <optional>
#include <thread>

#include "platform/operation_runner.h"

class QWidget;

namespace vantic {

class QtOperations final : public QObject, public OperationRunner {
  public:
    // The line shows after this long; the busy cursor sooner, so quick
    // exchanges do not make the cursor flicker.
    static constexpr int kWaitingLineAfterMs = 1000;
    static constexpr int kBusyCursorAfterMs = 150;

    QtOperations();
    // Cancels a running operation and waits for its end (dispatching the
    // calls it makes to the windows meanwhile), then joins its thread.
    ~QtOperations() override;

    bool Start(Operation operation) override;
    void Queue(Operation operation) override;
    [[nodiscard]] bool Running() const override { return running_; }
    void CancelRunning() override;
    void SetOnEnded(std::function<void()> ended) override { ended_ = std::move(ended); }
    // Waits dispatching the calls the operation makes to the windows.
    void Finish() override;

  private:
    void Launch(Operation operation);
    void OnFinished();
    void Watch();
    void ShowWaitingLine(const QString& text);
    void HideWaitingLine();
    void SetBusyCursor(bool busy);

    std::optional<std::jthread> thread_;
    std::thread::id threadId_;
    std::deque<Operation> queued_;
    bool running_ = false;
    std::function<void()> ended_;
    QTimer watch_;
    QPointer<QWidget> line_;
    bool busyCursor_ = false;
};

}  // namespace vantic
