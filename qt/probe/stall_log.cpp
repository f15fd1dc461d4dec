#include "qt/probe/stall_log.h"

#include <QDateTime>
#include <QEvent>
#include <QFile>
#include <QHeaderView>
#include <cstdio>

#include "app/app.h"
#include "framework/worker.h"
#include "qt/qt_list_control.h"

namespace vantic {

namespace {

constexpr int kBeatMs = 5;
// A gap longer than this is a stall.
constexpr qint64 kStallMs = 50;

}  // namespace

StallLog::StallLog(App& app) : app_(app) {}

void StallLog::Start() {
    path_ = qEnvironmentVariable("VANTIC_STALL_LOG");
    if (path_.isEmpty()) {
        return;
    }
    clock_.start();
    launched_ = QDateTime::currentMSecsSinceEpoch();
    heartbeat_.setTimerType(Qt::PreciseTimer);
    connect(&heartbeat_, &QTimer::timeout, this, [this] { Beat(); });
    heartbeat_.start(kBeatMs);
}

void StallLog::Beat() {
    const qint64 now = Now();
    const qint64 gap = now - lastBeat_;
    if (gap > kStallMs) {
        Note(QStringLiteral("stall %1 %2").arg(lastBeat_).arg(gap));
        if (gap > longest_) {
            longest_ = gap;
            longestStart_ = lastBeat_;
        }
    }
    lastBeat_ = now;
    const bool working = LiveWorkers() > 0;
    if (working && workerSince_ < 0) {
        workerSince_ = now;
    } else if (!working && workerSince_ >= 0) {
        Note(QStringLiteral("worker %1 %2").arg(workerSince_).arg(now));
        workerSince_ = -1;
    }
    WatchUnitList();
}

void StallLog::WatchUnitList() {
    if (viewport_ != nullptr) {
        return;
    }
    auto* list = dynamic_cast<QtListControl*>(app_.Venue().Control());
    if (list == nullptr) {
        return;
    }
    viewport_ = list->viewport();
    viewport_->installEventFilter(this);
    connect(list->header(), &QHeaderView::sectionClicked, this,
            [this](int column) { Note(QStringLiteral("click %1 %2").arg(Now()).arg(column)); });
    // Sorting reorders the model's rows; a refresh only changes and adds.
    connect(list->model(), &QAbstractItemModel::layoutChanged, this, [this] {
        Note(QStringLiteral("sorted %1").arg(Now()));
        paintDue_ = true;
    });
}

bool StallLog::eventFilter(QObject* watched, QEvent* event) {
    if (watched == viewport_ && event->type() == QEvent::Paint && paintDue_) {
        paintDue_ = false;
        Note(QStringLiteral("painted %1").arg(Now()));
    }
    return false;
}

void StallLog::Note(const QString& line) {
    lines_.append(line);
}

void StallLog::Finish() {
    if (path_.isEmpty()) {
        return;
    }
    heartbeat_.stop();
    if (workerSince_ >= 0) {
        Note(QStringLiteral("worker %1 %2").arg(workerSince_).arg(Now()));
    }
    QFile file(path_);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Text)) {
        std::fprintf(stderr, "vantic-controller: could not write %s\n", qPrintable(path_));
        return;
    }
    QStringList all{QStringLiteral("launched %1").arg(launched_)};
    all += lines_;
    all.append(QStringLiteral("longest %1 %2").arg(longestStart_).arg(longest_));
    file.write(all.join('\n').toUtf8() + '\n');
}

}  // namespace vantic
