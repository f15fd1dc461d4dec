#include "qt/probe/walked_windows.h"

#include <string_view>

#include "app/command_table.h"
#include "app/update/update_form.h"
#include "core/product_identity.h"
#include "playlist/clip_form.h"
#include "reports/report_dates.h"
#include "reports/report_window_view.h"
#include "units/admin_forms.h"
#include "units/unit_editor_form.h"

namespace vantic {

namespace {

namespace c = command;
using S = WalkSelection;

QString Text(std::string_view text) {
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

// The fixed part of a title made from a format: "Edit unit number: ".
QString FormatPrefix(std::string_view format) {
    return Text(format.substr(0, format.find('%')));
}

}  // namespace

std::vector<WalkedWindow> WalkedWindows() {
    const QString report = Text(report_window::kTitle);
    const QString none;
    const WalkLeave esc = WalkLeave::Cancel;
    // name, command, title, selection, leaving, picture
    return {
        {"main-window", 0, none, S::None, esc, "main-window.png"},
        {"login-form", c::kLoginInfo, "Please Enter Login Info", S::None, esc, none},
        {"clip-editor", c::kEditMedia, Text(kEditClipTitle), S::FirstClip, esc, "clip-editor.png"},
        {"unit-editor", c::kEditUnit, FormatPrefix(kUnitFormTitleFormat), S::OneUnit, esc, none},
        {"crawl-text", c::kCrawlText, Text(kCrawlFormTitle), S::OneUnit, esc, none},
        {"admin-config", c::kAdminConfig, Text(kAdminConfigTitle), S::OneUnit, esc, none},
        {"firmware-file", c::kNewFirmware, Text(kFirmwareChooserTitle), S::OneUnit, esc, none},
        {"time-zone", c::kNewTimezone, Text(kTimezoneTitle), S::OneUnit, esc, none},
        {"owner", c::kNewOwner, Text(kOwnerFormTitle), S::OneUnit, esc, none},
        {"date-range", c::kStatusReport, Text(kDateRangeTitle), S::ThreeUnits, WalkLeave::Ok, none},
        {"report-window", 0, report, S::None, esc, "report-window.png"},
        {"activity-report", c::kActivityReport, report, S::None, esc, none},
        {"day-plan", c::kDayPlan, "Day Plan", S::None, esc, "day-plan.png"},
        {"automatic-updates", c::kCheckForUpdates, Text(kAutoUpdateTitle), S::None, esc, none},
        {"about", c::kAbout, Text(identity::kTitle) + " - ", S::None, esc, none},
    };
}

}  // namespace vantic
