// Upload commands: read the frame (length, the word 0, the envelope), open
// the envelope under the session key, store the payload, reply one word:
// 0 when stored, 1 when not.

#include "net/envelope.h"
#include "server/entry_text.h"
#include "server/exchange.h"

namespace vantic::server {

namespace {

constexpr std::uint32_t kStoredReply = 0;
constexpr std::uint32_t kRefusedReply = 1;

// Reads a body of length bytes piece by piece, so memory grows only with
// what actually arrives.
IoResult ReceiveBody(Exchange& exchange, std::uint32_t length, Bytes& body) {
    body.clear();
    while (body.size() < length) {
        const std::size_t piece = std::min<std::size_t>(kPieceSize, length - body.size());
        const std::size_t at = body.size();
        body.resize(at + piece);
        IoResult result =
            exchange.connection.Receive(body.data() + at, piece, exchange.PieceLimit());
        if (result != IoResult::Ok) {
            return result;
        }
    }
    return IoResult::Ok;
}

// Stores an instruction file; an empty text when stored, else the reason.
std::string StoreInstructions(Exchange& exchange, std::string_view text) {
    if (exchange.login.unit <= 0) {
        return "no-unit";
    }
    const auto unit = static_cast<std::uint32_t>(exchange.login.unit);
    Store& store = exchange.context.store;
    if (!exchange.account.Sees(unit)) {
        return "not-permitted";
    }
    if (FindUnit(store.LoadUnits(), unit) == nullptr) {
        return "unknown-unit";
    }
    if (!ReadEntryLines(text)) {
        return "malformed-text";
    }
    return store.WriteUnitFile(unit, UnitFile::Instructions, text) ? "" : "store-failed";
}

std::string StoreOwners(Exchange& exchange, std::string_view text) {
    if (!exchange.account.IsAdministrator()) {
        return "not-permitted";
    }
    return exchange.context.store.WriteOwners(text) ? "" : "store-failed";
}

std::string StorePayload(Exchange& exchange, Command command, const Bytes& envelope) {
    std::optional<Bytes> payload = OpenPayload(envelope, exchange.login.sessionKey);
    if (!payload) {
        return "undecryptable";
    }
    std::string_view text(reinterpret_cast<const char*>(payload->data()), payload->size());
    return command == Command::PutInstructionFile ? StoreInstructions(exchange, text)
                                                  : StoreOwners(exchange, text);
}

}  // namespace

// Waits as a stall-reply fault says, then sends the reply word. Shared
// with the media commands.
IoResult SendReplyWord(Exchange& exchange, std::uint32_t word) {
    if (const Fault* stall = exchange.UseFault(FaultMode::StallReply)) {
        if (!exchange.connection.Pause(stall->seconds)) {
            return IoResult::Stopped;
        }
    }
    return exchange.connection.SendWord(word, exchange.PieceLimit());
}

void ServeUpload(Exchange& exchange, Command command) {
    Connection& connection = exchange.connection;
    std::uint32_t length = 0;
    std::uint32_t zero = 0;
    IoResult result = connection.ReceiveWord(length, exchange.PieceLimit());
    if (result == IoResult::Ok) {
        result = connection.ReceiveWord(zero, exchange.PieceLimit());
    }
    if (result != IoResult::Ok) {
        exchange.record.outcome = IoOutcome(result, "frame");
        return;
    }
    if (zero != 0 || length > kMaxEnvelopeSize) {
        exchange.record.outcome = "malformed-frame";
        return;
    }
    Bytes envelope;
    result = ReceiveBody(exchange, length, envelope);
    if (result != IoResult::Ok) {
        exchange.record.outcome = IoOutcome(result, "body");
        return;
    }
    if (exchange.UseFault(FaultMode::RefuseUpload)) {
        exchange.record.outcome = "refused:fault";
        return;
    }
    const std::string reason = StorePayload(exchange, command, envelope);
    result = SendReplyWord(exchange, reason.empty() ? kStoredReply : kRefusedReply);
    exchange.record.outcome = reason.empty() ? "stored" : "refused:" + reason;
    if (result != IoResult::Ok) {
        exchange.record.outcome += ":" + IoOutcome(result, "reply");
    }
}

}  // namespace vantic::server
