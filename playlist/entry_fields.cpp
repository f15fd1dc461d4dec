#include "playlist/entry_fields.h"

#include <charconv>

#include "core/cpstring.h"
#include "playlist/leading_number.h"
#include "playlist/schedule.h"

namespace vantic {
namespace {

// Paths and notes come from the operator. A tab or line break written as it
// is would split the line and shift every later field, so it becomes a blank.
std::string FieldText(std::string_view text) {
    std::string field(text);
    for (char& c : field) {
        if (c == '\t' || c == '\r' || c == '\n') {
            c = ' ';
        }
    }
    return field;
}

// "%f" (six decimals), or "Auto" for the media's own length. Written without
// the C library so that the decimal point is "." whatever the locale.
std::string DurationText(double duration) {
    if (!(duration > 0)) {
        return "Auto";
    }
    char buffer[400];  // the largest double has 309 digits before the point
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, duration, std::chars_format::fixed, 6);
    if (result.ec != std::errc()) {
        return "Auto";
    }
    return std::string(buffer, result.ptr);
}

// An index outside the table is written as the name that reads back the same
// way an unknown name does.
std::string_view NameAt(std::span<const std::string_view> names, int index, int fallback) {
    if (index < 0 || static_cast<std::size_t>(index) >= names.size()) {
        return names[static_cast<std::size_t>(fallback)];
    }
    return names[static_cast<std::size_t>(index)];
}

// The audio channels always play their own sound, whatever the text says.
int AudioFor(int kind, std::string_view text) {
    if (kind == 2) {
        return kAudioA;
    }
    if (kind == 3) {
        return kAudioB;
    }
    return LookupName(AudioNames, text, kAudioA);
}

cpStringArray ClipToFields(const PlayEntry& clip) {
    cpStringArray fields;
    fields.AppendFormat("%d", clip.kind);
    fields.Append(FieldText(clip.path));
    fields.Append(DurationText(clip.duration));
    fields.Append(FieldText(clip.contentName));
    fields.Append(FieldText(clip.sizeText));
    fields.AppendCopy(NameAt(DayNames, clip.day, 0));
    fields.Append(FormatSchedule(clip));
    fields.Append(FormatDateTime(FirstDayOf(clip)));
    fields.Append(FormatDateTime(LastDayOf(clip)));
    fields.AppendCopy(NameAt(AudioNames, clip.audio, kAudioA));
    fields.Append(FieldText(clip.notes));
    return fields;
}

// fields holds 11 elements; each is read trimmed.
PlayEntry ClipFromFields(int kind, const cpStringArray& fields) {
    const auto field = [&fields](std::size_t i) { return TrimmedView(fields.TextAt(i)); };
    PlayEntry clip;
    clip.kind = kind;
    clip.isClip = true;
    clip.path = field(1);
    clip.duration = LeadingDouble(field(2));  // "Auto" reads as 0
    clip.contentName = field(3);
    clip.sizeText = field(4);
    clip.day = LookupName(DayNames, field(5), 0);
    if (const std::optional<PlayHours> hours = ParsePlayHours(field(6))) {
        clip.restrictHours = true;
        clip.hoursFrom = hours->from;
        clip.hoursTo = hours->to;
    }
    const Schedule schedule = ParseScheduleMode(std::string(field(6)));
    clip.scheduleMode = schedule.mode;
    clip.scheduleValue = schedule.value;
    SetFirstDay(clip, ParseDateTime(field(7), DefaultTime::Early));
    SetLastDay(clip, ParseDateTime(field(8), DefaultTime::Late));
    clip.audio = AudioFor(kind, field(9));
    clip.notes = field(10);
    return clip;
}

}  // namespace

std::optional<cpStringArray> EntryToFields(const PlayEntry& entry) {
    if (entry.kind == kSettingKind) {
        cpStringArray fields;
        fields.AppendFormat("%d", kSettingKind);
        fields.Append(FieldText(entry.key));
        fields.Append(FieldText(entry.value));
        return fields;
    }
    if (entry.kind < 0 || entry.kind >= kChannelCount) {
        return std::nullopt;
    }
    return ClipToFields(entry);
}

std::optional<PlayEntry> EntryFromFields(const cpStringArray& fields) {
    if (fields.Empty()) {
        return std::nullopt;
    }
    const std::string_view first = TrimmedView(fields.TextAt(0));
    if (first.size() != 1 || first[0] < '0' || first[0] > '4') {
        return std::nullopt;
    }
    const int kind = first[0] - '0';
    if (kind == kSettingKind) {
        if (fields.Count() != kSettingFieldCount) {
            return std::nullopt;
        }
        return NewSettingEntry(TrimmedView(fields.TextAt(1)), TrimmedView(fields.TextAt(2)));
    }
    if (fields.Count() != kClipFieldCount) {
        return std::nullopt;
    }
    return ClipFromFields(kind, fields);
}

}  // namespace vantic
