#include "draw/table_drawer.h"

#include <cstdio>
#include <memory>

#include "cadhost/sdk/acedads.h"
#include "draw/cell_layout.h"
#include "draw/entities.h"
#include "draw/layers.h"
#include "draw/line_grid.h"
#include "model/cell_capture.h"
#include "model/host_output.h"
#include "model/image_store.h"
#include "settings/settings.h"

namespace vex {
namespace {

// Integer progress as the status bar shows it: floor(floor(k * n / rows) / cols) + base.
int Progress(long long k, long long n, int rows, int cols, int base) {
  return static_cast<int>(k * n / rows / cols) + base;
}

AcGePoint3d At(const GridNode& n) { return {n.point.x, n.point.y, n.point.z}; }

double StyleWidthFactor(AcDbObjectId style) {
  AcDbObjectPointer<AcDbTextStyleTableRecord> record(style, AcDb::kForRead);
  return record ? record->xScale() : 1.0;
}

// Copies the cell's picture block from the store into `db`, and fits a reference to it into
// `box`. The reference's id, or null when the block could not be copied.
AcDbObjectId DrawPicture(const TableCell& cell, const CellRect& box, double z, const ImageStore& store,
                         AcDbDatabase* db) {
  AcDbObjectIdArray ids;
  if (!EnumerateBlock(store.Get(), cell.sBlockName, ids)) return {};
  std::string name;
  AcDbObjectId block;
  CellImageList unused;
  if (!CaptureImage(ids, store.Get(), name, db, block, unused)) return {};

  const AcDbObjectId ref = AppendToCurrentSpace(new AcDbBlockReference(AcGePoint3d(0, 0, 0), block), db);
  AcDbObjectPointer<AcDbBlockReference> r(ref, AcDb::kForWrite);
  if (!r) return ref;
  AcDbExtents ext;
  if (r->getGeomExtents(ext) != Acad::eOk) return ref;
  const double u = PictureScale(ext.maxPoint().x - ext.minPoint().x, ext.maxPoint().y - ext.minPoint().y,
                                box.right - box.left, box.top - box.bottom, cell.dScael);
  r->setScaleFactors(AcGeScale3d(u, u, u));
  if (r->getGeomExtents(ext) != Acad::eOk) return ref;
  const PicturePosition p = PicturePlace(ext.maxPoint().x - ext.minPoint().x,
                                         ext.maxPoint().y - ext.minPoint().y, box, cell.HorzMode, cell.VertMode);
  AcGeMatrix3d move;
  move.setToTranslation(AcGePoint3d(p.x, p.y, z) - ext.minPoint());
  r->transformBy(move);
  return ref;
}

}  // namespace

AcDbObjectIdArray DrawTable(TableData& table, const ImageStore* store, AcDbDatabase* db) {
  AcDbObjectIdArray ids;
  if (table.nRows <= 0 || table.nCols <= 0) return ids;
  if (db == nullptr) db = acdbHostApplicationServices()->workingDatabase();
  if (db == nullptr) return ids;

  acedSetStatusBarProgressMeter("绘制表格", 0, 100);
  TableDrawer d;
  d.plotScale = ReadPlotScale();
  d.textStyle = EnsureTextStyle("Table", db);
  d.textLayer = EnsureLayer("Text", db);
  d.innerLayer = EnsureLayer("Inline", db);
  d.borderLayer = EnsureLayer("Sideline", db);

  table.Normalize();
  TableData t = table;
  const double s = d.plotScale;
  for (double& h : t.RowHeights) h *= s;
  for (double& w : t.ColWidths) w *= s;
  for (TableRow& r : t.rows)
    for (TableCell& c : r.cells) c.dHeight *= s;
  const LineGrid g = BuildLineGrid(t);
  const int rows = t.nRows, cols = t.nCols;

  PrintCommandLine("\nDrawing horizontal line...");
  for (int i = 0; i <= rows; ++i) {
    bool open = false;
    AcGePoint3d start;
    for (int j = 0; j <= cols; ++j) {
      acedSetStatusBarProgressMeterPos(Progress(5, static_cast<long long>(cols) * i + j + 1, rows, cols, 0));
      const GridNode& n = g.At(i, j);
      if (!n.left && n.right && !open) {
        open = true;
        start = At(n);
      }
      if (!n.right && n.left) {
        open = false;
        if (At(n) != start)
          ids.append(AddLine(start, At(n), i > 0 && i < rows ? d.innerLayer : d.borderLayer, db));
      }
    }
  }

  PrintCommandLine("\nDrawing vertical line...");
  for (int j = 0; j <= cols; ++j) {
    bool open = false;
    AcGePoint3d start;
    for (int i = 0; i <= rows; ++i) {
      acedSetStatusBarProgressMeterPos(Progress(5, static_cast<long long>(rows) * j + i + 1, rows, cols, 5));
      const GridNode& n = g.At(i, j);
      if (!n.up && !open) {
        open = true;
        start = At(n);
      }
      if (!n.down) {
        open = false;
        if (At(n) != start)
          ids.append(AddLine(start, At(n), j > 0 && j < cols ? d.innerLayer : d.borderLayer, db));
      }
    }
  }

  PrintCommandLine("\nDrawing cell content...");
  const double widthFactor = StyleWidthFactor(d.textStyle);
  for (int r = 0; r < rows; ++r) {
    for (int c = 0; c < cols; ++c) {
      acedSetStatusBarProgressMeterPos(Progress(90, static_cast<long long>(cols) * r + c + 1, rows, cols, 10));
      const GridNode& n = g.At(r, c);
      if (!n.right || !n.down) continue;  // covered by a merge
      int k = r + 1;
      while (k < rows && !g.At(k, c).right) ++k;
      int e = c + 1;
      while (e < cols && !g.At(r, e).down) ++e;
      const CellRect block{n.point.x, n.point.y, g.At(r, e).point.x, g.At(k, c).point.y};
      const TableCell& cell = t.rows[static_cast<std::size_t>(r)].cells[static_cast<std::size_t>(c)];
      if (cell.nType == 1) {
        char line[96];
        std::snprintf(line, sizeof line, "\nDrawing on row %d, column %d cell image...", r + 1, e);
        PrintCommandLine(line);
        if (store == nullptr || !*store) continue;
        const CellRect box{block.left + s, block.top - s, block.right - s, block.bottom + s};
        const AcDbObjectId ref = DrawPicture(cell, box, n.point.z, *store, db);
        if (!ref.isNull()) ids.append(ref);
        continue;
      }
      for (const TextLinePlacement& line : PlaceCellText(cell, block, s))
        ids.append(AddText(AcGePoint3d(line.x, line.y, 0), 0.0, line.text, cell.dHeight, widthFactor,
                           d.textStyle, line.horizontalMode, line.verticalMode, d.textLayer, db));
    }
  }
  acedRestoreStatusBar();
  return ids;
}

}  // namespace vex
