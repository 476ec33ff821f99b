// The attributes of block references, read from the drawing-file groups the host keeps them
// as, so that a window draws them like single-line texts.

#include <algorithm>
#include <charconv>
#include <cmath>
#include <numbers>

#include "cadhost/db/database_impl.h"
#include "cadhost/host/host_control.h"

namespace cadhost {
namespace {

constexpr int kInvisible = 1;  // ATTRIB group 70

double Number(const std::string& s, double fallback = 0.0) {
  double v = fallback;
  const char* b = s.data();
  while (b < s.data() + s.size() && *b == ' ') ++b;
  const auto [p, ec] = std::from_chars(b, s.data() + s.size(), v);
  return ec == std::errc() && std::isfinite(v) ? v : fallback;
}

// One ATTRIB's groups as a text; nullptr when it is invisible or has nothing to show.
std::unique_ptr<AcDbText> TextOf(const TagList& tags, DatabaseImpl* db) {
  AcGePoint3d position, alignment;
  AcGeVector3d normal = AcGeVector3d::kZAxis;
  double height = 0.0, width = 1.0, rotation = 0.0, oblique = 0.0;
  int flags = 0, generation = 0, hmode = 0, vmode = 0, color = 256;
  std::string text, style, layer;
  bool hasAlignment = false;
  for (const DxfTag& t : tags) {
    switch (t.code) {
      case 1: text = t.value; break;
      case 7: style = t.value; break;
      case 8: layer = t.value; break;
      case 10: position.x = Number(t.value); break;
      case 20: position.y = Number(t.value); break;
      case 30: position.z = Number(t.value); break;
      case 11: alignment.x = Number(t.value); hasAlignment = true; break;
      case 21: alignment.y = Number(t.value); break;
      case 31: alignment.z = Number(t.value); break;
      case 40: height = Number(t.value); break;
      case 41: width = Number(t.value, 1.0); break;
      case 50: rotation = Number(t.value) * std::numbers::pi / 180.0; break;
      case 51: oblique = Number(t.value) * std::numbers::pi / 180.0; break;
      case 62: color = static_cast<int>(Number(t.value, 256)); break;
      case 70: flags = static_cast<int>(Number(t.value)); break;
      case 71: generation = static_cast<int>(Number(t.value)); break;
      case 72: hmode = static_cast<int>(Number(t.value)); break;
      case 74: vmode = static_cast<int>(Number(t.value)); break;
      case 210: normal.x = Number(t.value); break;
      case 220: normal.y = Number(t.value); break;
      case 230: normal.z = Number(t.value, 1.0); break;
      default: break;
    }
  }
  if ((flags & kInvisible) != 0 || text.empty() || !(height > 0.0)) return nullptr;
  auto out = std::make_unique<AcDbText>();
  out->setTextString(text.c_str());
  out->setHeight(height);
  if (width > 0.0) out->setWidthFactor(width);
  out->setOblique(oblique);
  if (!normal.isZeroLength()) out->setNormal(normal);
  out->setRotation(rotation);
  out->mirrorInX((generation & 2) != 0);
  out->mirrorInY((generation & 4) != 0);
  out->setPosition(position);
  if (hasAlignment && (hmode != 0 || vmode != 0)) {
    out->setAlignmentPoint(alignment);
    out->setHorizontalMode(static_cast<AcDb::TextHorzMode>(std::clamp(hmode, 0, 5)));
    out->setVerticalMode(static_cast<AcDb::TextVertMode>(std::clamp(vmode, 0, 3)));
  }
  if (color >= 0 && color <= 256) out->setColorIndex(static_cast<Adesk::UInt16>(color));
  if (db != nullptr) {
    const AcDbObjectId s = db->recordId(db->styleTable, style.empty() ? "Standard" : style);
    if (!s.isNull()) out->setTextStyle(s);
    const AcDbObjectId l = db->recordId(db->layerTable, layer.empty() ? "0" : layer);
    if (!l.isNull()) ObjectAccess::setLayer(*out, l);
  }
  return out;
}

}  // namespace

std::vector<std::unique_ptr<AcDbText>> AttributesOf(const AcDbBlockReference& reference) {
  std::vector<std::unique_ptr<AcDbText>> out;
  const DxfExtras* x = ObjectAccess::extras(reference);
  if (x == nullptr) return out;
  DatabaseImpl* db = reference.database() != nullptr ? &reference.database()->impl() : nullptr;
  for (const RawFollower& f : x->followers) {
    if (f.type != "ATTRIB") continue;
    if (std::unique_ptr<AcDbText> t = TextOf(f.tags, db)) out.push_back(std::move(t));
  }
  return out;
}

}  // namespace cadhost
