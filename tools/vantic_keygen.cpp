// vantic-keygen: writes a new RSA key pair for a distribution server.
//
//   vantic-keygen [--bits N] [--exponent E] [--pem FILE] [--force] SERVER_KEY PUBLIC_KEY
//
// SERVER_KEY receives the whole key (modulus, public exponent, private
// exponent, both primes) and stays with the server. PUBLIC_KEY receives the
// modulus and public exponent: the "p.key" to put beside every controller.
//
//   vantic-keygen sign-update --key PRIVATE --program FILE --out SIGNATURE
//
// writes the signature file of an update program (its MD5, the signature's
// length byte, the signature) under the update-signing key PRIVATE.

#include <charconv>
#include <cstdio>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "core/cpstring.h"
#include "net/rsa.h"
#include "net/rsa_key.h"
#include "net/update_signature.h"

namespace {

constexpr const char* kUsage =
    "usage: vantic-keygen [--bits N] [--exponent E] [--pem FILE] [--force] SERVER_KEY PUBLIC_KEY\n"
    "\n"
    "Writes a new RSA key pair in the key file format:\n"
    "  SERVER_KEY  the whole key, for the distribution server (readable by its owner only)\n"
    "  PUBLIC_KEY  modulus and public exponent, the \"p.key\" to put beside each controller\n"
    "\n"
    "  --bits N      modulus size in bits (default 1024; controllers accept 945 to 1024)\n"
    "  --exponent E  public exponent, odd and at least 3 (default 65537)\n"
    "  --pem FILE    also write the private key as PEM, for the openssl tools\n"
    "  --force       replace files that already exist\n"
    "\n"
    "       vantic-keygen sign-update --key PRIVATE --program FILE --out SIGNATURE\n"
    "\n"
    "Writes the signature file of an update program under the update-signing key\n"
    "PRIVATE (a whole key file; make one with --exponent 17, 1024 bits).\n";

struct Options {
    int bits = 1024;
    std::uint32_t exponent = 65537;
    std::string pemPath;
    bool force = false;
    std::vector<std::string> files;
};

template <typename Number>
bool ParseNumber(std::string_view text, Number& out) {
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), out);
    return error == std::errc() && end == text.data() + text.size();
}

// Fills `options` from the arguments; false on anything malformed.
bool ParseArguments(int argc, char** argv, Options& options) {
    for (int i = 1; i < argc; ++i) {
        std::string_view argument = argv[i];
        bool hasValue = i + 1 < argc;
        if (argument == "--force") {
            options.force = true;
        } else if (argument == "--bits" && hasValue) {
            if (!ParseNumber(argv[++i], options.bits)) {
                return false;
            }
        } else if (argument == "--exponent" && hasValue) {
            if (!ParseNumber(argv[++i], options.exponent)) {
                return false;
            }
        } else if (argument == "--pem" && hasValue) {
            options.pemPath = argv[++i];
        } else if (argument.starts_with("-")) {
            return false;
        } else {
            options.files.emplace_back(argument);
        }
    }
    return options.files.size() == 2 && options.bits >= 512 && options.bits <= 16384 &&
           options.exponent >= 3 && options.exponent % 2 == 1;
}

bool WritePem(const std::string& path, const vantic::RsaPrivateKey& key) {
    std::optional<std::string> pem = vantic::PrivateKeyPem(key);
    return pem && vantic::WriteKeyMaterial(path, *pem, vantic::kPrivateKeyMode);
}

int Fail(const std::string& message) {
    std::fprintf(stderr, "vantic-keygen: %s\n", message.c_str());
    return 1;
}

struct SignOptions {
    std::string keyPath;
    std::string programPath;
    std::string outPath;
};

bool ParseSignArguments(int argc, char** argv, SignOptions& options) {
    for (int i = 2; i + 1 < argc; i += 2) {
        std::string_view name = argv[i];
        std::string* target = name == "--key"       ? &options.keyPath
                              : name == "--program" ? &options.programPath
                              : name == "--out"     ? &options.outPath
                                                    : nullptr;
        if (target == nullptr) {
            return false;
        }
        *target = argv[i + 1];
    }
    return argc % 2 == 0 && !options.keyPath.empty() && !options.programPath.empty() &&
           !options.outPath.empty();
}

int SignUpdate(int argc, char** argv) {
    SignOptions options;
    if (!ParseSignArguments(argc, argv, options)) {
        std::fputs(kUsage, stderr);
        return 2;
    }
    std::optional<vantic::RsaPrivateKey> key = vantic::LoadPrivateKeyFile(options.keyPath);
    if (!key) {
        return Fail("cannot read the private key file " + options.keyPath);
    }
    std::optional<std::string> program = vantic::ReadWholeFile(options.programPath);
    if (!program) {
        return Fail("cannot read " + options.programPath);
    }
    std::optional<vantic::Bytes> file = vantic::SignUpdateProgram(vantic::AsBytes(*program), *key);
    if (!file || !vantic::VerifyUpdateSignature(*file, key->Public())) {
        return Fail("signing failed");
    }
    if (file->size() != 17 + 128) {
        std::fprintf(stderr, "vantic-keygen: warning: controllers expect a 1024-bit key\n");
    }
    const std::string_view bytes(reinterpret_cast<const char*>(file->data()), file->size());
    if (!vantic::WriteKeyMaterial(options.outPath, bytes, vantic::kPublicKeyMode)) {
        return Fail("cannot write " + options.outPath);
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 2 && (std::string_view(argv[1]) == "--help" || std::string_view(argv[1]) == "-h")) {
        std::fputs(kUsage, stdout);  // also the source of the manual page
        return 0;
    }
    if (argc > 1 && std::string_view(argv[1]) == "sign-update") {
        return SignUpdate(argc, argv);
    }
    Options options;
    if (!ParseArguments(argc, argv, options)) {
        std::fputs(kUsage, stderr);
        return 2;
    }
    const std::string& serverPath = options.files[0];
    const std::string& publicPath = options.files[1];
    if (!options.force) {
        for (const std::string& path : {serverPath, publicPath, options.pemPath}) {
            if (!path.empty() && std::filesystem::exists(path)) {
                return Fail(path + " exists; use --force to replace it");
            }
        }
    }
    std::optional<vantic::RsaPrivateKey> key =
        vantic::GenerateRsaKey(options.bits, options.exponent);
    if (!key) {
        return Fail("key generation failed");
    }
    if (!vantic::WritePrivateKeyFile(serverPath, *key)) {
        return Fail("cannot write " + serverPath);
    }
    if (!vantic::WritePublicKeyFile(publicPath, key->Public())) {
        return Fail("cannot write " + publicPath);
    }
    if (!options.pemPath.empty() && !WritePem(options.pemPath, *key)) {
        return Fail("cannot write " + options.pemPath);
    }
    if (key->modulus.size() < 119 || key->modulus.size() > 128) {
        std::fprintf(stderr,
                     "vantic-keygen: warning: a %zu-byte modulus is outside the 119 to 128 bytes "
                     "that controllers can use\n",
                     key->modulus.size());
    }
    return 0;
}
