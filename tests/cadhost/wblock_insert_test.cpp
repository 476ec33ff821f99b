// Copying entities out of a drawing (wblock) and into one as a block (insert).

#include <gtest/gtest.h>

#include "test_util.h"

namespace cadhost::test {
namespace {

struct Source : ::testing::Test {
  AcDbDatabase src;
  AcDbObjectId layer, style, dashed, pic, line, text, ref;
  void SetUp() override {
    layer = AddLayer(src, "Inline", 3);
    auto* lt = new AcDbLinetypeTableRecord();
    lt->setName("DASHED");
    lt->setNumDashes(2);
    lt->setDashLengthAt(0, 5);
    lt->setDashLengthAt(1, -2);
    dashed = AddRecord(src, &AcDbDatabase::getLinetypeTable, lt);
    {
      AcDbObjectPointer<AcDbLayerTableRecord> l(layer, AcDb::kForWrite);
      l->setLinetypeObjectId(dashed);
    }
    style = AddShapeStyle(src, "Table");
    pic = AddBlock(src, "Pic");
    Append(pic, new AcDbCircle({0, 0, 0}, AcGeVector3d::kZAxis, 1));
    auto* l = new AcDbLine({0, 0, 0}, {10, 0, 0});
    l->setLayer(layer);
    line = AppendToModel(src, l);
    auto* t = new AcDbText({1, 1, 0}, "文字", style, 2.5);
    text = AppendToModel(src, t);
    ref = AppendToModel(src, new AcDbBlockReference({20, 0, 0}, pic));
    AppendToModel(src, new AcDbLine({0, 0, 0}, {0, 9, 0}));  // not copied
  }
};

TEST_F(Source, WblockTakesTheEntitiesAndWhatTheyUse) {
  std::unique_ptr<AcDbDatabase> out;
  ASSERT_EQ(src.wblock(out, {line, text, ref}, AcGePoint3d(5, 0, 0)), Acad::eOk);
  ASSERT_NE(out, nullptr);
  EXPECT_EQ(out->insbase(), AcGePoint3d(5, 0, 0));
  AcDbObjectPointer<AcDbBlockTableRecord> ms(out->modelSpaceId(), AcDb::kForRead);
  const std::vector<AcDbObjectId> ids = ms->entityIds();
  ASSERT_EQ(ids.size(), 3u);
  AcDbObjectPointer<AcDbLine> l(ids[0], AcDb::kForRead);
  EXPECT_EQ(l->layer(), "Inline");
  EXPECT_EQ(l->layerId().database(), out.get());
  EXPECT_EQ(l->endPoint(), AcGePoint3d(10, 0, 0));  // world coordinates kept
  AcDbObjectPointer<AcDbLayerTableRecord> lay(l->layerId(), AcDb::kForRead);
  EXPECT_EQ(lay->color().colorIndex(), 3);
  AcDbObjectPointer<AcDbLinetypeTableRecord> lt(lay->linetypeObjectId(), AcDb::kForRead);
  EXPECT_EQ(lt->name(), "DASHED");
  EXPECT_EQ(lt->numDashes(), 2);
  AcDbObjectPointer<AcDbText> t(ids[1], AcDb::kForRead);
  AcDbObjectPointer<AcDbTextStyleTableRecord> st(t->textStyle(), AcDb::kForRead);
  EXPECT_EQ(st->name(), "Table");
  EXPECT_EQ(st->bigFontFileName(), "gbcbig.shx");
  AcDbObjectPointer<AcDbBlockReference> r(ids[2], AcDb::kForRead);
  AcDbObjectPointer<AcDbBlockTableRecord> b(r->blockTableRecord(), AcDb::kForRead);
  EXPECT_EQ(b->name(), "Pic");
  EXPECT_EQ(b->entityIds().size(), 1u);
  // The source is unchanged.
  AcDbObjectPointer<AcDbBlockTableRecord> srcMs(src.modelSpaceId(), AcDb::kForRead);
  EXPECT_EQ(srcMs->entityIds().size(), 4u);
}

struct WblockError {
  const char* name;
  int which;  // 0 none, 1 erased, 2 foreign, 3 record, 4 null
  Acad::ErrorStatus expected;
};

class WblockRefuses : public Source, public ::testing::WithParamInterface<WblockError> {};

TEST_P(WblockRefuses, BadIds) {
  AcDbDatabase other;
  AcDbObjectIdArray ids;
  switch (GetParam().which) {
    case 1: {
      AcDbEntityPointer e(line, AcDb::kForWrite);
      e->erase();
      ids.append(line);
      break;
    }
    case 2: ids.append(other.modelSpaceId()); break;
    case 3: ids.append(layer); break;
    case 4: ids.append(AcDbObjectId()); break;
    default: break;
  }
  std::unique_ptr<AcDbDatabase> out;
  EXPECT_EQ(src.wblock(out, ids, AcGePoint3d()), GetParam().expected);
  EXPECT_EQ(out, nullptr);
}

INSTANTIATE_TEST_SUITE_P(Cases, WblockRefuses,
                         ::testing::Values(WblockError{"no_ids", 0, Acad::eInvalidInput},
                                           WblockError{"erased", 1, Acad::eWasErased},
                                           WblockError{"other_database", 2, Acad::eWrongDatabase},
                                           WblockError{"not_an_entity", 3, Acad::eNotAnEntity},
                                           WblockError{"null", 4, Acad::eNullObjectId}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(Source, InsertMakesABlockOfTheModelSpace) {
  std::unique_ptr<AcDbDatabase> side;
  ASSERT_EQ(src.wblock(side, {line, ref}, AcGePoint3d(0, 0, 0)), Acad::eOk);
  AcDbDatabase target;
  AddLayer(target, "INLINE", 5);  // same name, another colour: the target's stays
  AcDbObjectId blockId;
  ASSERT_EQ(target.insert(blockId, "VexTable0", side.get()), Acad::eOk);
  AcDbObjectPointer<AcDbBlockTableRecord> block(blockId, AcDb::kForRead);
  EXPECT_EQ(block->name(), "VexTable0");
  const std::vector<AcDbObjectId> ids = block->entityIds();
  ASSERT_EQ(ids.size(), 2u);
  AcDbObjectPointer<AcDbLine> l(ids[0], AcDb::kForRead);
  AcDbObjectPointer<AcDbLayerTableRecord> lay(l->layerId(), AcDb::kForRead);
  EXPECT_EQ(lay->color().colorIndex(), 5);
  AcDbBlockTable* table = nullptr;
  target.getBlockTable(table, AcDb::kForRead);
  EXPECT_TRUE(table->has("Pic"));
  table->close();
  // A reference to the new block has the extents of the copied geometry.
  const AcDbExtents e = ExtentsOf(AppendToModel(target, new AcDbBlockReference({0, 0, 0}, blockId)));
  EXPECT_POINT_NEAR(e.minPoint(), 0, -1, 0, 1e-9);
  EXPECT_POINT_NEAR(e.maxPoint(), 21, 1, 0, 1e-9);
  // The side database still holds its entities.
  AcDbObjectPointer<AcDbBlockTableRecord> sideMs(side->modelSpaceId(), AcDb::kForRead);
  EXPECT_EQ(sideMs->entityIds().size(), 2u);
}

TEST_F(Source, InsertRefusesTakenOrBadNames) {
  AcDbDatabase target;
  AcDbObjectId id;
  EXPECT_EQ(target.insert(id, "*Model_Space", &src), Acad::eInvalidSymbolTableName);
  EXPECT_EQ(target.insert(id, "a|b", &src), Acad::eInvalidSymbolTableName);
  ASSERT_EQ(target.insert(id, "Copy", &src), Acad::eOk);
  EXPECT_EQ(target.insert(id, "COPY", &src), Acad::eDuplicateRecordName);
  EXPECT_TRUE(id.isNull());
  EXPECT_EQ(target.insert(id, "Self", &target), Acad::eSelfReference);
  EXPECT_EQ(target.insert(id, "Null", nullptr), Acad::eNullObjectPointer);
}

TEST_F(Source, InsertBaseIsTheSourceInsbase) {
  std::unique_ptr<AcDbDatabase> side;
  ASSERT_EQ(src.wblock(side, {line}, AcGePoint3d(10, 0, 0)), Acad::eOk);
  AcDbDatabase target;
  AcDbObjectId id;
  ASSERT_EQ(target.insert(id, "B", side.get()), Acad::eOk);
  const AcDbExtents e = ExtentsOf(AppendToModel(target, new AcDbBlockReference({0, 0, 0}, id)));
  EXPECT_POINT_NEAR(e.minPoint(), -10, 0, 0, 1e-12);
}

TEST_F(Source, AnonymousBlocksGetNewNames) {
  const AcDbObjectId anon = AddBlock(src, "*U");
  Append(anon, new AcDbLine({0, 0, 0}, {1, 1, 0}));
  const AcDbObjectId r = AppendToModel(src, new AcDbBlockReference({0, 0, 0}, anon));
  AcDbDatabase target;
  AddBlock(target, "*U");  // *U1 is taken in the target
  std::unique_ptr<AcDbDatabase> side;
  ASSERT_EQ(src.wblock(side, {r}, AcGePoint3d()), Acad::eOk);
  AcDbObjectId id;
  ASSERT_EQ(target.insert(id, "WithAnon", side.get()), Acad::eOk);
  AcDbObjectPointer<AcDbBlockTableRecord> block(id, AcDb::kForRead);
  AcDbObjectPointer<AcDbBlockReference> copy(block->entityIds()[0], AcDb::kForRead);
  AcDbObjectPointer<AcDbBlockTableRecord> inner(copy->blockTableRecord(), AcDb::kForRead);
  EXPECT_EQ(inner->name(), "*U2");
  EXPECT_EQ(inner->entityIds().size(), 1u);
}

}  // namespace
}  // namespace cadhost::test
