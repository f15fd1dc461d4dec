// RSA on OpenSSL 3's EVP interfaces. Key objects are built for each call
// from the plain integers and released before returning.

#include "net/rsa.h"

#include "net/openssl_handles.h"

#include <openssl/bn.h>
#include <openssl/core_names.h>
#include <openssl/err.h>
#include <openssl/evp.h>
#include <openssl/param_build.h>
#include <openssl/pem.h>
#include <openssl/rsa.h>

#include <algorithm>
#include <memory>

namespace vantic {
namespace {

using openssl::Bignum;
using openssl::BignumContext;
using openssl::Bio;
using openssl::ParamBuilder;
using openssl::Params;
using openssl::Pkey;
using openssl::PkeyContext;

// Leaves OpenSSL's per-thread error queue empty, so our failures never
// surface later in an unrelated TLS call.
struct ErrorQueueCleaner {
    ~ErrorQueueCleaner() { ERR_clear_error(); }
};

Bignum ToBignum(const Bytes& value) {
    return Bignum(BN_bin2bn(value.data(), static_cast<int>(value.size()), nullptr));
}

Pkey BuildKey(OSSL_PARAM_BLD* builder, int selection) {
    Params params(OSSL_PARAM_BLD_to_param(builder));
    PkeyContext context(EVP_PKEY_CTX_new_from_name(nullptr, "RSA", nullptr));
    EVP_PKEY* key = nullptr;
    if (!params || !context || EVP_PKEY_fromdata_init(context.get()) <= 0 ||
        EVP_PKEY_fromdata(context.get(), &key, selection, params.get()) <= 0) {
        return nullptr;
    }
    return Pkey(key);
}

Pkey PublicKeyObject(const RsaPublicKey& key) {
    Bignum n = ToBignum(key.modulus);
    Bignum e = ToBignum(key.exponent);
    ParamBuilder builder(OSSL_PARAM_BLD_new());
    if (!n || !e || !builder || BN_is_zero(n.get()) || BN_is_zero(e.get()) ||
        !OSSL_PARAM_BLD_push_BN(builder.get(), OSSL_PKEY_PARAM_RSA_N, n.get()) ||
        !OSSL_PARAM_BLD_push_BN(builder.get(), OSSL_PKEY_PARAM_RSA_E, e.get())) {
        return nullptr;
    }
    return BuildKey(builder.get(), EVP_PKEY_PUBLIC_KEY);
}

// The key file holds no CRT values; they follow from d, p and q:
// d mod (p-1), d mod (q-1) and q^-1 mod p.
struct CrtValues {
    Bignum dp{BN_new()}, dq{BN_new()}, qInverse{BN_new()};
};

std::optional<CrtValues> ComputeCrt(const BIGNUM* n, const BIGNUM* d, const BIGNUM* p,
                                    const BIGNUM* q) {
    BignumContext context(BN_CTX_new());
    Bignum product(BN_new()), p1(BN_dup(p)), q1(BN_dup(q));
    CrtValues crt;
    if (!context || !product || !p1 || !q1 || !crt.dp || !crt.dq || !crt.qInverse ||
        !BN_mul(product.get(), p, q, context.get()) || BN_cmp(product.get(), n) != 0 ||
        !BN_sub_word(p1.get(), 1) || !BN_sub_word(q1.get(), 1) ||
        !BN_mod(crt.dp.get(), d, p1.get(), context.get()) ||
        !BN_mod(crt.dq.get(), d, q1.get(), context.get()) ||
        !BN_mod_inverse(crt.qInverse.get(), q, p, context.get())) {
        return std::nullopt;  // also when the primes do not multiply to the modulus
    }
    return crt;
}

Pkey PrivateKeyObject(const RsaPrivateKey& key) {
    Bignum n = ToBignum(key.modulus), e = ToBignum(key.publicExponent);
    Bignum d = ToBignum(key.privateExponent), p = ToBignum(key.prime1), q = ToBignum(key.prime2);
    if (!n || !e || !d || !p || !q || BN_is_zero(e.get()) || BN_is_zero(d.get())) {
        return nullptr;
    }
    std::optional<CrtValues> crt = ComputeCrt(n.get(), d.get(), p.get(), q.get());
    ParamBuilder builder(OSSL_PARAM_BLD_new());
    if (!crt || !builder) {
        return nullptr;
    }
    const std::pair<const char*, const BIGNUM*> values[] = {
        {OSSL_PKEY_PARAM_RSA_N, n.get()},
        {OSSL_PKEY_PARAM_RSA_E, e.get()},
        {OSSL_PKEY_PARAM_RSA_D, d.get()},
        {OSSL_PKEY_PARAM_RSA_FACTOR1, p.get()},
        {OSSL_PKEY_PARAM_RSA_FACTOR2, q.get()},
        {OSSL_PKEY_PARAM_RSA_EXPONENT1, crt->dp.get()},
        {OSSL_PKEY_PARAM_RSA_EXPONENT2, crt->dq.get()},
        {OSSL_PKEY_PARAM_RSA_COEFFICIENT1, crt->qInverse.get()},
    };
    for (const auto& [name, value] : values) {
        if (!OSSL_PARAM_BLD_push_BN(builder.get(), name, value)) {
            return nullptr;
        }
    }
    return BuildKey(builder.get(), EVP_PKEY_KEYPAIR);
}

PkeyContext PkcsContext(EVP_PKEY* key, int (*init)(EVP_PKEY_CTX*)) {
    PkeyContext context(EVP_PKEY_CTX_new_from_pkey(nullptr, key, nullptr));
    if (!context || init(context.get()) <= 0 ||
        EVP_PKEY_CTX_set_rsa_padding(context.get(), RSA_PKCS1_PADDING) <= 0) {
        return nullptr;
    }
    return context;
}

// Runs an EVP encrypt or decrypt call twice: once for the size, once for
// the bytes.
template <typename Operation>
std::optional<Bytes> RunSized(EVP_PKEY_CTX* context, Operation operation, ByteView input) {
    std::size_t size = 0;
    if (operation(context, nullptr, &size, input.data(), input.size()) <= 0) {
        return std::nullopt;
    }
    Bytes output(size);
    if (operation(context, output.data(), &size, input.data(), input.size()) <= 0) {
        return std::nullopt;
    }
    output.resize(size);
    return output;
}

}  // namespace

std::optional<Bytes> RsaSeal(ByteView data, const RsaPublicKey& key) {
    ErrorQueueCleaner cleaner;
    Pkey pkey = PublicKeyObject(key);
    PkeyContext context = pkey ? PkcsContext(pkey.get(), EVP_PKEY_encrypt_init) : nullptr;
    if (!context) {
        return std::nullopt;
    }
    return RunSized(context.get(), EVP_PKEY_encrypt, data);
}

std::optional<Bytes> RsaSeal(ByteView data, const std::string& keyFilePath) {
    std::optional<RsaPublicKey> key = LoadServerKey(keyFilePath);
    if (!key) {
        return std::nullopt;
    }
    return RsaSeal(data, *key);
}

std::optional<Bytes> RsaOpen(ByteView ciphertext, const RsaPrivateKey& key) {
    ErrorQueueCleaner cleaner;
    Pkey pkey = PrivateKeyObject(key);
    PkeyContext context = pkey ? PkcsContext(pkey.get(), EVP_PKEY_decrypt_init) : nullptr;
    if (!context) {
        return std::nullopt;
    }
    return RunSized(context.get(), EVP_PKEY_decrypt, ciphertext);
}

bool RsaVerifyMd5(const Md5Digest& digest, ByteView signature, const RsaPublicKey& key) {
    // A signature of any other length than the modulus is refused before
    // the key is built: a file of random bytes costs no key operation.
    const auto significant = std::find_if(key.modulus.begin(), key.modulus.end(),
                                          [](std::uint8_t byte) { return byte != 0; });
    if (signature.size() != static_cast<std::size_t>(key.modulus.end() - significant)) {
        return false;
    }
    ErrorQueueCleaner cleaner;
    Pkey pkey = PublicKeyObject(key);
    PkeyContext context = pkey ? PkcsContext(pkey.get(), EVP_PKEY_verify_init) : nullptr;
    if (!context || EVP_PKEY_CTX_set_signature_md(context.get(), EVP_md5()) <= 0) {
        return false;
    }
    return EVP_PKEY_verify(context.get(), signature.data(), signature.size(), digest.data(),
                           digest.size()) == 1;
}

std::optional<Bytes> RsaSignMd5(const Md5Digest& digest, const RsaPrivateKey& key) {
    ErrorQueueCleaner cleaner;
    Pkey pkey = PrivateKeyObject(key);
    PkeyContext context = pkey ? PkcsContext(pkey.get(), EVP_PKEY_sign_init) : nullptr;
    if (!context || EVP_PKEY_CTX_set_signature_md(context.get(), EVP_md5()) <= 0) {
        return std::nullopt;
    }
    return RunSized(context.get(), EVP_PKEY_sign, ByteView(digest));
}

std::optional<std::string> PrivateKeyPem(const RsaPrivateKey& key) {
    ErrorQueueCleaner cleaner;
    Pkey pkey = PrivateKeyObject(key);
    Bio bio(BIO_new(BIO_s_mem()));
    if (!pkey || !bio ||
        !PEM_write_bio_PrivateKey(bio.get(), pkey.get(), nullptr, nullptr, 0, nullptr, nullptr)) {
        return std::nullopt;
    }
    char* text = nullptr;
    long size = BIO_get_mem_data(bio.get(), &text);
    if (size <= 0 || text == nullptr) {
        return std::nullopt;
    }
    return std::string(text, static_cast<std::size_t>(size));
}

}  // namespace vantic
