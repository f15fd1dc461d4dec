#pragma once

// Why an exchange with the server failed, in the operator's words, for the
// details of the message that reports it.

#include <chrono>
#include <string>
#include <string_view>

#include "net/session.h"

namespace vantic {

// Why the connect failed, from the errno it left, after at most
// connectLimit.
[[nodiscard]] std::string ConnectCause(std::string_view host, int error, milliseconds connectLimit);
// Why a step after the connect failed: one that used its whole time limit
// met a silent server; otherwise the server hung up, which right after the
// login means it refused the login.
[[nodiscard]] std::string AnswerCause(std::chrono::steady_clock::time_point started,
                                      bool firstAnswer, milliseconds limit);

}  // namespace vantic
