#include "units/unit_editor_form.h"

#include "core/cpconfig.h"
#include "core/cpstring.h"
#include "units/colour_pick.h"

namespace vantic {
namespace {

namespace k = unit_key;

// The most a read of the modem boxes takes; they hold fewer.
constexpr std::size_t kModemValueLength = 99;

std::string Cut(std::string_view text, std::size_t length) {
    return std::string(text.substr(0, length));
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return 0;
}

int HexByte(std::string_view text, std::size_t at) {
    return HexDigit(text[at]) * 16 + HexDigit(text[at + 1]);
}

std::optional<int> FieldNumber(std::string_view field, int maximum) {
    field = TrimmedView(field);
    if (field.empty() || field.size() > 2) {
        return std::nullopt;
    }
    int value = 0;
    for (char c : field) {
        if (c < '0' || c > '9') {
            return std::nullopt;
        }
        value = value * 10 + (c - '0');
    }
    return value <= maximum ? std::optional(value) : std::nullopt;
}

ClockTime PickerTime(const UnitSettings& settings, std::string_view key, const LocalTime& now) {
    return ParseSettingTime(settings.Value(key)).value_or(ClockTime{now.hour, now.minute});
}

std::uint32_t SwatchColour(const UnitSettings& settings, std::string_view key,
                           std::uint32_t placeholder) {
    return DecodeColour(settings.Value(key)).value_or(placeholder);
}

void AddFlag(EntryList& list, std::string_view key, bool value) {
    list.push_back(NewSettingEntry(key, SettingBoolText(value)));
}

// The box as a number: an empty or non-numeric box reads as 0.
void AddNumberInRange(EntryList& list, std::string_view key, std::string_view box,
                      long long minimum, long long maximum) {
    const long long value = LeadingInteger(box);
    if (value >= minimum && value <= maximum) {
        list.push_back(NewSettingEntry(key, std::to_string(value)));
    }
}

void AddWindow(EntryList& list, std::string_view restrictKey, bool restricted,
               std::string_view startKey, const ClockTime& start, std::string_view stopKey,
               const ClockTime& stop) {
    AddFlag(list, restrictKey, restricted);
    if (restricted) {
        list.push_back(NewSettingEntry(startKey, FormatSettingTime(start)));
        list.push_back(NewSettingEntry(stopKey, FormatSettingTime(stop)));
    }
}

}  // namespace

std::optional<std::uint32_t> DecodeColour(std::string_view text) {
    if (text.size() < 6) {
        return std::nullopt;
    }
    return PackRgb(HexByte(text, 0), HexByte(text, 2), HexByte(text, 4));
}

std::string EncodeColour(std::uint32_t colour) {
    return FormatNew("%2.2x%2.2x%2.2x", (colour >> 16) & 0xFFu, (colour >> 8) & 0xFFu,
                     colour & 0xFFu);
}

std::optional<ClockTime> ParseSettingTime(std::string_view text) {
    const cpStringArray fields = cpStringArray::SplitNew(text, ":");
    if (fields.Count() < 2 || fields.Count() > 3) {
        return std::nullopt;
    }
    const std::optional<int> hour = FieldNumber(fields.TextAt(0), 23);
    const std::optional<int> minute = FieldNumber(fields.TextAt(1), 59);
    if (!hour || !minute) {
        return std::nullopt;
    }
    return ClockTime{*hour, *minute};
}

std::string FormatSettingTime(const ClockTime& time) {
    return FormatNew("%2.2d:%2.2d", time.hour, time.minute);
}

UnitForm OpenUnitForm(const UnitSettings& settings, std::string_view unitText,
                      const LocalTime& now) {
    UnitForm form;
    form.title = FormatNew(kUnitFormTitleFormat, std::string(unitText).c_str());
    form.notes = Cut(settings.Value(k::kNotes), kUnitTextBoxLength);
    const std::array<std::string_view, 4> locationKeys{k::kLocation1, k::kLocation2, k::kLocation3,
                                                       k::kLocation4};
    for (std::size_t i = 0; i < locationKeys.size(); ++i) {
        form.locations[i] = Cut(settings.Value(locationKeys[i]), kUnitTextBoxLength);
    }
    form.crawlSize = Cut(settings.Value(k::kCrawlSize), kUnitNumberBoxLength);
    form.crawlSpeed = Cut(settings.Value(k::kCrawlSpeed), kUnitNumberBoxLength);
    form.phone = Cut(settings.Value(k::kPhone), kModemBoxLength);
    form.username = Cut(settings.Value(k::kUsername), kModemBoxLength);

    form.videoRandom = settings.Flag(k::kVideoRandom);
    form.videoAltRandom = settings.Flag(k::kVideoAltRandom);
    form.audioARandom = settings.Flag(k::kAudioARandom);
    form.audioBRandom = settings.Flag(k::kAudioBRandom);
    form.crawl = settings.Flag(k::kCrawl);

    form.textColour = SwatchColour(settings, k::kCrawlForeground, kTextSwatchPlaceholder);
    form.backgroundColour =
        SwatchColour(settings, k::kCrawlBackground, kBackgroundSwatchPlaceholder);

    // The real password is never shown; the box only tells that there is one.
    form.unitPassword = settings.Value(k::kPassword);
    form.passwordBox = form.unitPassword.empty() ? "" : std::string(kPasswordPlaceholder);
    form.passwordChanged = false;

    form.restrictPlay = settings.Flag(k::kRestrictedPlay);
    form.restrictUpdate = settings.Flag(k::kRestrictedUpdate);
    form.playStart = PickerTime(settings, k::kRestrictedPlayStart, now);
    form.playStop = PickerTime(settings, k::kRestrictedPlayStop, now);
    form.updateStart = PickerTime(settings, k::kRestrictedUpdateStart, now);
    form.updateStop = PickerTime(settings, k::kRestrictedUpdateStop, now);
    return form;
}

UnitFormEnables UnitFormEnabling(const UnitForm& form) {
    return UnitFormEnables{form.restrictPlay, form.restrictUpdate};
}

void OnPasswordFocus(UnitForm& form) {
    form.passwordBox.clear();
    form.passwordChanged = true;
}

void OnPasswordEdited(UnitForm& form, std::string_view text) {
    form.passwordBox = Cut(text, kModemBoxLength);
    form.passwordChanged = true;
}

bool PickSwatchColour(UnitForm& form, Swatch swatch, ColourChooser& chooser, WindowId owner) {
    std::uint32_t& colour = swatch == Swatch::Text ? form.textColour : form.backgroundColour;
    return PickColour(chooser, owner, colour);
}

EntryList UnitFormChanges(const UnitForm& form) {
    EntryList list;
    list.reserve(23);
    list.push_back(NewSettingEntry(k::kNotes, Cut(form.notes, kUnitTextValueLength)));
    const std::array<std::string_view, 4> locationKeys{k::kLocation1, k::kLocation2, k::kLocation3,
                                                       k::kLocation4};
    for (std::size_t i = 0; i < locationKeys.size(); ++i) {
        list.push_back(
            NewSettingEntry(locationKeys[i], Cut(form.locations[i], kUnitTextValueLength)));
    }
    AddFlag(list, k::kVideoRandom, form.videoRandom);
    AddFlag(list, k::kVideoAltRandom, form.videoAltRandom);
    AddFlag(list, k::kAudioARandom, form.audioARandom);
    AddFlag(list, k::kAudioBRandom, form.audioBRandom);
    AddFlag(list, k::kCrawl, form.crawl);
    AddNumberInRange(list, k::kCrawlSize, form.crawlSize, 1, 50);
    AddNumberInRange(list, k::kCrawlSpeed, form.crawlSpeed, 1, 10);
    list.push_back(NewSettingEntry(k::kCrawlForeground, EncodeColour(form.textColour)));
    list.push_back(NewSettingEntry(k::kCrawlBackground, EncodeColour(form.backgroundColour)));
    list.push_back(NewSettingEntry(k::kPhone, Cut(form.phone, kModemValueLength)));
    list.push_back(NewSettingEntry(k::kUsername, Cut(form.username, kModemValueLength)));
    list.push_back(NewSettingEntry(k::kPassword, form.passwordChanged
                                                     ? Cut(form.passwordBox, kModemValueLength)
                                                     : form.unitPassword));
    AddWindow(list, k::kRestrictedPlay, form.restrictPlay, k::kRestrictedPlayStart, form.playStart,
              k::kRestrictedPlayStop, form.playStop);
    AddWindow(list, k::kRestrictedUpdate, form.restrictUpdate, k::kRestrictedUpdateStart,
              form.updateStart, k::kRestrictedUpdateStop, form.updateStop);
    return list;
}

namespace {

FormFieldResult SetText(std::string& field, std::string_view value, std::size_t boxLength) {
    if (value.size() > boxLength) {
        return FormFieldResult::Invalid;
    }
    field = std::string(value);
    return FormFieldResult::Set;
}

FormFieldResult SetNumber(std::string& field, const SettingKey& row, std::string_view value) {
    const std::string_view digits = TrimmedView(value);
    const bool allDigits =
        !digits.empty() && digits.find_first_not_of("0123456789") == std::string_view::npos;
    const long long number = LeadingInteger(digits);
    if (!allDigits || number < row.minimum || number > row.maximum) {
        return FormFieldResult::Invalid;
    }
    field = std::string(digits);
    return FormFieldResult::Set;
}

FormFieldResult SetColour(std::uint32_t& field, std::string_view value) {
    const std::optional<std::uint32_t> colour = DecodeColour(value);
    if (!colour || value.size() != 6 ||
        value.find_first_not_of("0123456789abcdefABCDEF") != std::string_view::npos) {
        return FormFieldResult::Invalid;
    }
    field = *colour;
    return FormFieldResult::Set;
}

FormFieldResult SetTime(ClockTime& field, std::string_view value) {
    const std::optional<ClockTime> time = ParseSettingTime(value);
    if (!time) {
        return FormFieldResult::Invalid;
    }
    field = *time;
    return FormFieldResult::Set;
}

FormFieldResult SetFlag(bool& field, std::string_view value) {
    field = SettingBool(value);
    return FormFieldResult::Set;
}

FormFieldResult SetPassword(UnitForm& form, std::string_view value) {
    if (value.size() > kModemBoxLength) {
        return FormFieldResult::Invalid;
    }
    OnPasswordEdited(form, value);
    return FormFieldResult::Set;
}

using FieldSetter = FormFieldResult (*)(UnitForm&, const SettingKey&, std::string_view);
struct FormField {
    std::string_view key;
    FieldSetter set;
};

using F = UnitForm;
using V = std::string_view;
using R = const SettingKey&;
const FormField kFormFields[] = {
    {k::kNotes, [](F& f, R, V v) { return SetText(f.notes, v, kUnitTextBoxLength); }},
    {k::kLocation1, [](F& f, R, V v) { return SetText(f.locations[0], v, kUnitTextBoxLength); }},
    {k::kLocation2, [](F& f, R, V v) { return SetText(f.locations[1], v, kUnitTextBoxLength); }},
    {k::kLocation3, [](F& f, R, V v) { return SetText(f.locations[2], v, kUnitTextBoxLength); }},
    {k::kLocation4, [](F& f, R, V v) { return SetText(f.locations[3], v, kUnitTextBoxLength); }},
    {k::kVideoRandom, [](F& f, R, V v) { return SetFlag(f.videoRandom, v); }},
    {k::kVideoAltRandom, [](F& f, R, V v) { return SetFlag(f.videoAltRandom, v); }},
    {k::kAudioARandom, [](F& f, R, V v) { return SetFlag(f.audioARandom, v); }},
    {k::kAudioBRandom, [](F& f, R, V v) { return SetFlag(f.audioBRandom, v); }},
    {k::kCrawl, [](F& f, R, V v) { return SetFlag(f.crawl, v); }},
    {k::kCrawlSize, [](F& f, R r, V v) { return SetNumber(f.crawlSize, r, v); }},
    {k::kCrawlSpeed, [](F& f, R r, V v) { return SetNumber(f.crawlSpeed, r, v); }},
    {k::kCrawlForeground, [](F& f, R, V v) { return SetColour(f.textColour, v); }},
    {k::kCrawlBackground, [](F& f, R, V v) { return SetColour(f.backgroundColour, v); }},
    {k::kPhone, [](F& f, R, V v) { return SetText(f.phone, v, kModemBoxLength); }},
    {k::kUsername, [](F& f, R, V v) { return SetText(f.username, v, kModemBoxLength); }},
    {k::kPassword, [](F& f, R, V v) { return SetPassword(f, v); }},
    {k::kRestrictedPlay, [](F& f, R, V v) { return SetFlag(f.restrictPlay, v); }},
    {k::kRestrictedPlayStart, [](F& f, R, V v) { return SetTime(f.playStart, v); }},
    {k::kRestrictedPlayStop, [](F& f, R, V v) { return SetTime(f.playStop, v); }},
    {k::kRestrictedUpdate, [](F& f, R, V v) { return SetFlag(f.restrictUpdate, v); }},
    {k::kRestrictedUpdateStart, [](F& f, R, V v) { return SetTime(f.updateStart, v); }},
    {k::kRestrictedUpdateStop, [](F& f, R, V v) { return SetTime(f.updateStop, v); }},
};

}  // namespace

FormFieldResult SetUnitFormField(UnitForm& form, std::string_view key, std::string_view value) {
    const SettingKey* row = FindSettingKey(key);
    if (row == nullptr) {
        return FormFieldResult::NotAField;
    }
    for (const FormField& field : kFormFields) {
        if (field.key == row->key) {
            return field.set(form, *row, value);
        }
    }
    return FormFieldResult::NotAField;
}

}  // namespace vantic
