// The editor's tools and help commands that open other windows: the replacement list, the
// about box, the update check against a local web server, the maker's web pages, the help
// file in the drafter's language, and taking every text again after a language change.

#include <QComboBox>
#include <QDesktopServices>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTextBrowser>
#include <QTimer>
#include <QUrl>

#include <filesystem>

#include "editor_window_fixture.h"
#include "model/editor_commands.h"
#include "settings/replacement_dialog.h"
#include "support/http_server.h"
#include "support/temp_dir.h"
#include "update/update_box.h"
#include "widgets/html_message_box.h"

namespace vex::test {

// Takes the links the desktop would open.
class UrlRecorder : public QObject {
  Q_OBJECT

 public:
  UrlRecorder() {
    for (const char* scheme : {"http", "https", "mailto", "file"}) QDesktopServices::setUrlHandler(scheme, this, "Open");
  }
  ~UrlRecorder() override {
    for (const char* scheme : {"http", "https", "mailto", "file"}) QDesktopServices::unsetUrlHandler(scheme);
  }
  Q_INVOKABLE void Open(const QUrl& url) { urls << url.toString(); }
  QStringList urls;
};

namespace {

using namespace editor_cmd;

// Runs `act`, which opens a modal window; `look` sees it, then it is closed.
template <class W>
bool WithModal(const std::function<void()>& act, const std::function<void(W*)>& look) {
  bool seen = false;
  QTimer::singleShot(0, [&] {
    if (auto* w = qobject_cast<W*>(QApplication::activeModalWidget())) {
      seen = true;
      look(w);
      w->reject();
    }
  });
  act();
  return seen;
}

// The update box once it arrives.
HtmlMessageBox* UpdateBox() {
  for (QWidget* w : QApplication::topLevelWidgets())
    if (w->objectName() == "UpdateBox" && w->isVisible()) return qobject_cast<HtmlMessageBox*>(w);
  return nullptr;
}

TEST_F(EditorWindowTest, AboutBoxFromTheHelpMenu) {
  Open();
  const bool seen = WithModal<HtmlMessageBox>([&] { window->Action(kAbout)->trigger(); }, [](HtmlMessageBox* box) {
    EXPECT_EQ(box->windowTitle(), "About VexTable");
    EXPECT_TRUE(box->PlainText().contains("VexTable 2.1.06"));
    EXPECT_TRUE(box->PlainText().contains("if you have good idea or propose."));
  });
  EXPECT_TRUE(seen);
  // The toolbar's about button is the same command.
  EXPECT_TRUE(WithModal<HtmlMessageBox>([&] { Press(kTbAbout); }, [](HtmlMessageBox*) {}));
}

TEST_F(EditorWindowTest, ReplacementListFromTheToolsMenu) {
  Open();
  EXPECT_TRUE(WithModal<ReplacementDialog>([&] { window->Action(kReplacementList)->trigger(); },
                                           [](ReplacementDialog* d) { EXPECT_EQ(d->Items().size(), 3u); }));
  EXPECT_TRUE(WithModal<ReplacementDialog>([&] { Press(kTbReplacementList); }, [](ReplacementDialog*) {}));
}

TEST_F(EditorWindowTest, UpdateCheckShowsItsBoxWhenTheAnswerArrives) {
  LocalHttpServer server("2.1.06\n\t");
  ASSERT_TRUE(install.SettingsFile().PutString("Update", "Url", server.Url()));
  Open();
  window->Action(kUpdate)->trigger();
  QTRY_VERIFY_WITH_TIMEOUT(UpdateBox() != nullptr, 15000);
  HtmlMessageBox* box = UpdateBox();
  EXPECT_EQ(box->windowTitle(), "VexTable update");
  EXPECT_TRUE(box->PlainText().contains("down to date VexTable 2.1.06")) << box->PlainText().toStdString();
  EXPECT_NE(server.Requests().find("User-Agent: AutoUpdateAgent"), std::string::npos);
  box->close();
  QApplication::processEvents();
}

TEST_F(EditorWindowTest, UpdateCheckShowsAServedTagAsText) {
  LocalHttpServer server("<a href='x'>9.9</a>");
  ASSERT_TRUE(install.SettingsFile().PutString("Update", "Url", server.Url()));
  Open();
  window->RunCommand(kUpdate);
  QTRY_VERIFY_WITH_TIMEOUT(UpdateBox() != nullptr, 15000);
  HtmlMessageBox* box = UpdateBox();
  EXPECT_TRUE(box->PlainText().contains("VexTable <a href='x'>9.9</a> waiting download!!!")) << box->PlainText().toStdString();
  box->close();
  QApplication::processEvents();
}

TEST_F(EditorWindowTest, UpdateBoxOutlivesAClosedEditor) {
  LocalHttpServer server("2.1.05");
  ASSERT_TRUE(install.SettingsFile().PutString("Update", "Url", server.Url()));
  Open();
  window->RunCommand(kUpdate);
  window.reset();
  QTRY_VERIFY_WITH_TIMEOUT(UpdateBox() != nullptr, 15000);
  EXPECT_TRUE(UpdateBox()->PlainText().contains("VexTable 2.1.05 waiting download!!!"));
  UpdateBox()->close();
  QApplication::processEvents();
}

TEST_F(EditorWindowTest, WebLinksOpenTheMakersPagesFromTheWebSubmenu) {
  UrlRecorder recorder;
  Open();
  QMenu* web = nullptr;
  for (QAction* a : window->Menus()->actions())
    if (a->menu())
      for (QAction* b : a->menu()->actions())
        if (b->menu() && b->text() == "&VexTable Online") web = b->menu();
  ASSERT_NE(web, nullptr);
  ASSERT_EQ(web->actions().size(), 3);
  for (QAction* a : web->actions()) a->trigger();
  window->Action(kSupport)->trigger();
  window->Action(kHeaderWeb)->trigger();
  const WebLinks links;
  EXPECT_EQ(recorder.urls, (QStringList{QString::fromStdString(links.home), QString::fromStdString(links.forum),
                                        QString::fromStdString(links.mail), QString::fromStdString(links.support),
                                        QString::fromStdString(links.headerExchange)}));
}

TEST_F(EditorWindowTest, HelpOpensTheFileOfTheLanguage) {
  UrlRecorder recorder;
  std::filesystem::create_directories(install.where().installFolder + "Help");
  WriteFile(install.where().helpFile, "<html>en</html>");
  WriteFile(install.where().installFolder + "Help/VexTable.zh.html", "<html>zh</html>");
  Open();
  window->RunCommand(kHelpContents);
  ASSERT_TRUE(install.Language().SetLanguage("Chinese"));
  window->RunCommand(kHelpContents);
  ASSERT_EQ(recorder.urls.size(), 2);
  EXPECT_TRUE(recorder.urls[0].endsWith("Help/VexTable.html"));
  EXPECT_TRUE(recorder.urls[1].endsWith("Help/VexTable.zh.html"));
}

TEST_F(EditorWindowTest, ApplyTextsRelabelsMenusToolTipsAndButtons) {
  Open();
  ASSERT_TRUE(install.Language().StartLanguage("Chinese"));
  window->ApplyTexts();
  QStringList titles;
  for (QAction* a : window->Menus()->actions()) titles << a->text();
  EXPECT_EQ(titles.front(), "文件(&F)");
  EXPECT_EQ(window->Action(kOpen)->text(), QString::fromStdString(install.Language().Text("IDS_MENUITEM_OPEN")).section('\t', 0, 0).trimmed());
  EXPECT_EQ(window->Action(kOpen)->shortcut(), QKeySequence(QStringLiteral("Ctrl+O")));
  EXPECT_EQ(window->Action(kTbMerge)->toolTip(), QString::fromStdString(install.Language().Text("IDS_BTN_TOOLBAR_32776")));
  EXPECT_EQ(window->DrawButton()->text(), QString::fromStdString(install.Language().DialogText(202, 1)));
  ASSERT_TRUE(install.Language().StartLanguage("English"));
  window->ApplyTexts();
  EXPECT_EQ(window->Menus()->actions().front()->text(), "&File");
  EXPECT_EQ(window->DrawButton()->text(), "&Draw");
  EXPECT_EQ(window->ZoomBox()->toolTip(), "Zoom");
}

}  // namespace
}  // namespace vex::test

#include "editor_help_test.moc"
