// Extents, transforms, copies and explode of every entity kind.

#include <gtest/gtest.h>

#include <array>
#include <functional>
#include <numbers>

#include "support/temp_dir.h"
#include "test_util.h"

namespace cadhost::test {
namespace {

constexpr double kPi = std::numbers::pi;

struct ExtentsCase {
  const char* name;
  std::function<AcDbEntity*()> make;
  AcGePoint3d min, max;
};

class EntityExtents : public ::testing::TestWithParam<ExtentsCase> {};

TEST_P(EntityExtents, SmallestBoxAroundTheGeometry) {
  std::unique_ptr<AcDbEntity> e(GetParam().make());
  AcDbExtents ext;
  ASSERT_EQ(e->getGeomExtents(ext), Acad::eOk);
  EXPECT_POINT_NEAR(ext.minPoint(), GetParam().min.x, GetParam().min.y, GetParam().min.z, 1e-9);
  EXPECT_POINT_NEAR(ext.maxPoint(), GetParam().max.x, GetParam().max.y, GetParam().max.z, 1e-9);
}

AcDbPolyline* Poly(std::initializer_list<std::array<double, 3>> v, bool closed) {
  auto* p = new AcDbPolyline();
  unsigned i = 0;
  for (const auto& x : v) p->addVertexAt(i++, AcGePoint2d(x[0], x[1]), x[2]);
  p->setClosed(closed);
  return p;
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, EntityExtents,
    ::testing::Values(
        ExtentsCase{"line", [] { return new AcDbLine({3, -1, 0}, {1, 4, 2}); }, {1, -1, 0}, {3, 4, 2}},
        ExtentsCase{"circle", [] { return new AcDbCircle({1, 2, 0}, AcGeVector3d::kZAxis, 3); },
                    {-2, -1, 0}, {4, 5, 0}},
        // 30..120 degrees passes the top (90): the box reaches y = r there, not only the ends.
        ExtentsCase{"arc_over_the_top", [] { return new AcDbArc({0, 0, 0}, 2, kPi / 6, 2 * kPi / 3); },
                    {-1, 1, 0}, {std::sqrt(3.0), 2, 0}},
        // 300..60 degrees wraps through 0: the rightmost point is (r, 0).
        ExtentsCase{"arc_through_zero", [] { return new AcDbArc({0, 0, 0}, 2, -kPi / 3, kPi / 3); },
                    {1, -std::sqrt(3.0), 0}, {2, std::sqrt(3.0), 0}},
        ExtentsCase{"arc_mirrored_normal",
                    [] { return new AcDbArc({0, 0, 0}, {0, 0, -1}, 1, 0, kPi / 2); },
                    {-1, 0, 0}, {0, 1, 0}},
        ExtentsCase{"polyline_straight", [] { return Poly({{0, 0, 0}, {4, 0, 0}, {4, 3, 0}}, false); },
                    {0, 0, 0}, {4, 3, 0}},
        // Bulge 1 from (0,0) to (2,0) is a half circle below the chord (counter-clockwise).
        ExtentsCase{"polyline_half_circle", [] { return Poly({{0, 0, 1}, {2, 0, 0}}, false); },
                    {0, -1, 0}, {2, 0, 0}},
        ExtentsCase{"polyline_closing_bulge", [] { return Poly({{0, 0, 0}, {2, 0, -1}}, true); },
                    {0, -1, 0}, {2, 0, 0}},
        ExtentsCase{"line_with_thickness", [] {
                      auto* l = new AcDbLine({0, 0, 0}, {2, 0, 0});
                      l->setThickness(3);
                      return l;
                    },
                    {0, 0, 0}, {2, 0, 3}},
        ExtentsCase{"circle_with_thickness", [] {
                      auto* c = new AcDbCircle({0, 0, 0}, AcGeVector3d::kZAxis, 1);
                      c->setThickness(-2);
                      return c;
                    },
                    {-1, -1, -2}, {1, 1, 0}},
        // "AB" at height 2 leaning 45 degrees: the top edge runs 2 further right.
        ExtentsCase{"obliqued_text", [] {
                      auto* t = new AcDbText({0, 0, 0}, "AB", AcDbObjectId(), 2);
                      t->setOblique(kPi / 4);
                      return t;
                    },
                    {0, 0, 0}, {4, 2, 0}},
        ExtentsCase{"polyline_elevation", [] {
                      auto* p = Poly({{0, 0, 0}, {1, 1, 0}}, false);
                      p->setElevation(5);
                      return p;
                    },
                    {0, 0, 5}, {1, 1, 5}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(EntityExtents, EmptyGeometryHasNone) {
  AcDbPolyline empty;
  AcDbExtents ext;
  EXPECT_EQ(empty.getGeomExtents(ext), Acad::eInvalidExtents);
  AcDbText noText;
  EXPECT_EQ(noText.getGeomExtents(ext), Acad::eInvalidExtents);
}

TEST(Entity, ObliqueIsLimited) {
  AcDbText t;
  EXPECT_EQ(t.setOblique(kPi / 2), Acad::eInvalidInput);
  EXPECT_EQ(t.setOblique(-kPi / 6), Acad::eOk);
  EXPECT_NEAR(t.oblique(), -kPi / 6, 1e-15);
}

TEST(Entity, DeletingAResidentObjectDoesNotHurtTheDatabase) {
  auto db = std::make_unique<AcDbDatabase>();
  auto* line = new AcDbLine({0, 0, 0}, {1, 0, 0});
  const AcDbObjectId id = AppendToModel(*db, line);
  delete line;  // the caller's mistake: the database owns it
  EXPECT_FALSE(id.isValid());
  AcDbEntity* e = nullptr;
  EXPECT_EQ(acdbOpenAcDbEntity(e, id, AcDb::kForRead), Acad::eUnknownHandle);
  vex::test::TempDir dir;
  EXPECT_EQ(db->saveAs(dir.File("a.dxf").c_str()), Acad::eOk);
  db.reset();  // and destroying the database does not delete it twice
}

TEST(EntityExtents, WidePolylineIncludesItsWidth) {
  std::unique_ptr<AcDbPolyline> p(Poly({{0, 0, 0}, {10, 0, 0}}, false));
  p->setConstantWidth(2);
  AcDbExtents ext;
  ASSERT_EQ(p->getGeomExtents(ext), Acad::eOk);
  EXPECT_POINT_NEAR(ext.minPoint(), 0, -1, 0, 1e-12);
  EXPECT_POINT_NEAR(ext.maxPoint(), 10, 1, 0, 1e-12);
}

// A block with a unit square polyline from (0,0) to (1,1) and a circle of radius 1 at (3,0),
// base point (0,0).
struct BlockFixture : ::testing::Test {
  AcDbDatabase db;
  AcDbObjectId block;
  void SetUp() override {
    block = AddBlock(db, "Pic");
    Append(block, Poly({{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}}, true));
    Append(block, new AcDbCircle({3, 0, 0}, AcGeVector3d::kZAxis, 1));
  }
  AcDbObjectId insert(AcGePoint3d at, AcGeScale3d scale, double rotation) {
    auto* ref = new AcDbBlockReference(at, block);
    EXPECT_EQ(ref->setScaleFactors(scale), Acad::eOk);
    ref->setRotation(rotation);
    return AppendToModel(db, ref);
  }
};

TEST_F(BlockFixture, ReferenceExtentsFollowScaleAndRotation) {
  // Unscaled: x from 0 to 4, y from -1 to 1.
  AcDbExtents e = ExtentsOf(insert({10, 20, 0}, AcGeScale3d(1), 0));
  EXPECT_POINT_NEAR(e.minPoint(), 10, 19, 0, 1e-9);
  EXPECT_POINT_NEAR(e.maxPoint(), 14, 21, 0, 1e-9);
  // Scale 2, rotated a quarter turn: block x becomes world y.
  e = ExtentsOf(insert({0, 0, 0}, AcGeScale3d(2), kPi / 2));
  EXPECT_POINT_NEAR(e.minPoint(), -2, 0, 0, 1e-9);
  EXPECT_POINT_NEAR(e.maxPoint(), 2, 8, 0, 1e-9);
  // Non-uniform scale turns the circle into an ellipse; the box is still exact.
  e = ExtentsOf(insert({0, 0, 0}, AcGeScale3d(2, 1, 1), 0));
  EXPECT_POINT_NEAR(e.minPoint(), 0, -1, 0, 1e-9);
  EXPECT_POINT_NEAR(e.maxPoint(), 8, 1, 0, 1e-9);
}

TEST_F(BlockFixture, BasePointMapsToPosition) {
  {
    AcDbObjectPointer<AcDbBlockTableRecord> b(block, AcDb::kForWrite);
    b->setOrigin({1, 1, 0});
  }
  const AcDbExtents e = ExtentsOf(insert({0, 0, 0}, AcGeScale3d(1), 0));
  EXPECT_POINT_NEAR(e.minPoint(), -1, -2, 0, 1e-9);
}

TEST_F(BlockFixture, NestedReferencesCompose) {
  const AcDbObjectId outer = AddBlock(db, "Outer");
  auto* inner = new AcDbBlockReference({100, 0, 0}, block);
  inner->setScaleFactors(AcGeScale3d(2));
  Append(outer, inner);
  auto* ref = new AcDbBlockReference({0, 0, 0}, outer);
  ref->setRotation(kPi);
  const AcDbExtents e = ExtentsOf(AppendToModel(db, ref));
  EXPECT_POINT_NEAR(e.minPoint(), -108, -2, 0, 1e-9);
  EXPECT_POINT_NEAR(e.maxPoint(), -100, 2, 0, 1e-9);
}

TEST_F(BlockFixture, ExplodePlacesPiecesByTheTransform) {
  const AcDbObjectId id = insert({5, 0, 0}, AcGeScale3d(2), kPi / 2);
  AcDbObjectPointer<AcDbBlockReference> ref(id, AcDb::kForRead);
  std::vector<std::unique_ptr<AcDbEntity>> pieces;
  ASSERT_EQ(ref->explode(pieces), Acad::eOk);
  ASSERT_EQ(pieces.size(), 2u);
  EXPECT_EQ(pieces[0]->database(), nullptr);  // the caller's
  auto* circle = AcDbCircle::cast(pieces[1].get());
  ASSERT_NE(circle, nullptr);
  EXPECT_POINT_NEAR(circle->center(), 5, 6, 0, 1e-9);
  EXPECT_DOUBLE_EQ(circle->radius(), 2);
  auto* square = AcDbPolyline::cast(pieces[0].get());
  ASSERT_NE(square, nullptr);
  AcGePoint3d p;
  square->getPointAt(1, p);
  EXPECT_POINT_NEAR(p, 5, 2, 0, 1e-9);
  // The block is untouched.
  AcDbObjectPointer<AcDbBlockTableRecord> b(block, AcDb::kForRead);
  EXPECT_EQ(b->entityIds().size(), 2u);
}

TEST_F(BlockFixture, ExplodeRefusesCirclesUnderNonUniformScale) {
  AcDbObjectPointer<AcDbBlockReference> ref(insert({0, 0, 0}, AcGeScale3d(2, 1, 1), 0), AcDb::kForRead);
  std::vector<std::unique_ptr<AcDbEntity>> pieces;
  EXPECT_EQ(ref->explode(pieces), Acad::eCannotScaleNonUniformly);
  EXPECT_TRUE(pieces.empty());
}

TEST(Transform, MirrorKeepsArcsAndBulgesOnTheirPath) {
  const AcGeMatrix3d mirror = AcGeMatrix3d::scaling3d(-1, 1, 1);
  AcDbArc arc({0, 0, 0}, 1, 0, kPi / 2);  // quarter in the first quadrant
  ASSERT_EQ(arc.transformBy(mirror), Acad::eOk);
  AcDbExtents ext;
  arc.getGeomExtents(ext);
  EXPECT_POINT_NEAR(ext.minPoint(), -1, 0, 0, 1e-9);
  EXPECT_POINT_NEAR(ext.maxPoint(), 0, 1, 0, 1e-9);
  EXPECT_NEAR(arc.normal().z, 1.0, 1e-12);

  std::unique_ptr<AcDbPolyline> p(Poly({{0, 0, 1}, {2, 0, 0}}, false));  // half circle below
  ASSERT_EQ(p->transformBy(mirror), Acad::eOk);
  p->getGeomExtents(ext);
  EXPECT_POINT_NEAR(ext.minPoint(), -2, -1, 0, 1e-9);
  EXPECT_POINT_NEAR(ext.maxPoint(), 0, 0, 0, 1e-9);
}

TEST(Transform, RotateScaleAndMove) {
  AcDbCircle c({1, 0, 0}, AcGeVector3d::kZAxis, 1);
  ASSERT_EQ(c.transformBy(AcGeMatrix3d::translation({0, 5, 0}) * AcGeMatrix3d::rotation(kPi / 2) *
                          AcGeMatrix3d::scaling(3)),
            Acad::eOk);
  EXPECT_POINT_NEAR(c.center(), 0, 8, 0, 1e-9);
  EXPECT_DOUBLE_EQ(c.radius(), 3);
  EXPECT_EQ(c.transformBy(AcGeMatrix3d::scaling3d(2, 1, 1)), Acad::eCannotScaleNonUniformly);
  EXPECT_DOUBLE_EQ(c.radius(), 3);

  AcDbLine l({0, 0, 0}, {1, 0, 0});
  ASSERT_EQ(l.transformBy(AcGeMatrix3d::scaling3d(2, 1, 1)), Acad::eOk);  // lines take any map
  EXPECT_POINT_NEAR(l.endPoint(), 2, 0, 0, 0);

  AcDbBlockReference ref({1, 0, 0}, AcDbObjectId());
  ASSERT_EQ(ref.transformBy(AcGeMatrix3d::rotation(kPi / 2) * AcGeMatrix3d::scaling(2)), Acad::eOk);
  EXPECT_POINT_NEAR(ref.position(), 0, 2, 0, 1e-9);
  EXPECT_NEAR(ref.rotation(), kPi / 2, 1e-12);
  EXPECT_DOUBLE_EQ(ref.scaleFactors().sx, 2);
}

TEST(Transform, DatabaseEntityNeedsWriteAccess) {
  AcDbDatabase db;
  const AcDbObjectId id = AppendToModel(db, new AcDbLine({0, 0, 0}, {1, 0, 0}));
  AcDbEntityPointer e(id, AcDb::kForRead);
  EXPECT_EQ(e->transformBy(AcGeMatrix3d::translation({1, 0, 0})), Acad::eNotOpenForWrite);
}

TEST(Copies, CloneIsIndependentAndKeepsProperties) {
  AcDbDatabase db;
  const AcDbObjectId layer = AddLayer(db, "Inline", 3);
  auto* line = new AcDbLine({0, 0, 0}, {5, 0, 0});
  line->setLayer(layer);
  line->setColorIndex(2);
  line->setLineWeight(AcDb::kLnWt050);
  const AcDbObjectId id = AppendToModel(db, line);
  AcDbObjectPointer<AcDbLine> src(id, AcDb::kForRead);
  std::unique_ptr<AcDbObject> copy = src->clone();
  auto* c = AcDbLine::cast(copy.get());
  ASSERT_NE(c, nullptr);
  EXPECT_EQ(c->database(), nullptr);
  EXPECT_TRUE(c->objectId().isNull());
  EXPECT_EQ(c->layerId(), layer);
  EXPECT_EQ(c->colorIndex(), 2);
  EXPECT_EQ(c->lineWeight(), AcDb::kLnWt050);
  c->setEndPoint({9, 9, 0});
  EXPECT_EQ(src->endPoint(), AcGePoint3d(5, 0, 0));
  std::unique_ptr<AcDbEntity> moved;
  ASSERT_EQ(src->getTransformedCopy(AcGeMatrix3d::translation({0, 1, 0}), moved), Acad::eOk);
  EXPECT_EQ(AcDbLine::cast(moved.get())->startPoint(), AcGePoint3d(0, 1, 0));
}

TEST(Curves, StartAndEndPoints) {
  AcDbArc arc({0, 0, 0}, 2, 0, kPi / 2);
  AcGePoint3d p;
  arc.getStartPoint(p);
  EXPECT_POINT_NEAR(p, 2, 0, 0, 1e-12);
  arc.getEndPoint(p);
  EXPECT_POINT_NEAR(p, 0, 2, 0, 1e-12);
  AcDbPolyline pl;
  EXPECT_EQ(pl.getStartPoint(p), Acad::eDegenerateGeometry);
  std::unique_ptr<AcDbPolyline> closed(Poly({{0, 0, 0}, {1, 0, 0}, {1, 1, 0}}, true));
  closed->getEndPoint(p);
  EXPECT_POINT_NEAR(p, 0, 0, 0, 0);
  EXPECT_TRUE(closed->isClosed());
  EXPECT_EQ(closed->addVertexAt(7, {0, 0}), Acad::eInvalidIndex);
  double bulge = 0;
  EXPECT_EQ(closed->getBulgeAt(3, bulge), Acad::eInvalidIndex);
}

}  // namespace
}  // namespace cadhost::test
