#include "playlist/clip_form.h"

#include <algorithm>
#include <cmath>

#include "core/cpstring.h"
#include "playlist/leading_number.h"
#include "playlist/media.h"

namespace vantic {
namespace {

constexpr int kMinutesPerDay = 24 * 60;
constexpr int kMaxPerHour = 60;

DayPicker PickerFor(const std::optional<DateTime>& day, const LocalTime& today, int hour,
                    int minute) {
    if (day) {
        return DayPicker{*day, true};
    }
    return DayPicker{DateTime{today.month, today.day, today.year, hour, minute}, false};
}

AudioChoice AudioChoiceOf(const PlayEntry& clip) {
    // Audio A and B play their own sound track: their clips' choice is fixed.
    if (clip.kind == 2) {
        return AudioChoice::A;
    }
    if (clip.kind == 3) {
        return AudioChoice::B;
    }
    switch (clip.audio) {
        case kAudioA:
            return AudioChoice::A;
        case kAudioB:
            return AudioChoice::B;
        default:
            return AudioChoice::None;
    }
}

int AudioOf(const ClipForm& form, int kind) {
    if (kind == 2) {
        return kAudioA;
    }
    if (kind == 3) {
        return kAudioB;
    }
    switch (form.audio) {
        case AudioChoice::A:
            return kAudioA;
        case AudioChoice::B:
            return kAudioB;
        case AudioChoice::None:
            break;
    }
    return kAudioNone;
}

// The box shows whole seconds; the fraction is dropped, not rounded.
std::string WholeSeconds(double seconds) {
    return FormatNew("%.0f", std::trunc(std::max(0.0, seconds)));
}

void ApplySchedule(const ClipForm& form, PlayEntry& clip) {
    switch (form.schedule) {
        case ScheduleChoice::Loop:
            clip.scheduleMode = ScheduleMode::Loop;  // the value stays for a later change back
            return;
        case ScheduleChoice::Frequency:
            clip.scheduleMode = ScheduleMode::PerHour;
            clip.scheduleValue = std::clamp(LeadingInt(form.frequencyText), 1, kMaxPerHour);
            return;
        case ScheduleChoice::Time:
            clip.scheduleMode = ScheduleMode::AtTime;
            clip.scheduleValue = std::clamp(form.time.MinuteOfDay(), 0, kMinutesPerDay - 1);
            return;
    }
}

}  // namespace

ClockTime ClockTime::FromMinuteOfDay(int minutes) {
    const int clamped = std::clamp(minutes, 0, kMinutesPerDay - 1);
    return ClockTime{clamped / 60, clamped % 60};
}

ClipForm OpenClipForm(const PlayEntry& clip, ClipFormMode mode, const LocalTime& today) {
    ClipForm form;
    form.title = mode == ClipFormMode::Add ? kAddClipTitle : kEditClipTitle;
    form.channel = clip.kind;
    form.weekDay = clip.day >= 0 && clip.day < static_cast<int>(DayNames.size()) ? clip.day : -1;
    form.audio = AudioChoiceOf(clip);

    form.frequencyText = "1";
    switch (clip.scheduleMode) {
        case ScheduleMode::Loop:
            form.schedule = ScheduleChoice::Loop;
            break;
        case ScheduleMode::PerHour:
            form.schedule = ScheduleChoice::Frequency;
            form.frequencyText = std::to_string(clip.scheduleValue);
            break;
        case ScheduleMode::AtTime:
            form.schedule = ScheduleChoice::Time;
            form.time = ClockTime::FromMinuteOfDay(clip.scheduleValue);
            break;
    }

    form.firstDay = PickerFor(FirstDayOf(clip), today, 0, 0);
    form.lastDay = PickerFor(LastDayOf(clip), today, 23, 59);

    form.restrict = clip.restrictHours;
    form.start = ClockTime::FromMinuteOfDay(clip.restrictHours ? clip.hoursFrom : 0);
    form.stop = ClockTime::FromMinuteOfDay(clip.restrictHours ? clip.hoursTo : kMinutesPerDay - 1);

    form.workingPath = clip.path;
    form.notes = clip.notes;
    form.durationText = WholeSeconds(clip.duration);
    ApplyClipFormRules(form);
    return form;
}

void ApplyClipFormRules(ClipForm& form) {
    if (form.schedule == ScheduleChoice::Time) {
        form.restrict = false;
    }
}

ClipFormEnables ClipFormEnabling(const ClipForm& form) {
    ClipFormEnables enables;
    enables.frequencyBox = form.schedule == ScheduleChoice::Frequency;
    enables.timePicker = form.schedule == ScheduleChoice::Time;
    enables.restrict = form.schedule != ScheduleChoice::Time;
    enables.startStop = form.restrict;
    enables.audioChoices = form.channel != 2 && form.channel != 3;
    enables.durationBox = IsStillImage(form.workingPath);
    return enables;
}

bool BrowseClipMedia(ClipForm& form, FileDialogs& dialogs, WindowId owner) {
    std::optional<std::string> chosen =
        dialogs.ChooseOpenFile(MediaFileRequest(owner, form.workingPath));
    if (!chosen) {
        return false;
    }
    form.workingPath = std::move(*chosen);
    ApplyClipFormRules(form);
    return true;
}

void ApplyClipFormOk(const ClipForm& form, PlayEntry& clip) {
    if (form.weekDay >= 0 && form.weekDay < static_cast<int>(DayNames.size())) {
        clip.day = form.weekDay;
    }
    clip.audio = AudioOf(form, clip.kind);
    ApplySchedule(form, clip);
    SetFirstDay(clip, form.firstDay.on ? std::optional(form.firstDay.value) : std::nullopt);
    SetLastDay(clip, form.lastDay.on ? std::optional(form.lastDay.value) : std::nullopt);

    // A clip played once at a fixed time has no window, whatever the view did.
    clip.restrictHours = form.restrict && form.schedule != ScheduleChoice::Time;
    if (clip.restrictHours) {
        clip.hoursFrom = form.start.MinuteOfDay();
        clip.hoursTo = form.stop.MinuteOfDay();
    }

    clip.path = form.workingPath;
    clip.notes = form.notes.substr(0, kNotesLength);
    if (!IsStillImage(form.workingPath)) {
        clip.duration = 0;  // the unit plays the media for its own length
        return;
    }
    const int seconds = LeadingInt(form.durationText);
    clip.duration = seconds < 1 ? kStillImageSeconds : seconds;
}

}  // namespace vantic
