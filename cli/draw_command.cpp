#include "cli/draw_command.h"

#include <cstdio>
#include <filesystem>
#include <memory>

#include "cadhost/sdk/acutads.h"
#include "cadhost/sdk/cadhost.h"
#include "cli/arguments.h"
#include "cli/console_messages.h"
#include "cli/coordinates.h"
#include "cli/settings_scope.h"
#include "cli/table_input.h"
#include "draw/entities.h"
#include "draw/table_drawer.h"
#include "draw/working_database.h"
#include "files/companion_drawing.h"
#include "pictures/image_store.h"

namespace vex::cli {
namespace {

namespace fs = std::filesystem;

constexpr const char* kUsage =
    "usage: vextable draw TABLE [-o OUT.dxf] [--into DRAWING.dxf] [--at X,Y] [--ini PATH]\n";

// The drawing to write when -o is not given: TABLE with ".dxf" in place of its extension
// ("plan.vtf" gives "plan.dxf"; its pictures are in "plan.vtf.dxf").
std::string DefaultOutput(const std::string& table) { return fs::path(table).replace_extension(".dxf").string(); }

}  // namespace

int RunDraw(const std::vector<std::string>& args) {
  std::string error;
  const auto a = ParseArguments(args, {"-o", "--into", "--at", "--ini", "--prefix"}, {}, error);
  if (!a || a->positional.size() != 1) {
    std::fprintf(stderr, "vextable draw: %s\n%s", a ? "expected one table" : error.c_str(), kUsage);
    return 2;
  }
  double atX = 0, atY = 0;
  if (auto at = a->Option("--at")) {
    const auto xy = ParseCoordinates(*at, 2);
    if (!xy) {
      std::fprintf(stderr, "vextable draw: --at takes X,Y (two finite numbers), not \"%s\"\n%s", at->c_str(), kUsage);
      return 2;
    }
    atX = (*xy)[0];
    atY = (*xy)[1];
  }
  const std::string tablePath = a->positional[0];
  const std::string out = a->Option("-o").value_or(DefaultOutput(tablePath));
  std::error_code ec;
  // A drawing of that name may be the drafter's: written over only when named with -o.
  if (!a->Option("-o") && fs::exists(out, ec))
    return Fail("draw", "\"" + out + "\" exists; give -o to write over it, or --into to draw into it");
  if (!IsJson(tablePath) && (fs::path(out) == fs::path(CompanionDrawingPath(tablePath)) ||
                             fs::equivalent(out, CompanionDrawingPath(tablePath), ec)))
    return Fail("draw", "\"" + out + "\" is the table's own picture drawing; choose another -o");
  if (fs::equivalent(out, tablePath, ec)) return Fail("draw", "\"" + out + "\" is the table being drawn; choose another -o");

  const SettingsScope scope(a->Option("--ini"));
  if (!scope.problem().empty()) return Fail("draw", scope.problem());

  ImageStore store;
  LoadedTable loaded;
  if (!ReadTableInput("draw", a->Option("--prefix"), tablePath, loaded, &store)) return 1;

  auto db = std::make_unique<AcDbDatabase>(!a->Option("--into"), true);
  if (auto into = a->Option("--into")) {
    if (db->readDwgFile(into->c_str()) != Acad::eOk)
      return Fail("draw", db->lastFileReport().message.empty() ? "cannot read \"" + *into + "\""
                                                               : db->lastFileReport().message);
  }
  const WorkingDatabaseScope working(db.get());
  ConsoleMessages messages;
  TableData& table = loaded.table;
  const AcDbObjectIdArray ids = DrawTable(table, scope.settings(), &store, *db, messages);
  if (ids.isEmpty()) return Fail("draw", "the table has no rows or no columns; nothing was drawn");
  if (atX != 0 || atY != 0) MoveEntities(ids, AcGePoint3d(0, 0, 0), AcGePoint3d(atX, atY, 0));
  if (db->saveAs(out.c_str()) != Acad::eOk)
    return Fail("draw", db->lastFileReport().message.empty() ? "cannot save \"" + out + "\""
                                                             : db->lastFileReport().message);
  int drawn = 0;
  for (const AcDbObjectId& id : ids) drawn += id.isNull() ? 0 : 1;
  acutPrintf("\nDrew a table of %d rows and %d columns (%d entities) into %s\n", table.nRows, table.nCols,
             drawn, out.c_str());
  return 0;
}

}  // namespace vex::cli
