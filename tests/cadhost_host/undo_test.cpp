// Undo and redo of whole commands: every way a command changes a drawing is taken back so
// exactly that the drawing saved after U is the drawing saved before the command, byte for
// byte, and REDO gives the changed drawing back the same way.

#include <functional>

#include "cadhost_host/host_test_util.h"
#include "support/temp_dir.h"

namespace cadhost::test {
namespace {

// The change the test command TCHANGE makes, set by each test.
std::function<void()> g_change;
void RunChange() { g_change(); }

struct ChangeCase {
  const char* name;
  std::function<void()> change;
};
void PrintTo(const ChangeCase& c, std::ostream* os) { *os << c.name; }

AcDbDatabase* Db() { return acdbHostApplicationServices()->workingDatabase(); }

AcDbObjectId AddLayerNamed(const char* name) {
  AcDbLayerTable* t = nullptr;
  if (Db()->getLayerTable(t, AcDb::kForWrite) != Acad::eOk) return {};
  auto* l = new AcDbLayerTableRecord();
  l->setName(name);
  l->setColor(AcCmColor::fromIndex(3));
  AcDbObjectId id;
  if (t->add(id, l) == Acad::eOk) l->close();
  else delete l;
  t->close();
  return id;
}

// What is in the drawing before each change: a line, a text, a circle and layer "Walls".
struct Base {
  AcDbObjectId line, text, circle, walls;
};
Base g_base;

void BuildBase() {
  g_base.walls = AddLayerNamed("Walls");
  g_base.line = AddLine(0, 0, 10, 0);
  g_base.text = AddText(1, 1, "A1");
  g_base.circle = AddCircle(5, 5, 2);
}

const ChangeCase kChanges[] = {
    {"AppendLine", [] { AddLine(1, 2, 3, 4); }},
    {"AppendManyOfKinds",
     [] {
       AddText(0, 9, "表格", 3.5, 30);
       AddCircle(0, 0, 7);
       auto* pl = new AcDbPolyline();
       pl->addVertexAt(0, {0, 0}, 0.5, 1, 2);
       pl->addVertexAt(1, {10, 0});
       pl->addVertexAt(2, {10, 10}, -1);
       pl->setClosed(true);
       AcDbObjectPointer<AcDbBlockTableRecord> ms(Db()->modelSpaceId(), AcDb::kForWrite);
       ms->appendAcDbEntity(pl);
       pl->close();
     }},
    {"EraseEntity",
     [] {
       AcDbEntityPointer e(g_base.line, AcDb::kForWrite);
       e->erase();
     }},
    {"ModifyText",
     [] {
       AcDbObjectPointer<AcDbText> t(g_base.text, AcDb::kForWrite);
       t->setTextString("B2 longer");
       t->setHeight(7);
       t->setHorizontalMode(AcDb::kTextCenter);
       t->setAlignmentPoint({20, 20, 0});
     }},
    {"UpgradeOpen",
     [] {
       AcDbEntity* e = nullptr;
       acdbOpenAcDbEntity(e, g_base.circle, AcDb::kForRead);
       e->upgradeOpen();
       AcDbCircle::cast(e)->setRadius(9);
       e->close();
     }},
    {"EntityProperties",
     [] {
       AcDbEntityPointer e(g_base.line, AcDb::kForWrite);
       e->setLayer(g_base.walls);
       e->setColorIndex(5);
       e->setLinetypeScale(2);
     }},
    {"AddLayerAndMakeItCurrent",
     [] {
       const AcDbObjectId id = AddLayerNamed("Doors");
       Db()->setClayer(id);
       Db()->setTextsize(4.5);
       AddLine(0, 0, 0, 9);
     }},
    {"ChangeLayer",
     [] {
       AcDbObjectPointer<AcDbLayerTableRecord> l(g_base.walls, AcDb::kForWrite);
       l->setColor(AcCmColor::fromIndex(1));
       l->setIsOff(true);
     }},
    {"RenameLayer",
     [] {
       AcDbObjectPointer<AcDbLayerTableRecord> l(g_base.walls, AcDb::kForWrite);
       l->setName("Partitions");
     }},
    {"LoadLinetypes", [] { Db()->loadLineTypeFile("*", "acadiso.lin"); }},
    {"InsertABlockAndReferenceIt",
     [] {
       AcDbDatabase source;
       AcDbObjectPointer<AcDbBlockTableRecord> sms(source.modelSpaceId(), AcDb::kForWrite);
       sms->appendAcDbEntity(new AcDbLine({0, 0, 0}, {1, 1, 0}));
       sms.close();
       AcDbObjectId block;
       ASSERT_EQ(Db()->insert(block, "Pic", &source), Acad::eOk);
       AcDbObjectPointer<AcDbBlockTableRecord> ms(Db()->modelSpaceId(), AcDb::kForWrite);
       auto* ref = new AcDbBlockReference({3, 3, 0}, block);
       ms->appendAcDbEntity(ref);
       ref->close();
     }},
    {"TransformASelectionSet",
     [] {
       ads_name set;
       acedSSAdd(nullptr, nullptr, set);
       for (AcDbObjectId id : {g_base.line, g_base.text, g_base.circle}) {
         ads_name e;
         acdbGetAdsName(e, id);
         acedSSAdd(e, set, set);
       }
       ads_matrix m = {{0, -1, 0, 5}, {1, 0, 0, 7}, {0, 0, 1, 0}, {0, 0, 0, 1}};
       acedXformSS(set, m);
       acedSSFree(set);
     }},
};

// What the tables say through their own interface, which the saved file does not show: the
// record lists and the look-up by name.
std::string TablesState() {
  std::string out;
  auto table = [&](AcDbSymbolTable* t) {
    if (t == nullptr) return;
    for (AcDbObjectId id : t->recordIds()) {
      AcDbObjectPointer<AcDbSymbolTableRecord> r(id, AcDb::kForRead);
      out += r ? r->name() + "," : std::string("?,");
    }
    for (const char* probe : {"0", "Walls", "Partitions", "Doors", "DASHED", "Pic"})
      out += t->has(probe) ? "+" : "-";
    out += "\n";
    t->close();
  };
  AcDbBlockTable* b = nullptr;
  AcDbLayerTable* l = nullptr;
  AcDbLinetypeTable* lt = nullptr;
  AcDbTextStyleTable* st = nullptr;
  Db()->getBlockTable(b, AcDb::kForRead);
  table(b);
  Db()->getLayerTable(l, AcDb::kForRead);
  table(l);
  Db()->getLinetypeTable(lt, AcDb::kForRead);
  table(lt);
  Db()->getTextStyleTable(st, AcDb::kForRead);
  table(st);
  return out;
}

class UndoChange : public HostTest, public ::testing::WithParamInterface<ChangeCase> {
 protected:
  void SetUp() override {
    HostTest::SetUp();
    acedRegCmds->addCommand("UNDO_TEST", "TCHANGE", "TCHANGE", ACRX_CMD_MODAL, RunChange);
    BuildBase();
  }
  std::string Saved(const std::string& name) {
    const std::string path = dir.File(name);
    EXPECT_EQ(Db()->saveAs(path.c_str()), Acad::eOk);
    return vex::test::ReadFile(path);
  }
  vex::test::TempDir dir;
};

TEST_P(UndoChange, UndoGivesTheDrawingBeforeAndRedoTheDrawingAfter) {
  g_change = GetParam().change;
  const std::string before = Saved("before.dxf");
  const std::string tablesBefore = TablesState();
  RunScript("TCHANGE\n");
  const std::string after = Saved("after.dxf");
  const std::string tablesAfter = TablesState();
  ASSERT_NE(after, before) << "the change changed nothing";

  EXPECT_NE(RunScript("U\n").find("TCHANGE undone"), std::string::npos);
  EXPECT_EQ(Saved("undone.dxf"), before);
  EXPECT_EQ(TablesState(), tablesBefore);
  EXPECT_NE(RunScript("REDO\n").find("TCHANGE redone"), std::string::npos);
  EXPECT_EQ(Saved("redone.dxf"), after);
  EXPECT_EQ(TablesState(), tablesAfter);
  // Back and forth once more: what undo took out and redo put back holds up.
  RunScript("U\n");
  EXPECT_EQ(Saved("undone2.dxf"), before);
  RunScript("REDO\n");
  EXPECT_EQ(Saved("redone2.dxf"), after);
}

INSTANTIATE_TEST_SUITE_P(Changes, UndoChange, ::testing::ValuesIn(kChanges),
                         [](const auto& info) { return std::string(info.param.name); });

class UndoTest : public HostTest {
 protected:
  std::string Saved(const std::string& name) {
    const std::string path = dir.File(name);
    EXPECT_EQ(Db()->saveAs(path.c_str()), Acad::eOk);
    return vex::test::ReadFile(path);
  }
  vex::test::TempDir dir;
};

TEST_F(UndoTest, AStepIsAWholeCommand) {
  RunScript("LINE 0,0 10,0 10,10 0,10\n\nCIRCLE 0,0 3\n");
  EXPECT_EQ(ModelSpace().size(), 4u);
  RunScript("U\n");
  EXPECT_EQ(DescribeSpace(), (std::vector<std::string>{"LINE 0,0 10,0", "LINE 10,0 10,10",
                                                       "LINE 10,10 0,10"}));
  EXPECT_NE(RunScript("U\n").find("LINE undone"), std::string::npos);
  EXPECT_TRUE(ModelSpace().empty());
  EXPECT_NE(RunScript("U\n").find("Everything has been undone"), std::string::npos);
}

TEST_F(UndoTest, UndoTakesACountAndRedoOnlyFollowsUndo) {
  RunScript("LINE 0,0 1,0\n\nLINE 0,1 1,1\n\nLINE 0,2 1,2\n\n");
  RunScript("UNDO 2\n");
  EXPECT_EQ(DescribeSpace(), (std::vector<std::string>{"LINE 0,0 1,0"}));
  RunScript("REDO\n");
  EXPECT_EQ(DescribeSpace().size(), 2u);
  // A new change makes the rest unreachable.
  RunScript("CIRCLE 5,5 1\n");
  EXPECT_NE(RunScript("REDO\n").find("Nothing to redo"), std::string::npos);
  EXPECT_NE(RunScript("UNDO x\n").find("Requires numeric value."), std::string::npos);
}

TEST_F(UndoTest, CommandsThatChangeNothingLeaveNoStep) {
  RunScript("LINE 0,0 1,0\n\nREDRAW\nUCS 5,5\n\nLINE \x1b");
  EXPECT_NE(RunScript("U\n").find("LINE undone"), std::string::npos);
  EXPECT_TRUE(ModelSpace().empty());
}

TEST_F(UndoTest, ADrawingWithAnUndoneCommandSavesAsIfItHadNeverRun) {
  RunScript("LINE 0,0 1,0\n\nLINE 5,5 6,6\n\nU\nCIRCLE 1,1 1\n");
  const std::string withUndo = Saved("with_undo.dxf");
  ResetHost();
  SetCommandLineView(nullptr);
  ASSERT_EQ(acDocManager->appContextNewDocument(nullptr), Acad::eOk);
  RunScript("LINE 0,0 1,0\n\nCIRCLE 1,1 1\n");
  // Handles included: the circle takes the handle the undone line had.
  EXPECT_EQ(Saved("straight.dxf"), withUndo);
}

TEST_F(UndoTest, AnOpenObjectStopsTheUndoAndNothingChanges) {
  RunScript("LINE 0,0 1,0\n\n");
  const AcDbObjectId line = ModelSpace().front();
  const std::string before = Saved("before.dxf");
  {
    AcDbEntityPointer held(line, AcDb::kForRead);
    EXPECT_NE(RunScript("U\n").find("LINE cannot be undone: one of its objects is open."),
              std::string::npos);
    EXPECT_EQ(Saved("held.dxf"), before);
  }
  EXPECT_NE(RunScript("U\n").find("LINE undone"), std::string::npos);
}

TEST_F(UndoTest, ChangesOutsideCommandsAreAStepOfTheirOwn) {
  RunScript("LINE 0,0 1,0\n\n");
  AddCircle(3, 3, 1);
  EXPECT_NE(RunScript("U\n").find("Changes made outside a command undone"), std::string::npos);
  EXPECT_EQ(DescribeSpace(), (std::vector<std::string>{"LINE 0,0 1,0"}));
  EXPECT_NE(RunScript("U\n").find("LINE undone"), std::string::npos);
}

TEST_F(UndoTest, EveryDrawingKeepsItsOwnSteps) {
  RunScript("LINE 0,0 1,0\n\n");
  AcApDocument* first = acDocManager->curDocument();
  ASSERT_EQ(acDocManager->appContextNewDocument(nullptr), Acad::eOk);
  RunScript("CIRCLE 0,0 1\n");
  RunScript("U\n");
  EXPECT_TRUE(ModelSpace().empty());
  acDocManager->setCurDocument(first);
  EXPECT_EQ(ModelSpace().size(), 1u);
  EXPECT_NE(RunScript("U\n").find("LINE undone"), std::string::npos);
  EXPECT_TRUE(ModelSpace().empty());
}

TEST_F(UndoTest, AReadDrawingStartsWithoutSteps) {
  RunScript("LINE 0,0 1,0\n\n");
  const std::string path = dir.File("plan.dxf");
  Saved("plan.dxf");
  ASSERT_EQ(acDocManager->appContextOpenDocument(path.c_str()), Acad::eOk);
  EXPECT_NE(RunScript("U\n").find("Everything has been undone"), std::string::npos);
}

TEST_F(UndoTest, ManyStepsKeepTheNewestHundred) {
  constexpr int kKept = 100;
  std::string script;
  for (int i = 0; i < kKept + 5; ++i)
    script += "LINE 0," + std::to_string(i) + " 1," + std::to_string(i) + "\n\n";
  RunScript(script);
  std::string out;
  for (int i = 0; i < kKept + 5; ++i) out += RunScript("U\n");
  EXPECT_EQ(Count(out, "LINE undone"), kKept);
  EXPECT_EQ(ModelSpace().size(), 5u);
}

}  // namespace
}  // namespace cadhost::test
