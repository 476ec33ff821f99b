// vextable: the batch tool over the system's core.

#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "cli/draw_command.h"
#include "cli/excel_commands.h"
#include "cli/header_commands.h"
#include "cli/read_command.h"
#include "cli/settings_command.h"
#include "cli/table_commands.h"
#include "cli/update_command.h"
#include "platform/atomic_file.h"
#include "platform/process.h"

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
    "                          1 newer, 2 no connection)\n"
    "  import BOOK [--sheet N|NAME] [-o OUT.vtf|OUT.json] [--ini PATH]\n"
    "                          import a sheet of a workbook (.xlsx, .ods, .csv, .xls) as a table\n"
    "  export TABLE -o OUT.xlsx [--ini PATH]\n"
    "                          export a table as a workbook\n";

// Runs "vextable-<verb>", the program beside this one, with the verb's arguments.
int RunVerbProgram(const std::string& verb, char** args) {
  const std::string self = vex::platform::ProgramPath();
  const std::string program = self.substr(0, self.find_last_of('/') + 1) + "vextable-" + verb;
  std::vector<char*> argv{const_cast<char*>(program.c_str())};
  for (char** a = args; *a != nullptr; ++a) argv.push_back(*a);
  argv.push_back(nullptr);
  std::fflush(nullptr);
  ::execv(program.c_str(), argv.data());
  std::fprintf(stderr, "vextable %s: cannot run \"%s\": %s\n", verb.c_str(), program.c_str(), std::strerror(errno));
  return 1;
}

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
  if (verb == "preview" || verb == "edit") return RunVerbProgram(verb, argv + 2);
  if (verb == "header") return vex::cli::RunHeader(args);
  if (verb == "new") return vex::cli::RunNew(args);
  if (verb == "check-update") return vex::cli::RunCheckUpdate(args);
  if (verb == "import") return vex::cli::RunImport(args);
  if (verb == "export") return vex::cli::RunExport(args);
  if (verb == "--help" || verb == "-h" || verb == "help") {
    std::fputs(kUsage, stdout);
    return 0;
  }
  std::fprintf(stderr, "vextable: unknown verb \"%s\"\n%s", verb.c_str(), kUsage);
  return 2;
}
