// Any bytes as the login block and record the server reads: the cipher
// text it takes lies inside the block, names read stop at their field, and
// a record the controller builds reads back to the same fields.

#include <algorithm>

#include "fuzz/fuzz_check.h"
#include "fuzz/fuzz_input.h"
#include "net/login_block.h"
#include "server/wire.h"

namespace {

void CheckRawBytes(const std::uint8_t* data, std::size_t size) {
    using namespace vantic;
    std::array<std::uint8_t, kLoginBlockSize> block{};
    std::copy_n(data, std::min(size, block.size()), block.begin());
    if (const auto cipher = server::LoginCipherText(block)) {
        FUZZ_CHECK(!cipher->empty() && cipher->size() <= server::kMaxCipherSize);
        FUZZ_CHECK(cipher->data() == block.data() + 1);
    }
    if (const auto record = server::ParseLoginRecord(std::span(data, size))) {
        FUZZ_CHECK(size == kLoginRecordSize);
        FUZZ_CHECK(record->login.size() < kLoginFieldSize &&
                   record->password.size() < kLoginFieldSize);
    }
}

void CheckBuiltRecord(std::string_view text) {
    using namespace vantic;
    const auto [name, password] = FuzzTwoTexts(text);
    LoginNonce nonce{};
    std::copy_n(text.begin(), std::min(text.size(), nonce.size()), nonce.begin());
    const std::int32_t unit = static_cast<std::int32_t>(text.size()) - 1;
    const auto built = BuildLoginRecord(ServerCommand::GetInstructionFile, unit, std::nullopt, name,
                                        password, nonce);
    const bool fits = LoginFieldsFit(name, password) && name.find('\0') == std::string_view::npos &&
                      password.find('\0') == std::string_view::npos;
    if (!built) {
        FUZZ_CHECK(!LoginFieldsFit(name, password));
        return;
    }
    const auto record = server::ParseLoginRecord(*built);
    FUZZ_CHECK(record.has_value());
    FUZZ_CHECK(record->unit == unit && record->nonce == nonce);
    FUZZ_CHECK(record->command == static_cast<std::int32_t>(ServerCommand::GetInstructionFile));
    if (fits) {
        FUZZ_CHECK(record->login == name && record->password == password);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    CheckRawBytes(data, size);
    CheckBuiltRecord(FuzzText(data, size));
    return 0;
}
