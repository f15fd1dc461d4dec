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

}  // namespace

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

}  // namespace vantic
