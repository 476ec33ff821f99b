#pragma once
// The drawing-file reader's state, shared by the files that read the sections.

#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "cadhost/db/database_impl.h"
#include "cadhost/dxf/entity_parse.h"
#include "cadhost/dxf/tags/codepage.h"
#include "cadhost/dxf/tags/dxf_tags.h"

namespace cadhost::dxfread {

using dxf::FormatError;
using dxf::RawTag;

// Groups of the common part of an entity (layer, linetype, colour, ...).
bool IsCommonCode(int code);
// The point of groups code, code + 10, code + 20 of an object's own part.
AcGePoint3d PointOf(const Split& s, int code);
// A table's object: the modelled ones by name, the others kept as they are.
AcDbSymbolTable* TableObject(DatabaseImpl& db, const std::string& name, AcDbHandle handle);

// Reads one file into a store. Every method throws FormatError at the first fault.
class Reader : public ParseContext {
 public:
  Reader(std::string_view text, DatabaseImpl& db, DrawingFileReport& report)
      : m_in(text), m_text(text), m_db(db), m_report(report) {
    modern = false;
  }

  void run();

 private:
  // ---- groups
  bool next(RawTag& t) { return m_in.next(t); }
  RawTag expect(int code, const char* what) {
    RawTag t;
    if (!next(t)) throw FormatError(m_in.line(), std::string("the file ends where ") + what + " was expected");
    if (t.code != code)
      throw FormatError(t.line, std::string("expected ") + what + ", found group " + std::to_string(t.code));
    return t;
  }
  // The groups of one entity or record after its "0 TYPE" group, up to the next group 0.
  void collect(std::vector<RawTag>& tags) {
    tags.clear();
    RawTag t;
    while (next(t)) {
      if (t.code == 0) {
        m_in.unread();
        return;
      }
      if (tags.size() >= kMaxGroupsPerObject)
        throw FormatError(t.line, "an object has more than " + std::to_string(kMaxGroupsPerObject) + " groups");
      tags.push_back(t);
    }
    throw FormatError(m_in.line(), "the file ends inside an object (truncated?)");
  }
  std::string text(const RawTag& t) override {
    dxf::ValueType type = dxf::ValueType::kString;
    dxf::TypeOfCode(t.code, type);
    if (type != dxf::ValueType::kString) {
      std::string_view v = t.value;
      while (!v.empty() && v.front() == ' ') v.remove_prefix(1);
      while (!v.empty() && v.back() == ' ') v.remove_suffix(1);
      return std::string(v);
    }
    bool lossy = false;
    std::string s = m_decoder->decode(t.value, lossy);
    if (lossy && !m_warnedLossy) {
      m_warnedLossy = true;
      warn(t.line, "text that does not decode in the file's code page was replaced by U+FFFD");
    }
    return s;
  }
  DxfTag tag(const RawTag& t) { return {t.code, text(t)}; }
  void warn(long line, const std::string& what) override {
    if (m_report.warnings.size() < kMaxWarnings)
      m_report.warnings.push_back("line " + std::to_string(line) + ": " + what);
  }

  // ---- sections
  void readHeader();
  void readTables();
  void readTable(const RawTag& nameTag);
  void readBlocks();
  void readEntities(AcDbObjectId block, const char* endType);
  void readObjects();
  void keepSection(const std::string& name);
  void finish();

  // ---- objects
  // Sorts an object's groups. Without class markers (R12) the groups of an entity's common
  // part are known by their codes; records and objects have no such part.
  Split split(const RawTag& typeTag, const std::vector<RawTag>& tags, bool entity = true);
  void applyCommon(AcDbEntity& e, const Split& s);
  bool readEntity(const RawTag& typeTag, AcDbObjectId defaultOwner, bool inBlock);
  AcDbObjectId style(const std::string& name, long line) override {
    return recordFor(&DatabaseImpl::styleTable, name, line, "text style");
  }
  AcDbObjectId block(const std::string& name, long line) override;
  void readFollowers(std::vector<RawFollower>& out, bool& converted, const std::string& parentType,
                     Split& parent);
  // The record of that name in one of the modelled tables, added (with a warning) when
  // missing; the standard tables are made first when the file lacks them.
  AcDbObjectId recordFor(AcDbObjectId DatabaseImpl::*table, const std::string& name, long line,
                         const char* kind);

  static constexpr std::size_t kMaxGroupsPerObject = 4'000'000;
  static constexpr std::size_t kMaxWarnings = 200;

  dxf::TagReader m_in;
  std::string_view m_text;
  DatabaseImpl& m_db;
  DrawingFileReport& m_report;
  std::unique_ptr<dxf::TextDecoder> m_decoder;
  std::string m_version = "AC1009";
  bool m_modern = false;
  bool m_warnedLossy = false;
  std::vector<RawTag> m_tags;
  // References resolved when the tables are complete.
  std::vector<std::pair<AcDbObjectId, std::string>> m_layerLinetypes;
  std::vector<std::tuple<AcDbObjectId, int, std::uint64_t>> m_dashStyles;
  std::vector<std::pair<AcDbObjectId, std::uint64_t>> m_objectOwners;
  std::vector<std::pair<std::string, TagList>> m_headerRefs;
  std::unordered_map<AcDbObjectId, long> m_undefinedBlocks;
};

}  // namespace cadhost::dxfread
