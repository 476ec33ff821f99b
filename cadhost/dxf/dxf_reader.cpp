#include "cadhost/dxf/dxf_reader.h"

#include <charconv>
#include <cmath>
#include <cstring>
#include <numbers>
#include <unordered_map>

#include "cadhost/db/raw_objects.h"
#include "cadhost/dxf/reader.h"
#include "platform/atomic_file.h"

namespace cadhost {
namespace dxfread {

bool IsCommonCode(int code) {
  switch (code) {
    case 6: case 8: case 48: case 60: case 62: case 67: case 370: case 410: case 420: case 440:
      return true;
    default:
      return false;
  }
}

AcGePoint3d PointOf(const Split& s, int code) {
  AcGePoint3d p;
  for (const RawTag& t : s.body) {
    if (t.code == code) p.x = dxf::ToDouble(t);
    if (t.code == code + 10) p.y = dxf::ToDouble(t);
    if (t.code == code + 20) p.z = dxf::ToDouble(t);
  }
  return p;
}

// The largest handle the file gives an object, so that objects the file gives none (R12
// tables, for instance) get handles above every handle still to come. Malformed groups are
// left for the real reading to report.
std::uint64_t MaxHandleIn(std::string_view text) {
  // A light pass over code and value lines; it only needs to be right for well-formed files,
  // and looks at a value only after the codes 0, 5 and 105.
  std::uint64_t top = 0;
  bool dimstyle = false;
  const char* p = text.data();
  const char* const end = p + text.size();
  auto line = [&](std::string_view& out) {
    if (p >= end) return false;
    const char* nl = static_cast<const char*>(std::memchr(p, '\n', static_cast<std::size_t>(end - p)));
    const char* stop = nl != nullptr ? nl : end;
    out = std::string_view(p, static_cast<std::size_t>(stop - p));
    p = nl != nullptr ? nl + 1 : end;
    return true;
  };
  auto trimmed = [](std::string_view v) {
    while (!v.empty() && (v.back() == '\r' || v.back() == ' ')) v.remove_suffix(1);
    while (!v.empty() && v.front() == ' ') v.remove_prefix(1);
    return v;
  };
  std::string_view code, value;
  while (line(code) && line(value)) {
    code = trimmed(code);
    if (code.size() > 3 || code.empty() || (code.back() != '0' && code.back() != '5')) continue;
    if (code == "0") dimstyle = trimmed(value) == "DIMSTYLE";
    if (code == "105" || (code == "5" && !dimstyle)) {
      value = trimmed(value);
      std::uint64_t h = 0;
      const auto [q, ec] = std::from_chars(value.data(), value.data() + value.size(), h, 16);
      if (ec == std::errc() && q == value.data() + value.size() && h < DatabaseImpl::kMaxHandle)
        top = std::max(top, h);
    }
  }
  return top;
}

void Reader::run() {
  m_decoder = std::make_unique<dxf::TextDecoder>("");
  m_db.reserveHandles(MaxHandleIn(m_text));
  RawTag t;
  bool sawEof = false;
  while (next(t)) {
    if (t.code == 0 && t.value == "EOF") {
      sawEof = true;
      break;
    }
    if (t.code != 0 || t.value != "SECTION")
      throw FormatError(t.line, "expected \"0 SECTION\", found group " + std::to_string(t.code) + " \"" +
                                    std::string(t.value.substr(0, 40)) + "\"");
    const RawTag name = expect(2, "a section name (group 2)");
    if (name.value == "HEADER") readHeader();
    else if (name.value == "TABLES") readTables();
    else if (name.value == "BLOCKS") readBlocks();
    else if (name.value == "ENTITIES") readEntities(AcDbObjectId(), "ENDSEC");
    else if (name.value == "OBJECTS") readObjects();
    else keepSection(std::string(name.value));
  }
  if (!sawEof) throw FormatError(m_in.line(), "the file ends without \"0 EOF\" (truncated?)");
  finish();
}

void Reader::readHeader() {
  RawTag t;
  std::string var;
  TagList value;
  std::vector<std::pair<std::string, std::vector<RawTag>>> vars;
  std::vector<RawTag> current;
  auto flush = [&]() {
    if (!var.empty()) vars.emplace_back(var, current);
    current.clear();
  };
  for (;;) {
    if (!next(t)) throw FormatError(m_in.line(), "the file ends inside the HEADER section");
    if (t.code == 0) {
      if (t.value != "ENDSEC") throw FormatError(t.line, "expected \"0 ENDSEC\" to close the HEADER section");
      break;
    }
    if (t.code == 9) {
      flush();
      var = std::string(t.value);
      continue;
    }
    if (var.empty()) throw FormatError(t.line, "a header value without a variable name (group 9)");
    if (current.size() > 1000) throw FormatError(t.line, "header variable " + var + " has too many groups");
    current.push_back(t);
  }
  flush();
  // The version and code page decide how every other string is decoded.
  for (auto& [name, tags] : vars) {
    if (name == "$ACADVER" && !tags.empty()) m_version = std::string(tags[0].value);
    if (name == "$DWGCODEPAGE" && !tags.empty()) m_db.header.codepage = std::string(tags[0].value);
  }
  m_modern = m_version >= "AC1012";
  modern = m_modern;
  m_db.header.acadver = m_version;
  std::string iconvName = "UTF-8";
  if (m_version < "AC1021") {
    iconvName = dxf::IconvNameOf(m_db.header.codepage);
    if (iconvName.empty()) {
      warn(0, "unknown code page \"" + m_db.header.codepage + "\"; read as ANSI_1252");
      iconvName = "CP1252";
    }
  }
  m_decoder = std::make_unique<dxf::TextDecoder>(iconvName);
  if (!m_decoder->ok()) {
    warn(0, "code page \"" + m_db.header.codepage + "\" is not available; read as ANSI_1252");
    m_decoder = std::make_unique<dxf::TextDecoder>("CP1252");
  }
  HeaderValues& h = m_db.header;
  for (auto& [name, varTags] : vars) {
    const auto& tags = varTags;  // lambdas cannot capture a structured binding before clang 16
    auto num = [&](int code, double& out) {
      for (const RawTag& x : tags)
        if (x.code == code) out = dxf::ToDouble(x);
    };
    auto integer = [&](int& out) {
      for (const RawTag& x : tags)
        if (x.code >= 60 && x.code <= 99) out = static_cast<int>(dxf::ToInt(x));
    };
    if (name == "$ACADVER" || name == "$DWGCODEPAGE") continue;
    if (name == "$HANDSEED") continue;  // recomputed on save
    if (name == "$INSUNITS") { integer(h.insunits); continue; }
    if (name == "$MEASUREMENT") { integer(h.measurement); continue; }
    if (name == "$TILEMODE") { int v = 1; integer(v); h.tilemode = v != 0; continue; }
    if (name == "$TEXTSIZE") { num(40, h.textsize); if (!(h.textsize > 0)) h.textsize = 2.5; continue; }
    if (name == "$LTSCALE") { num(40, h.ltscale); if (!(h.ltscale > 0)) h.ltscale = 1.0; continue; }
    if (name == "$INSBASE") {
      num(10, h.insbase.x);
      num(20, h.insbase.y);
      num(30, h.insbase.z);
      continue;
    }
    // A value is one group or one point (10, 20 and maybe 30); a damaged header holds other
    // shapes, which no program could read back.
    const bool point = (tags.size() == 2 || tags.size() == 3) && tags[0].code == 10 &&
                       tags[1].code == 20 && (tags.size() == 2 || tags[2].code == 30);
    if (tags.size() != 1 && !point) {
      warn(tags.empty() ? 0 : tags[0].line, "header variable " + name + " has a malformed value; left out");
      continue;
    }
    TagList decoded;
    for (const RawTag& x : tags) decoded.push_back(tag(x));
    if (name == "$CLAYER" || name == "$TEXTSTYLE" || name == "$CELTYPE")
      m_headerRefs.emplace_back(name, decoded);
    else
      h.others.emplace_back(name, std::move(decoded));
  }
}

void Reader::keepSection(const std::string& name) {
  RawSection section{name, {}};
  RawTag t;
  for (;;) {
    if (!next(t)) throw FormatError(m_in.line(), "the file ends inside the " + name + " section");
    if (t.code == 0 && t.value == "ENDSEC") break;
    if (t.code == 0 && (t.value == "SECTION" || t.value == "EOF"))
      throw FormatError(t.line, "the " + name + " section is not closed by \"0 ENDSEC\"");
    section.tags.push_back(tag(t));
  }
  m_db.sections.push_back(std::move(section));
}

Split Reader::split(const RawTag& typeTag, const std::vector<RawTag>& tags, bool entity) {
  Split s;
  s.type = std::string(typeTag.value);
  s.line = typeTag.line;
  s.body.reserve(tags.size());
  bool sawMarker = false, inCommon = false, inXdata = false;
  for (std::size_t i = 0; i < tags.size(); ++i) {
    const RawTag& t = tags[i];
    if (inXdata || t.code >= 1000) {
      inXdata = true;
      s.xdata.push_back(tag(t));
      continue;
    }
    if ((t.code == 105 || (t.code == 5 && s.type != "DIMSTYLE")) && s.handle.isNull() &&
        !sawMarker) {
      s.handle = AcDbHandle(dxf::ToHandle(t));
      if (s.handle.value() >= DatabaseImpl::kMaxHandle) {
        warn(t.line, "handle " + s.handle.toString() + " is out of range; a new one was given");
        s.handle = AcDbHandle();
      }
      continue;
    }
    if (t.code == 102 && !t.value.empty() && t.value.front() == '{') {
      s.appData.push_back(tag(t));
      while (++i < tags.size()) {
        s.appData.push_back(tag(tags[i]));
        if (tags[i].code == 102) break;
      }
      if (s.appData.back().code != 102) throw FormatError(t.line, "a \"102 {\" group is not closed");
      continue;
    }
    if (t.code == 330 && !sawMarker && !s.hasOwner) {
      s.owner = dxf::ToHandle(t);
      s.hasOwner = true;
      continue;
    }
    if (t.code == 100) {
      sawMarker = true;
      s.hasMarkers = true;
      inCommon = t.value == "AcDbEntity" || t.value == "AcDbSymbolTableRecord";
      if (!inCommon) s.body.push_back(t);
      continue;
    }
    if (inCommon || (entity && !sawMarker && IsCommonCode(t.code)))
      s.common.push_back(t);
    else
      s.body.push_back(t);
  }
  return s;
}

AcDbObjectId Reader::recordFor(AcDbObjectId DatabaseImpl::*tableSlot, const std::string& name,
                               long line, const char* kind) {
  if ((m_db.*tableSlot).isNull()) m_db.ensureTables();
  const AcDbObjectId table = m_db.*tableSlot;
  AcDbObjectId id = m_db.recordId(table, name);
  if (!id.isNull() || name.empty()) return id;
  // A name the tables lack: add the record so the drawing still says what it said.
  warn(line, std::string(kind) + " \"" + name + "\" is not in its table; added");
  std::unique_ptr<AcDbSymbolTableRecord> r;
  if (table == m_db.layerTable) {
    auto layer = std::make_unique<AcDbLayerTableRecord>();
    layer->setLinetypeObjectId(m_db.continuous);
    r = std::move(layer);
  } else if (table == m_db.linetypeTable) {
    r = std::make_unique<AcDbLinetypeTableRecord>();
  } else if (table == m_db.styleTable) {
    auto style = std::make_unique<AcDbTextStyleTableRecord>();
    style->setFileName("txt");
    r = std::move(style);
  } else {
    return AcDbObjectId();
  }
  ObjectAccess::setName(*r, name);
  return m_db.addRecord(*m_db.get<AcDbSymbolTable>(table), std::move(r));
}

void Reader::applyCommon(AcDbEntity& e, const Split& s) {
  TagList extra;
  AcCmColor color;
  bool hasColor = false;
  for (const RawTag& t : s.common) {
    switch (t.code) {
      case 8: ObjectAccess::setLayer(e, recordFor(&DatabaseImpl::layerTable, text(t), t.line, "layer")); break;
      case 6: ObjectAccess::setLinetype(e, recordFor(&DatabaseImpl::linetypeTable, text(t), t.line, "linetype")); break;
      case 62: {
        const long long c = dxf::ToInt(t);
        if (c >= 0 && c <= 256) {
          color.setColorIndex(static_cast<Adesk::UInt16>(c));
          hasColor = true;
        } else {
          extra.push_back(tag(t));
        }
        break;
      }
      case 420: {
        // The index read before stays as the true colour's fallback.
        const auto rgb = static_cast<std::uint32_t>(dxf::ToInt(t));
        color.setRGB((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF);
        hasColor = true;
        break;
      }
      case 370: {
        const long long w = dxf::ToInt(t);
        if (w >= -3 && w <= 211) ObjectAccess::setLineWeight(e, static_cast<AcDb::LineWeight>(w));
        break;
      }
      case 48: {
        const double v = dxf::ToDouble(t);
        if (v > 0) ObjectAccess::setLinetypeScale(e, v);
        break;
      }
      case 67: break;  // paper space: the owner says it
      default: extra.push_back(tag(t));
    }
  }
  if (hasColor) ObjectAccess::setColor(e, color);
  if (e.layerId().isNull()) ObjectAccess::setLayer(e, recordFor(&DatabaseImpl::layerTable, "0", s.line, "layer"));
  if (e.linetypeId().isNull()) ObjectAccess::setLinetype(e, m_db.byLayer);
  if (s.appData.empty() && extra.empty() && s.xdata.empty()) return;
  DxfExtras& x = ObjectAccess::extras(e);
  x.appData = s.appData;
  x.common = std::move(extra);
  x.xdata = s.xdata;
}

void Reader::readFollowers(std::vector<RawFollower>& out, bool& converted,
                           const std::string& parentType, Split& parent) {
  RawTag t;
  converted = false;
  for (;;) {
    if (!next(t)) throw FormatError(m_in.line(), "the file ends inside the parts of a " + parentType);
    if (t.code != 0) throw FormatError(t.line, "expected group 0");
    if (t.value != "VERTEX" && t.value != "ATTRIB" && t.value != "SEQEND") {
      warn(t.line, parentType + " without SEQEND");
      m_in.unread();
      out.push_back({"SEQEND", AcDbHandle(), {}});
      return;
    }
    collect(m_tags);
    Split s = split(t, m_tags);
    RawFollower f{s.type, s.handle, {}};
    // Followers keep everything after their owner handle, as written.
    for (const DxfTag& a : s.appData) f.tags.push_back(a);
    if (!s.common.empty() && m_modern) f.tags.push_back({100, "AcDbEntity"});
    for (const RawTag& c : s.common) f.tags.push_back(tag(c));
    for (const RawTag& b : s.body) f.tags.push_back(tag(b));
    for (const DxfTag& x : s.xdata) f.tags.push_back(x);
    if (out.size() >= 10'000'000) throw FormatError(t.line, "too many vertices or attributes");
    out.push_back(std::move(f));
    if (s.type == "SEQEND") break;
  }
  (void)parent;
}

bool Reader::readEntity(const RawTag& typeTag, AcDbObjectId defaultOwner, bool inBlock) {
  collect(m_tags);
  Split s = split(typeTag, m_tags);
  const bool hasFollowers =
      s.type == "POLYLINE" ||
      (s.type == "INSERT" && [&] {
        for (const RawTag& b : s.body)
          if (b.code == 66 && dxf::ToInt(b) != 0) return true;
        return false;
      }());
  std::vector<RawFollower> followers;
  if (hasFollowers) {
    bool converted = false;
    readFollowers(followers, converted, s.type, s);
    s.followers = &followers;
  }
  modern = m_modern || s.hasMarkers;
  std::unique_ptr<AcDbEntity> e = BuildEntity(s, *this);
  if (!e) return false;
  applyCommon(*e, s);
  if (!followers.empty() && !s.followersConsumed) ObjectAccess::extras(*e).followers = std::move(followers);
  AcDbObjectId owner = defaultOwner;
  if (!inBlock) {
    bool paper = false;
    for (const RawTag& c : s.common)
      if (c.code == 67 && dxf::ToInt(c) == 1) paper = true;
    owner = paper ? m_db.paperSpace : m_db.modelSpace;
    if (s.hasOwner) {
      const AcDbObjectId byHandle = m_db.idOfHandle(AcDbHandle(s.owner));
      if (m_db.get<AcDbBlockTableRecord>(byHandle) != nullptr) owner = byHandle;
    }
  }
  if (!s.handle.isNull() && !m_db.idOfHandle(s.handle).isNull())
    warn(typeTag.line, "handle " + s.handle.toString() + " is used twice; a new one was given");
  m_db.appendEntity(owner, std::move(e), s.handle);
  return true;
}

AcDbObjectId Reader::block(const std::string& name, long line) {
  if (name.empty()) {
    warn(line, "INSERT without a block name");
    return AcDbObjectId();
  }
  AcDbObjectId id = m_db.recordId(m_db.blockTable, name);
  if (!id.isNull()) return id;
  // R12 files define blocks in any order; the definition fills the record when it comes.
  auto r = std::make_unique<AcDbBlockTableRecord>();
  ObjectAccess::setName(*r, name);
  id = m_db.addRecord(*m_db.get<AcDbSymbolTable>(m_db.blockTable), std::move(r));
  m_undefinedBlocks.emplace(id, line);
  return id;
}

// ---- blocks

void Reader::readBlocks() {
  // Entities name layers, linetypes and styles: the standard records must be there, also when
  // the file's tables lack them.
  m_db.ensureTables();
  RawTag t;
  for (;;) {
    if (!next(t)) throw FormatError(m_in.line(), "the file ends inside the BLOCKS section");
    if (t.code != 0) throw FormatError(t.line, "expected group 0 in the BLOCKS section");
    if (t.value == "ENDSEC") return;
    if (t.value != "BLOCK") throw FormatError(t.line, "expected \"0 BLOCK\", found \"" + std::string(t.value.substr(0, 40)) + "\"");
    collect(m_tags);
    Split s = split(t, m_tags);
    std::string name;
    for (const RawTag& b : s.body)
      if (b.code == 2) name = text(b);
    if (name.empty()) throw FormatError(t.line, "a BLOCK without a name (group 2)");
    AcDbObjectId id;
    if (s.hasOwner) {
      id = m_db.idOfHandle(AcDbHandle(s.owner));
      if (m_db.get<AcDbBlockTableRecord>(id) == nullptr) id = AcDbObjectId();
    }
    if (id.isNull()) id = m_db.recordId(m_db.blockTable, name);
    if (id.isNull()) {
      if (m_modern) warn(t.line, "block \"" + name + "\" has no BLOCK_RECORD; added");
      if (m_db.blockTable.isNull()) TableObject(m_db, "BLOCK_RECORD", AcDbHandle());
      auto r = std::make_unique<AcDbBlockTableRecord>();
      ObjectAccess::setName(*r, name);
      id = m_db.addRecord(*m_db.get<AcDbSymbolTable>(m_db.blockTable), std::move(r));
      if (id.isNull()) throw FormatError(t.line, "block \"" + name + "\" cannot be added");
    }
    m_undefinedBlocks.erase(id);
    const std::string folded = FoldName(name);
    if (folded == "*MODEL_SPACE" && m_db.modelSpace.isNull()) m_db.modelSpace = id;
    if (folded == "*PAPER_SPACE" && m_db.paperSpace.isNull()) m_db.paperSpace = id;
    auto* block = m_db.get<AcDbBlockTableRecord>(id);
    WriteScope scope(*block);
    block->setOrigin(PointOf(s, 10));
    int flags = 0;
    TagList beginExtras;
    for (const RawTag& b : s.body) {
      if (b.code == 70) flags = static_cast<int>(dxf::ToInt(b));
      else if (b.code == 4) block->setComments(text(b).c_str());
      else if (b.code == 100 || b.code == 2 || b.code == 3 || b.code == 10 || b.code == 20 || b.code == 30) continue;
      else if (b.code == 1 && b.value.empty()) continue;
      else beginExtras.push_back(tag(b));
    }
    ObjectAccess::blockFlags(*block) = flags;
    m_db.giveFollowersHandles(*block);
    DxfExtras& x = ObjectAccess::extras(*block);
    if (!s.handle.isNull()) m_db.setFollowerHandle(*block, 0, s.handle);
    for (const RawTag& c : s.common)
      if (c.code != 67) x.followers[0].tags.push_back(tag(c));
    for (DxfTag& e : beginExtras) x.followers[0].tags.push_back(std::move(e));
    for (const DxfTag& e : s.xdata) x.followers[0].tags.push_back(e);
    readEntities(id, "ENDBLK");
    collect(m_tags);
    Split end = split(t, m_tags);
    if (!end.handle.isNull()) m_db.setFollowerHandle(*block, 1, end.handle);
    for (const RawTag& c : end.common)
      if (c.code != 67) x.followers[1].tags.push_back(tag(c));
  }
}

void Reader::readEntities(AcDbObjectId block, const char* endType) {
  if (block.isNull()) m_db.ensureTables();
  RawTag t;
  for (;;) {
    if (!next(t)) throw FormatError(m_in.line(), std::string("the file ends before \"0 ") + endType + "\"");
    if (t.code != 0) throw FormatError(t.line, "expected group 0 to start an entity");
    if (t.value == endType) return;
    if (t.value == "ENDSEC" || t.value == "EOF" || t.value == "SECTION" || t.value == "BLOCK")
      throw FormatError(t.line, std::string("expected \"0 ") + endType + "\", found \"" + std::string(t.value) + "\"");
    if (t.value == "SEQEND" || t.value == "VERTEX" || t.value == "ATTRIB") {
      warn(t.line, std::string(t.value) + " without the entity it belongs to left out");
      collect(m_tags);
      continue;
    }
    // Kept as an entity, it could be owned by a block and would then end that block early
    // when the drawing is written.
    if (t.value == "ENDBLK") {
      warn(t.line, "ENDBLK outside a block left out");
      collect(m_tags);
      continue;
    }
    readEntity(t, block, !block.isNull());
  }
}

// ---- objects

void Reader::readObjects() {
  RawTag t;
  for (;;) {
    if (!next(t)) throw FormatError(m_in.line(), "the file ends inside the OBJECTS section");
    if (t.code != 0) throw FormatError(t.line, "expected group 0 in the OBJECTS section");
    if (t.value == "ENDSEC") return;
    collect(m_tags);
    Split s = split(t, m_tags, false);
    auto o = std::make_unique<RawObject>(s.type);
    DxfExtras& x = ObjectAccess::extras(*o);
    x.appData = s.appData;
    // Objects keep every group after their owner as written, class markers included.
    for (const RawTag& c : s.common) x.body.push_back(tag(c));
    for (const RawTag& b : s.body) x.body.push_back(tag(b));
    for (const DxfTag& d : s.xdata) x.body.push_back(d);
    if (!s.handle.isNull() && !m_db.idOfHandle(s.handle).isNull())
      warn(t.line, "handle " + s.handle.toString() + " is used twice; a new one was given");
    const AcDbObjectId id = m_db.add(std::move(o), AcDbObjectId(), s.handle);
    m_db.objects.push_back(id);
    if (s.hasOwner && s.owner != 0) m_objectOwners.emplace_back(id, s.owner);
  }
}

void Reader::finish() {
  for (auto& [id, owner] : m_objectOwners)
    ObjectAccess::setOwner(*m_db.object(id), m_db.idOfHandle(AcDbHandle(owner)));
  for (auto& [id, line] : m_undefinedBlocks)
    warn(line, "block \"" + m_db.get<AcDbBlockTableRecord>(id)->name() + "\" is used but never defined; kept empty");
  m_db.ensureTables();
  if (m_db.objects.empty()) m_db.ensureObjects();
  m_db.compactHandseed();
  for (auto& [name, tags] : m_headerRefs) {
    for (const DxfTag& t : tags) {
      if (name == "$CLAYER" && t.code == 8)
        m_db.header.clayer = recordFor(&DatabaseImpl::layerTable, t.value, 0, "current layer");
      if (name == "$TEXTSTYLE" && t.code == 7)
        m_db.header.textstyle = recordFor(&DatabaseImpl::styleTable, t.value, 0, "current text style");
      if (name == "$CELTYPE" && t.code == 6)
        m_db.header.celtype = recordFor(&DatabaseImpl::linetypeTable, t.value, 0, "current linetype");
    }
  }
}

}  // namespace dxfread

using dxfread::Reader;

DrawingFileReport ReadDxfText(std::string_view text, const std::string& name, DatabaseImpl& db) {
  DrawingFileReport report;
  if (text.substr(0, 18) == "AutoCAD Binary DXF") {
    report.status = Acad::eBadDxfFile;
    report.message = "\"" + name + "\" is a binary DXF file; only ASCII DXF files are read";
    return report;
  }
  try {
    Reader reader(text, db, report);
    reader.run();
  } catch (const dxf::FormatError& e) {
    report.status = Acad::eBadDxfFile;
    report.line = e.line();
    report.message = "\"" + name + "\", line " + std::to_string(e.line()) + ": " + e.what();
  } catch (const std::bad_alloc&) {
    report.status = Acad::eOutOfMemory;
    report.message = "\"" + name + "\" is too large to read";
  }
  return report;
}

DrawingFileReport ReadDxfFile(const std::string& path, DatabaseImpl& db) {
  std::string content;
  const vex::Result r = vex::platform::ReadWholeFile(path, content, kMaxDxfBytes);
  if (!r) {
    DrawingFileReport report;
    report.status = r.code() == vex::ErrorCode::kNotFound ? Acad::eFileNotFound : Acad::eFileAccessErr;
    report.message = r.message();
    return report;
  }
  return ReadDxfText(content, path, db);
}

}  // namespace cadhost
