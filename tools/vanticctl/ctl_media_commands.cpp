// The media subcommands: media are known on the server by the MD5 of their
// bytes, and are uploaded only when the server lacks them.

#include <optional>

#include "core/cpstring.h"
#include "net/hex.h"
#include "net/md5.h"
#include "net/media_exchange.h"
#include "tools/vanticctl/ctl_handlers.h"

namespace vantic::ctl {
namespace {

// What both commands find out first: the file's digest and whether the
// server holds it. failure is set when either cannot be had.
struct MediaStanding {
    Md5Digest digest{};
    std::string contentName;  // the digest's hexadecimal text
    bool held = false;
    std::optional<CommandOutcome> failure;
};

MediaStanding AskAbout(const Invocation& call) {
    const std::string& path = call.arguments[0];
    MediaStanding standing;
    const std::optional<Md5Digest> digest = Md5File(path);
    if (!digest) {
        standing.failure = CommandOutcome{ExitStatus::Failure, "cannot read " + path};
        return standing;
    }
    standing.digest = *digest;
    standing.contentName = HexEncode(*digest);
    const std::optional<bool> held = MediaOnServer(*call.access, *digest);
    if (!held) {
        standing.failure =
            CommandOutcome{ExitStatus::Failure, "could not ask the server at " + call.access->host};
        return standing;
    }
    standing.held = *held;
    return standing;
}

}  // namespace

CommandOutcome RunMediaQuery(const Invocation& call) {
    const MediaStanding file = AskAbout(call);
    if (file.failure) {
        return *file.failure;
    }
    call.output = file.contentName + (file.held ? "\theld\n" : "\tnot held\n");
    if (!file.held) {
        return {ExitStatus::Absent, "the server does not hold " + call.arguments[0]};
    }
    return {};
}

CommandOutcome RunMediaPut(const Invocation& call) {
    const std::string& path = call.arguments[0];
    const MediaStanding file = AskAbout(call);
    if (file.failure) {
        return *file.failure;
    }
    if (file.held) {
        call.output = file.contentName + "\talready held\n";
        return {};
    }
    std::optional<std::uint64_t> size = FileSize(path);
    if (size && *size > kMaxMediaFileSize) {
        return {ExitStatus::Failure, FormatNew("The maximum file size is %llu",
                                               static_cast<unsigned long long>(kMaxMediaFileSize))};
    }
    if (!PutMediaFile(*call.access, file.digest, path)) {
        return {ExitStatus::Failure,
                "could not upload " + path + " to the server at " + call.access->host};
    }
    call.output = file.contentName + "\tuploaded\n";
    return {};
}

}  // namespace vantic::ctl
