// Reading drawings into scenes: colours, layers, linetypes, texts, blocks, updates.

#include "cadhost/ui/scene_builder.h"

#include <gtest/gtest.h>

#include <numbers>

#include "cadhost/host/host_control.h"
#include "cadhost/sdk/cadhost.h"

namespace cadhost::ui {
namespace {

AcDbObjectId Append(AcDbDatabase& db, AcDbEntity* e, AcDbObjectId block = {}) {
  AcDbObjectPointer<AcDbBlockTableRecord> b(block.isNull() ? db.modelSpaceId() : block, AcDb::kForWrite);
  AcDbObjectId id;
  if (b->appendAcDbEntity(id, e) != Acad::eOk) {
    delete e;
    return {};
  }
  e->close();
  return id;
}

AcDbObjectId Layer(AcDbDatabase& db, const char* name, int color, bool off = false, bool frozen = false) {
  AcDbLayerTable* t = nullptr;
  db.getLayerTable(t, AcDb::kForWrite);
  auto* l = new AcDbLayerTableRecord();
  l->setName(name);
  l->setColor(AcCmColor::fromIndex(static_cast<Adesk::UInt16>(color)));
  l->setIsOff(off);
  l->setIsFrozen(frozen);
  AcDbObjectId id;
  t->add(id, l);
  l->close();
  t->close();
  return id;
}

template <typename T>
T* Set(T* e, AcDbObjectId layer, int color = 256) {
  e->setLayer(layer);
  e->setColorIndex(static_cast<Adesk::UInt16>(color));
  return e;
}

class SceneBuilderTest : public ::testing::Test {
 protected:
  void SetUp() override { ResetHost(); }
  void TearDown() override { ResetHost(); }
  AcDbDatabase db;
};

TEST_F(SceneBuilderTest, ColoursResolveByLayerByBlockAndIndex) {
  const AcDbObjectId red = Layer(db, "Red", 1);
  const AcDbObjectId byLayer = Append(db, Set(new AcDbLine({0, 0, 0}, {1, 0, 0}), red));
  const AcDbObjectId white = Append(db, Set(new AcDbLine({0, 0, 0}, {1, 0, 0}), red, 7));
  const AcDbObjectId blue = Append(db, Set(new AcDbLine({0, 0, 0}, {1, 0, 0}), red, 5));
  auto* rgb = Set(new AcDbLine({0, 0, 0}, {1, 0, 0}), red);
  AcCmColor c;
  c.setRGB(1, 2, 3);
  rgb->setColor(c);
  const AcDbObjectId trueColour = Append(db, rgb);
  const AcDbObjectId byBlock = Append(db, Set(new AcDbLine({0, 0, 0}, {1, 0, 0}), red, 0));
  Scene scene;
  SceneBuilder(&db).BuildAll(scene);
  auto colour = [&](AcDbObjectId id) { return scene.Find(id)->lines.at(0).pen.colour; };
  EXPECT_EQ(colour(byLayer), Colour::Rgb(0xFF0000));
  EXPECT_EQ(colour(white), Colour::Foreground());
  EXPECT_EQ(colour(blue), Colour::Rgb(0x0000FF));
  EXPECT_EQ(colour(trueColour), Colour::Rgb(0x010203));
  EXPECT_EQ(colour(byBlock), Colour::Foreground()) << "outside a block BYBLOCK is colour 7";
}

TEST_F(SceneBuilderTest, LayersThatAreOffOrFrozenDrawNothing) {
  const AcDbObjectId shown = Append(db, Set(new AcDbLine({0, 0, 0}, {1, 0, 0}), Layer(db, "A", 3)));
  const AcDbObjectId off = Append(db, Set(new AcDbCircle({0, 0, 0}, AcGeVector3d::kZAxis, 1), Layer(db, "B", 3, true)));
  const AcDbObjectId frozen = Append(db, Set(new AcDbText({0, 0, 0}, "x"), Layer(db, "C", 3, false, true)));
  Scene scene;
  SceneBuilder(&db).BuildAll(scene);
  EXPECT_NE(scene.Find(shown), nullptr);
  EXPECT_EQ(scene.Find(off), nullptr);
  EXPECT_EQ(scene.Find(frozen), nullptr);
  EXPECT_EQ(scene.Count(), 1u);
}

TEST_F(SceneBuilderTest, LinetypesFromTheLayerOrEntityScaledByLtscale) {
  ASSERT_EQ(db.loadLineTypeFile("DASHED", CADHOST_SUPPORT "/acadiso.lin"), Acad::eOk);
  AcDbObjectId dashed;
  {
    AcDbLinetypeTable* t = nullptr;
    db.getLinetypeTable(t, AcDb::kForRead);
    t->getAt("DASHED", dashed);
    t->close();
  }
  const AcDbObjectId layer = Layer(db, "Hidden", 2);
  {
    AcDbObjectPointer<AcDbLayerTableRecord> l(layer, AcDb::kForWrite);
    l->setLinetypeObjectId(dashed);
  }
  db.setLtscale(2);
  const AcDbObjectId byLayer = Append(db, Set(new AcDbLine({0, 0, 0}, {100, 0, 0}), layer));
  auto* own = Set(new AcDbLine({0, 0, 0}, {100, 0, 0}), db.clayer());
  own->setLinetype(dashed);
  own->setLinetypeScale(0.5);
  const AcDbObjectId scaled = Append(db, own);
  const AcDbObjectId solid = Append(db, new AcDbLine({0, 0, 0}, {100, 0, 0}));
  Scene scene;
  SceneBuilder(&db).BuildAll(scene);
  const Pen a = scene.Find(byLayer)->lines[0].pen;
  const Pen b = scene.Find(scaled)->lines[0].pen;
  ASSERT_GE(a.pattern, 0);
  ASSERT_GE(b.pattern, 0);
  EXPECT_EQ(scene.Pattern(a.pattern).elements, (std::vector<double>{25.4, -12.7}));
  EXPECT_EQ(scene.Pattern(b.pattern).elements, (std::vector<double>{12.7, -6.35}));
  EXPECT_EQ(scene.Find(solid)->lines[0].pen.pattern, -1);
}

// The text's box as the scene draws it equals its extents in the host's text model: what is
// seen lines up with what selection and the table's rules use.
struct TextCase {
  const char* name;
  const char* text;
  double rotationDeg;
  AcDb::TextHorzMode h;
  AcDb::TextVertMode v;
  double widthFactor;
  bool mirrored;
};

class TextBox : public SceneBuilderTest, public ::testing::WithParamInterface<TextCase> {};

TEST_P(TextBox, MatchesTheHostsExtents) {
  const TextCase& c = GetParam();
  auto* t = new AcDbText({10, 20, 0}, c.text);
  t->setHeight(2.5);
  t->setWidthFactor(c.widthFactor);
  t->setRotation(c.rotationDeg * std::numbers::pi / 180);
  t->mirrorInX(c.mirrored);
  if (c.h != AcDb::kTextLeft || c.v != AcDb::kTextBase) {
    t->setHorizontalMode(c.h);
    t->setVerticalMode(c.v);
    t->setAlignmentPoint({10, 20, 0});
  }
  const AcDbObjectId id = Append(db, t);
  AcDbExtents ext;
  {
    AcDbEntityPointer e(id, AcDb::kForRead);
    ASSERT_EQ(e->getGeomExtents(ext), Acad::eOk);
  }
  Scene scene;
  SceneBuilder(&db).BuildAll(scene);
  const EntityGraphics* g = scene.Find(id);
  ASSERT_NE(g, nullptr);
  ASSERT_EQ(g->texts.size(), 1u);
  EXPECT_NEAR(g->box.minX, ext.minPoint().x, 1e-9);
  EXPECT_NEAR(g->box.minY, ext.minPoint().y, 1e-9);
  EXPECT_NEAR(g->box.maxX, ext.maxPoint().x, 1e-9);
  EXPECT_NEAR(g->box.maxY, ext.maxPoint().y, 1e-9);
  const std::vector<double> offsets = g->texts[0].Offsets();
  EXPECT_NEAR(offsets.back(), g->texts[0].advance, 1e-12);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, TextBox,
    ::testing::Values(TextCase{"Plain", "A1 text", 0, AcDb::kTextLeft, AcDb::kTextBase, 1, false},
                      TextCase{"WideCjk", "零件明细表 Parts", 0, AcDb::kTextLeft, AcDb::kTextBase, 0.7, false},
                      TextCase{"RotatedRight", "Rev. A", 30, AcDb::kTextRight, AcDb::kTextBase, 1, false},
                      TextCase{"MiddleCentre", "%%c12", 90, AcDb::kTextCenter, AcDb::kTextVertMid, 0.8, false},
                      TextCase{"TopRight", "30%%d", 200, AcDb::kTextRight, AcDb::kTextTop, 1, false},
                      TextCase{"Mirrored", "mirror", 0, AcDb::kTextLeft, AcDb::kTextBase, 1, true}),
    [](const auto& i) { return std::string(i.param.name); });

TEST_F(SceneBuilderTest, BlocksDrawTheirPiecesWithByBlockAndLayerZeroFromTheReference) {
  AcDbObjectId inner, outer;
  auto block = [&](const char* name) {
    AcDbBlockTable* t = nullptr;
    db.getBlockTable(t, AcDb::kForWrite);
    auto* r = new AcDbBlockTableRecord();
    r->setName(name);
    AcDbObjectId id;
    t->add(id, r);
    r->close();
    t->close();
    return id;
  };
  const AcDbObjectId zero = db.clayer();
  const AcDbObjectId green = Layer(db, "Green", 3);
  inner = block("Inner");
  const AcDbObjectId piece = Append(db, Set(new AcDbLine({0, 0, 0}, {1, 0, 0}), zero, 0), inner);
  (void)piece;
  Append(db, Set(new AcDbCircle({0, 0, 0}, AcGeVector3d::kZAxis, 1), zero, 256), inner);
  outer = block("Outer");
  auto* nested = new AcDbBlockReference({10, 0, 0}, inner);
  nested->setColorIndex(0);
  Append(db, nested, outer);
  auto* ref = new AcDbBlockReference({100, 100, 0}, outer);
  ref->setScaleFactors(AcGeScale3d(2));
  ref->setColorIndex(1);
  ref->setLayer(green);
  const AcDbObjectId top = Append(db, ref);
  Scene scene;
  SceneBuilder(&db).BuildAll(scene);
  const EntityGraphics* g = scene.Find(top);
  ASSERT_NE(g, nullptr);
  ASSERT_EQ(g->lines.size(), 2u);
  EXPECT_EQ(g->lines[0].pen.colour, Colour::Rgb(0xFF0000)) << "BYBLOCK through two references";
  EXPECT_EQ(g->lines[1].pen.colour, Colour::Rgb(0x00FF00)) << "BYLAYER on layer 0: the reference's layer";
  EXPECT_EQ(g->lines[0].points[0], (Pt{120, 100}));
  EXPECT_EQ(g->lines[0].points[1], (Pt{122, 100}));
  ASSERT_EQ(g->snaps.arcs.size(), 1u);
  EXPECT_NEAR(g->snaps.arcs[0].radius, 2, 1e-12);
  AcDbExtents ext;
  AcDbEntityPointer e(top, AcDb::kForRead);
  ASSERT_EQ(e->getGeomExtents(ext), Acad::eOk);
  // Curves are drawn as chords within a thousandth of their radius.
  EXPECT_NEAR(g->box.minX, ext.minPoint().x, 2 * 2e-3);
  EXPECT_NEAR(g->box.maxY, ext.maxPoint().y, 2 * 2e-3);
}

TEST_F(SceneBuilderTest, WidePolylinesAreAreasAndBulgesArcs) {
  auto* pl = new AcDbPolyline();
  pl->addVertexAt(0, {0, 0}, 0, 2, 2);
  pl->addVertexAt(1, {10, 0}, 1);  // a half circle to (10, 10)
  pl->addVertexAt(2, {10, 10});
  const AcDbObjectId id = Append(db, pl);
  Scene scene;
  SceneBuilder(&db).BuildAll(scene);
  const EntityGraphics* g = scene.Find(id);
  ASSERT_NE(g, nullptr);
  ASSERT_EQ(g->fills.size(), 1u);
  const Box fill = [&] {
    Box b;
    for (const Pt& p : g->fills[0].polygon) b.Add(p);
    return b;
  }();
  EXPECT_NEAR(fill.minY, -1, 1e-12);
  EXPECT_NEAR(fill.maxY, 1, 1e-12);
  ASSERT_EQ(g->snaps.arcs.size(), 1u);
  EXPECT_NEAR(g->snaps.arcs[0].center.x, 10, 1e-9);
  EXPECT_NEAR(g->snaps.arcs[0].center.y, 5, 1e-9);
  EXPECT_NEAR(g->snaps.arcs[0].radius, 5, 1e-9);
  EXPECT_NEAR(g->box.maxX, 15, 1e-3) << "the bulge reaches out";
}

TEST_F(SceneBuilderTest, QueriesFindWhatLiesThereInDrawingOrder) {
  std::vector<AcDbObjectId> ids;
  for (int i = 0; i < 1000; ++i)
    ids.push_back(Append(db, new AcDbLine({i * 10.0, 0, 0}, {i * 10.0 + 5, 5, 0})));
  const AcDbObjectId across = Append(db, new AcDbLine({-1, 2, 0}, {10001, 2, 0}));
  Scene scene;
  SceneBuilder(&db).BuildAll(scene);
  const std::vector<std::uint32_t> found = scene.Query(Box::Of({98, 0}, {121, 1}));
  std::vector<AcDbObjectId> names;
  for (std::uint32_t s : found) names.push_back(scene.Entities()[s].id);
  EXPECT_EQ(names, (std::vector<AcDbObjectId>{ids[10], ids[11], ids[12]}));
  const auto band = scene.Query(Box::Of({5006, 1.5}, {5009, 2.5}));
  ASSERT_EQ(band.size(), 1u);
  EXPECT_EQ(scene.Entities()[band[0]].id, across);
  EXPECT_EQ(scene.Query(scene.Extents()).size(), 1001u);
}

TEST_F(SceneBuilderTest, UpdatesRedrawChangedAddAndTakeOut) {
  const AcDbObjectId a = Append(db, new AcDbLine({0, 0, 0}, {1, 0, 0}));
  const AcDbObjectId b = Append(db, new AcDbLine({0, 5, 0}, {1, 5, 0}));
  Scene scene;
  SceneBuilder builder(&db);
  builder.BuildAll(scene);
  {
    AcDbObjectPointer<AcDbLine> l(a, AcDb::kForWrite);
    l->setEndPoint({50, 0, 0});
  }
  {
    AcDbEntityPointer e(b, AcDb::kForWrite);
    e->erase();
  }
  const AcDbObjectId c = Append(db, new AcDbCircle({100, 100, 0}, AcGeVector3d::kZAxis, 1));
  EXPECT_TRUE(builder.Update(scene, {a, b, c, db.modelSpaceId()}));
  EXPECT_EQ(scene.Find(a)->lines[0].points[1], (Pt{50, 0}));
  EXPECT_EQ(scene.Find(b), nullptr);
  EXPECT_NE(scene.Find(c), nullptr);
  EXPECT_EQ(scene.Count(), 2u);
  EXPECT_NEAR(scene.Extents().maxX, 101, 1e-3);
  EXPECT_EQ(scene.Query(Box::Of({0, 4}, {2, 6})).size(), 0u) << "gone from the grid too";
  EXPECT_FALSE(builder.Update(scene, {db.clayer()})) << "a layer changes how others look";
}

TEST_F(SceneBuilderTest, AttributesOfReferencesAreDrawnAsTexts) {
  AcDbDatabase sample(false);
  ASSERT_EQ(sample.readDwgFile(CADHOST_TEST_DATA "/ezdxf_sample.dxf"), Acad::eOk);
  Scene scene;
  SceneBuilder(&sample).BuildAll(scene);
  int attributes = 0;
  for (const EntityGraphics& g : scene.Entities())
    for (const TextPrim& t : g.texts)
      if (t.chars == U"图号 A-1") ++attributes;
  EXPECT_EQ(attributes, 1);
}

}  // namespace
}  // namespace cadhost::ui

namespace cadhost::ui {
namespace {

TEST_F(SceneBuilderTest, MultilineTextsShowOneTextPerLineInTheirLayersColour) {
  const AcDbObjectId red = Layer(db, "NOTES", 1);
  auto* m = Set(new AcDbMText(), red);
  m->setContents("First\\PSecond");
  m->setTextHeight(2.5);
  m->setLocation(AcGePoint3d(10, 20, 0));
  Append(db, m);
  Scene scene;
  SceneBuilder(&db).BuildAll(scene);
  std::vector<std::u32string> shown;
  for (const EntityGraphics& g : scene.Entities())
    for (const TextPrim& t : g.texts) {
      shown.push_back(t.chars);
      EXPECT_EQ(t.colour, Colour::Rgb(0xFF0000));
    }
  ASSERT_EQ(shown.size(), 2u);
  EXPECT_EQ(shown[0], U"First");
  EXPECT_EQ(shown[1], U"Second");
}

}  // namespace
}  // namespace cadhost::ui
