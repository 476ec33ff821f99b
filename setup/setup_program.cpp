#include "setup/setup_program.h"

#include "setup/registration.h"
#include "setup/setup_keys.h"

namespace vex::setup {

SetupMode ModeOf(std::string_view firstParameter) {
  if (firstParameter == "all") return SetupMode::kAll;
  if (firstParameter == "start") return SetupMode::kStart;
  return SetupMode::kWindow;
}

namespace {

constexpr std::string_view kNoWindowMessage =
    "The setup window needs a display; \"HarbekSetupPro all\" registers every product without it.";

int RunAll(platform::Registry& reg, const std::string& installFolder, SetupUi& ui) {
  const Registration r = RegisterAll(reg, installFolder);
  if (!r.written) {
    ui.Message(r.written.message());
    return 1;
  }
  if (!r.Found()) {
    ui.Message(kNotFoundMessage);
    return 1;
  }
  return 0;
}

int RunStart(platform::Registry& reg, const std::string& installFolder, SetupUi& ui, ProgramStarter& starter) {
  const StartOutcome r = Start(reg, installFolder, starter);
  if (!r.found) {
    ui.Message(kNotFoundMessage);
    return 1;
  }
  if (!r.started) {
    ui.Message(r.started.message());
    return 1;
  }
  return 0;
}

int RunWindow(platform::Registry& reg, const std::string& installFolder, SetupUi& ui) {
  if (!ui.CanShowWindow()) {
    ui.Message(kNoWindowMessage);
    return 2;
  }
  const Registration found = Detect(reg);
  if (!found.Found()) ui.Message(kNotFoundMessage);
  ProductList list = ProductList::Build(reg, found.products);
  const ApplyList apply = [&reg, installFolder](const ProductList& l) { return Apply(reg, l, installFolder); };
  // The registry matches what the window shows even when the user cancels.
  if (const Result r = apply(list); !r) {
    ui.Message(r.message());
    return 1;
  }
  ui.ShowProducts(std::move(list), apply);
  return 0;
}

}  // namespace

int RunSetup(SetupMode mode, platform::Registry& reg, const std::string& installFolder, SetupUi& ui,
             ProgramStarter& starter) {
  if (const Result r = WriteProductKey(reg, installFolder); !r) {
    ui.Message(r.message());
    return 1;
  }
  switch (mode) {
    case SetupMode::kAll: return RunAll(reg, installFolder, ui);
    case SetupMode::kStart: return RunStart(reg, installFolder, ui, starter);
    case SetupMode::kWindow: break;
  }
  return RunWindow(reg, installFolder, ui);
}

}  // namespace vex::setup
