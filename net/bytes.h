#pragma once

#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

namespace vantic {

// An owned run of bytes, and a read-only view of one.
using Bytes = std::vector<std::uint8_t>;
using ByteView = std::span<const std::uint8_t>;

// Views 8-bit text as bytes, unchanged.
inline ByteView AsBytes(std::string_view text) {
    return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

}  // namespace vantic
