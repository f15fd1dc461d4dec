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

struct Digested {
    Md5Digest digest{};
    std::string contentName;  // the digest's hexadecimal text
};

std::optional<Digested> DigestOf(const std::string& path) {
    std::optional<Md5Digest> digest = Md5File(path);
    if (!digest) {
        return std::nullopt;
    }
    return Digested{*digest, HexEncode(*digest)};
}

}  // namespace

CommandOutcome RunMediaQuery(const Invocation& call) {
    const std::string& path = call.arguments[0];
    std::optional<Digested> file = DigestOf(path);
    if (!file) {
        return {ExitStatus::Failure, "cannot read " + path};
    }
    std::optional<bool> held = MediaOnServer(*call.access, file->digest);
    if (!held) {
        return {ExitStatus::Failure, "could not ask the server at " + call.access->host};
    }
    call.output = file->contentName + (*held ? "\theld\n" : "\tnot held\n");
    if (!*held) {
        return {ExitStatus::Absent, "the server does not hold " + path};
    }
    return {};
}

CommandOutcome RunMediaPut(const Invocation& call) {
    const std::string& path = call.arguments[0];
    std::optional<Digested> file = DigestOf(path);
    if (!file) {
        return {ExitStatus::Failure, "cannot read " + path};
    }
    std::optional<bool> held = MediaOnServer(*call.access, file->digest);
    if (!held) {
        return {ExitStatus::Failure, "could not ask the server at " + call.access->host};
    }
    if (*held) {
        call.output = file->contentName + "\talready held\n";
        return {};
    }
    std::optional<std::uint64_t> size = FileSize(path);
    if (size && *size > kMaxMediaFileSize) {
        return {ExitStatus::Failure, FormatNew("The maximum file size is %llu",
                                               static_cast<unsigned long long>(kMaxMediaFileSize))};
    }
    if (!PutMediaFile(*call.access, file->digest, path)) {
        return {ExitStatus::Failure,
                "could not upload " + path + " to the server at " + call.access->host};
    }
    call.output = file->contentName + "\tuploaded\n";
    return {};
}

}  // namespace vantic::ctl
