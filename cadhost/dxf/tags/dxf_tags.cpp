#include "cadhost/dxf/tags/dxf_tags.h"

#include <charconv>
#include <cmath>
#include <cstdio>

namespace cadhost::dxf {
namespace {

std::string_view Trim(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
  return s;
}

std::string Shown(std::string_view s) {
  std::string out;
  for (char c : s.substr(0, 40)) {
    const auto u = static_cast<unsigned char>(c);
    out += u < 0x20 || u == 0x7F ? '?' : c;
  }
  if (s.size() > 40) out += "...";
  return out;
}

[[noreturn]] void Bad(const RawTag& t, const char* what) {
  throw FormatError(t.line + 1, "group " + std::to_string(t.code) + " expects " + what +
                                    ", found \"" + Shown(t.value) + "\"");
}

}  // namespace

bool TypeOfCode(int c, ValueType& t) {
  using V = ValueType;
  // Group 5 is the handle of most objects but a block name in dimension styles: checked
  // where it is used as a handle.
  if (c == 105) t = V::kHandle;
  else if (c >= 0 && c <= 9) t = V::kString;
  else if (c >= 10 && c <= 59) t = V::kDouble;
  else if (c >= 60 && c <= 99) t = V::kInt;
  else if (c == 100 || c == 101 || c == 102) t = V::kString;  // 101: an embedded object (MTEXT)
  else if (c >= 110 && c <= 149) t = V::kDouble;
  else if (c >= 160 && c <= 179) t = V::kInt;
  else if (c >= 210 && c <= 239) t = V::kDouble;
  else if (c >= 270 && c <= 299) t = V::kInt;
  else if (c >= 300 && c <= 309) t = V::kString;
  else if (c >= 310 && c <= 319) t = V::kBinary;
  else if (c >= 320 && c <= 369) t = V::kHandle;
  else if (c >= 370 && c <= 389) t = V::kInt;
  else if (c >= 390 && c <= 399) t = V::kHandle;
  else if (c >= 400 && c <= 409) t = V::kInt;
  else if (c >= 410 && c <= 419) t = V::kString;
  else if (c >= 420 && c <= 429) t = V::kInt;
  else if (c >= 430 && c <= 439) t = V::kString;
  else if (c >= 440 && c <= 459) t = V::kInt;
  else if (c >= 460 && c <= 469) t = V::kDouble;
  else if (c >= 470 && c <= 479) t = V::kString;
  else if (c == 480 || c == 481) t = V::kHandle;
  else if (c == 999) t = V::kString;
  else if (c == 1004) t = V::kBinary;
  else if (c == 1005) t = V::kHandle;
  else if (c >= 1000 && c <= 1009) t = V::kString;
  else if (c >= 1010 && c <= 1059) t = V::kDouble;
  else if (c >= 1060 && c <= 1071) t = V::kInt;
  else return false;
  return true;
}

TagReader::TagReader(std::string_view text) : m_text(text) {
  // A byte order mark some editors put first is no part of the first group code.
  if (m_text.substr(0, 3) == "\xEF\xBB\xBF") m_pos = 3;
}

bool TagReader::readLine(std::string_view& line) {
  if (m_pos >= m_text.size()) return false;
  const std::size_t end = m_text.find('\n', m_pos);
  const std::size_t stop = end == std::string_view::npos ? m_text.size() : end;
  line = m_text.substr(m_pos, stop - m_pos);
  if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
  m_pos = end == std::string_view::npos ? m_text.size() : end + 1;
  ++m_line;
  return true;
}

void TagReader::unread() { m_hasUnread = true; }

bool TagReader::next(RawTag& tag) {
  if (m_hasUnread) {
    m_hasUnread = false;
    tag = m_last;
    return true;
  }
  for (;;) {
    std::string_view codeLine;
    if (!readLine(codeLine)) return false;
    const long codeLineNo = m_line;
    const std::string_view c = Trim(codeLine);
    int code = 0;
    const auto [p, ec] = std::from_chars(c.data(), c.data() + c.size(), code);
    if (c.empty() || ec != std::errc() || p != c.data() + c.size())
      throw FormatError(codeLineNo, "a group code was expected, found \"" + Shown(codeLine) + "\"");
    ValueType type;
    if (!TypeOfCode(code, type))
      throw FormatError(codeLineNo, "group code " + std::to_string(code) + " is not used in drawing files");
    std::string_view value;
    if (!readLine(value))
      throw FormatError(codeLineNo, "the file ends after group code " + std::to_string(code) +
                                        " without its value");
    tag = RawTag{code, value, codeLineNo};
    switch (type) {
      case ValueType::kDouble:
        tag.number = ToDouble(tag);
        tag.parsed = 'd';
        break;
      case ValueType::kInt:
        tag.integer = ToInt(tag);
        tag.parsed = 'i';
        break;
      case ValueType::kHandle: ToHandle(tag); break;
      case ValueType::kBinary:
        for (char ch : Trim(value))
          if (!std::isxdigit(static_cast<unsigned char>(ch))) Bad(tag, "hexadecimal data");
        break;
      case ValueType::kString: break;
    }
    if (code == 999) continue;  // comments
    m_last = tag;
    return true;
  }
}

double ToDouble(const RawTag& t) {
  if (t.parsed == 'd') return t.number;
  const std::string_view v = Trim(t.value);
  double d = 0.0;
  const auto [p, ec] = std::from_chars(v.data(), v.data() + v.size(), d);
  if (v.empty() || ec != std::errc() || p != v.data() + v.size() || !std::isfinite(d))
    Bad(t, "a number");
  return d;
}

long long ToInt(const RawTag& t) {
  if (t.parsed == 'i') return t.integer;
  std::string_view v = Trim(t.value);
  if (!v.empty() && v.front() == '+') v.remove_prefix(1);
  long long i = 0;
  const auto [p, ec] = std::from_chars(v.data(), v.data() + v.size(), i);
  if (v.empty() || ec != std::errc() || p != v.data() + v.size()) Bad(t, "an integer");
  return i;
}

unsigned long long ToHandle(const RawTag& t) {
  const std::string_view v = Trim(t.value);
  unsigned long long h = 0;
  const auto [p, ec] = std::from_chars(v.data(), v.data() + v.size(), h, 16);
  if (v.empty() || v.size() > 16 || ec != std::errc() || p != v.data() + v.size())
    Bad(t, "a hexadecimal handle");
  return h;
}

void TagWriter::code(int c) {
  // "%3d\n" without printf: a drawing of 100,000 texts writes millions of group codes.
  char buf[16];
  const auto [p, ec] = std::to_chars(buf, buf + sizeof buf, c);
  const std::size_t n = static_cast<std::size_t>(p - buf);
  if (n < 3) m_out.append(3 - n, ' ');
  m_out.append(buf, n);
  m_out += '\n';
}

void TagWriter::str(int c, std::string_view value) {
  code(c);
  // A line break inside a value would end the value early and shift every group after it.
  if (value.find_first_of("\r\n") != std::string_view::npos) {
    for (char ch : value) {
      if (ch == '\n') m_out += "\\U+000A";
      else if (ch == '\r') m_out += "\\U+000D";
      else m_out += ch;
    }
  } else {
    m_out.append(value);
  }
  m_out += '\n';
}

void TagWriter::num(int c, double value) {
  code(c);
  if (value == 0.0 || !std::isfinite(value)) value = 0.0;  // no "-0", never "nan"
  char buf[32];
  const auto [p, ec] = std::to_chars(buf, buf + sizeof buf, value);
  m_out.append(buf, static_cast<std::size_t>(p - buf));
  m_out += '\n';
}

void TagWriter::integer(int c, long long value) {
  code(c);
  char buf[24];
  const auto [p, ec] = std::to_chars(buf, buf + sizeof buf, value);
  m_out.append(buf, static_cast<std::size_t>(p - buf));
  m_out += '\n';
}

void TagWriter::handle(int c, unsigned long long value) {
  code(c);
  char buf[24];
  const auto [p, ec] = std::to_chars(buf, buf + sizeof buf, value, 16);
  for (char* q = buf; q < p; ++q) *q = static_cast<char>(std::toupper(static_cast<unsigned char>(*q)));
  m_out.append(buf, static_cast<std::size_t>(p - buf));
  m_out += '\n';
}

void TagWriter::point(int c, double x, double y, double z) {
  num(c, x);
  num(c + 10, y);
  num(c + 20, z);
}

void TagWriter::point2(int c, double x, double y) {
  num(c, x);
  num(c + 10, y);
}

}  // namespace cadhost::dxf
