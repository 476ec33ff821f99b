#include "cli/draw_command.h"

#include <cstdio>
#include <filesystem>
#include <memory>

#include "cadhost/sdk/acutads.h"
#include "cadhost/sdk/cadhost.h"
#include "cli/arguments.h"
#include "cli/settings_scope.h"
#include "cli/table_input.h"
#include "draw/entities.h"
#include "draw/table_drawer.h"
#include "files/companion_drawing.h"
#include "model/image_store.h"
#include "platform/text_util.h"

namespace vex::cli {
namespace {

namespace fs = std::filesystem;

constexpr const char* kUsage =
    "usage: vextable draw TABLE [-o OUT.dxf] [--into DRAWING.dxf] [--at X,Y] [--ini PATH]\n";

// "X,Y" as two numbers; false when it is anything else.
bool ParsePoint(const std::string& text, double& x, double& y) {
  const auto comma = text.find(',');
  if (comma == std::string::npos) return false;
  const std::string_view a = platform::TrimBlanks(std::string_view(text).substr(0, comma));
  const std::string_view b = platform::TrimBlanks(std::string_view(text).substr(comma + 1));
  const auto isNumber = [](std::string_view s) {
    if (s.empty()) return false;
    std::size_t i = (s[0] == '-' || s[0] == '+') ? 1 : 0;
    bool digits = false, point = false;
    for (; i < s.size(); ++i) {
      if (s[i] >= '0' && s[i] <= '9') digits = true;
      else if (s[i] == '.' && !point) point = true;
      else return false;
    }
    return digits;
  };
  if (!isNumber(a) || !isNumber(b)) return false;
  x = platform::ParseLeadingDouble(a);
  y = platform::ParseLeadingDouble(b);
  return true;
}

// The drawing to write when -o is not given: TABLE with ".dxf". A table file's companion
// drawing has that very name, and overwriting it would lose the table's pictures, so then
// the drawing is named "<name>-drawn.dxf" instead.
std::string DefaultOutput(const std::string& table) {
  const std::string plain = fs::path(table).replace_extension(".dxf").string();
  if (IsJson(table)) return plain;
  fs::path p(table);
  return (p.parent_path() / (p.stem().string() + "-drawn.dxf")).string();
}

}  // namespace

int RunDraw(const std::vector<std::string>& args) {
  std::string error;
  const auto a = ParseArguments(args, {"-o", "--into", "--at", "--ini", "--prefix"}, {}, error);
  if (!a || a->positional.size() != 1) {
    std::fprintf(stderr, "vextable draw: %s\n%s", a ? "expected one table" : error.c_str(), kUsage);
    return 2;
  }
  double atX = 0, atY = 0;
  if (auto at = a->Option("--at"); at && !ParsePoint(*at, atX, atY)) {
    std::fprintf(stderr, "vextable draw: --at takes X,Y (two numbers), not \"%s\"\n%s", at->c_str(), kUsage);
    return 2;
  }
  const std::string tablePath = a->positional[0];
  const std::string out = a->Option("-o").value_or(DefaultOutput(tablePath));
  if (!IsJson(tablePath) && fs::path(out) == fs::path(CompanionDrawingPath(tablePath)))
    return Fail("draw", "\"" + out + "\" is the table's own picture drawing; choose another -o");

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
  AcDbHostApplicationServices* services = acdbHostApplicationServices();
  AcDbDatabase* previous = services->workingDatabase();
  services->setWorkingDatabase(db.get());

  TableData& table = loaded.table;
  const AcDbObjectIdArray ids = DrawTable(table, &store, db.get());
  if (ids.isEmpty()) {
    services->setWorkingDatabase(previous);
    return Fail("draw", "the table has no rows or no columns; nothing was drawn");
  }
  if (atX != 0 || atY != 0) MoveEntities(ids, AcGePoint3d(0, 0, 0), AcGePoint3d(atX, atY, 0));
  const Acad::ErrorStatus saved = db->saveAs(out.c_str());
  services->setWorkingDatabase(previous);
  if (saved != Acad::eOk)
    return Fail("draw", db->lastFileReport().message.empty() ? "cannot save \"" + out + "\""
                                                             : db->lastFileReport().message);
  int drawn = 0;
  for (const AcDbObjectId& id : ids) drawn += id.isNull() ? 0 : 1;
  acutPrintf("\nDrew a table of %d rows and %d columns (%d entities) into %s\n", table.nRows, table.nCols,
             drawn, out.c_str());
  return 0;
}

}  // namespace vex::cli
