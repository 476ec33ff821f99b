#include "excel/xml_part.h"

namespace vex::excel {

ResultOr<XmlPart> ReadXmlPart(ZipArchive& zip, std::string_view part) {
  ResultOr<std::string> bytes = zip.Read(part);
  if (!bytes) return bytes.result();
  XmlPart out;
  const pugi::xml_parse_result r =
      out.doc->load_buffer(bytes->data(), bytes->size(), pugi::parse_default | pugi::parse_ws_pcdata_single,
                           pugi::encoding_utf8);
  if (!r) {
    InputPosition where;
    where.offset = r.offset;
    where.field = std::string(part);
    return Result(ErrorCode::kMalformed,
                  "the part \"" + std::string(part) + "\" is not well-formed XML (" + r.description() + ")", where);
  }
  if (!out.root()) return Result(ErrorCode::kMalformed, "the part \"" + std::string(part) + "\" is empty");
  return out;
}

pugi::xml_node Child(const pugi::xml_node& n, std::string_view local) {
  for (pugi::xml_node c = n.first_child(); c; c = c.next_sibling())
    if (c.type() == pugi::node_element && Is(c, local)) return c;
  return {};
}

pugi::xml_attribute Attr(const pugi::xml_node& n, std::string_view local) {
  for (pugi::xml_attribute a = n.first_attribute(); a; a = a.next_attribute())
    if (LocalName(a.name()) == local) return a;
  return {};
}

namespace {

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

void AppendUtf8(std::string& out, unsigned cp) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

}  // namespace

std::string DecodeEscapes(std::string_view text) {
  if (text.find("_x") == std::string_view::npos) return std::string(text);
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '_' && i + 6 < text.size() && text[i + 1] == 'x' && text[i + 6] == '_') {
      unsigned cp = 0;
      bool hex = true;
      for (std::size_t k = 2; k < 6; ++k) {
        const int d = HexDigit(text[i + k]);
        if (d < 0) hex = false;
        cp = cp * 16 + static_cast<unsigned>(d < 0 ? 0 : d);
      }
      if (hex) {
        AppendUtf8(out, cp);
        i += 6;
        continue;
      }
    }
    out += text[i];
  }
  return out;
}

}  // namespace vex::excel
