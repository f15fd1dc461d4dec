#include <openssl/bn.h>
#include <openssl/core_names.h>
#include <openssl/err.h>
#include <openssl/evp.h>
#include <openssl/rsa.h>

#include <memory>

#include "net/rsa.h"

#include "net/openssl_handles.h"

namespace vantic {
namespace {

using openssl::Bignum;
using openssl::Pkey;
using openssl::PkeyContext;

Pkey Generate(int bits, std::uint32_t publicExponent) {
    PkeyContext context(EVP_PKEY_CTX_new_from_name(nullptr, "RSA", nullptr));
    Bignum exponent(BN_new());
    if (!context || !exponent || !BN_set_word(exponent.get(), publicExponent) ||
        EVP_PKEY_keygen_init(context.get()) <= 0 ||
        EVP_PKEY_CTX_set_rsa_keygen_bits(context.get(), bits) <= 0 ||
        EVP_PKEY_CTX_set1_rsa_keygen_pubexp(context.get(), exponent.get()) <= 0) {
        return nullptr;
    }
    EVP_PKEY* key = nullptr;
    if (EVP_PKEY_generate(context.get(), &key) <= 0) {
        return nullptr;
    }
    return Pkey(key);
}

// One integer of the key as big-endian bytes; false when it is missing.
bool Extract(const EVP_PKEY* key, const char* name, Bytes& out) {
    BIGNUM* raw = nullptr;
    if (!EVP_PKEY_get_bn_param(key, name, &raw)) {
        return false;
    }
    Bignum value(raw);
    out.resize(static_cast<std::size_t>(BN_num_bytes(value.get())));
    return BN_bn2bin(value.get(), out.data()) == static_cast<int>(out.size());
}

}  // namespace

std::optional<RsaPrivateKey> GenerateRsaKey(int bits, std::uint32_t publicExponent) {
    Pkey key = Generate(bits, publicExponent);
    RsaPrivateKey result;
    bool complete = key && Extract(key.get(), OSSL_PKEY_PARAM_RSA_N, result.modulus) &&
                    Extract(key.get(), OSSL_PKEY_PARAM_RSA_E, result.publicExponent) &&
                    Extract(key.get(), OSSL_PKEY_PARAM_RSA_D, result.privateExponent) &&
                    Extract(key.get(), OSSL_PKEY_PARAM_RSA_FACTOR1, result.prime1) &&
                    Extract(key.get(), OSSL_PKEY_PARAM_RSA_FACTOR2, result.prime2);
    ERR_clear_error();
    if (!complete) {
        return std::nullopt;
    }
    return result;
}

}  // namespace vantic
