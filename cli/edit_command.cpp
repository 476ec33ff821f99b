#include "cli/edit_command.h"

#include <QApplication>

#include <cstdio>
#include <cstdlib>

#include "cli/arguments.h"
#include "cli/table_input.h"

namespace vex::cli {
namespace {

constexpr const char* kUsage = "usage: vextable edit [TABLE] [--ini PATH] [--prefix P]\n";

bool HasDisplay() {
  return std::getenv("QT_QPA_PLATFORM") || std::getenv("DISPLAY") || std::getenv("WAYLAND_DISPLAY");
}

}  // namespace

EditSession::EditSession(const std::optional<std::string>& iniPath) : scope_(iniPath), host_(scope_.where()) {}

bool EditSession::Start(const std::optional<std::string>& tablePath, const std::optional<std::string>& prefix,
                        std::unique_ptr<EditorDialogs> dialogs) {
  LoadedTable loaded;
  if (tablePath && !ReadTableInput("edit", prefix, *tablePath, loaded, &host_.Pictures())) return false;
  window_ = std::make_unique<TableEditorWindow>(host_, std::move(dialogs));
  if (tablePath) {
    window_->SetOrigin(kLoadedTable);
    window_->LoadTable(loaded.table);
  } else {
    window_->SetOrigin(kNewTable);
    window_->SetBlankTable(6, 6, 5, 15);
  }
  window_->ShowRestored();
  return true;
}

int RunEdit(const std::vector<std::string>& args) {
  std::string error;
  const auto a = ParseArguments(args, {"--ini", "--prefix"}, {}, error);
  if (!a || a->positional.size() > 1) {
    std::fprintf(stderr, "vextable edit: %s\n%s", a ? "expected at most one table" : error.c_str(), kUsage);
    return 2;
  }
  // A window needs somewhere to be shown; say so rather than let the toolkit abort.
  if (!HasDisplay())
    return Fail("edit", "there is no display to show the editor on (set DISPLAY, or QT_QPA_PLATFORM=offscreen)");

  int argc = 1;
  char name[] = "vextable";
  char* argv[] = {name, nullptr};
  QApplication app(argc, argv);
  EditSession session(a->Option("--ini"));
  if (!session.problem().empty()) return Fail("edit", session.problem());
  session.Host().onClosed = [] { QMetaObject::invokeMethod(qApp, &QCoreApplication::quit, Qt::QueuedConnection); };
  const std::optional<std::string> table =
      a->positional.empty() ? std::nullopt : std::optional<std::string>(a->positional[0]);
  if (!session.Start(table, a->Option("--prefix"))) return 1;
  return app.exec();
}

}  // namespace vex::cli
