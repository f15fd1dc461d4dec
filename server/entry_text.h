#pragma once

// The server's reading of instruction-file text: one entry per line,
// tab-separated fields, 11 for a clip (channel 0-3 first) and 3 for a
// setting ("4", key, value). The server only needs the fields, not their
// meaning, to check uploads and to play the units in simulation.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vantic::server {

inline constexpr std::size_t kClipFieldCount = 11;
inline constexpr std::size_t kSettingFieldCount = 3;

// Field positions of a clip line.
enum ClipField : std::size_t {
    kKindField = 0,
    kPathField = 1,
    kDurationField = 2,
    kContentField = 3,
    kSizeField = 4,
    kDayField = 5,
    kScheduleField = 6,
    kFirstDayField = 7,
    kLastDayField = 8,
    kAudioField = 9,
    kNotesField = 10,
};

using EntryFields = std::vector<std::string>;

// The lines of an instruction text as fields, empty lines left out. Nothing
// when a line has another field count, or is a single non-empty field: a
// text a controller would refuse as a whole.
[[nodiscard]] std::optional<std::vector<EntryFields>> ReadEntryLines(std::string_view text);

// The channel 0-3 of a clip line, or -1 for settings and lines a
// controller would drop.
[[nodiscard]] int ClipChannel(const EntryFields& fields);
// True for a well-formed setting line; key and value are its fields 1, 2.
[[nodiscard]] bool IsSetting(const EntryFields& fields);

// Fields joined by tabs, lines by LF, with no line end after the last.
[[nodiscard]] std::string WriteEntryLines(const std::vector<EntryFields>& lines);

}  // namespace vantic::server
