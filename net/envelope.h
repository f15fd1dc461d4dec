#pragma once

// The payload envelope: every download and upload payload travels as one
// AES-128-CBC chain (zero IV, session key) of
//   check block | payload blocks | last payload bytes + padding | check block
// The padding is 16 - (n mod 16) bytes of that value, so a payload that
// fills its blocks gets a whole block of 16s. There is no length field.

#include <cstddef>
#include <optional>

#include "net/aes128.h"
#include "net/bytes.h"

namespace vantic {

// The block both ends know; it tells a wrong key or a damaged body from a
// good one before any payload is trusted.
inline constexpr AesBlock kEnvelopeCheckBlock = {0x3c, 0x9a, 0x51, 0xe7, 0x0d, 0x62, 0xb8, 0xf4,
                                                 0x27, 0xc1, 0x5e, 0x93, 0xa0, 0x4b, 0xd6, 0x18};

// Length of the envelope of an n-byte payload: 16 * floor(n / 16) + 48.
[[nodiscard]] constexpr std::size_t EnvelopeLength(std::size_t payloadLength) {
    return payloadLength / kAesBlockSize * kAesBlockSize + 3 * kAesBlockSize;
}

// Seals `payload` under `key` into a new buffer.
[[nodiscard]] Bytes SealPayload(ByteView payload, const AesKey& key,
                                AesCode code = AesCode::Fastest);

// Opens an envelope into a new buffer; none when its length is not a
// multiple of 16 or below 48, when either end is not the check block, or
// when the pad count is above 16. Only the pad count is examined, and a
// count of 0 removes nothing.
[[nodiscard]] std::optional<Bytes> OpenPayload(ByteView envelope, const AesKey& key,
                                               AesCode code = AesCode::Fastest);

// The same two, writing into `out` and reusing its storage, for callers
// that handle many payloads with one buffer (a fresh multi-megabyte buffer
// costs about as much in page faults as the cipher). `payload` and
// `envelope` must not overlap `out`. A failed open leaves `out` empty.
void SealPayloadInto(ByteView payload, const AesKey& key, Bytes& out,
                     AesCode code = AesCode::Fastest);
[[nodiscard]] bool OpenPayloadInto(ByteView envelope, const AesKey& key, Bytes& out,
                                   AesCode code = AesCode::Fastest);

}  // namespace vantic
