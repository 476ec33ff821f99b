#include "cadhost/sdk/text_metrics.h"

#include "cadhost/dxf/tags/unicode_escape.h"

namespace cadhost {
namespace {

struct Range {
  char32_t lo, hi;
};

constexpr Range kWide[] = {
    {0x1100, 0x115F}, {0x2E80, 0x303E}, {0x3041, 0x33FF}, {0x3400, 0x4DBF},
    {0x4E00, 0x9FFF}, {0xA000, 0xA4CF}, {0xA960, 0xA97F}, {0xAC00, 0xD7A3},
    {0xF900, 0xFAFF}, {0xFE10, 0xFE19}, {0xFE30, 0xFE6F}, {0xFF00, 0xFF60},
    {0xFFE0, 0xFFE6}, {0x1F300, 0x1F64F}, {0x1F900, 0x1F9FF}, {0x20000, 0x2FFFD},
    {0x30000, 0x3FFFD},
};

constexpr Range kZeroWidth[] = {
    {0x0000, 0x001F}, {0x007F, 0x009F}, {0x0300, 0x036F}, {0x1AB0, 0x1AFF},
    {0x1DC0, 0x1DFF}, {0x200B, 0x200F}, {0x2028, 0x202E}, {0x2060, 0x2064},
    {0x20D0, 0x20FF}, {0xFE00, 0xFE0F}, {0xFE20, 0xFE2F}, {0xFEFF, 0xFEFF},
};

template <std::size_t N>
bool InRanges(const Range (&ranges)[N], char32_t c) {
  for (const Range& r : ranges)
    if (c >= r.lo && c <= r.hi) return true;
  return false;
}

// Decodes one UTF-8 sequence at text[i]; malformed bytes give U+FFFD and advance by one.
char32_t NextCodePoint(std::string_view text, std::size_t& i) {
  const auto b0 = static_cast<unsigned char>(text[i]);
  int len = b0 < 0x80 ? 1 : (b0 >> 5) == 6 ? 2 : (b0 >> 4) == 14 ? 3 : (b0 >> 3) == 30 ? 4 : 0;
  if (len == 0 || i + len > text.size()) {
    ++i;
    return 0xFFFD;
  }
  char32_t c = len == 1 ? b0 : len == 2 ? (b0 & 0x1F) : len == 3 ? (b0 & 0x0F) : (b0 & 0x07);
  for (int k = 1; k < len; ++k) {
    const auto b = static_cast<unsigned char>(text[i + k]);
    if ((b >> 6) != 2) {
      ++i;
      return 0xFFFD;
    }
    c = (c << 6) | (b & 0x3F);
  }
  i += len;
  return c;
}

}  // namespace

bool IsWideCharacter(char32_t c) { return InRanges(kWide, c); }

double CharAdvanceRatio(char32_t c) {
  if (c < 0x80) return c < 0x20 || c == 0x7F ? 0.0 : 0.5;  // the ranges below, for ASCII
  if (InRanges(kZeroWidth, c)) return 0.0;
  return IsWideCharacter(c) ? 1.0 : 0.5;
}

// Calls emit(c) for each displayed character of `text` (see the header).
template <typename Emit>
void ForEachDisplayCharacter(std::string_view text, Emit&& emit) {
  std::size_t i = 0;
  while (i < text.size()) {
    if (text.compare(i, 2, "%%") == 0 && i + 2 < text.size()) {
      const char k = text[i + 2];
      switch (k) {
        case 'd': case 'D': emit(U'\u00B0'); i += 3; continue;
        case 'p': case 'P': emit(U'\u00B1'); i += 3; continue;
        case 'c': case 'C': emit(U'\u2205'); i += 3; continue;
        case '%': emit(U'%'); i += 3; continue;
        case 'u': case 'U': case 'o': case 'O': i += 3; continue;
        default: break;
      }
      if (k >= '0' && k <= '9') {
        std::size_t j = i + 2;
        char32_t code = 0;
        while (j < text.size() && j < i + 5 && text[j] >= '0' && text[j] <= '9')
          code = code * 10 + static_cast<char32_t>(text[j++] - '0');
        emit(code);
        i = j;
        continue;
      }
    }
    // "\U+0000" is kept as written where a drawing holds it (a NUL ends texts): shown as is.
    if (char32_t code = 0; dxf::ReadUnicodeEscape(text, i, code) && code != 0) {
      emit(code);
      i += 7;
      continue;
    }
    emit(NextCodePoint(text, i));
  }
}

std::u32string DisplayCharacters(std::string_view text) {
  std::u32string out;
  out.reserve(text.size());
  ForEachDisplayCharacter(text, [&](char32_t c) { out += c; });
  return out;
}

double TextAdvanceRatio(std::string_view text) {
  double sum = 0.0;
  ForEachDisplayCharacter(text, [&](char32_t c) { sum += CharAdvanceRatio(c); });
  return sum;
}

double TextAdvance(std::string_view text, double height, double widthFactor) {
  return height * widthFactor * TextAdvanceRatio(text);
}

}  // namespace cadhost
