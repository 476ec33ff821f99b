#include "cli/update_command.h"

#include <cstdio>

#include "cli/arguments.h"
#include "cli/settings_scope.h"
#include "cli/table_input.h"
#include "update/update_check.h"

namespace vex::cli {

int RunCheckUpdate(const std::vector<std::string>& args) {
  std::string error;
  const auto a = ParseArguments(args, {"--ini"}, {}, error);
  if (!a || !a->positional.empty()) {
    std::fprintf(stderr, "vextable check-update: %s\nusage: vextable check-update [--ini PATH]\n",
                 a ? "unexpected argument" : error.c_str());
    return 64;
  }
  const SettingsScope scope(a->Option("--ini"));
  if (!scope.problem().empty()) {
    Fail("check-update", scope.problem());
    return 64;
  }
  const WebLinks links = ReadWebLinks(scope.file());
  const UpdateOutcome outcome = CheckForUpdate(links, InternetDownloader());
  std::printf("%s\n", UpdateBoxText(outcome, links).c_str());
  switch (outcome.state) {
    case UpdateState::kUpToDate: return 0;
    case UpdateState::kNewerVersion: return 1;
    case UpdateState::kNotConnected: break;
  }
  return 2;
}

}  // namespace vex::cli
