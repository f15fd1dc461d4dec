#include "reports/status_command.h"

namespace vantic {

void GenerateStatusReport(StatusReportCommand& command) {
    Platform& platform = command.reports.platform;
    const WindowId owner = command.reports.owner;
    const ReportDate today = DateOf(platform.Time().LocalNow());
    if (!ChooseReportDates(command.dates, owner, command.reports.settings, command.range, today)) {
        return;
    }
    command.range = OrderedRange(command.range);
    if (command.units.ItemCount() == 0) {
        (void)platform.Messages().Show(Message{owner, std::string(kNoUnitsText),
                                               std::string(kNoUnitsCaption), MessageIcon::Warning,
                                               MessageButtons::Ok});
        return;
    }
    OpenReportWindow(ReportMode::Status, command.reports, [&command](ReportWindow& window) {
        StatusReportContext context{command.reports.platform.Time(), command.units, command.login,
                                    command.progress, command.range};
        StatusReportResult report = BuildStatusReport(context, window.Window());
        if (report.text) {
            window.ShowReportText(std::move(*report.text));
            window.SetPlays(std::move(report.plays), context.range);
        }
        return report.end;
    });
}

}  // namespace vantic
