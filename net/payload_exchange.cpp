#include "net/payload_exchange.h"

#include <cerrno>
#include <chrono>
#include <limits>
#include <optional>

#include "core/cpstring.h"
#include "net/envelope.h"
#include "net/exchange_cause.h"
#include "net/login_block.h"
#include "net/request_faults.h"
#include "net/server_address.h"
#include "net/session.h"
#include "platform/blocking_calls.h"

namespace vantic {

namespace {

using Clock = std::chrono::steady_clock;

struct LoggedIn {
    Socket socket;
    std::optional<AesKey> sessionKey;
    ExchangeFailure failure;
};

LoggedIn ConnectAndLogIn(const ServerAccess& access, ServerCommand command, std::int32_t unit) {
    LoggedIn session;
    errno = 0;
    session.socket = OpenServerConnection(access.host, access.limits.connect);
    if (!session.socket.Valid()) {
        session.failure = ConnectFailure(access.host, errno, access.limits.connect);
        return session;
    }
    const Clock::time_point started = Clock::now();
    session.sessionKey = SendLogin(session.socket, access, command, unit);
    if (!session.sessionKey) {
        session.failure = AnswerFailure(started, false, access.limits.piece);
    }
    return session;
}

FetchResult Failure(ExchangeFailure failure) {
    FetchResult result;
    result.cause = std::move(failure.cause);
    result.fault = failure.fault;
    return result;
}

FetchResult Fetch(const ServerAccess& access, ServerCommand command, std::int32_t unit) {
    LoggedIn session = ConnectAndLogIn(access, command, unit);
    if (!session.sessionKey) {
        return Failure(std::move(session.failure));
    }
    return ReceiveDownload(session.socket, *session.sessionKey, access.limits.piece);
}

bool Store(const ServerAccess& access, ServerCommand command, std::int32_t unit, Bytes data,
           ExchangeFailure& failure) {
    LoggedIn session = ConnectAndLogIn(access, command, unit);
    if (!session.sessionKey) {
        failure = std::move(session.failure);
        return false;
    }
    const Clock::time_point started = Clock::now();
    if (!SendUpload(session.socket, *session.sessionKey, std::move(data), access.limits.piece)) {
        failure = AnswerFailure(started, false, access.limits.piece);
        return false;
    }
    return true;
}

}  // namespace

// Every request runs through RunRequest: from the window, on a worker.
FetchResult FetchPayload(const ServerAccess& access, ServerCommand command, std::int32_t unit) {
    FetchResult result;
    RunRequest([&] { result = Fetch(access, command, unit); });
    NoteRequestFault(result.fault, access.host);
    return result;
}

bool StorePayload(const ServerAccess& access, ServerCommand command, std::int32_t unit, Bytes data,
                  std::string& cause) {
    bool stored = false;
    ExchangeFailure failure;
    RunRequest([&] { stored = Store(access, command, unit, std::move(data), failure); });
    if (!stored) {
        cause = std::move(failure.cause);
        NoteRequestFault(failure.fault, access.host);
    }
    return stored;
}

bool StorePayload(const ServerAccess& access, ServerCommand command, std::int32_t unit,
                  Bytes data) {
    std::string cause;
    return StorePayload(access, command, unit, std::move(data), cause);
}

FetchResult ReceiveDownload(const Socket& socket, const AesKey& sessionKey, milliseconds limit) {
    const Clock::time_point started = Clock::now();
    std::optional<std::uint32_t> length = RecvWord(socket, limit);
    if (!length) {
        return Failure(AnswerFailure(started, true, limit));
    }
    std::optional<std::uint32_t> status = RecvWord(socket, limit);
    if (!status) {
        return Failure(AnswerFailure(started, false, limit));
    }
    auto signedStatus = static_cast<std::int32_t>(*status);
    if (signedStatus != 0 && signedStatus != -1) {
        return Failure(
            {ServerFault::Refused, FormatNew("The server answered with status %d", signedStatus)});
    }
    if (*length == kAbsentLength) {
        (void)SendWord(socket, kAbsentLength, limit);  // the server may already be gone
        return {FetchOutcome::Absent, {}};
    }
    if (*length > kMaxDownloadLength) {
        return Failure({ServerFault::Refused,
                        FormatNew("The server's answer of %u bytes is too large", *length)});
    }
    Bytes body(*length);
    const Clock::time_point bodyStarted = Clock::now();
    if (!RecvExact(socket, body, limit)) {
        return Failure(AnswerFailure(bodyStarted, false, limit));
    }
    FetchResult result;
    if (!OpenPayloadInto(body, sessionKey, result.payload)) {
        return {FetchOutcome::Undecryptable,
                {},
                "The server's answer could not be decrypted",
                ServerFault::Refused};
    }
    (void)SendWord(socket, *length, limit);  // as above: the payload is ours either way
    result.outcome = FetchOutcome::Ok;
    return result;
}

bool SendUpload(const Socket& socket, const AesKey& sessionKey, Bytes data, milliseconds limit) {
    Bytes envelope = SealPayload(data, sessionKey);
    data = Bytes();  // the plaintext is not needed past this point
    if (envelope.size() > std::numeric_limits<std::uint32_t>::max()) {
        return false;
    }
    return SendWord(socket, static_cast<std::uint32_t>(envelope.size()), limit) &&
           SendWord(socket, 0, limit) && SendExact(socket, envelope, limit) &&
           RecvWord(socket, limit).has_value();
}

}  // namespace vantic
