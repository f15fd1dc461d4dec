#include "reports/report_window.h"

#include "core/cpstring.h"
#include "framework/missing_helper.h"
#include "framework/program_path.h"
#include "reports/report_document.h"

namespace vantic {

namespace {

constexpr std::size_t kPathRoom = 260;

}  // namespace

// The temporary file is flushed before it replaces the target, so a failed
// write (a full disk, a read-only folder) leaves the earlier file whole.
bool WriteReportFile(const std::string& path, std::string_view bytes, FileWrites& writes) {
    return ReplaceWholeFile(path, bytes, writes);
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

std::optional<ReportButton> ReportWindow::Run() {
    const std::optional<ReportButton> result = context_.view.RunReportWindow(context_.owner, *this);
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
        context_.view.CloseReportWindow(window, ReportButton::Cancel);
    }
}

void ReportWindow::OnButton(ReportButton button) {
    switch (button) {
        case ReportButton::Done:
        case ReportButton::Cancel:
            if (auto placement = context_.platform.Windows().Placement(window_)) {
                context_.settings.SaveWindowPlacement(kReportPlacementName, *placement, true);
            }
            context_.view.CloseReportWindow(window_, button);
            return;
        case ReportButton::Email:
            EmailReport();
            return;
        case ReportButton::Save:
            SaveReport(std::nullopt);
            return;
        case ReportButton::Print:
            PrintReport();
            return;
        case ReportButton::ExportCsv:
            (void)ExportPlays(std::nullopt);
            return;
        case ReportButton::Chart:
            ShowPlayChart();
            return;
        case ReportButton::Statement:
            (void)MakeStatement();
            return;
    }
}

void ReportWindow::ShowReportText(std::string text) {
    text.push_back('\0');
    text_ = std::move(text);
    context_.view.ShowRichText(window_, *text_);
}

namespace {

// Reports, tables, pictures and documents each open in their own last folder.
FileKind FileKindOf(std::string_view extension) {
    if (EqualsNoCase(extension, "rtf")) {
        return FileKind::Report;
    }
    if (EqualsNoCase(extension, "csv")) {
        return FileKind::Csv;
    }
    if (EqualsNoCase(extension, "png") || EqualsNoCase(extension, "svg")) {
        return FileKind::Image;
    }
    return FileKind::Document;
}

}  // namespace

// The save dialog for a file of one kind (title, filter, extension), the
// report's suggested name with namePrefix; the extension is added when the
// operator typed none.
std::optional<std::string> ReportWindow::ChooseFilePath(const SaveKind& kind, WindowId owner) {
    FileDialogRequest request;
    request.owner = owner;
    request.title = kind.title;
    request.filters = {FileFilter{kind.filterName, "*." + kind.extension}};
    request.filters.insert(request.filters.end(), kind.moreFilters.begin(), kind.moreFilters.end());
    std::string name = SuggestedReportName(mode_, context_.platform.Time().LocalNow());
    ReplaceAll(name, "Vantic-Report", kind.namePrefix);
    request.initialPath = name;
    request.kind = FileKindOf(kind.extension);
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
        path ? path
             : ChooseFilePath({"Choose CSV File name", "CSV Files", "csv", "Vantic-Plays", {}},
                              window_);
    if (!target) {
        return false;
    }
    if (!WriteReportFile(*target, plays_->table.csv, context_.settings.Writes())) {
        ShowSaveError(window_);
        return false;
    }
    if (!plays_->table.failedUnits.empty()) {
        context_.platform.Messages().Show(
            Message{.owner = window_,
                    .text = LeftOutUnitsText(plays_->table.failedUnits),
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
                   {"Choose Report File name", "Rich Text Files", "rtf", "Vantic-Report", {}},
                   window_);
    if (!target) {
        return false;
    }
    if (!WriteReportFile(*target, *text_, context_.settings.Writes())) {
        ShowSaveError(window_);
        return false;
    }
    return true;
}

void ReportWindow::EmailReport() {
    // Without a mail program no file is written for it; when that is for
    // want of a desktop helper, the operator is told what to install.
    MailClient& mail = context_.platform.Mail();
    if (!text_) {
        return;
    }
    if (!mail.Available()) {
        (void)ReportMissingHelper(context_.platform.Messages(), window_,
                                  "The report could not be e-mailed", mail.Missing());
        return;
    }
    const std::string name = EmailedReportName(context_.platform.Time().LocalNow());
    const std::string path = WritableFilePath(name);
    // A report that could not be written is not attached (the failure has
    // been shown).
    if (SaveReport(path)) {
        if (!mail.SendDocument(window_, path, name)) {
            (void)ReportMissingHelper(context_.platform.Messages(), window_,
                                      "The report could not be e-mailed", mail.Missing());
        }
    }
}

void ReportWindow::PrintReport() {
    if (!text_) {
        return;
    }
    (void)context_.platform.Printer().PrintRichText(window_, *text_, "");
}

void ReportWindow::ShowSaveError(WindowId owner) {
    context_.platform.Messages().Show(Message{.owner = owner,
                                              .text = "Error saving file",
                                              .caption = "ERROR",
                                              .icon = MessageIcon::Error});
}

void ReportWindow::SetPlays(std::vector<UnitPlays> plays, const ReportDateRange& range) {
    PlayRows rows = PlayRowsOf(plays, range);
    PlayExport table = PlayRowsToCsv(rows);
    plays_ = Plays{std::move(plays), range, std::move(rows), std::move(table)};
}

void ReportWindow::ShowPlayChart() {
    if (!plays_ || context_.charts == nullptr) {
        return;
    }
    std::vector<std::uint32_t> units;
    for (const UnitPlays& unit : plays_->units) {
        units.push_back(unit.unit);
    }
    context_.charts->RunPlayChart(
        window_, units, chartForm_,
        [this](const PlayChartForm& form) {
            return BuildPlayChart(plays_->rows.rows, plays_->range, form);
        },
        [this](WindowId owner, ChartFile kind, const PlayChart& chart, ChartStyle style) {
            (void)SaveChart(owner, kind, chart, style);
        });
}

bool ReportWindow::SaveChart(WindowId owner, ChartFile kind, const PlayChart& chart,
                             ChartStyle style) {
    if (context_.charts == nullptr) {
        return false;
    }
    SaveKind file{"Choose Chart File name",
                  "PNG Images",
                  "png",
                  "Vantic-Chart",
                  {FileFilter{"SVG Images", "*.svg"}}};
    if (kind == ChartFile::Pdf) {
        file = {"Choose Chart File name", "PDF Files", "pdf", "Vantic-Chart", {}};
    }
    std::optional<std::string> target = ChooseFilePath(file, owner);
    if (!target) {
        return false;
    }
    if (!context_.charts->WriteChart(chart, style, *target)) {
        ShowSaveError(owner);
        return false;
    }
    return true;
}

bool ReportWindow::MakeStatement() {
    if (!plays_ || context_.charts == nullptr) {
        return false;
    }
    const std::vector<StatementClip> clips = StatementClipsOf(plays_->rows.rows);
    if (clips.empty()) {
        context_.platform.Messages().Show(Message{.owner = window_,
                                                  .text = std::string(kNoClipsText),
                                                  .caption = "Clip Statement",
                                                  .icon = MessageIcon::Information});
        return false;
    }
    StatementForm form{0, plays_->range};
    if (!context_.charts->ChooseStatement(window_, clips, form) || form.clip >= clips.size()) {
        return false;
    }
    form.range = OrderedRange(form.range);
    const PlayRows rows =
        form.range == plays_->range ? plays_->rows : PlayRowsOf(plays_->units, form.range);
    const ClipStatement statement = BuildClipStatement(rows.rows, form.range, clips[form.clip],
                                                       context_.platform.Time().LocalNow());
    const std::optional<std::string> target = ChooseFilePath(
        {"Choose Statement File name", "PDF Files", "pdf", "Vantic-Statement", {}}, window_);
    if (!target) {
        return false;
    }
    if (!context_.charts->WriteStatement(statement, *target)) {
        ShowSaveError(window_);
        return false;
    }
    return true;
}

void OpenReportWindow(ReportMode mode, const ReportContext& context, const ReportBuilder& build) {
    ReportWindow window(mode, context, build);
    (void)window.Run();
}

}  // namespace vantic
