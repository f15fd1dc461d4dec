#include "server/password_hash.h"

#include <openssl/core_names.h>
#include <openssl/crypto.h>
#include <openssl/evp.h>
#include <openssl/kdf.h>
#include <sys/random.h>

#include <array>
#include <memory>
#include <vector>

#include "net/bytes.h"
#include "net/hex.h"

namespace vantic::server {

namespace {

constexpr std::string_view kScheme = "pbkdf2-sha256$";
constexpr std::size_t kSaltBytes = 16;
constexpr std::size_t kHashBytes = 32;

struct KdfFree {
    void operator()(EVP_KDF* kdf) const { EVP_KDF_free(kdf); }
    void operator()(EVP_KDF_CTX* context) const { EVP_KDF_CTX_free(context); }
};

struct Parsed {
    std::uint32_t iterations = 0;
    Bytes salt;
    Bytes hash;
};

std::optional<Bytes> Derive(std::string_view password, const Bytes& salt, std::uint32_t iterations,
                            std::size_t length) {
    std::unique_ptr<EVP_KDF, KdfFree> kdf(EVP_KDF_fetch(nullptr, "PBKDF2", nullptr));
    if (!kdf) {
        return std::nullopt;
    }
    std::unique_ptr<EVP_KDF_CTX, KdfFree> context(EVP_KDF_CTX_new(kdf.get()));
    if (!context) {
        return std::nullopt;
    }
    char digest[] = "SHA256";
    unsigned int count = iterations;
    // OpenSSL takes non-const pointers but only reads through them.
    const OSSL_PARAM params[] = {
        OSSL_PARAM_construct_octet_string(OSSL_KDF_PARAM_PASSWORD,
                                          const_cast<char*>(password.data()), password.size()),
        OSSL_PARAM_construct_octet_string(OSSL_KDF_PARAM_SALT,
                                          const_cast<std::uint8_t*>(salt.data()), salt.size()),
        OSSL_PARAM_construct_uint(OSSL_KDF_PARAM_ITER, &count),
        OSSL_PARAM_construct_utf8_string(OSSL_KDF_PARAM_DIGEST, digest, 0),
        OSSL_PARAM_construct_end()};
    Bytes out(length);
    if (EVP_KDF_derive(context.get(), out.data(), out.size(), params) != 1) {
        OPENSSL_cleanse(out.data(), out.size());
        return std::nullopt;
    }
    return out;
}

bool IsHexText(std::string_view text) {
    return !text.empty() && text.size() % 2 == 0 &&
           text.find_first_not_of("0123456789abcdef") == std::string_view::npos;
}

std::optional<std::uint32_t> Iterations(std::string_view text) {
    if (text.empty() || text.size() > 9 ||
        text.find_first_not_of("0123456789") != std::string_view::npos) {
        return std::nullopt;
    }
    std::uint32_t value = 0;
    for (char digit : text) {
        value = value * 10 + static_cast<std::uint32_t>(digit - '0');
    }
    if (value < 1 || value > kMaxHashIterations) {
        return std::nullopt;
    }
    return value;
}

std::optional<Parsed> Parse(std::string_view stored) {
    if (!stored.starts_with(kScheme)) {
        return std::nullopt;
    }
    std::string_view rest = stored.substr(kScheme.size());
    const std::size_t first = rest.find('$');
    const std::size_t second = first == std::string_view::npos ? first : rest.find('$', first + 1);
    if (second == std::string_view::npos) {
        return std::nullopt;
    }
    std::optional<std::uint32_t> iterations = Iterations(rest.substr(0, first));
    const std::string_view salt = rest.substr(first + 1, second - first - 1);
    const std::string_view hash = rest.substr(second + 1);
    if (!iterations || !IsHexText(salt) || !IsHexText(hash)) {
        return std::nullopt;
    }
    return Parsed{*iterations, HexDecode(salt), HexDecode(hash)};
}

// Equal-length digests of both texts, compared without an early exit, so
// neither a length nor a first differing byte shows in the time taken.
bool SamePlainText(std::string_view stored, std::string_view password) {
    std::array<std::uint8_t, EVP_MAX_MD_SIZE> a{};
    std::array<std::uint8_t, EVP_MAX_MD_SIZE> b{};
    unsigned int sizeA = 0;
    unsigned int sizeB = 0;
    if (EVP_Digest(stored.data(), stored.size(), a.data(), &sizeA, EVP_sha256(), nullptr) != 1 ||
        EVP_Digest(password.data(), password.size(), b.data(), &sizeB, EVP_sha256(), nullptr) !=
            1) {
        return false;
    }
    return sizeA == sizeB && CRYPTO_memcmp(a.data(), b.data(), sizeA) == 0;
}

}  // namespace

std::optional<std::string> HashPassword(std::string_view password, std::uint32_t iterations) {
    Bytes salt(kSaltBytes);
    if (::getrandom(salt.data(), salt.size(), 0) != static_cast<ssize_t>(salt.size())) {
        return std::nullopt;
    }
    std::optional<Bytes> hash = Derive(password, salt, iterations, kHashBytes);
    if (!hash) {
        return std::nullopt;
    }
    return std::string(kScheme) + std::to_string(iterations) + "$" + HexEncode(ByteView(salt)) +
           "$" + HexEncode(ByteView(*hash));
}

bool IsPasswordHash(std::string_view stored) {
    return stored.starts_with(kScheme);
}

bool CheckPassword(std::string_view stored, std::string_view password) {
    if (!IsPasswordHash(stored)) {
        return SamePlainText(stored, password);
    }
    std::optional<Parsed> parsed = Parse(stored);
    if (!parsed) {
        return false;
    }
    std::optional<Bytes> hash =
        Derive(password, parsed->salt, parsed->iterations, parsed->hash.size());
    return hash && CRYPTO_memcmp(hash->data(), parsed->hash.data(), hash->size()) == 0;
}

std::optional<std::uint32_t> HashIterations(std::string_view stored) {
    std::optional<Parsed> parsed = Parse(stored);
    return parsed ? std::optional(parsed->iterations) : std::nullopt;
}

std::string UnmatchableHash(std::uint32_t iterations) {
    // The derived key is never all zeros in practice; the salt is fixed
    // because nothing is ever stored under it.
    return std::string(kScheme) + std::to_string(iterations) + "$" +
           std::string(kSaltBytes * 2, 'a') + "$" + std::string(kHashBytes * 2, '0');
}

}  // namespace vantic::server
