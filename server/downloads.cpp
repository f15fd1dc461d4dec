// Download commands: find what is stored for the request, seal it under the
// connection's session key and send it with its reply header, then wait
// for the controller's acknowledgement word.

#include "net/envelope.h"
#include "server/exchange.h"

namespace vantic::server {

namespace {

constexpr std::uint32_t kOversizeLength = kMaxEnvelopeSize + 1;

enum class Source { Payload, Absent, Refused };

struct Answer {
    Source source = Source::Absent;
    std::string payload;
    std::string reason;  // why a request was refused
};

Answer Found(std::optional<std::string> text) {
    if (!text) {
        return Answer{};
    }
    return Answer{Source::Payload, std::move(*text), {}};
}

std::optional<UnitFile> FileOf(Command command) {
    switch (command) {
        case Command::GetInstructionFile:
            return UnitFile::Instructions;
        case Command::GetPlaylistInfo:
            return UnitFile::Playlist;
        case Command::GetRuntimeReport:
            return UnitFile::Runtime;
        case Command::GetUnitInfo:
            return UnitFile::Info;
        default:
            return std::nullopt;
    }
}

Answer UnitAnswer(Exchange& exchange, Command command) {
    if (exchange.login.unit <= 0) {
        return Answer{};
    }
    const auto unit = static_cast<std::uint32_t>(exchange.login.unit);
    if (!exchange.account.Sees(unit)) {
        return Answer{Source::Refused, {}, "not-permitted"};
    }
    const Store& store = exchange.context.store;
    if (command == Command::GetTimingInfo) {
        std::optional<TimingWords> words = store.LoadTiming(unit);
        if (!words) {
            return Answer{};
        }
        auto bytes = TimingPayload(*words);
        return Answer{Source::Payload, std::string(bytes.begin(), bytes.end()), {}};
    }
    std::optional<UnitFile> file = FileOf(command);
    return file ? Found(store.ReadUnitFile(unit, *file)) : Answer{};
}

Answer FindAnswer(Exchange& exchange, Command command) {
    const Store& store = exchange.context.store;
    switch (command) {
        case Command::GetUnitList:
            return Answer{
                Source::Payload,
                UnitListReply(store.LoadUnits(), exchange.account, store.ReadOwners().value_or("")),
                {}};
        case Command::GetOwnerMap: {
            std::optional<std::string> table = store.ReadOwners();
            return Found(table ? std::optional(OwnerTableFor(*table, exchange.account))
                               : std::nullopt);
        }
        default:
            return UnitAnswer(exchange, command);
    }
}

IoResult SendHeader(Exchange& exchange, std::uint32_t length, std::uint32_t status) {
    std::uint8_t header[8];
    WriteWord(header, length);
    WriteWord(header + 4, status);
    return exchange.connection.Send(header, sizeof header, exchange.PieceLimit());
}

void SendAbsent(Exchange& exchange) {
    IoResult result = SendHeader(exchange, kAbsentLength, 0);
    if (result != IoResult::Ok) {
        exchange.record.outcome = IoOutcome(result, "header");
        return;
    }
    std::uint32_t ack = 0;
    result = exchange.connection.ReceiveWord(ack, exchange.PieceLimit());
    exchange.record.outcome = result != IoResult::Ok ? "absent:no-ack"
                              : ack == kAbsentLength ? "absent"
                                                     : "absent:bad-ack";
}

void SendRefusal(Exchange& exchange, std::string_view reason) {
    IoResult result = SendHeader(exchange, 0, 1);
    exchange.record.outcome =
        result == IoResult::Ok ? "refused:" + std::string(reason) : IoOutcome(result, "header");
}

// A session key that is certainly not this connection's.
SessionKey OtherKey(const SessionKey& key) {
    SessionKey other = key;
    other[0] ^= 0x5A;
    return other;
}

// Sends the body, shaped by the body faults in force.
IoResult SendBody(Exchange& exchange, const Bytes& envelope) {
    Connection& connection = exchange.connection;
    const int limit = exchange.PieceLimit();
    const std::size_t half = envelope.size() / 2;
    if (exchange.UseFault(FaultMode::CutBody)) {
        IoResult result = connection.Send(envelope.data(), half, limit);
        return result == IoResult::Ok ? IoResult::Closed : result;
    }
    if (const Fault* stall = exchange.UseFault(FaultMode::StallBeforeBody)) {
        if (!connection.Pause(stall->seconds)) {
            return IoResult::Stopped;
        }
    }
    std::size_t first = 0;
    if (const Fault* stall = exchange.UseFault(FaultMode::StallDuringBody)) {
        IoResult result = connection.Send(envelope.data(), half, limit);
        if (result != IoResult::Ok) {
            return result;
        }
        if (!connection.Pause(stall->seconds)) {
            return IoResult::Stopped;
        }
        first = half;
    }
    return connection.Send(envelope.data() + first, envelope.size() - first, limit);
}

void SendPayload(Exchange& exchange, const std::string& payload) {
    const bool spoil = exchange.UseFault(FaultMode::BadEnvelope) != nullptr;
    const SessionKey key = spoil ? OtherKey(exchange.login.sessionKey) : exchange.login.sessionKey;
    const Bytes envelope = SealPayload(AsBytes(payload), key);
    if (envelope.size() > kMaxEnvelopeSize) {
        SendRefusal(exchange, "too-large");
        return;
    }
    const auto length = static_cast<std::uint32_t>(envelope.size());
    IoResult result = SendHeader(exchange, length, 0);
    if (result == IoResult::Ok) {
        result = SendBody(exchange, envelope);
    }
    if (result != IoResult::Ok) {
        exchange.record.outcome =
            exchange.record.fault.empty() ? IoOutcome(result, "body") : "body-cut";
        return;
    }
    std::uint32_t ack = 0;
    result = exchange.connection.ReceiveWord(ack, exchange.PieceLimit());
    exchange.record.outcome = result != IoResult::Ok ? "sent:no-ack"
                              : ack == length        ? "sent"
                                                     : "sent:bad-ack";
}

}  // namespace

void ServeDownload(Exchange& exchange, Command command) {
    if (exchange.UseFault(FaultMode::Absent)) {
        SendAbsent(exchange);
        return;
    }
    if (exchange.UseFault(FaultMode::Status1)) {
        SendRefusal(exchange, "fault");
        return;
    }
    if (exchange.UseFault(FaultMode::Oversize)) {
        IoResult result = SendHeader(exchange, kOversizeLength, 0);
        exchange.record.outcome = result == IoResult::Ok ? "oversize" : IoOutcome(result, "header");
        return;
    }
    Answer answer = FindAnswer(exchange, command);
    switch (answer.source) {
        case Source::Absent:
            SendAbsent(exchange);
            return;
        case Source::Refused:
            SendRefusal(exchange, answer.reason);
            return;
        case Source::Payload:
            SendPayload(exchange, answer.payload);
            return;
    }
}

}  // namespace vantic::server
