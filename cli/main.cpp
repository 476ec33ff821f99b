// vextable: the batch tool over the system's core.

#include <cstdio>
#include <string>
#include <vector>

#include "cli/settings_command.h"

namespace {

constexpr const char* kUsage =
    "usage: vextable <verb> [arguments]\n"
    "verbs:\n"
    "  settings [--ini PATH]   print the effective settings as JSON\n";

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fputs(kUsage, stderr);
    return 2;
  }
  const std::string verb = argv[1];
  const std::vector<std::string> args(argv + 2, argv + argc);
  if (verb == "settings") return vex::cli::RunSettings(args);
  if (verb == "--help" || verb == "-h" || verb == "help") {
    std::fputs(kUsage, stdout);
    return 0;
  }
  std::fprintf(stderr, "vextable: unknown verb \"%s\"\n%s", verb.c_str(), kUsage);
  return 2;
}
