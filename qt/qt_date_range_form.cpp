#include "qt/qt_date_range_form.h"

#include "qt/qt_blocking_calls.h"

#include <QFormLayout>
#include <QLabel>
#include <QVBoxLayout>

#include "qt/qt_dialogs.h"
#include "qt/qt_form_widgets.h"
#include "qt/qt_text.h"
#include "qt/qt_window.h"

namespace vantic {

namespace {

QDateEdit* NewPicker(QWidget* parent, const ReportDate& date, int itemId) {
    auto* picker = new QDateEdit(parent);
    picker->setCalendarPopup(true);
    picker->setDisplayFormat("MM/dd/yyyy");
    picker->setDate(QDate(date.year, date.month, date.day));
    SetItemId(picker, itemId);
    return picker;
}

ReportDate DateOfPicker(const QDateEdit& picker) {
    const QDate date = picker.date();
    return ReportDate{date.year(), date.month(), date.day()};
}

}  // namespace

QtDateRangeDialog::QtDateRangeDialog(QWidget* owner, DateRangeForm& form)
    : QDialog(owner), form_(form) {
    setWindowTitle(FromText(kDateRangeTitle));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(FromText(kDateRangePrompt), this));
    auto* pickers = new QFormLayout();
    first_ = NewPicker(this, form_.first, kFirstDayItem);
    last_ = NewPicker(this, form_.last, kLastDayItem);
    pickers->addRow(FromText("First Day:"), first_);
    pickers->addRow(FromText("Last Day:"), last_);
    layout->addLayout(pickers);

    AddOkCancel(*this, *layout, [this] { accept(); });
    // OK, Cancel, Escape and the close box all keep the picked dates.
    connect(this, &QDialog::finished, this, [this] { TakeDates(); });
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void QtDateRangeDialog::TakeDates() {
    form_.first = DateOfPicker(*first_);
    form_.last = DateOfPicker(*last_);
}

bool QtDateRangeFormView::RunDateRangeForm(WindowId owner, DateRangeForm& form) {
    return AskOnUiThread(false, [&]() -> bool {
        QtDateRangeDialog dialog(WidgetOf(owner), form);
        PlaceDialog(dialog, WidgetOf(owner));
        return dialog.exec() == QDialog::Accepted;
    });
}

}  // namespace vantic
