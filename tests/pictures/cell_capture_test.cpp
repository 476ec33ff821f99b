#include "pictures/cell_capture.h"

#include <gtest/gtest.h>

#include "cadhost/sdk/cadhost.h"
#include "pictures/image_store.h"
#include "platform/message_sink.h"
#include "support/drawing.h"

namespace vex {
namespace {

AcDbObjectId Add(AcDbDatabase& db, AcDbEntity* e) { return test::AddToModelSpace(db, e); }

AcDbPolyline* Rectangle(double x, double y, double w, double h) { return test::NewRectangle(x, y, w, h); }

// A block named `name` in `db` holding one circle of radius 2 at (1, 1).
AcDbObjectId CircleBlock(AcDbDatabase& db, const char* name) {
  AcDbBlockTable* table = nullptr;
  EXPECT_EQ(db.getBlockTable(table, AcDb::kForWrite), Acad::eOk);
  auto* block = new AcDbBlockTableRecord();
  block->setName(name);
  AcDbObjectId blockId;
  EXPECT_EQ(table->add(blockId, block), Acad::eOk);
  table->close();
  auto* circle = new AcDbCircle(AcGePoint3d(1, 1, 0), AcGeVector3d(0, 0, 1), 2);
  EXPECT_EQ(block->appendAcDbEntity(circle), Acad::eOk);
  circle->close();
  block->close();
  return blockId;
}

std::vector<std::string> ClassesIn(AcDbDatabase* db, const std::string& block) {
  AcDbObjectIdArray ids;
  SilentSink messages;
  EnumerateBlock(db, block, ids, messages);
  std::vector<std::string> names;
  for (const auto& id : ids) {
    AcDbObjectPointer<AcDbEntity> e(id, AcDb::kForRead);
    names.push_back(e ? e->isA()->name() : "?");
  }
  return names;
}

class CaptureTest : public ::testing::Test {
 protected:
  AcDbDatabase drawing_{true, true};
  ImageStore store_;
  RecordingSink messages_;
};

TEST_F(CaptureTest, ClosedRectangleGivesFiveVertices) {
  const AcDbObjectId id = Add(drawing_, Rectangle(100, 50, 20, 10));
  std::string name;
  AcDbObjectId block;
  CellImageList images;
  ASSERT_TRUE(CaptureImage({id}, &drawing_, name, &store_.Ensure(), block, images, messages_));
  EXPECT_EQ(name, "VexTable0");
  EXPECT_FALSE(block.isNull());
  ASSERT_EQ(images.size(), 1u);
  const auto* poly = dynamic_cast<const JPolyLine*>(&images[0]);
  ASSERT_NE(poly, nullptr);
  ASSERT_EQ(poly->vertices.size(), 5u);
  EXPECT_EQ(poly->vertices.front(), poly->vertices.back());
  // Previews keep the drawing's coordinates; the stored block starts at the origin.
  EXPECT_EQ(images.Bounds(), (Rect2d{100, 60, 120, 50}));
  AcDbObjectIdArray stored;
  ASSERT_TRUE(EnumerateBlock(store_.Get(), name, stored, messages_));
  AcDbObjectPointer<AcDbEntity> e(stored[0], AcDb::kForRead);
  AcDbExtents ext;
  ASSERT_EQ(e->getGeomExtents(ext), Acad::eOk);
  EXPECT_NEAR(ext.minPoint().x, 0, 1e-9);
  EXPECT_NEAR(ext.minPoint().y, 0, 1e-9);
  EXPECT_NEAR(ext.maxPoint().x, 20, 1e-9);
  // The drawing keeps its entity.
  EXPECT_EQ(ClassesIn(&drawing_, ""), (std::vector<std::string>{"AcDbPolyline"}));
}

TEST_F(CaptureTest, BlockReferenceIsStoredExploded) {
  const AcDbObjectId ref = Add(drawing_, new AcDbBlockReference(AcGePoint3d(10, 0, 0), CircleBlock(drawing_, "Bolt")));
  std::string name;
  AcDbObjectId block;
  CellImageList images;
  ASSERT_TRUE(CaptureImage({ref}, &drawing_, name, &store_.Ensure(), block, images, messages_));
  ASSERT_EQ(images.size(), 1u);
  const auto* circle = dynamic_cast<const JCircle*>(&images[0]);
  ASSERT_NE(circle, nullptr);
  EXPECT_DOUBLE_EQ(circle->center.x, 11);
  EXPECT_DOUBLE_EQ(circle->radius, 2);
  EXPECT_EQ(ClassesIn(store_.Get(), name), (std::vector<std::string>{"AcDbCircle"}));
}

TEST_F(CaptureTest, NestedReferencesExplodeInTurn) {
  const AcDbObjectId inner = CircleBlock(drawing_, "Inner");
  AcDbBlockTable* table = nullptr;
  drawing_.getBlockTable(table, AcDb::kForWrite);
  auto* outer = new AcDbBlockTableRecord();
  outer->setName("Outer");
  AcDbObjectId outerId;
  table->add(outerId, outer);
  table->close();
  auto* innerRef = new AcDbBlockReference(AcGePoint3d(5, 5, 0), inner);
  outer->appendAcDbEntity(innerRef);
  innerRef->close();
  auto* line = new AcDbLine(AcGePoint3d(0, 0, 0), AcGePoint3d(1, 0, 0));
  outer->appendAcDbEntity(line);
  line->close();
  outer->close();
  const AcDbObjectId ref = Add(drawing_, new AcDbBlockReference(AcGePoint3d(0, 0, 0), outerId));

  std::string name;
  AcDbObjectId block;
  CellImageList images;
  ASSERT_TRUE(CaptureImage({ref}, &drawing_, name, &store_.Ensure(), block, images, messages_));
  ASSERT_EQ(images.size(), 2u);
  EXPECT_STREQ(images[0].ClassName(), "JCircle");
  EXPECT_STREQ(images[1].ClassName(), "JLine");
  EXPECT_EQ(ClassesIn(store_.Get(), name), (std::vector<std::string>{"AcDbCircle", "AcDbLine"}));
}

TEST_F(CaptureTest, TextsOnlyStoreABlockWithoutPrimitives) {
  const AcDbObjectId t = Add(drawing_, new AcDbText(AcGePoint3d(0, 0, 0), "30%%d", AcDbObjectId::kNull, 3.5));
  std::string name;
  AcDbObjectId block;
  CellImageList images;
  ASSERT_TRUE(CaptureImage({t}, &drawing_, name, &store_.Ensure(), block, images, messages_));
  EXPECT_TRUE(images.empty());
  EXPECT_EQ(ClassesIn(store_.Get(), name), (std::vector<std::string>{"AcDbText"}));
}

TEST_F(CaptureTest, NamesCountUpAndTakeTheBaseName) {
  const AcDbObjectId id = Add(drawing_, new AcDbLine(AcGePoint3d(0, 0, 0), AcGePoint3d(5, 0, 0)));
  AcDbObjectId block;
  CellImageList images;
  std::string first, second, based = "Pic";
  ASSERT_TRUE(CaptureImage({id}, &drawing_, first, &store_.Ensure(), block, images, messages_));
  ASSERT_TRUE(CaptureImage({id}, &drawing_, second, &store_.Ensure(), block, images, messages_));
  ASSERT_TRUE(CaptureImage({id}, &drawing_, based, &store_.Ensure(), block, images, messages_));
  EXPECT_EQ(first, "VexTable0");
  EXPECT_EQ(second, "VexTable1");
  EXPECT_EQ(based, "VexTablePic0");
  EXPECT_EQ(images.size(), 3u);  // each capture appends its primitives
}

TEST_F(CaptureTest, NothingToCaptureFails) {
  std::string name;
  AcDbObjectId block;
  CellImageList images;
  EXPECT_FALSE(CaptureImage({}, &drawing_, name, &store_.Ensure(), block, images, messages_));
  EXPECT_FALSE(CaptureImage({AcDbObjectId::kNull}, &drawing_, name, &store_.Ensure(), block, images, messages_));
  EXPECT_FALSE(CaptureImage({}, &drawing_, name, nullptr, block, images, messages_));
  EXPECT_TRUE(name.empty());
  EXPECT_TRUE(images.empty());
}

TEST_F(CaptureTest, EnumerateFailsForMissingOrEmptyBlocks) {
  AcDbObjectIdArray ids;
  EXPECT_FALSE(EnumerateBlock(&drawing_, "NoSuchBlock", ids, messages_));
  EXPECT_FALSE(EnumerateBlock(&drawing_, "*Model_Space", ids, messages_));  // empty
  EXPECT_FALSE(EnumerateBlock(nullptr, "", ids, messages_));
}

TEST_F(CaptureTest, PreviewIsRebuiltFromAStoredBlock) {
  const AcDbObjectId a = Add(drawing_, Rectangle(0, 0, 4, 2));
  const AcDbObjectId b = Add(drawing_, new AcDbCircle(AcGePoint3d(2, 1, 0), AcGeVector3d(0, 0, 1), 1));
  std::string name;
  AcDbObjectId block;
  CellImageList images;
  ASSERT_TRUE(CaptureImage({a, b}, &drawing_, name, &store_.Ensure(), block, images, messages_));
  AcDbObjectIdArray stored;
  ASSERT_TRUE(EnumerateBlock(store_.Get(), name, stored, messages_));
  CellImageList rebuilt;
  RebuildPreview(stored, rebuilt, messages_);
  ASSERT_EQ(rebuilt.size(), 2u);
  EXPECT_STREQ(rebuilt[0].ClassName(), "JPolyLine");
  EXPECT_STREQ(rebuilt[1].ClassName(), "JCircle");
  // The stored block was moved to the origin: same size, other place.
  EXPECT_EQ(rebuilt.Bounds(), images.Bounds());  // the rectangle already started at 0,0
}

TEST(ImageStore, LifeCycle) {
  ImageStore store;
  EXPECT_FALSE(store);
  AcDbDatabase& first = store.Ensure();
  EXPECT_EQ(&store.Ensure(), &first);
  store.Create();
  EXPECT_TRUE(store);
  store.Discard();
  EXPECT_EQ(store.Get(), nullptr);
  store.Replace(std::make_unique<AcDbDatabase>());
  EXPECT_TRUE(store);
}

}  // namespace
}  // namespace vex
