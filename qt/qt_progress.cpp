#include "qt/qt_progress.h"

#include <QBoxLayout>
#include <QCloseEvent>
#include <QFontMetrics>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QWindow>
#include <algorithm>
#include <memory>
#include <thread>

#include "qt/qt_blocking_calls.h"
#include "qt/qt_dialogs.h"
#include "qt/qt_text.h"
#include "qt/qt_window.h"

namespace vantic {

namespace pl = progress_layout;

namespace {

QProgressBar* NewBar(int itemId) {
    auto* bar = new QProgressBar;
    bar->setRange(0, 100);
    bar->setValue(0);
    bar->setTextVisible(false);
    bar->setMinimumWidth(300);
    SetItemId(bar, itemId);
    return bar;
}

QLabel* NewLabel(int itemId, const QString& text) {
    auto* label = new QLabel(text);
    SetItemId(label, itemId);
    return label;
}

// A text line as wide as the longest line the operations write, whatever
// it holds: a dialog that followed its text would change width with every
// unit and file. Longer text is cut at the dialog's edge.
QLabel* NewTextLine(int itemId) {
    QLabel* label = NewLabel(itemId, QString());
    const QFontMetrics metrics = label->fontMetrics();
    const int widest = std::max(
        metrics.horizontalAdvance("Media Player #000000 - Uploading New Configuration"),
        metrics.horizontalAdvance("000000000 of 000000000 - 00000 kbit/sec - 00 minutes left"));
    label->setMinimumWidth(widest + 8);
    label->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    return label;
}

QLabel* NewPercentLabel(int itemId) {
    QLabel* label = NewLabel(itemId, "0.00%");
    label->setMinimumWidth(label->fontMetrics().horizontalAdvance("100.00%") + 8);
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return label;
}

// Made and used by its owner's thread; its dialog lives on the windows'.
class QtProgressWindow final : public ProgressWindow {
  public:
    QtProgressWindow(QtProgressDialog* dialog, QWidget* owner, std::shared_ptr<bool> live)
        : dialog_(dialog), owner_(owner), live_(std::move(live)) {}
    ~QtProgressWindow() override {
        *live_ = false;  // a press posted to this thread finds the window gone
        OnUiThread([this] {
            if (!dialog_) {
                return;
            }
            dialog_->DropHandler();
            dialog_->hide();
            if (dialog_->Pressing()) {
                dialog_->deleteLater();  // we are inside its button handler
            } else {
                delete dialog_.data();
            }
        });
    }

    [[nodiscard]] WindowId Id() const override { return IdOf(dialog_.data()); }
    [[nodiscard]] bool HasItem(int itemId) const override {
        return OnUiThread([&] { return dialog_ && FindItem(dialog_, itemId) != nullptr; });
    }
    void Show() override {
        OnUiThread([this] {
            if (!dialog_) {
                return;
            }
            dialog_->adjustSize();
            PlaceDialog(*dialog_, owner_.data());
            dialog_->show();
            dialog_->raise();
            // Escape and Enter reach the window the desktop made active.
            dialog_->activateWindow();
        });
    }
    void SetBar(int barId, int percent) override {
        OnUiThread([&] {
            if (auto* bar = qobject_cast<QProgressBar*>(FindItem(dialog_, barId))) {
                bar->setValue(percent);
            }
        });
    }
    void SetText(int itemId, const std::string& text) override {
        OnUiThread([&] {
            if (auto* label = qobject_cast<QLabel*>(FindItem(dialog_, itemId))) {
                label->setText(FromText(text));
            }
        });
    }

  private:
    QPointer<QtProgressDialog> dialog_;
    QPointer<QWidget> owner_;
    std::shared_ptr<bool> live_;
};

// A dialog made for an operation's thread: a press cancels the operation's
// requests at once (it may be waiting for a silent server) and reaches the
// handler on that thread, at its next look at its messages.
ProgressButtonHandler ForThread(std::thread::id thread, ProgressButtonHandler onButton,
                                const std::shared_ptr<bool>& live) {
    return [thread, onButton = std::move(onButton), live](int buttonId) {
        CancelRequests(thread);
        PostToThread(thread, [onButton, live, buttonId] {
            if (*live) {
                onButton(buttonId);
            }
        });
    };
}

}  // namespace

QtProgressDialog::QtProgressDialog(int layoutId, ProgressButtonHandler onButton)
    : onButton_(std::move(onButton)) {
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::CustomizeWindowHint |
                   Qt::WindowCloseButtonHint);
    if (layoutId == pl::kOperation) {
        BuildOperation();
    } else if (layoutId == pl::kDownload) {
        setWindowTitle("Downloading Software Update....");
        BuildSimple("Component Completed:");
    } else {
        BuildSimple(QString());
    }
}

void QtProgressDialog::AddButtons(QBoxLayout* layout) {
    auto* row = new QHBoxLayout;
    row->addStretch(1);
    // OK stays hidden: Enter cancels like the Cancel button.
    auto* ok = new QPushButton("Hidden");
    ok->hide();
    SetItemId(ok, pl::kOkButton);
    auto* cancel = new QPushButton("Cancel");
    cancel->setAutoDefault(false);
    SetItemId(cancel, pl::kCancelButton);
    connect(cancel, &QPushButton::clicked, this, [this] { Press(pl::kCancelButton); });
    row->addWidget(ok);
    row->addWidget(cancel);
    row->addStretch(1);
    layout->addLayout(row);
}

// Bars in the first column, the percentage beside the overall bar; the
// text lines and buttons below span both columns.
void QtProgressDialog::BuildOperation() {
    setWindowTitle("Operation Progress...");
    auto* layout = new QVBoxLayout(this);
    auto* grid = new QGridLayout;
    grid->addWidget(NewBar(pl::kOverallBar), 0, 0);
    grid->addWidget(NewPercentLabel(pl::kOverallLabel), 0, 1);
    grid->addWidget(NewBar(pl::kItemBar), 1, 0);
    grid->addWidget(NewTextLine(pl::kStatusLine), 2, 0, 1, 2);
    grid->addWidget(NewTextLine(pl::kTransferLine), 3, 0, 1, 2);
    layout->addLayout(grid);
    layout->addSpacing(6);
    AddButtons(layout);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void QtProgressDialog::BuildSimple(const QString& caption) {
    if (windowTitle().isEmpty()) {
        setWindowTitle("Operation Progress...");
    }
    auto* layout = new QVBoxLayout(this);
    if (!caption.isEmpty()) {
        layout->addWidget(new QLabel(caption));
    }
    auto* row = new QHBoxLayout;
    row->addWidget(NewBar(pl::kOverallBar), 1);
    row->addWidget(NewPercentLabel(pl::kOverallLabel));
    layout->addLayout(row);
    layout->addSpacing(6);
    AddButtons(layout);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void QtProgressDialog::Press(int buttonId) {
    const ProgressButtonHandler handler = onButton_;
    if (!handler) {
        return;
    }
    pressing_ = true;
    handler(buttonId);
    pressing_ = false;
}

void QtProgressDialog::reject() {
    Press(pl::kCancelButton);
}

void QtProgressDialog::closeEvent(QCloseEvent* event) {
    event->ignore();  // the owner of the dialog ends it
    Press(pl::kCancelButton);
}

void QtProgressDialog::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        Press(pl::kOkButton);
        return;
    }
    QDialog::keyPressEvent(event);
}

std::unique_ptr<ProgressWindow> QtProgressWindows::Create(WindowId owner, int layoutId,
                                                          ProgressButtonHandler onButton) {
    if (layoutId != pl::kOperation && layoutId != pl::kSimple && layoutId != pl::kDownload) {
        return nullptr;
    }
    auto live = std::make_shared<bool>(true);
    if (!OnUiThreadNow()) {
        onButton = ForThread(std::this_thread::get_id(), std::move(onButton), live);
    }
    QWidget* ownerWidget = WidgetOf(owner);
    auto* dialog = OnUiThread([&] {
        auto* made = new QtProgressDialog(layoutId, std::move(onButton));
        if (ownerWidget != nullptr) {
            // Stacked over the owner, but not its child: a disabled owner
            // would disable the dialog too.
            made->winId();
            if (QWindow* ownerWindow = ownerWidget->window()->windowHandle()) {
                made->windowHandle()->setTransientParent(ownerWindow);
            }
        }
        return made;
    });
    return std::make_unique<QtProgressWindow>(dialog, ownerWidget, std::move(live));
}

}  // namespace vantic
