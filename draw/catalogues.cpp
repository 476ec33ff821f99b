#include "draw/catalogues.h"

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "cadhost/sdk/acedads.h"
#include "cadhost/sdk/cadhost.h"
#include "platform/atomic_file.h"
#include "platform/message_sink.h"

namespace vex {

namespace fs = std::filesystem;

bool LoadFontLists(FontCatalogue& fonts, const std::string& fontFolder, MessageSink& sink) {
  fonts.textFonts.clear();
  fonts.bigFonts.clear();
  std::vector<std::string> names;
  std::error_code ec;
  for (fs::directory_iterator it(fontFolder, ec), end; !ec && it != end; it.increment(ec)) {
    if (it->is_directory(ec)) continue;
    const std::string name = it->path().filename().string();
    if (name.size() > 4 && (name.ends_with(".shx") || name.ends_with(".SHX"))) names.push_back(name);
  }
  std::sort(names.begin(), names.end());
  for (const std::string& name : names) {
    std::string found;
    if (acedFindFile(name.c_str(), found) != RTNORM) {
      sink.Print("Could not find file " + name + ".\n");
      return false;
    }
    std::ifstream in(found, std::ios::binary);
    std::string first;
    if (!in || !std::getline(in, first) || first.find("bigfont") != std::string::npos)
      fonts.bigFonts.push_back(name);
    else
      fonts.textFonts.push_back(name);
  }
  return true;
}

std::vector<LinetypeEntry> ParseLinetypeNames(std::string_view text) {
  std::vector<LinetypeEntry> out;
  while (!text.empty()) {
    const auto nl = text.find('\n');
    std::string_view line = text.substr(0, nl);
    text.remove_prefix(nl == std::string_view::npos ? text.size() : nl + 1);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    const auto comma = line.find(',');
    const auto star = line.find('*');
    if (star == std::string_view::npos || comma == std::string_view::npos || star > comma) continue;
    out.push_back({std::string(line.substr(star + 1, comma - star - 1)), std::string(line.substr(comma + 1))});
  }
  return out;
}

bool LoadLinetypeList(LinetypeCatalogue& linetypes, MessageSink& sink) {
  linetypes.entries.clear();
  std::string path;
  if (acedFindFile("acadiso.lin", path) != RTNORM) {
    sink.Print("Could not find file acadiso.lin.\n");
    return false;
  }
  linetypes.entries.push_back({"CONTINUOUS", kContinuousDescription});
  std::string text;
  if (!platform::ReadWholeFile(path, text, std::size_t(16) << 20)) {
    sink.Print("Could not open file " + path + ".\n");
    return false;
  }
  for (auto& e : ParseLinetypeNames(text)) linetypes.entries.push_back(std::move(e));
  return true;
}

}  // namespace vex
