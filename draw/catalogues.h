#pragma once
// The font files and linetypes the settings dialog offers, gathered once at load.

#include <string>
#include <string_view>
#include <vector>

namespace vex {

class MessageSink;

struct FontCatalogue {
  std::vector<std::string> textFonts;  // shape font file names
  std::vector<std::string> bigFonts;   // big font file names (their first line says "bigfont")
};

struct LinetypeEntry {
  std::string name;
  std::string description;
  bool operator==(const LinetypeEntry&) const = default;
};

struct LinetypeCatalogue {
  std::vector<LinetypeEntry> entries;  // "CONTINUOUS" first
};

// Fills the catalogue from the "*.shx" files of `fontFolder` (names longer than 4 bytes
// ending in ".shx" or ".SHX", in file-name order), each found again through the host's file
// search; a file it cannot find is reported ("Could not find file %s.\n") and ends the scan
// with false, keeping what was found so far. A file whose first line holds "bigfont" is a big
// font; so is one that cannot be opened.
bool LoadFontLists(FontCatalogue& fonts, const std::string& fontFolder, MessageSink& sink);

// Fills the catalogue from "acadiso.lin" as the host's file search finds it: "CONTINUOUS"
// first, then every "*NAME,description" line. False with "Could not find file %s.\n" or
// "Could not open file %s.\n" when the file cannot be had.
bool LoadLinetypeList(LinetypeCatalogue& linetypes, MessageSink& sink);

// The linetype definitions of a .lin file's text: lines with a '*' before their first ','
// give the name between them and the description after the ','.
std::vector<LinetypeEntry> ParseLinetypeNames(std::string_view linFile);

// The description of "CONTINUOUS": 39 underscores.
inline const std::string kContinuousDescription(39, '_');

}  // namespace vex
