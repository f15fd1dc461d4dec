#pragma once

// The fixed frames of one server connection: the greeting nonce, the login
// record sealed in the 129-byte login block, the command codes and the
// big-endian words that frame every reply and upload.

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "net/media_exchange.h"
#include "net/server_command.h"

namespace vantic::server {

// The frame sizes, limits and command codes are the controller's own.
inline constexpr std::uint16_t kDefaultPort = ServerPort;
inline constexpr std::size_t kMaxCipherSize = 128;
inline constexpr std::size_t kCredentialFieldSize = kLoginFieldSize;
// The largest download body a controller accepts; stored payloads are kept
// small enough that their envelope never exceeds it.
inline constexpr std::uint32_t kMaxEnvelopeSize = kMaxDownloadLength;
// The largest media file a controller uploads.
inline constexpr std::uint32_t kMaxMediaSize = kMaxMediaFileSize;

using Command = ServerCommand;

// The command for a code this server serves, or nothing.
[[nodiscard]] std::optional<Command> CommandFromCode(std::int32_t code);
[[nodiscard]] std::string_view CommandName(Command command);

using Digest = std::array<std::uint8_t, 16>;
using SessionKey = std::array<std::uint8_t, 16>;
using Nonce = std::array<std::uint8_t, kNonceSize>;

// The decrypted login record.
struct LoginRecord {
    std::int32_t command = 0;
    std::int32_t unit = -1;
    std::uint32_t reserved = 0;
    Digest digest{};
    std::string login;
    std::string password;
    Nonce nonce{};
    SessionKey sessionKey{};
};

// Reads the 108-byte record; nothing when its size is wrong or a name or
// password field has no terminating NUL.
[[nodiscard]] std::optional<LoginRecord> ParseLoginRecord(std::span<const std::uint8_t> bytes);

// The RSA ciphertext inside a login block: its length byte must be 1 to 128.
[[nodiscard]] std::optional<std::span<const std::uint8_t>> LoginCipherText(
    std::span<const std::uint8_t, kLoginBlockSize> block);

[[nodiscard]] std::uint32_t ReadWord(const std::uint8_t* bytes);
void WriteWord(std::uint8_t* bytes, std::uint32_t value);
[[nodiscard]] std::array<std::uint8_t, 4> WordBytes(std::uint32_t value);

}  // namespace vantic::server
