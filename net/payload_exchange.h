#pragma once

// The two generic exchanges: a download of one encrypted payload and an
// upload of one, each on its own connection, after the login.
//
// A download answer is the body length N (0xFFFFFFFF: the server holds
// nothing for the request), a signed status word (0 or -1 go on, anything
// else refuses), then N bytes of envelope under the session key. The
// controller acknowledges an opened body with N and an empty answer with
// 0xFFFFFFFF, and sends nothing back otherwise.
//
// An upload sends the envelope length, the word 0 and the envelope, then
// waits for one reply word, whatever its value.

#include <cstdint>
#include <string>
#include <string_view>

#include "net/aes128.h"
#include "net/bytes.h"
#include "net/exchange_cause.h"
#include "net/server_access.h"
#include "net/server_command.h"
#include "platform/socket.h"

namespace vantic {

enum class FetchOutcome {
    Ok,             // the payload arrived and opened
    Absent,         // the server holds nothing for this request
    Undecryptable,  // the body arrived but did not open under the session key
    Failed,         // anything else: no connection, login, refusal, short body...
};

struct FetchResult {
    FetchOutcome outcome = FetchOutcome::Failed;
    Bytes payload;  // the opened payload; empty unless the outcome is Ok
    // Why it failed, for the operator ("No answer within 30 seconds");
    // empty when it did not.
    std::string cause = {};
    // The kind of the failure, for the status bar; None when it did not fail.
    ServerFault fault = ServerFault::None;

    [[nodiscard]] bool Ok() const { return outcome == FetchOutcome::Ok; }
    // The payload as 8-bit text, bytes unchanged.
    [[nodiscard]] std::string Text() const { return {payload.begin(), payload.end()}; }
};

// Downloads the payload of `command` for `unit` (kNoUnit when the command
// concerns no single unit). The connection is closed on every path.
[[nodiscard]] FetchResult FetchPayload(const ServerAccess& access, ServerCommand command,
                                       std::int32_t unit);

// Uploads `data` as the payload of `command` for `unit`. True when the
// server took the whole envelope and answered. The data is the call's own:
// it goes away on every path, and the plaintext is released once sealed.
[[nodiscard]] bool StorePayload(const ServerAccess& access, ServerCommand command,
                                std::int32_t unit, Bytes data);
// As above, with why it failed in cause (left alone when it did not).
[[nodiscard]] bool StorePayload(const ServerAccess& access, ServerCommand command,
                                std::int32_t unit, Bytes data, std::string& cause);
[[nodiscard]] inline bool StorePayload(const ServerAccess& access, ServerCommand command,
                                       std::int32_t unit, std::string_view text) {
    ByteView bytes = AsBytes(text);
    return StorePayload(access, command, unit, Bytes(bytes.begin(), bytes.end()));
}
[[nodiscard]] inline bool StorePayload(const ServerAccess& access, ServerCommand command,
                                       std::int32_t unit, std::string_view text,
                                       std::string& cause) {
    ByteView bytes = AsBytes(text);
    return StorePayload(access, command, unit, Bytes(bytes.begin(), bytes.end()), cause);
}

// The parts of the two exchanges that follow the login, on a connection
// whose login gave `sessionKey`.
[[nodiscard]] FetchResult ReceiveDownload(const Socket& socket, const AesKey& sessionKey,
                                          milliseconds limit = SessionLimits{}.piece);
[[nodiscard]] bool SendUpload(const Socket& socket, const AesKey& sessionKey, Bytes data,
                              milliseconds limit = SessionLimits{}.piece);

}  // namespace vantic
