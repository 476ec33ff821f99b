#include "cli/read_command.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <memory>

#include "cadhost/sdk/acutads.h"
#include "cadhost/sdk/cadhost.h"
#include "cli/arguments.h"
#include "cli/settings_scope.h"
#include "cli/table_input.h"
#include "files/companion_drawing.h"
#include "files/table_file.h"
#include "model/cell_capture.h"
#include "model/image_store.h"
#include "platform/text_util.h"
#include "recognize/table_recognizer.h"

namespace vex::cli {
namespace {

namespace fs = std::filesystem;

constexpr const char* kUsage =
    "usage: vextable read DRAWING.dxf [-o OUT.vtf] [--window X1,Y1,X2,Y2] [--ini PATH]\n";

// "X1,Y1,X2,Y2" as a box; false for anything else.
bool ParseWindow(const std::string& text, AcDbExtents& box) {
  double v[4];
  std::size_t start = 0;
  for (int k = 0; k < 4; ++k) {
    const auto comma = text.find(',', start);
    if ((k < 3) != (comma != std::string::npos)) return false;
    const std::string_view part =
        platform::TrimBlanks(std::string_view(text).substr(start, comma == std::string::npos ? std::string::npos : comma - start));
    if (part.empty() || part.find_first_not_of("+-.0123456789eE") != std::string_view::npos) return false;
    v[k] = platform::ParseLeadingDouble(part);
    start = comma + 1;
  }
  box = AcDbExtents(AcGePoint3d(std::min(v[0], v[2]), std::min(v[1], v[3]), -1e300),
                    AcGePoint3d(std::max(v[0], v[2]), std::max(v[1], v[3]), 1e300));
  return true;
}

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
  if (windowed && !ParseWindow(*a->Option("--window"), window)) {
    std::fprintf(stderr, "vextable read: --window takes X1,Y1,X2,Y2 (four numbers)\n%s", kUsage);
    return 2;
  }
  const std::string drawing = a->positional[0];
  const std::string out = a->Option("-o").value_or(fs::path(drawing).replace_extension(".vtf").string());
  if (fs::path(CompanionDrawingPath(out)) == fs::path(drawing))
    return Fail("read", "\"" + out + "\" would put the table's pictures over the drawing it is read from; choose another -o");

  const SettingsScope scope(a->Option("--ini"));
  if (!scope.problem().empty()) return Fail("read", scope.problem());

  auto db = std::make_unique<AcDbDatabase>(false, true);
  if (db->readDwgFile(drawing.c_str()) != Acad::eOk)
    return Fail("read", db->lastFileReport().message.empty() ? "cannot read \"" + drawing + "\""
                                                             : db->lastFileReport().message);
  AcDbHostApplicationServices* services = acdbHostApplicationServices();
  AcDbDatabase* previous = services->workingDatabase();
  services->setWorkingDatabase(db.get());

  AcDbObjectIdArray all, selection;
  EnumerateBlock(db.get(), "", all);
  for (const AcDbObjectId& id : all)
    if (!windowed || Inside(id, window)) selection.append(id);
  if (selection.isEmpty()) {
    services->setWorkingDatabase(previous);
    return Fail("read", windowed ? "nothing lies inside the window" : "the drawing's model space is empty");
  }

  TableRecognizer recognizer;
  ImageStore store;
  TableData table;
  const bool ok = recognizer.Recognize(selection, db.get(), table, store);
  services->setWorkingDatabase(previous);
  if (!ok) return Fail("read", "the selected lines form no table");

  const TableFileStatus saved = SaveTableWithPictures(table, kTableFilePrefix, out, store);
  if (!saved) return Fail("read", saved.error);
  if (!saved.warning.empty()) std::fprintf(stderr, "vextable read: %s\n", saved.warning.c_str());
  int pictures = 0;
  for (const TableRow& r : table.rows)
    for (const TableCell& c : r.cells) pictures += c.nType == 1 ? 1 : 0;
  acutPrintf("\nRead a table of %d rows and %d columns (%d pictures) into %s\n", table.nRows, table.nCols,
             pictures, out.c_str());
  return 0;
}

}  // namespace vex::cli
