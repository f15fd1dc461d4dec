#pragma once

// RSA keys as plain big-endian integers, and the key file that holds them.
//
// A key file ("p.key" beside a controller) is a run of unsigned integers,
// each a 4-byte big-endian byte count followed by that many bytes of
// magnitude, most significant first, in the order: modulus, public
// exponent, private exponent, first prime, second prime. A controller's
// file may stop after the public exponent; readers of the public key ignore
// whatever follows it.

#include <optional>
#include <string>
#include <string_view>

#include "net/bytes.h"

namespace vantic {

// Integers are big-endian magnitudes, most significant byte first.
struct RsaPublicKey {
    Bytes modulus;
    Bytes exponent;
};

struct RsaPrivateKey {
    Bytes modulus;
    Bytes publicExponent;
    Bytes privateExponent;
    Bytes prime1;
    Bytes prime2;

    [[nodiscard]] RsaPublicKey Public() const { return {modulus, publicExponent}; }
};

// Reads the modulus and public exponent of a key file; none when the file
// cannot be opened or ends inside either integer.
[[nodiscard]] std::optional<RsaPublicKey> LoadServerKey(const std::string& path);

// Reads all five integers of a server's key file.
[[nodiscard]] std::optional<RsaPrivateKey> LoadPrivateKeyFile(const std::string& path);

// Write a key file through a temporary file renamed into place. The private
// one is readable by its owner only, from the moment it exists.
[[nodiscard]] bool WritePublicKeyFile(const std::string& path, const RsaPublicKey& key);
[[nodiscard]] bool WritePrivateKeyFile(const std::string& path, const RsaPrivateKey& key);

inline constexpr unsigned kPrivateKeyMode = 0600;
inline constexpr unsigned kPublicKeyMode = 0644;

// Replaces path with content through a new file of a unique name beside it,
// created (O_EXCL | O_NOFOLLOW) with `mode` from the start, flushed and
// renamed over path. False, path untouched, on any failure.
[[nodiscard]] bool WriteKeyMaterial(const std::string& path, std::string_view content,
                                    unsigned mode);

}  // namespace vantic
