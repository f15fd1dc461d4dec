#pragma once

// The program's texts are 8-bit code page 1252; Qt's are Unicode. These
// conversions are exact inverses for every byte, so text shown in a widget
// and read back comes out unchanged. Paths use the file system's encoding.

#include <QString>
#include <string>
#include <string_view>

namespace vantic {

[[nodiscard]] QString FromText(std::string_view text);
// Characters outside code page 1252 become "?".
[[nodiscard]] std::string ToText(const QString& text);

[[nodiscard]] QString FromPath(const std::string& path);
[[nodiscard]] std::string ToPath(const QString& path);

}  // namespace vantic
