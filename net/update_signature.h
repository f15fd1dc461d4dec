#pragma once

// The signature file that vouches for a software update:
//   16 bytes   MD5 digest of the update program
//    1 byte    k, the signature's length
//    k bytes   PKCS #1 v1.5 signature of that digest (MD5 digest-info)
//   anything after is ignored.

#include <optional>

#include "net/bytes.h"
#include "net/rsa_key.h"

namespace vantic {

// The signature file for an update program, signed with the private half of
// the update-signing key. None when the key is unusable.
[[nodiscard]] std::optional<Bytes> SignUpdateProgram(ByteView program, const RsaPrivateKey& key);

// True when `file` is a signature file whose signature verifies under `key`.
// Files of 16 bytes or less, or whose length byte claims more bytes than
// follow, are refused without any key operation.
[[nodiscard]] bool VerifyUpdateSignature(ByteView file, const RsaPublicKey& key);

}  // namespace vantic
