#include "tools/vanticctl/ctl_chart_renderer.h"

#include <cstdlib>

#include "framework/program_path.h"
#include "platform/spawn.h"

namespace vantic::ctl {

namespace {

std::string HelperPath() {
    const char* named = std::getenv(kChartHelperVariable);
    if (named != nullptr && *named != '\0') {
        return named;
    }
    const std::optional<std::string> program = ExecutablePath();
    const std::string beside = PathBeside(program, kChartHelperName);
    if (ProgramOnPath(beside)) {
        return beside;
    }
    return PathBeside(program, "../libexec/vantic-controller/" + std::string(kChartHelperName));
}

class HelperRenderer final : public ChartRenderer {
  public:
    std::optional<std::string> Unavailable() const override {
        const std::string helper = HelperPath();
        if (!ProgramOnPath(helper)) {
            return "drawing needs " + helper + ", which is not installed";
        }
        return std::nullopt;
    }
    std::optional<std::string> Draw(const ChartRequest& request, std::string_view csv) override {
        if (std::optional<std::string> missing = Unavailable()) {
            return missing;
        }
        const std::string helper = HelperPath();
        std::vector<std::string> arguments = ChartRequestArguments(request);
        arguments.insert(arguments.begin(), helper);
        const std::optional<int> code = RunWithInput(arguments, csv);
        if (!code) {
            return "could not run " + helper;
        }
        if (*code != 0) {
            return "could not write " + request.path;
        }
        return std::nullopt;
    }
};

}  // namespace

std::unique_ptr<ChartRenderer> HelperChartRenderer() {
    return std::make_unique<HelperRenderer>();
}

}  // namespace vantic::ctl
