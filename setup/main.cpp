// HarbekSetupPro: registers VexTable with every installed host product and profile, and
// starts the host.
//
//   HarbekSetupPro [all | start]
//
// "all" registers every product and profile, "start" starts the host chosen for start-up,
// anything else opens the setup window. It runs from VexTable's install folder, whose
// support/ and Sys16/ it names in the registry. Messages go to standard error, and into a
// message box when there is a display.

#include <QApplication>
#include <QDesktopServices>
#include <QMessageBox>
#include <QUrl>
#include <cstdio>
#include <memory>

#include "platform/process.h"
#include "settings/locations.h"
#include "setup/setup_dialog.h"
#include "setup/setup_program.h"
#include "update/update_check.h"

namespace {

using namespace vex::setup;

// A display someone could answer a window on: the offscreen and minimal platforms have none.
bool DisplayUsable() {
  const QByteArray platform = qgetenv("QT_QPA_PLATFORM");
  if (platform.startsWith("offscreen") || platform.startsWith("minimal")) return false;
  return !platform.isEmpty() || qEnvironmentVariableIsSet("DISPLAY") || qEnvironmentVariableIsSet("WAYLAND_DISPLAY");
}

class QtSetupUi final : public SetupUi {
 public:
  QtSetupUi(int& argc, char** argv, std::string helpFile)
      : argc_(argc), argv_(argv), helpFile_(std::move(helpFile)) {}

  void Message(std::string_view text) override {
    std::fprintf(stderr, "HarbekSetupPro: %.*s\n", static_cast<int>(text.size()), text.data());
    if (EnsureApplication())
      QMessageBox::information(nullptr, "HarbekSetupPro",
                               QString::fromUtf8(text.data(), static_cast<int>(text.size())));
  }

  bool CanShowWindow() const override { return DisplayUsable(); }

  void ShowProducts(ProductList list, const ApplyList& apply) override {
    if (!EnsureApplication()) return;
    SetupDialogActions actions;
    actions.apply = apply;
    actions.openHomePage = [] { QDesktopServices::openUrl(QUrl(QString::fromStdString(vex::WebLinks{}.home))); };
    actions.openHelp = [this] { QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(helpFile_))); };
    actions.message = [this](std::string_view text) { Message(text); };
    SetupDialog dialog(std::move(list), std::move(actions));
    dialog.exec();
  }

 private:
  // The application is made only when something is shown: "all" and "start" need no display.
  bool EnsureApplication() {
    if (!app_ && DisplayUsable()) app_ = std::make_unique<QApplication>(argc_, argv_);
    return app_ != nullptr;
  }

  int& argc_;
  char** argv_;
  std::string helpFile_;
  std::unique_ptr<QApplication> app_;
};

}  // namespace

int main(int argc, char** argv) {
  const std::string self = vex::platform::ProgramPath();
  const std::string installFolder = self.substr(0, self.find_last_of('/') + 1);
  vex::platform::Registry registry;
  QtSetupUi ui(argc, argv, vex::Locations::ForInstallFolder(installFolder).helpFile);
  ReplacingStarter starter;
  return RunSetup(ModeOf(argc > 1 ? argv[1] : ""), registry, installFolder, ui, starter);
}
