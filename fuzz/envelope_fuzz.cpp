// Any bytes as an envelope under a fixed key, and as a payload: opening
// never reads outside the envelope, and a sealed payload opens to itself.

#include "fuzz/fuzz_check.h"
#include "net/envelope.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace vantic;
    const AesKey key = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16};
    const ByteView bytes(data, size);
    if (const std::optional<Bytes> opened = OpenPayload(bytes, key)) {
        FUZZ_CHECK(opened->size() + kAesBlockSize * 2 <= size);
    }
    const Bytes sealed = SealPayload(bytes, key);
    FUZZ_CHECK(sealed.size() == EnvelopeLength(size));
    const std::optional<Bytes> opened = OpenPayload(sealed, key);
    FUZZ_CHECK(opened && Bytes(bytes.begin(), bytes.end()) == *opened);
    return 0;
}
