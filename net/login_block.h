#pragma once

// The login that opens every connection. The server greets with a 16-byte
// nonce; the controller answers with a 129-byte block: one length byte L,
// then the RSA ciphertext (PKCS #1 v1.5, server key) of the 108-byte login
// record, then zero filler up to 129 bytes when L is below 128.
//
// The login record, all words big-endian:
//   0  command       4  unit (-1: none)    8  reserved, 0
//   12 media digest (commands 0 and 7; zeros otherwise)
//   28 login name, NUL-terminated, 24 bytes
//   52 password, NUL-terminated, 24 bytes
//   76 the nonce as received
//   92 session key
// Bytes 0-91 are the login header. The session key is the first 16 bytes of
// the RSA ciphertext of the header; the padding is random, so every
// connection gets a new key, and the server reads it back from the record.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "net/aes128.h"
#include "net/md5.h"
#include "net/server_access.h"
#include "net/server_command.h"
#include "platform/socket.h"

namespace vantic {

using LoginNonce = std::array<std::uint8_t, kNonceSize>;
using LoginRecord = std::array<std::uint8_t, kLoginRecordSize>;
using LoginBlock = std::array<std::uint8_t, kLoginBlockSize>;

// True when the name and the password each fit their field (at most 23
// characters, so that the NUL fits too).
[[nodiscard]] bool LoginFieldsFit(std::string_view loginName, std::string_view password);

// The login record with a zero session key; none when a field does not fit.
[[nodiscard]] std::optional<LoginRecord> BuildLoginRecord(ServerCommand command, std::int32_t unit,
                                                          const std::optional<Md5Digest>& digest,
                                                          std::string_view loginName,
                                                          std::string_view password,
                                                          const LoginNonce& nonce);

struct SealedLogin {
    LoginBlock block{};
    AesKey sessionKey{};
};

// Derives the session key from the header's ciphertext, writes it into the
// record and seals the whole record into the login block, reading the key
// file anew for each of the two encryptions. None when the key file does
// not load, the record does not fit the key, or the ciphertext is longer
// than 128 bytes.
[[nodiscard]] std::optional<SealedLogin> SealLogin(LoginRecord record,
                                                   const std::string& keyFilePath);

// The whole login on a connected socket: checks the fields (before reading
// anything, so an overlong name leaves a connection that closes without a
// login block), receives the nonce, and sends the block, each under the
// piece limit. Returns the session key; none on any failure. The caller
// owns and closes the socket.
[[nodiscard]] std::optional<AesKey> SendLogin(const Socket& socket, const ServerAccess& access,
                                              ServerCommand command, std::int32_t unit,
                                              const std::optional<Md5Digest>& digest = {});

}  // namespace vantic
