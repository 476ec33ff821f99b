#include "update/update_check.h"

#include <gtest/gtest.h>

#include "support/http_server.h"
#include "support/run_cli.h"
#include "support/temp_dir.h"

namespace vex {
namespace {

using test::LocalHttpServer;

WebLinks LinksTo(const LocalHttpServer& server) {
  WebLinks links;
  links.updateFolder = server.Url();
  return links;
}

TEST(UpdateCheck, SameVersionWithLineBreakAndTabIsUpToDate) {
  LocalHttpServer server("2.1.06\n\t");
  const UpdateOutcome o = CheckForUpdate(LinksTo(server), InternetDownloader(5));
  EXPECT_EQ(o.state, UpdateState::kUpToDate);
  EXPECT_NE(server.Requests().find("GET /VexTable.txt"), std::string::npos);
  EXPECT_NE(server.Requests().find("User-Agent: AutoUpdateAgent"), std::string::npos);
  EXPECT_NE(server.Requests().find("no-cache"), std::string::npos);
  EXPECT_NE(UpdateBoxText(o, WebLinks{}).find("down to date VexTable 2.1.06!"), std::string::npos);
}

TEST(UpdateCheck, AnyOtherVersionIsNewer) {
  LocalHttpServer server("2.1.05");
  const UpdateOutcome o = CheckForUpdate(LinksTo(server), InternetDownloader(5));
  EXPECT_EQ(o.state, UpdateState::kNewerVersion);
  EXPECT_EQ(o.remoteVersion, "2.1.05");
  const std::string box = UpdateBoxText(o, WebLinks{});
  EXPECT_EQ(box.rfind("<center><h2>VexTable 2.1.05 waiting download!!!</h2></center><br><hr><br>Your VexTable version "
                      "is 2.1.06<br>", 0), 0u) << box;
}

TEST(UpdateCheck, LongAnswerIsCutAt4096Bytes) {
  // 4,096 bytes of padding then more: what is read is padding only, trimmed to nothing.
  LocalHttpServer tabs(std::string(4096, '\t') + "9.9.99");
  EXPECT_EQ(CheckForUpdate(LinksTo(tabs), InternetDownloader(5)).state, UpdateState::kNotConnected);
  LocalHttpServer longer("2.1.07" + std::string(4994, ' '));
  const UpdateOutcome o = CheckForUpdate(LinksTo(longer), InternetDownloader(5));
  EXPECT_EQ(o.state, UpdateState::kNewerVersion);
  EXPECT_EQ(o.remoteVersion, "2.1.07");
}

TEST(UpdateCheck, HtmlInTheAnswerIsShownAsText_Issue17) {
  LocalHttpServer server("<script>alert(1)</script>");
  const UpdateOutcome o = CheckForUpdate(LinksTo(server), InternetDownloader(5));
  ASSERT_EQ(o.state, UpdateState::kNewerVersion);
  const std::string box = UpdateBoxText(o, WebLinks{});
  EXPECT_EQ(box.find("<script>"), std::string::npos);
  EXPECT_NE(box.find("&lt;script&gt;alert(1)&lt;/script&gt;"), std::string::npos);
  LocalHttpServer link("<a href='x'>");
  EXPECT_EQ(UpdateBoxText(CheckForUpdate(LinksTo(link), InternetDownloader(5)), WebLinks{}).find("<a href='x'>"),
            std::string::npos);
}

TEST(UpdateCheck, UnprintableAnswersAreNoAnswer_Issue17) {
  for (const std::string body : {std::string("2.1\x01" "06"), std::string("2.1\0" "06", 6), std::string("\xff\xfe"),
                                 std::string(""), std::string(" \r\n\t ")}) {
    LocalHttpServer server(body);
    EXPECT_EQ(CheckForUpdate(LinksTo(server), InternetDownloader(5)).state, UpdateState::kNotConnected);
  }
}

TEST(UpdateCheck, ErrorsAndSilenceAreNotConnected) {
  LocalHttpServer missing("not here", false, 404);
  EXPECT_EQ(CheckForUpdate(LinksTo(missing), InternetDownloader(5)).state, UpdateState::kNotConnected);
  WebLinks nowhere;
  nowhere.updateFolder = "http://127.0.0.1:9/";  // the discard port: nothing listens
  EXPECT_EQ(CheckForUpdate(nowhere, InternetDownloader(5)).state, UpdateState::kNotConnected);
  LocalHttpServer silent("2.1.06", true);
  const UpdateOutcome o = CheckForUpdate(LinksTo(silent), InternetDownloader(1));
  EXPECT_EQ(o.state, UpdateState::kNotConnected);
  EXPECT_EQ(UpdateBoxText(o, WebLinks{}), "Internet connect failing!");
}

TEST(UpdateCheck, OnlyWebAddressesAreFetched) {
  WebLinks file;
  file.updateFolder = "file:///etc/";
  EXPECT_EQ(CheckForUpdate(file, InternetDownloader(5)).state, UpdateState::kNotConnected);
}

TEST(AboutBox, NamesTheVersionAndEscapesTheLinks) {
  WebLinks links;
  links.home = "https://example.org/?a=1&b=2";
  const std::string html = AboutBoxHtml(links);
  EXPECT_EQ(html.rfind("<center><h2>VexTable 2.1.06</h2></center>", 0), 0u);
  EXPECT_NE(html.find("if you have good idea or propose."), std::string::npos);
  EXPECT_NE(html.find("a=1&amp;b=2"), std::string::npos);
  EXPECT_EQ(AboutCaption(), "About VexTable");
}

TEST(CheckUpdateVerb, PrintsTheBoxAndSaysTheStateByItsExitStatus) {
  test::TempDir dir;
  const auto run = [&](const LocalHttpServer& server) {
    test::WriteFile(dir.File("VexTable.ini"), "[Update]\nUrl=" + server.Url() + "\n");
    return test::RunCli("check-update --ini " + dir.File("VexTable.ini"));
  };
  LocalHttpServer same("2.1.06\n"), newer("3.0.00");
  const auto upToDate = run(same);
  EXPECT_EQ(upToDate.status, 0);
  EXPECT_NE(upToDate.out.find("down to date"), std::string::npos);
  EXPECT_EQ(run(newer).status, 1);
  test::WriteFile(dir.File("VexTable.ini"), "[Update]\nUrl=http://127.0.0.1:9/\n");
  const auto none = test::RunCli("check-update --ini " + dir.File("VexTable.ini"));
  EXPECT_EQ(none.status, 2);
  EXPECT_EQ(none.out, "Internet connect failing!\n");
  EXPECT_EQ(test::RunCli("check-update extra").status, 64);
}

}  // namespace
}  // namespace vex
