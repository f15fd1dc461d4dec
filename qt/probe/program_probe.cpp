#include "qt/program/program_probe.h"

#include "qt/probe/screenshot_hook.h"
#include "qt/probe/stall_log.h"

namespace vantic {

struct ProgramProbe::Hooks {
    Hooks(App& app, QtMainWindowView& view) : stalls(app), screenshot(app, view) {}
    StallLog stalls;
    ScreenshotHook screenshot;
};

ProgramProbe::ProgramProbe(App& app, QtMainWindowView& view)
    : hooks_(std::make_unique<Hooks>(app, view)) {}

ProgramProbe::~ProgramProbe() = default;

void ProgramProbe::Start() {
    hooks_->stalls.Start();
    hooks_->screenshot.Start();
}

void ProgramProbe::Finish() {
    hooks_->stalls.Finish();
}

int ProgramProbe::ExitStatus() const {
    return hooks_->screenshot.Succeeded() ? 0 : 2;
}

}  // namespace vantic
