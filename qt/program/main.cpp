// vantic-controller: the operator's program. It takes no arguments.

#include <QApplication>
#include <QIcon>
#include <QPixmap>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <new>

#include "app/app.h"
#include "framework/worker.h"
#include "qt/program/screenshot_hook.h"
#include "qt/program/stall_log.h"
#include "qt/qt_app_views.h"
#include "qt/qt_pictures.h"
#include "qt/qt_platform.h"
#include "qt/qt_style.h"

int main(int argc, char** argv) {
    QApplication qt(argc, argv);
    vantic::ApplyProgramStyle(qt);
    // The program ends when the application says so, not when its last
    // window (the splash, before the main window shows) closes.
    qt.setQuitOnLastWindowClosed(false);
    qt.setWindowIcon(QIcon(QPixmap::fromImage(vantic::PaintIcon(64))));

    auto platform = std::unique_ptr<vantic::QtPlatform>(new (std::nothrow) vantic::QtPlatform);
    if (!platform) {
        return 1;
    }
    auto views = std::unique_ptr<vantic::QtAppViews>(new (std::nothrow)
                                                         vantic::QtAppViews(platform->Files()));
    if (!views) {
        return 1;
    }
    vantic::QtAppViews& qtViews = *views;
    std::unique_ptr<vantic::App> app(new (std::nothrow)
                                         vantic::App(std::move(platform), std::move(views)));
    if (!app) {
        return 1;
    }
    app->Init();
    vantic::StallLog stalls(*app);
    stalls.Start();
    vantic::ScreenshotHook hook(*app, qtViews.QtMainWindow());
    hook.Start();
    app->Run();
    stalls.Finish();

    if (vantic::LiveWorkers() > 0) {
        // A worker still inside a server request would wake up among the
        // objects being destroyed; end the process the way the system ends
        // a program, workers and all. Every setting is already on disk.
        std::fflush(nullptr);
        std::_Exit(hook.Succeeded() ? 0 : 2);
    }
    app.reset();
    return hook.Succeeded() ? 0 : 2;
}
