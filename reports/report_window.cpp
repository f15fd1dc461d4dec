#include "reports/report_window.h"

#include "core/cpstring.h"
#include "framework/program_path.h"
#include "reports/report_document.h"

namespace vantic {

namespace {

namespace rw = report_window;

constexpr std::size_t kPathRoom = 260;

}  // namespace

// The temporary file is flushed before it replaces the target, so a failed
// write (a full disk, a read-only folder) leaves the earlier file whole.
bool WriteReportFile(const std::string& path, std::string_view bytes) {
    return ReplaceWholeFile(path, bytes);
}

std::string SuggestedReportName(ReportMode mode, const LocalTime& now) {
    std::string time = ReportTimeText(now);
    time = time.substr(0, time.find_first_of("\r\n"));
    ReplaceAll(time, ":", "-");
    return std::string(mode == ReportMode::Status ? "Vantic-Report" : "Vantic-Server-Report") +
           "-" + time;
}

std::string EmailedReportName(const LocalTime& today) {
    return FormatNew("Vantic-Report-%2.2d-%2.2d-%4.4d.rtf", today.month, today.day, today.year);
}

ReportWindow::ReportWindow(ReportMode mode, const ReportContext& context, ReportBuilder build)
    : mode_(mode), context_(context), build_(std::move(build)) {}

std::optional<int> ReportWindow::Run() {
    const std::optional<int> result = context_.view.RunReportWindow(context_.owner, *this);
    if (!result) {
        context_.platform.Messages().Show(Message{.owner = context_.owner,
                                                  .text = "Error loading RichEd20.dll",
                                                  .caption = "ERROR",
                                                  .icon = MessageIcon::Error});
    }
    window_ = kNoWindow;
    return result;
}

void ReportWindow::OnCreated(WindowId window) {
    window_ = window;
    if (auto placement = context_.platform.Windows().Placement(window)) {
        context_.settings.RestoreWindowPlacement(kReportPlacementName, *placement,
                                                 context_.platform.Screens(), true);
    }
    if (build_ && build_(*this) == ReportBuildEnd::Cancelled) {
        context_.view.CloseReportWindow(window, rw::kCancel);
    }
}

void ReportWindow::OnButton(int buttonId) {
    switch (buttonId) {
        case rw::kDone:
        case rw::kCancel:
            if (auto placement = context_.platform.Windows().Placement(window_)) {
                context_.settings.SaveWindowPlacement(kReportPlacementName, *placement, true);
            }
            context_.view.CloseReportWindow(window_, buttonId);
            return;
        case rw::kEmail:
            EmailReport();
            return;
        case rw::kSave:
            SaveReport(std::nullopt);
            return;
        case rw::kPrint:
            PrintReport();
            return;
        case rw::kExportCsv:
            (void)ExportPlays(std::nullopt);
            return;
        default:
            return;
    }
}

void ReportWindow::ShowReportText(std::string text) {
    text.push_back('\0');
    text_ = std::move(text);
    context_.view.ShowRichText(window_, *text_);
}

// The save dialog for a file of one kind (title, filter, extension), the
// report's suggested name with namePrefix; the extension is added when the
// operator typed none.
std::optional<std::string> ReportWindow::ChooseFilePath(const SaveKind& kind) {
    FileDialogRequest request;
    request.owner = window_;
    request.title = kind.title;
    request.filters = {FileFilter{kind.filterName, "*." + kind.extension}};
    std::string name = SuggestedReportName(mode_, context_.platform.Time().LocalNow());
    ReplaceAll(name, "Vantic-Report", kind.namePrefix);
    request.initialPath = name;
    request.defaultExtension = kind.extension;
    request.confirmOverwrite = true;
    request.maxPathLength = kPathRoom;
    std::optional<std::string> path = context_.platform.Files().ChooseSaveFile(request);
    if (path && ExtensionOf(*path).empty() && path->size() + 5 < kPathRoom) {
        *path += "." + kind.extension;
    }
    return path;
}

bool ReportWindow::ExportPlays(const std::optional<std::string>& path) {
    if (!plays_) {
        return false;
    }
    const std::optional<std::string> target =
        path ? path : ChooseFilePath({"Choose CSV File name", "CSV Files", "csv", "Vantic-Plays"});
    if (!target) {
        return false;
    }
    if (!WriteReportFile(*target, plays_->csv)) {
        context_.platform.Messages().Show(Message{.owner = window_,
                                                  .text = "Error saving file",
                                                  .caption = "ERROR",
                                                  .icon = MessageIcon::Error});
        return false;
    }
    if (!plays_->failedUnits.empty()) {
        context_.platform.Messages().Show(Message{.owner = window_,
                                                  .text = LeftOutUnitsText(plays_->failedUnits),
                                                  .caption = "Export CSV",
                                                  .icon = MessageIcon::Warning});
    }
    return true;
}

bool ReportWindow::SaveReport(const std::optional<std::string>& path) {
    if (!text_) {
        return false;
    }
    const std::optional<std::string> target =
        path ? path
             : ChooseFilePath(
                   {"Choose Report File name", "Rich Text Files", "rtf", "Vantic-Report"});
    if (!target) {
        return false;
    }
    if (!WriteReportFile(*target, *text_)) {
        context_.platform.Messages().Show(Message{.owner = window_,
                                                  .text = "Error saving file",
                                                  .caption = "ERROR",
                                                  .icon = MessageIcon::Error});
        return false;
    }
    return true;
}

void ReportWindow::EmailReport() {
    // Without a mail program nothing happens: no file is written for it.
    MailClient& mail = context_.platform.Mail();
    if (!text_ || !mail.Available()) {
        return;
    }
    const std::string name = EmailedReportName(context_.platform.Time().LocalNow());
    const std::string path = WritableFilePath(name);
    // A report that could not be written is not attached (the failure has
    // been shown).
    if (SaveReport(path)) {
        (void)mail.SendDocument(window_, path, name);
    }
}

void ReportWindow::PrintReport() {
    if (!text_) {
        return;
    }
    (void)context_.platform.Printer().PrintRichText(window_, *text_, "");
}

void OpenReportWindow(ReportMode mode, const ReportContext& context, const ReportBuilder& build) {
    ReportWindow window(mode, context, build);
    (void)window.Run();
}

}  // namespace vantic
