#pragma once

// Why an exchange with the server failed: in the operator's words, for the
// details of the message that reports it, and as a kind of fault, which
// the status bar names in a few words.

#include <chrono>
#include <string>
#include <string_view>

#include "net/session.h"

namespace vantic {

enum class ServerFault {
    None,
    ConnectionRefused,  // nothing listens at the address
    NotReachable,       // no connection for another reason (no such host, no route)
    NoAnswer,           // the server stayed silent for a whole time limit
    LoginRefused,       // it hung up at the first answer after the login
    ConnectionClosed,   // it hung up later
    Refused,            // it answered, but not with what was asked for
};

struct ExchangeFailure {
    ServerFault fault = ServerFault::None;
    std::string cause;  // "No answer within 30 seconds"
};

// Why the connect failed, from the errno it left, after at most
// connectLimit.
[[nodiscard]] ExchangeFailure ConnectFailure(std::string_view host, int error,
                                             milliseconds connectLimit);
// Why a step after the connect failed: one that used its whole time limit
// met a silent server; otherwise the server hung up, which right after the
// login means it refused the login.
[[nodiscard]] ExchangeFailure AnswerFailure(std::chrono::steady_clock::time_point started,
                                            bool firstAnswer, milliseconds limit);
// The causes alone.
[[nodiscard]] std::string ConnectCause(std::string_view host, int error, milliseconds connectLimit);
[[nodiscard]] std::string AnswerCause(std::chrono::steady_clock::time_point started,
                                      bool firstAnswer, milliseconds limit);

// Whether the fault keeps the program from the server as such, whatever it
// asked: all but a refused request.
[[nodiscard]] bool KeepsServerAway(ServerFault fault);
// The fault in a few words for the status bar, naming the server `host`
// ("HOST" or "HOST:PORT") as the connection used it: "Login refused", "No
// answer from 10.0.0.5:12322", "Connection refused by 10.0.0.5:12322".
[[nodiscard]] std::string FaultSummary(ServerFault fault, std::string_view host);

}  // namespace vantic
