#include "qt/qt_form_widgets.h"

#include <QDialogButtonBox>
#include <QKeyEvent>
#include <QRegularExpression>
#include <QRegularExpressionValidator>
#include <optional>
#include <utility>

#include "qt/qt_window.h"

namespace vantic {

namespace {

// A time typed whole ("06:00 PM", "6:30 am", "18:30"); none for anything
// else. Without AM or PM an hour up to 12 stays in the half of the day pm
// names, as a picker on the 12-hour clock shows it.
std::optional<QTime> TypedTime(const QString& typed, bool pm) {
    static const QRegularExpression kTime(
        R"(^\s*(\d{1,2}):(\d{2})\s*(?:([AaPp])\.?[Mm]?\.?)?\s*$)");
    const QRegularExpressionMatch match = kTime.match(typed);
    if (!match.hasMatch()) {
        return std::nullopt;
    }
    int hour = match.captured(1).toInt();
    const int minute = match.captured(2).toInt();
    const QString half = match.captured(3).toUpper();
    if (!half.isEmpty()) {
        if (hour < 1 || hour > 12) {
            return std::nullopt;
        }
        hour = hour % 12 + (half == "P" ? 12 : 0);
    } else if (hour >= 1 && hour <= 12) {
        hour = hour % 12 + (pm ? 12 : 0);
    }
    const QTime time(hour, minute);
    return time.isValid() ? std::optional(time) : std::nullopt;
}

bool IsModifierKey(int key) {
    return key == Qt::Key_Shift || key == Qt::Key_Control || key == Qt::Key_Alt ||
           key == Qt::Key_AltGr || key == Qt::Key_Meta || key == Qt::Key_CapsLock;
}

// The section editing of QTimeEdit takes a whole time typed over its hour
// section apart: the colon skips a section, the minutes land in AM/PM. The
// picker keeps the characters typed in a row, and once they hold a colon
// they are a time typed whole, the picker's as soon as it reads complete.
// Typing one section works as before.
class TimePicker final : public QTimeEdit {
  public:
    using QTimeEdit::QTimeEdit;

  protected:
    void keyPressEvent(QKeyEvent* event) override {
        const QString text = event->text();
        const bool printable =
            !text.isEmpty() && text.at(0).isPrint() &&
            (event->modifiers() & ~(Qt::ShiftModifier | Qt::KeypadModifier)) == Qt::NoModifier;
        if (!printable) {
            // Shift on its way to a capital or a colon is no break in the typing.
            if (!IsModifierKey(event->key())) {
                typed_.clear();
            }
            QTimeEdit::keyPressEvent(event);
            return;
        }
        if (typed_.isEmpty()) {
            startedPm_ = time().hour() >= 12;
        }
        typed_ += text;
        // Up to a colon the keys edit the section as always; from there on
        // they make a whole time, which the section editing would take apart.
        if (!typed_.contains(':')) {
            QTimeEdit::keyPressEvent(event);
        } else if (const std::optional<QTime> whole = TypedTime(typed_, startedPm_)) {
            setTime(*whole);
        }
        if (typed_.size() > kLongestTyped) {
            typed_.clear();
        }
    }
    void focusInEvent(QFocusEvent* event) override {
        typed_.clear();
        QTimeEdit::focusInEvent(event);
    }
    void mousePressEvent(QMouseEvent* event) override {
        typed_.clear();
        QTimeEdit::mousePressEvent(event);
    }

  private:
    static constexpr qsizetype kLongestTyped = 12;  // "12:00 p.m. " and a little
    QString typed_;
    bool startedPm_ = false;
};

}  // namespace

QTimeEdit* MakeTimePicker(const QString& name) {
    auto* picker = new TimePicker;
    picker->setObjectName(name);
    picker->setDisplayFormat("hh:mm AP");
    return picker;
}

QLineEdit* MakeDigitsBox(const QString& name, int maxLength) {
    auto* box = new QLineEdit;
    box->setObjectName(name);
    box->setMaxLength(maxLength);
    box->setValidator(new QRegularExpressionValidator(QRegularExpression("[0-9]*"), box));
    return box;
}

QPushButton* AddOkCancel(QDialog& dialog, QBoxLayout& layout, std::function<void()> pressOk) {
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    QPushButton* ok = buttons->button(QDialogButtonBox::Ok);
    ok->setDefault(true);
    SetItemId(ok, 1);
    SetItemId(buttons->button(QDialogButtonBox::Cancel), 2);
    QObject::connect(ok, &QPushButton::clicked, &dialog, std::move(pressOk));
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    layout.addWidget(buttons);
    return ok;
}

}  // namespace vantic
