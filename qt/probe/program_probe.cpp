#include "qt/program/program_probe.h"

#include "qt/probe/desktop_walk.h"
#include "qt/probe/screenshot_hook.h"
#include "qt/probe/stall_log.h"

namespace vantic {

struct ProgramProbe::Hooks {
    Hooks(App& app, QtMainWindowView& view) : stalls(app), screenshot(app, view), walk(app, view) {}
    StallLog stalls;
    ScreenshotHook screenshot;
    DesktopWalk walk;
};

ProgramProbe::ProgramProbe(App& app, QtMainWindowView& view)
    : hooks_(std::make_unique<Hooks>(app, view)) {}

ProgramProbe::~ProgramProbe() = default;

void ProgramProbe::Start() {
    hooks_->stalls.Start();
    hooks_->screenshot.Start();
    hooks_->walk.Start();
}

void ProgramProbe::Finish() {
    hooks_->stalls.Finish();
}

int ProgramProbe::ExitStatus() const {
    if (!hooks_->screenshot.Succeeded()) {
        return 2;
    }
    return hooks_->walk.Succeeded() ? 0 : 3;
}

}  // namespace vantic
