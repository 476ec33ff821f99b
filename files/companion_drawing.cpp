#include "files/companion_drawing.h"

#include <filesystem>

#include "cadhost/sdk/cadhost.h"
#include "model/cell_capture.h"
#include "model/image_store.h"

namespace vex {
namespace {

bool IsImageCell(const TableCell& c) { return c.nType == 1 && !c.sBlockName.empty(); }

bool HasImageCell(const TableData& t) {
  for (const TableRow& r : t.rows)
    for (const TableCell& c : r.cells)
      if (IsImageCell(c)) return true;
  return false;
}

}  // namespace

std::string CompanionDrawingPath(const std::string& tablePath) {
  return std::filesystem::path(tablePath).replace_extension(".dxf").string();
}

TableFileStatus SaveCompanionDrawing(const TableData& table, const std::string& tablePath,
                                     const ImageStore& store) {
  if (!store || !HasImageCell(table)) return {};
  const std::string path = CompanionDrawingPath(tablePath);
  if (acdbSaveAsR14(store.Get(), path.c_str()) != Acad::eOk) {
    const std::string& why = store.Get()->lastFileReport().message;
    return TableFileStatus::Fail("the pictures could not be saved to \"" + path + "\"" +
                                 (why.empty() ? std::string() : ": " + why));
  }
  return {};
}

TableFileStatus LoadCompanionDrawing(TableData& table, const std::string& tablePath,
                                     ImageStore& store) {
  const std::string path = CompanionDrawingPath(tablePath);
  std::error_code ec;
  if (!std::filesystem::is_regular_file(path, ec) || !HasImageCell(table)) return {};
  auto read = std::make_unique<AcDbDatabase>(false, true);
  if (read->readDwgFile(path.c_str()) != Acad::eOk) {
    store.Create();
    const std::string why = read->lastFileReport().message;
    return TableFileStatus::Fail("the pictures could not be read from \"" + path + "\"" +
                                 (why.empty() ? std::string() : ": " + why));
  }
  store.Replace(std::move(read));
  for (TableRow& r : table.rows)
    for (TableCell& c : r.cells) {
      if (!IsImageCell(c)) continue;
      c.picture.Clear();
      AcDbObjectIdArray ids;
      if (EnumerateBlock(store.Get(), c.sBlockName, ids)) RebuildPreview(ids, c.picture);
    }
  return {};
}

TableFileStatus SaveTableWithPictures(const TableData& table, std::string_view prefix,
                                      const std::string& path, const ImageStore& store) {
  TableFileStatus s = table.Save(prefix, path);
  if (!s) return s;
  if (const TableFileStatus pictures = SaveCompanionDrawing(table, path, store); !pictures)
    s.warning = pictures.error;
  return s;
}

TableFileStatus LoadTableWithPictures(TableData& table, std::string_view prefix,
                                      const std::string& path, ImageStore& store) {
  TableFileStatus s = table.Load(prefix, path);
  if (!s) return s;
  if (const TableFileStatus pictures = LoadCompanionDrawing(table, path, store); !pictures)
    s.warning = pictures.error;
  return s;
}

}  // namespace vex
