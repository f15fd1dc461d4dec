#pragma once

// The clip editor on Qt: a modal dialog bound to a ClipForm. The form's
// rules (enabling, the fixed-time schedule clearing "Restrict", Browse)
// come from playlist/clip_form.h; this file only moves values between the
// form and the widgets.

#include <QDateTime>
#include <QDialog>

#include "platform/file_dialog.h"
#include "playlist/clip_form.h"

class QAbstractButton;
class QCheckBox;
class QComboBox;
class QDateTimeEdit;
class QLabel;
class QLineEdit;
class QRadioButton;
class QTimeEdit;

namespace vantic {

class QtClipEditor final : public ClipFormView {
  public:
    // Browse asks dialogs for the media file.
    explicit QtClipEditor(FileDialogs& dialogs) : dialogs_(dialogs) {}
    bool RunClipEditor(WindowId owner, ClipForm& form) override;

  private:
    FileDialogs& dialogs_;
};

// The dialog itself; its widgets carry object names ("loop", "frequencyBox",
// "firstDayPicker", "duration", ...) for tests.
class ClipEditorDialog final : public QDialog {
    Q_OBJECT

  public:
    ClipEditorDialog(const ClipForm& form, FileDialogs& dialogs, QWidget* owner);
    // The form as the widgets show it now.
    [[nodiscard]] ClipForm Form();

  private:
    struct DayWidgets {
        QCheckBox* on = nullptr;
        QDateTimeEdit* picker = nullptr;
        QDateTime shown;  // what Load put there, to tell an edit from none
    };

    QWidget* BuildSchedule();
    QWidget* BuildPlayingHours();
    QWidget* BuildAudio();
    QWidget* BuildDays();
    QWidget* BuildMedia();
    DayWidgets MakeDayPicker(const char* label, const char* name);
    void Load();
    void LoadDay(DayWidgets& widgets, const DayPicker& day);
    void Store();
    void StoreDay(const DayWidgets& widgets, DayPicker& day) const;
    // After a click that the form's rules care about.
    void Recheck();
    void Refresh();
    void Browse();

    ClipForm form_;
    FileDialogs& dialogs_;

    QRadioButton* loop_ = nullptr;
    QRadioButton* frequency_ = nullptr;
    QLineEdit* frequencyBox_ = nullptr;
    QRadioButton* time_ = nullptr;
    QTimeEdit* timePicker_ = nullptr;
    QCheckBox* restrict_ = nullptr;
    QTimeEdit* start_ = nullptr;
    QTimeEdit* stop_ = nullptr;
    QRadioButton* audioA_ = nullptr;
    QRadioButton* audioB_ = nullptr;
    QRadioButton* audioNone_ = nullptr;
    DayWidgets firstDay_;
    DayWidgets lastDay_;
    QComboBox* weekDays_ = nullptr;
    QLineEdit* notes_ = nullptr;
    QLabel* fileName_ = nullptr;
    QLabel* durationLabel_ = nullptr;
    QLineEdit* duration_ = nullptr;
};

}  // namespace vantic
