// vextable: the batch tool over the system's core.

#include <cstdio>
#include <string>
#include <vector>

#include "cli/draw_command.h"
#include "cli/edit_command.h"
#include "cli/header_commands.h"
#include "cli/preview_command.h"
#include "cli/read_command.h"
#include "cli/settings_command.h"
#include "cli/table_commands.h"
#include "cli/update_command.h"
#include "platform/atomic_file.h"

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
    "                          read a drawn table back into a table file\n"
    "  preview TABLE -o OUT.png [--zoom Z] [--ini PATH]\n"
    "                          render a table as the editor shows it to a PNG\n"
    "  edit [TABLE] [--ini PATH]\n"
    "                          the table editor window without a CAD host; Draw writes a DXF\n"
    "  header list|add|delete ... [--library DIR]\n"
    "                          list, add and delete the headers of the header library\n"
    "  new [--header NAME] [--rows R] [--cols C] [--row-height H] [--col-width W] -o OUT.vtf\n"
    "                          a new table, blank or from a header\n"
    "  check-update [--ini PATH]\n"
    "                          ask the maker's web folder for a newer version (exit 0 up to date,\n"
    "                          1 newer, 2 no connection)\n";

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fputs(kUsage, stderr);
    return 2;
  }
  // An interrupted save must not leave half-written temporary files beside the drafter's.
  vex::platform::RemoveTemporaryFilesOnSignals();
  const std::string verb = argv[1];
  const std::vector<std::string> args(argv + 2, argv + argc);
  if (verb == "settings") return vex::cli::RunSettings(args);
  if (verb == "dump") return vex::cli::RunDump(args);
  if (verb == "convert") return vex::cli::RunConvert(args);
  if (verb == "draw") return vex::cli::RunDraw(args);
  if (verb == "read") return vex::cli::RunRead(args);
  if (verb == "preview") return vex::cli::RunPreview(args);
  if (verb == "edit") return vex::cli::RunEdit(args);
  if (verb == "header") return vex::cli::RunHeader(args);
  if (verb == "new") return vex::cli::RunNew(args);
  if (verb == "check-update") return vex::cli::RunCheckUpdate(args);
  if (verb == "--help" || verb == "-h" || verb == "help") {
    std::fputs(kUsage, stdout);
    return 0;
  }
  std::fprintf(stderr, "vextable: unknown verb \"%s\"\n%s", verb.c_str(), kUsage);
  return 2;
}
