#include "files/xml_store.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "support/temp_dir.h"

namespace vex {
namespace {

using test::ReadFile;
using test::TempDir;
using test::WriteFile;

class XmlStoreTest : public ::testing::Test {
 protected:
  // Opens a store over a file holding `xml`.
  int OpenText(XmlStore& store, const std::string& xml) {
    WriteFile(path_, xml);
    return store.Open(path_, "xmlRoot");
  }
  TempDir dir_;
  std::string path_ = dir_.File("t.xml");
};

TEST_F(XmlStoreTest, MissingFileGivesAnEmptyDocument) {
  XmlStore store;
  EXPECT_EQ(store.Open(path_, "xmlRoot"), XmlStore::kLoaded);
  EXPECT_FALSE(std::filesystem::exists(path_));  // nothing is written before Save
  ASSERT_TRUE(store.Save());
  EXPECT_EQ(ReadFile(path_), "<?xml version=\"1.0\"?>\n<xmlRoot />\n");
  EXPECT_EQ(store.Open(path_, "xmlRoot"), XmlStore::kLoaded);
}

TEST_F(XmlStoreTest, NewDocumentUsesTheGivenRoot) {
  XmlStore store;
  store.Open(path_, "myRoot");
  store.PutInt("A", "b", 1);
  ASSERT_TRUE(store.Save());
  EXPECT_EQ(ReadFile(path_), "<?xml version=\"1.0\"?>\n<myRoot>\n\t<A>\n\t\t<b>1</b>\n\t</A>\n</myRoot>\n");
}

TEST_F(XmlStoreTest, PutBuildsTheElementChainAndGetReadsIt) {
  XmlStore store;
  store.Open(path_, "xmlRoot");
  store.PutDouble("T", "Row/Height0", 5);
  ASSERT_TRUE(store.Save());
  EXPECT_NE(ReadFile(path_).find("<T>\n\t\t<Row>\n\t\t\t<Height0>5.000000</Height0>"), std::string::npos)
      << ReadFile(path_);
  XmlStore again;
  ASSERT_EQ(again.Open(path_, "xmlRoot"), XmlStore::kLoaded);
  EXPECT_EQ(again.GetDouble("T", "Row/Height0", 0), 5.0);
  EXPECT_EQ(again.GetString("T/", "Row/Height0", ""), "5.000000");
}

TEST_F(XmlStoreTest, SecondPutReplacesTheText) {
  XmlStore store;
  store.Open(path_, "xmlRoot");
  store.PutInt("T", "Cols", 3);
  store.PutInt("T", "Cols", 4);
  ASSERT_TRUE(store.Save());
  const std::string text = ReadFile(path_);
  EXPECT_EQ(text.find("<Cols>"), text.rfind("<Cols>"));
  EXPECT_EQ(store.GetInt("T", "Cols", 0), 4);
}

TEST_F(XmlStoreTest, DefaultsPassThroughTheNumberFormats) {
  XmlStore store;
  store.Open(path_, "xmlRoot");
  EXPECT_EQ(store.GetInt("T", "Cols", 7), 7);
  EXPECT_EQ(store.GetDouble("T", "x", 1.23456789), 1.234568);
  EXPECT_EQ(store.GetString("T", "x", "dflt"), "dflt");
  EXPECT_FALSE(store.Has("T", "x"));
}

TEST_F(XmlStoreTest, NumbersReadLeadingDigits) {
  XmlStore store;
  OpenText(store, "<xmlRoot><T><a>12abc</a><b>x</b><c> 2.5e1 </c></T></xmlRoot>");
  EXPECT_EQ(store.GetInt("T", "a", 9), 12);
  EXPECT_EQ(store.GetInt("T", "b", 9), 0);
  EXPECT_EQ(store.GetDouble("T", "c", 9), 25.0);
  EXPECT_EQ(store.GetDouble("T", "b", 9), 0.0);
}

TEST_F(XmlStoreTest, SpacesInWrittenPathsBecomeUnderscores) {
  XmlStore store;
  store.Open(path_, "xmlRoot");
  store.PutString("My Table", "Some Key", "v");
  ASSERT_TRUE(store.Save());
  EXPECT_NE(ReadFile(path_).find("<My_Table>"), std::string::npos);
  EXPECT_NE(ReadFile(path_).find("<Some_Key>v</Some_Key>"), std::string::npos);
  EXPECT_EQ(store.GetString("My_Table", "Some_Key", ""), "v");
}

TEST_F(XmlStoreTest, MalformedFilesGiveOne) {
  const std::vector<std::string> samples = {
      "[VexTableSaveFile]\nnRows=2\n",           // a key-value table file
      "<xmlRoot><T><Rows>2</Rows></T>",           // truncated
      "<xmlRoot><T></U></xmlRoot>",               // mismatched
      std::string("\x00\x01\x02\xff\xfe", 5),     // binary junk
      "",                                         // empty file
      "just some text",                           // no element
  };
  for (const auto& s : samples) {
    XmlStore store;
    EXPECT_EQ(OpenText(store, s), XmlStore::kMalformed) << s;
    EXPECT_FALSE(store.ParseError().empty());
    // The store still holds a usable empty document.
    EXPECT_EQ(store.GetInt("T", "Rows", -1), -1);
  }
}

TEST_F(XmlStoreTest, ReadFindsTheFirstMatchInDocumentOrder) {
  XmlStore store;
  OpenText(store,
           "<xmlRoot>"
           "<A><B/></A>"                                                  // an A without B/C
           "<X><A><B><A><B><C>inner</C></B></A></B><B><C>outer</C></B></A></X>"
           "<A><B><C>last</C></B></A>"
           "</xmlRoot>");
  EXPECT_EQ(store.GetString("A", "B/C", ""), "inner");
  EXPECT_EQ(store.GetString("X", "A/B/C", ""), "outer");
  EXPECT_EQ(store.GetString("", "C", ""), "inner");
  EXPECT_EQ(store.GetString("Q", "C", "none"), "none");
}

TEST_F(XmlStoreTest, WritesAreRootedAndTakeTheFirstChild) {
  XmlStore store;
  OpenText(store, "<xmlRoot><X><T><k>deep</k></T></X><T><k>1</k></T><T><k>2</k></T></xmlRoot>");
  store.PutString("T", "k", "new");
  ASSERT_TRUE(store.Save());
  EXPECT_NE(ReadFile(path_).find("<k>deep</k>"), std::string::npos);
  EXPECT_NE(ReadFile(path_).find("<k>2</k>"), std::string::npos);
  EXPECT_EQ(ReadFile(path_).find("<k>1</k>"), std::string::npos);
  // A read is a descendant query: the nested T comes first in document order.
  EXPECT_EQ(store.GetString("T", "k", ""), "deep");
}

TEST_F(XmlStoreTest, TextIsTheConcatenatedContent) {
  XmlStore store;
  OpenText(store, "<xmlRoot><T><k>a<![CDATA[<b>]]><x>c</x>d &amp; e</k><s>   </s></T></xmlRoot>");
  EXPECT_EQ(store.GetString("T", "k", ""), "a<b>cd & e");
  EXPECT_EQ(store.GetString("T", "s", "x"), "   ");
}

TEST_F(XmlStoreTest, ValuesSurviveSaveAndLoad) {
  const std::vector<std::string> values = {"plain", "a & b < c > d \"q\" 'a'", "   ", "中文 text",
                                           "line one\nline two", "", "%%d %%c 30",
                                           "cell line\r\nnext line", "lone\rreturn"};
  {
    XmlStore store;
    store.Open(path_, "xmlRoot");
    for (std::size_t i = 0; i < values.size(); ++i)
      store.PutString("T", "v" + std::to_string(i), values[i]);
    ASSERT_TRUE(store.Save());
  }
  XmlStore store;
  ASSERT_EQ(store.Open(path_, "xmlRoot"), XmlStore::kLoaded);
  for (std::size_t i = 0; i < values.size(); ++i)
    EXPECT_EQ(store.GetString("T", "v" + std::to_string(i), "missing"), values[i]) << i;
}

TEST_F(XmlStoreTest, PutOverElementsDropsThemAndReadsStayRight) {
  XmlStore store;
  store.Open(path_, "xmlRoot");
  store.PutInt("T", "Row/Height0", 1);
  EXPECT_EQ(store.GetInt("T", "Row/Height0", -1), 1);
  store.PutString("T", "Row", "flat");
  EXPECT_EQ(store.GetInt("T", "Row/Height0", -1), -1);
  EXPECT_EQ(store.GetString("T", "Row", ""), "flat");
  store.PutInt("T", "Row/Height1", 2);
  EXPECT_EQ(store.GetInt("T", "Row/Height1", -1), 2);
}

TEST_F(XmlStoreTest, InterleavedPutsAndGetsSeeEachOther) {
  XmlStore store;
  OpenText(store, "<xmlRoot><T><a>1</a></T></xmlRoot>");
  EXPECT_EQ(store.GetInt("T", "a", 0), 1);
  for (int i = 0; i < 50; ++i) {
    store.PutInt("T", "Grid/Row" + std::to_string(i) + "/v", i);
    EXPECT_EQ(store.GetInt("T", "Grid/Row" + std::to_string(i) + "/v", -1), i);
  }
  EXPECT_EQ(store.GetInt("T", "Grid/Row7/v", -1), 7);
}

TEST_F(XmlStoreTest, UnusableNamesAreNotWritten) {
  XmlStore store;
  store.Open(path_, "xmlRoot");
  store.PutString("", "k", "v");        // empty path
  store.PutString("T", "a<b", "v");     // not an element name
  store.PutString("T", "a//b", "v");    // empty step
  store.PutString("T", "9lives", "v");  // starts with a digit
  store.PutString("T", "ok", "v");
  ASSERT_TRUE(store.Save());
  XmlStore again;
  ASSERT_EQ(again.Open(path_, "xmlRoot"), XmlStore::kLoaded);
  EXPECT_EQ(again.GetString("T", "ok", ""), "v");
  EXPECT_EQ(ReadFile(path_).find("lives"), std::string::npos);
}

TEST_F(XmlStoreTest, ClearKeepsTheOldFileUntilSave) {
  XmlStore store;
  OpenText(store, "<xmlRoot><T><a>1</a></T></xmlRoot>");
  EXPECT_EQ(store.Clear(), XmlStore::kLoaded);
  EXPECT_EQ(store.GetInt("T", "a", -1), -1);
  EXPECT_EQ(ReadFile(path_), "<xmlRoot><T><a>1</a></T></xmlRoot>");
  ASSERT_TRUE(store.Save());
  EXPECT_EQ(ReadFile(path_), "<?xml version=\"1.0\"?>\n<xmlRoot />\n");
}

TEST_F(XmlStoreTest, SaveToAnotherNameIsRemembered) {
  XmlStore store;
  store.Open(path_, "xmlRoot");
  store.PutInt("T", "a", 1);
  const std::string other = dir_.File("other.xml");
  ASSERT_TRUE(store.Save(other));
  EXPECT_EQ(store.FileName(), other);
  store.PutInt("T", "a", 2);
  ASSERT_TRUE(store.Save());
  EXPECT_NE(ReadFile(other).find("<a>2</a>"), std::string::npos);
  EXPECT_FALSE(std::filesystem::exists(path_));
}

TEST_F(XmlStoreTest, SaveIntoMissingFolderFails) {
  XmlStore store;
  store.Open(dir_.File("no/such/t.xml"), "xmlRoot");
  EXPECT_FALSE(store.Save());
}

TEST_F(XmlStoreTest, StoreWithoutDocumentIgnoresPuts) {
  XmlStore store;
  store.PutInt("T", "a", 1);
  EXPECT_EQ(store.GetInt("T", "a", 5), 5);
  EXPECT_FALSE(store.Save());
}

}  // namespace
}  // namespace vex
