#pragma once

// Which files count as media, and what the controller works out about a
// media file by itself: its size as display text and, for still images,
// how long to show it. Playing times are left to the units.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/file_dialog.h"
#include "playlist/play_entry.h"

namespace vantic {

// Compared ignoring case.
inline constexpr std::array<std::string_view, 18> MediaExtensions{
    ".mpg", ".mp3", ".mp4", ".avi", ".asf", ".qt",  ".mov", ".wav",  ".wma",
    ".wmv", ".ra",  ".rm",  ".fli", ".flc", ".m2v", ".jpg", ".jpeg", ".vob"};

// Seconds a still image shows unless the operator says otherwise.
inline constexpr double kStillImageSeconds = 10;

[[nodiscard]] bool IsMediaFile(std::string_view path);
// ".jpg" or ".jpeg", ignoring case.
[[nodiscard]] bool IsStillImage(std::string_view path);

// "9 MB" above 10,000,000 bytes, "4882 KB" above 10,000, else the bare count.
// Units are 1,048,576 and 1,024 bytes, fractions dropped.
[[nodiscard]] std::string FormatSize(std::uint64_t bytes);

// A new clip of channel for the file: shown 10 seconds when a still image,
// else for the media's own length; every day, in a loop, without a window
// or first and last day; audio A (B on channel 3). A file that cannot be
// measured gets size 0. None for a channel outside 0-3.
[[nodiscard]] std::optional<PlayEntry> NewClipForFile(const std::string& path, int channel);

// The dialog that picks a media file, starting at initialPath.
[[nodiscard]] FileDialogRequest MediaFileRequest(WindowId owner, std::string initialPath);

}  // namespace vantic
