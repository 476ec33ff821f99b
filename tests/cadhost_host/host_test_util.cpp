#include "cadhost_host/host_test_util.h"

namespace cadhost::test {

void HostTest::SetUp() {
  ResetHost();
  SetCommandLineView(nullptr);
  ASSERT_EQ(acDocManager->appContextNewDocument(nullptr), Acad::eOk);
  Feedback::Clear();
}

void HostTest::TearDown() {
  ResetHost();
  SetCommandLineView(nullptr);
}

std::string AppPath(const std::string& fileName) {
  return std::string(CADHOST_TEST_APPS) + "/" + fileName;
}

std::string RunScript(const std::string& input) {
  Feedback::Clear();
  TypeInput(input);
  RunCommandLine();
  return Feedback::Text();
}

int Count(const std::string& hay, const std::string& needle) {
  int n = 0;
  for (auto pos = hay.find(needle); pos != std::string::npos; pos = hay.find(needle, pos + 1))
    ++n;
  return n;
}

}  // namespace cadhost::test

namespace cadhost::test {
namespace {

AcDbObjectId Append(AcDbEntity* e) {
  AcDbDatabase* db = acdbHostApplicationServices()->workingDatabase();
  AcDbObjectPointer<AcDbBlockTableRecord> ms(db->modelSpaceId(), AcDb::kForWrite);
  AcDbObjectId id;
  if (!ms || ms->appendAcDbEntity(id, e) != Acad::eOk) {
    delete e;
    return {};
  }
  e->close();
  return id;
}

}  // namespace

AcDbObjectId AddLine(double x1, double y1, double x2, double y2) {
  return Append(new AcDbLine({x1, y1, 0}, {x2, y2, 0}));
}

AcDbObjectId AddText(double x, double y, const char* text, double height, double rotationDeg) {
  auto* t = new AcDbText({x, y, 0}, text);
  t->setHeight(height);
  t->setRotation(rotationDeg * 3.14159265358979323846 / 180.0);
  return Append(t);
}

AcDbObjectId AddCircle(double x, double y, double r) {
  return Append(new AcDbCircle({x, y, 0}, AcGeVector3d::kZAxis, r));
}

std::vector<AcDbObjectId> IdsOf(const ads_name set) {
  std::vector<AcDbObjectId> out;
  Adesk::Int32 n = 0;
  if (acedSSLength(set, &n) != RTNORM) return out;
  for (Adesk::Int32 i = 0; i < n; ++i) {
    ads_name e;
    AcDbObjectId id;
    if (acedSSName(set, i, e) == RTNORM && acdbGetObjectId(id, e) == Acad::eOk) out.push_back(id);
  }
  return out;
}

std::vector<AcDbObjectId> ModelSpace() {
  AcDbObjectPointer<AcDbBlockTableRecord> ms(
      acdbHostApplicationServices()->workingDatabase()->modelSpaceId(), AcDb::kForRead);
  return ms ? ms->entityIds() : std::vector<AcDbObjectId>{};
}

}  // namespace cadhost::test

#include <sys/wait.h>

#include "support/run_cli.h"

namespace cadhost::test {

using vex::test::RunShell;

ProgramRun RunHostProgram(const std::string& args, const std::string& registry) {
  // Without a display: the program runs headless whatever the desktop the tests run on.
  return RunShell("env -u DISPLAY -u WAYLAND_DISPLAY CADHOST_REGISTRY_DIR='" + registry + "' " +
                  CADHOST_PROGRAM + " " + args + " </dev/null");
}

std::string DumpWithEzdxf(const std::string& dxfPath) {
  const ProgramRun r =
      RunShell(std::string("/usr/bin/python3 ") + CADHOST_DXF_DUMP + " '" + dxfPath + "'");
  EXPECT_EQ(r.status, 0) << r.err;
  return r.out;
}

}  // namespace cadhost::test

#include <cmath>

namespace cadhost::test {
namespace {

std::string Num(double v) {
  double r = std::round(v * 1000.0) / 1000.0;
  if (r == 0) r = 0;  // no "-0"
  char buf[64];
  std::snprintf(buf, sizeof buf, "%g", r);
  return buf;
}

std::string Pt(double x, double y) { return Num(x) + "," + Num(y); }

}  // namespace

std::string Describe(AcDbObjectId id) {
  AcDbEntityPointer e(id, AcDb::kForRead);
  if (!e) return "?";
  if (const auto* l = AcDbLine::cast(e.object()))
    return "LINE " + Pt(l->startPoint().x, l->startPoint().y) + " " +
           Pt(l->endPoint().x, l->endPoint().y);
  if (const auto* c = AcDbCircle::cast(e.object()))
    return "CIRCLE " + Pt(c->center().x, c->center().y) + " r=" + Num(c->radius());
  if (const auto* t = AcDbText::cast(e.object())) {
    double deg = std::fmod(t->rotation() * 180.0 / 3.14159265358979323846, 360.0);
    if (deg < 0) deg += 360.0;
    return "TEXT \"" + t->textString() + "\" " + Pt(t->position().x, t->position().y) +
           " h=" + Num(t->height()) + " rot=" + Num(deg);
  }
  if (const auto* p = AcDbPolyline::cast(e.object())) {
    std::string s = "LWPOLYLINE closed=" + std::string(p->isClosed() ? "1" : "0");
    for (unsigned i = 0; i < p->numVerts(); ++i) {
      AcGePoint2d v;
      p->getPointAt(i, v);
      s += " " + Pt(v.x, v.y);
    }
    return s;
  }
  return e->isA()->name();
}

std::vector<std::string> DescribeSpace(bool paper) {
  AcDbDatabase* db = acdbHostApplicationServices()->workingDatabase();
  AcDbObjectPointer<AcDbBlockTableRecord> space(paper ? db->paperSpaceId() : db->modelSpaceId(),
                                                AcDb::kForRead);
  std::vector<std::string> out;
  if (space)
    for (AcDbObjectId id : space->entityIds()) out.push_back(Describe(id));
  return out;
}

}  // namespace cadhost::test
