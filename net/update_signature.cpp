#include "net/update_signature.h"

#include <algorithm>
#include <optional>

#include "net/md5.h"
#include "net/rsa.h"

namespace vantic {
namespace {

constexpr std::size_t kDigestSize = 16;
constexpr std::size_t kLengthOffset = 16;
constexpr std::size_t kSignatureOffset = 17;

// The public half of the update-signing key, generated at configure time
// from the key file the build names (VANTIC_UPDATE_KEY): kModulus and
// kExponent.
#include "update_signing_key.inc"

std::optional<RsaPublicKey>& KeyOverride() {
    static std::optional<RsaPublicKey> key;
    return key;
}

}  // namespace

RsaPublicKey UpdateSigningKey() {
    if (KeyOverride()) {
        return *KeyOverride();
    }
    return {Bytes(std::begin(kModulus), std::end(kModulus)),
            Bytes(std::begin(kExponent), std::end(kExponent))};
}

bool VerifyUpdateSignature(ByteView file, const RsaPublicKey& key) {
    if (file.size() <= kLengthOffset) {
        return false;
    }
    std::size_t signatureSize = file[kLengthOffset];
    if (file.size() - kSignatureOffset < signatureSize) {
        return false;
    }
    Md5Digest digest;
    std::copy_n(file.begin(), kDigestSize, digest.begin());
    return RsaVerifyMd5(digest, file.subspan(kSignatureOffset, signatureSize), key);
}

void SetUpdateSigningKeyForTesting(std::optional<RsaPublicKey> key) {
    KeyOverride() = std::move(key);
}

std::optional<Bytes> SignUpdateProgram(ByteView program, const RsaPrivateKey& key) {
    const Md5Digest digest = Md5Buffer(program);
    std::optional<Bytes> signature = RsaSignMd5(digest, key);
    if (!signature || signature->size() > 255) {
        return std::nullopt;
    }
    Bytes file(digest.begin(), digest.end());
    file.push_back(static_cast<std::uint8_t>(signature->size()));
    file.insert(file.end(), signature->begin(), signature->end());
    return file;
}

bool VerifyUpdateSignature(ByteView file) {
    return VerifyUpdateSignature(file, UpdateSigningKey());
}

}  // namespace vantic
