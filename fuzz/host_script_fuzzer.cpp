// Typed input to the host's command line, as a script or a drafter gives it: every built-in
// command and its prompts parse what they get, in a fresh host with one new drawing.
// The run's current folder is the scratch folder, so the drawings that commands save land
// there; input with a '/' is skipped, since it could name any file of the machine (and APPLOAD
// could load any shared object).

#include <unistd.h>

#include <cstdlib>
#include <string>

#include "cadhost/host/host_control.h"
#include "cadhost/sdk/aced.h"
#include "scratch.h"

namespace {

// Scripts of a few commands; longer input only repeats what short input reaches.
constexpr std::size_t kMaxInput = 4 << 10;

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  const std::string& dir = vex::fuzz::ScratchDir();
  // The registry too stays inside the scratch folder, whatever the environment says.
  ::setenv("CADHOST_REGISTRY_DIR", (dir + "registry").c_str(), 1);
  if (::chdir(dir.c_str()) != 0) std::abort();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size > kMaxInput) return -1;
  const std::string_view script = vex::fuzz::AsText(data, size);
  if (script.find('/') != std::string_view::npos) return -1;
  cadhost::ResetHost();
  cadhost::SetCommandLineView(nullptr);
  if (acDocManager->appContextNewDocument(nullptr) != Acad::eOk) std::abort();
  cadhost::TypeInput(script);
  cadhost::RunCommandLine();
  cadhost::ResetHost();
  cadhost::SetCommandLineView(nullptr);
  vex::fuzz::ClearScratch();
  return 0;
}
