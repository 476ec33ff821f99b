// The table editor's tools and help commands that open other windows: the replacement list,
// the update check, the about box and the maker's web pages.

#include <QDesktopServices>
#include <QUrl>

#include "editor/dialog_texts.h"
#include "editor/table_editor_window.h"
#include "model/editor_commands.h"
#include "settings/language_pack.h"
#include "settings/replacement_dialog.h"
#include "update/update_box.h"
#include "update/update_check.h"

namespace vex {

using namespace editor_cmd;

void TableEditorWindow::EditReplacements() {
  const ModalBracket modal(host_);
  RunReplacementDialog(this, SettingsFile(), Language());
}

void TableEditorWindow::OpenWebLink(int id) {
  const WebLinks links = ReadWebLinks(SettingsFile());
  const std::string* url = id == kWebHome ? &links.home
                           : id == kWebForum ? &links.forum
                           : id == kSupport  ? &links.support
                           : id == kWebMail  ? &links.mail
                           : id == kHeaderWeb ? &links.headerExchange
                                             : nullptr;
  // A desktop without a browser or mail program opens nothing; that is not an error here.
  if (url) QDesktopServices::openUrl(QUrl(QtText(*url)));
}

void TableEditorWindow::CheckUpdate() { StartUpdateCheck(this, ReadWebLinks(SettingsFile())); }

void TableEditorWindow::ShowAbout() {
  const ModalBracket modal(host_);
  ShowAboutBox(this, ReadWebLinks(SettingsFile()));
}

}  // namespace vex
