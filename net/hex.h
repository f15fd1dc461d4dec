#pragma once

// Hexadecimal text of bytes: content names of media, colours.

#include <string>
#include <string_view>

#include "net/bytes.h"

namespace vantic {

// Two lower-case digits per byte, high nibble first.
[[nodiscard]] std::string HexEncode(ByteView bytes);

// Reads pairs of digits (either case) into bytes; any other character
// counts as 0, and an odd last digit becomes the high nibble of a final
// byte. The result has (length + 1) / 2 bytes.
[[nodiscard]] Bytes HexDecode(std::string_view text);

}  // namespace vantic
