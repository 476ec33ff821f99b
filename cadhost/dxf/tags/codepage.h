#pragma once
// Text of drawing files into UTF-8: code pages of files before R2007 (through iconv) and the
// \U+XXXX and \M+nXXXX escapes of every version.

#include <string>
#include <string_view>

namespace cadhost::dxf {

// The iconv name of a $DWGCODEPAGE value ("ANSI_936" -> "CP936"); "" when unknown.
std::string IconvNameOf(std::string_view dwgCodepage);
bool IsValidUtf8(std::string_view text);
// Appends code point `c` as UTF-8.
void AppendUtf8(std::string& out, char32_t c);

// Decodes string values of one file. Not copyable: it holds an iconv descriptor.
class TextDecoder {
 public:
  // `iconvName` "" or "UTF-8" means the file is UTF-8.
  explicit TextDecoder(const std::string& iconvName);
  ~TextDecoder();
  TextDecoder(const TextDecoder&) = delete;
  TextDecoder& operator=(const TextDecoder&) = delete;

  // The value in UTF-8 with escapes resolved. Bytes that do not decode become U+FFFD and set
  // `lossy`.
  std::string decode(std::string_view raw, bool& lossy);
  // False when iconv does not know the code page asked for (the decoder then takes UTF-8).
  bool ok() const { return m_ok; }

 private:
  std::string convert(std::string_view raw, bool& lossy);
  void* m_cd = nullptr;  // iconv_t, or null for UTF-8 files
  bool m_ok = true;
};

// Resolves \U+XXXX and \M+nXXXX in UTF-8 text; a backslash written twice stays as it is, and
// so do escapes of surrogates and of NUL ("\U+0000"), which no text may hold.
std::string ResolveEscapes(std::string_view text);

}  // namespace cadhost::dxf
