#include "net/aes128.h"

#include "net/aes128_internal.h"

namespace vantic {
namespace {

bool UseHardware(AesCode code) {
    static const bool supported = aes_detail::HardwareAesSupported();
    return supported && code == AesCode::Fastest;
}

}  // namespace

bool HardwareAesActive(AesCode code) {
    return UseHardware(code);
}

Aes128CbcEncryptor::Aes128CbcEncryptor(const AesKey& key, const AesBlock& iv, AesCode code)
    : chain_(iv), hardware_(UseHardware(code)) {
    if (hardware_) {
        aes_detail::HardwareExpandEncryptKey(key.data(), keys_);
    } else {
        aes_detail::PortableExpandEncryptKey(key.data(), keys_);
    }
}

void Aes128CbcEncryptor::Process(const std::uint8_t* in, std::uint8_t* out, std::size_t blocks) {
    if (hardware_) {
        aes_detail::HardwareCbcEncrypt(keys_, chain_.data(), in, out, blocks);
    } else {
        aes_detail::PortableCbcEncrypt(keys_, chain_.data(), in, out, blocks);
    }
}

Aes128CbcDecryptor::Aes128CbcDecryptor(const AesKey& key, const AesBlock& iv, AesCode code)
    : chain_(iv), hardware_(UseHardware(code)) {
    if (hardware_) {
        aes_detail::HardwareExpandDecryptKey(key.data(), keys_);
    } else {
        aes_detail::PortableExpandDecryptKey(key.data(), keys_);
    }
}

void Aes128CbcDecryptor::Process(const std::uint8_t* in, std::uint8_t* out, std::size_t blocks) {
    if (hardware_) {
        aes_detail::HardwareCbcDecrypt(keys_, chain_.data(), in, out, blocks);
    } else {
        aes_detail::PortableCbcDecrypt(keys_, chain_.data(), in, out, blocks);
    }
}

}  // namespace vantic
