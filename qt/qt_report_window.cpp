#include "qt/qt_report_window.h"

#include "qt/qt_blocking_calls.h"

#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>
#include <vector>

#include "platform/rich_text.h"
#include "qt/qt_dialogs.h"
#include "qt/qt_text.h"
#include "qt/qt_window.h"

namespace vantic {

namespace {

namespace rw = report_window;

// The size a first report opens at; the viewer takes any change of it, and
// keeps room for a few lines of the report at the smallest.
constexpr int kWidth = 760;
constexpr int kHeight = 560;
constexpr int kViewerMinimumWidth = 200;
constexpr int kViewerMinimumHeight = 160;
constexpr int kMargin = 8;
constexpr int kButtonWidth = 80;
constexpr int kButtonHeight = 26;
constexpr int kWideButtonWidth = 100;

QtReportDialog* DialogOf(WindowId window) {
    return dynamic_cast<QtReportDialog*>(WidgetOf(window));
}

}  // namespace

QtReportDialog::QtReportDialog(QWidget* owner, ReportWindowEvents& events)
    : QDialog(owner), events_(events) {
    setWindowTitle(FromText(rw::kTitle));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    setWindowFlag(Qt::WindowMaximizeButtonHint, true);
    viewer_ = new QTextBrowser;
    viewer_->setReadOnly(true);
    viewer_->setOpenLinks(false);
    viewer_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    viewer_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    viewer_->setMinimumSize(kViewerMinimumWidth, kViewerMinimumHeight);
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(kMargin, kMargin, kMargin, kMargin);
    column->setSpacing(kMargin);
    column->addWidget(viewer_, 1);
    struct ButtonShape {
        ReportButton button;
        const char* text;
        int width;
    };
    std::vector<ButtonShape> buttons = {{ReportButton::Email, "Email", kButtonWidth},
                                        {ReportButton::Print, "Print", kButtonWidth},
                                        {ReportButton::Save, "Save", kButtonWidth},
                                        {ReportButton::Done, "Done", kButtonWidth}};
    if (events_.HasExportButton()) {
        buttons.insert(buttons.begin() + 3,
                       {ReportButton::ExportCsv, "Export CSV...", kWideButtonWidth});
    }
    if (events_.HasChartButtons()) {
        buttons.insert(buttons.begin() + 4,
                       {{ReportButton::Chart, "Chart...", kButtonWidth},
                        {ReportButton::Statement, "Clip Statement...", kWideButtonWidth}});
    }
    auto* row = new QHBoxLayout;
    row->setSpacing(kMargin);
    row->addStretch(1);
    for (const ButtonShape& shape : buttons) {
        auto* button = new QPushButton(QString::fromLatin1(shape.text));
        // At least the design width, and as wide as its text needs.
        button->setFixedSize(std::max(shape.width, button->sizeHint().width()), kButtonHeight);
        button->setAutoDefault(false);
        buttons_[shape.button] = button;
        connect(button, &QPushButton::clicked, this,
                [this, pressed = shape.button] { events_.OnButton(pressed); });
        if (shape.button == ReportButton::Done) {
            button->setDefault(true);
        }
        row->addWidget(button);
    }
    column->addLayout(row);
    resize(kWidth, kHeight);
}

void QtReportDialog::CloseWith(ReportButton result) {
    closedWith_ = result;
    done(result == ReportButton::Done ? Accepted : Rejected);
}

QPushButton* QtReportDialog::Button(ReportButton button) const {
    const auto found = buttons_.find(button);
    return found == buttons_.end() ? nullptr : found->second;
}

void QtReportDialog::reject() {
    events_.OnButton(ReportButton::Cancel);
}

void LoadRichText(QTextBrowser& viewer, const std::string& richText) {
    viewer.setHtml(QString::fromLatin1(RichTextToHtml(richText, RichTextPageBreaks::Ruled)));
    QTextCursor start = viewer.textCursor();
    start.movePosition(QTextCursor::Start);
    viewer.setTextCursor(start);
}

std::optional<ReportButton> QtReportWindowView::RunReportWindow(WindowId owner,
                                                                ReportWindowEvents& events) {
    return AskOnUiThread(std::optional<ReportButton>(), [&]() -> std::optional<ReportButton> {
        QtReportDialog dialog(WidgetOf(owner), events);
        PlaceDialog(dialog, WidgetOf(owner));
        events.OnCreated(IdOf(&dialog));
        if (dialog.ClosedWith()) {
            return dialog.ClosedWith();
        }
        (void)dialog.exec();
        return dialog.ClosedWith().value_or(ReportButton::Cancel);
    });
}

void QtReportWindowView::ShowRichText(WindowId window, const std::string& richText) {
    OnUiThread([&] {
        if (QtReportDialog* dialog = DialogOf(window)) {
            LoadRichText(dialog->Viewer(), richText);
        }
    });
}

void QtReportWindowView::CloseReportWindow(WindowId window, ReportButton result) {
    OnUiThread([&] {
        if (QtReportDialog* dialog = DialogOf(window)) {
            dialog->CloseWith(result);
        }
    });
}

}  // namespace vantic
