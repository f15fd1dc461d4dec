#include "qt/qt_admin_forms.h"

#include "qt/qt_blocking_calls.h"

#include <QButtonGroup>
#include <QDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

#include "core/cpstring.h"
#include "qt/qt_dialogs.h"
#include "qt/qt_form_widgets.h"
#include "qt/qt_text.h"
#include "qt/qt_window.h"

namespace vantic {
namespace {

constexpr int kTextBoxWidth = 420;
constexpr int kTextBoxHeight = 160;

// A modal dialog with a column of items over OK and Cancel. OK runs
// `accepts`, which reads the items into the form and asks the command.
class FormDialog final : public QDialog {
  public:
    FormDialog(WindowId owner, std::string_view title) : QDialog(WidgetOf(owner)) {
        setWindowTitle(FromText(title));
        setWindowFlag(Qt::WindowContextHelpButtonHint, false);
        column_ = new QVBoxLayout(this);
    }

    QVBoxLayout& Column() { return *column_; }
    QLabel* AddLine(std::string_view text) {
        auto* label = new QLabel(FromText(text), this);
        column_->addWidget(label);
        return label;
    }

    bool Run(std::function<bool()> accepts) {
        accepts_ = std::move(accepts);
        AddOkCancel(*this, *column_, [this] {
            if (accepts_()) {
                accept();
            }
        });
        PlaceDialog(*this, parentWidget());
        return exec() == QDialog::Accepted;
    }

  private:
    QVBoxLayout* column_ = nullptr;
    std::function<bool()> accepts_;
};

// A multi-line box. The text travels with CR LF line ends, as the
// program's files keep them.
QPlainTextEdit* AddTextBox(FormDialog& dialog, int itemId, const std::string& text) {
    auto* box = new QPlainTextEdit(&dialog);
    std::string shown = text;
    NormalizeLineEnds(shown, "\n");
    box->setPlainText(FromText(shown));
    box->setMinimumSize(kTextBoxWidth, kTextBoxHeight);
    box->setLineWrapMode(QPlainTextEdit::NoWrap);
    SetItemId(box, itemId);
    dialog.Column().addWidget(box);
    return box;
}

std::string TextOf(const QPlainTextEdit& box) {
    std::string text = ToText(box.toPlainText());
    NormalizeLineEnds(text, "\r\n");
    return text;
}

QLineEdit* NewLineBox(FormDialog& dialog, int itemId, const std::string& text, int limit) {
    auto* box = new QLineEdit(&dialog);
    box->setMaxLength(limit);
    box->setText(FromText(text));
    SetItemId(box, itemId);
    return box;
}

}  // namespace

bool QtAdminFormsView::RunCrawlForm(WindowId owner, CrawlForm& form,
                                    const FormCheck<CrawlForm>& onOk) {
    return AskOnUiThread(false, [&]() -> bool {
        FormDialog dialog(owner, kCrawlFormTitle);
        QPlainTextEdit* text = AddTextBox(dialog, admin_item::kCrawlText, form.text);
        auto* row = new QHBoxLayout;
        row->addWidget(new QLabel(QStringLiteral("Refresh URL's every"), &dialog));
        QLineEdit* refresh = NewLineBox(dialog, admin_item::kCrawlRefresh, form.refresh,
                                        static_cast<int>(kCrawlRefreshDigits));
        refresh->setValidator(
            new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), refresh));
        refresh->setMaximumWidth(80);
        row->addWidget(refresh);
        row->addWidget(new QLabel(QStringLiteral("minutes"), &dialog));
        row->addStretch();
        dialog.Column().addLayout(row);
        for (std::string_view line : kCrawlHelpLines) {
            dialog.AddLine(line);
        }
        text->setFocus();
        return dialog.Run([&] {
            form.text = TextOf(*text);
            form.refresh = ToText(refresh->text());
            return onOk(form, IdOf(&dialog));
        });
    });
}

bool QtAdminFormsView::RunAdminConfigForm(WindowId owner, AdminConfigForm& form,
                                          const FormCheck<AdminConfigForm>& onOk) {
    return AskOnUiThread(false, [&]() -> bool {
        FormDialog dialog(owner, kAdminConfigTitle);
        dialog.AddLine(kAdminConfigNote);
        QPlainTextEdit* text = AddTextBox(dialog, admin_item::kAdminConfigText, form.text);
        text->setFocus();
        return dialog.Run([&] {
            form.text = TextOf(*text);
            return onOk(form, IdOf(&dialog));
        });
    });
}

bool QtAdminFormsView::RunTimezoneForm(WindowId owner, TimezoneForm& form,
                                       const FormCheck<TimezoneForm>& onOk) {
    return AskOnUiThread(false, [&]() -> bool {
        FormDialog dialog(owner, kTimezoneTitle);
        dialog.AddLine(kTimezonePrompt);
        auto* group = new QButtonGroup(&dialog);
        int id = admin_item::kFirstTimeZone;
        for (const TimeZoneChoice& choice : TimeZoneChoices()) {
            auto* button = new QRadioButton(FromText(choice.label), &dialog);
            button->setChecked(choice.zone == form.zone);
            SetItemId(button, id);
            group->addButton(button, static_cast<int>(choice.zone));
            dialog.Column().addWidget(button);
            ++id;
        }
        return dialog.Run([&] {
            form.zone = static_cast<TimeZone>(group->checkedId());
            return onOk(form, IdOf(&dialog));
        });
    });
}

bool QtAdminFormsView::RunOwnerForm(WindowId owner, OwnerForm& form,
                                    const FormCheck<OwnerForm>& onOk) {
    return AskOnUiThread(false, [&]() -> bool {
        FormDialog dialog(owner, kOwnerFormTitle);
        dialog.AddLine(kOwnerPrompt);
        QLineEdit* name = NewLineBox(dialog, admin_item::kOwnerName, form.text,
                                     static_cast<int>(kOwnerNameLimit));
        name->setMinimumWidth(260);
        dialog.Column().addWidget(name);
        name->setFocus();
        return dialog.Run([&] {
            form.text = ToText(name->text());
            return onOk(form, IdOf(&dialog));
        });
    });
}

}  // namespace vantic
