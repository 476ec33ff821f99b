#include "draw/drawing_file.h"

#include <filesystem>
#include <memory>

#include "draw/entities.h"
#include "draw/table_drawer.h"
#include "draw/working_database.h"

namespace vex {
namespace {

std::string Quoted(const std::string& path) { return "\"" + path + "\""; }

}  // namespace

Result DrawTableIntoFile(TableData table, const Settings& settings, const ImageStore* store, const std::string& path,
                         MessageSink& sink, const AcGePoint3d& at) {
  std::error_code ec;
  const bool exists = std::filesystem::exists(path, ec);
  auto db = std::make_unique<AcDbDatabase>(!exists, true);
  if (exists && db->readDwgFile(path.c_str()) != Acad::eOk) {
    const std::string& why = db->lastFileReport().message;
    return Result(ErrorCode::kCannotRead, "cannot read the drawing " + Quoted(path) + (why.empty() ? "" : ": " + why));
  }
  const WorkingDatabaseScope working(db.get());
  const AcDbObjectIdArray ids = DrawTable(table, settings, store, *db, sink);
  if (ids.isEmpty()) return Result(ErrorCode::kRefused, "the table has no rows or no columns; nothing was drawn");
  if (at.x != 0 || at.y != 0 || at.z != 0) MoveEntities(ids, AcGePoint3d(0, 0, 0), at);
  if (db->saveAs(path.c_str()) != Acad::eOk) {
    const std::string& why = db->lastFileReport().message;
    return Result(ErrorCode::kCannotWrite, "cannot save the drawing " + Quoted(path) + (why.empty() ? "" : ": " + why));
  }
  return {};
}

}  // namespace vex
