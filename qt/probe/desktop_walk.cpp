#include "qt/probe/desktop_walk.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QGuiApplication>
#include <QMainWindow>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <cstdio>
#include <utility>

#include "app/app.h"
#include "platform/list_control.h"
#include "qt/probe/window_check.h"
#include "qt/qt_list_control.h"
#include "qt/qt_main_window.h"
#include "qt/qt_screen_capture.h"
#include "qt/qt_window.h"

namespace vantic {

namespace {

constexpr int kTickMs = 50;
// The screen every window must fit, and the size each is tried at.
constexpr QSize kScreen(1280, 800);
constexpr QSize kTrySize(900, 600);
// Time for a window manager to frame, place and resize a window, and for
// the window to lay itself out and paint.
constexpr int kFrameWaitMs = 1500;
constexpr int kSettleMs = 300;
// A window that has not opened by then will not.
constexpr qint64 kStepLimitMs = 30000;

void Say(std::FILE* stream, const QString& line) {
    std::fprintf(stream, "desktop: %s\n", qPrintable(line));
    std::fflush(stream);
}

QString ButtonText(const QAbstractButton& button) {
    return button.text().remove(QLatin1Char('&'));
}

}  // namespace

DesktopWalk::DesktopWalk(App& app, QtMainWindowView& view) : app_(app), view_(view) {}

void DesktopWalk::Start() {
    outDir_ = qEnvironmentVariable("VANTIC_DESKTOP_WALK");
    pictureDir_ = qEnvironmentVariable("VANTIC_DESKTOP_PICTURES");
    if (outDir_.isEmpty()) {
        return;
    }
    QDir().mkpath(outDir_);
    if (!pictureDir_.isEmpty()) {
        QDir().mkpath(pictureDir_);
    }
    for (const WalkedWindow& window : WalkedWindows()) {
        Plan(window);
    }
    Then("the last operation's end", [this] { return Idle(); });
    Now("the end", [this] { Finish(); });
    connect(&tick_, &QTimer::timeout, this, [this] { Tick(); });
    tick_.start(kTickMs);
}

// Steps run from the timer, also inside the modal loops of the windows the
// walk opens; none waits in a loop of its own.
void DesktopWalk::Tick() {
    if (inTick_ || steps_.empty()) {
        return;
    }
    inTick_ = true;
    if (!stepClock_.isValid()) {
        stepClock_.start();
    }
    const Step step = steps_.front();
    const bool done = step.done();
    if (!done && stepClock_.elapsed() > kStepLimitMs) {
        Fail(QStringLiteral("waiting"), QStringLiteral("timed out waiting for %1").arg(step.what),
             true);
    }
    if (done || skipping_) {
        steps_.pop_front();
        stepClock_.invalidate();
    }
    if (skipping_) {
        SkipWindow();
    }
    inTick_ = false;
}

void DesktopWalk::Plan(const WalkedWindow& window) {
    // The first step of a window carries its name; skipping goes to the next.
    steps_.push_back({QStringLiteral("begin ") + window.name, [this, window] {
                          name_ = window.name;
                          window_ = nullptr;
                          // A window the one before opens comes at once.
                          return (window.command == 0 && !window.title.isEmpty()) || Idle();
                      }});
    Now("opening", [this, window] {
        if (!Open(window)) {
            Fail(QStringLiteral("opening"),
                 QStringLiteral("its command is not available to the walk"), true);
        }
    });
    Then("the window " + window.name, [this, window] { return Found(window); });
    Then("the window manager's frame", [this] {
        return window_ == nullptr || window_->frameGeometry() != window_->geometry() ||
               stepClock_.elapsed() > kFrameWaitMs;
    });
    Wait(kSettleMs);
    Now("checking", [this, window] {
        Check(QStringLiteral("as opened"));
        if (!window.picture.isEmpty()) {
            SavePicture(window.picture);
        }
    });
    Now("resizing", [this] {
        if (window_) {
            window_->resize(kTrySize);
        }
    });
    Then("the new size", [this] {
        return !window_ ||
               window_->size() ==
                   kTrySize.expandedTo(window_->minimumSize()).boundedTo(window_->maximumSize()) ||
               stepClock_.elapsed() > kFrameWaitMs;
    });
    Wait(kSettleMs);
    Now("checking", [this] { Check(QStringLiteral("at 900x600")); });
    Now("resizing back", [this] {
        if (window_) {
            window_->resize(firstSize_);
        }
    });
    Then("the first size", [this] {
        return !window_ || window_->size() == firstSize_ || stepClock_.elapsed() > kFrameWaitMs;
    });
    Wait(kSettleMs);
    Now("checking", [this] { Check(QStringLiteral("back at its first size")); });
    if (!window.title.isEmpty()) {
        Now("leaving", [this, leave = window.leave] { Leave(leave); });
        Then("the window closing", [this] { return !window_ || !window_->isVisible(); });
    }
}

void DesktopWalk::Then(QString what, std::function<bool()> done) {
    steps_.push_back({std::move(what), std::move(done)});
}

void DesktopWalk::Now(QString what, std::function<void()> act) {
    steps_.push_back({std::move(what), [act = std::move(act)] {
                          act();
                          return true;
                      }});
}

void DesktopWalk::Wait(int ms) {
    Then(QStringLiteral("a pause"), [this, ms] { return stepClock_.elapsed() >= ms; });
}

bool DesktopWalk::Idle() const {
    const QMainWindow* main = view_.Window();
    return main != nullptr && main->isVisible() && app_.Venue().ItemCount() > 0 &&
           !app_.GetPlatform().Operations().Running() &&
           QApplication::activeModalWidget() == nullptr;
}

void DesktopWalk::Select(WalkSelection selection) {
    QtListControl* units = view_.UnitListWidget();
    QtListControl* clips = view_.PlaylistWidget();
    if (units == nullptr || clips == nullptr || selection == WalkSelection::None) {
        return;
    }
    for (QtListControl* list : {units, clips}) {
        for (int row = 0; row < list->RowCount(); ++row) {
            list->SetRowState(row, 0, kRowSelected);
        }
    }
    const int unitRows = selection == WalkSelection::ThreeUnits ? 3
                         : selection == WalkSelection::OneUnit  ? 1
                                                                : 0;
    for (int row = 0; row < unitRows; ++row) {
        units->SetRowState(row, kRowSelected | kRowFocused, kRowSelected | kRowFocused);
    }
    if (selection == WalkSelection::FirstClip) {
        clips->SetRowState(0, kRowSelected | kRowFocused, kRowSelected | kRowFocused);
    }
}

bool DesktopWalk::Open(const WalkedWindow& window) {
    Select(window.select);
    if (window.command == 0) {
        return true;  // the main window, or one the window before opens
    }
    QAction* action = view_.Action(window.command);
    if (action == nullptr || !action->isEnabled()) {
        return false;
    }
    action->trigger();
    return true;
}

bool DesktopWalk::Found(const WalkedWindow& window) {
    if (window.title.isEmpty()) {
        window_ = view_.Window();
    } else {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal == nullptr || !modal->isVisible()) {
            return false;
        }
        if (auto* box = qobject_cast<QMessageBox*>(modal)) {
            Fail(QStringLiteral("opening"),
                 QStringLiteral("a message came instead: \"%1\": %2")
                     .arg(box->windowTitle(), box->text()),
                 true);
            return true;
        }
        if (!modal->windowTitle().startsWith(window.title)) {
            return false;  // a progress dialog, or the window before still closing
        }
        window_ = modal;
    }
    if (window_ != nullptr) {
        firstSize_ = window_->size();
    }
    return window_ != nullptr;
}

void DesktopWalk::Check(const QString& stage) {
    if (!window_) {
        Fail(stage, QStringLiteral("the window closed by itself"), true);
        return;
    }
    const QStringList problems = WindowProblems(*window_, kScreen);
    if (problems.isEmpty()) {
        Say(stdout, QStringLiteral("ok %1 %2: %3x%4")
                        .arg(name_, stage)
                        .arg(window_->width())
                        .arg(window_->height()));
        return;
    }
    for (const QString& problem : problems) {
        Fail(stage, problem, false);
    }
}

void DesktopWalk::Leave(WalkLeave leave) {
    if (!window_) {
        return;
    }
    if (leave == WalkLeave::Ok) {
        for (QPushButton* button : window_->findChildren<QPushButton*>()) {
            if (button->isVisible() && ButtonText(*button) == QStringLiteral("OK")) {
                button->click();
                return;
            }
        }
        Fail(QStringLiteral("leaving"), QStringLiteral("it has no \"OK\" button"), false);
    }
    if (auto* dialog = qobject_cast<QDialog*>(window_.data())) {
        dialog->reject();  // as Escape does
    } else {
        window_->close();
    }
}

void DesktopWalk::SavePicture(const QString& file) {
    if (pictureDir_.isEmpty() || !window_) {
        return;
    }
    const QString path = QDir(pictureDir_).filePath(file);
    // Screenshots are flat colours: the strongest compression costs little.
    if (!CaptureOnScreen(window_).toImage().save(path, "PNG", 0)) {
        Fail(QStringLiteral("picture"), QStringLiteral("could not save ") + path, false);
        return;
    }
    Say(stdout, QStringLiteral("picture %1").arg(path));
}

void DesktopWalk::Fail(const QString& stage, const QString& problem, bool skip) {
    ++problems_;
    Say(stderr, QStringLiteral("FAIL %1 (%2): %3").arg(name_, stage, problem));
    QString shot = QDir(outDir_).filePath(
        QStringLiteral("%1-%2.png").arg(name_, QString(stage).replace(QLatin1Char(' '), '-')));
    if (!QFile::exists(shot)) {
        QPixmap picture;
        if (window_) {
            picture = CaptureOnScreen(window_);
        } else if (QScreen* screen = QGuiApplication::primaryScreen()) {
            picture = screen->grabWindow(0);
        }
        if (!picture.isNull() && picture.save(shot)) {
            Say(stderr, QStringLiteral("screenshot %1").arg(shot));
        }
    }
    skipping_ = skipping_ || skip;
}

// The rest of the window's steps go; whatever it left open is closed.
void DesktopWalk::SkipWindow() {
    skipping_ = false;
    while (!steps_.empty() && !steps_.front().what.startsWith(QStringLiteral("begin "))) {
        steps_.pop_front();
    }
    while (QWidget* modal = QApplication::activeModalWidget()) {
        if (!modal->close()) {
            break;
        }
    }
}

void DesktopWalk::Finish() {
    Say(problems_ == 0 ? stdout : stderr, QStringLiteral("%1 problem(s) in the walk of %2 windows")
                                              .arg(problems_)
                                              .arg(WalkedWindows().size()));
    tick_.stop();
    if (QMainWindow* main = view_.Window()) {
        main->close();
    }
}

}  // namespace vantic
