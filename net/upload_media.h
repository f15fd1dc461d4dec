#pragma once

// UploadMedia: makes sure the server holds a clip's media file. The file's
// MD5 is computed in place, the server is asked whether it holds that
// digest, and the file is streamed to it only when it does not. The clip's
// content name becomes the digest's hexadecimal text whenever the file can
// be read; when it cannot, a content name already on the clip stands in
// for it, so a clip whose media the server holds deploys without the file.
// A clip here is its file's path and its content name, whatever list it
// comes from.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "net/md5.h"
#include "net/progress.h"
#include "net/server_access.h"
#include "platform/message_box.h"
#include "platform/operation_progress.h"
#include "platform/window.h"

namespace vantic {

// The digest a clip's content name stands for: 32 hexadecimal digits, or
// none (a hand-edited name that is not a digest names no media).
[[nodiscard]] std::optional<Md5Digest> DigestOfContentName(std::string_view contentName);

// Bytes done of total on the item bar; the cancelled flag. Positions are
// 32-bit, so a file beyond that stops its bar short of the end.
bool ReportItemBytes(OperationProgress& progress, std::uint64_t done, std::uint64_t total);

// How a caller may take part in an upload: compute digests its own way
// (a cache), and hear of the file's bytes going out, to time the transfer.
struct UploadMediaHooks {
    // The file's digest, hearing the read as Md5File's progress does;
    // empty: Md5File.
    std::function<std::optional<Md5Digest>(const std::string& path, const ByteProgress& progress)>
        digest;
    // Just before the upload connection opens.
    std::function<void()> sending;
    // Once the server has the whole file: its size.
    std::function<void(std::uint64_t bytes)> sent;
};

// True when the server holds the media of the file at `path` afterwards: it held it
// already, or it has just been uploaded. `progress` is the open dialog, or
// null. The only message shown is the warning about a file above the size
// limit (owned by the dialog when there is one); the caller reports every
// other failure, except a cancel, which ends without a message.
// `contentName` is the clip's: read when the file cannot be, refreshed
// when it can. The caller makes sure the login is complete before a
// series of uploads.
// Why it failed goes to cause when one is given (nothing for a cancel).
[[nodiscard]] bool UploadMedia(const ServerAccess& access, MessageBoxes& messages,
                               const std::string& path, std::string& contentName,
                               OperationProgress* progress, const UploadMediaHooks& hooks = {},
                               std::string* cause = nullptr);

}  // namespace vantic
