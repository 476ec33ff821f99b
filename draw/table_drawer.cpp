#include "draw/table_drawer.h"

#include <cstdio>
#include <memory>

#include "cadhost/sdk/acedads.h"
#include "draw/cell_layout.h"
#include "draw/entities.h"
#include "draw/layers.h"
#include "draw/line_grid.h"
#include "pictures/cell_capture.h"
#include "pictures/image_store.h"
#include "platform/message_sink.h"

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
AcDbObjectId DrawPicture(const TableCell& cell, const Rect2d& box, double z, const ImageStore& store,
                         AcDbDatabase& db, MessageSink& sink) {
  AcDbObjectIdArray ids;
  if (!EnumerateBlock(store.Get(), cell.sBlockName, ids, sink)) return {};
  std::string name;
  AcDbObjectId block;
  CellImageList unused;
  if (!CaptureImage(ids, store.Get(), name, &db, block, unused, sink)) return {};

  const AcDbObjectId ref = AppendToCurrentSpace(new AcDbBlockReference(AcGePoint3d(0, 0, 0), block), db, sink);
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

// The table with every length in drawing units.
TableData Scaled(const TableData& table, double s) {
  TableData t = table;
  for (double& h : t.RowHeights) h *= s;
  for (double& w : t.ColWidths) w *= s;
  for (TableRow& r : t.rows)
    for (TableCell& c : r.cells) c.dHeight *= s;
  return t;
}

// Each row boundary as maximal runs: a run starts where a rule leaves a node to the right with
// none coming in from the left, and ends where one comes in with none leaving.
void DrawHorizontalRules(const LineGrid& g, const TableDrawer& d, AcDbDatabase& db, MessageSink& sink,
                         AcDbObjectIdArray& ids) {
  const int rows = g.Rows(), cols = g.Cols();
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
          ids.append(AddLine(start, At(n), i > 0 && i < rows ? d.innerLayer : d.borderLayer, db, sink));
      }
    }
  }
}

void DrawVerticalRules(const LineGrid& g, const TableDrawer& d, AcDbDatabase& db, MessageSink& sink,
                       AcDbObjectIdArray& ids) {
  const int rows = g.Rows(), cols = g.Cols();
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
          ids.append(AddLine(start, At(n), j > 0 && j < cols ? d.innerLayer : d.borderLayer, db, sink));
      }
    }
  }
}

// The texts and pictures of every visible cell (the top-left cell of a merge stands for it).
void DrawCellContents(const TableData& t, const LineGrid& g, const TableDrawer& d, const ImageStore* store,
                      AcDbDatabase& db, MessageSink& sink, AcDbObjectIdArray& ids) {
  const int rows = t.nRows, cols = t.nCols;
  const double s = d.plotScale;
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
      const Rect2d block{n.point.x, n.point.y, g.At(r, e).point.x, g.At(k, c).point.y};
      const TableCell& cell = t.rows[static_cast<std::size_t>(r)].cells[static_cast<std::size_t>(c)];
      if (cell.IsImage()) {
        char line[96];
        std::snprintf(line, sizeof line, "\nDrawing on row %d, column %d cell image...", r + 1, e);
        sink.Print(line);
        if (store == nullptr || !*store) continue;
        const Rect2d box{block.left + s, block.top - s, block.right - s, block.bottom + s};
        const AcDbObjectId ref = DrawPicture(cell, box, n.point.z, *store, db, sink);
        if (!ref.isNull()) ids.append(ref);
        continue;
      }
      for (const TextLinePlacement& line : PlaceCellText(cell, block, s))
        ids.append(AddText(AcGePoint3d(line.x, line.y, 0), 0.0, line.text, cell.dHeight, widthFactor,
                           d.textStyle, line.horizontalMode, line.verticalMode, d.textLayer, db, sink));
    }
  }
}

}  // namespace

TableDrawer PrepareDrawing(const Settings& settings, AcDbDatabase& db, MessageSink& sink) {
  TableDrawer d;
  d.plotScale = settings.EffectivePlotScale();
  d.textStyle = EnsureTextStyle(settings.Table, db, sink);
  d.textLayer = EnsureLayer(settings.Text, db);
  d.innerLayer = EnsureLayer(settings.Inline, db);
  d.borderLayer = EnsureLayer(settings.Sideline, db);
  return d;
}

AcDbObjectIdArray DrawTable(TableData& table, const Settings& settings, const ImageStore* store,
                            AcDbDatabase& db, MessageSink& sink) {
  AcDbObjectIdArray ids;
  if (table.nRows <= 0 || table.nCols <= 0) return ids;

  acedSetStatusBarProgressMeter("绘制表格", 0, 100);
  const TableDrawer d = PrepareDrawing(settings, db, sink);
  table.Normalize();
  const TableData t = Scaled(table, d.plotScale);
  const LineGrid g = BuildLineGrid(t);

  sink.Print("\nDrawing horizontal line...");
  DrawHorizontalRules(g, d, db, sink, ids);
  sink.Print("\nDrawing vertical line...");
  DrawVerticalRules(g, d, db, sink, ids);
  sink.Print("\nDrawing cell content...");
  DrawCellContents(t, g, d, store, db, sink, ids);
  acedRestoreStatusBar();
  return ids;
}

}  // namespace vex
