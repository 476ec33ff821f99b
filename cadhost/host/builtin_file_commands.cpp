// The host's file and application commands: NEW, OPEN, SAVE, SAVEAS, CLOSE, QUIT, APPLOAD,
// ARX. File dialogs are off: every name is typed at the command line.

#include <filesystem>

#include "cadhost/host/builtin_commands.h"
#include "cadhost/host/prompts.h"
#include "cadhost/sdk/acedads.h"
#include "cadhost/sdk/acutads.h"
#include "platform/text_util.h"

namespace fs = std::filesystem;

namespace cadhost {
namespace {

// A file name as typed: surrounding blanks and double quotes removed.
std::string FileName(const std::string& typed) {
  std::string s(vex::platform::TrimBlanks(typed));
  if (s.size() >= 2 && s.front() == '"' && s.back() == '"') s = s.substr(1, s.size() - 2);
  return s;
}

bool AskName(const std::string& prompt, std::string& name, FileChoice kind,
             const std::string& current = {}) {
  std::optional<std::string> chosen = AskFileName(prompt, kind, current);
  if (!chosen) return false;
  name = std::move(*chosen);
  return true;
}

// "Cannot <what> <name>: <why>" for a failed open or save.
void ReportFailure(const char* what, const std::string& name, Acad::ErrorStatus es,
                   const std::string& why) {
  const std::string text = std::string("Cannot ") + what + " " + name + ": " +
                           (why.empty() ? acadErrorStatusText(es) : why.c_str());
  acutPrintf("\n%s", text.c_str());
  if (HostWindow* w = Host::Get().window) w->Alert(text);
}

bool Save(AcApDocument* doc, const std::string& path) {
  DocumentState& st = doc->state();
  const Acad::ErrorStatus es = st.db->saveAs(path.c_str());
  if (es != Acad::eOk) {
    ReportFailure("save", path, es, st.db->lastFileReport().message);
    return false;
  }
  std::error_code ec;
  const fs::path full = fs::absolute(path, ec).lexically_normal();
  st.path = full.string();
  st.title = full.filename().string();
  st.untitled = false;
  st.modified = false;
  return true;
}

// SAVEAS for `doc`: asks the name (ENTER keeps the current one), asks before replacing
// another file. True when saved.
bool SaveAs(AcApDocument* doc) {
  const DocumentState& st = doc->state();
  const std::string current =
      st.untitled ? (fs::current_path() / st.path).string() : st.path;
  std::string name;
  if (!AskName("\nSave drawing as <" + current + ">: ", name, FileChoice::SaveDrawing, current))
    return false;
  if (name.empty()) name = current;
  if (fs::path(name).extension().empty()) name += ".dxf";
  std::error_code ec;
  // A file dialog has asked about replacing a file already.
  const bool asked = Host::Get().UseFileDialogs();
  if (!asked && fs::exists(name, ec) && !(fs::equivalent(name, current, ec) && !st.untitled)) {
    const PromptAnswer a = AskKeyword(
        "\nA drawing with this name already exists.\nDo you want to replace it? [Yes/No] <N>: ",
        "Yes No");
    if (a.rc != RTKWORD || a.keyword != "Yes") return false;
  }
  return Save(doc, name);
}

// Asks whether to save a changed drawing before it goes: false when the user cancels.
bool ConfirmDiscard(AcApDocument* doc) {
  if (!doc->isModified()) return true;
  if (Host::Get().UseDialogs()) {
    const int answer = Host::Get().window->AskSaveChanges(doc);
    if (answer < 0) return false;
    if (answer == 0) return true;
    return doc->isUntitled() ? SaveAs(doc) : Save(doc, doc->fileName());
  }
  const PromptAnswer a = AskKeyword(
      std::string("\nSave changes to ") + doc->docTitle() + "? [Yes/No/Cancel] <Yes>: ",
      "Yes No Cancel");
  if (a.rc == RTCAN || (a.rc == RTKWORD && a.keyword == "Cancel")) return false;
  if (a.rc == RTKWORD && a.keyword == "No") return true;
  return doc->isUntitled() ? SaveAs(doc) : Save(doc, doc->fileName());
}

}  // namespace

std::optional<std::string> AskFileName(const std::string& prompt, FileChoice kind,
                                       const std::string& current) {
  Host& h = Host::Get();
  if (h.UseFileDialogs()) return h.window->ChooseFile(kind, current);
  std::string typed;
  const int rc = acedGetString(1, prompt.c_str(), typed);
  if (rc != RTNORM && rc != RTNONE) return std::nullopt;
  return FileName(typed);
}

void NewCommand() {
  std::string name;
  // A new drawing from the window starts empty; a template is typed at the command line.
  if (Host::Get().UseFileDialogs()) {
    acDocManagerPtr()->appContextNewDocument(nullptr);
    return;
  }
  if (!AskName("\nEnter template file name or [. (for none)] <.>: ", name, FileChoice::Template))
    return;
  if (name == ".") name.clear();
  const Acad::ErrorStatus es = acDocManagerPtr()->appContextNewDocument(name.c_str());
  if (es != Acad::eOk)
    ReportFailure("open the template", name, es, acDocManagerPtr()->lastOpenReport().message);
}

void OpenCommand() {
  std::string name;
  if (!AskName("\nEnter name of drawing to open: ", name, FileChoice::OpenDrawing) ||
      name.empty())
    return;
  const Acad::ErrorStatus es = acDocManagerPtr()->appContextOpenDocument(name.c_str());
  if (es != Acad::eOk)
    ReportFailure("open", name, es, acDocManagerPtr()->lastOpenReport().message);
}

void SaveCommand() {
  AcApDocument* doc = Host::Get().current;
  if (doc->isUntitled()) SaveAs(doc);
  else Save(doc, doc->fileName());
}

void SaveAsCommand() { SaveAs(Host::Get().current); }

void CloseCommand() {
  AcApDocument* doc = Host::Get().current;
  if (ConfirmDiscard(doc)) acDocManagerPtr()->closeDocument(doc);
}

void QuitCommand() {
  Host& h = Host::Get();
  if (h.UseDialogs()) {
    // With a window each changed drawing is asked about, as closing it would.
    for (const auto& d : h.documents)
      if (!ConfirmDiscard(d.get())) return;
    RequestQuit();
    return;
  }
  // The question of the host's command-line QUIT: "QUIT Y" in a script discards and ends.
  bool changed = false;
  for (const auto& d : Host::Get().documents) changed = changed || d->isModified();
  if (changed) {
    const PromptAnswer a = AskKeyword(
        "\nReally want to discard all changes to drawing? [Yes/No] <N>: ", "Yes No");
    if (a.rc != RTKWORD || a.keyword != "Yes") return;
  }
  RequestQuit();
}

void AppLoadCommand() {
  if (Host::Get().UseDialogs()) {
    Host::Get().window->ShowApplications();
    return;
  }
  std::string name;
  if (!AskName("\nEnter application file name to load: ", name, FileChoice::Application) ||
      name.empty())
    return;
  acrxDynamicLinker->loadModule(name.c_str(), true, true);
}

void ArxCommand() {
  const PromptAnswer a = AskKeyword("\nEnter an option [?/Load/Unload]: ", "? Load Unload");
  if (a.rc != RTKWORD) return;
  if (a.keyword == "?") {
    const std::vector<std::string> apps = acrxDynamicLinker->loadedApplications();
    if (apps.empty()) acutPrintf("\nNo applications are loaded.");
    for (const std::string& path : apps) acutPrintf("\n%s", path.c_str());
    return;
  }
  std::string name;
  if (a.keyword == "Load") {
    if (AskName("\nEnter ARX file name: ", name, FileChoice::Application) && !name.empty())
      acrxDynamicLinker->loadModule(name.c_str(), true, true);
    return;
  }
  std::string typed;
  const int rc = acedGetString(1, "\nEnter ARX application name: ", typed);
  if (rc != RTNORM) return;
  name = FileName(typed);
  if (name.empty()) return;
  if (acrxDynamicLinker->unloadModule(name.c_str(), true))
    acutPrintf("\n%s unloaded.", name.c_str());
  else if (acrxDynamicLinker->isApplicationLocked(name.c_str()))
    acutPrintf("\nUnable to unload %s: the application is locked.", name.c_str());
  else
    acutPrintf("\nUnable to unload %s: it is not loaded.", name.c_str());
}

}  // namespace cadhost
