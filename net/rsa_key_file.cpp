#include <filesystem>
#include <fstream>
#include <vector>

#include "net/rsa_key.h"

namespace vantic {
namespace {

namespace fs = std::filesystem;

// Reads the first `count` integers of a key file. A byte count larger than
// what is left of the file is a short read, found before allocating for it.
std::optional<std::vector<Bytes>> ReadIntegers(const std::string& path, std::size_t count) {
    std::error_code error;
    std::uintmax_t remaining = fs::file_size(path, error);
    std::ifstream in(path, std::ios::binary);
    if (error || !in) {
        return std::nullopt;
    }
    std::vector<Bytes> integers;
    for (std::size_t i = 0; i < count; ++i) {
        std::uint8_t prefix[4];
        if (remaining < 4 || !in.read(reinterpret_cast<char*>(prefix), 4)) {
            return std::nullopt;
        }
        remaining -= 4;
        std::uint32_t size = (std::uint32_t{prefix[0]} << 24) | (std::uint32_t{prefix[1]} << 16) |
                             (std::uint32_t{prefix[2]} << 8) | prefix[3];
        if (size > remaining) {
            return std::nullopt;
        }
        Bytes value(size);
        if (!in.read(reinterpret_cast<char*>(value.data()), size)) {
            return std::nullopt;
        }
        remaining -= size;
        integers.push_back(std::move(value));
    }
    return integers;
}

void AppendInteger(std::string& out, const Bytes& value) {
    auto size = static_cast<std::uint32_t>(value.size());
    for (int shift = 24; shift >= 0; shift -= 8) {
        out.push_back(static_cast<char>(size >> shift));
    }
    out.append(value.begin(), value.end());
}

bool WriteIntegers(const std::string& path, const std::vector<const Bytes*>& integers,
                   bool ownerOnly) {
    std::string content;
    for (const Bytes* value : integers) {
        AppendInteger(content, *value);
    }
    std::string temporary = path + ".tmp";
    std::error_code error;
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        if (!out) {
            return false;
        }
        if (ownerOnly) {
            // Before any secret is written.
            fs::permissions(temporary, fs::perms::owner_read | fs::perms::owner_write,
                            fs::perm_options::replace, error);
        }
        out.write(content.data(), static_cast<std::streamsize>(content.size()));
        out.flush();
        if (error || !out) {
            out.close();
            fs::remove(temporary, error);
            return false;
        }
    }
    fs::rename(temporary, path, error);
    if (error) {
        fs::remove(temporary, error);
        return false;
    }
    return true;
}

}  // namespace

std::optional<RsaPublicKey> LoadServerKey(const std::string& path) {
    std::optional<std::vector<Bytes>> integers = ReadIntegers(path, 2);
    if (!integers) {
        return std::nullopt;
    }
    auto& v = *integers;
    return RsaPublicKey{std::move(v[0]), std::move(v[1])};
}

std::optional<RsaPrivateKey> LoadPrivateKeyFile(const std::string& path) {
    std::optional<std::vector<Bytes>> integers = ReadIntegers(path, 5);
    if (!integers) {
        return std::nullopt;
    }
    auto& v = *integers;
    return RsaPrivateKey{std::move(v[0]), std::move(v[1]), std::move(v[2]), std::move(v[3]),
                         std::move(v[4])};
}

bool WritePublicKeyFile(const std::string& path, const RsaPublicKey& key) {
    return WriteIntegers(path, {&key.modulus, &key.exponent}, false);
}

bool WritePrivateKeyFile(const std::string& path, const RsaPrivateKey& key) {
    return WriteIntegers(
        path, {&key.modulus, &key.publicExponent, &key.privateExponent, &key.prime1, &key.prime2},
        true);
}

}  // namespace vantic
