#pragma once

// Message boxes and file dialogs on Qt: QMessageBox, and QFileDialog
// placed over its owner.

#include <QFileDialog>
#include <QMessageBox>

#include "platform/file_dialog.h"
#include "platform/message_box.h"
#include "qt/qt_blocking_calls.h"
#include "qt/qt_window.h"

namespace vantic {

// How long a box is up before keys and clicks answer it.
inline constexpr int kMessageBoxArmingMs = 250;

// A box that nobody answered (closed by the program, or opened while the
// program quits, when it returns at once) answers Cancel, whatever its
// buttons: only the operator says Yes or No.
class QtMessageBoxes final : public MessageBoxes {
  public:
    MessageAnswer Show(const Message& message) override;
    MessageAnswer ShowWithDetails(const Message& message, const std::string& details) override;

  private:
    MessageAnswer Run(const Message& message, const std::string& details);
};

class QtFileDialogs final : public FileDialogs {
  public:
    [[nodiscard]] std::optional<std::string> RunOpenDialog(
        const FileDialogRequest& request) override;
    [[nodiscard]] std::optional<std::string> RunSaveDialog(
        const FileDialogRequest& request) override;
};

// The dialog a request describes, not yet shown; exposed for tests.
void SetUpFileDialog(QFileDialog& dialog, const FileDialogRequest& request, bool save);
// Moves a dialog to its place over owner (the screen when owner is null).
void PlaceDialog(QWidget& dialog, QWidget* owner);

// Runs a form's dialog modal over owner on the windows' thread: makeDialog
// builds it for its owner widget; OK hands its Form() back into form.
template <class Form, class MakeDialog>
bool RunFormDialog(WindowId owner, Form& form, MakeDialog makeDialog) {
    return AskOnUiThread(false, [&]() -> bool {
        QWidget* ownerWidget = WidgetOf(owner);
        auto dialog = makeDialog(ownerWidget);
        dialog->adjustSize();
        PlaceDialog(*dialog, ownerWidget);
        if (dialog->exec() != QDialog::Accepted) {
            return false;
        }
        form = dialog->Form();
        return true;
    });
}
// "Media Files (*.mpg *.mp3)" from a filter.
[[nodiscard]] QString QtFilterText(const FileFilter& filter);

}  // namespace vantic
