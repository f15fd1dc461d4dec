#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <utility>

// The fuzzer's bytes as text, and split at the first zero byte into two
// texts for targets that read two inputs.
inline std::string_view FuzzText(const std::uint8_t* data, std::size_t size) {
    return {reinterpret_cast<const char*>(data), size};
}

inline std::pair<std::string_view, std::string_view> FuzzTwoTexts(std::string_view text) {
    const std::size_t cut = text.find('\0');
    if (cut == std::string_view::npos) {
        return {text, {}};
    }
    return {text.substr(0, cut), text.substr(cut + 1)};
}
