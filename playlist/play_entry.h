#pragma once

// PlayEntry: one line of a playlist or instruction file. A clip of channel
// 0-3 (what plays and when), or a setting of kind 4 (one key and its value).

#include <array>
#include <string>
#include <string_view>

namespace vantic {

// Channels 0-3 are the clip kinds; kind 4 marks a setting entry.
inline constexpr int kChannelCount = 4;
inline constexpr int kSettingKind = 4;
inline constexpr int kEntryListCount = 5;

inline constexpr std::array<std::string_view, kChannelCount> ChannelNames{"Video", "Video - Alt",
                                                                          "Audio A", "Audio B"};

// Indexed by PlayEntry::audio.
inline constexpr int kAudioNone = 0;
inline constexpr int kAudioA = 1;
inline constexpr int kAudioB = 2;
inline constexpr std::array<std::string_view, 3> AudioNames{"None", "A", "B"};

enum class ScheduleMode : int {
    Loop = 0,     // plays in turn, all the time
    PerHour = 1,  // scheduleValue times per hour, 1-60
    AtTime = 2,   // once a day at minute scheduleValue, 0-1439
};

struct PlayEntry {
    int kind = 0;
    bool isSetting = false;
    std::string key;    // settings only
    std::string value;  // settings only
    bool isClip = false;
    std::string path;         // local media file
    double duration = 0;      // seconds; 0 lets the unit use the media's own length
    std::string contentName;  // 32 hex digits of the media digest, once uploaded
    std::string sizeText;
    int day = 0;  // index into DayNames
    ScheduleMode scheduleMode = ScheduleMode::Loop;
    int scheduleValue = 0;
    bool hasFirstDay = false;
    int firstMinute = 0;
    int firstHour = 0;
    int firstMonth = 0;
    int firstDay = 0;
    int firstYear = 0;
    bool hasLastDay = false;
    int lastMinute = 0;
    int lastHour = 0;
    int lastMonth = 0;
    int lastDay = 0;
    int lastYear = 0;
    bool restrictHours = false;
    int hoursFrom = 0;  // minutes of the day
    int hoursTo = 0;
    int audio = 0;  // index into AudioNames
    std::string notes;
    int workCount = 0;  // scratch for the report builder; never written to text

    bool operator==(const PlayEntry&) const = default;
};

[[nodiscard]] inline bool IsClipEntry(const PlayEntry& entry) {
    return entry.isClip && !entry.isSetting && entry.kind >= 0 && entry.kind < kChannelCount;
}

[[nodiscard]] PlayEntry NewSettingEntry(std::string_view key, std::string_view value);
// A deep copy; entries own all their texts, so this is a plain copy.
[[nodiscard]] PlayEntry CopyEntry(const PlayEntry& entry);

}  // namespace vantic
