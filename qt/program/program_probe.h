#pragma once

// What a test build of the controller watches while it runs: the
// screenshot of its main window once the unit list is loaded, the stall
// log and the desktop walk (qt/probe/: screenshot_hook.h, stall_log.h,
// desktop_walk.h), which scripts and smoke tests read. vantic-controller-probe links the real probe
// (qt/probe/program_probe.cpp); vantic-controller, the program that ships,
// links program_probe_none.cpp, so it carries neither hook.

#include <memory>

namespace vantic {

class App;
class QtMainWindowView;

class ProgramProbe {
  public:
    ProgramProbe(App& app, QtMainWindowView& view);
    ~ProgramProbe();
    ProgramProbe(const ProgramProbe&) = delete;
    ProgramProbe& operator=(const ProgramProbe&) = delete;

    // Starts watching; call once the application is initialised.
    void Start();
    // Once the application has closed.
    void Finish();
    // What main returns: 0, 2 when a picture asked for was not saved, 3
    // when the desktop walk found a problem.
    [[nodiscard]] int ExitStatus() const;

  private:
    struct Hooks;
    std::unique_ptr<Hooks> hooks_;
};

}  // namespace vantic
