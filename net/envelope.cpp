#include "net/envelope.h"

#include <algorithm>
#include <cstring>

namespace vantic {
namespace {

constexpr std::size_t kBlock = kAesBlockSize;

// The payload's last n mod 16 bytes, padded up to a block.
AesBlock LastDataBlock(ByteView payload) {
    std::size_t whole = payload.size() / kBlock * kBlock;
    std::size_t rest = payload.size() - whole;
    AesBlock block;
    block.fill(static_cast<std::uint8_t>(kBlock - rest));
    std::copy_n(payload.data() + whole, rest, block.begin());
    return block;
}

// Decrypts the single block at `index` of the envelope on its own: in CBC
// each plaintext block depends only on its ciphertext and the one before.
AesBlock DecryptAt(Aes128CbcDecryptor& cipher, ByteView envelope, std::size_t index) {
    AesBlock previous{};
    if (index > 0) {
        std::memcpy(previous.data(), envelope.data() + (index - 1) * kBlock, kBlock);
    }
    AesBlock plain;
    cipher.Restart(previous);
    cipher.Process(envelope.data() + index * kBlock, plain.data(), 1);
    return plain;
}

// Opens into `out`, which keeps its old content on failure. Its old size is
// kept until the payload's is known, so a reused buffer is not cleared and
// refilled with zeros first.
bool OpenInto(ByteView envelope, const AesKey& key, Bytes& out, AesCode code) {
    if (envelope.size() % kBlock != 0 || envelope.size() < 3 * kBlock) {
        return false;
    }
    std::size_t blocks = envelope.size() / kBlock;
    Aes128CbcDecryptor cipher(key, {}, code);
    // Both ends and the pad count are checked before the body is decrypted,
    // so a bad envelope costs three block decryptions.
    if (DecryptAt(cipher, envelope, 0) != kEnvelopeCheckBlock ||
        DecryptAt(cipher, envelope, blocks - 1) != kEnvelopeCheckBlock) {
        return false;
    }
    AesBlock padBlock = DecryptAt(cipher, envelope, blocks - 2);
    std::size_t padCount = padBlock[kBlock - 1];
    if (padCount > kBlock) {
        return false;
    }
    // Blocks 1 .. blocks-3 are whole payload blocks; the pad block gives the
    // remaining 16 - padCount bytes.
    std::size_t bodyBlocks = blocks - 3;
    out.resize(bodyBlocks * kBlock + kBlock - padCount);
    AesBlock firstCipherBlock;
    std::memcpy(firstCipherBlock.data(), envelope.data(), kBlock);
    cipher.Restart(firstCipherBlock);
    cipher.Process(envelope.data() + kBlock, out.data(), bodyBlocks);
    std::copy_n(padBlock.begin(), kBlock - padCount, out.begin() + bodyBlocks * kBlock);
    return true;
}

}  // namespace

void SealPayloadInto(ByteView payload, const AesKey& key, Bytes& out, AesCode code) {
    std::size_t wholeBlocks = payload.size() / kBlock;
    out.resize(EnvelopeLength(payload.size()));
    Aes128CbcEncryptor cipher(key, {}, code);
    std::uint8_t* envelope = out.data();
    cipher.Process(kEnvelopeCheckBlock.data(), envelope, 1);
    cipher.Process(payload.data(), envelope + kBlock, wholeBlocks);
    AesBlock last = LastDataBlock(payload);
    cipher.Process(last.data(), envelope + (wholeBlocks + 1) * kBlock, 1);
    cipher.Process(kEnvelopeCheckBlock.data(), envelope + (wholeBlocks + 2) * kBlock, 1);
}

Bytes SealPayload(ByteView payload, const AesKey& key, AesCode code) {
    Bytes envelope;
    SealPayloadInto(payload, key, envelope, code);
    return envelope;
}

bool OpenPayloadInto(ByteView envelope, const AesKey& key, Bytes& out, AesCode code) {
    if (!OpenInto(envelope, key, out, code)) {
        out.clear();
        return false;
    }
    return true;
}

std::optional<Bytes> OpenPayload(ByteView envelope, const AesKey& key, AesCode code) {
    Bytes payload;
    if (!OpenInto(envelope, key, payload, code)) {
        return std::nullopt;
    }
    return payload;
}

}  // namespace vantic
