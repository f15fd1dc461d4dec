#pragma once

// The deployment preview: what a channel deployment is about to do, shown
// above the typed confirmation and printed by vanticctl deploy --dry-run.
// The target units, the clips, which of their media the server holds and
// which will be uploaded, the bytes to send and, from the last measured
// upload rate, about how long that takes when that rate can tell. A plain value and its text; the
// facts it is built from are gathered by ChannelMedia (units/channel_media.h).

#include <cstddef>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace vantic {

// What becomes of one media file in the deployment.
enum class MediaOutlook {
    Held,     // the server holds it: nothing to send
    Upload,   // the server lacks it: the file is sent
    Unknown,  // the server could not be asked
    Missing,  // the file cannot be read here and the server lacks it: the deployment stops there
};

// One media file, however many clips name it.
struct PreviewMedia {
    std::string path;                   // of the first clip naming it
    std::string contentName;            // the digest's text; empty when none could be had
    std::optional<std::uint64_t> size;  // of the local file; none when it cannot be read
    MediaOutlook outlook = MediaOutlook::Unknown;
    bool operator==(const PreviewMedia&) const = default;
};

// An upload rate and the transfer it was measured on. A short transfer
// mostly times the connection's set-up, so its rate is far below the
// line's and says little about a much larger upload.
struct UploadRate {
    std::uint64_t bytesPerSecond = 0;
    std::uint64_t sampleBytes = 0;
    std::uint64_t sampleMs = 0;
    bool operator==(const UploadRate&) const = default;
};

// A transfer this long times the line rather than the set-up.
inline constexpr std::uint64_t kTellingSampleMs = 2000;
// A shorter one still tells for uploads up to this many times its size.
inline constexpr std::uint64_t kTellingScale = 10;

// Whether rate, measured as it was, can tell how long bytes take.
[[nodiscard]] bool RateTellsFor(const UploadRate& rate, std::uint64_t bytes);

struct DeployPreview {
    int channel = 0;
    std::vector<std::uint32_t> units;  // the target units, in list order
    std::size_t clipCount = 0;
    std::vector<PreviewMedia> media;  // in the order the clips first name them
    bool serverAsked = false;         // false: the server could not be asked
    std::optional<UploadRate> rate;   // the last measured upload rate

    [[nodiscard]] std::size_t Count(MediaOutlook outlook) const;
    [[nodiscard]] std::uint64_t BytesToSend() const;
    // Seconds the uploads take at the last measured rate; none before the
    // first measured upload, or when its sample is too small to tell.
    [[nodiscard]] std::optional<std::uint64_t> SecondsToSend() const;
};

// What is known of one clip's media before the deployment.
struct ClipMediaFacts {
    std::string path;
    std::string contentName;            // the file's digest, else the clip's own; may be empty
    std::optional<std::uint64_t> size;  // set when the file can be read
};

// Builds the preview. held answers the media query by content name, for
// every content name among the clips; none when the server could not be
// asked.
[[nodiscard]] DeployPreview BuildDeployPreview(
    int channel, std::vector<std::uint32_t> units, const std::vector<ClipMediaFacts>& clips,
    const std::optional<std::map<std::string, bool>>& held, std::optional<UploadRate> rate);

// Lists are cut after this many lines, then "and N more".
inline constexpr std::size_t kPreviewListLimit = 20;

// The preview as lines of text.
[[nodiscard]] std::string DeployPreviewText(const DeployPreview& preview);

}  // namespace vantic
