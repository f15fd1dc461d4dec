#include "qt/program/program_probe.h"

namespace vantic {

// The shipping program watches nothing.
struct ProgramProbe::Hooks {};

ProgramProbe::ProgramProbe(App& /*app*/, QtMainWindowView& /*view*/) {}
ProgramProbe::~ProgramProbe() = default;
void ProgramProbe::Start() {}
void ProgramProbe::Finish() {}
int ProgramProbe::ExitStatus() const {
    return 0;
}

}  // namespace vantic
