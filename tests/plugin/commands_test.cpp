#include "plugin/commands.h"

#include <gtest/gtest.h>

#include <cmath>

#include "draw/entities.h"
#include "draw/table_drawer.h"
#include "pictures/cell_capture.h"
#include "plugin/drag_place.h"
#include "recognize/table_recognizer.h"
#include "platform/message_sink.h"
#include "plugin_test_util.h"
#include "support/tables.h"

namespace vex {
namespace {

using test::PluginTest;

TableData TwoByTwo() {
  TableData t = test::UniformTable(2, 2);
  TableCell c = TableCell::Default();
  c.strText = "new";
  t.SetCell(0, 0, c);
  return t;
}

// The lines, texts and references of model space: (kind, x, y) of their start or alignment.
struct Seen {
  std::vector<AcGePoint3d> lineStarts;
  std::vector<std::string> texts;
  std::vector<AcGePoint3d> textPoints;
  int references = 0;
};

Seen ModelSpace(AcDbDatabase* db) {
  Seen s;
  AcDbObjectIdArray ids;
  SilentSink messages;
  EnumerateBlock(db, "", ids, messages);
  for (const AcDbObjectId& id : ids) {
    AcDbObjectPointer<AcDbEntity> e(id, AcDb::kForRead);
    if (!e) continue;
    if (const auto* l = AcDbLine::cast(e.object())) s.lineStarts.push_back(l->startPoint());
    if (const auto* t = AcDbText::cast(e.object())) {
      s.texts.push_back(t->textString());
      s.textPoints.push_back(t->alignmentPoint());
    }
    if (AcDbBlockReference::cast(e.object())) ++s.references;
  }
  return s;
}

void ExpectPoint(const AcGePoint3d& p, double x, double y) {
  EXPECT_NEAR(p.x, x, 1e-9);
  EXPECT_NEAR(p.y, y, 1e-9);
}

TEST_F(PluginTest, CommandsNeedTheEditor) {
  Plugin().editor.reset();
  for (auto command : {CmdDrawTable, CmdEditTable, CmdSelectImage, CmdDrawImage}) {
    cadhost::Feedback::Clear();
    command();
    EXPECT_EQ(cadhost::Feedback::Text(), "\nDialog is close, command close!");
  }
  EXPECT_TRUE(ModelSpace(Drawing()).lineStarts.empty());
}

TEST_F(PluginTest, DrawPlacesTheTableAtThePickedPoint) {
  Plugin().currentTable = TwoByTwo();
  cadhost::TypeInput("100,50\n");
  CmdDrawTable();
  const Seen s = ModelSpace(Drawing());
  ASSERT_EQ(s.lineStarts.size(), 6u);
  ExpectPoint(s.lineStarts[0], 100, 50);
  ASSERT_EQ(s.textPoints.size(), 1u);
  ExpectPoint(s.textPoints[0], 115, 45);
  EXPECT_EQ(editor_->minimized, 1);
  EXPECT_NE(cadhost::Feedback::Text().find("\nSpecify insertion point:"), std::string::npos);
}

TEST_F(PluginTest, DragHonoursAMovedAndRotatedUcs) {
  // User axes: origin (10, 20), x along world y.
  AcGeMatrix3d ucs;
  ucs.setCoordSystem(AcGePoint3d(10, 20, 0), AcGeVector3d(0, 1, 0), AcGeVector3d(-1, 0, 0), AcGeVector3d(0, 0, 1));
  ASSERT_EQ(acedSetCurrentUCS(ucs), Acad::eOk);
  Plugin().currentTable = TwoByTwo();
  cadhost::TypeInput("100,50\n");
  CmdDrawTable();
  const Seen s = ModelSpace(Drawing());
  ASSERT_FALSE(s.lineStarts.empty());
  // (100, 50) in user coordinates is (10 - 50, 20 + 100) in the world.
  ExpectPoint(s.lineStarts[0], -40, 120);
}

TEST_F(PluginTest, CancelledDragLeavesTheTableAtTheOrigin) {
  Plugin().currentTable = TwoByTwo();
  cadhost::TypeInput("\x1b");
  CmdDrawTable();
  const Seen s = ModelSpace(Drawing());
  ASSERT_EQ(s.lineStarts.size(), 6u);
  ExpectPoint(s.lineStarts[0], 0, 0);
}

class EditTest : public PluginTest {
 protected:
  // An old table drawn at (200, 100) and read back, as VEXEDITTABLE leaves it.
  void SetUp() override {
    PluginTest::SetUp();
    TableData old = TwoByTwo();
    TableCell c = old.GetCell(0, 0);
    c.strText = "old";
    old.SetCell(0, 0, c);
    const AcDbObjectIdArray ids = DrawTable(old, Settings{}, &Plugin().imageStore, *Drawing(), messages_);
    AcGeMatrix3d move;
    move.setToTranslation(AcGeVector3d(200, 100, 0));
    for (const AcDbObjectId& id : ids) {
      AcDbObjectPointer<AcDbEntity> e(id, AcDb::kForWrite);
      if (e) e->transformBy(move);
    }
    AcDbObjectIdArray all;
    EnumerateBlock(Drawing(), "", all, messages_);
    auto read = RecognizeTable(all, *Drawing(), Settings{}, Plugin().imageStore, messages_);
    ASSERT_TRUE(read);
    Plugin().lastRead = std::move(read).value();
    Plugin().currentTable = TwoByTwo();
    cadhost::Feedback::Clear();
  }
  SilentSink messages_;
};

TEST_F(EditTest, EnterPutsTheNewTableInTheOldPlace) {
  cadhost::TypeInput("\n");
  CmdEditTable();
  const Seen s = ModelSpace(Drawing());
  ASSERT_EQ(s.lineStarts.size(), 6u);  // the old lines are gone
  ExpectPoint(s.lineStarts[0], 200, 100);
  EXPECT_EQ(s.texts, (std::vector<std::string>{"new"}));
  EXPECT_NE(cadhost::Feedback::Text().find("\nSpecify insertion point<Old position>:"), std::string::npos);
}

TEST_F(EditTest, PickedPointMovesTheNewTableThere) {
  cadhost::TypeInput("0,0\n");
  CmdEditTable();
  const Seen s = ModelSpace(Drawing());
  ASSERT_EQ(s.lineStarts.size(), 6u);
  ExpectPoint(s.lineStarts[0], 0, 0);
}

TEST_F(EditTest, TableOfAnotherDrawingIsPlacedAsNew) {
  AcDbDatabase* first = Drawing();
  ASSERT_EQ(acDocManager->appContextNewDocument(nullptr), Acad::eOk);
  cadhost::TypeInput("5,5\n");
  CmdEditTable();
  EXPECT_EQ(ModelSpace(first).lineStarts.size(), 6u);  // untouched
  const Seen s = ModelSpace(Drawing());
  ASSERT_EQ(s.lineStarts.size(), 6u);
  ExpectPoint(s.lineStarts[0], 5, 5);
}

TEST_F(EditTest, SharedLinesStayAndTheTextsAreReplacedInPlace) {
  Plugin().lastRead.frameMatchesSelection = false;
  editor_->full = false;
  CmdEditTable();
  const Seen s = ModelSpace(Drawing());
  EXPECT_EQ(s.lineStarts.size(), 12u);  // the old lines stay, the new ones lie on them
  EXPECT_EQ(s.texts, (std::vector<std::string>{"new"}));
  ExpectPoint(s.textPoints[0], 215, 95);
  EXPECT_EQ(cadhost::Feedback::Text().find("insertion point"), std::string::npos);  // no prompt
}

TEST_F(PluginTest, EditingATableHeldInABlockReplacesTheReference_Issue11) {
  // The old table drawn, made a block of, and referenced at (200, 100).
  TableData old = TwoByTwo();
  SilentSink messages;
  DrawTable(old, Settings{}, &Plugin().imageStore, *Drawing(), messages);
  AcDbObjectIdArray drawn;
  EnumerateBlock(Drawing(), "", drawn, messages);
  std::unique_ptr<AcDbDatabase> piece;
  ASSERT_EQ(Drawing()->wblock(piece, drawn, AcGePoint3d(0, 0, 0)), Acad::eOk);
  AcDbObjectId block;
  ASSERT_EQ(Drawing()->insert(block, "OLDTABLE", piece.get()), Acad::eOk);
  EraseEntities(drawn);
  AcDbBlockTableRecord* space = nullptr;
  ASSERT_EQ(acdbOpenObject(space, Drawing()->modelSpaceId(), AcDb::kForWrite), Acad::eOk);
  auto* ref = new AcDbBlockReference(AcGePoint3d(200, 100, 0), block);
  ASSERT_EQ(space->appendAcDbEntity(ref), Acad::eOk);
  ref->close();
  space->close();

  AcDbObjectIdArray all;
  EnumerateBlock(Drawing(), "", all, messages);
  auto read = RecognizeTable(all, *Drawing(), Settings{}, Plugin().imageStore, messages);
  ASSERT_TRUE(read);
  EXPECT_EQ(read->table.GetCell(0, 0).strText, "new");
  Plugin().lastRead = std::move(read).value();
  Plugin().currentTable = TwoByTwo();
  cadhost::TypeInput("\n");
  CmdEditTable();
  const Seen s = ModelSpace(Drawing());
  EXPECT_EQ(s.references, 0);  // the reference that held the old table is gone
  ASSERT_EQ(s.lineStarts.size(), 6u);
  ExpectPoint(s.lineStarts[0], 200, 100);
  EXPECT_EQ(s.texts, (std::vector<std::string>{"new"}));
}

TEST_F(PluginTest, PostCommandSendsEscNameEnter) {
  PostCommand("VEXTABLE_DRAW");
  EXPECT_EQ(cadhost::Feedback::Posted(), (std::vector<std::string>{"\x1b", "VEXTABLE_DRAW", "\r"}));
}

TEST_F(PluginTest, SelectedEntitiesBecomeTheCellPicture) {
  AcDbBlockTableRecord* space = nullptr;
  ASSERT_EQ(acdbOpenObject(space, Drawing()->modelSpaceId(), AcDb::kForWrite), Acad::eOk);
  auto* circle = new AcDbCircle(AcGePoint3d(50, 50, 0), AcGeVector3d(0, 0, 1), 5);
  space->appendAcDbEntity(circle);
  circle->close();
  space->close();
  cadhost::TypeInput("W\n40,40\n60,60\n\n");
  CmdSelectImage();
  ASSERT_EQ(editor_->stored.size(), 1u);
  EXPECT_EQ(editor_->stored[0].sBlockName, "VexTable0");
  ASSERT_EQ(editor_->stored[0].images.size(), 1u);
  EXPECT_STREQ(editor_->stored[0].images[0].ClassName(), "JCircle");
  EXPECT_EQ(editor_->minimized, 1);
  EXPECT_EQ(editor_->restored, 1);

  // Drawing it back: a reference placed where the drafter picks.
  editor_->selected = editor_->stored;
  cadhost::TypeInput("300,300\n");
  CmdDrawImage();
  EXPECT_EQ(ModelSpace(Drawing()).references, 1);
}

TEST_F(PluginTest, CancelledSelectionRestoresTheEditor) {
  cadhost::TypeInput("\x1b");
  CmdSelectImage();
  EXPECT_TRUE(editor_->stored.empty());
  EXPECT_EQ(editor_->restored, 1);
}

}  // namespace
}  // namespace vex
