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

namespace vantic::server {

inline constexpr std::uint16_t kDefaultPort = 12322;
inline constexpr std::size_t kNonceSize = 16;
inline constexpr std::size_t kLoginRecordSize = 108;
inline constexpr std::size_t kLoginBlockSize = 129;
inline constexpr std::size_t kMaxCipherSize = 128;
inline constexpr std::size_t kCredentialFieldSize = 24;
inline constexpr std::size_t kPieceSize = 4096;
// The largest download body a controller accepts; stored payloads are kept
// small enough that their envelope never exceeds it.
inline constexpr std::uint32_t kMaxEnvelopeSize = 20000000;
// The largest media file a controller uploads.
inline constexpr std::uint32_t kMaxMediaSize = 2000000000;
// The download length word that means "nothing stored".
inline constexpr std::uint32_t kAbsentLength = 0xFFFFFFFFu;

enum class Command : std::int32_t {
    QueryMedia = 0,
    GetInstructionFile = 2,
    GetPlaylistInfo = 3,
    GetRuntimeReport = 4,
    GetTimingInfo = 5,
    GetUnitInfo = 6,
    PutMedia = 7,
    PutInstructionFile = 8,
    GetUnitList = 17,
    GetOwnerMap = 18,
    PutOwnerMap = 19,
};

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
