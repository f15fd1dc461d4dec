#include "units/channel_media.h"

#include <algorithm>
#include <charconv>

#include "core/cpstring.h"
#include "net/hex.h"
#include "net/media_exchange.h"
#include "net/upload_media.h"
#include "platform/operation_progress.h"

namespace vantic {
namespace {

constexpr std::size_t kRateRoom = 48;
// A quicker transfer says more about the connection's set-up than about the
// line: a small file would leave a rate far off for the next large one.
constexpr std::uint32_t kMeasurableMs = 250;

// Reads a whole decimal number of text; none for anything else.
std::optional<std::uint64_t> Number(std::string_view text) {
    std::uint64_t value = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size()) {
        return std::nullopt;
    }
    return value;
}

}  // namespace

bool KeepsRate(const UploadRate& fresh, const std::optional<UploadRate>& kept) {
    if (!kept) {
        return true;
    }
    if (fresh.sampleMs < kMeasurableMs) {
        return false;
    }
    if (fresh.sampleMs >= kTellingSampleMs) {
        return true;
    }
    return kept->sampleMs < kTellingSampleMs && fresh.sampleBytes >= kept->sampleBytes;
}

ChannelMedia::ChannelMedia(RequestLogin& login, MessageBoxes& messages, Clock& clock,
                           FileService& files, std::string digestCacheFile, WReg* settings)
    : login_(login),
      messages_(messages),
      clock_(clock),
      files_(files),
      digests_(files, std::move(digestCacheFile)),
      settings_(settings) {}

MediaUploader ChannelMedia::Uploader() {
    return [this](PlayEntry& clip, OperationProgress& progress, std::string& cause) {
        auto startTick = std::make_shared<std::uint32_t>(0);
        UploadMediaHooks hooks;
        hooks.digest = [this](const std::string& path, const ByteProgress& report) {
            return digests_.Digest(path, report);
        };
        hooks.sending = [this, startTick] { *startTick = clock_.TickMs(); };
        hooks.sent = [this, startTick](std::uint64_t bytes) { RecordRate(bytes, *startTick); };
        return UploadMedia(login_.Access(), messages_, clip.path, clip.contentName, &progress,
                           hooks, &cause);
    };
}

void ChannelMedia::RecordRate(std::uint64_t bytes, std::uint32_t startTick) {
    const std::uint32_t elapsedMs = clock_.TickMs() - startTick;  // wraps as the tick does
    if (settings_ == nullptr || elapsedMs == 0 || bytes == 0) {
        return;  // too quick to measure
    }
    const UploadRate fresh{std::max<std::uint64_t>(bytes * 1000 / elapsedMs, 1), bytes, elapsedMs};
    if (!KeepsRate(fresh, LastRate())) {
        return;
    }
    (void)settings_->SetString(
        kUploadSampleKey, std::to_string(fresh.sampleBytes) + " " + std::to_string(fresh.sampleMs));
    (void)settings_->SetString(kUploadRateKey, std::to_string(fresh.bytesPerSecond));
}

bool ChannelMedia::PreviewReadsFiles(const EntryList& clips) {
    return std::any_of(clips.begin(), clips.end(),
                       [this](const PlayEntry& clip) { return digests_.WouldRead(clip.path); });
}

// A rate kept before its sample was (or with a sample that does not read)
// counts as measured on nothing: it tells for no upload.
std::optional<UploadRate> ChannelMedia::LastRate() {
    if (settings_ == nullptr) {
        return std::nullopt;
    }
    const std::optional<std::uint64_t> rate =
        Number(settings_->GetString(kUploadRateKey, kRateRoom));
    if (!rate || *rate == 0) {
        return std::nullopt;
    }
    UploadRate kept{*rate, 0, 0};
    const std::string sample = settings_->GetString(kUploadSampleKey, kRateRoom);
    const std::size_t blank = sample.find(' ');
    if (blank != std::string::npos) {
        const std::optional<std::uint64_t> bytes =
            Number(std::string_view(sample).substr(0, blank));
        const std::optional<std::uint64_t> ms = Number(std::string_view(sample).substr(blank + 1));
        if (bytes && ms) {
            kept.sampleBytes = *bytes;
            kept.sampleMs = *ms;
        }
    }
    return kept;
}

// A large file takes a while to read; the dialog shows which one and how far.
std::optional<Md5Digest> ChannelMedia::Digest(const std::string& path,
                                              OperationProgress* progress) {
    if (progress == nullptr) {
        return digests_.Digest(path);
    }
    progress->StartItem(100);
    progress->SetLine(ProgressLine::Status, "Checking " + std::string(FileNameOf(path)));
    std::optional<Md5Digest> digest =
        digests_.Digest(path, [progress](std::uint64_t done, std::uint64_t total) {
            return ReportItemBytes(*progress, done, total);
        });
    progress->FinishItem();
    progress->StepOverall();
    return digest;
}

std::optional<std::vector<ClipMediaFacts>> ChannelMedia::Facts(const EntryList& clips,
                                                               OperationProgress* progress) {
    std::vector<ClipMediaFacts> facts;
    for (const PlayEntry& clip : clips) {
        ClipMediaFacts fact{clip.path, {}, std::nullopt};
        std::optional<Md5Digest> digest = Digest(clip.path, progress);
        if (progress != nullptr && progress->Cancelled()) {
            return std::nullopt;
        }
        if (digest) {
            fact.contentName = HexEncode(*digest);
            const std::optional<FileStamp> stamp = files_.Stamp(clip.path);
            fact.size = stamp ? std::optional(stamp->size) : std::nullopt;
        } else if (const auto named = DigestOfContentName(clip.contentName)) {
            // The upload falls back on the clip's own content name too.
            fact.contentName = HexEncode(*named);
        }
        facts.push_back(std::move(fact));
    }
    return facts;
}

std::optional<std::map<std::string, bool>> ChannelMedia::AskServer(
    const std::vector<ClipMediaFacts>& facts) {
    if (!login_.EnsureLogin(kNoWindow)) {
        return std::nullopt;
    }
    const ServerAccess access = login_.Access();
    std::map<std::string, bool> held;
    for (const ClipMediaFacts& fact : facts) {
        if (fact.contentName.empty() || held.contains(fact.contentName)) {
            continue;
        }
        const std::optional<bool> answer =
            MediaOnServer(access, *DigestOfContentName(fact.contentName));
        if (!answer) {
            return std::nullopt;
        }
        held[fact.contentName] = *answer;
    }
    return held;
}

std::optional<DeployPreview> ChannelMedia::Preview(int channel, std::vector<std::uint32_t> units,
                                                   const EntryList& clips,
                                                   OperationProgress* progress) {
    const std::optional<std::vector<ClipMediaFacts>> facts = Facts(clips, progress);
    // What was read is kept, also when the operator cancelled part way; the
    // upload that follows reads only files changed since.
    digests_.Flush();
    if (!facts) {
        return std::nullopt;
    }
    return BuildDeployPreview(channel, std::move(units), *facts, AskServer(*facts), LastRate());
}

}  // namespace vantic
