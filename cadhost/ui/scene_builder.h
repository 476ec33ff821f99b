#pragma once
// Reads a drawing into a scene: one function per entity kind turns an entity into primitives,
// with colours (BYLAYER, BYBLOCK, the index palette, true colours), linetypes and lineweights
// resolved, layers that are off or frozen left out, and block references drawn through their
// blocks (nested ones too) with their attributes. An entity kind the host keeps without
// modelling it draws nothing.

#include <map>
#include <memory>
#include <unordered_map>
#include <vector>

#include "cadhost/sdk/dbents.h"
#include "cadhost/ui/scene.h"

namespace cadhost::ui {

class SceneBuilder {
 public:
  explicit SceneBuilder(AcDbDatabase* db);

  // Reads every entity of the database's current space into `scene`, which starts afresh.
  void BuildAll(Scene& scene);
  // Reads the given entities again: changed ones are redrawn, new ones added at the end, gone
  // or erased ones taken out. False when one of `ids` is something that changes how other
  // entities look (a layer, linetype, style or block definition, another space): the caller
  // builds all again then.
  bool Update(Scene& scene, const std::vector<AcDbObjectId>& ids);
  // The graphics of one entity, without putting them anywhere.
  EntityGraphics Build(const AcDbEntity& entity);

  // Nesting deeper than this is a damaged drawing: the block is drawn as its box.
  static constexpr int kMaxDepth = 16;

 private:
  // What pieces of a block take from the reference they are drawn through.
  struct Inherited {
    Colour colour = Colour::Foreground();  // for BYBLOCK
    AcDbObjectId layer;                     // for pieces on layer "0"
    AcDbObjectId linetype;                  // for BYBLOCK
    double weightMm = 0.25;                 // for BYBLOCK
    double linetypeScale = 1.0;
  };
  struct LayerInfo {
    bool shown = true;
    Colour colour;
    AcDbObjectId linetype;
    double weightMm = 0.25;
  };

  void AddEntity(const AcDbEntity& e, const Inherited& in, int depth, EntityGraphics& out);
  void AddLine(const AcDbLine& e, const Pen& pen, EntityGraphics& out);
  void AddCircle(const AcDbCircle& e, const Pen& pen, EntityGraphics& out);
  void AddArc(const AcDbArc& e, const Pen& pen, EntityGraphics& out);
  void AddPolyline(const AcDbPolyline& e, const Pen& pen, EntityGraphics& out);
  void AddText(const AcDbText& e, const Colour& colour, EntityGraphics& out);
  void AddBlockReference(const AcDbBlockReference& e, const Inherited& inner, int depth,
                         EntityGraphics& out);
  void AddBox(const AcDbEntity& e, const Pen& pen, EntityGraphics& out);

  AcDbObjectId EffectiveLayer(const AcDbEntity& e, const Inherited& in) const;
  const LayerInfo& Layer(AcDbObjectId id);
  Colour ColourOf(const AcDbEntity& e, const Inherited& in);
  Pen PenOf(const AcDbEntity& e, const Inherited& in);
  int PatternOf(AcDbObjectId linetype, double scale);
  Inherited TopLevel() const;

  AcDbDatabase* m_db;
  Scene* m_scene = nullptr;
  AcDbObjectId m_layerZero;
  std::unordered_map<AcDbObjectId, LayerInfo> m_layers;
  std::map<std::pair<AcDbObjectId, double>, int> m_patterns;
};

// Points of the arc of `radius` about `center` (in the plane of `normal`) from angle a0 to
// a1 (radians, counter-clockwise in that plane), close enough to the curve for any zoom a
// drafter uses; seen from above (world x and y).
std::vector<Pt> ArcPoints(const AcGePoint3d& center, const AcGeVector3d& normal, double radius,
                          double a0, double a1);
// The colour of an index colour: 7 is the foreground.
Colour IndexColour(int index);

}  // namespace cadhost::ui
