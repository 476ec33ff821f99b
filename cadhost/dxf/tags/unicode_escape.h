#pragma once
// The \U+XXXX escape of drawing-file text, shared by text measuring and file decoding.

#include <string_view>

namespace cadhost::dxf {

// Reads "\U+XXXX" (four hexadecimal digits) at text[i] into `c`; false when there is none.
inline bool ReadUnicodeEscape(std::string_view text, std::size_t i, char32_t& c) {
  if (text.compare(i, 3, "\\U+") != 0 || i + 7 > text.size()) return false;
  c = 0;
  for (std::size_t k = i + 3; k < i + 7; ++k) {
    const char h = text[k];
    const int v = h >= '0' && h <= '9' ? h - '0'
                  : h >= 'a' && h <= 'f' ? h - 'a' + 10
                  : h >= 'A' && h <= 'F' ? h - 'A' + 10
                                         : -1;
    if (v < 0) return false;
    c = c * 16 + static_cast<char32_t>(v);
  }
  return true;
}

}  // namespace cadhost::dxf
