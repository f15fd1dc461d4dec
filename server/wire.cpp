#include "server/wire.h"

#include <algorithm>
#include <cstring>

namespace vantic::server {

namespace {

constexpr std::size_t kCommandOffset = 0;
constexpr std::size_t kUnitOffset = 4;
constexpr std::size_t kReservedOffset = 8;
constexpr std::size_t kDigestOffset = 12;
constexpr std::size_t kLoginOffset = 28;
constexpr std::size_t kPasswordOffset = 52;
constexpr std::size_t kNonceOffset = 76;
constexpr std::size_t kSessionKeyOffset = 92;

// A NUL-terminated text in a fixed field; nothing when the NUL is missing.
std::optional<std::string> FieldText(std::span<const std::uint8_t> field) {
    auto end = std::find(field.begin(), field.end(), std::uint8_t{0});
    if (end == field.end()) {
        return std::nullopt;
    }
    return std::string(field.begin(), end);
}

}  // namespace

std::optional<Command> CommandFromCode(std::int32_t code) {
    switch (code) {
        case 0:
        case 2:
        case 3:
        case 4:
        case 5:
        case 6:
        case 7:
        case 8:
        case 17:
        case 18:
        case 19:
            return static_cast<Command>(code);
        default:
            return std::nullopt;
    }
}

std::string_view CommandName(Command command) {
    switch (command) {
        case Command::QueryMedia:
            return "QueryMedia";
        case Command::GetInstructionFile:
            return "GetInstructionFile";
        case Command::GetPlaylistInfo:
            return "GetPlaylistInfo";
        case Command::GetRuntimeReport:
            return "GetRuntimeReport";
        case Command::GetTimingInfo:
            return "GetTimingInfo";
        case Command::GetUnitInfo:
            return "GetUnitInfo";
        case Command::PutMedia:
            return "PutMedia";
        case Command::PutInstructionFile:
            return "PutInstructionFile";
        case Command::GetUnitList:
            return "GetUnitList";
        case Command::GetOwnerMap:
            return "GetOwnerMap";
        case Command::PutOwnerMap:
            return "PutOwnerMap";
    }
    return "?";
}

std::uint32_t ReadWord(const std::uint8_t* bytes) {
    return (std::uint32_t{bytes[0]} << 24) | (std::uint32_t{bytes[1]} << 16) |
           (std::uint32_t{bytes[2]} << 8) | std::uint32_t{bytes[3]};
}

void WriteWord(std::uint8_t* bytes, std::uint32_t value) {
    bytes[0] = static_cast<std::uint8_t>(value >> 24);
    bytes[1] = static_cast<std::uint8_t>(value >> 16);
    bytes[2] = static_cast<std::uint8_t>(value >> 8);
    bytes[3] = static_cast<std::uint8_t>(value);
}

std::array<std::uint8_t, 4> WordBytes(std::uint32_t value) {
    std::array<std::uint8_t, 4> bytes{};
    WriteWord(bytes.data(), value);
    return bytes;
}

std::optional<LoginRecord> ParseLoginRecord(std::span<const std::uint8_t> bytes) {
    if (bytes.size() != kLoginRecordSize) {
        return std::nullopt;
    }
    auto login = FieldText(bytes.subspan(kLoginOffset, kCredentialFieldSize));
    auto password = FieldText(bytes.subspan(kPasswordOffset, kCredentialFieldSize));
    if (!login || !password) {
        return std::nullopt;
    }
    LoginRecord record;
    record.command = static_cast<std::int32_t>(ReadWord(bytes.data() + kCommandOffset));
    record.unit = static_cast<std::int32_t>(ReadWord(bytes.data() + kUnitOffset));
    record.reserved = ReadWord(bytes.data() + kReservedOffset);
    std::memcpy(record.digest.data(), bytes.data() + kDigestOffset, record.digest.size());
    record.login = std::move(*login);
    record.password = std::move(*password);
    std::memcpy(record.nonce.data(), bytes.data() + kNonceOffset, record.nonce.size());
    std::memcpy(record.sessionKey.data(), bytes.data() + kSessionKeyOffset,
                record.sessionKey.size());
    return record;
}

std::optional<std::span<const std::uint8_t>> LoginCipherText(
    std::span<const std::uint8_t, kLoginBlockSize> block) {
    const std::size_t length = block[0];
    if (length == 0 || length > kMaxCipherSize) {
        return std::nullopt;
    }
    return std::span<const std::uint8_t>(block).subspan(1, length);
}

}  // namespace vantic::server
