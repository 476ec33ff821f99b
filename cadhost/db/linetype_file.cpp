// Loading linetypes from .lin files.

#include <cstdlib>
#include <cstring>

#include "cadhost/db/database_impl.h"
#include "cadhost/dxf/tags/codepage.h"
#include "cadhost/sdk/dbapserv.h"
#include "platform/atomic_file.h"

namespace {

constexpr std::size_t kMaxLinFile = std::size_t(4) << 20;
constexpr int kMaxDashes = 12;

struct Element {
  double length = 0.0;
  std::string text;   // "" for a plain dash
  std::string style;  // style of the text
  double scale = 1.0, rotation = 0.0, x = 0.0, y = 0.0;
  bool absolute = false;
};

struct Definition {
  std::string name;
  std::string comments;
  std::vector<Element> elements;
  bool bad = false;  // malformed pattern
  bool shapes = false;
};

std::string Trim(std::string s) {
  const auto b = s.find_first_not_of(" \t\r");
  const auto e = s.find_last_not_of(" \t\r");
  return b == std::string::npos ? std::string() : s.substr(b, e - b + 1);
}

bool Number(const std::string& s, double& out) {
  const std::string t = Trim(s);
  if (t.empty()) return false;
  char* end = nullptr;
  out = std::strtod(t.c_str(), &end);
  return end == t.c_str() + t.size() && std::isfinite(out);
}

// Splits at commas that are not inside [...] or "...".
std::vector<std::string> Fields(const std::string& line) {
  std::vector<std::string> out(1);
  int depth = 0;
  bool quoted = false;
  for (char c : line) {
    if (c == '"') quoted = !quoted;
    if (!quoted && c == '[') ++depth;
    if (!quoted && c == ']') --depth;
    if (c == ',' && depth == 0 && !quoted) {
      out.emplace_back();
      continue;
    }
    out.back() += c;
  }
  return out;
}

// A complex element: ["TEXT",STYLE,S=..,R=..,A=..,X=..,Y=..] or [SHAPE,FILE,...].
bool ParseComplex(const std::string& field, Element& e, bool& shape) {
  std::string inner = Trim(field);
  if (inner.size() < 2 || inner.front() != '[' || inner.back() != ']') return false;
  inner = inner.substr(1, inner.size() - 2);
  std::vector<std::string> parts = Fields(inner);
  for (std::string& p : parts) p = Trim(p);
  if (parts.size() < 2) return false;
  if (parts[0].size() < 2 || parts[0].front() != '"' || parts[0].back() != '"') {
    shape = true;
    return true;
  }
  e.text = parts[0].substr(1, parts[0].size() - 2);
  e.style = parts[1];
  for (std::size_t i = 2; i < parts.size(); ++i) {
    const auto eq = parts[i].find('=');
    if (eq == std::string::npos) return false;
    const std::string key = Trim(parts[i].substr(0, eq));
    double v = 0.0;
    std::string value = Trim(parts[i].substr(eq + 1));
    if (!value.empty() && (value.back() == 'd' || value.back() == 'D')) value.pop_back();
    if (!Number(value, v)) return false;
    const char k = static_cast<char>(std::toupper(static_cast<unsigned char>(key.empty() ? ' ' : key[0])));
    if (k == 'S') e.scale = v;
    else if (k == 'R' || k == 'U') e.rotation = v * M_PI / 180.0;
    else if (k == 'A') { e.rotation = v * M_PI / 180.0; e.absolute = true; }
    else if (k == 'X') e.x = v;
    else if (k == 'Y') e.y = v;
    else return false;
  }
  return true;
}

std::vector<Definition> ParseLin(const std::string& content) {
  std::vector<Definition> defs;
  std::size_t pos = 0;
  while (pos < content.size()) {
    std::size_t end = content.find('\n', pos);
    if (end == std::string::npos) end = content.size();
    const std::string line = Trim(content.substr(pos, end - pos));
    pos = end + 1;
    if (line.empty() || line[0] == ';') continue;
    if (line[0] == '*') {
      Definition d;
      const auto comma = line.find(',');
      d.name = Trim(line.substr(1, comma == std::string::npos ? std::string::npos : comma - 1));
      if (comma != std::string::npos) d.comments = Trim(line.substr(comma + 1));
      defs.push_back(std::move(d));
      continue;
    }
    if (defs.empty() || !defs.back().elements.empty() || defs.back().bad) continue;
    Definition& d = defs.back();
    std::vector<std::string> fields = Fields(line);
    if (Trim(fields[0]) != "A" && Trim(fields[0]) != "a") {
      d.bad = true;
      continue;
    }
    for (std::size_t i = 1; i < fields.size(); ++i) {
      const std::string f = Trim(fields[i]);
      if (!f.empty() && f[0] == '[') {
        if (d.elements.empty() || !ParseComplex(f, d.elements.back(), d.shapes)) d.bad = true;
        continue;
      }
      Element e;
      if (!Number(f, e.length)) d.bad = true;
      d.elements.push_back(e);
    }
    if (d.elements.empty() || d.elements.size() > kMaxDashes) d.bad = true;
  }
  return defs;
}

}  // namespace

Acad::ErrorStatus AcDbDatabase::loadLineTypeFile(const ACHAR* name, const ACHAR* fileName) {
  if (name == nullptr || fileName == nullptr) return Acad::eNullObjectPointer;
  if (m_impl->linetypeTable.isNull()) return Acad::eNullObjectId;
  std::string path;
  if (acdbHostApplicationServices()->findFile(path, fileName, this) != Acad::eOk)
    return Acad::eFileNotFound;
  std::string content;
  if (!vex::platform::ReadWholeFile(path, content, kMaxLinFile)) return Acad::eFileAccessErr;
  // Linetype files of East Asian hosts are in the system code page.
  if (!cadhost::dxf::IsValidUtf8(content)) {
    cadhost::dxf::TextDecoder decoder("CP936");
    bool lossy = false;
    content = decoder.decode(content, lossy);
  }
  const bool all = std::strcmp(name, "*") == 0;
  const std::string wanted = cadhost::FoldName(name);
  auto& impl = *m_impl;
  auto* table = impl.get<AcDbSymbolTable>(impl.linetypeTable);
  bool found = false;
  Acad::ErrorStatus result = Acad::eOk;
  for (const Definition& d : ParseLin(content)) {
    if (!all && cadhost::FoldName(d.name) != wanted) continue;
    found = true;
    if (d.bad || d.name.empty()) {
      if (!all) return Acad::eBadDxfFile;
      continue;
    }
    if (d.shapes) {
      // Shape elements need the shapes of a compiled font file, which the host cannot read.
      if (!all) return Acad::eNotImplementedYet;
      continue;
    }
    if (!impl.recordId(impl.linetypeTable, d.name).isNull()) {
      if (!all) result = Acad::eDuplicateRecord;
      continue;
    }
    auto record = std::make_unique<AcDbLinetypeTableRecord>();
    if (record->setName(d.name.c_str()) != Acad::eOk) {
      if (!all) return Acad::eInvalidSymbolTableName;
      continue;
    }
    record->setComments(d.comments.c_str());
    record->setNumDashes(static_cast<int>(d.elements.size()));
    for (int i = 0; i < static_cast<int>(d.elements.size()); ++i) {
      const Element& e = d.elements[static_cast<std::size_t>(i)];
      record->setDashLengthAt(i, e.length);
      if (e.text.empty()) continue;
      AcDbObjectId style = impl.recordId(impl.styleTable, e.style);
      if (style.isNull()) style = textstyle();
      record->setTextAt(i, e.text.c_str());
      record->setShapeStyleAt(i, style);
      record->setShapeScaleAt(i, e.scale);
      record->setShapeRotationAt(i, e.rotation);
      record->setShapeOffsetAt(i, AcGeVector2d(e.x, e.y));
      record->setShapeIsUcsOrientedAt(i, e.absolute);
    }
    impl.addRecord(*table, std::move(record));
    if (!all) break;
  }
  if (!found) return Acad::eUndefinedLineType;
  return result;
}
