#include "qt/qt_clip_editor.h"

#include "qt/qt_blocking_calls.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimeEdit>
#include <QVBoxLayout>
#include <memory>

#include "core/cpstring.h"
#include "qt/qt_dialogs.h"
#include "qt/qt_form_widgets.h"
#include "qt/qt_text.h"
#include "qt/qt_window.h"

namespace vantic {
namespace {

constexpr const char* kDateTimeFormat = "MM/dd/yy  hh:mm AP";

// The week-day list, in the order of the day selector.
const char* const kWeekDayItems[] = {"All",     "Weekends",  "Weekdays", "Sunday", "Monday",
                                     "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"};

QTime ToQTime(const ClockTime& time) {
    return QTime(time.hour, time.minute);
}

ClockTime ToClockTime(const QTime& time) {
    return ClockTime{time.hour(), time.minute()};
}

// A date the picker cannot show (such as 31 February, which the files
// allow) shows as the last day of its month.
QDateTime ToQDateTime(const DateTime& value) {
    const int month = std::clamp(value.month, 1, 12);
    const int year = std::clamp(value.year, 1971, 2100);
    const int days = QDate(year, month, 1).daysInMonth();
    return QDateTime(QDate(year, month, std::clamp(value.day, 1, days)),
                     QTime(std::clamp(value.hour, 0, 23), std::clamp(value.minute, 0, 59)));
}

DateTime ToDateTime(const QDateTime& value) {
    return DateTime{value.date().month(), value.date().day(), value.date().year(),
                    value.time().hour(), value.time().minute()};
}

QRadioButton* MakeChoice(const char* text, const char* name) {
    auto* choice = new QRadioButton(text);
    choice->setObjectName(name);
    return choice;
}

}  // namespace

bool QtClipEditor::RunClipEditor(WindowId owner, ClipForm& form) {
    return RunFormDialog(owner, form, [&](QWidget* ownerWidget) {
        return std::make_unique<ClipEditorDialog>(form, dialogs_, ownerWidget);
    });
}

ClipEditorDialog::ClipEditorDialog(const ClipForm& form, FileDialogs& dialogs, QWidget* owner)
    : QDialog(owner), form_(form), dialogs_(dialogs) {
    setWindowTitle(FromText(form_.title));
    auto* left = new QVBoxLayout;
    left->addWidget(BuildSchedule());
    left->addWidget(BuildPlayingHours());
    left->addWidget(BuildAudio());
    left->addStretch();
    auto* columns = new QHBoxLayout;
    columns->addLayout(left);
    columns->addWidget(BuildDays(), 1, Qt::AlignTop);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(columns);
    layout->addWidget(BuildMedia());
    AddOkCancel(*this, *layout, [this] {
        Store();
        accept();
    });
    Load();
}

QWidget* ClipEditorDialog::BuildSchedule() {
    auto* group = new QGroupBox("Time Schedule");
    loop_ = MakeChoice("Loop", "loop");
    frequency_ = MakeChoice("Frequency (per hour)", "frequency");
    frequencyBox_ = MakeDigitsBox("frequencyBox", static_cast<int>(kFrequencyBoxLength));
    frequencyBox_->setFixedWidth(frequencyBox_->fontMetrics().horizontalAdvance("000") + 12);
    time_ = MakeChoice("Time:", "time");
    timePicker_ = MakeTimePicker("timePicker");
    auto* choices = new QButtonGroup(group);
    for (QRadioButton* choice : {loop_, frequency_, time_}) {
        choices->addButton(choice);
        connect(choice, &QRadioButton::clicked, this, &ClipEditorDialog::Recheck);
    }
    auto* grid = new QGridLayout(group);
    grid->addWidget(loop_, 0, 0);
    grid->addWidget(frequency_, 1, 0);
    grid->addWidget(frequencyBox_, 1, 1, Qt::AlignLeft);
    grid->addWidget(time_, 2, 0);
    grid->addWidget(timePicker_, 2, 1);
    return group;
}

QWidget* ClipEditorDialog::BuildPlayingHours() {
    auto* group = new QGroupBox("Playing Hours");
    restrict_ = new QCheckBox("Restrict");
    restrict_->setObjectName("restrict");
    connect(restrict_, &QCheckBox::clicked, this, &ClipEditorDialog::Recheck);
    start_ = MakeTimePicker("start");
    stop_ = MakeTimePicker("stop");
    auto* grid = new QGridLayout(group);
    grid->addWidget(restrict_, 0, 0, 1, 2);
    grid->addWidget(new QLabel("Start"), 1, 0);
    grid->addWidget(start_, 1, 1);
    grid->addWidget(new QLabel("Stop"), 2, 0);
    grid->addWidget(stop_, 2, 1);
    return group;
}

QWidget* ClipEditorDialog::BuildAudio() {
    auto* group = new QGroupBox("Audio");
    audioA_ = MakeChoice("Use Audio A", "audioA");
    audioB_ = MakeChoice("Use Audio B", "audioB");
    audioNone_ = MakeChoice("Use No Audio", "audioNone");
    auto* choices = new QButtonGroup(group);
    auto* column = new QVBoxLayout(group);
    for (QRadioButton* choice : {audioA_, audioB_, audioNone_}) {
        choices->addButton(choice);
        column->addWidget(choice);
    }
    return group;
}

ClipEditorDialog::DayWidgets ClipEditorDialog::MakeDayPicker(const char* label, const char* name) {
    DayWidgets widgets;
    widgets.on = new QCheckBox(label);
    widgets.on->setObjectName(name);
    widgets.picker = new QDateTimeEdit;
    widgets.picker->setObjectName(QString(name) + "Picker");
    widgets.picker->setDisplayFormat(kDateTimeFormat);
    widgets.picker->setCalendarPopup(true);
    widgets.picker->setDateTimeRange(QDateTime(QDate(1971, 1, 1), QTime(0, 0)),
                                     QDateTime(QDate(2100, 12, 31), QTime(23, 59)));
    // Off means "no such day": the picker then shows its date greyed.
    connect(widgets.on, &QCheckBox::toggled, widgets.picker, &QWidget::setEnabled);
    return widgets;
}

QWidget* ClipEditorDialog::BuildDays() {
    auto* group = new QGroupBox("Day Schedule");
    firstDay_ = MakeDayPicker("First Day:", "firstDay");
    lastDay_ = MakeDayPicker("Last Day:", "lastDay");
    weekDays_ = new QComboBox;
    weekDays_->setObjectName("weekDays");
    for (const char* item : kWeekDayItems) {
        weekDays_->addItem(item);
    }
    notes_ = new QLineEdit;
    notes_->setObjectName("notes");
    notes_->setMaxLength(static_cast<int>(kNotesLength));
    notes_->setMinimumWidth(notes_->fontMetrics().averageCharWidth() * 36);
    auto* form = new QFormLayout(group);
    form->addRow(firstDay_.on, firstDay_.picker);
    form->addRow(lastDay_.on, lastDay_.picker);
    form->addRow("Week Days:", weekDays_);
    form->addRow("Notes:", notes_);
    return group;
}

QWidget* ClipEditorDialog::BuildMedia() {
    auto* media = new QWidget;
    fileName_ = new QLabel;
    fileName_->setObjectName("fileName");
    fileName_->setTextFormat(Qt::PlainText);
    auto* browse = new QPushButton("Browse");
    browse->setObjectName("browse");
    browse->setAutoDefault(false);
    connect(browse, &QPushButton::clicked, this, &ClipEditorDialog::Browse);
    durationLabel_ = new QLabel("Duration in seconds:");
    durationLabel_->setObjectName("durationLabel");
    duration_ = MakeDigitsBox("duration", static_cast<int>(kDurationBoxLength));
    duration_->setFixedWidth(duration_->fontMetrics().horizontalAdvance("0000000") + 12);
    auto* row = new QHBoxLayout(media);
    row->setContentsMargins(0, 0, 0, 0);
    row->addWidget(fileName_, 1);
    row->addWidget(browse);
    row->addSpacing(12);
    row->addWidget(durationLabel_);
    row->addWidget(duration_);
    return media;
}

void ClipEditorDialog::LoadDay(DayWidgets& widgets, const DayPicker& day) {
    widgets.shown = ToQDateTime(day.value);
    widgets.picker->setDateTime(widgets.shown);
    widgets.on->setChecked(day.on);
    widgets.picker->setEnabled(day.on);
}

void ClipEditorDialog::Load() {
    loop_->setChecked(form_.schedule == ScheduleChoice::Loop);
    frequency_->setChecked(form_.schedule == ScheduleChoice::Frequency);
    time_->setChecked(form_.schedule == ScheduleChoice::Time);
    frequencyBox_->setText(FromText(form_.frequencyText));
    timePicker_->setTime(ToQTime(form_.time));
    start_->setTime(ToQTime(form_.start));
    stop_->setTime(ToQTime(form_.stop));
    audioA_->setChecked(form_.audio == AudioChoice::A);
    audioB_->setChecked(form_.audio == AudioChoice::B);
    audioNone_->setChecked(form_.audio == AudioChoice::None);
    LoadDay(firstDay_, form_.firstDay);
    LoadDay(lastDay_, form_.lastDay);
    weekDays_->setCurrentIndex(form_.weekDay);
    notes_->setText(FromText(form_.notes));
    notes_->setCursorPosition(0);  // show where the notes begin
    duration_->setText(FromText(form_.durationText));
    Refresh();
}

void ClipEditorDialog::StoreDay(const DayWidgets& widgets, DayPicker& day) const {
    day.on = widgets.on->isChecked();
    // An untouched picker keeps the exact date it was given.
    if (widgets.picker->dateTime() != widgets.shown) {
        day.value = ToDateTime(widgets.picker->dateTime());
    }
}

void ClipEditorDialog::Store() {
    if (frequency_->isChecked()) {
        form_.schedule = ScheduleChoice::Frequency;
    } else if (time_->isChecked()) {
        form_.schedule = ScheduleChoice::Time;
    } else {
        form_.schedule = ScheduleChoice::Loop;
    }
    form_.frequencyText = ToText(frequencyBox_->text());
    form_.time = ToClockTime(timePicker_->time());
    form_.restrict = restrict_->isChecked();
    form_.start = ToClockTime(start_->time());
    form_.stop = ToClockTime(stop_->time());
    if (audioA_->isChecked()) {
        form_.audio = AudioChoice::A;
    } else if (audioB_->isChecked()) {
        form_.audio = AudioChoice::B;
    } else {
        form_.audio = AudioChoice::None;
    }
    StoreDay(firstDay_, form_.firstDay);
    StoreDay(lastDay_, form_.lastDay);
    form_.weekDay = weekDays_->currentIndex();
    form_.notes = ToText(notes_->text());
    form_.durationText = ToText(duration_->text());
}

void ClipEditorDialog::Recheck() {
    Store();
    ApplyClipFormRules(form_);
    Refresh();
}

void ClipEditorDialog::Refresh() {
    const ClipFormEnables enables = ClipFormEnabling(form_);
    restrict_->setChecked(form_.restrict);
    frequencyBox_->setEnabled(enables.frequencyBox);
    timePicker_->setEnabled(enables.timePicker);
    restrict_->setEnabled(enables.restrict);
    start_->setEnabled(enables.startStop);
    stop_->setEnabled(enables.startStop);
    for (QRadioButton* choice : {audioA_, audioB_, audioNone_}) {
        choice->setEnabled(enables.audioChoices);
    }
    fileName_->setText(FromPath(std::string(FileNameOf(form_.workingPath))));
    durationLabel_->setVisible(enables.durationBox);
    duration_->setVisible(enables.durationBox);
}

void ClipEditorDialog::Browse() {
    Store();
    if (BrowseClipMedia(form_, dialogs_, IdOf(this))) {
        Refresh();
    }
}

ClipForm ClipEditorDialog::Form() {
    Store();
    return form_;
}

}  // namespace vantic

#include "moc_qt_clip_editor.cpp"
