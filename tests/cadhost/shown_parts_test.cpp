// What entities the host keeps as drawing-file groups show: attributes of references, other
// programs' tables, old-style polylines; and the drawing's layouts.

#include <gtest/gtest.h>

#include <numbers>

#include "support/temp_dir.h"
#include "test_util.h"

namespace cadhost::test {
namespace {

// The drawings the recognition tests read (tests/data/recognize).
std::string Drawing(const char* name) { return std::string(CADHOST_TEST_DATA) + "/../recognize/" + name; }

std::vector<AcDbObjectId> EntitiesOf(AcDbObjectId block) {
  AcDbObjectPointer<AcDbBlockTableRecord> b(block, AcDb::kForRead);
  return b ? b->entityIds() : std::vector<AcDbObjectId>();
}

std::vector<std::string> TextsOf(const std::vector<std::unique_ptr<AcDbEntity>>& pieces) {
  std::vector<std::string> out;
  for (const auto& p : pieces)
    if (const auto* t = AcDbText::cast(p.get())) out.push_back(t->textString());
  return out;
}

TEST(ShownParts, ReferencesShowTheirVisibleAttributesNotTheDefinitions) {
  AcDbDatabase db(false);
  ASSERT_EQ(db.readDwgFile(Drawing("block_table.dxf").c_str()), Acad::eOk) << db.lastFileReport().message;
  // Model space holds TABLE, which holds GRID, three texts and three LABEL references.
  AcDbObjectPointer<AcDbBlockReference> table(EntitiesOf(db.modelSpaceId()).at(0), AcDb::kForRead);
  ASSERT_TRUE(table);
  const std::vector<AcDbObjectId> inside = EntitiesOf(table->blockTableRecord());
  ASSERT_EQ(inside.size(), 7u);
  AcDbObjectPointer<AcDbBlockReference> label(inside[4], AcDb::kForRead);
  ASSERT_TRUE(label);
  const auto attributes = label->attributeTexts();
  ASSERT_EQ(attributes.size(), 1u);  // SECRET is invisible
  EXPECT_EQ(attributes[0]->textString(), "x1");
  EXPECT_POINT_NEAR(attributes[0]->position(), 2, -16.25, 0, 1e-9);  // in TABLE's coordinates
  EXPECT_DOUBLE_EQ(attributes[0]->height(), 2.5);

  std::vector<std::unique_ptr<AcDbEntity>> pieces;
  ASSERT_EQ(label->explode(pieces), Acad::eOk);
  EXPECT_EQ(TextsOf(pieces), (std::vector<std::string>{"x1"}));  // no ATTDEF tags
  AcDbExtents ext;
  ASSERT_EQ(label->getGeomExtents(ext), Acad::eOk);  // the attribute's box
  EXPECT_NEAR(ext.minPoint().y, -16.25, 1e-9);
}

TEST(ShownParts, AnotherProgramsTableShowsItsBlock) {
  AcDbDatabase db(false);
  ASSERT_EQ(db.readDwgFile(Drawing("acad_table.dxf").c_str()), Acad::eOk) << db.lastFileReport().message;
  AcDbEntityPointer table(EntitiesOf(db.modelSpaceId()).at(0), AcDb::kForRead);
  ASSERT_TRUE(table);
  EXPECT_STREQ(table->dxfName(), "ACAD_TABLE");
  std::vector<std::unique_ptr<AcDbEntity>> pieces;
  ASSERT_EQ(table->explode(pieces), Acad::eOk);
  ASSERT_EQ(pieces.size(), 10u);  // six lines and four multiline texts
  AcDbExtents ext;
  ASSERT_EQ(table->getGeomExtents(ext), Acad::eOk);
  EXPECT_POINT_NEAR(ext.minPoint(), 50, 60, 0, 1e-9);
  EXPECT_POINT_NEAR(ext.maxPoint(), 110, 80, 0, 1e-9);
  // Still written back as it was read.
  vex::test::TempDir dir;
  table.close();
  ASSERT_EQ(db.saveAs(dir.File("t.dxf").c_str()), Acad::eOk);
  EXPECT_NE(vex::test::ReadFile(dir.File("t.dxf")).find("\nACAD_TABLE\n"), std::string::npos);
}

TEST(ShownParts, OldStylePolylinesShowTheirLightweightForm) {
  AcDbDatabase db(false);
  ASSERT_EQ(db.readDwgFile(Drawing("polyline_frame.dxf").c_str()), Acad::eOk) << db.lastFileReport().message;
  int found = 0;
  for (AcDbObjectId id : EntitiesOf(db.modelSpaceId())) {
    AcDbEntityPointer e(id, AcDb::kForRead);
    if (std::string(e->dxfName()) != "POLYLINE") continue;
    ++found;
    std::vector<std::unique_ptr<AcDbEntity>> pieces;
    ASSERT_EQ(e->explode(pieces), Acad::eOk);
    ASSERT_EQ(pieces.size(), 1u);
    const auto* pl = AcDbPolyline::cast(pieces[0].get());
    ASSERT_NE(pl, nullptr);
    ASSERT_EQ(pl->numVerts(), 2u);
    AcGePoint3d p;
    pl->getPointAt(1, p);
    EXPECT_POINT_NEAR(p, 60, -20, 0, 1e-12);
    AcDbExtents ext;
    EXPECT_EQ(e->getGeomExtents(ext), Acad::eOk);
  }
  EXPECT_EQ(found, 1);
}

// Levels of ten references each over one line, moved apart, one level turned a quarter (and,
// with `oddTurn`, one by 30 degrees), the top mirrored; the top reference's id.
AcDbObjectId NestedReferences(AcDbDatabase& db, int levels, bool oddTurn) {
  AcDbObjectId inner = AddBlock(db, "L0");
  Append(inner, new AcDbLine({0, 0, 0}, {1, 2, 0}));
  for (int level = 1; level <= levels; ++level) {
    const AcDbObjectId outer = AddBlock(db, ("L" + std::to_string(level)).c_str());
    for (int k = 0; k < 10; ++k) {
      auto* ref = new AcDbBlockReference({10.0 * k, 3.0 * level, 0}, inner);
      if (level == 2) ref->setRotation(std::numbers::pi / 2);
      if (level == 3 && oddTurn) ref->setRotation(std::numbers::pi / 6);
      Append(outer, ref);
    }
    inner = outer;
  }
  auto* top = new AcDbBlockReference({5, 5, 0}, inner);
  top->setScaleFactors(AcGeScale3d(-2, 2, 2));
  return AppendToModel(db, top);
}

// The box of every line a reference shows, found by exploding it level by level.
void AddExploded(const AcDbEntity& e, AcDbExtents& box) {
  if (const auto* l = AcDbLine::cast(&e)) {
    box.addPoint(l->startPoint());
    box.addPoint(l->endPoint());
    return;
  }
  std::vector<std::unique_ptr<AcDbEntity>> pieces;
  ASSERT_EQ(e.explode(pieces), Acad::eOk);
  for (const auto& p : pieces) AddExploded(*p, box);
}

TEST(ShownParts, ExtentsOfNestedReferencesAreThoseOfWhatTheyShow) {
  for (const bool oddTurn : {false, true}) {
    SCOPED_TRACE(oddTurn ? "a level turned by 30 degrees" : "quarter turns only");
    AcDbDatabase db;
    const AcDbObjectId top = NestedReferences(db, 3, oddTurn);
    AcDbExtents want;
    AcDbEntityPointer e(top, AcDb::kForRead);
    AddExploded(*e.object(), want);
    AcDbExtents got;
    ASSERT_EQ(e->getGeomExtents(got), Acad::eOk);
    EXPECT_POINT_NEAR(got.minPoint(), want.minPoint().x, want.minPoint().y, want.minPoint().z, 1e-9);
    EXPECT_POINT_NEAR(got.maxPoint(), want.maxPoint().x, want.maxPoint().y, want.maxPoint().z, 1e-9);
  }
}

TEST(ShownParts, ExtentsOfReferencesNestedAHundredMillionfoldAreFound) {
  AcDbDatabase db;
  AcDbEntityPointer e(NestedReferences(db, 8, false), AcDb::kForRead);
  AcDbExtents box;
  EXPECT_EQ(e->getGeomExtents(box), Acad::eOk);  // each block walked once, not once per reference
  EXPECT_FALSE(box.isEmpty());
}

TEST(ShownParts, LayoutsAreFoundByName) {
  AcDbDatabase db(false);
  ASSERT_EQ(db.readDwgFile(Drawing("paper_layout.dxf").c_str()), Acad::eOk) << db.lastFileReport().message;
  EXPECT_EQ(db.layoutNames(), (std::vector<std::string>{"Model", "Layout1", "Sheet A"}));
  AcDbObjectId model, sheet, missing;
  ASSERT_EQ(db.getLayoutBlockId("MODEL", model), Acad::eOk);
  EXPECT_EQ(model, db.modelSpaceId());
  ASSERT_EQ(db.getLayoutBlockId("sheet a", sheet), Acad::eOk);
  EXPECT_NE(sheet, db.paperSpaceId());  // not the active layout: a block of its own
  EXPECT_EQ(EntitiesOf(sheet).size(), 10u);  // six lines, four texts
  EXPECT_EQ(db.getLayoutBlockId("Sheet B", missing), Acad::eKeyNotFound);
  EXPECT_TRUE(missing.isNull());

  AcDbDatabase fresh;  // a new drawing has its two layouts too
  EXPECT_EQ(fresh.layoutNames(), (std::vector<std::string>{"Model", "Layout1"}));
  AcDbObjectId paper;
  ASSERT_EQ(fresh.getLayoutBlockId("Layout1", paper), Acad::eOk);
  EXPECT_EQ(paper, fresh.paperSpaceId());
}

}  // namespace
}  // namespace cadhost::test
