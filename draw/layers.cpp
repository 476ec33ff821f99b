#include "draw/layers.h"

#include <memory>
#include <string>

#include "cadhost/sdk/acedads.h"
#include "platform/message_sink.h"

namespace vex {
namespace {

AcDbObjectId LookUpLinetype(AcDbDatabase& db, const std::string& name) {
  AcDbLinetypeTable* table = nullptr;
  if (db.getLinetypeTable(table, AcDb::kForRead) != Acad::eOk) return {};
  AcDbObjectId id;
  table->getAt(name.c_str(), id);
  table->close();
  return id;
}

bool IsShapeFont(const std::string& name) {
  return name.find(".shx") != std::string::npos || name.find(".SHX") != std::string::npos;
}

// Sets a shape font file on the style when the host finds it.
template <class Setter>
void SetFontFile(const std::string& name, MessageSink& sink, Setter set) {
  std::string found;
  if (acedFindFile(name.c_str(), found) == RTNORM)
    set(name.c_str());
  else
    sink.Print("Could not find file " + name + ".\n");
}

}  // namespace

AcDbObjectId FindLinetype(std::string_view name, AcDbDatabase& db) {
  const std::string n(name);
  AcDbObjectId id = LookUpLinetype(db, n);
  if (id.isNull()) {
    db.loadLineTypeFile(n.c_str(), "acadiso.lin");
    id = LookUpLinetype(db, n);
  }
  return id;
}

AcDbObjectId EnsureLayer(const LayerEntry& entry, AcDbDatabase& db) {
  db.loadLineTypeFile(entry.LineType.c_str(), "acadiso.lin");  // "already loaded" is fine
  const AcDbObjectId linetype = LookUpLinetype(db, entry.LineType);

  AcDbLayerTable* table = nullptr;
  if (db.getLayerTable(table, AcDb::kForWrite) != Acad::eOk) return {};
  AcDbObjectId id;
  if (table->getAt(entry.Name.c_str(), id) != Acad::eOk) {
    auto layer = std::make_unique<AcDbLayerTableRecord>();
    if (layer->setName(entry.Name.c_str()) == Acad::eOk) {
      AcCmColor color;
      if (color.setColorIndex(static_cast<Adesk::UInt16>(entry.Color)) == Acad::eOk &&
          entry.Color >= 1 && entry.Color <= 255)
        layer->setColor(color);
      if (!linetype.isNull()) layer->setLinetypeObjectId(linetype);
      if (table->add(id, layer.get()) == Acad::eOk)
        layer.release()->close();
      else
        id = AcDbObjectId::kNull;
    }
  }
  table->close();
  return id;
}

AcDbObjectId EnsureTextStyle(const TextStyleEntry& entry, AcDbDatabase& db, MessageSink& sink) {
  AcDbTextStyleTable* table = nullptr;
  if (db.getTextStyleTable(table, AcDb::kForWrite) != Acad::eOk) {
    sink.Alert("Fonttable open wrong");
    return {};
  }
  AcDbObjectId id;
  if (table->getAt(entry.StyleName.c_str(), id) != Acad::eOk) {
    auto style = std::make_unique<AcDbTextStyleTableRecord>();
    if (style->setName(entry.StyleName.c_str()) == Acad::eOk) {
      if (IsShapeFont(entry.FontName)) {
        SetFontFile(entry.FontName, sink, [&](const char* n) { style->setFileName(n); });
        if (!entry.BigFontName.empty())
          SetFontFile(entry.BigFontName, sink, [&](const char* n) { style->setBigFontFileName(n); });
      } else {
        style->setFont(entry.FontName.c_str(), false, false, 200, 100);
      }
      style->setTextSize(entry.Height);
      style->setXScale(entry.WidthFactor);
      if (table->add(id, style.get()) == Acad::eOk)
        style.release()->close();
      else
        id = AcDbObjectId::kNull;
    }
  }
  table->close();
  return id;
}

}  // namespace vex
