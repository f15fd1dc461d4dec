#pragma once

// Independent reference results from OpenSSL and its command line, and
// small helpers shared by the net tests.

#include <openssl/evp.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <random>
#include <string>

#include "net/aes128.h"
#include "net/bytes.h"
#include "net/md5.h"
#include "tests/support/child_process.h"

namespace vantic::testing {

// Bytes from hexadecimal text (test vectors).
inline Bytes FromHex(const std::string& hex) {
    Bytes bytes;
    for (std::size_t i = 0; i + 1 < hex.size(); i += 2) {
        bytes.push_back(static_cast<std::uint8_t>(std::stoul(hex.substr(i, 2), nullptr, 16)));
    }
    return bytes;
}

template <std::size_t N>
std::array<std::uint8_t, N> ArrayFromHex(const std::string& hex) {
    Bytes bytes = FromHex(hex);
    std::array<std::uint8_t, N> out{};
    std::copy_n(bytes.begin(), std::min(N, bytes.size()), out.begin());
    return out;
}

inline Bytes RandomBytes(std::mt19937& random, std::size_t n) {
    Bytes bytes(n);
    for (auto& byte : bytes) {
        byte = static_cast<std::uint8_t>(random());
    }
    return bytes;
}

inline AesKey RandomKey(std::mt19937& random) {
    AesKey key;
    for (auto& byte : key) {
        byte = static_cast<std::uint8_t>(random());
    }
    return key;
}

// AES-128-CBC of whole blocks, without padding, by OpenSSL.
inline Bytes OpensslCbc(bool encrypt, const AesKey& key, const AesBlock& iv, const Bytes& in) {
    EVP_CIPHER_CTX* context = EVP_CIPHER_CTX_new();
    Bytes out(in.size() + kAesBlockSize);
    int written = 0;
    int last = 0;
    bool ok = EVP_CipherInit_ex(context, EVP_aes_128_cbc(), nullptr, key.data(), iv.data(),
                                encrypt ? 1 : 0) == 1 &&
              EVP_CIPHER_CTX_set_padding(context, 0) == 1 &&
              EVP_CipherUpdate(context, out.data(), &written, in.data(),
                               static_cast<int>(in.size())) == 1 &&
              EVP_CipherFinal_ex(context, out.data() + written, &last) == 1;
    EVP_CIPHER_CTX_free(context);
    out.resize(ok ? static_cast<std::size_t>(written + last) : 0);
    return out;
}

inline Md5Digest OpensslMd5(const Bytes& data) {
    Md5Digest digest{};
    unsigned int size = 0;
    EVP_Digest(data.data(), data.size(), digest.data(), &size, EVP_md5(), nullptr);
    return digest;
}

// True when the openssl command line can be run.
inline bool HaveOpensslCommand() {
    return std::system("openssl version >/dev/null 2>&1") == 0;
}

// Runs a shell command quietly; true when it exits with status 0.
inline bool RunQuietly(const std::string& command) {
    return std::system((command + " >/dev/null 2>&1").c_str()) == 0;
}

}  // namespace vantic::testing
