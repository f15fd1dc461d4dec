// The media commands. A query answers whether the store holds the digest
// of the login record and reads the controller's echo. An upload streams
// the raw file bytes into a temporary file while a second thread computes
// their MD5; the file is put in place only when the body arrived whole and
// its digest is the one the login announced. The controller does not read
// the value of the upload's reply word, only whether one came: an upload
// that is not stored therefore gets no reply at all, so the controller
// reports it failed instead of going on to name a file the store lacks.

#include <algorithm>
#include <memory>
#include <optional>
#include <span>

#include "net/hex.h"
#include "net/md5.h"
#include "server/digest_pipeline.h"
#include "server/exchange.h"

namespace vantic::server {

namespace {

constexpr std::uint32_t kHeld = 1;
constexpr std::uint32_t kNotHeld = 0;
constexpr std::uint32_t kStoredReply = 0;

// Reads size bytes into the pipeline's buffers, which digest them, and
// writes each buffer to the file, when given, while the digest runs.
IoResult StreamBody(Exchange& exchange, std::uint32_t size, DigestPipeline& digest,
                    AtomicFile* file, bool& writeFailed) {
    std::uint32_t left = size;
    while (left > 0) {
        const std::span<std::uint8_t> buffer = digest.NextBuffer();
        const std::size_t count = std::min<std::size_t>(left, buffer.size());
        IoResult result =
            exchange.connection.Receive(buffer.data(), count, exchange.context.limits.mediaSeconds);
        if (result != IoResult::Ok) {
            return result;
        }
        digest.Submit(count);
        if (file != nullptr && !writeFailed) {
            writeFailed = !file->Write(buffer.data(), count);
        }
        left -= static_cast<std::uint32_t>(count);
    }
    return IoResult::Ok;
}

// Decides what becomes of a completely received body and sets the
// outcome; true when the store holds the file now.
bool Settle(Exchange& exchange, std::unique_ptr<AtomicFile> file, bool alreadyHeld,
            bool writeFailed, const Md5Digest& received) {
    std::string& outcome = exchange.record.outcome;
    if (received != exchange.login.digest) {
        outcome = "rejected:digest-mismatch:" + HexEncode(ByteView(received));
        return false;
    }
    if (alreadyHeld) {
        outcome = "already-held";
        return true;
    }
    if (writeFailed || !file || !file->Commit(exchange.context.store.Durable())) {
        outcome = "rejected:store-failed";
        return false;
    }
    outcome = "stored";
    return true;
}

// Why a body of size may not be received now; nothing when it may. A
// slot, when one is needed, is taken into slot.
std::optional<std::string_view> UploadRefusal(Exchange& exchange, std::uint32_t size, bool stores,
                                              std::unique_ptr<UploadSlots::Held>& slot) {
    const Account& account = exchange.account;
    // Media serves units: an account that sees none has no use for it.
    if (!account.allUnits && account.units.empty()) {
        return "not-permitted";
    }
    ServerContext& context = exchange.context;
    if (context.uploads != nullptr) {
        slot = context.uploads->Take(account.login);
        if (!slot) {
            return "busy";
        }
    }
    if (stores) {
        const std::optional<std::uint64_t> free = context.store.FreeMediaBytes();
        if (free && *free < std::uint64_t{size} + context.limits.diskReserveBytes) {
            return "no-space";
        }
    }
    return std::nullopt;
}

}  // namespace

void ServeMediaQuery(Exchange& exchange) {
    const bool held = exchange.context.store.HasMedia(exchange.login.digest);
    IoResult result = SendReplyWord(exchange, held ? kHeld : kNotHeld);
    if (result != IoResult::Ok) {
        exchange.record.outcome = IoOutcome(result, "reply");
        return;
    }
    std::uint32_t echo = 0;
    result = exchange.connection.ReceiveWord(echo, exchange.PieceLimit());
    std::string outcome = held ? "held" : "not-held";
    if (result != IoResult::Ok) {
        outcome += ":no-echo";
    } else if (echo != (held ? kHeld : kNotHeld)) {
        outcome += ":bad-echo";
    }
    exchange.record.outcome = outcome;
}

void ServeMediaUpload(Exchange& exchange) {
    Connection& connection = exchange.connection;
    std::uint32_t size = 0;
    std::uint32_t zero = 0;
    IoResult result = connection.ReceiveWord(size, exchange.PieceLimit());
    if (result == IoResult::Ok) {
        result = connection.ReceiveWord(zero, exchange.PieceLimit());
    }
    if (result != IoResult::Ok) {
        exchange.record.outcome = IoOutcome(result, "frame");
        return;
    }
    if (zero != 0 || size > kMaxMediaSize) {
        exchange.record.outcome = "malformed-frame";
        return;
    }
    const bool refuse = exchange.UseFault(FaultMode::RefuseUpload) != nullptr;
    Store& store = exchange.context.store;
    const bool alreadyHeld = store.HasMedia(exchange.login.digest);
    std::unique_ptr<UploadSlots::Held> slot;
    if (std::optional<std::string_view> reason =
            UploadRefusal(exchange, size, !refuse && !alreadyHeld, slot)) {
        // Before any of the body is read; the close is the answer.
        exchange.record.outcome = "refused:" + std::string(*reason);
        return;
    }
    connection.RequireRate(exchange.context.limits.minUploadRate,
                           exchange.context.limits.uploadGraceSeconds);
    std::unique_ptr<AtomicFile> file;
    if (!refuse && !alreadyHeld) {
        file = store.BeginMedia(exchange.login.digest);
    }
    DigestPipeline digest(size);
    bool writeFailed = false;
    result = StreamBody(exchange, size, digest, file.get(), writeFailed);
    if (result != IoResult::Ok) {
        exchange.record.outcome = IoOutcome(result, "body");
        return;  // the digest stops and the partial file goes with `file`
    }
    if (refuse) {
        exchange.record.outcome = "refused:fault";
        return;
    }
    if (!Settle(exchange, std::move(file), alreadyHeld, writeFailed, digest.Finish())) {
        return;
    }
    result = SendReplyWord(exchange, kStoredReply);
    if (result != IoResult::Ok) {
        exchange.record.outcome += ':';
        exchange.record.outcome += IoOutcome(result, "reply");
    }
}

}  // namespace vantic::server
