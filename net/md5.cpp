#include "net/md5.h"

#include <algorithm>
#include <bit>
#include <cstring>

namespace vantic {
namespace {

inline std::uint32_t LoadLe32(const std::uint8_t* p) {
    if constexpr (std::endian::native == std::endian::little) {
        std::uint32_t word;
        std::memcpy(&word, p, 4);
        return word;
    }
    return std::uint32_t{p[0]} | (std::uint32_t{p[1]} << 8) | (std::uint32_t{p[2]} << 16) |
           (std::uint32_t{p[3]} << 24);
}

inline void StoreLe32(std::uint8_t* p, std::uint32_t word) {
    for (int i = 0; i < 4; ++i) {
        p[i] = static_cast<std::uint8_t>(word >> (8 * i));
    }
}

// The four round functions, in forms that keep the dependency chain on b
// short: F selects with one AND, and G's two halves have no bits in common,
// so they are added rather than ORed and the half without b is computed
// ahead.
struct RoundF {
    static std::uint32_t Mix(std::uint32_t b, std::uint32_t c, std::uint32_t d) {
        return d ^ (b & (c ^ d));
    }
};
struct RoundG {
    static std::uint32_t Mix(std::uint32_t b, std::uint32_t c, std::uint32_t d) {
        return (d & b) + (~d & c);
    }
};
struct RoundH {
    static std::uint32_t Mix(std::uint32_t b, std::uint32_t c, std::uint32_t d) {
        return b ^ c ^ d;
    }
};
struct RoundI {
    static std::uint32_t Mix(std::uint32_t b, std::uint32_t c, std::uint32_t d) {
        return c ^ (b | ~d);
    }
};

template <typename Round, int Shift>
inline void Step(std::uint32_t& a, std::uint32_t b, std::uint32_t c, std::uint32_t d,
                 std::uint32_t word, std::uint32_t constant) {
    a += word + constant;
    a += Round::Mix(b, c, d);
    a = std::rotl(a, Shift) + b;
}

void ProcessBlocks(std::uint32_t state[4], const std::uint8_t* data, std::size_t blocks) {
    std::uint32_t a = state[0], b = state[1], c = state[2], d = state[3];
    for (; blocks > 0; --blocks, data += 64) {
        std::uint32_t x[16];
        for (int i = 0; i < 16; ++i) {
            x[i] = LoadLe32(data + 4 * i);
        }
        const std::uint32_t a0 = a, b0 = b, c0 = c, d0 = d;

        Step<RoundF, 7>(a, b, c, d, x[0], 0xd76aa478);
        Step<RoundF, 12>(d, a, b, c, x[1], 0xe8c7b756);
        Step<RoundF, 17>(c, d, a, b, x[2], 0x242070db);
        Step<RoundF, 22>(b, c, d, a, x[3], 0xc1bdceee);
        Step<RoundF, 7>(a, b, c, d, x[4], 0xf57c0faf);
        Step<RoundF, 12>(d, a, b, c, x[5], 0x4787c62a);
        Step<RoundF, 17>(c, d, a, b, x[6], 0xa8304613);
        Step<RoundF, 22>(b, c, d, a, x[7], 0xfd469501);
        Step<RoundF, 7>(a, b, c, d, x[8], 0x698098d8);
        Step<RoundF, 12>(d, a, b, c, x[9], 0x8b44f7af);
        Step<RoundF, 17>(c, d, a, b, x[10], 0xffff5bb1);
        Step<RoundF, 22>(b, c, d, a, x[11], 0x895cd7be);
        Step<RoundF, 7>(a, b, c, d, x[12], 0x6b901122);
        Step<RoundF, 12>(d, a, b, c, x[13], 0xfd987193);
        Step<RoundF, 17>(c, d, a, b, x[14], 0xa679438e);
        Step<RoundF, 22>(b, c, d, a, x[15], 0x49b40821);

        Step<RoundG, 5>(a, b, c, d, x[1], 0xf61e2562);
        Step<RoundG, 9>(d, a, b, c, x[6], 0xc040b340);
        Step<RoundG, 14>(c, d, a, b, x[11], 0x265e5a51);
        Step<RoundG, 20>(b, c, d, a, x[0], 0xe9b6c7aa);
        Step<RoundG, 5>(a, b, c, d, x[5], 0xd62f105d);
        Step<RoundG, 9>(d, a, b, c, x[10], 0x02441453);
        Step<RoundG, 14>(c, d, a, b, x[15], 0xd8a1e681);
        Step<RoundG, 20>(b, c, d, a, x[4], 0xe7d3fbc8);
        Step<RoundG, 5>(a, b, c, d, x[9], 0x21e1cde6);
        Step<RoundG, 9>(d, a, b, c, x[14], 0xc33707d6);
        Step<RoundG, 14>(c, d, a, b, x[3], 0xf4d50d87);
        Step<RoundG, 20>(b, c, d, a, x[8], 0x455a14ed);
        Step<RoundG, 5>(a, b, c, d, x[13], 0xa9e3e905);
        Step<RoundG, 9>(d, a, b, c, x[2], 0xfcefa3f8);
        Step<RoundG, 14>(c, d, a, b, x[7], 0x676f02d9);
        Step<RoundG, 20>(b, c, d, a, x[12], 0x8d2a4c8a);

        Step<RoundH, 4>(a, b, c, d, x[5], 0xfffa3942);
        Step<RoundH, 11>(d, a, b, c, x[8], 0x8771f681);
        Step<RoundH, 16>(c, d, a, b, x[11], 0x6d9d6122);
        Step<RoundH, 23>(b, c, d, a, x[14], 0xfde5380c);
        Step<RoundH, 4>(a, b, c, d, x[1], 0xa4beea44);
        Step<RoundH, 11>(d, a, b, c, x[4], 0x4bdecfa9);
        Step<RoundH, 16>(c, d, a, b, x[7], 0xf6bb4b60);
        Step<RoundH, 23>(b, c, d, a, x[10], 0xbebfbc70);
        Step<RoundH, 4>(a, b, c, d, x[13], 0x289b7ec6);
        Step<RoundH, 11>(d, a, b, c, x[0], 0xeaa127fa);
        Step<RoundH, 16>(c, d, a, b, x[3], 0xd4ef3085);
        Step<RoundH, 23>(b, c, d, a, x[6], 0x04881d05);
        Step<RoundH, 4>(a, b, c, d, x[9], 0xd9d4d039);
        Step<RoundH, 11>(d, a, b, c, x[12], 0xe6db99e5);
        Step<RoundH, 16>(c, d, a, b, x[15], 0x1fa27cf8);
        Step<RoundH, 23>(b, c, d, a, x[2], 0xc4ac5665);

        Step<RoundI, 6>(a, b, c, d, x[0], 0xf4292244);
        Step<RoundI, 10>(d, a, b, c, x[7], 0x432aff97);
        Step<RoundI, 15>(c, d, a, b, x[14], 0xab9423a7);
        Step<RoundI, 21>(b, c, d, a, x[5], 0xfc93a039);
        Step<RoundI, 6>(a, b, c, d, x[12], 0x655b59c3);
        Step<RoundI, 10>(d, a, b, c, x[3], 0x8f0ccc92);
        Step<RoundI, 15>(c, d, a, b, x[10], 0xffeff47d);
        Step<RoundI, 21>(b, c, d, a, x[1], 0x85845dd1);
        Step<RoundI, 6>(a, b, c, d, x[8], 0x6fa87e4f);
        Step<RoundI, 10>(d, a, b, c, x[15], 0xfe2ce6e0);
        Step<RoundI, 15>(c, d, a, b, x[6], 0xa3014314);
        Step<RoundI, 21>(b, c, d, a, x[13], 0x4e0811a1);
        Step<RoundI, 6>(a, b, c, d, x[4], 0xf7537e82);
        Step<RoundI, 10>(d, a, b, c, x[11], 0xbd3af235);
        Step<RoundI, 15>(c, d, a, b, x[2], 0x2ad7d2bb);
        Step<RoundI, 21>(b, c, d, a, x[9], 0xeb86d391);

        a += a0;
        b += b0;
        c += c0;
        d += d0;
    }
    state[0] = a;
    state[1] = b;
    state[2] = c;
    state[3] = d;
}

}  // namespace

void Md5::Update(ByteView data) {
    if (data.empty()) {
        return;
    }
    const std::uint8_t* p = data.data();
    std::size_t n = data.size();
    length_ += n;
    if (pendingSize_ > 0) {
        std::size_t take = std::min(n, sizeof pending_ - pendingSize_);
        std::memcpy(pending_ + pendingSize_, p, take);
        pendingSize_ += take;
        p += take;
        n -= take;
        if (pendingSize_ < sizeof pending_) {
            return;
        }
        ProcessBlocks(state_, pending_, 1);
        pendingSize_ = 0;
    }
    ProcessBlocks(state_, p, n / 64);
    pendingSize_ = n % 64;
    std::memcpy(pending_, p + n / 64 * 64, pendingSize_);
}

Md5Digest Md5::Finish() {
    // A single 0x80 byte, zeros up to 56 bytes mod 64, then the bit length.
    std::uint64_t bits = length_ * 8;
    std::uint8_t tail[72] = {0x80};
    std::size_t padding = (pendingSize_ < 56 ? 56 : 120) - pendingSize_;
    for (int i = 0; i < 8; ++i) {
        tail[padding + i] = static_cast<std::uint8_t>(bits >> (8 * i));
    }
    Update(ByteView(tail, padding + 8));
    Md5Digest digest;
    for (int i = 0; i < 4; ++i) {
        StoreLe32(digest.data() + 4 * i, state_[i]);
    }
    return digest;
}

Md5Digest Md5Buffer(ByteView data) {
    Md5 md5;
    md5.Update(data);
    return md5.Finish();
}

}  // namespace vantic
