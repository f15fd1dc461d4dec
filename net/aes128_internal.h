#pragma once

// The two AES-128 implementations behind Aes128CbcEncryptor and
// Aes128CbcDecryptor. Both take and give the chaining value in `chain`.

#include <cstddef>
#include <cstdint>

#include "net/aes128.h"

namespace vantic::aes_detail {

// Portable table-driven code: round keys are the 44 words of the key
// schedule as native integers, the decryption schedule already in the form
// of the equivalent inverse cipher.
void PortableExpandEncryptKey(const std::uint8_t key[16], AesRoundKeys& out);
void PortableExpandDecryptKey(const std::uint8_t key[16], AesRoundKeys& out);
void PortableCbcEncrypt(const AesRoundKeys& keys, std::uint8_t chain[16], const std::uint8_t* in,
                        std::uint8_t* out, std::size_t blocks);
void PortableCbcDecrypt(const AesRoundKeys& keys, std::uint8_t chain[16], const std::uint8_t* in,
                        std::uint8_t* out, std::size_t blocks);

// AES instructions: round keys are eleven 16-byte blocks. Only call these
// when HardwareAesSupported() is true.
bool HardwareAesSupported();
void HardwareExpandEncryptKey(const std::uint8_t key[16], AesRoundKeys& out);
void HardwareExpandDecryptKey(const std::uint8_t key[16], AesRoundKeys& out);
void HardwareCbcEncrypt(const AesRoundKeys& keys, std::uint8_t chain[16], const std::uint8_t* in,
                        std::uint8_t* out, std::size_t blocks);
void HardwareCbcDecrypt(const AesRoundKeys& keys, std::uint8_t chain[16], const std::uint8_t* in,
                        std::uint8_t* out, std::size_t blocks);

}  // namespace vantic::aes_detail
