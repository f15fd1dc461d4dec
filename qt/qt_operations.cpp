#include "qt/qt_operations.h"

#include <QApplication>
#include <QBoxLayout>
#include <QDialog>
#include <QLabel>
#include <QPushButton>
#include <QStatusBar>
#include <QWidget>

#include "platform/connection_watch.h"
#include "platform/threads.h"
#include "qt/qt_progress.h"
#include "qt/qt_text.h"

namespace vantic {

namespace {

constexpr int kWatchEveryMs = 100;

// Where the waiting line goes: the open progress dialog, else the status
// bar of the main window.
QWidget* OpenProgressDialog() {
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (dynamic_cast<QtProgressDialog*>(window) != nullptr && window->isVisible()) {
            return window;
        }
    }
    return nullptr;
}

QStatusBar* MainStatusBar() {
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (!window->isVisible()) {
            continue;
        }
        if (auto* bar = window->findChild<QStatusBar*>()) {
            return bar;
        }
    }
    return nullptr;
}

}  // namespace

QtOperations::QtOperations() {
    watch_.setInterval(kWatchEveryMs);
    connect(&watch_, &QTimer::timeout, this, [this] { Watch(); });
}

QtOperations::~QtOperations() {
    ended_ = nullptr;
    Finish();
    HideWaitingLine();
    SetBusyCursor(false);
}

void QtOperations::Finish() {
    queued_.clear();
    CancelRunning();
    while (running_) {  // its end comes as an event
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
}

bool QtOperations::Start(Operation operation) {
    if (running_) {
        return false;
    }
    Launch(std::move(operation));
    return true;
}

void QtOperations::Queue(Operation operation) {
    if (running_) {
        queued_.push_back(std::move(operation));
        return;
    }
    Launch(std::move(operation));
}

// A modal dialog up meanwhile is the operation's question: it answers as
// its Cancel does, and the operation asks nothing more.
void QtOperations::CancelRunning() {
    if (!running_) {
        return;
    }
    CancelRequests(threadId_);
    if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
        dialog->reject();
    }
}

// The thread tells its end through the loop, where the thread is joined and
// the next operation starts.
void QtOperations::Launch(Operation operation) {
    running_ = true;
    thread_ = StartThread([this, operation](std::stop_token) {
        operation();
        QMetaObject::invokeMethod(
            this, [this] { OnFinished(); }, Qt::QueuedConnection);
    });
    if (!thread_) {
        // No thread to be had: run it here, the window still while it does.
        operation();
        QMetaObject::invokeMethod(
            this, [this] { OnFinished(); }, Qt::QueuedConnection);
        threadId_ = std::this_thread::get_id();
        return;
    }
    threadId_ = thread_->get_id();
    watch_.start();
}

void QtOperations::OnFinished() {
    if (thread_) {
        thread_->join();
        thread_.reset();
    }
    ResumeRequests(threadId_);
    watch_.stop();
    HideWaitingLine();
    SetBusyCursor(false);
    running_ = false;
    if (!queued_.empty()) {
        Operation next = std::move(queued_.front());
        queued_.pop_front();
        Launch(std::move(next));
    }
    if (ended_) {
        ended_();
    }
}

void QtOperations::Watch() {
    const std::optional<WatchedRequest> request = QuietestRequestOf(threadId_);
    const auto waited = request ? std::chrono::duration_cast<std::chrono::milliseconds>(
                                      std::chrono::steady_clock::now() - request->quietSince)
                                      .count()
                                : 0;
    SetBusyCursor(request && waited >= kBusyCursorAfterMs);
    if (request && waited >= kWaitingLineAfterMs) {
        ShowWaitingLine(FromText("Waiting for " + request->peer + "..."));
    } else {
        HideWaitingLine();
    }
}

void QtOperations::ShowWaitingLine(const QString& text) {
    QWidget* dialog = OpenProgressDialog();
    QStatusBar* bar = dialog == nullptr ? MainStatusBar() : nullptr;
    QWidget* home = dialog != nullptr ? dialog : bar;
    if (line_ && line_->parentWidget() == home) {
        line_->findChild<QLabel*>()->setText(text);
        return;
    }
    HideWaitingLine();
    if (home == nullptr) {
        return;
    }
    auto* line = new QWidget;
    line->setObjectName("waitingLine");
    auto* row = new QHBoxLayout(line);
    row->setContentsMargins(0, 0, 0, 0);
    auto* label = new QLabel(text);
    row->addWidget(label, 1);
    if (bar != nullptr) {
        auto* cancel = new QPushButton("Cancel");
        cancel->setAutoDefault(false);
        connect(cancel, &QPushButton::clicked, this, [this] { CancelRunning(); });
        row->addWidget(cancel);
        // At the right end, so the bar's own line ("Loading units from
        // HOST:PORT...") stays readable beside it.
        bar->addPermanentWidget(line);
    } else if (auto* layout = qobject_cast<QBoxLayout*>(dialog->layout())) {
        // The dialog keeps its width (its Cancel already cancels the wait).
        label->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
        layout->addWidget(line);
    } else {
        delete line;
        return;
    }
    line->show();
    line_ = line;
}

void QtOperations::HideWaitingLine() {
    if (line_) {
        line_->hide();
        line_->deleteLater();
        line_ = nullptr;
    }
}

void QtOperations::SetBusyCursor(bool busy) {
    if (busy == busyCursor_) {
        return;
    }
    busyCursor_ = busy;
    if (busy) {
        QApplication::setOverrideCursor(Qt::BusyCursor);
    } else {
        QApplication::restoreOverrideCursor();
    }
}

}  // namespace vantic
