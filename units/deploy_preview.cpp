#include "units/deploy_preview.h"

#include <set>

#include "core/cpstring.h"
#include "playlist/play_entry.h"

namespace vantic {
namespace {

MediaOutlook OutlookOf(const ClipMediaFacts& clip,
                       const std::optional<std::map<std::string, bool>>& held) {
    if (!held) {
        return MediaOutlook::Unknown;
    }
    const auto answer = held->find(clip.contentName);
    if (!clip.contentName.empty() && answer != held->end() && answer->second) {
        return MediaOutlook::Held;  // even when the file is gone here
    }
    return clip.size && !clip.contentName.empty() ? MediaOutlook::Upload : MediaOutlook::Missing;
}

// The media of the clips, one per content name (a clip without one stands
// for itself), in the order the clips first name them.
std::vector<PreviewMedia> DistinctMedia(const std::vector<ClipMediaFacts>& clips,
                                        const std::optional<std::map<std::string, bool>>& held) {
    std::vector<PreviewMedia> media;
    std::set<std::string> seen;
    for (const ClipMediaFacts& clip : clips) {
        const std::string key = clip.contentName.empty() ? "\n" + clip.path : clip.contentName;
        if (seen.insert(key).second) {
            media.push_back({clip.path, clip.contentName, clip.size, OutlookOf(clip, held)});
        }
    }
    return media;
}

std::string Bytes(std::uint64_t count) {
    return std::to_string(count) + (count == 1 ? " byte" : " bytes");
}

// "4, 9" or "1, 2, ... 20 and 5 more".
std::string UnitNumbers(const std::vector<std::uint32_t>& units) {
    std::string text;
    for (std::size_t i = 0; i < units.size() && i < kPreviewListLimit; ++i) {
        text += (i == 0 ? "" : ", ") + std::to_string(units[i]);
    }
    if (units.size() > kPreviewListLimit) {
        text += " and " + std::to_string(units.size() - kPreviewListLimit) + " more";
    }
    return text;
}

// The heading line, then one indented line per media of that outlook.
void AddMediaList(std::string& text, const DeployPreview& preview, MediaOutlook outlook,
                  const std::string& heading, bool withSize, bool fullPath) {
    text += heading + "\n";
    std::size_t listed = 0;
    for (const PreviewMedia& media : preview.media) {
        if (media.outlook != outlook) {
            continue;
        }
        if (++listed > kPreviewListLimit) {
            continue;
        }
        text += "  " + (fullPath ? media.path : std::string(FileNameOf(media.path)));
        if (withSize && media.size) {
            text += " (" + Bytes(*media.size) + ")";
        }
        text += "\n";
    }
    if (listed > kPreviewListLimit) {
        text += "  and " + std::to_string(listed - kPreviewListLimit) + " more\n";
    }
}

std::string Duration(std::uint64_t seconds) {
    if (seconds <= 60) {
        return "about " + std::to_string(std::max<std::uint64_t>(seconds, 1)) + " seconds";
    }
    const std::uint64_t minutes = (seconds + 30) / 60;
    if (minutes < 120) {
        return "about " + std::to_string(minutes) + " minutes";
    }
    return "about " + std::to_string((minutes + 30) / 60) + " hours";
}

std::string TimeLine(const DeployPreview& preview) {
    if (preview.Count(MediaOutlook::Upload) == 0) {
        return "Estimated upload time: nothing to upload\n";
    }
    if (!preview.rate || preview.rate->bytesPerSecond == 0) {
        return "Estimated upload time: not known until an upload has been measured\n";
    }
    const std::optional<std::uint64_t> seconds = preview.SecondsToSend();
    if (!seconds) {
        return "Estimated upload time: not known (the last measured upload, " +
               Bytes(preview.rate->sampleBytes) + ", was too small to tell)\n";
    }
    const double kbits = static_cast<double>(preview.rate->bytesPerSecond) * 8 / 1000;
    return "Estimated upload time: " + Duration(*seconds) +
           FormatNew(" (at the last measured %.0f kbit/sec)\n", kbits);
}

}  // namespace

std::size_t DeployPreview::Count(MediaOutlook outlook) const {
    std::size_t count = 0;
    for (const PreviewMedia& item : media) {
        count += item.outlook == outlook ? 1 : 0;
    }
    return count;
}

std::uint64_t DeployPreview::BytesToSend() const {
    std::uint64_t bytes = 0;
    for (const PreviewMedia& item : media) {
        if (item.outlook == MediaOutlook::Upload && item.size) {
            bytes += *item.size;
        }
    }
    return bytes;
}

bool RateTellsFor(const UploadRate& rate, std::uint64_t bytes) {
    if (rate.bytesPerSecond == 0) {
        return false;
    }
    return rate.sampleMs >= kTellingSampleMs || bytes / kTellingScale <= rate.sampleBytes;
}

std::optional<std::uint64_t> DeployPreview::SecondsToSend() const {
    const std::uint64_t bytes = BytesToSend();
    if (!rate || !RateTellsFor(*rate, bytes)) {
        return std::nullopt;
    }
    return (bytes + rate->bytesPerSecond - 1) / rate->bytesPerSecond;
}

DeployPreview BuildDeployPreview(int channel, std::vector<std::uint32_t> units,
                                 const std::vector<ClipMediaFacts>& clips,
                                 const std::optional<std::map<std::string, bool>>& held,
                                 std::optional<UploadRate> rate) {
    DeployPreview preview;
    preview.channel = channel;
    preview.units = std::move(units);
    preview.clipCount = clips.size();
    preview.media = DistinctMedia(clips, held);
    preview.serverAsked = held.has_value();
    preview.rate = rate;
    return preview;
}

std::string DeployPreviewText(const DeployPreview& preview) {
    const bool knownChannel = preview.channel >= 0 && preview.channel < kChannelCount;
    std::string text =
        "Deployment preview: channel \"" +
        std::string(knownChannel ? ChannelNames[static_cast<std::size_t>(preview.channel)] : "?") +
        "\"\n";
    text += "Units: " + std::to_string(preview.units.size());
    text += preview.units.empty() ? "\n" : " (" + UnitNumbers(preview.units) + ")\n";
    text += "Clips: " + std::to_string(preview.clipCount);
    text += preview.clipCount == 0 ? " - the channel will be emptied on every unit\n" : "\n";
    if (preview.clipCount == 0) {
        return text;
    }
    if (!preview.serverAsked) {
        text += "Media files: " + std::to_string(preview.media.size()) + "\n";
        text += "The server could not be asked which media it holds.\n";
        return text;
    }
    AddMediaList(text, preview, MediaOutlook::Held,
                 "Media the server holds: " + std::to_string(preview.Count(MediaOutlook::Held)),
                 false, false);
    AddMediaList(text, preview, MediaOutlook::Upload,
                 "Media to upload: " + std::to_string(preview.Count(MediaOutlook::Upload)) + ", " +
                     Bytes(preview.BytesToSend()),
                 true, false);
    if (preview.Count(MediaOutlook::Missing) > 0) {
        AddMediaList(text, preview, MediaOutlook::Missing,
                     "Media that cannot be read here and the server lacks: " +
                         std::to_string(preview.Count(MediaOutlook::Missing)),
                     false, true);
    }
    return text + TimeLine(preview);
}

}  // namespace vantic
