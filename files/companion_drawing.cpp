#include "files/companion_drawing.h"

#include <filesystem>

#include "cadhost/sdk/cadhost.h"
#include "pictures/cell_capture.h"
#include "pictures/image_store.h"

namespace vex {
namespace {

bool IsImageCell(const TableCell& c) { return c.IsImage() && !c.sBlockName.empty(); }

bool HasImageCell(const TableData& t) {
  for (const TableRow& r : t.rows)
    for (const TableCell& c : r.cells)
      if (IsImageCell(c)) return true;
  return false;
}

}  // namespace

std::string CompanionDrawingPath(const std::string& tablePath) { return tablePath + ".dxf"; }

std::string LegacyCompanionDrawingPath(const std::string& tablePath) {
  return std::filesystem::path(tablePath).replace_extension(".dxf").string();
}

namespace {

// Whether the drawing defines a block that an image cell of the table names.
bool HoldsAPictureOf(const TableData& table, AcDbDatabase& drawing) {
  AcDbBlockTable* blocks = nullptr;
  if (drawing.getBlockTable(blocks, AcDb::kForRead) != Acad::eOk) return false;
  bool found = false;
  for (const TableRow& r : table.rows)
    for (const TableCell& c : r.cells)
      found = found || (IsImageCell(c) && blocks->has(c.sBlockName.c_str()));
  blocks->close();
  return found;
}

// The drawing to read the pictures from: the table file's own, or, for a file saved before the
// pictures were named after the whole file name, "<name>.dxf" when it holds the table's blocks
// (that name may be the drafter's drawing: it is only read, and only used when it fits).
std::unique_ptr<AcDbDatabase> ReadLegacyCompanion(const TableData& table, const std::string& tablePath) {
  const std::string legacy = LegacyCompanionDrawingPath(tablePath);
  std::error_code ec;
  if (legacy == tablePath || !std::filesystem::is_regular_file(legacy, ec)) return nullptr;
  auto read = std::make_unique<AcDbDatabase>(false, true);
  if (read->readDwgFile(legacy.c_str()) != Acad::eOk || !HoldsAPictureOf(table, *read)) return nullptr;
  return read;
}

}  // namespace

Result SaveCompanionDrawing(const TableData& table, const std::string& tablePath, const ImageStore& store) {
  if (!store || !HasImageCell(table)) return {};
  const std::string path = CompanionDrawingPath(tablePath);
  if (acdbSaveAsR14(store.Get(), path.c_str()) != Acad::eOk) {
    const std::string& why = store.Get()->lastFileReport().message;
    return Result(ErrorCode::kCannotWrite, "the pictures could not be saved to \"" + path + "\"" +
                                               (why.empty() ? std::string() : ": " + why));
  }
  return {};
}

Result LoadCompanionDrawing(TableData& table, const std::string& tablePath, ImageStore& store,
                            MessageSink& sink) {
  if (!HasImageCell(table)) return {};
  const std::string path = CompanionDrawingPath(tablePath);
  std::error_code ec;
  std::unique_ptr<AcDbDatabase> read;
  if (!std::filesystem::is_regular_file(path, ec)) {
    read = ReadLegacyCompanion(table, tablePath);
    if (!read) return {};
  } else if (read = std::make_unique<AcDbDatabase>(false, true); read->readDwgFile(path.c_str()) != Acad::eOk) {
    store.Create();
    const std::string why = read->lastFileReport().message;
    return Result(ErrorCode::kCannotRead, "the pictures could not be read from \"" + path + "\"" +
                                              (why.empty() ? std::string() : ": " + why));
  }
  store.Replace(std::move(read));
  for (TableRow& r : table.rows)
    for (TableCell& c : r.cells) {
      if (!IsImageCell(c)) continue;
      c.picture.Clear();
      AcDbObjectIdArray ids;
      if (EnumerateBlock(store.Get(), c.sBlockName, ids, sink)) RebuildPreview(ids, c.picture, sink);
    }
  return {};
}

Result SaveTableWithPictures(const TableData& table, std::string_view prefix, const std::string& path,
                             const ImageStore& store, TableFileReport* report) {
  // Pictures first: a table file must never name blocks that its drawing does not hold.
  if (auto pictures = SaveCompanionDrawing(table, path, store); !pictures) return pictures;
  return SaveTableFile(table, prefix, path, report);
}

Result LoadTableWithPictures(TableData& table, std::string_view prefix, const std::string& path,
                             ImageStore& store, MessageSink& sink, TableFileReport& report, OldLayout old) {
  if (auto r = LoadTableFile(table, prefix, path, &report, old); !r) return r;
  if (auto pictures = LoadCompanionDrawing(table, path, store, sink); !pictures)
    report.warnings.push_back(pictures.message());
  return {};
}

}  // namespace vex
