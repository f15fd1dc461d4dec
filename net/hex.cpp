#include "net/hex.h"

namespace vantic {
namespace {

std::uint8_t DigitValue(char c) {
    if (c >= '0' && c <= '9') {
        return static_cast<std::uint8_t>(c - '0');
    }
    if (c >= 'a' && c <= 'f') {
        return static_cast<std::uint8_t>(c - 'a' + 10);
    }
    if (c >= 'A' && c <= 'F') {
        return static_cast<std::uint8_t>(c - 'A' + 10);
    }
    return 0;
}

}  // namespace

std::string HexEncode(ByteView bytes) {
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string text;
    text.reserve(2 * bytes.size());
    for (std::uint8_t byte : bytes) {
        text.push_back(kDigits[byte >> 4]);
        text.push_back(kDigits[byte & 0x0f]);
    }
    return text;
}

Bytes HexDecode(std::string_view text) {
    Bytes bytes((text.size() + 1) / 2, 0);
    for (std::size_t i = 0; i < text.size(); ++i) {
        std::uint8_t nibble = DigitValue(text[i]);
        bytes[i / 2] |= static_cast<std::uint8_t>(i % 2 == 0 ? nibble << 4 : nibble);
    }
    return bytes;
}

}  // namespace vantic
