// Documents: the current one, the working database, locks, opening and closing, the file
// search.

#include <filesystem>

#include "cadhost_host/host_test_util.h"
#include "support/temp_dir.h"

namespace cadhost::test {
namespace {

using DocumentsTest = HostTest;

TEST_F(DocumentsTest, WorkingDatabaseFollowsTheCurrentDocument) {
  AcApDocument* first = acDocManager->curDocument();
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(acdbHostApplicationServices()->workingDatabase(), first->database());
  ASSERT_EQ(acDocManager->appContextNewDocument(nullptr), Acad::eOk);
  AcApDocument* second = acDocManager->curDocument();
  EXPECT_NE(second, first);
  EXPECT_EQ(acDocManager->documentCount(), 2);
  EXPECT_EQ(acdbHostApplicationServices()->workingDatabase(), second->database());
  EXPECT_STREQ(first->docTitle(), "Drawing1.dxf");
  EXPECT_STREQ(second->docTitle(), "Drawing2.dxf");
  ASSERT_EQ(acDocManager->setCurDocument(first), Acad::eOk);
  EXPECT_EQ(acdbHostApplicationServices()->workingDatabase(), first->database());
  EXPECT_EQ(acDocManager->document(second->database()), second);
}

TEST_F(DocumentsTest, ClosingTheCurrentMakesThePreviousOneCurrent) {
  AcApDocument* first = acDocManager->curDocument();
  acDocManager->appContextNewDocument(nullptr);
  acDocManager->appContextNewDocument(nullptr);
  AcApDocument* third = acDocManager->curDocument();
  ASSERT_EQ(acDocManager->closeDocument(third), Acad::eOk);
  EXPECT_EQ(acDocManager->documentCount(), 2);
  EXPECT_EQ(acDocManager->curDocument(), acDocManager->documentAt(1));
  acDocManager->closeDocument(acDocManager->curDocument());
  EXPECT_EQ(acDocManager->curDocument(), first);
  acDocManager->closeDocument(first);
  EXPECT_EQ(acDocManager->curDocument(), nullptr);
  EXPECT_EQ(acdbHostApplicationServices()->workingDatabase(), nullptr);
  EXPECT_EQ(acDocManager->closeDocument(first), Acad::eInvalidInput) << "closed already";
}

TEST_F(DocumentsTest, LocksAreCountedAndNeverGoNegative) {
  AcApDocument* doc = acDocManager->curDocument();
  EXPECT_EQ(doc->lockMode(), AcAp::kNone);
  EXPECT_EQ(acDocManager->unlockDocument(doc), Acad::eNotApplicable);
  EXPECT_EQ(doc->lockCount(), 0);
  ASSERT_EQ(acDocManager->lockDocument(doc), Acad::eOk);
  ASSERT_EQ(acDocManager->lockDocument(doc, AcAp::kWrite, nullptr, nullptr, false), Acad::eOk);
  EXPECT_EQ(doc->lockCount(), 2);
  EXPECT_EQ(doc->lockMode(), AcAp::kWrite);
  EXPECT_EQ(acDocManager->unlockDocument(doc), Acad::eOk);
  EXPECT_EQ(doc->lockMode(), AcAp::kWrite) << "one lock still held";
  EXPECT_EQ(acDocManager->unlockDocument(doc), Acad::eOk);
  EXPECT_EQ(doc->lockMode(), AcAp::kNone);
  EXPECT_EQ(acDocManager->lockDocument(nullptr), Acad::eNullObjectPointer);
}

TEST_F(DocumentsTest, OpenReadsTheFileAndOpeningItAgainSwitchesToIt) {
  vex::test::TempDir dir;
  const std::string path = dir.File("plan.dxf");
  ASSERT_EQ(acdbHostApplicationServices()->workingDatabase()->saveAs(path.c_str()), Acad::eOk);
  ASSERT_EQ(acDocManager->appContextOpenDocument(path.c_str()), Acad::eOk);
  AcApDocument* opened = acDocManager->curDocument();
  EXPECT_STREQ(opened->docTitle(), "plan.dxf");
  EXPECT_FALSE(opened->isUntitled());
  acDocManager->appContextNewDocument(nullptr);
  ASSERT_EQ(acDocManager->appContextOpenDocument(path.c_str()), Acad::eOk);
  EXPECT_EQ(acDocManager->curDocument(), opened);
  EXPECT_EQ(acDocManager->documentCount(), 3);
}

struct BadOpen {
  const char* name;
  const char* content;  // nullptr: no file
  Acad::ErrorStatus status;
};

class OpenFails : public HostTest, public ::testing::WithParamInterface<BadOpen> {};

TEST_P(OpenFails, LeavesTheCurrentDocumentAlone) {
  vex::test::TempDir dir;
  const std::string path = dir.File("bad.dxf");
  if (GetParam().content != nullptr) vex::test::WriteFile(path, GetParam().content);
  AcApDocument* before = acDocManager->curDocument();
  EXPECT_EQ(acDocManager->appContextOpenDocument(path.c_str()), GetParam().status);
  EXPECT_EQ(acDocManager->curDocument(), before);
  EXPECT_EQ(acDocManager->documentCount(), 1);
  EXPECT_FALSE(acDocManager->lastOpenReport().message.empty());
}

INSTANTIATE_TEST_SUITE_P(Cases, OpenFails,
                         ::testing::Values(BadOpen{"missing", nullptr, Acad::eFileNotFound},
                                           BadOpen{"junk", "hello\nworld\n", Acad::eBadDxfFile},
                                           BadOpen{"truncated", "0\nSECTION\n2\nHEADER\n",
                                                   Acad::eBadDxfFile}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(DocumentsTest, FindFileLooksInTheDrawingFolderFirst) {
  vex::test::TempDir dir;
  const std::string drawing = dir.File("site.dxf");
  ASSERT_EQ(acdbHostApplicationServices()->workingDatabase()->saveAs(drawing.c_str()), Acad::eOk);
  std::string found;
  EXPECT_EQ(acedFindFile("Beside.TXT", found), RTERROR) << "untitled drawing: no folder";
  vex::test::WriteFile(dir.File("beside.txt"), "x");
  ASSERT_EQ(acDocManager->appContextOpenDocument(drawing.c_str()), Acad::eOk);
  ASSERT_EQ(acedFindFile("Beside.TXT", found), RTNORM) << "case is ignored";
  EXPECT_EQ(found, dir.File("beside.txt"));
  char small[8];
  EXPECT_EQ(acedFindFile("beside.txt", small, sizeof small), RTERROR) << "does not fit";
  EXPECT_STREQ(small, "");
  char big[4096];
  ASSERT_EQ(acedFindFile("beside.txt", big, sizeof big), RTNORM);
  EXPECT_EQ(std::string(big), dir.File("beside.txt"));
  EXPECT_EQ(acedFindFile(nullptr, found), RTERROR);
  EXPECT_EQ(acedFindFile("", found), RTERROR);
  EXPECT_EQ(acedFindFile((dir.path() + "nothing.txt").c_str(), found), RTERROR);
}

TEST_F(DocumentsTest, ProgramFolderHoldsSupportAndFonts) {
  std::string found;
  ASSERT_EQ(acedFindFile("TXT.SHX", found), RTNORM);
  EXPECT_EQ(found, ProgramFolder() + "/Fonts/txt.shx");
  ASSERT_EQ(acedFindFile("acadiso.lin", found), RTNORM);
  EXPECT_EQ(found, ProgramFolder() + "/Support/acadiso.lin");
  // The font catalogue tells big fonts by their first line.
  auto firstLine = [](const std::string& name) {
    std::string path;
    acedFindFile(name.c_str(), path);
    const std::string text = vex::test::ReadFile(path);
    return text.substr(0, text.find('\n'));
  };
  EXPECT_NE(firstLine("gbcbig.shx").find("bigfont"), std::string::npos);
  EXPECT_EQ(firstLine("txt.shx").find("bigfont"), std::string::npos);
  AcDbDatabase* db = acdbHostApplicationServices()->workingDatabase();
  EXPECT_EQ(db->loadLineTypeFile("DASHED", "acadiso.lin"), Acad::eOk);
}

}  // namespace
}  // namespace cadhost::test
