// Reading the TABLES section: layers, linetypes, text styles, block records and the tables the
// host keeps without modelling them.

#include <cmath>
#include <cstdlib>
#include <numbers>

#include "cadhost/db/raw_objects.h"
#include "cadhost/dxf/reader.h"

namespace cadhost::dxfread {

// ---- tables

void Reader::readTables() {
  RawTag t;
  for (;;) {
    if (!next(t)) throw FormatError(m_in.line(), "the file ends inside the TABLES section");
    if (t.code != 0) throw FormatError(t.line, "expected group 0 in the TABLES section");
    if (t.value == "ENDSEC") break;
    if (t.value != "TABLE") throw FormatError(t.line, "expected \"0 TABLE\", found \"" + std::string(t.value.substr(0, 40)) + "\"");
    readTable(expect(2, "a table name (group 2)"));
  }
  // Layers name their linetypes, linetype dashes their styles: resolved now all are read.
  for (auto& [layerId, name] : m_layerLinetypes) {
    auto* layer = m_db.get<AcDbLayerTableRecord>(layerId);
    AcDbObjectId lt = m_db.recordId(m_db.linetypeTable, name);
    if (lt.isNull()) lt = recordFor(&DatabaseImpl::linetypeTable, name, 0, "linetype");
    WriteScope scope(*layer);
    layer->setLinetypeObjectId(lt);
  }
  for (auto& [ltId, index, handle] : m_dashStyles) {
    auto* lt = m_db.get<AcDbLinetypeTableRecord>(ltId);
    const AcDbObjectId style = m_db.idOfHandle(AcDbHandle(handle));
    WriteScope scope(*lt);
    if (m_db.get<AcDbTextStyleTableRecord>(style) != nullptr) lt->setShapeStyleAt(index, style);
  }
}

AcDbSymbolTable* TableObject(DatabaseImpl& db, const std::string& name, AcDbHandle handle) {
  auto make = [&](AcDbObjectId& slot, std::unique_ptr<AcDbSymbolTable> t) {
    if (slot.isNull()) slot = db.add(std::move(t), AcDbObjectId(), handle);
    return db.get<AcDbSymbolTable>(slot);
  };
  if (name == "LAYER") return make(db.layerTable, std::make_unique<AcDbLayerTable>());
  if (name == "LTYPE") return make(db.linetypeTable, std::make_unique<AcDbLinetypeTable>());
  if (name == "STYLE") return make(db.styleTable, std::make_unique<AcDbTextStyleTable>());
  if (name == "BLOCK_RECORD") return make(db.blockTable, std::make_unique<AcDbBlockTable>());
  return &db.rawTable(name, handle);
}

void Reader::readTable(const RawTag& nameTag) {
  const std::string name = text(nameTag);
  // The table's own groups up to its first record.
  collect(m_tags);
  // The table's own groups: group 5 is its handle, also for the DIMSTYLE table.
  const RawTag tableTag{0, "TABLE", nameTag.line};
  Split head = split(tableTag, m_tags, false);
  AcDbSymbolTable* table = TableObject(m_db, name, head.handle);
  DxfExtras& tx = ObjectAccess::extras(*table);
  tx.appData = head.appData;
  for (const RawTag& b : head.body)
    if (b.code != 70 && !(b.code == 100 && b.value == "AcDbSymbolTable")) tx.body.push_back(tag(b));
  tx.xdata = head.xdata;
  RawTag t;
  for (;;) {
    if (!next(t)) throw FormatError(m_in.line(), "the file ends inside the " + name + " table");
    if (t.code != 0) throw FormatError(t.line, "expected group 0 in the " + name + " table");
    if (t.value == "ENDTAB") {
      collect(m_tags);
      return;
    }
    if (t.value == "ENDSEC" || t.value == "TABLE")
      throw FormatError(t.line, "the " + name + " table is not closed by \"0 ENDTAB\"");
    collect(m_tags);
    Split s = split(t, m_tags, false);
    if (s.type != name) {
      warn(t.line, "a " + s.type + " record in the " + name + " table left out");
      continue;
    }
    std::string recordName;
    int flags = 0;
    for (const RawTag& b : s.body) {
      if (b.code == 2 && recordName.empty()) recordName = text(b);
      if (b.code == 70) flags = static_cast<int>(dxf::ToInt(b));
    }
    std::unique_ptr<AcDbSymbolTableRecord> record;
    TagList body;
    // References to other records, resolved when all tables are read.
    std::string layerLinetype;
    std::vector<std::pair<int, std::uint64_t>> dashStyles;
    auto keep = [&](std::initializer_list<int> known) {
      for (const RawTag& b : s.body) {
        if (b.code == 100) continue;
        bool k = b.code == 2 || b.code == 70;
        for (int c : known) k = k || c == b.code;
        if (!k) body.push_back(tag(b));
      }
    };
    if (name == "LAYER") {
      auto r = std::make_unique<AcDbLayerTableRecord>();
      for (const RawTag& b : s.body) {
        if (b.code == 62) {
          const long long c = dxf::ToInt(b);
          r->setIsOff(c < 0);
          const long long idx = std::llabs(c);
          r->setColor(AcCmColor::fromIndex(static_cast<Adesk::UInt16>(idx >= 1 && idx <= 255 ? idx : 7)));
        }
        if (b.code == 420) {
          const auto rgb = static_cast<std::uint32_t>(dxf::ToInt(b));
          AcCmColor c = r->color();
          c.setRGB((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF);
          r->setColor(c);
        }
        if (b.code == 6) layerLinetype = text(b);
        if (b.code == 290) r->setIsPlottable(dxf::ToInt(b) != 0);
        if (b.code == 370) {
          const long long w = dxf::ToInt(b);
          if (w >= -3 && w <= 211) r->setLineWeight(static_cast<AcDb::LineWeight>(w));
        }
      }
      ObjectAccess::layerFlags(*r) = flags;
      keep({62, 420, 6, 290, 370});
      record = std::move(r);
    } else if (name == "LTYPE") {
      auto r = std::make_unique<AcDbLinetypeTableRecord>();
      for (const RawTag& b : s.body)
        if (b.code == 3) {
          r->setComments(text(b).c_str());
          break;
        }
      int dash = -1;
      for (const RawTag& b : s.body) {
        switch (b.code) {
          case 49:
            if (dash + 1 >= 64) throw FormatError(b.line, "a linetype has more than 64 dashes");
            ++dash;
            r->setNumDashes(dash + 1);
            r->setDashLengthAt(dash, dxf::ToDouble(b));
            break;
          case 74: if (dash >= 0) ObjectAccess::setDashFlags(*r, dash, static_cast<int>(dxf::ToInt(b))); break;
          case 75: if (dash >= 0) { const int f = ObjectAccess::dashFlags(*r, dash); r->setShapeNumberAt(dash, static_cast<int>(dxf::ToInt(b))); ObjectAccess::setDashFlags(*r, dash, f); } break;
          case 340: if (dash >= 0) dashStyles.emplace_back(dash, dxf::ToHandle(b)); break;
          case 46: if (dash >= 0) r->setShapeScaleAt(dash, dxf::ToDouble(b)); break;
          case 50: if (dash >= 0) r->setShapeRotationAt(dash, dxf::ToDouble(b) * std::numbers::pi / 180.0); break;
          case 44: if (dash >= 0) r->setShapeOffsetAt(dash, AcGeVector2d(dxf::ToDouble(b), r->shapeOffsetAt(dash).y)); break;
          case 45: if (dash >= 0) r->setShapeOffsetAt(dash, AcGeVector2d(r->shapeOffsetAt(dash).x, dxf::ToDouble(b))); break;
          case 9: if (dash >= 0) { const int f = ObjectAccess::dashFlags(*r, dash); r->setTextAt(dash, text(b).c_str()); ObjectAccess::setDashFlags(*r, dash, f); } break;
          default: break;
        }
      }
      keep({3, 72, 73, 40, 49, 74, 75, 340, 46, 50, 44, 45, 9});
      record = std::move(r);
    } else if (name == "STYLE") {
      auto r = std::make_unique<AcDbTextStyleTableRecord>();
      for (const RawTag& b : s.body) {
        switch (b.code) {
          case 3: r->setFileName(text(b).c_str()); break;
          case 4: r->setBigFontFileName(text(b).c_str()); break;
          case 40: r->setTextSize(std::max(0.0, dxf::ToDouble(b))); break;
          case 41: if (dxf::ToDouble(b) > 0) r->setXScale(dxf::ToDouble(b)); break;
          case 50: r->setObliquingAngle(dxf::ToDouble(b) * std::numbers::pi / 180.0); break;
          case 42: if (dxf::ToDouble(b) > 0) r->setPriorSize(dxf::ToDouble(b)); break;
          case 71: ObjectAccess::styleGeneration(*r) = static_cast<int>(dxf::ToInt(b)); break;
          default: break;
        }
      }
      ObjectAccess::styleFlags(*r) = flags;
      // The system typeface travels in extended data of the application "ACAD".
      TagList rest;
      for (std::size_t i = 0; i < s.xdata.size(); ++i) {
        if (s.xdata[i].code == 1001 && s.xdata[i].value == "ACAD" && i + 1 < s.xdata.size() &&
            s.xdata[i + 1].code == 1000) {
          const std::string face = s.xdata[i + 1].value;
          long long fl = 0;
          std::size_t j = i + 2;
          if (j < s.xdata.size() && s.xdata[j].code == 1071) fl = std::atoll(s.xdata[j++].value.c_str());
          r->setFont(face.c_str(), (fl & 0x2000000) != 0, (fl & 0x1000000) != 0,
                     static_cast<int>((fl >> 8) & 0xFF), static_cast<int>(fl & 0xFF));
          while (j < s.xdata.size() && s.xdata[j].code != 1001) rest.push_back(s.xdata[j++]);
          i = j - 1;
          continue;
        }
        rest.push_back(s.xdata[i]);
      }
      s.xdata = std::move(rest);
      keep({3, 4, 40, 41, 50, 42, 71});
      record = std::move(r);
    } else if (name == "BLOCK_RECORD") {
      record = std::make_unique<AcDbBlockTableRecord>();
      keep({});
    } else {
      auto r = std::make_unique<RawRecord>(name);
      r->flags = flags;
      // The record's class marker comes first: the writer puts the name right after it.
      const char* marker = nullptr;
      std::string found;
      for (const RawTag& b : s.body) {
        if (b.code == 100 && found.empty()) found = text(b);
        else if (b.code != 2 && b.code != 70) body.push_back(tag(b));
      }
      if (found.empty() && (marker = RecordMarkerOf(name)) != nullptr) found = marker;
      if (!found.empty()) body.insert(body.begin(), {100, found});
      record = std::move(r);
    }
    ObjectAccess::setName(*record, recordName);
    DxfExtras& x = ObjectAccess::extras(*record);
    x.appData = s.appData;
    for (const RawTag& c : s.common) x.common.push_back(tag(c));
    x.body = std::move(body);
    x.xdata = s.xdata;
    if (!s.handle.isNull() && !m_db.idOfHandle(s.handle).isNull())
      warn(t.line, "handle " + s.handle.toString() + " is used twice; a new one was given");
    const bool shapeEntry = name == "STYLE" && recordName.empty();
    AcDbObjectId id;
    if (shapeEntry) {
      // Shape files are styles without a name: kept, but found by handle only.
      id = m_db.add(std::move(record), table->objectId(), s.handle);
      ObjectAccess::records(*table).push_back(id);
    } else if (recordName.empty()) {
      warn(t.line, "a " + name + " record without a name left out");
      continue;
    } else {
      id = m_db.addRecord(*table, std::move(record), s.handle);
      if (id.isNull()) {
        warn(t.line, name + " \"" + recordName + "\" is defined twice; the second left out");
        continue;
      }
    }
    if (!layerLinetype.empty()) m_layerLinetypes.emplace_back(id, layerLinetype);
    for (const auto& [dash, handle] : dashStyles) m_dashStyles.emplace_back(id, dash, handle);
    if (name == "BLOCK_RECORD") {
      const std::string folded = FoldName(recordName);
      if (folded == "*MODEL_SPACE") m_db.modelSpace = id;
      if (folded == "*PAPER_SPACE") m_db.paperSpace = id;
    }
  }
}


}  // namespace cadhost::dxfread
