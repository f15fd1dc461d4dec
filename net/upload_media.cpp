#include "net/upload_media.h"

#include <algorithm>
#include <limits>
#include <optional>

#include "core/cpstring.h"
#include "net/hex.h"
#include "net/md5.h"
#include "net/media_exchange.h"

namespace vantic {
namespace {

constexpr std::size_t kContentNameLength = 32;
// The longest status line the dialog shows, in characters.
constexpr std::size_t kStatusLineMax = 519;

std::string StatusLine(const char* format, const std::string& path) {
    char line[kStatusLineMax + 1];
    FormatInto(line, sizeof line, format, std::string(FileNameOf(path)).c_str());
    return line;
}

// The digest of the clip's file, which refreshes its content name; the
// content name's digest when the file cannot be read or the operator
// cancels; none when neither is there.
std::optional<Md5Digest> DigestOfClip(const std::string& path, std::string& contentName,
                                      OperationProgress* progress, const UploadMediaHooks& hooks) {
    ByteProgress report;
    if (progress != nullptr) {
        report = [progress](std::uint64_t done, std::uint64_t total) {
            return ReportItemBytes(*progress, done, total);
        };
    }
    std::optional<Md5Digest> digest =
        hooks.digest ? hooks.digest(path, report) : Md5File(path, report);
    if (digest) {
        contentName = HexEncode(*digest);
    } else {
        digest = DigestOfContentName(contentName);
    }
    if (digest && progress != nullptr) {
        progress->FinishItem();
    }
    return digest;
}

void WarnTooLarge(MessageBoxes& messages, OperationProgress* progress) {
    Message warning;
    warning.owner = progress != nullptr ? progress->Dialog() : kNoWindow;
    warning.text =
        FormatNew("The maximum file size is %lu", static_cast<unsigned long>(kMaxMediaFileSize));
    warning.caption = "Warning: Cannot upload file";
    warning.icon = MessageIcon::Warning;
    messages.Show(warning);
}

// The upload connection. The dialog's item starts with the first report,
// which comes once the login and the size words are through, just before
// the first byte of the file; its start time is the rate's reference.
bool PutClipFile(const ServerAccess& access, const Md5Digest& digest, const std::string& path,
                 OperationProgress* progress, std::string* cause) {
    if (progress == nullptr) {
        return PutMediaFile(access, digest, path, {}, cause);
    }
    bool started = false;
    auto report = [&](std::uint64_t done, std::uint64_t total) {
        if (!started) {
            started = true;
            progress->StartTransferItem(100);
            progress->SetLine(ProgressLine::Status, StatusLine("Uploading %s", path));
        }
        return ReportItemBytes(*progress, done, total);
    };
    if (!PutMediaFile(access, digest, path, report, cause)) {
        return false;
    }
    progress->FinishItem();
    return true;
}

}  // namespace

std::optional<Md5Digest> DigestOfContentName(std::string_view contentName) {
    if (contentName.size() != kContentNameLength ||
        contentName.find_first_not_of("0123456789abcdefABCDEF") != std::string_view::npos) {
        return std::nullopt;
    }
    const Bytes bytes = HexDecode(contentName);
    Md5Digest digest{};
    std::copy_n(bytes.begin(), digest.size(), digest.begin());
    return digest;
}

// The digest of a file beyond 32 bits (which the server may hold already)
// stops its bar short of the end.
bool ReportItemBytes(OperationProgress& progress, std::uint64_t done, std::uint64_t total) {
    constexpr std::uint64_t kMax = std::numeric_limits<std::uint32_t>::max();
    return progress.SetItem(static_cast<std::uint32_t>(std::min(done, kMax)),
                            static_cast<std::uint32_t>(std::min(total, kMax)));
}

bool UploadMedia(const ServerAccess& access, MessageBoxes& messages, const std::string& path,
                 std::string& contentName, OperationProgress* progress,
                 const UploadMediaHooks& hooks, std::string* cause) {
    constexpr const char* kUnreadable = "The file could not be read";
    if (progress != nullptr) {
        progress->StartItem(100);
        progress->SetLine(ProgressLine::Status, StatusLine("Processing %s", path));
    }
    std::optional<Md5Digest> digest = DigestOfClip(path, contentName, progress, hooks);
    if (!digest) {
        if (cause != nullptr && !(progress != nullptr && progress->Cancelled())) {
            *cause = kUnreadable;
        }
        return false;
    }
    std::optional<bool> held = MediaOnServer(access, *digest, cause);
    if (held == std::optional<bool>(true)) {
        return true;  // nothing to send, even when the local file is gone
    }
    // A cancel during the digest still asks the server, whose answer may
    // spare the upload; beyond that, a cancelled operation sends nothing
    // and shows nothing.
    if (!held || (progress != nullptr && progress->Cancelled())) {
        return false;
    }
    // The server only ever turns away what it would have to receive: a file
    // above the limit that it holds already was accepted above.
    const std::optional<std::uint64_t> size = FileSize(path);
    if (!size) {
        if (cause != nullptr) {
            *cause = kUnreadable;
        }
        return false;
    }
    if (*size > kMaxMediaFileSize) {
        WarnTooLarge(messages, progress);
        return false;
    }
    if (hooks.sending) {
        hooks.sending();
    }
    if (!PutClipFile(access, *digest, path, progress, cause)) {
        return false;
    }
    if (hooks.sent) {
        hooks.sent(*size);
    }
    return true;
}

}  // namespace vantic
