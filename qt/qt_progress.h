#pragma once

// The progress dialogs on Qt: a small modeless window per layout. It is a
// window of its own (not a child of its owner), so disabling the owner
// leaves the dialog's Cancel button working.

#include <QBoxLayout>
#include <QDialog>

#include "platform/progress_window.h"

namespace vantic {

class QtProgressDialog final : public QDialog {
  public:
    QtProgressDialog(int layoutId, ProgressButtonHandler onButton);
    // Reports a button to the handler (a copy of it: the handler may end
    // this dialog's window object).
    void Press(int buttonId);
    void DropHandler() { onButton_ = nullptr; }
    [[nodiscard]] bool Pressing() const { return pressing_; }

  protected:
    void reject() override;
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    void BuildOperation();
    void BuildSimple(const QString& caption);
    void AddButtons(QBoxLayout* layout);

    ProgressButtonHandler onButton_;
    bool pressing_ = false;
};

class QtProgressWindows final : public ProgressWindows {
  public:
    [[nodiscard]] std::unique_ptr<ProgressWindow> Create(WindowId owner, int layoutId,
                                                         ProgressButtonHandler onButton) override;
};

}  // namespace vantic
