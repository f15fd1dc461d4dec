#include "qt/qt_dialogs.h"

#include "qt/qt_blocking_calls.h"

#include <QAbstractButton>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QScreen>

#include "core/cpstring.h"
#include "platform/placement.h"
#include "qt/qt_text.h"
#include "qt/qt_window.h"

namespace vantic {

namespace {

QMessageBox::Icon IconOf(MessageIcon icon) {
    switch (icon) {
        case MessageIcon::Error:
            return QMessageBox::Critical;
        case MessageIcon::Warning:
            return QMessageBox::Warning;
        case MessageIcon::Information:
            return QMessageBox::Information;
        case MessageIcon::Question:
            return QMessageBox::Question;
        case MessageIcon::None:
            break;
    }
    return QMessageBox::NoIcon;
}

QString DisplayText(const std::string& text) {
    std::string lines = text;
    NormalizeLineEnds(lines, "\n");
    return FromText(lines);
}

// Closing a box without a button: Cancel where there is one, else No or Ok.
MessageAnswer DismissAnswer(MessageButtons buttons) {
    switch (buttons) {
        case MessageButtons::Ok:
            return MessageAnswer::Ok;
        case MessageButtons::YesNo:
            return MessageAnswer::No;
        case MessageButtons::YesNoCancel:
            break;
    }
    return MessageAnswer::Cancel;
}

MessageAnswer AnswerOf(QMessageBox::StandardButton button, MessageButtons buttons) {
    switch (button) {
        case QMessageBox::Yes:
            return MessageAnswer::Yes;
        case QMessageBox::No:
            return MessageAnswer::No;
        case QMessageBox::Ok:
            return MessageAnswer::Ok;
        case QMessageBox::Cancel:
            return MessageAnswer::Cancel;
        default:
            return DismissAnswer(buttons);
    }
}

// Keys and clicks that reach a box before the operator can have read it
// were meant for what was there before: a key held down or typed ahead
// while the window was busy, the second click of a double click. Until the
// box has been up a moment, and for a key's auto-repeat at any time, they
// go nowhere.
class FreshInputOnly final : public QObject {
  public:
    explicit FreshInputOnly(QMessageBox& box) : box_(box) { qApp->installEventFilter(this); }
    ~FreshInputOnly() override { qApp->removeEventFilter(this); }
    FreshInputOnly(const FreshInputOnly&) = delete;
    FreshInputOnly& operator=(const FreshInputOnly&) = delete;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        auto* widget = qobject_cast<QWidget*>(watched);
        if (widget == nullptr || (widget != &box_ && !box_.isAncestorOf(widget))) {
            return false;
        }
        switch (event->type()) {
            case QEvent::Show:
                if (widget == &box_ && !shown_.isValid()) {
                    shown_.start();
                }
                return false;
            case QEvent::KeyPress:
            case QEvent::KeyRelease:
                if (static_cast<QKeyEvent*>(event)->isAutoRepeat()) {
                    return true;
                }
                return !Armed();
            case QEvent::MouseButtonPress:
            case QEvent::MouseButtonRelease:
            case QEvent::MouseButtonDblClick:
                return !Armed();
            default:
                return false;
        }
    }

  private:
    [[nodiscard]] bool Armed() const {
        return shown_.isValid() && shown_.elapsed() >= kMessageBoxArmingMs;
    }
    QMessageBox& box_;
    QElapsedTimer shown_;
};

Rect ToRect(const QRect& rect) {
    return Rect{rect.left(), rect.top(), rect.left() + rect.width(), rect.top() + rect.height()};
}

std::optional<std::string> RunFileDialog(const FileDialogRequest& request, bool save) {
    QFileDialog dialog(WidgetOf(request.owner));
    SetUpFileDialog(dialog, request, save);
    PlaceDialog(dialog, WidgetOf(request.owner));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return std::nullopt;
    }
    std::string path = ToPath(dialog.selectedFiles().first());
    if (path.size() >= request.maxPathLength) {
        return std::nullopt;  // would not fit the caller's room for a name
    }
    return path;
}

}  // namespace

MessageAnswer QtMessageBoxes::Show(const Message& message) {
    return AskOnUiThread(MessageAnswer::Cancel,
                         [&]() -> MessageAnswer { return Run(message, {}); });
}

MessageAnswer QtMessageBoxes::ShowWithDetails(const Message& message, const std::string& details) {
    return AskOnUiThread(MessageAnswer::Cancel,
                         [&]() -> MessageAnswer { return Run(message, details); });
}

MessageAnswer QtMessageBoxes::Run(const Message& message, const std::string& details) {
    QMessageBox box(IconOf(message.icon), FromText(message.caption), DisplayText(message.text),
                    QMessageBox::NoButton, WidgetOf(message.owner));
    switch (message.buttons) {
        case MessageButtons::Ok:
            box.setStandardButtons(QMessageBox::Ok);
            box.setEscapeButton(QMessageBox::Ok);
            break;
        case MessageButtons::YesNo:
            box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
            box.setDefaultButton(message.noIsDefault ? QMessageBox::No : QMessageBox::Yes);
            box.setEscapeButton(QMessageBox::No);
            break;
        case MessageButtons::YesNoCancel:
            box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
            box.setDefaultButton(message.noIsDefault ? QMessageBox::No : QMessageBox::Yes);
            box.setEscapeButton(QMessageBox::Cancel);
            break;
    }
    const std::string& shownDetails = details.empty() ? message.details : details;
    if (!shownDetails.empty()) {
        box.setDetailedText(DisplayText(shownDetails));
    }
    const FreshInputOnly fresh(box);
    box.exec();
    // No button pressed at all: the box was closed by the program, or never
    // ran because the program is quitting. Nobody answered, so nothing the
    // question guards may happen.
    if (box.clickedButton() == nullptr) {
        return MessageAnswer::Cancel;
    }
    return AnswerOf(box.standardButton(box.clickedButton()), message.buttons);
}

QString QtFilterText(const FileFilter& filter) {
    QString patterns = FromText(filter.patterns);
    patterns.replace(';', ' ');
    return FromText(filter.name) + " (" + patterns.simplified() + ")";
}

void SetUpFileDialog(QFileDialog& dialog, const FileDialogRequest& request, bool save) {
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setWindowTitle(FromText(request.title));
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(request.mustExist && !save ? QFileDialog::ExistingFile
                                                  : QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, !request.confirmOverwrite);
    QStringList filters;
    for (const FileFilter& filter : request.filters) {
        filters << QtFilterText(filter);
    }
    if (!filters.isEmpty()) {
        dialog.setNameFilters(filters);
        dialog.selectNameFilter(filters.first());
    }
    if (!request.defaultExtension.empty()) {
        dialog.setDefaultSuffix(FromText(request.defaultExtension));
    }
    if (!request.initialFolder.empty()) {
        dialog.setDirectory(FromPath(request.initialFolder));
    }
    // A full path opens in its own folder; a name in the one set above.
    if (!request.initialPath.empty()) {
        dialog.selectFile(FromPath(request.initialPath));
    }
    dialog.setSizeGripEnabled(request.resizable);
}

void PlaceDialog(QWidget& dialog, QWidget* owner) {
    Rect area;
    if (owner != nullptr) {
        area = ToRect(owner->window()->frameGeometry());
    } else if (QScreen* screen = QGuiApplication::primaryScreen()) {
        area = ToRect(screen->geometry());
    }
    // A size the dialog was given stands; the layout's hint only sizes one
    // that has none (it would shrink a report window to its viewer's hint).
    const bool sized = dialog.isVisible() || dialog.testAttribute(Qt::WA_Resized);
    const QSize size = (sized ? dialog.size() : dialog.sizeHint()).expandedTo(dialog.minimumSize());
    const QSize frame = dialog.isVisible() ? dialog.frameSize() : size;
    const Rect place = PlaceOverOwner(frame.width(), frame.height(), area);
    dialog.resize(size);
    dialog.move(place.left, place.top);
}

std::optional<std::string> QtFileDialogs::RunOpenDialog(const FileDialogRequest& request) {
    return AskOnUiThread(std::optional<std::string>(), [&]() -> std::optional<std::string> {
        return RunFileDialog(request, false);
    });
}

std::optional<std::string> QtFileDialogs::RunSaveDialog(const FileDialogRequest& request) {
    return AskOnUiThread(std::optional<std::string>(), [&]() -> std::optional<std::string> {
        return RunFileDialog(request, true);
    });
}

}  // namespace vantic
