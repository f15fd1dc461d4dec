#include "net/payload_exchange.h"

#include <limits>
#include <optional>

#include "net/envelope.h"
#include "net/login_block.h"
#include "net/session.h"

namespace vantic {

FetchResult FetchPayload(const ServerAccess& access, ServerCommand command, std::int32_t unit) {
    Socket socket = OpenServerConnection(access.host);
    if (!socket.Valid()) {
        return {};
    }
    std::optional<AesKey> sessionKey = SendLogin(socket, access, command, unit);
    if (!sessionKey) {
        return {};
    }
    return ReceiveDownload(socket, *sessionKey);
}

bool StorePayload(const ServerAccess& access, ServerCommand command, std::int32_t unit,
                  Bytes data) {
    Socket socket = OpenServerConnection(access.host);
    if (!socket.Valid()) {
        return false;
    }
    std::optional<AesKey> sessionKey = SendLogin(socket, access, command, unit);
    return sessionKey && SendUpload(socket, *sessionKey, std::move(data));
}

FetchResult ReceiveDownload(const Socket& socket, const AesKey& sessionKey) {
    milliseconds limit = CurrentSessionLimits().piece;
    std::optional<std::uint32_t> length = RecvWord(socket, limit);
    std::optional<std::uint32_t> status = length ? RecvWord(socket, limit) : std::nullopt;
    if (!status) {
        return {};
    }
    auto signedStatus = static_cast<std::int32_t>(*status);
    if (signedStatus != 0 && signedStatus != -1) {
        return {};
    }
    if (*length == kAbsentLength) {
        (void)SendWord(socket, kAbsentLength, limit);  // the server may already be gone
        return {FetchOutcome::Absent, {}};
    }
    if (*length > kMaxDownloadLength) {
        return {};
    }
    Bytes body(*length);
    if (!RecvExact(socket, body, limit)) {
        return {};
    }
    FetchResult result;
    if (!OpenPayloadInto(body, sessionKey, result.payload)) {
        return {FetchOutcome::Undecryptable, {}};
    }
    (void)SendWord(socket, *length, limit);  // as above: the payload is ours either way
    result.outcome = FetchOutcome::Ok;
    return result;
}

bool SendUpload(const Socket& socket, const AesKey& sessionKey, Bytes data) {
    Bytes envelope = SealPayload(data, sessionKey);
    data = Bytes();  // the plaintext is not needed past this point
    if (envelope.size() > std::numeric_limits<std::uint32_t>::max()) {
        return false;
    }
    milliseconds limit = CurrentSessionLimits().piece;
    return SendWord(socket, static_cast<std::uint32_t>(envelope.size()), limit) &&
           SendWord(socket, 0, limit) && SendExact(socket, envelope, limit) &&
           RecvWord(socket, limit).has_value();
}

}  // namespace vantic
