#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <vector>

#include "core/file_writes.h"
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
                   unsigned mode) {
    std::string content;
    for (const Bytes* value : integers) {
        AppendInteger(content, *value);
    }
    return WriteKeyMaterial(path, content, mode);
}

// A new file beside path that no other file, link or process held before.
int CreateFresh(const std::string& path, unsigned mode, std::string& name) {
    std::random_device random;
    for (int attempt = 0; attempt < 16; ++attempt) {
        char suffix[16];
        std::snprintf(suffix, sizeof suffix, ".%08x", random());
        name = path + suffix;
        const int fd =
            ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode);
        if (fd >= 0 || errno != EEXIST) {
            return fd;
        }
    }
    return -1;
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

bool WriteKeyMaterial(const std::string& path, std::string_view content, unsigned mode) {
    std::string temporary;
    const int fd = CreateFresh(path, mode, temporary);
    if (fd < 0) {
        return false;
    }
    const bool written = WriteAll(fd, content) && ::fsync(fd) == 0;
    if (::close(fd) != 0 || !written || std::rename(temporary.c_str(), path.c_str()) != 0) {
        ::unlink(temporary.c_str());
        return false;
    }
    return true;
}

bool WritePublicKeyFile(const std::string& path, const RsaPublicKey& key) {
    return WriteIntegers(path, {&key.modulus, &key.exponent}, kPublicKeyMode);
}

bool WritePrivateKeyFile(const std::string& path, const RsaPrivateKey& key) {
    return WriteIntegers(
        path, {&key.modulus, &key.publicExponent, &key.privateExponent, &key.prime1, &key.prime2},
        kPrivateKeyMode);
}

}  // namespace vantic
