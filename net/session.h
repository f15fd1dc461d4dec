#pragma once

// The server session's connection and its exact transfers. Every request
// opens one connection, carries one command and closes it; nothing is
// reused or retried. Data moves in pieces of at most 4096 bytes, each
// under its own time limit, polling every 200 ms while a piece is pending,
// so a large body may take far longer than one limit in total. No waits
// dispatch window messages, and nothing here shows a message.

#include <chrono>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

#include "net/bytes.h"
#include "net/session_limits.h"
#include "platform/socket.h"

namespace vantic {

// How long one wait for readiness lasts before the deadline is checked.
inline constexpr milliseconds kReadinessWait{200};

// Connects to the server named by `host`, "HOST" or "HOST:PORT" (the port
// defaults to ServerPort). HOST is looked up as a name and the first IPv4
// address is used; when the lookup finds nothing, it is read as a dotted
// address. The socket has keep-alive on and is non-blocking. An invalid
// socket on any failure.
[[nodiscard]] Socket OpenServerConnection(std::string_view host,
                                          milliseconds connectLimit = SessionLimits{}.connect);

// Receive or send exactly `buffer.size()` bytes; true when all moved. A
// peer that closes, a socket error, or a piece that does not complete
// within `limit` fails. Zero bytes succeed at once.
[[nodiscard]] bool RecvExact(const Socket& socket, std::span<std::uint8_t> buffer,
                             milliseconds limit);
[[nodiscard]] bool SendExact(const Socket& socket, ByteView data, milliseconds limit);

// One 32-bit word in network byte order.
[[nodiscard]] std::optional<std::uint32_t> RecvWord(const Socket& socket, milliseconds limit);
[[nodiscard]] bool SendWord(const Socket& socket, std::uint32_t value, milliseconds limit);

}  // namespace vantic
