// vextable: the batch tool over the system's core.

#include <cstdio>
#include <string>
#include <vector>

#include "cli/draw_command.h"
#include "cli/read_command.h"
#include "cli/settings_command.h"
#include "cli/table_commands.h"

namespace {

constexpr const char* kUsage =
    "usage: vextable <verb> [arguments]\n"
    "verbs:\n"
    "  settings [--ini PATH]   print the effective settings as JSON\n"
    "  dump FILE [--prefix P] [--normalize]\n"
    "                          print a table, header or autosave file as JSON\n"
    "  convert IN OUT [--prefix P] [--layout xml|key-value] [--normalize]\n"
    "                          convert between table files and JSON (by OUT's extension)\n"
    "  draw TABLE [-o OUT.dxf] [--into DRAWING.dxf] [--at X,Y] [--ini PATH]\n"
    "                          draw a table into a drawing\n"
    "  read DRAWING.dxf [-o OUT.vtf] [--window X1,Y1,X2,Y2] [--layout NAME] [--ini PATH]\n"
    "                          read a drawn table back into a table file\n";

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fputs(kUsage, stderr);
    return 2;
  }
  const std::string verb = argv[1];
  const std::vector<std::string> args(argv + 2, argv + argc);
  if (verb == "settings") return vex::cli::RunSettings(args);
  if (verb == "dump") return vex::cli::RunDump(args);
  if (verb == "convert") return vex::cli::RunConvert(args);
  if (verb == "draw") return vex::cli::RunDraw(args);
  if (verb == "read") return vex::cli::RunRead(args);
  if (verb == "--help" || verb == "-h" || verb == "help") {
    std::fputs(kUsage, stdout);
    return 0;
  }
  std::fprintf(stderr, "vextable: unknown verb \"%s\"\n%s", verb.c_str(), kUsage);
  return 2;
}
