#include "qt/qt_unit_editor.h"

#include "qt/qt_blocking_calls.h"

#include <QCheckBox>
#include <QEvent>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QTimeEdit>
#include <QVBoxLayout>
#include <memory>

#include "qt/qt_dialogs.h"
#include "qt/qt_form_widgets.h"
#include "qt/qt_text.h"
#include "qt/qt_window.h"

namespace vantic {
namespace {

QLineEdit* MakeTextBox(const char* name, std::size_t maxLength) {
    auto* box = new QLineEdit;
    box->setObjectName(name);
    box->setMaxLength(static_cast<int>(maxLength));
    return box;
}

QCheckBox* MakeCheck(const char* text, const char* name) {
    auto* check = new QCheckBox(text);
    check->setObjectName(name);
    return check;
}

void SetText(QLineEdit* box, const std::string& text) {
    box->setText(FromText(text));
    box->setCursorPosition(0);
}

}  // namespace

bool QtUnitEditor::RunUnitEditor(WindowId owner, UnitForm& form) {
    return RunFormDialog(owner, form, [&](QWidget* ownerWidget) {
        return std::make_unique<UnitEditorDialog>(form, chooser_, ownerWidget);
    });
}

ColourSwatch::ColourSwatch(std::uint32_t colour, QWidget* parent)
    : QWidget(parent), colour_(colour) {
    setFixedSize(48, 20);
    surface_.Create(width(), height());
    surface_.Fill(colour_);
    surface_.SetWindow(IdOf(this));
}

void ColourSwatch::Fill(std::uint32_t colour) {
    colour_ = colour;
    surface_.Fill(colour_);
    update();
}

void ColourSwatch::resizeEvent(QResizeEvent* /*event*/) {
    surface_.Create(width(), height());
    surface_.Fill(colour_);
}

void ColourSwatch::paintEvent(QPaintEvent* /*event*/) {
    (void)surface_.Draw(0, 0);
    QPainter painter(this);  // after Draw, whose painter has ended
    painter.setPen(palette().color(QPalette::Dark));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

UnitEditorDialog::UnitEditorDialog(const UnitForm& form, ColourChooser& chooser, QWidget* owner)
    : QDialog(owner), form_(form), chooser_(chooser) {
    setWindowTitle(FromText(form_.title));
    auto* left = new QVBoxLayout;
    left->addWidget(BuildNotes());
    left->addWidget(BuildCrawl());
    left->addStretch();
    auto* right = new QVBoxLayout;
    right->addWidget(BuildHours("Playing Hours", "play", restrictPlay_, playStart_, playStop_));
    right->addWidget(
        BuildHours("Update Hours", "update", restrictUpdate_, updateStart_, updateStop_));
    right->addWidget(BuildModem());
    right->addWidget(BuildShuffle());
    right->addStretch();
    auto* columns = new QHBoxLayout;
    columns->addLayout(left, 1);
    columns->addLayout(right);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(columns);
    AddOkCancel(*this, *layout, [this] {
        Store();
        accept();
    });
    Load();
    notes_->setFocus();  // not the password box, which empties on focus
}

QWidget* UnitEditorDialog::BuildNotes() {
    auto* column = new QWidget;
    auto* layout = new QVBoxLayout(column);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* notesGroup = new QGroupBox("Notes");
    notes_ = MakeTextBox("notes", kUnitTextBoxLength);
    notes_->setMinimumWidth(notes_->fontMetrics().averageCharWidth() * 40);
    (new QVBoxLayout(notesGroup))->addWidget(notes_);
    auto* locationGroup = new QGroupBox("Location Info");
    auto* locations = new QVBoxLayout(locationGroup);
    const char* const names[] = {"location1", "location2", "location3", "location4"};
    for (int i = 0; i < 4; ++i) {
        locations_[i] = MakeTextBox(names[i], kUnitTextBoxLength);
        locations->addWidget(locations_[i]);
    }
    layout->addWidget(notesGroup);
    layout->addWidget(locationGroup);
    return column;
}

QWidget* UnitEditorDialog::BuildCrawl() {
    auto* group = new QGroupBox("Screen Crawl");
    crawl_ = MakeCheck("Show Screen Crawl", "crawl");
    crawlSize_ = MakeDigitsBox("crawlSize", static_cast<int>(kUnitNumberBoxLength));
    crawlSpeed_ = MakeDigitsBox("crawlSpeed", static_cast<int>(kUnitNumberBoxLength));
    for (QLineEdit* box : {crawlSize_, crawlSpeed_}) {
        box->setFixedWidth(box->fontMetrics().horizontalAdvance("00000") + 12);
    }
    textSwatch_ = new ColourSwatch(form_.textColour);
    textSwatch_->setObjectName("textSwatch");
    backgroundSwatch_ = new ColourSwatch(form_.backgroundColour);
    backgroundSwatch_->setObjectName("backgroundSwatch");
    auto* pickText = new QPushButton("PIck...");
    pickText->setObjectName("pickText");
    auto* pickBackground = new QPushButton("Pick...");
    pickBackground->setObjectName("pickBackground");
    for (QPushButton* button : {pickText, pickBackground}) {
        button->setAutoDefault(false);
    }
    connect(pickText, &QPushButton::clicked, this, [this] { Pick(Swatch::Text); });
    connect(pickBackground, &QPushButton::clicked, this, [this] { Pick(Swatch::Background); });

    auto* grid = new QGridLayout(group);
    grid->addWidget(crawl_, 0, 0, 1, 3);
    grid->addWidget(new QLabel("Percent of Screen"), 1, 0);
    grid->addWidget(crawlSize_, 1, 1, 1, 2, Qt::AlignLeft);
    grid->addWidget(new QLabel("Speed [ 1 through 10 ]"), 2, 0);
    grid->addWidget(crawlSpeed_, 2, 1, 1, 2, Qt::AlignLeft);
    grid->addWidget(new QLabel("Text Color"), 3, 0);
    grid->addWidget(textSwatch_, 3, 1);
    grid->addWidget(pickText, 3, 2);
    grid->addWidget(new QLabel("Background Color"), 4, 0);
    grid->addWidget(backgroundSwatch_, 4, 1);
    grid->addWidget(pickBackground, 4, 2);
    grid->setColumnStretch(3, 1);
    return group;
}

QWidget* UnitEditorDialog::BuildHours(const char* title, const char* prefix, QCheckBox*& restrict,
                                      QTimeEdit*& start, QTimeEdit*& stop) {
    auto* group = new QGroupBox(title);
    restrict = MakeCheck("Restrict", (QString(prefix) + "Restrict").toUtf8().constData());
    connect(restrict, &QCheckBox::clicked, this, [this] {
        Store();
        Refresh();
    });
    start = MakeTimePicker(QString(prefix) + "Start");
    stop = MakeTimePicker(QString(prefix) + "Stop");
    auto* grid = new QGridLayout(group);
    grid->addWidget(restrict, 0, 0, 1, 2);
    grid->addWidget(new QLabel("Start:"), 1, 0);
    grid->addWidget(start, 1, 1);
    grid->addWidget(new QLabel("Stop:"), 2, 0);
    grid->addWidget(stop, 2, 1);
    return group;
}

QWidget* UnitEditorDialog::BuildModem() {
    auto* group = new QGroupBox("Modem Info (if using modem)");
    username_ = MakeTextBox("username", kModemBoxLength);
    password_ = MakeTextBox("password", kModemBoxLength);
    password_->setEchoMode(QLineEdit::Password);
    password_->installEventFilter(this);
    connect(password_, &QLineEdit::textEdited, this,
            [this](const QString& text) { OnPasswordEdited(form_, ToText(text)); });
    phone_ = MakeDigitsBox("phone", static_cast<int>(kModemBoxLength));
    auto* form = new QFormLayout(group);
    form->addRow("Name:", username_);
    form->addRow("Password:", password_);
    form->addRow("Phone:", phone_);
    return group;
}

QWidget* UnitEditorDialog::BuildShuffle() {
    auto* group = new QGroupBox("Shuffle Mode");
    const char* const texts[] = {"Video", "Video Alt", "Audio A", "Audio B"};
    const char* const names[] = {"videoRandom", "videoAltRandom", "audioARandom", "audioBRandom"};
    auto* grid = new QGridLayout(group);
    for (int i = 0; i < 4; ++i) {
        shuffle_[i] = MakeCheck(texts[i], names[i]);
        grid->addWidget(shuffle_[i], i / 2, i % 2);
    }
    return group;
}

bool UnitEditorDialog::eventFilter(QObject* watched, QEvent* event) {
    if (watched == password_ && event->type() == QEvent::FocusIn) {
        OnPasswordFocus(form_);
        password_->clear();
    }
    return QDialog::eventFilter(watched, event);
}

void UnitEditorDialog::Load() {
    SetText(notes_, form_.notes);
    for (int i = 0; i < 4; ++i) {
        SetText(locations_[i], form_.locations[static_cast<std::size_t>(i)]);
    }
    crawl_->setChecked(form_.crawl);
    SetText(crawlSize_, form_.crawlSize);
    SetText(crawlSpeed_, form_.crawlSpeed);
    textSwatch_->Fill(form_.textColour);
    backgroundSwatch_->Fill(form_.backgroundColour);
    restrictPlay_->setChecked(form_.restrictPlay);
    playStart_->setTime(QTime(form_.playStart.hour, form_.playStart.minute));
    playStop_->setTime(QTime(form_.playStop.hour, form_.playStop.minute));
    restrictUpdate_->setChecked(form_.restrictUpdate);
    updateStart_->setTime(QTime(form_.updateStart.hour, form_.updateStart.minute));
    updateStop_->setTime(QTime(form_.updateStop.hour, form_.updateStop.minute));
    SetText(username_, form_.username);
    SetText(password_, form_.passwordBox);
    SetText(phone_, form_.phone);
    const bool shuffles[] = {form_.videoRandom, form_.videoAltRandom, form_.audioARandom,
                             form_.audioBRandom};
    for (int i = 0; i < 4; ++i) {
        shuffle_[i]->setChecked(shuffles[i]);
    }
    Refresh();
}

void UnitEditorDialog::Store() {
    form_.notes = ToText(notes_->text());
    for (int i = 0; i < 4; ++i) {
        form_.locations[static_cast<std::size_t>(i)] = ToText(locations_[i]->text());
    }
    form_.crawl = crawl_->isChecked();
    form_.crawlSize = ToText(crawlSize_->text());
    form_.crawlSpeed = ToText(crawlSpeed_->text());
    form_.textColour = textSwatch_->Colour();
    form_.backgroundColour = backgroundSwatch_->Colour();
    form_.restrictPlay = restrictPlay_->isChecked();
    form_.playStart = ClockTime{playStart_->time().hour(), playStart_->time().minute()};
    form_.playStop = ClockTime{playStop_->time().hour(), playStop_->time().minute()};
    form_.restrictUpdate = restrictUpdate_->isChecked();
    form_.updateStart = ClockTime{updateStart_->time().hour(), updateStart_->time().minute()};
    form_.updateStop = ClockTime{updateStop_->time().hour(), updateStop_->time().minute()};
    form_.username = ToText(username_->text());
    form_.passwordBox = ToText(password_->text());  // the flag is kept by the box's events
    form_.phone = ToText(phone_->text());
    form_.videoRandom = shuffle_[0]->isChecked();
    form_.videoAltRandom = shuffle_[1]->isChecked();
    form_.audioARandom = shuffle_[2]->isChecked();
    form_.audioBRandom = shuffle_[3]->isChecked();
}

void UnitEditorDialog::Refresh() {
    const UnitFormEnables enables = UnitFormEnabling(form_);
    playStart_->setEnabled(enables.playPickers);
    playStop_->setEnabled(enables.playPickers);
    updateStart_->setEnabled(enables.updatePickers);
    updateStop_->setEnabled(enables.updatePickers);
}

void UnitEditorDialog::Pick(Swatch swatch) {
    Store();
    if (PickSwatchColour(form_, swatch, chooser_, IdOf(this))) {
        textSwatch_->Fill(form_.textColour);
        backgroundSwatch_->Fill(form_.backgroundColour);
    }
    textSwatch_->update();
    backgroundSwatch_->update();
}

UnitForm UnitEditorDialog::Form() {
    Store();
    return form_;
}

}  // namespace vantic

#include "moc_qt_unit_editor.cpp"
