#pragma once

// The two media exchanges. Media are known on the server by the MD5 of
// their bytes, and travel unencrypted.
//   QueryMedia (0): login with the digest; the server answers one word,
//     nonzero when it holds the file; the controller echoes the word.
//   PutMedia (7): login with the digest; the controller sends the file size,
//     the word 0 and the file's bytes; the server answers one word, which is
//     awaited (so the file is complete there) but not interpreted.
// Neither keeps the session key.

#include <cstdint>
#include <optional>
#include <string>

#include "net/md5.h"
#include "net/progress.h"
#include "net/server_access.h"
#include "net/session.h"

namespace vantic {

// The largest media file uploaded.
inline constexpr std::uint64_t kMaxMediaFileSize = 2'000'000'000;

// Whether the server holds the media with `digest`; none when the exchange
// did not complete (no connection, a failed login, a missing word), with
// why in cause when one is given.
[[nodiscard]] std::optional<bool> MediaOnServer(const ServerAccess& access, const Md5Digest& digest,
                                                std::string* cause = nullptr);

// Streams the file at `path` in 4096-byte pieces, each sent under `limit`.
// `report` hears (0, size) before the first piece and (sent, size) after
// each; true from it cancels. True when every byte was sent.
[[nodiscard]] bool SendFile(const Socket& socket, const std::string& path, milliseconds limit,
                            const ByteProgress& report = {});

// One PutMedia exchange for the file at `path`, whose digest is `digest`:
// the size word and the word 0, the file under the media body limit, then
// the reply word. False on any failure, including a file above
// kMaxMediaFileSize (the caller tells the operator) and a cancel. Why it
// failed goes to cause when one is given (nothing for a cancel).
[[nodiscard]] bool PutMediaFile(const ServerAccess& access, const Md5Digest& digest,
                                const std::string& path, const ByteProgress& report = {},
                                std::string* cause = nullptr);

}  // namespace vantic
