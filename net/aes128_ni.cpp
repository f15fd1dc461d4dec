// AES-128 with the processor's AES instructions. Only these functions are
// compiled for the AES instruction set, so the rest of the build runs on any
// x86-64; callers check HardwareAesSupported() first. The output is the
// same as the portable code's, block for block.

#include "net/aes128_internal.h"

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>

#define VANTIC_AES_TARGET __attribute__((target("aes,sse4.1")))

namespace vantic::aes_detail {
namespace {

template <int Rcon>
VANTIC_AES_TARGET inline __m128i NextRoundKey(__m128i key) {
    __m128i assist = _mm_shuffle_epi32(_mm_aeskeygenassist_si128(key, Rcon), 0xff);
    key = _mm_xor_si128(key, _mm_slli_si128(key, 4));
    key = _mm_xor_si128(key, _mm_slli_si128(key, 4));
    key = _mm_xor_si128(key, _mm_slli_si128(key, 4));
    return _mm_xor_si128(key, assist);
}

VANTIC_AES_TARGET inline __m128i* Blocks(AesRoundKeys& keys) {
    return reinterpret_cast<__m128i*>(keys.words);
}

VANTIC_AES_TARGET inline const __m128i* Blocks(const AesRoundKeys& keys) {
    return reinterpret_cast<const __m128i*>(keys.words);
}

VANTIC_AES_TARGET inline __m128i Load(const std::uint8_t* p) {
    return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
}

VANTIC_AES_TARGET inline void Store(std::uint8_t* p, __m128i v) {
    _mm_storeu_si128(reinterpret_cast<__m128i*>(p), v);
}

constexpr int kParallel = 8;  // blocks in flight while decrypting

VANTIC_AES_TARGET inline void DecryptRound(__m128i (&x)[kParallel], __m128i key) {
    for (int i = 0; i < kParallel; ++i) {
        x[i] = _mm_aesdec_si128(x[i], key);
    }
}

// Decrypts eight independent blocks at once: CBC decryption has no chain
// between the block decryptions, so they overlap in the pipeline.
VANTIC_AES_TARGET inline void DecryptEight(const __m128i* k, const std::uint8_t* in,
                                           std::uint8_t* out, __m128i& chain) {
    __m128i cipher[kParallel];
    __m128i x[kParallel];
    for (int i = 0; i < kParallel; ++i) {
        cipher[i] = Load(in + 16 * i);
        x[i] = _mm_xor_si128(cipher[i], k[0]);
    }
    for (int round = 1; round < 10; ++round) {
        DecryptRound(x, k[round]);
    }
    for (int i = 0; i < kParallel; ++i) {
        x[i] = _mm_aesdeclast_si128(x[i], k[10]);
    }
    Store(out, _mm_xor_si128(x[0], chain));
    for (int i = 1; i < kParallel; ++i) {
        Store(out + 16 * i, _mm_xor_si128(x[i], cipher[i - 1]));
    }
    chain = cipher[kParallel - 1];
}

}  // namespace

bool HardwareAesSupported() {
    return __builtin_cpu_supports("aes") && __builtin_cpu_supports("sse4.1");
}

VANTIC_AES_TARGET void HardwareExpandEncryptKey(const std::uint8_t key[16], AesRoundKeys& out) {
    __m128i* k = Blocks(out);
    k[0] = Load(key);
    k[1] = NextRoundKey<0x01>(k[0]);
    k[2] = NextRoundKey<0x02>(k[1]);
    k[3] = NextRoundKey<0x04>(k[2]);
    k[4] = NextRoundKey<0x08>(k[3]);
    k[5] = NextRoundKey<0x10>(k[4]);
    k[6] = NextRoundKey<0x20>(k[5]);
    k[7] = NextRoundKey<0x40>(k[6]);
    k[8] = NextRoundKey<0x80>(k[7]);
    k[9] = NextRoundKey<0x1b>(k[8]);
    k[10] = NextRoundKey<0x36>(k[9]);
}

VANTIC_AES_TARGET void HardwareExpandDecryptKey(const std::uint8_t key[16], AesRoundKeys& out) {
    AesRoundKeys forward;
    HardwareExpandEncryptKey(key, forward);
    const __m128i* f = Blocks(forward);
    __m128i* k = Blocks(out);
    k[0] = f[10];
    for (int round = 1; round < 10; ++round) {
        k[round] = _mm_aesimc_si128(f[10 - round]);
    }
    k[10] = f[0];
}

VANTIC_AES_TARGET void HardwareCbcEncrypt(const AesRoundKeys& keys, std::uint8_t chain[16],
                                          const std::uint8_t* in, std::uint8_t* out,
                                          std::size_t blocks) {
    const __m128i* k = Blocks(keys);
    const __m128i k0 = k[0], k1 = k[1], k2 = k[2], k3 = k[3], k4 = k[4], k5 = k[5];
    const __m128i k6 = k[6], k7 = k[7], k8 = k[8], k9 = k[9], k10 = k[10];
    __m128i c = Load(chain);
    for (std::size_t i = 0; i < blocks; ++i, in += 16, out += 16) {
        // The first round key is folded into the plaintext off the chain.
        c = _mm_xor_si128(c, _mm_xor_si128(Load(in), k0));
        c = _mm_aesenc_si128(c, k1);
        c = _mm_aesenc_si128(c, k2);
        c = _mm_aesenc_si128(c, k3);
        c = _mm_aesenc_si128(c, k4);
        c = _mm_aesenc_si128(c, k5);
        c = _mm_aesenc_si128(c, k6);
        c = _mm_aesenc_si128(c, k7);
        c = _mm_aesenc_si128(c, k8);
        c = _mm_aesenc_si128(c, k9);
        c = _mm_aesenclast_si128(c, k10);
        Store(out, c);
    }
    Store(chain, c);
}

VANTIC_AES_TARGET void HardwareCbcDecrypt(const AesRoundKeys& keys, std::uint8_t chain[16],
                                          const std::uint8_t* in, std::uint8_t* out,
                                          std::size_t blocks) {
    const __m128i* k = Blocks(keys);
    __m128i previous = Load(chain);
    for (; blocks >= kParallel; blocks -= kParallel, in += 16 * kParallel, out += 16 * kParallel) {
        DecryptEight(k, in, out, previous);
    }
    for (; blocks > 0; --blocks, in += 16, out += 16) {
        __m128i cipher = Load(in);
        __m128i x = _mm_xor_si128(cipher, k[0]);
        for (int round = 1; round < 10; ++round) {
            x = _mm_aesdec_si128(x, k[round]);
        }
        Store(out, _mm_xor_si128(_mm_aesdeclast_si128(x, k[10]), previous));
        previous = cipher;
    }
    Store(chain, previous);
}

}  // namespace vantic::aes_detail

#else  // no AES instructions on this architecture

namespace vantic::aes_detail {

bool HardwareAesSupported() {
    return false;
}
void HardwareExpandEncryptKey(const std::uint8_t*, AesRoundKeys&) {}
void HardwareExpandDecryptKey(const std::uint8_t*, AesRoundKeys&) {}
void HardwareCbcEncrypt(const AesRoundKeys&, std::uint8_t*, const std::uint8_t*, std::uint8_t*,
                        std::size_t) {}
void HardwareCbcDecrypt(const AesRoundKeys&, std::uint8_t*, const std::uint8_t*, std::uint8_t*,
                        std::size_t) {}

}  // namespace vantic::aes_detail

#endif
