#include "qt/qt_confirm_form.h"

#include "qt/qt_blocking_calls.h"

#include <QFontMetricsF>
#include <QLabel>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

#include "qt/qt_dialogs.h"
#include "qt/qt_form_widgets.h"
#include "qt/qt_text.h"
#include "qt/qt_window.h"

namespace vantic {

namespace {

constexpr int kTextWidth = 260;
// Wider sentences than this wrap rather than stretch the box off the screen.
constexpr int kWidestLine = 720;

// Wide enough that a sentence keeps to one line.
QLabel* NewLine(QWidget* parent, const std::string& text) {
    auto* label = new QLabel(FromText(text), parent);
    label->setWordWrap(true);
    int widest = 0;
    for (const QString& line : label->text().split('\n')) {
        widest = std::max(widest, label->fontMetrics().horizontalAdvance(line));
    }
    label->setMinimumWidth(std::min(widest + 2, kWidestLine));
    return label;
}

// The preview, read-only: as wide as its widest line and as tall as its
// lines, up to a limit past which it scrolls downwards. A bar the text does
// not need is kept off: the box lays itself out before it is shown as if it
// scrolled, and one bar's room taken would bring the other.
QPlainTextEdit* NewPreview(QWidget* parent, const std::string& text) {
    constexpr int kMostLines = 18;
    std::string_view body = text;
    if (body.ends_with('\n')) {
        body.remove_suffix(1);
    }
    auto* box = new QPlainTextEdit(FromText(std::string(body)), parent);
    box->setReadOnly(true);
    box->setLineWrapMode(QPlainTextEdit::NoWrap);
    const QStringList lines = box->toPlainText().split('\n');
    const QFontMetricsF metrics(box->font());
    qreal widest = 0;
    for (const QString& line : lines) {
        widest = std::max(widest, metrics.horizontalAdvance(line));
    }
    const int margins =
        2 * (box->frameWidth() + static_cast<int>(std::ceil(box->document()->documentMargin())));
    const bool scrolls = lines.size() > kMostLines;
    const int bar = scrolls ? box->verticalScrollBar()->sizeHint().width() : 0;
    const int width = static_cast<int>(std::ceil(widest)) + margins + bar + 4;
    box->setFixedWidth(std::min(width, kWidestLine));
    if (width <= kWidestLine) {
        box->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    }
    if (!scrolls) {
        box->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    }
    const auto shown = static_cast<int>(std::min<qsizetype>(lines.size(), kMostLines));
    box->setFixedHeight(shown * static_cast<int>(std::ceil(metrics.lineSpacing())) + margins + 4);
    return box;
}

}  // namespace

QtConfirmDialog::QtConfirmDialog(QWidget* owner, ConfirmForm& form, ConfirmCheck onOk)
    : QDialog(owner), form_(form), onOk_(std::move(onOk)) {
    setWindowTitle(FromText(kConfirmTitle));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    auto* layout = new QVBoxLayout(this);
    if (!form_.preview.empty()) {
        QPlainTextEdit* preview = NewPreview(this, form_.preview);
        SetItemId(preview, kConfirmPreviewItem);
        layout->addWidget(preview);
    }
    layout->addWidget(NewLine(this, form_.prompt));
    if (!form_.fixedLine.empty()) {
        layout->addWidget(NewLine(this, form_.fixedLine));
    }
    text_ = new QLineEdit(this);
    text_->setMaxLength(static_cast<int>(kConfirmTextLimit));
    text_->setText(FromText(form_.typed));
    text_->setMinimumWidth(kTextWidth);
    SetItemId(text_, kConfirmTextItem);
    layout->addWidget(text_);

    AddOkCancel(*this, *layout, [this] { PressOk(); });
    layout->setSizeConstraint(QLayout::SetFixedSize);
    text_->setFocus();
}

// A word that is not accepted leaves the dialog open with the text selected
// for retyping.
void QtConfirmDialog::PressOk() {
    form_.typed = ToText(text_->text());
    if (onOk_ && onOk_(form_)) {
        accept();
        return;
    }
    text_->selectAll();
    text_->setFocus();
}

bool QtConfirmFormView::RunConfirmForm(WindowId owner, ConfirmForm& form,
                                       const ConfirmCheck& onOk) {
    return AskOnUiThread(false, [&]() -> bool {
        QtConfirmDialog dialog(WidgetOf(owner), form, onOk);
        PlaceDialog(dialog, WidgetOf(owner));
        return dialog.exec() == QDialog::Accepted;
    });
}

}  // namespace vantic
