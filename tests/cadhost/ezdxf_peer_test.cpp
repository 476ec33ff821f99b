// What ezdxf, a drawing-file program of its own, makes of the files we write, and we of its.

#include <gtest/gtest.h>

#include "support/run_cli.h"
#include "support/temp_dir.h"
#include "test_util.h"

namespace cadhost::test {
namespace {

// Runs the peer script with Debian's Python; the output and the exit status.
int Peer(const std::string& command, const std::string& path, std::string& output) {
  const auto run = vex::test::RunShell("/usr/bin/python3 '" CADHOST_PEER "' " + command + " '" + path + "' 2>&1");
  output = run.out;
  return run.status;
}

void ExpectAuditClean(const std::string& path) {
  std::string out;
  EXPECT_EQ(Peer("audit", path, out), 0) << out;
  EXPECT_EQ(out, "");
}

std::string Summary(const std::string& path) {
  std::string out;
  EXPECT_EQ(Peer("summary", path, out), 0) << out;
  return out;
}

std::string Data(const char* name) { return std::string(CADHOST_TEST_DATA) + "/" + name; }

TEST(Ezdxf, PeerIsInstalled) {
  std::string out;
  ASSERT_EQ(Peer("make", "/dev/null", out), 0)
      << "/usr/bin/python3 with ezdxf is needed (Debian package python3-ezdxf): " << out;
}

TEST(Ezdxf, OurDrawingPassesAuditAndReadsBackAlike) {
  vex::test::TempDir dir;
  AcDbDatabase db;
  ASSERT_EQ(db.loadLineTypeFile("*", CADHOST_SUPPORT "/acadiso.lin"), Acad::eOk);
  const AcDbObjectId layer = AddLayer(db, "Sideline", 1);
  {
    AcDbLinetypeTable* lts = nullptr;
    db.getLinetypeTable(lts, AcDb::kForRead);
    AcDbObjectId dashed;
    lts->getAt("DASHED", dashed);
    lts->close();
    AcDbObjectPointer<AcDbLayerTableRecord> l(layer, AcDb::kForWrite);
    l->setLinetypeObjectId(dashed);
  }
  const AcDbObjectId style = AddShapeStyle(db, "Table");
  auto* ttf = new AcDbTextStyleTableRecord();
  ttf->setName("宋体");
  ttf->setFont("SimSun", false, false, 134, 2);
  AddRecord(db, &AcDbDatabase::getTextStyleTable, ttf);
  const AcDbObjectId pic = AddBlock(db, "VexTable0");
  Append(pic, new AcDbCircle({1, 1, 0}, AcGeVector3d::kZAxis, 1));
  auto* l = new AcDbLine({0, 0, 0}, {60, 0, 0});
  l->setLayer(layer);
  AppendToModel(db, l);
  auto* t = new AcDbText();
  t->setTextString("单元格 Cell");
  t->setTextStyle(style);
  t->setHeight(3);
  t->setWidthFactor(0.7);
  t->setHorizontalMode(AcDb::kTextCenter);
  t->setVerticalMode(AcDb::kTextVertMid);
  t->setAlignmentPoint({30, -5, 0});
  AppendToModel(db, t);
  auto* pl = new AcDbPolyline();
  pl->addVertexAt(0, {0, 0}, 0.5);
  pl->addVertexAt(1, {5, 0});
  pl->setClosed(true);
  AppendToModel(db, pl);
  AppendToModel(db, new AcDbArc({0, 0, 0}, 3, 0.1, 1.2));
  auto* ref = new AcDbBlockReference({10, 10, 0}, pic);
  ref->setScaleFactors(AcGeScale3d(0.5));
  AppendToModel(db, ref);
  Append(db.paperSpaceId(), new AcDbLine({0, 0, 0}, {10, 10, 0}));
  const std::string path = dir.File("ours.dxf");
  ASSERT_EQ(db.saveAs(path.c_str()), Acad::eOk);
  ExpectAuditClean(path);

  const std::string s = Summary(path);
  for (const char* fact : {"\"insunits\": 4", "\"SIDELINE\",\n   1,\n   \"DASHED\"", "\"TABLE\",\n   \"txt.shx\",\n   \"gbcbig.shx\",\n   0.7",
                           "\"单元格 Cell\"", "\"VEXTABLE0\"", "\"GAS_LINE\"", "\"CIRCLE\"", "\"ARC\"",
                           "\"LWPOLYLINE\"", "\"INSERT\""})
    EXPECT_NE(s.find(fact), std::string::npos) << fact << "\n" << s;
  // The paper space line is in the paper space layout.
  EXPECT_NE(s.find("\"paperspace\": [\n  [\n   \"LINE\""), std::string::npos) << s;
}

TEST(Ezdxf, ItsDrawingOpensSavesAndHoldsEverything) {
  vex::test::TempDir dir;
  AcDbDatabase db(false);
  ASSERT_EQ(db.readDwgFile(Data("ezdxf_sample.dxf").c_str()), Acad::eOk) << db.lastFileReport().message;
  ASSERT_EQ(db.saveAs(dir.File("resaved.dxf").c_str()), Acad::eOk);
  ExpectAuditClean(dir.File("resaved.dxf"));
  EXPECT_EQ(Summary(dir.File("resaved.dxf")), Summary(Data("ezdxf_sample.dxf")));
}

TEST(Ezdxf, OlderFilesComeOutAsGoodNewOnes) {
  vex::test::TempDir dir;
  for (const char* name : {"ezdxf_gbk_r2000.dxf", "ezdxf_r12.dxf"}) {
    AcDbDatabase db(false);
    ASSERT_EQ(db.readDwgFile(Data(name).c_str()), Acad::eOk) << db.lastFileReport().message;
    const std::string out = dir.File(std::string(name) + ".out.dxf");
    ASSERT_EQ(db.saveAs(out.c_str()), Acad::eOk);
    ExpectAuditClean(out);
  }
  const std::string s = Summary(dir.File("ezdxf_gbk_r2000.dxf.out.dxf"));
  EXPECT_NE(s.find("\"中文 GBK\""), std::string::npos) << s;
  EXPECT_NE(s.find("\"Thai ก €\""), std::string::npos) << s;
  EXPECT_NE(s.find("\"图层\""), std::string::npos) << s;
}

TEST(Ezdxf, WeReadWhatItWrites) {
  vex::test::TempDir dir;
  std::string out;
  ASSERT_EQ(Peer("make", dir.File("peer.dxf"), out), 0) << out;
  AcDbDatabase db(false);
  ASSERT_EQ(db.readDwgFile(dir.File("peer.dxf").c_str()), Acad::eOk) << db.lastFileReport().message;
  AcDbObjectPointer<AcDbBlockTableRecord> ms(db.modelSpaceId(), AcDb::kForRead);
  const std::vector<AcDbObjectId> ids = ms->entityIds();
  ASSERT_EQ(ids.size(), 2u);
  AcDbObjectPointer<AcDbLine> line(ids[0], AcDb::kForRead);
  EXPECT_EQ(line->layer(), "Peer");
  AcDbObjectPointer<AcDbText> text(ids[1], AcDb::kForRead);
  EXPECT_EQ(text->textString(), "来自 ezdxf");
}

TEST(Ezdxf, WblockOutputPassesAudit) {
  vex::test::TempDir dir;
  AcDbDatabase src(false);
  ASSERT_EQ(src.readDwgFile(Data("ezdxf_sample.dxf").c_str()), Acad::eOk);
  AcDbObjectPointer<AcDbBlockTableRecord> ms(src.modelSpaceId(), AcDb::kForRead);
  AcDbObjectIdArray ids;
  for (AcDbObjectId id : ms->entityIds()) ids.append(id);  // MTEXT, DIMENSION, HATCH too
  ms.close();
  std::unique_ptr<AcDbDatabase> out;
  ASSERT_EQ(src.wblock(out, ids, AcGePoint3d()), Acad::eOk);
  ASSERT_EQ(out->saveAs(dir.File("w.dxf").c_str()), Acad::eOk);
  ExpectAuditClean(dir.File("w.dxf"));
  AcDbDatabase target;
  AcDbObjectId block;
  ASSERT_EQ(target.insert(block, "Sample", out.get()), Acad::eOk);
  AppendToModel(target, new AcDbBlockReference({0, 0, 0}, block));
  ASSERT_EQ(target.saveAs(dir.File("i.dxf").c_str()), Acad::eOk);
  ExpectAuditClean(dir.File("i.dxf"));
}

}  // namespace
}  // namespace cadhost::test
