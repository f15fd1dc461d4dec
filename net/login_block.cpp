#include "net/login_block.h"

#include <algorithm>

#include "net/rsa.h"
#include "net/session.h"

namespace vantic {
namespace {

constexpr std::size_t kDigestOffset = 12;
constexpr std::size_t kNameOffset = 28;
constexpr std::size_t kPasswordOffset = 52;
constexpr std::size_t kNonceOffset = 76;
constexpr std::size_t kKeyOffset = kLoginHeaderSize;
// The ciphertext has to fit the block after its length byte.
constexpr std::size_t kMaxCiphertext = kLoginBlockSize - 1;

void PutWord(LoginRecord& record, std::size_t offset, std::uint32_t value) {
    record[offset] = static_cast<std::uint8_t>(value >> 24);
    record[offset + 1] = static_cast<std::uint8_t>(value >> 16);
    record[offset + 2] = static_cast<std::uint8_t>(value >> 8);
    record[offset + 3] = static_cast<std::uint8_t>(value);
}

// The text and its NUL; the rest of the field stays zero.
void PutText(LoginRecord& record, std::size_t offset, std::string_view text) {
    std::copy(text.begin(), text.end(), record.begin() + offset);
}

}  // namespace

bool LoginFieldsFit(std::string_view loginName, std::string_view password) {
    return loginName.size() < kLoginFieldSize && password.size() < kLoginFieldSize;
}

std::optional<LoginRecord> BuildLoginRecord(ServerCommand command, std::int32_t unit,
                                            const std::optional<Md5Digest>& digest,
                                            std::string_view loginName, std::string_view password,
                                            const LoginNonce& nonce) {
    if (!LoginFieldsFit(loginName, password)) {
        return std::nullopt;
    }
    LoginRecord record{};
    PutWord(record, 0, static_cast<std::uint32_t>(command));
    PutWord(record, 4, static_cast<std::uint32_t>(unit));
    PutWord(record, 8, 0);
    if (digest) {
        std::copy(digest->begin(), digest->end(), record.begin() + kDigestOffset);
    }
    PutText(record, kNameOffset, loginName);
    PutText(record, kPasswordOffset, password);
    std::copy(nonce.begin(), nonce.end(), record.begin() + kNonceOffset);
    return record;
}

std::optional<SealedLogin> SealLogin(LoginRecord record, const std::string& keyFilePath) {
    std::optional<Bytes> header = RsaSeal(ByteView(record.data(), kLoginHeaderSize), keyFilePath);
    if (!header || header->size() < std::tuple_size_v<AesKey>) {
        return std::nullopt;
    }
    SealedLogin sealed;
    std::copy_n(header->begin(), sealed.sessionKey.size(), sealed.sessionKey.begin());
    std::copy(sealed.sessionKey.begin(), sealed.sessionKey.end(), record.begin() + kKeyOffset);
    std::optional<Bytes> ciphertext = RsaSeal(record, keyFilePath);
    if (!ciphertext || ciphertext->size() > kMaxCiphertext) {
        return std::nullopt;
    }
    sealed.block[0] = static_cast<std::uint8_t>(ciphertext->size());
    std::copy(ciphertext->begin(), ciphertext->end(), sealed.block.begin() + 1);
    return sealed;
}

std::optional<AesKey> SendLogin(const Socket& socket, const ServerAccess& access,
                                ServerCommand command, std::int32_t unit,
                                const std::optional<Md5Digest>& digest) {
    if (!LoginFieldsFit(access.loginName, access.password)) {
        return std::nullopt;
    }
    const milliseconds limit = access.limits.piece;
    LoginNonce nonce;
    if (!RecvExact(socket, nonce, limit)) {
        return std::nullopt;
    }
    std::optional<LoginRecord> record =
        BuildLoginRecord(command, unit, digest, access.loginName, access.password, nonce);
    if (!record) {
        return std::nullopt;
    }
    std::optional<SealedLogin> sealed = SealLogin(*record, access.keyFilePath);
    if (!sealed || !SendExact(socket, sealed->block, limit)) {
        return std::nullopt;
    }
    return sealed->sessionKey;
}

}  // namespace vantic
