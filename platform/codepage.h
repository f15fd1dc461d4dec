#pragma once

// Code page 1252, the program's 8-bit text, and Unicode.

namespace vantic {

// The Unicode character of a byte. The five bytes 1252 leaves unassigned
// map to the control characters of the same value, so the mapping is
// one-to-one.
[[nodiscard]] char32_t Cp1252ToUnicode(unsigned char byte);
// The byte of a character, or '?' when code page 1252 has none.
[[nodiscard]] char UnicodeToCp1252(char32_t c);

}  // namespace vantic
