#pragma once

// The unit editor "Editing Unit": one unit's settings as a form. UnitForm
// is the form's value; the functions below are its rules. A view (Qt in the
// program, scripted in tests) shows the value, lets the operator change it,
// and says whether OK was pressed. OK turns the form into a settings change
// list for the deployment, which merges it into the unit's settings.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "framework/bitmap_surface.h"
#include "platform/clock.h"
#include "platform/colour_chooser.h"
#include "platform/window.h"
#include "playlist/clip_form.h"
#include "playlist/entry_set.h"
#include "units/unit_settings.h"

namespace vantic {

// The boxes' limits: what the operator can type.
inline constexpr std::size_t kUnitTextBoxLength = 100;
inline constexpr std::size_t kUnitNumberBoxLength = 10;
inline constexpr std::size_t kModemBoxLength = 64;
// What OK writes of a notes or location box.
inline constexpr std::size_t kUnitTextValueLength = 99;

inline constexpr std::string_view kPasswordPlaceholder = "********";
inline constexpr const char* kUnitFormTitleFormat = "Edit unit number: %s";

// The swatches' placeholders until the unit's colours are decoded.
inline constexpr std::uint32_t kTextSwatchPlaceholder = PackRgb(255, 0, 0);
inline constexpr std::uint32_t kBackgroundSwatchPlaceholder = PackRgb(0, 0, 0);

struct UnitForm {
    std::string title;

    std::string notes;                     // "Notes"
    std::array<std::string, 4> locations;  // "Location Info"

    // "Screen Crawl"
    bool crawl = false;
    std::string crawlSize;                              // "Percent of Screen"
    std::string crawlSpeed;                             // "Speed [ 1 through 10 ]"
    std::uint32_t textColour = kTextSwatchPlaceholder;  // 0x00RRGGBB
    std::uint32_t backgroundColour = kBackgroundSwatchPlaceholder;

    // "Playing Hours" and "Update Hours"
    bool restrictPlay = false;
    ClockTime playStart;
    ClockTime playStop;
    bool restrictUpdate = false;
    ClockTime updateStart;
    ClockTime updateStop;

    // "Modem Info (if using modem)"
    std::string username;
    std::string passwordBox;  // the placeholder until the operator edits it
    std::string phone;
    bool passwordChanged = false;
    std::string unitPassword;  // what the unit has; written back unless changed

    // "Shuffle Mode"
    bool videoRandom = false;
    bool videoAltRandom = false;
    bool audioARandom = false;
    bool audioBRandom = false;

    bool operator==(const UnitForm&) const = default;
};

struct UnitFormEnables {
    bool playPickers = false;
    bool updatePickers = false;
    bool operator==(const UnitFormEnables&) const = default;
};

// The form's value for a unit's settings. now gives the pickers whose
// setting is not a valid time.
[[nodiscard]] UnitForm OpenUnitForm(const UnitSettings& settings, std::string_view unitText,
                                    const LocalTime& now);
// Each pair of pickers is usable only while its "Restrict" box is ticked.
[[nodiscard]] UnitFormEnables UnitFormEnabling(const UnitForm& form);

// The password box got the focus: it empties, and the password counts as
// changed. Typing into it counts as changed too.
void OnPasswordFocus(UnitForm& form);
void OnPasswordEdited(UnitForm& form, std::string_view text);

// "PIck..." and "Pick...": the colour chooser on the swatch's colour; true
// when the operator confirmed a colour.
enum class Swatch { Text, Background };
bool PickSwatchColour(UnitForm& form, Swatch swatch, ColourChooser& chooser, WindowId owner);

// "RRGGBB" (any case; a non-hex digit counts as 0) as 0x00RRGGBB; none for
// a text shorter than six characters.
[[nodiscard]] std::optional<std::uint32_t> DecodeColour(std::string_view text);
// 0x00RRGGBB as six lower-case hex digits.
[[nodiscard]] std::string EncodeColour(std::uint32_t colour);
// "hh:mm" or "hh:mm:ss" with blanks around the fields; none unless the
// hour is 0-23 and the minute 0-59.
[[nodiscard]] std::optional<ClockTime> ParseSettingTime(std::string_view text);
// "%2.2d:%2.2d".
[[nodiscard]] std::string FormatSettingTime(const ClockTime& time);

// OK: the settings change list, in the order the unit gets the keys. A
// crawl size outside 1-50 or a speed outside 1-10 is left out, as are the
// start and stop of a window that is not restricted: the unit keeps those.
[[nodiscard]] EntryList UnitFormChanges(const UnitForm& form);

// Sets the field that shows key (any case) as if the operator had entered
// value, for callers without a window. NotAField for a key the form does
// not show; Invalid, with the form unchanged, for a value the field cannot
// take (a colour or time it cannot read, a number outside the key's range,
// a text longer than its box).
enum class FormFieldResult { Set, NotAField, Invalid };
[[nodiscard]] FormFieldResult SetUnitFormField(UnitForm& form, std::string_view key,
                                               std::string_view value);

// The unit editor on screen.
class UnitFormView {
  public:
    virtual ~UnitFormView() = default;
    // Shows the form over owner until the operator closes it; true for OK,
    // with form holding the operator's changes.
    virtual bool RunUnitEditor(WindowId owner, UnitForm& form) = 0;
};

}  // namespace vantic
