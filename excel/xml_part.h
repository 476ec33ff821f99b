#pragma once
// Reading the XML parts of a workbook package with pugixml: parse errors become results that
// name the part and the offset, and elements and attributes are found by their local names
// (writers differ in the prefixes they give them).

#include <memory>
#include <string>
#include <string_view>

#include <pugixml.hpp>

#include "excel/zip_archive.h"
#include "platform/result.h"

namespace vex::excel {

// A parsed part.
struct XmlPart {
  std::unique_ptr<pugi::xml_document> doc = std::make_unique<pugi::xml_document>();
  pugi::xml_node root() const { return doc->document_element(); }
};

// Reads and parses a part. kMalformed names the part and the offset of the fault.
ResultOr<XmlPart> ReadXmlPart(ZipArchive& zip, std::string_view part);

// The name without its namespace prefix ("x:sheetData" gives "sheetData").
inline std::string_view LocalName(std::string_view name) {
  const std::size_t colon = name.find(':');
  return colon == std::string_view::npos ? name : name.substr(colon + 1);
}
inline bool Is(const pugi::xml_node& n, std::string_view local) { return LocalName(n.name()) == local; }

// The first child element of that local name (a null node when none).
pugi::xml_node Child(const pugi::xml_node& n, std::string_view local);
// The attribute of that local name ("r:id" for "id"), or a null attribute.
pugi::xml_attribute Attr(const pugi::xml_node& n, std::string_view local);

// Text escapes of the workbook format: "_x000D_" is character 0x0D.
std::string DecodeEscapes(std::string_view text);

}  // namespace vex::excel
