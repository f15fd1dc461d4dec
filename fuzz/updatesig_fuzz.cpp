// Any bytes as an update signature file, and as an update program: a file
// of fuzzed bytes is checked without harm, a program's own signature
// verifies, and the same signature with its digest changed does not.

#include "fuzz/fuzz_check.h"
#include "net/rsa.h"
#include "net/update_signature.h"

namespace {

const vantic::RsaPrivateKey& SigningKey() {
    static const vantic::RsaPrivateKey key = *vantic::GenerateRsaKey(1024);
    return key;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace vantic;
    const RsaPublicKey key = SigningKey().Public();
    const ByteView bytes(data, size);
    (void)VerifyUpdateSignature(bytes, key);

    std::optional<Bytes> signature = SignUpdateProgram(bytes, SigningKey());
    FUZZ_CHECK(signature && VerifyUpdateSignature(*signature, key));
    Bytes trailing = *signature;
    trailing.insert(trailing.end(), bytes.begin(), bytes.end());
    FUZZ_CHECK(VerifyUpdateSignature(trailing, key));
    (*signature)[size % 16] ^= 0x01;
    FUZZ_CHECK(!VerifyUpdateSignature(*signature, key));
    return 0;
}
