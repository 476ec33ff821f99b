#include "cadhost/dxf/tags/codepage.h"

#include <iconv.h>

#include <cerrno>
#include <cstring>

#include "cadhost/dxf/tags/unicode_escape.h"

namespace cadhost::dxf {
namespace {

int Hex(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// Converts with iconv; undecodable bytes become U+FFFD.
std::string IconvConvert(iconv_t cd, std::string_view raw, bool& lossy) {
  std::string out;
  out.resize(raw.size() * 4 + 8);
  char* in = const_cast<char*>(raw.data());
  std::size_t inLeft = raw.size();
  char* dst = out.data();
  std::size_t outLeft = out.size();
  iconv(cd, nullptr, nullptr, nullptr, nullptr);
  while (inLeft > 0) {
    if (iconv(cd, &in, &inLeft, &dst, &outLeft) != static_cast<std::size_t>(-1)) break;
    if (errno == E2BIG) break;  // cannot happen: four bytes per input byte suffice
    lossy = true;
    ++in;
    --inLeft;
    if (outLeft >= 3) {
      std::memcpy(dst, "\xEF\xBF\xBD", 3);
      dst += 3;
      outLeft -= 3;
    }
  }
  out.resize(out.size() - outLeft);
  return out;
}

}  // namespace

std::string IconvNameOf(std::string_view cp) {
  std::string u(cp);
  for (char& c : u) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  if (u == "UTF8" || u == "UTF-8") return "UTF-8";
  if (u.rfind("ANSI_", 0) == 0 && u.size() > 5) return "CP" + u.substr(5);
  if (u.rfind("DOS", 0) == 0 && u.size() > 3) return "CP" + u.substr(3);
  if (u == "BIG5") return "CP950";
  if (u == "GB2312") return "CP936";
  if (u.rfind("ISO8859-", 0) == 0) return "ISO-8859-" + u.substr(8);
  return "";
}

bool IsValidUtf8(std::string_view s) {
  std::size_t i = 0;
  while (i < s.size()) {
    const auto b = static_cast<unsigned char>(s[i]);
    const int len = b < 0x80 ? 1 : (b >> 5) == 6 ? 2 : (b >> 4) == 14 ? 3 : (b >> 3) == 30 ? 4 : 0;
    if (len == 0 || i + len > s.size()) return false;
    for (int k = 1; k < len; ++k)
      if ((static_cast<unsigned char>(s[i + k]) >> 6) != 2) return false;
    i += len;
  }
  return true;
}

void AppendUtf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (c >> 18));
    out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

TextDecoder::TextDecoder(const std::string& iconvName) {
  if (iconvName.empty() || iconvName == "UTF-8") return;
  iconv_t cd = iconv_open("UTF-8", iconvName.c_str());
  if (cd != reinterpret_cast<iconv_t>(-1)) m_cd = cd;
  else m_ok = false;
}

TextDecoder::~TextDecoder() {
  if (m_cd != nullptr) iconv_close(static_cast<iconv_t>(m_cd));
}

std::string TextDecoder::convert(std::string_view raw, bool& lossy) {
  if (m_cd != nullptr) return IconvConvert(static_cast<iconv_t>(m_cd), raw, lossy);
  if (IsValidUtf8(raw)) return std::string(raw);
  // A UTF-8 file with stray bytes: keep what decodes, mark the rest.
  std::string out;
  std::size_t i = 0;
  while (i < raw.size()) {
    std::size_t j = i + 1;
    while (j <= raw.size() && j - i <= 4 && !IsValidUtf8(raw.substr(i, j - i))) ++j;
    if (j <= raw.size() && j - i <= 4) {
      out.append(raw.substr(i, j - i));
      i = j;
    } else {
      out += "\xEF\xBF\xBD";
      lossy = true;
      ++i;
    }
  }
  return out;
}

std::string TextDecoder::decode(std::string_view raw, bool& lossy) {
  bool plain = true;
  for (char c : raw)
    if (static_cast<unsigned char>(c) >= 0x80 || c == '\\' || c == '\0') {
      plain = false;
      break;
    }
  if (plain) return std::string(raw);
  std::string out = ResolveEscapes(convert(raw, lossy));
  // A NUL byte written into the file stays visible as its escape, like "\U+0000" itself.
  for (std::size_t at = out.find('\0'); at != std::string::npos; at = out.find('\0', at + 7))
    out.replace(at, 1, "\\U+0000");
  return out;
}

std::string ResolveEscapes(std::string_view s) {
  if (s.find('\\') == std::string_view::npos) return std::string(s);
  std::string out;
  out.reserve(s.size());
  for (std::size_t i = 0; i < s.size();) {
    if (s[i] != '\\') {
      out += s[i++];
      continue;
    }
    if (i + 1 < s.size() && s[i + 1] == '\\') {  // an escaped backslash
      out.append("\\\\");
      i += 2;
      continue;
    }
    // "\U+0000" stays as written: a NUL would end the text wherever it is used as a C string,
    // cutting it without a trace.
    if (char32_t c = 0; ReadUnicodeEscape(s, i, c) && c != 0 && !(c >= 0xD800 && c <= 0xDFFF)) {
      AppendUtf8(out, c);
      i += 7;
      continue;
    }
    if (s.compare(i, 3, "\\M+") == 0 && i + 8 <= s.size()) {
      static const char* const kPages[] = {"", "CP932", "CP950", "CP949", "JOHAB", "CP936"};
      const int n = s[i + 3] - '0';
      int bytes[2] = {Hex(s[i + 4]) * 16 + Hex(s[i + 5]), Hex(s[i + 6]) * 16 + Hex(s[i + 7])};
      if (n >= 1 && n <= 5 && Hex(s[i + 4]) >= 0 && Hex(s[i + 5]) >= 0 && Hex(s[i + 6]) >= 0 &&
          Hex(s[i + 7]) >= 0) {
        const char pair[2] = {static_cast<char>(bytes[0]), static_cast<char>(bytes[1])};
        iconv_t cd = iconv_open("UTF-8", kPages[n]);
        if (cd != reinterpret_cast<iconv_t>(-1)) {
          bool lossy = false;
          out += IconvConvert(cd, std::string_view(pair, 2), lossy);
          iconv_close(cd);
          i += 8;
          continue;
        }
      }
    }
    out += s[i++];
  }
  return out;
}

}  // namespace cadhost::dxf
