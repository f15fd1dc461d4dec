#pragma once

// The clip editor: the modal form that sets a clip's media file, schedule,
// play-hours window, audio, first and last day, week days, notes and, for
// still images, display time. ClipForm is the form's value; the functions
// below are its rules. A view (Qt in the program, scripted in tests) shows
// the value, lets the operator change it, and says whether OK was pressed.

#include <optional>
#include <string>

#include "platform/clock.h"
#include "platform/file_dialog.h"
#include "platform/window.h"
#include "playlist/play_entry.h"
#include "playlist/schedule.h"

namespace vantic {

enum class ClipFormMode { Add, Edit };
enum class ScheduleChoice { Loop, Frequency, Time };
enum class AudioChoice { A, B, None };

// A time picker's value.
struct ClockTime {
    int hour = 0;  // 0-23
    int minute = 0;

    [[nodiscard]] int MinuteOfDay() const { return hour * 60 + minute; }
    [[nodiscard]] static ClockTime FromMinuteOfDay(int minutes);
    bool operator==(const ClockTime&) const = default;
};

// A date-and-time picker with its on/off box.
struct DayPicker {
    DateTime value;
    bool on = false;

    bool operator==(const DayPicker&) const = default;
};

// Field limits of the form's boxes.
inline constexpr std::size_t kFrequencyBoxLength = 2;
inline constexpr std::size_t kNotesLength = 100;
inline constexpr std::size_t kDurationBoxLength = 6;

inline constexpr const char* kAddClipTitle = "Add a new media clip to this channel";
inline constexpr const char* kEditClipTitle = "Edit media clip entry";

struct ClipForm {
    std::string title;
    int channel = 0;  // the clip's channel: on 2 and 3 the audio is fixed

    // "Time Schedule"
    ScheduleChoice schedule = ScheduleChoice::Loop;
    std::string frequencyText;  // "Frequency (per hour)" box
    ClockTime time;             // "Time:" picker

    // "Playing Hours"
    bool restrict = false;
    ClockTime start;
    ClockTime stop;

    // "Audio"
    AudioChoice audio = AudioChoice::A;

    // "Day Schedule"
    DayPicker firstDay;
    DayPicker lastDay;
    int weekDay = 0;  // index into DayNames; -1 when nothing is selected
    std::string notes;

    // The media file the clip will name; Browse changes only this.
    std::string workingPath;
    std::string durationText;  // "Duration in seconds:" box

    bool operator==(const ClipForm&) const = default;
};

// Which items can be used, and whether the duration box shows at all.
struct ClipFormEnables {
    bool frequencyBox = false;
    bool timePicker = false;
    bool restrict = false;
    bool startStop = false;
    bool audioChoices = false;
    bool durationBox = false;  // shown (with its label), not just enabled

    bool operator==(const ClipFormEnables&) const = default;
};

// The form's value for clip; today gives the pickers' dates when the clip
// has no first or last day.
[[nodiscard]] ClipForm OpenClipForm(const PlayEntry& clip, ClipFormMode mode,
                                    const LocalTime& today);
// Run after every click on a schedule choice or "Restrict", and after
// Browse: a clip played at a fixed time has no play-hours window.
void ApplyClipFormRules(ClipForm& form);
[[nodiscard]] ClipFormEnables ClipFormEnabling(const ClipForm& form);
// Browse: asks for another media file; a choice becomes the working path.
// False when the dialog was cancelled.
bool BrowseClipMedia(ClipForm& form, FileDialogs& dialogs, WindowId owner);
// OK: writes the whole form into clip. Out-of-range numbers are clamped,
// never refused.
void ApplyClipFormOk(const ClipForm& form, PlayEntry& clip);

// The clip editor on screen.
class ClipFormView {
  public:
    virtual ~ClipFormView() = default;
    // Shows the form over owner until the operator closes it; true for OK,
    // with form holding the operator's changes.
    virtual bool RunClipEditor(WindowId owner, ClipForm& form) = 0;
};

}  // namespace vantic
