// vantic-controller: the operator's program. It takes no arguments.

#include <QApplication>
#include <QIcon>
#include <QPixmap>
#include <memory>
#include <new>

#include "app/app.h"
#include "qt/program/program_probe.h"
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
    vantic::ProgramProbe probe(*app, qtViews.QtMainWindow());
    probe.Start();
    app->Run();
    probe.Finish();
    // Closing joined the workers; none outlives the application object.
    app.reset();
    return probe.ExitStatus();
}
