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
