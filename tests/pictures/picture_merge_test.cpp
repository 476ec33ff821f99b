// Merging an inserted header's pictures into a picture store that already serves other cells.

#include "pictures/picture_merge.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "cadhost/sdk/cadhost.h"
#include "pictures/cell_capture.h"
#include "pictures/image_store.h"
#include "platform/message_sink.h"
#include "support/drawing.h"

namespace vex {
namespace {

using EntityMaker = std::function<AcDbEntity*(AcDbDatabase&)>;

AcDbEntity* Circle(AcDbDatabase&) { return new AcDbCircle(AcGePoint3d(1, 1, 0), AcGeVector3d(0, 0, 1), 2); }
AcDbEntity* Square(AcDbDatabase&) { return test::NewRectangle(0, 0, 4, 4); }
AcDbEntity* Diagonal(AcDbDatabase&) { return new AcDbLine(AcGePoint3d(0, 0, 0), AcGePoint3d(4, 4, 0)); }
AcDbEntity* OtherDiagonal(AcDbDatabase&) { return new AcDbLine(AcGePoint3d(0, 4, 0), AcGePoint3d(4, 0, 0)); }

AcDbObjectId LayerNamed(AcDbDatabase& db, const char* name) {
  AcDbLayerTable* table = nullptr;
  EXPECT_EQ(db.getLayerTable(table, AcDb::kForWrite), Acad::eOk);
  AcDbObjectId id;
  if (table->getAt(name, id) != Acad::eOk) {
    auto* layer = new AcDbLayerTableRecord();
    layer->setName(name);
    EXPECT_EQ(table->add(id, layer), Acad::eOk);
    layer->close();
  }
  table->close();
  return id;
}

// A block `name` of `db` holding what `makers` make, in order.
AcDbObjectId MakeBlock(AcDbDatabase& db, const char* name, const std::vector<EntityMaker>& makers) {
  std::vector<AcDbEntity*> entities;
  for (const EntityMaker& make : makers) entities.push_back(make(db));  // before the table is open
  AcDbBlockTable* table = nullptr;
  EXPECT_EQ(db.getBlockTable(table, AcDb::kForWrite), Acad::eOk);
  auto* block = new AcDbBlockTableRecord();
  block->setName(name);
  AcDbObjectId id;
  EXPECT_EQ(table->add(id, block), Acad::eOk);
  table->close();
  for (AcDbEntity* e : entities) {
    EXPECT_EQ(block->appendAcDbEntity(e), Acad::eOk);
    e->close();
  }
  block->close();
  return id;
}

// A reference at (2, 3) to the block `name` that must exist already.
EntityMaker RefTo(const char* name) {
  return [name](AcDbDatabase& db) -> AcDbEntity* {
    AcDbBlockTable* table = nullptr;
    EXPECT_EQ(db.getBlockTable(table, AcDb::kForRead), Acad::eOk);
    AcDbObjectId id;
    EXPECT_EQ(table->getAt(name, id), Acad::eOk);
    table->close();
    return new AcDbBlockReference(AcGePoint3d(2, 3, 0), id);
  };
}

EntityMaker OnLayer(const char* layer, EntityMaker make) {
  return [layer, make](AcDbDatabase& db) {
    const AcDbObjectId id = LayerNamed(db, layer);
    AcDbEntity* e = make(db);
    e->setLayer(id);
    return e;
  };
}

EntityMaker Text(const char* s) {
  return [s](AcDbDatabase&) -> AcDbEntity* {
    auto* t = new AcDbText();
    t->setTextString(s);
    t->setHeight(2.5);
    return t;
  };
}

TableCell ImageCell(const std::string& block) {
  TableCell c;
  c.nType = kImageCell;
  c.sBlockName = block;
  return c;
}

// A one-row table of image cells naming `blocks` ("" for a text cell).
TableData CellsNaming(const std::vector<std::string>& blocks) {
  TableData t;
  t.nRows = 1;
  t.nCols = static_cast<int>(blocks.size());
  t.rows.resize(1);
  for (const std::string& b : blocks) t.rows[0].cells.push_back(b.empty() ? TableCell() : ImageCell(b));
  t.RowHeights = {10};
  t.ColWidths.assign(blocks.size(), 20);
  return t;
}

std::vector<std::string> BlockNames(AcDbDatabase& db) {
  AcDbBlockTable* table = nullptr;
  EXPECT_EQ(db.getBlockTable(table, AcDb::kForRead), Acad::eOk);
  std::vector<std::string> names;
  for (AcDbObjectId id : table->recordIds()) {
    AcDbObjectPointer<AcDbBlockTableRecord> r(id, AcDb::kForRead);
    if (!r->isLayout()) names.push_back(r->name());
  }
  table->close();
  return names;
}

// The store holds the editor's picture "VexTable0", a circle; a reference drawing holds the
// pictures as they should look, to compare with.
class MergeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    MakeBlock(store_.Ensure(), "VexTable0", {Circle});
    MakeBlock(expected_, "Circle", {Circle});
    MakeBlock(expected_, "Square", {Square});
    MakeBlock(expected_, "Diagonal", {Diagonal});
  }
  AcDbDatabase& Store() { return *store_.Get(); }
  bool Shows(const std::string& storeBlock, const char* expectedBlock) {
    return SamePicture(Store(), storeBlock, expected_, expectedBlock);
  }

  ImageStore store_;
  AcDbDatabase header_{true, true};  // the header's picture drawing
  AcDbDatabase expected_{true, true};
};

TEST_F(MergeTest, ClashingNameIsRenamedAndTheStoresPictureKept) {
  MakeBlock(header_, "VexTable0", {Square});
  MakeBlock(header_, "VexTable1", {Diagonal});
  TableData cells = CellsNaming({"VexTable0", "", "VexTable1", "VexTable0"});
  ASSERT_TRUE(MergePictures(cells, &header_, store_));
  EXPECT_EQ(cells.GetCell(0, 0).sBlockName, "VexTable0_1");
  EXPECT_EQ(cells.GetCell(0, 3).sBlockName, "VexTable0_1");
  EXPECT_EQ(cells.GetCell(0, 2).sBlockName, "VexTable1");
  EXPECT_TRUE(cells.GetCell(0, 1).sBlockName.empty());
  EXPECT_TRUE(Shows("VexTable0", "Circle"));
  EXPECT_TRUE(Shows("VexTable0_1", "Square"));
  EXPECT_TRUE(Shows("VexTable1", "Diagonal"));
  EXPECT_EQ(BlockNames(Store()), (std::vector<std::string>{"VexTable0", "VexTable0_1", "VexTable1"}));
  // The header's drawing is only read.
  EXPECT_EQ(BlockNames(header_), (std::vector<std::string>{"VexTable0", "VexTable1"}));
}

TEST_F(MergeTest, NamesDifferingInCaseAreTheSameName) {
  MakeBlock(header_, "VEXTABLE0", {Square});
  TableData cells = CellsNaming({"VEXTABLE0"});
  ASSERT_TRUE(MergePictures(cells, &header_, store_));
  EXPECT_EQ(cells.GetCell(0, 0).sBlockName, "VEXTABLE0_1");
  EXPECT_TRUE(Shows("VexTable0", "Circle"));
  EXPECT_TRUE(Shows("VEXTABLE0_1", "Square"));
}

TEST_F(MergeTest, TheSamePictureUnderTheSameNameIsShared) {
  MakeBlock(header_, "VexTable0", {Circle});
  TableData cells = CellsNaming({"VexTable0"});
  ASSERT_TRUE(MergePictures(cells, &header_, store_));
  EXPECT_EQ(cells.GetCell(0, 0).sBlockName, "VexTable0");
  EXPECT_EQ(BlockNames(Store()), (std::vector<std::string>{"VexTable0"}));
}

TEST_F(MergeTest, InsertingTheSameHeaderTwiceAddsItsPicturesOnce) {
  MakeBlock(header_, "VexTable0", {Square});
  TableData first = CellsNaming({"VexTable0"});
  TableData second = first;
  ASSERT_TRUE(MergePictures(first, &header_, store_));
  ASSERT_TRUE(MergePictures(second, &header_, store_));
  EXPECT_EQ(second.GetCell(0, 0).sBlockName, "VexTable0_1");
  EXPECT_EQ(BlockNames(Store()), (std::vector<std::string>{"VexTable0", "VexTable0_1"}));
}

TEST_F(MergeTest, NestedBlocksAndLayersComeAlong) {
  MakeBlock(header_, "Bolt", {OnLayer("Pictures", Diagonal)});
  MakeBlock(header_, "VexTable7", {RefTo("Bolt"), Square});
  TableData cells = CellsNaming({"VexTable7"});
  ASSERT_TRUE(MergePictures(cells, &header_, store_));
  EXPECT_EQ(cells.GetCell(0, 0).sBlockName, "VexTable7");
  EXPECT_TRUE(SamePicture(Store(), "VexTable7", header_, "VexTable7"));
  EXPECT_TRUE(SamePicture(Store(), "Bolt", header_, "Bolt"));
  AcDbLayerTable* layers = nullptr;
  ASSERT_EQ(Store().getLayerTable(layers, AcDb::kForRead), Acad::eOk);
  EXPECT_TRUE(layers->has("Pictures"));
  layers->close();
}

TEST_F(MergeTest, ClashingNestedBlockIsRenamedInsideTheCopy) {
  MakeBlock(Store(), "Bolt", {Square});  // the editor's own "Bolt"
  MakeBlock(header_, "Bolt", {Diagonal});
  MakeBlock(header_, "VexTable7", {RefTo("Bolt")});
  TableData cells = CellsNaming({"VexTable7"});
  ASSERT_TRUE(MergePictures(cells, &header_, store_));
  EXPECT_TRUE(Shows("Bolt", "Square"));
  EXPECT_TRUE(Shows("Bolt_1", "Diagonal"));
  // The copied picture references the renamed block.
  AcDbObjectIdArray ids;
  SilentSink quiet;
  ASSERT_TRUE(EnumerateBlock(&Store(), "VexTable7", ids, quiet));
  ASSERT_EQ(ids.length(), 1);
  AcDbObjectPointer<AcDbBlockReference> ref(ids[0], AcDb::kForRead);
  ASSERT_EQ(ref.openStatus(), Acad::eOk);
  AcDbObjectPointer<AcDbBlockTableRecord> nested(ref->blockTableRecord(), AcDb::kForRead);
  EXPECT_EQ(nested->name(), "Bolt_1");
}

TEST_F(MergeTest, FreshNameAvoidsTheBlocksTheCopyBringsAlong) {
  MakeBlock(header_, "VexTable0_1", {Diagonal});
  MakeBlock(header_, "VexTable0", {RefTo("VexTable0_1"), Square});
  TableData cells = CellsNaming({"VexTable0"});
  ASSERT_TRUE(MergePictures(cells, &header_, store_));
  EXPECT_EQ(cells.GetCell(0, 0).sBlockName, "VexTable0_2");
  EXPECT_TRUE(SamePicture(Store(), "VexTable0_2", header_, "VexTable0"));
  EXPECT_TRUE(Shows("VexTable0_1", "Diagonal"));
  EXPECT_TRUE(Shows("VexTable0", "Circle"));
}

TEST_F(MergeTest, AHeaderWithoutPicturesLeavesTheStoreAlone) {
  TableData cells = CellsNaming({"", ""});
  const TableData before = cells;
  ASSERT_TRUE(MergePictures(cells, &header_, store_));
  EXPECT_EQ(cells, before);
  EXPECT_EQ(BlockNames(Store()), (std::vector<std::string>{"VexTable0"}));
  ImageStore none;
  ASSERT_TRUE(MergePictures(cells, nullptr, none));
  EXPECT_FALSE(none);  // not even made
}

TEST_F(MergeTest, CellsWhosePictureIsMissingNeverShowAnotherOne) {
  TableData cells = CellsNaming({"VexTable0", "VexTable5"});
  cells.rows[0].cells[0].picture.Append(std::make_unique<JLine>(Point2d{0, 0}, Point2d{1, 1}));
  for (AcDbDatabase* from : {&header_, static_cast<AcDbDatabase*>(nullptr)}) {
    TableData merged = cells;
    ASSERT_TRUE(MergePictures(merged, from, store_));
    EXPECT_TRUE(merged.GetCell(0, 0).sBlockName.empty());  // the store's "VexTable0" is another picture
    EXPECT_TRUE(merged.GetCell(0, 0).picture.empty());
    EXPECT_EQ(merged.GetCell(0, 1).sBlockName, "VexTable5");  // still missing, but names nothing else
  }
  EXPECT_EQ(BlockNames(Store()), (std::vector<std::string>{"VexTable0"}));
}

// Each row changes one thing about a picture that must make it another picture.
struct Difference {
  const char* name;
  std::vector<EntityMaker> a, b;
};

class SamePictureTest : public ::testing::TestWithParam<Difference> {};

TEST_P(SamePictureTest, TellsPicturesApart) {
  AcDbDatabase one(true, true), two(true, true);
  MakeBlock(one, "Bolt", {Circle});
  MakeBlock(two, "Bolt", {Square});
  MakeBlock(one, "P", GetParam().a);
  MakeBlock(two, "P", GetParam().b);
  EXPECT_FALSE(SamePicture(one, "P", two, "P"));
  EXPECT_TRUE(SamePicture(one, "P", one, "P"));
}

INSTANTIATE_TEST_SUITE_P(
    Rows, SamePictureTest,
    ::testing::Values(Difference{"LineDirection", {Diagonal}, {OtherDiagonal}},
                      Difference{"EntityCount", {Circle}, {Circle, Circle}},
                      Difference{"Kind", {Square}, {Diagonal}},
                      Difference{"Layer", {OnLayer("A", Circle)}, {OnLayer("B", Circle)}},
                      Difference{"Text", {Text("DN50")}, {Text("DN80")}},
                      Difference{"NestedPicture", {RefTo("Bolt")}, {RefTo("Bolt")}}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace vex
