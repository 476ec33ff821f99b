#include "cadhost/dxf/dxf_writer.h"

#include <cmath>
#include <numbers>

#include "cadhost/db/geom_util.h"
#include "cadhost/db/raw_objects.h"
#include "cadhost/dxf/tags/dxf_tags.h"
#include "platform/atomic_file.h"

namespace cadhost {
namespace {

constexpr double kDegree = 180.0 / std::numbers::pi;

class Writer {
 public:
  explicit Writer(DatabaseImpl& db) : m_db(db) {}
  std::string run();

 private:
  void header();
  void tables();
  void table(AcDbObjectId id, const char* name);
  void record(const AcDbSymbolTableRecord& r, const char* type, AcDbHandle tableHandle);
  void blocks();
  void entities(const AcDbBlockTableRecord& block, bool paper);
  void entity(const AcDbEntity& e, AcDbHandle owner, bool paper);
  void objects();
  void tags(const TagList& list) {
    for (const DxfTag& t : list) m_w.str(t.code, t.value);
  }
  void normal(const AcGeVector3d& n) {
    if (!IsPlusZ(n)) m_w.point(210, n.x, n.y, n.z);
  }
  std::string nameOf(AcDbObjectId id) const {
    const auto* r = AcDbSymbolTableRecord::cast(m_db.object(id));
    return r != nullptr ? r->name() : std::string();
  }
  AcDbHandle handleOf(AcDbObjectId id) const {
    const AcDbObject* o = m_db.object(id);
    return o != nullptr ? o->getDbHandle() : AcDbHandle();
  }
  static const DxfExtras& extras(const AcDbObject& o) {
    static const DxfExtras kNone;
    const DxfExtras* x = ObjectAccess::extras(o);
    return x != nullptr ? *x : kNone;
  }

  DatabaseImpl& m_db;
  dxf::TagWriter m_w;
};

std::string Writer::run() {
  m_w.reserve(m_db.objectCount() * 200 + 65536);
  header();
  bool classes = false;
  for (const RawSection& s : m_db.sections)
    if (s.name == "CLASSES") classes = true;
  if (!classes) {
    m_w.str(0, "SECTION");
    m_w.str(2, "CLASSES");
    m_w.str(0, "ENDSEC");
  }
  for (const RawSection& s : m_db.sections) {
    if (s.name != "CLASSES") continue;
    m_w.str(0, "SECTION");
    m_w.str(2, s.name);
    tags(s.tags);
    m_w.str(0, "ENDSEC");
  }
  tables();
  blocks();
  m_w.str(0, "SECTION");
  m_w.str(2, "ENTITIES");
  if (const auto* ms = m_db.get<AcDbBlockTableRecord>(m_db.modelSpace)) entities(*ms, false);
  if (const auto* ps = m_db.get<AcDbBlockTableRecord>(m_db.paperSpace)) entities(*ps, true);
  m_w.str(0, "ENDSEC");
  objects();
  for (const RawSection& s : m_db.sections) {
    if (s.name == "CLASSES") continue;
    m_w.str(0, "SECTION");
    m_w.str(2, s.name);
    tags(s.tags);
    m_w.str(0, "ENDSEC");
  }
  m_w.str(0, "EOF");
  return std::move(m_w.text());
}

void Writer::header() {
  const HeaderValues& h = m_db.header;
  m_w.str(0, "SECTION");
  m_w.str(2, "HEADER");
  m_w.str(9, "$ACADVER");
  m_w.str(1, h.acadver >= "AC1021" && h.acadver <= "AC1032" ? h.acadver : "AC1021");
  m_w.str(9, "$DWGCODEPAGE");
  m_w.str(3, h.codepage.empty() ? "ANSI_1252" : h.codepage);
  m_w.str(9, "$INSBASE");
  m_w.point(10, h.insbase.x, h.insbase.y, h.insbase.z);
  m_w.str(9, "$LTSCALE");
  m_w.num(40, h.ltscale);
  m_w.str(9, "$TEXTSIZE");
  m_w.num(40, h.textsize);
  m_w.str(9, "$CLAYER");
  m_w.str(8, nameOf(h.clayer));
  m_w.str(9, "$TEXTSTYLE");
  m_w.str(7, nameOf(h.textstyle));
  m_w.str(9, "$CELTYPE");
  m_w.str(6, nameOf(h.celtype));
  m_w.str(9, "$TILEMODE");
  m_w.integer(70, h.tilemode ? 1 : 0);
  m_w.str(9, "$HANDSEED");
  m_w.handle(5, m_db.handseed());
  m_w.str(9, "$MEASUREMENT");
  m_w.integer(70, h.measurement);
  m_w.str(9, "$INSUNITS");
  m_w.integer(70, h.insunits);
  for (const auto& [name, value] : h.others) {
    m_w.str(9, name);
    tags(value);
  }
  m_w.str(0, "ENDSEC");
}

void Writer::tables() {
  m_w.str(0, "SECTION");
  m_w.str(2, "TABLES");
  table(m_db.tableId("VPORT"), "VPORT");
  table(m_db.linetypeTable, "LTYPE");
  table(m_db.layerTable, "LAYER");
  table(m_db.styleTable, "STYLE");
  table(m_db.tableId("VIEW"), "VIEW");
  table(m_db.tableId("UCS"), "UCS");
  table(m_db.tableId("APPID"), "APPID");
  table(m_db.tableId("DIMSTYLE"), "DIMSTYLE");
  for (AcDbObjectId id : m_db.rawTables) {
    const std::string& n = m_db.get<RawSymbolTable>(id)->dxfName();
    if (n != "VPORT" && n != "VIEW" && n != "UCS" && n != "APPID" && n != "DIMSTYLE")
      table(id, n.c_str());
  }
  table(m_db.blockTable, "BLOCK_RECORD");
  m_w.str(0, "ENDSEC");
}

void Writer::table(AcDbObjectId id, const char* name) {
  const auto* t = m_db.get<AcDbSymbolTable>(id);
  if (t == nullptr) return;
  std::vector<const AcDbSymbolTableRecord*> records;
  for (AcDbObjectId r : ObjectAccess::records(*t))
    if (const auto* rec = m_db.get<AcDbSymbolTableRecord>(r); rec != nullptr && !rec->isErased())
      records.push_back(rec);
  const DxfExtras& x = extras(*t);
  m_w.str(0, "TABLE");
  m_w.str(2, name);
  m_w.handle(5, t->getDbHandle().value());
  tags(x.appData);
  m_w.str(330, "0");
  m_w.str(100, "AcDbSymbolTable");
  m_w.integer(70, static_cast<long long>(records.size()));
  tags(x.body);
  tags(x.xdata);
  for (const AcDbSymbolTableRecord* r : records) record(*r, name, t->getDbHandle());
  m_w.str(0, "ENDTAB");
}

void Writer::record(const AcDbSymbolTableRecord& r, const char* type, AcDbHandle tableHandle) {
  const DxfExtras& x = extras(r);
  const std::string_view t = type;
  m_w.str(0, type);
  m_w.handle(t == "DIMSTYLE" ? 105 : 5, r.getDbHandle().value());
  tags(x.appData);
  m_w.handle(330, tableHandle.value());
  m_w.str(100, "AcDbSymbolTableRecord");
  tags(x.common);
  TagList xdata = x.xdata;
  if (const auto* raw = cadhost::RawRecord::cast(&r)) {
    std::size_t i = 0;
    if (!x.body.empty() && x.body[0].code == 100) m_w.str(100, x.body[i++].value);
    m_w.str(2, r.name());
    m_w.integer(70, raw->flags);
    for (; i < x.body.size(); ++i) m_w.str(x.body[i].code, x.body[i].value);
    tags(xdata);
    return;
  }
  m_w.str(100, RecordMarkerOf(t));
  m_w.str(2, r.name());
  if (const auto* layer = AcDbLayerTableRecord::cast(&r)) {
    m_w.integer(70, ObjectAccess::layerFlags(*layer));
    const AcCmColor c = layer->color();
    const int index = c.colorIndex() >= 1 && c.colorIndex() <= 255 ? c.colorIndex() : 7;
    m_w.integer(62, layer->isOff() ? -index : index);
    if (c.hasRGB()) m_w.integer(420, c.rgb());
    std::string lt = nameOf(layer->linetypeObjectId());
    m_w.str(6, lt.empty() ? "Continuous" : lt);
    if (!layer->isPlottable()) m_w.integer(290, 0);
    m_w.integer(370, layer->lineWeight());
  } else if (const auto* lt = AcDbLinetypeTableRecord::cast(&r)) {
    m_w.integer(70, 0);
    m_w.str(3, lt->comments());
    m_w.integer(72, 65);
    m_w.integer(73, lt->numDashes());
    m_w.num(40, lt->patternLength());
    for (int i = 0; i < lt->numDashes(); ++i) {
      m_w.num(49, lt->dashLengthAt(i));
      const int flags = ObjectAccess::dashFlags(*lt, i);
      m_w.integer(74, flags);
      if (flags == 0) continue;
      m_w.integer(75, lt->shapeNumberAt(i));
      m_w.handle(340, handleOf(lt->shapeStyleAt(i)).value());
      m_w.num(46, lt->shapeScaleAt(i));
      m_w.num(50, lt->shapeRotationAt(i) * kDegree);
      m_w.num(44, lt->shapeOffsetAt(i).x);
      m_w.num(45, lt->shapeOffsetAt(i).y);
      if ((flags & 2) != 0) m_w.str(9, lt->textAt(i));
    }
  } else if (const auto* st = AcDbTextStyleTableRecord::cast(&r)) {
    m_w.integer(70, ObjectAccess::styleFlags(*st));
    m_w.num(40, st->textSize());
    m_w.num(41, st->xScale());
    m_w.num(50, st->obliquingAngle() * kDegree);
    m_w.integer(71, ObjectAccess::styleGeneration(*st));
    m_w.num(42, st->priorSize());
    m_w.str(3, st->fileName());
    m_w.str(4, st->bigFontFileName());
    std::string face;
    bool bold, italic;
    int charset, pitch;
    st->font(face, bold, italic, charset, pitch);
    if (!face.empty()) {
      const long long flags = (bold ? 0x2000000 : 0) | (italic ? 0x1000000 : 0) |
                              (static_cast<long long>(charset) << 8) | pitch;
      TagList acad = {{1001, "ACAD"}, {1000, face}, {1071, std::to_string(flags)}};
      xdata.insert(xdata.begin(), acad.begin(), acad.end());
    }
  }
  tags(x.body);
  tags(xdata);
}

void Writer::blocks() {
  m_w.str(0, "SECTION");
  m_w.str(2, "BLOCKS");
  const auto* table = m_db.get<AcDbSymbolTable>(m_db.blockTable);
  for (AcDbObjectId id : table != nullptr ? ObjectAccess::records(*table) : std::vector<AcDbObjectId>()) {
    const auto* block = m_db.get<AcDbBlockTableRecord>(id);
    if (block == nullptr || block->isErased()) continue;
    const DxfExtras& x = extras(*block);
    const bool paper = id == m_db.paperSpace;
    const std::string folded = FoldName(block->name());
    const bool paperLayout = folded.rfind("*PAPER_SPACE", 0) == 0;
    auto beginEnd = [&](std::size_t which) {
      const RawFollower* f = x.followers.size() > which ? &x.followers[which] : nullptr;
      std::string layer = "0";
      TagList rest;
      if (f != nullptr)
        for (const DxfTag& t : f->tags) {
          if (t.code == 8) layer = t.value;
          else rest.push_back(t);
        }
      m_w.str(0, which == 0 ? "BLOCK" : "ENDBLK");
      m_w.handle(5, f != nullptr ? f->handle.value() : 0);
      m_w.handle(330, block->getDbHandle().value());
      m_w.str(100, "AcDbEntity");
      if (paperLayout) m_w.integer(67, 1);
      m_w.str(8, layer);
      if (which == 0) {
        TagList tail;
        for (const DxfTag& t : rest)
          if (t.code < 1000) m_w.str(t.code, t.value); else tail.push_back(t);
        m_w.str(100, "AcDbBlockBegin");
        m_w.str(2, block->name());
        m_w.integer(70, ObjectAccess::blockFlags(*block));
        m_w.point(10, block->origin().x, block->origin().y, block->origin().z);
        m_w.str(3, block->name());
        m_w.str(1, "");
        if (!block->comments().empty()) m_w.str(4, block->comments());
        tags(tail);
      } else {
        tags(rest);
        m_w.str(100, "AcDbBlockEnd");
      }
    };
    beginEnd(0);
    // The two spaces' entities go to the ENTITIES section.
    if (id != m_db.modelSpace && !paper) entities(*block, paperLayout);
    beginEnd(1);
  }
  m_w.str(0, "ENDSEC");
}

void Writer::entities(const AcDbBlockTableRecord& block, bool paper) {
  const AcDbHandle owner = block.getDbHandle();
  for (AcDbObjectId id : ObjectAccess::entities(block)) {
    const auto* e = m_db.get<AcDbEntity>(id);
    if (e != nullptr && !e->isErased()) entity(*e, owner, paper);
  }
}

void Writer::entity(const AcDbEntity& e, AcDbHandle owner, bool paper) {
  const DxfExtras& x = extras(e);
  // A view, not a C string: a kept type name may hold a NUL, and cut there it could read as
  // the end of the section.
  std::string_view type;
  const auto* raw = RawEntity::cast(&e);
  if (raw != nullptr) type = raw->dxfType();
  else if (AcDbLine::cast(&e)) type = "LINE";
  else if (AcDbArc::cast(&e)) type = "ARC";
  else if (AcDbCircle::cast(&e)) type = "CIRCLE";
  else if (AcDbText::cast(&e)) type = "TEXT";
  else if (AcDbMText::cast(&e)) type = "MTEXT";
  else if (AcDbPolyline::cast(&e)) type = "LWPOLYLINE";
  else if (AcDbBlockReference::cast(&e)) type = "INSERT";
  else return;
  m_w.str(0, type);
  m_w.handle(5, e.getDbHandle().value());
  tags(x.appData);
  m_w.handle(330, owner.value());
  m_w.str(100, "AcDbEntity");
  if (paper) m_w.integer(67, 1);
  m_w.str(8, nameOf(e.layerId()).empty() ? "0" : nameOf(e.layerId()));
  const AcDbObjectId lt = e.linetypeId();
  if (!lt.isNull() && lt != m_db.byLayer) m_w.str(6, nameOf(lt));
  const AcCmColor c = e.color();
  if (!c.isByLayer()) m_w.integer(62, c.colorIndex());
  if (c.hasRGB()) m_w.integer(420, c.rgb());
  if (e.lineWeight() != AcDb::kLnWtByLayer) m_w.integer(370, e.lineWeight());
  if (e.linetypeScale() != 1.0) m_w.num(48, e.linetypeScale());
  tags(x.common);

  if (raw != nullptr) {
    tags(x.body);
  } else if (const auto* l = AcDbLine::cast(&e)) {
    m_w.str(100, "AcDbLine");
    if (l->thickness() != 0.0) m_w.num(39, l->thickness());
    m_w.point(10, l->startPoint().x, l->startPoint().y, l->startPoint().z);
    m_w.point(11, l->endPoint().x, l->endPoint().y, l->endPoint().z);
    normal(l->normal());
    tags(x.body);
  } else if (const auto* ci = AcDbCircle::cast(&e)) {
    const AcGePoint3d p = AcGePoint3d(ci->center()).transformBy(acgeOcsToWcs(ci->normal()).inverse());
    m_w.str(100, "AcDbCircle");
    if (ci->thickness() != 0.0) m_w.num(39, ci->thickness());
    m_w.point(10, p.x, p.y, p.z);
    m_w.num(40, ci->radius());
    normal(ci->normal());
    tags(x.body);
  } else if (const auto* a = AcDbArc::cast(&e)) {
    const AcGePoint3d p = AcGePoint3d(a->center()).transformBy(acgeOcsToWcs(a->normal()).inverse());
    m_w.str(100, "AcDbCircle");
    if (a->thickness() != 0.0) m_w.num(39, a->thickness());
    m_w.point(10, p.x, p.y, p.z);
    m_w.num(40, a->radius());
    normal(a->normal());
    m_w.str(100, "AcDbArc");
    m_w.num(50, a->startAngle() * kDegree);
    m_w.num(51, a->endAngle() * kDegree);
    tags(x.body);
  } else if (const auto* t = AcDbText::cast(&e)) {
    const AcGeMatrix3d toOcs = acgeOcsToWcs(t->normal()).inverse();
    const AcGePoint3d p = AcGePoint3d(t->position()).transformBy(toOcs);
    m_w.str(100, "AcDbText");
    if (t->thickness() != 0.0) m_w.num(39, t->thickness());
    m_w.point(10, p.x, p.y, p.z);
    m_w.num(40, t->height());
    m_w.str(1, t->textString());
    if (t->rotation() != 0.0) m_w.num(50, t->rotation() * kDegree);
    if (t->widthFactor() != 1.0) m_w.num(41, t->widthFactor());
    if (t->oblique() != 0.0) m_w.num(51, NormalizeAngle(t->oblique()) * kDegree);
    m_w.str(7, nameOf(t->textStyle()).empty() ? "Standard" : nameOf(t->textStyle()));
    const int gen = (t->isMirroredInX() ? 2 : 0) | (t->isMirroredInY() ? 4 : 0);
    if (gen != 0) m_w.integer(71, gen);
    if (t->horizontalMode() != AcDb::kTextLeft) m_w.integer(72, t->horizontalMode());
    if (!t->isDefaultAlignment()) {
      const AcGePoint3d q = AcGePoint3d(t->alignmentPoint()).transformBy(toOcs);
      m_w.point(11, q.x, q.y, q.z);
    }
    normal(t->normal());
    tags(x.body);
    m_w.str(100, "AcDbText");
    if (t->verticalMode() != AcDb::kTextBase) m_w.integer(73, t->verticalMode());
  } else if (const auto* mt = AcDbMText::cast(&e)) {
    m_w.str(100, "AcDbMText");
    m_w.point(10, mt->location().x, mt->location().y, mt->location().z);
    m_w.num(40, mt->textHeight());
    if (mt->width() > 0.0) m_w.num(41, mt->width());
    m_w.integer(71, mt->attachment());
    // Other programs take the contents in pieces of at most 250 bytes: groups 3, the last 1.
    const std::string& c = mt->contents();
    std::size_t at = 0;
    while (c.size() - at > 250) {
      std::size_t end = at + 250;
      while (end > at + 1 && (static_cast<unsigned char>(c[end]) & 0xC0) == 0x80) --end;
      m_w.str(3, std::string_view(c).substr(at, end - at));
      at = end;
    }
    m_w.str(1, std::string_view(c).substr(at));
    m_w.str(7, nameOf(mt->textStyle()).empty() ? "Standard" : nameOf(mt->textStyle()));
    normal(mt->normal());
    if (mt->rotation() != 0.0) m_w.num(50, mt->rotation() * kDegree);
    if (mt->lineSpacingFactor() != 1.0) m_w.num(44, mt->lineSpacingFactor());
    tags(x.body);
  } else if (const auto* pl = AcDbPolyline::cast(&e)) {
    m_w.str(100, "AcDbPolyline");
    m_w.integer(90, pl->numVerts());
    m_w.integer(70, (pl->isClosed() ? 1 : 0) | (pl->hasPlinegen() ? 128 : 0));
    double constant = 0.0;
    const bool uniform = pl->getConstantWidth(constant) == Acad::eOk;
    if (uniform) m_w.num(43, constant);
    if (pl->elevation() != 0.0) m_w.num(38, pl->elevation());
    if (pl->thickness() != 0.0) m_w.num(39, pl->thickness());
    for (unsigned i = 0; i < pl->numVerts(); ++i) {
      AcGePoint2d v;
      double bulge = 0.0, sw = 0.0, ew = 0.0;
      pl->getPointAt(i, v);
      pl->getBulgeAt(i, bulge);
      pl->getWidthsAt(i, sw, ew);
      m_w.point2(10, v.x, v.y);
      if (!uniform) {
        m_w.num(40, sw);
        m_w.num(41, ew);
      }
      if (bulge != 0.0) m_w.num(42, bulge);
    }
    normal(pl->normal());
    tags(x.body);
  } else if (const auto* ref = AcDbBlockReference::cast(&e)) {
    const AcGePoint3d p = AcGePoint3d(ref->position()).transformBy(acgeOcsToWcs(ref->normal()).inverse());
    bool attributes = false;
    for (const RawFollower& f : x.followers) attributes = attributes || f.type == "ATTRIB";
    m_w.str(100, "AcDbBlockReference");
    if (attributes) m_w.integer(66, 1);
    m_w.str(2, nameOf(ref->blockTableRecord()));
    m_w.point(10, p.x, p.y, p.z);
    const AcGeScale3d s = ref->scaleFactors();
    if (s.sx != 1.0) m_w.num(41, s.sx);
    if (s.sy != 1.0) m_w.num(42, s.sy);
    if (s.sz != 1.0) m_w.num(43, s.sz);
    if (ref->rotation() != 0.0) m_w.num(50, ref->rotation() * kDegree);
    normal(ref->normal());
    tags(x.body);
  }
  tags(x.xdata);
  // The VERTEXes, ATTRIBs and SEQEND that belong to this entity follow it.
  for (const RawFollower& f : x.followers) {
    m_w.str(0, f.type);
    m_w.handle(5, f.handle.value());
    m_w.handle(330, e.getDbHandle().value());
    if (f.type == "SEQEND" && f.tags.empty()) {
      m_w.str(100, "AcDbEntity");
      m_w.str(8, nameOf(e.layerId()).empty() ? "0" : nameOf(e.layerId()));
    }
    tags(f.tags);
  }
}

void Writer::objects() {
  m_w.str(0, "SECTION");
  m_w.str(2, "OBJECTS");
  for (AcDbObjectId id : m_db.objects) {
    const auto* o = m_db.get<RawObject>(id);
    if (o == nullptr || o->isErased()) continue;
    const DxfExtras& x = extras(*o);
    m_w.str(0, o->dxfType());
    m_w.handle(5, o->getDbHandle().value());
    tags(x.appData);
    m_w.handle(330, handleOf(o->ownerId()).value());
    tags(x.body);
  }
  m_w.str(0, "ENDSEC");
}

}  // namespace

std::string DxfText(DatabaseImpl& db) { return Writer(db).run(); }

DrawingFileReport WriteDxfFile(const std::string& path, DatabaseImpl& db) {
  DrawingFileReport report;
  const std::string text = DxfText(db);
  const vex::Result r = vex::platform::WriteFileAtomically(path, text);
  if (!r) {
    report.status = Acad::eFileAccessErr;
    report.message = r.message();
  }
  return report;
}

}  // namespace cadhost
