#include "qt/qt_auto_updates.h"

#include "qt/qt_blocking_calls.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "qt/qt_dialogs.h"
#include "qt/qt_text.h"
#include "qt/qt_window.h"

namespace vantic {

QtAutoUpdatesDialog::QtAutoUpdatesDialog(QWidget* owner, AutoUpdateForm& form)
    : QDialog(owner), form_(form) {
    setWindowTitle(FromText(kAutoUpdateTitle));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    auto* layout = new QVBoxLayout(this);
    for (const char* line : kAutoUpdateIntro) {
        layout->addWidget(new QLabel(FromText(line), this));
    }
    for (std::size_t i = 0; i < choices_.size(); ++i) {
        choices_[i] = new QRadioButton(FromText(kAutoUpdateChoices[i]), this);
        SetItemId(choices_[i], kAutoUpdateChoiceItems[i]);
        layout->addWidget(choices_[i]);
    }
    choices_[static_cast<std::size_t>(ChosenUpdateOption(form_))]->setChecked(true);

    auto* buttons = new QDialogButtonBox(this);
    QPushButton* ok = buttons->addButton(FromText(kAutoUpdateOkText), QDialogButtonBox::AcceptRole);
    QPushButton* later =
        buttons->addButton(FromText(kAutoUpdateLaterText), QDialogButtonBox::RejectRole);
    ok->setDefault(true);
    SetItemId(ok, 1);
    SetItemId(later, 2);
    connect(ok, &QPushButton::clicked, this, [this] { PressOk(); });
    connect(later, &QPushButton::clicked, this, &QDialog::reject);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void QtAutoUpdatesDialog::PressOk() {
    form_.option = 0;
    for (std::size_t i = 0; i < choices_.size(); ++i) {
        if (choices_[i]->isChecked()) {
            form_.option = static_cast<int>(i);
        }
    }
    accept();
}

bool QtAutoUpdatesView::RunAutoUpdateForm(WindowId owner, AutoUpdateForm& form) {
    return AskOnUiThread(false, [&]() -> bool {
        QtAutoUpdatesDialog dialog(WidgetOf(owner), form);
        PlaceDialog(dialog, WidgetOf(owner));
        return dialog.exec() == QDialog::Accepted;
    });
}

}  // namespace vantic
