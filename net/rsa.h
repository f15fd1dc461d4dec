#pragma once

// RSA operations under keys given as plain integers (see rsa_key.h), with
// PKCS #1 v1.5 padding throughout.

#include <cstdint>
#include <optional>
#include <string>

#include "net/bytes.h"
#include "net/md5.h"
#include "net/rsa_key.h"

namespace vantic {

// Encrypts `data` under the public key. The ciphertext is as long as the
// modulus. None when the key is unusable or `data` is longer than the
// modulus less 11 bytes of padding. The padding is random, so sealing the
// same data twice gives different ciphertexts.
[[nodiscard]] std::optional<Bytes> RsaSeal(ByteView data, const RsaPublicKey& key);

// The same under the key read anew from the key file at `keyFilePath`; no
// copy of the key outlives the call.
[[nodiscard]] std::optional<Bytes> RsaSeal(ByteView data, const std::string& keyFilePath);

// Decrypts what RsaSeal produced under the matching public key. None when
// the key is unusable or the block does not decrypt to valid padding.
// Callers must still check what they get: the block's content is not
// authenticated.
[[nodiscard]] std::optional<Bytes> RsaOpen(ByteView ciphertext, const RsaPrivateKey& key);

// True when `signature` is a valid signature of `digest` (an MD5 digest-info
// block) under the public key. A signature shorter or longer than the
// modulus never verifies.
[[nodiscard]] bool RsaVerifyMd5(const Md5Digest& digest, ByteView signature,
                                const RsaPublicKey& key);

// The PKCS #1 v1.5 signature of `digest` (MD5 digest-info) under the
// private key, as long as the modulus; none when the key is unusable.
[[nodiscard]] std::optional<Bytes> RsaSignMd5(const Md5Digest& digest, const RsaPrivateKey& key);

// A new key pair with a modulus of `bits` bits.
[[nodiscard]] std::optional<RsaPrivateKey> GenerateRsaKey(int bits,
                                                          std::uint32_t publicExponent = 65537);

// The private key as PEM text (PKCS #8), for the openssl command-line tools.
[[nodiscard]] std::optional<std::string> PrivateKeyPem(const RsaPrivateKey& key);

}  // namespace vantic
