#pragma once

// ChannelMedia: the media side of channel deployments. One digest cache
// serves the preview and the upload that follows it, so each file is read
// once (and a file unchanged since an earlier deployment not at all); the
// server is asked with the media query; every upload is timed, and the
// rate of the one that says most about the line (see KeepsRate) is kept in
// the settings store with the size and time it was measured on, for the
// next preview's estimate.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "framework/wreg.h"
#include "net/digest_cache.h"
#include "platform/clock.h"
#include "units/deploy_interfaces.h"
#include "units/deploy_preview.h"

namespace vantic {

// The settings key of the last measured upload rate, in bytes per second.
inline constexpr std::string_view kUploadRateKey = "Last_Upload_Rate";
// The transfer that rate was measured on: its bytes and milliseconds.
inline constexpr std::string_view kUploadSampleKey = "Last_Upload_Sample";

// Whether a freshly measured rate replaces the kept one: any rate stands in
// for none; a transfer too quick to time never replaces one; a transfer
// long enough to time the line always does (the newest figure of the line
// wins); otherwise the larger sample says more.
[[nodiscard]] bool KeepsRate(const UploadRate& fresh, const std::optional<UploadRate>& kept);

class ChannelMedia {
  public:
    // settings may be null: no rate is kept, and the preview has none.
    ChannelMedia(RequestLogin& login, MessageBoxes& messages, Clock& clock, FileService& files,
                 std::string digestCacheFile, WReg* settings);
    ChannelMedia(const ChannelMedia&) = delete;
    ChannelMedia& operator=(const ChannelMedia&) = delete;

    // UploadMedia with this cache's digests, timing the upload.
    [[nodiscard]] MediaUploader Uploader();

    // The preview of deploying clips on channel to units: each file
    // digested (through the cache), each distinct digest asked of the
    // server once, without a login form (credentials not complete yet
    // count as a server that cannot be asked). The clips stay as they are.
    // With an open progress dialog, each file read is shown on it, one
    // overall step per clip; none when the operator cancels there.
    [[nodiscard]] std::optional<DeployPreview> Preview(int channel,
                                                       std::vector<std::uint32_t> units,
                                                       const EntryList& clips,
                                                       OperationProgress* progress = nullptr);

    [[nodiscard]] std::optional<UploadRate> LastRate();

    // True when a preview of clips would read a file (one not digested
    // before, or changed since): worth a progress dialog.
    [[nodiscard]] bool PreviewReadsFiles(const EntryList& clips);

  private:
    [[nodiscard]] std::optional<std::vector<ClipMediaFacts>> Facts(const EntryList& clips,
                                                                   OperationProgress* progress);
    [[nodiscard]] std::optional<Md5Digest> Digest(const std::string& path,
                                                  OperationProgress* progress);
    [[nodiscard]] std::optional<std::map<std::string, bool>> AskServer(
        const std::vector<ClipMediaFacts>& facts);
    void RecordRate(std::uint64_t bytes, std::uint32_t startTick);

    RequestLogin& login_;
    MessageBoxes& messages_;
    Clock& clock_;
    FileService& files_;
    DigestCache digests_;
    WReg* settings_;
};

}  // namespace vantic
