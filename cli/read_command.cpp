#include "cli/read_command.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string_view>

#include "cadhost/sdk/acutads.h"
#include "cadhost/sdk/cadhost.h"
#include "cli/arguments.h"
#include "cli/console_messages.h"
#include "cli/coordinates.h"
#include "cli/settings_scope.h"
#include "cli/table_input.h"
#include "files/companion_drawing.h"
#include "draw/working_database.h"
#include "files/table_file.h"
#include "pictures/cell_capture.h"
#include "pictures/image_store.h"
#include "recognize/table_recognizer.h"

namespace vex::cli {
namespace {

namespace fs = std::filesystem;

constexpr const char* kUsage =
    "usage: vextable read DRAWING.dxf [-o OUT.vtf] [--window X1,Y1,X2,Y2] [--layout NAME] [--ini PATH]\n";

// What a window selection takes: the entities that lie wholly inside the box, and the lines and
// polylines that cross its edge, whose pieces inside may continue the table's rules.
void SelectInWindow(const AcDbObjectIdArray& all, const AcDbExtents& box, AcDbObjectIdArray& inside,
                    SelectionWindow& window) {
  window.box = box;
  for (const AcDbObjectId& id : all) {
    AcDbObjectPointer<AcDbEntity> e(id, AcDb::kForRead);
    AcDbExtents ext;
    if (!e || e->getGeomExtents(ext) != Acad::eOk) continue;
    const AcGePoint3d &lo = ext.minPoint(), &hi = ext.maxPoint();
    if (lo.x >= box.minPoint().x && hi.x <= box.maxPoint().x && lo.y >= box.minPoint().y && hi.y <= box.maxPoint().y) {
      inside.append(id);
      continue;
    }
    const bool touches = lo.x <= box.maxPoint().x && hi.x >= box.minPoint().x && lo.y <= box.maxPoint().y &&
                         hi.y >= box.minPoint().y;
    const std::string_view kind = e->dxfName();
    if (touches && (kind == "LINE" || kind == "LWPOLYLINE" || kind == "POLYLINE")) window.crossing.append(id);
  }
}

// The entities of the layout `name` ("Model" for model space), in drawing order.
bool LayoutEntities(AcDbDatabase& db, const std::string& name, AcDbObjectId& block, AcDbObjectIdArray& ids,
                    std::string& problem) {
  if (db.getLayoutBlockId(name.c_str(), block) != Acad::eOk) {
    std::string names;
    for (const std::string& n : db.layoutNames()) names += (names.empty() ? "" : ", ") + n;
    problem = "the drawing has no layout \"" + name + "\" (its layouts: " + names + ")";
    return false;
  }
  AcDbObjectPointer<AcDbBlockTableRecord> space(block, AcDb::kForRead);
  if (!space) {
    problem = "the layout \"" + name + "\" cannot be opened";
    return false;
  }
  for (const AcDbObjectId& id : space->entityIds()) ids.append(id);
  return true;
}

// Reads the table drawn in `drawing` (in `layout`, within `box` when given) into `table`,
// pictures into `store`; 0, or the exit status after saying what failed. The drawing is closed
// again on return: a big drawing's memory is not held while the table file is written.
int ReadDrawnTable(const std::string& drawing, const std::string& layout, const AcDbExtents* box,
                   const Settings& settings, ImageStore& store, TableData& table) {
  auto db = std::make_unique<AcDbDatabase>(false, true);
  if (db->readDwgFile(drawing.c_str()) != Acad::eOk)
    return Fail("read", db->lastFileReport().message.empty() ? "cannot read \"" + drawing + "\""
                                                             : db->lastFileReport().message);
  const WorkingDatabaseScope working(db.get());
  ConsoleMessages messages;
  AcDbObjectIdArray all, selection;
  std::string problem;
  AcDbObjectId block;
  if (!LayoutEntities(*db, layout, block, all, problem)) return Fail("read", problem);
  SelectionWindow window;
  if (box != nullptr) SelectInWindow(all, *box, selection, window);
  else selection = std::move(all);
  if (selection.isEmpty())
    return Fail("read", box != nullptr                  ? "nothing lies inside the window"
                        : block == db->modelSpaceId() ? "the drawing's model space is empty"
                                                      : "the layout \"" + layout + "\" is empty");
  ResultOr<RecognizedTable> read =
      RecognizeTable(selection, *db, settings, store, messages, box != nullptr ? &window : nullptr);
  if (!read) return Fail("read", read.result().Describe());
  table = std::move(read->table);
  return 0;
}

}  // namespace

int RunRead(const std::vector<std::string>& args) {
  std::string error;
  const auto a = ParseArguments(args, {"-o", "--window", "--layout", "--ini"}, {}, error);
  if (!a || a->positional.size() != 1) {
    std::fprintf(stderr, "vextable read: %s\n%s", a ? "expected one drawing" : error.c_str(), kUsage);
    return 2;
  }
  AcDbExtents box;
  const bool windowed = a->Option("--window").has_value();
  if (windowed) {
    const auto v = ParseCoordinates(*a->Option("--window"), 4);
    if (!v) {
      std::fprintf(stderr, "vextable read: --window takes X1,Y1,X2,Y2 (four finite numbers)\n%s", kUsage);
      return 2;
    }
    const auto& c = *v;
    box = AcDbExtents(AcGePoint3d(std::min(c[0], c[2]), std::min(c[1], c[3]), -1e300),
                      AcGePoint3d(std::max(c[0], c[2]), std::max(c[1], c[3]), 1e300));
  }
  const std::string layout = a->Option("--layout").value_or("Model");
  const std::string drawing = a->positional[0];
  const std::string out = a->Option("-o").value_or(fs::path(drawing).replace_extension(".vtf").string());
  std::error_code ec;
  if (fs::equivalent(out, drawing, ec) || fs::path(out) == fs::path(drawing))
    return Fail("read", "\"" + out + "\" is the drawing being read; choose another -o");
  if (fs::equivalent(CompanionDrawingPath(out), drawing, ec) || fs::path(CompanionDrawingPath(out)) == fs::path(drawing))
    return Fail("read", "\"" + out + "\" would put the table's pictures over the drawing it is read from; choose another -o");

  const SettingsScope scope(a->Option("--ini"));
  if (!scope.problem().empty()) return Fail("read", scope.problem());

  ImageStore store;
  TableData table;
  if (const int failed = ReadDrawnTable(drawing, layout, windowed ? &box : nullptr, scope.settings(), store, table))
    return failed;
  if (const Result saved = SaveTableWithPictures(table, kTableFilePrefix, out, store); !saved)
    return Fail("read", saved.Describe());
  int pictures = 0;
  for (const TableRow& r : table.rows)
    for (const TableCell& c : r.cells) pictures += c.IsImage() ? 1 : 0;
  acutPrintf("\nRead a table of %d rows and %d columns (%d pictures) into %s\n", table.nRows, table.nCols,
             pictures, out.c_str());
  return 0;
}

}  // namespace vex::cli
