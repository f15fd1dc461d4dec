// plan: the day plan of a saved playlist's channel, the text the
// controller's "Day Plan..." window shows.

#include "core/cpstring.h"
#include "reports/day_plan.h"
#include "tools/vanticctl/ctl_handlers.h"

namespace vantic::ctl {

CommandOutcome RunPlan(const Invocation& call) {
    const CtlOptions& options = call.options;
    if (!options.playlist || !options.channel || !options.date) {
        return {ExitStatus::Failure,
                "plan needs --playlist FILE.PLY, --channel C and --date "
                "YYYY-MM-DD"};
    }
    const std::optional<int> channel = ReadChannel(*options.channel);
    if (!channel) {
        return {ExitStatus::Failure,
                "--channel takes 0-3 or Video, \"Video - Alt\", \"Audio A\", \"Audio B\""};
    }
    const std::optional<ReportDate> date = ReadDate(*options.date);
    if (!date) {
        return {ExitStatus::Failure, "--date takes a date as YYYY-MM-DD"};
    }
    const std::optional<std::string> text = ReadWholeFile(*options.playlist);
    if (!text) {
        return {ExitStatus::Failure, "cannot read " + *options.playlist};
    }
    EntrySet playlist;
    if (!TextToEntrySet(*text, playlist)) {
        return {ExitStatus::Failure, *options.playlist + " is not a playlist file"};
    }
    call.output += PlanTextOf(playlist, *options.playlist, DayPlanForm{*date, *channel});
    return {};
}

}  // namespace vantic::ctl
