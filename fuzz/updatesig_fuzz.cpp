// Any bytes as an update signature file: a file of fuzzed bytes is checked
// without harm, a genuine file verifies whatever follows it, and the fuzzed
// bytes laid over a genuine file make it verify only when they change none
// of its digest, length or signature bytes.
//
// The genuine file is signed once: signing every input would spend the run
// on the private-key operation instead of on the reader.

#include <algorithm>

#include "fuzz/fuzz_check.h"
#include "net/rsa.h"
#include "net/update_signature.h"

namespace {

struct Genuine {
    vantic::RsaPublicKey key;
    vantic::Bytes file;
};

const Genuine& GenuineFile() {
    static const Genuine genuine = [] {
        const vantic::RsaPrivateKey key = *vantic::GenerateRsaKey(1024);
        const std::string program = "an update program";
        const vantic::ByteView bytes(reinterpret_cast<const std::uint8_t*>(program.data()),
                                     program.size());
        return Genuine{key.Public(), *vantic::SignUpdateProgram(bytes, key)};
    }();
    return genuine;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace vantic;
    const Genuine& genuine = GenuineFile();
    const ByteView bytes(data, size);
    (void)VerifyUpdateSignature(bytes, genuine.key);

    // One of the two genuine-file checks per input, by its length: each
    // costs a key operation, and mutations reach both.
    if (size % 2 == 0) {
        Bytes trailing = genuine.file;
        trailing.insert(trailing.end(), bytes.begin(), bytes.end());
        FUZZ_CHECK(VerifyUpdateSignature(trailing, genuine.key));
        return 0;
    }
    Bytes changed = genuine.file;
    const std::size_t overlap = std::min(size, changed.size());
    bool anyChange = false;
    for (std::size_t i = 0; i < overlap; ++i) {
        changed[i] ^= data[i];
        anyChange = anyChange || data[i] != 0;
    }
    FUZZ_CHECK(VerifyUpdateSignature(changed, genuine.key) == !anyChange);
    return 0;
}
