#include "cli/read_command.h"

#include <algorithm>
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
    "usage: vextable read DRAWING.dxf [-o OUT.vtf] [--window X1,Y1,X2,Y2] [--ini PATH]\n";

// A window selection takes what lies wholly inside the box.
bool Inside(AcDbObjectId id, const AcDbExtents& box) {
  AcDbObjectPointer<AcDbEntity> e(id, AcDb::kForRead);
  AcDbExtents ext;
  if (!e || e->getGeomExtents(ext) != Acad::eOk) return false;
  return ext.minPoint().x >= box.minPoint().x && ext.maxPoint().x <= box.maxPoint().x &&
         ext.minPoint().y >= box.minPoint().y && ext.maxPoint().y <= box.maxPoint().y;
}

}  // namespace

int RunRead(const std::vector<std::string>& args) {
  std::string error;
  const auto a = ParseArguments(args, {"-o", "--window", "--ini"}, {}, error);
  if (!a || a->positional.size() != 1) {
    std::fprintf(stderr, "vextable read: %s\n%s", a ? "expected one drawing" : error.c_str(), kUsage);
    return 2;
  }
  AcDbExtents window;
  const bool windowed = a->Option("--window").has_value();
  if (windowed) {
    const auto v = ParseCoordinates(*a->Option("--window"), 4);
    if (!v) {
      std::fprintf(stderr, "vextable read: --window takes X1,Y1,X2,Y2 (four finite numbers)\n%s", kUsage);
      return 2;
    }
    const auto& c = *v;
    window = AcDbExtents(AcGePoint3d(std::min(c[0], c[2]), std::min(c[1], c[3]), -1e300),
                         AcGePoint3d(std::max(c[0], c[2]), std::max(c[1], c[3]), 1e300));
  }
  const std::string drawing = a->positional[0];
  const std::string out = a->Option("-o").value_or(fs::path(drawing).replace_extension(".vtf").string());
  std::error_code ec;
  if (fs::equivalent(out, drawing, ec) || fs::path(out) == fs::path(drawing))
    return Fail("read", "\"" + out + "\" is the drawing being read; choose another -o");
  if (fs::equivalent(CompanionDrawingPath(out), drawing, ec) || fs::path(CompanionDrawingPath(out)) == fs::path(drawing))
    return Fail("read", "\"" + out + "\" would put the table's pictures over the drawing it is read from; choose another -o");

  const SettingsScope scope(a->Option("--ini"));
  if (!scope.problem().empty()) return Fail("read", scope.problem());

  auto db = std::make_unique<AcDbDatabase>(false, true);
  if (db->readDwgFile(drawing.c_str()) != Acad::eOk)
    return Fail("read", db->lastFileReport().message.empty() ? "cannot read \"" + drawing + "\""
                                                             : db->lastFileReport().message);
  const WorkingDatabaseScope working(db.get());
  ConsoleMessages messages;
  AcDbObjectIdArray all, selection;
  EnumerateBlock(db.get(), "", all, messages);
  for (const AcDbObjectId& id : all)
    if (!windowed || Inside(id, window)) selection.append(id);
  if (selection.isEmpty())
    return Fail("read", windowed ? "nothing lies inside the window" : "the drawing's model space is empty");

  ImageStore store;
  ResultOr<RecognizedTable> read = RecognizeTable(selection, *db, scope.settings(), store, messages);
  if (!read) return Fail("read", read.result().Describe());
  const TableData& table = read->table;
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
