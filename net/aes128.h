#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace vantic {

inline constexpr std::size_t kAesBlockSize = 16;

using AesKey = std::array<std::uint8_t, 16>;
using AesBlock = std::array<std::uint8_t, kAesBlockSize>;

// The expanded round keys of one AES-128 key, in the form the chosen
// implementation wants (native words for the portable code, byte blocks for
// the AES instructions).
struct AesRoundKeys {
    alignas(16) std::uint32_t words[44];
};

// The code a cipher runs: the AES instructions where the processor has
// them, else the portable table-driven code (Fastest); or the portable
// code everywhere, which the tests and benchmarks compare with the other.
enum class AesCode { Fastest, Portable };

// AES-128 in CBC mode, encrypting. The chaining value carries over from one
// call to the next, so a message may be fed in runs of whole blocks.
class Aes128CbcEncryptor {
  public:
    explicit Aes128CbcEncryptor(const AesKey& key, const AesBlock& iv = {},
                                AesCode code = AesCode::Fastest);

    // Encrypts `blocks` 16-byte blocks of `in` into `out` (which may be `in`).
    void Process(const std::uint8_t* in, std::uint8_t* out, std::size_t blocks);

  private:
    AesRoundKeys keys_;
    AesBlock chain_;
    bool hardware_;
};

// AES-128 in CBC mode, decrypting, with the same carry-over as above.
class Aes128CbcDecryptor {
  public:
    explicit Aes128CbcDecryptor(const AesKey& key, const AesBlock& iv = {},
                                AesCode code = AesCode::Fastest);

    // Decrypts `blocks` 16-byte blocks of `in` into `out` (which may be `in`).
    void Process(const std::uint8_t* in, std::uint8_t* out, std::size_t blocks);

    // Starts a new chain at `iv`, keeping the key.
    void Restart(const AesBlock& iv) { chain_ = iv; }

  private:
    AesRoundKeys keys_;
    AesBlock chain_;
    bool hardware_;
};

// True when ciphers made with `code` use the AES instructions.
[[nodiscard]] bool HardwareAesActive(AesCode code = AesCode::Fastest);

}  // namespace vantic
