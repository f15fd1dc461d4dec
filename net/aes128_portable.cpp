// Table-driven AES-128 (FIPS-197): four 1 KiB round tables per direction,
// computed at compile time from the field arithmetic rather than pasted in.

#include <array>
#include <bit>
#include <cstring>

#include "net/aes128_internal.h"

namespace vantic::aes_detail {
namespace {

using Table = std::array<std::uint32_t, 256>;
using ByteTable = std::array<std::uint8_t, 256>;

constexpr std::uint8_t Xtime(std::uint8_t x) {
    return static_cast<std::uint8_t>((x << 1) ^ ((x & 0x80) != 0 ? 0x1b : 0));
}

constexpr std::uint8_t Multiply(std::uint8_t a, std::uint8_t b) {
    std::uint8_t product = 0;
    for (; b != 0; b >>= 1) {
        if ((b & 1) != 0) {
            product ^= a;
        }
        a = Xtime(a);
    }
    return product;
}

constexpr std::uint8_t Rotl8(std::uint8_t x, int n) {
    return static_cast<std::uint8_t>((x << n) | (x >> (8 - n)));
}

constexpr std::uint32_t Ror32(std::uint32_t x, int n) {
    return std::rotr(x, n);
}

constexpr std::uint32_t Word(std::uint8_t b0, std::uint8_t b1, std::uint8_t b2, std::uint8_t b3) {
    return (std::uint32_t{b0} << 24) | (std::uint32_t{b1} << 16) | (std::uint32_t{b2} << 8) | b3;
}

struct Tables {
    ByteTable sbox{};
    ByteTable inverseSbox{};
    std::array<Table, 4> encrypt{};  // SubBytes + MixColumns, one table per byte position
    std::array<Table, 4> decrypt{};  // InvSubBytes + InvMixColumns, likewise
};

// The S-box is the multiplicative inverse in GF(2^8) followed by the affine
// map; inverses come from powers of the generator 3.
constexpr ByteTable MakeSbox() {
    ByteTable power{};
    ByteTable log{};
    std::uint8_t x = 1;
    for (int i = 0; i < 255; ++i) {
        power[i] = x;
        log[x] = static_cast<std::uint8_t>(i);
        x = Multiply(x, 3);
    }
    ByteTable sbox{};
    for (int a = 0; a < 256; ++a) {
        std::uint8_t inverse = a == 0 ? 0 : power[(255 - log[a]) % 255];
        sbox[a] = inverse ^ Rotl8(inverse, 1) ^ Rotl8(inverse, 2) ^ Rotl8(inverse, 3) ^
                  Rotl8(inverse, 4) ^ 0x63;
    }
    return sbox;
}

constexpr Tables MakeTables() {
    Tables t;
    t.sbox = MakeSbox();
    for (int a = 0; a < 256; ++a) {
        t.inverseSbox[t.sbox[a]] = static_cast<std::uint8_t>(a);
    }
    for (int a = 0; a < 256; ++a) {
        std::uint8_t s = t.sbox[a];
        std::uint8_t si = t.inverseSbox[a];
        std::uint32_t e = Word(Multiply(s, 2), s, s, Multiply(s, 3));
        std::uint32_t d =
            Word(Multiply(si, 14), Multiply(si, 9), Multiply(si, 13), Multiply(si, 11));
        for (int column = 0; column < 4; ++column) {
            t.encrypt[column][a] = Ror32(e, 8 * column);
            t.decrypt[column][a] = Ror32(d, 8 * column);
        }
    }
    return t;
}

constexpr Tables kTables = MakeTables();
constexpr auto& kTe0 = kTables.encrypt[0];
constexpr auto& kTe1 = kTables.encrypt[1];
constexpr auto& kTe2 = kTables.encrypt[2];
constexpr auto& kTe3 = kTables.encrypt[3];
constexpr auto& kTd0 = kTables.decrypt[0];
constexpr auto& kTd1 = kTables.decrypt[1];
constexpr auto& kTd2 = kTables.decrypt[2];
constexpr auto& kTd3 = kTables.decrypt[3];

static_assert(kTables.sbox[0x00] == 0x63 && kTables.sbox[0x53] == 0xed);

inline std::uint32_t LoadBe32(const std::uint8_t* p) {
    return Word(p[0], p[1], p[2], p[3]);
}

inline void StoreBe32(std::uint8_t* p, std::uint32_t w) {
    p[0] = static_cast<std::uint8_t>(w >> 24);
    p[1] = static_cast<std::uint8_t>(w >> 16);
    p[2] = static_cast<std::uint8_t>(w >> 8);
    p[3] = static_cast<std::uint8_t>(w);
}

inline std::uint32_t B(std::uint32_t w, int shift) {
    return (w >> shift) & 0xff;
}

std::uint32_t SubWord(std::uint32_t w) {
    const auto& s = kTables.sbox;
    return Word(s[B(w, 24)], s[B(w, 16)], s[B(w, 8)], s[B(w, 0)]);
}

std::uint32_t InvMixColumn(std::uint32_t w) {
    // The decryption tables apply InvSubBytes first; undo it with the S-box.
    const auto& s = kTables.sbox;
    return kTd0[s[B(w, 24)]] ^ kTd1[s[B(w, 16)]] ^ kTd2[s[B(w, 8)]] ^ kTd3[s[B(w, 0)]];
}

void EncryptBlock(const std::uint32_t* rk, const std::uint8_t* in, std::uint8_t* out) {
    std::uint32_t s0 = LoadBe32(in) ^ rk[0];
    std::uint32_t s1 = LoadBe32(in + 4) ^ rk[1];
    std::uint32_t s2 = LoadBe32(in + 8) ^ rk[2];
    std::uint32_t s3 = LoadBe32(in + 12) ^ rk[3];
    for (int round = 1; round < 10; ++round) {
        rk += 4;
        std::uint32_t t0 = kTe0[B(s0, 24)] ^ kTe1[B(s1, 16)] ^ kTe2[B(s2, 8)] ^ kTe3[B(s3, 0)];
        std::uint32_t t1 = kTe0[B(s1, 24)] ^ kTe1[B(s2, 16)] ^ kTe2[B(s3, 8)] ^ kTe3[B(s0, 0)];
        std::uint32_t t2 = kTe0[B(s2, 24)] ^ kTe1[B(s3, 16)] ^ kTe2[B(s0, 8)] ^ kTe3[B(s1, 0)];
        std::uint32_t t3 = kTe0[B(s3, 24)] ^ kTe1[B(s0, 16)] ^ kTe2[B(s1, 8)] ^ kTe3[B(s2, 0)];
        s0 = t0 ^ rk[0];
        s1 = t1 ^ rk[1];
        s2 = t2 ^ rk[2];
        s3 = t3 ^ rk[3];
    }
    rk += 4;
    const auto& s = kTables.sbox;
    StoreBe32(out, Word(s[B(s0, 24)], s[B(s1, 16)], s[B(s2, 8)], s[B(s3, 0)]) ^ rk[0]);
    StoreBe32(out + 4, Word(s[B(s1, 24)], s[B(s2, 16)], s[B(s3, 8)], s[B(s0, 0)]) ^ rk[1]);
    StoreBe32(out + 8, Word(s[B(s2, 24)], s[B(s3, 16)], s[B(s0, 8)], s[B(s1, 0)]) ^ rk[2]);
    StoreBe32(out + 12, Word(s[B(s3, 24)], s[B(s0, 16)], s[B(s1, 8)], s[B(s2, 0)]) ^ rk[3]);
}

void DecryptBlock(const std::uint32_t* rk, const std::uint8_t* in, std::uint8_t* out) {
    std::uint32_t s0 = LoadBe32(in) ^ rk[0];
    std::uint32_t s1 = LoadBe32(in + 4) ^ rk[1];
    std::uint32_t s2 = LoadBe32(in + 8) ^ rk[2];
    std::uint32_t s3 = LoadBe32(in + 12) ^ rk[3];
    for (int round = 1; round < 10; ++round) {
        rk += 4;
        std::uint32_t t0 = kTd0[B(s0, 24)] ^ kTd1[B(s3, 16)] ^ kTd2[B(s2, 8)] ^ kTd3[B(s1, 0)];
        std::uint32_t t1 = kTd0[B(s1, 24)] ^ kTd1[B(s0, 16)] ^ kTd2[B(s3, 8)] ^ kTd3[B(s2, 0)];
        std::uint32_t t2 = kTd0[B(s2, 24)] ^ kTd1[B(s1, 16)] ^ kTd2[B(s0, 8)] ^ kTd3[B(s3, 0)];
        std::uint32_t t3 = kTd0[B(s3, 24)] ^ kTd1[B(s2, 16)] ^ kTd2[B(s1, 8)] ^ kTd3[B(s0, 0)];
        s0 = t0 ^ rk[0];
        s1 = t1 ^ rk[1];
        s2 = t2 ^ rk[2];
        s3 = t3 ^ rk[3];
    }
    rk += 4;
    const auto& si = kTables.inverseSbox;
    StoreBe32(out, Word(si[B(s0, 24)], si[B(s3, 16)], si[B(s2, 8)], si[B(s1, 0)]) ^ rk[0]);
    StoreBe32(out + 4, Word(si[B(s1, 24)], si[B(s0, 16)], si[B(s3, 8)], si[B(s2, 0)]) ^ rk[1]);
    StoreBe32(out + 8, Word(si[B(s2, 24)], si[B(s1, 16)], si[B(s0, 8)], si[B(s3, 0)]) ^ rk[2]);
    StoreBe32(out + 12, Word(si[B(s3, 24)], si[B(s2, 16)], si[B(s1, 8)], si[B(s0, 0)]) ^ rk[3]);
}

void XorBlock(std::uint8_t* target, const std::uint8_t* source) {
    for (std::size_t i = 0; i < kAesBlockSize; ++i) {
        target[i] ^= source[i];
    }
}

}  // namespace

void PortableExpandEncryptKey(const std::uint8_t key[16], AesRoundKeys& out) {
    std::uint32_t* w = out.words;
    for (int i = 0; i < 4; ++i) {
        w[i] = LoadBe32(key + 4 * i);
    }
    std::uint8_t rcon = 1;
    for (int i = 4; i < 44; ++i) {
        std::uint32_t temp = w[i - 1];
        if (i % 4 == 0) {
            temp = SubWord(Ror32(temp, 24)) ^ (std::uint32_t{rcon} << 24);
            rcon = Xtime(rcon);
        }
        w[i] = w[i - 4] ^ temp;
    }
}

void PortableExpandDecryptKey(const std::uint8_t key[16], AesRoundKeys& out) {
    AesRoundKeys forward;
    PortableExpandEncryptKey(key, forward);
    // Round keys in reverse order, the inner ones through InvMixColumns.
    for (int round = 0; round <= 10; ++round) {
        for (int j = 0; j < 4; ++j) {
            std::uint32_t w = forward.words[4 * (10 - round) + j];
            out.words[4 * round + j] = (round == 0 || round == 10) ? w : InvMixColumn(w);
        }
    }
}

void PortableCbcEncrypt(const AesRoundKeys& keys, std::uint8_t chain[16], const std::uint8_t* in,
                        std::uint8_t* out, std::size_t blocks) {
    for (std::size_t i = 0; i < blocks; ++i, in += 16, out += 16) {
        XorBlock(chain, in);
        EncryptBlock(keys.words, chain, chain);
        std::memcpy(out, chain, 16);
    }
}

void PortableCbcDecrypt(const AesRoundKeys& keys, std::uint8_t chain[16], const std::uint8_t* in,
                        std::uint8_t* out, std::size_t blocks) {
    std::uint8_t cipher[16];
    for (std::size_t i = 0; i < blocks; ++i, in += 16, out += 16) {
        std::memcpy(cipher, in, 16);  // `out` may be `in`
        DecryptBlock(keys.words, cipher, out);
        XorBlock(out, chain);
        std::memcpy(chain, cipher, 16);
    }
}

}  // namespace vantic::aes_detail
