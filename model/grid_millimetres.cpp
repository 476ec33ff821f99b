#include "model/grid_millimetres.h"

#include <cmath>
#include <limits>

#include "model/editor_units.h"

namespace vex {
namespace {

constexpr double kUnknown = std::numeric_limits<double>::quiet_NaN();

std::size_t At(int i) { return static_cast<std::size_t>(i); }

}  // namespace

GridMillimetres::GridMillimetres(GridModel& grid) : grid_(grid) { grid_.AddObserver(this); }

GridMillimetres::~GridMillimetres() { grid_.RemoveObserver(this); }

void GridMillimetres::Remember(const TableData& table) {
  deleted_.clear();
  const int rows = grid_.RowCount(), cols = grid_.ColumnCount();
  rows_.assign(At(rows), kUnknown);
  cols_.assign(At(cols), kUnknown);
  heights_.assign(At(rows), std::vector<double>(At(cols), kUnknown));
  for (int r = 0; r < table.nRows && r + 1 < rows && At(r) < table.RowHeights.size(); ++r)
    rows_[At(r + 1)] = table.RowHeights[At(r)];
  for (int c = 0; c < table.nCols && c + 1 < cols && At(c) < table.ColWidths.size(); ++c)
    cols_[At(c + 1)] = table.ColWidths[At(c)];
  for (int r = 0; r + 1 < rows && At(r) < table.rows.size(); ++r) {
    const std::vector<TableCell>& cells = table.rows[At(r)].cells;
    for (int c = 0; c + 1 < cols && At(c) < cells.size(); ++c)
      if (!cells[At(c)].IsImage() && !cells[At(c)].strText.empty()) heights_[At(r + 1)][At(c + 1)] = cells[At(c)].dHeight;
  }
}

void GridMillimetres::RememberBlank(double rowHeightMm, double colWidthMm) {
  deleted_.clear();
  const int rows = grid_.RowCount(), cols = grid_.ColumnCount();
  rows_.assign(At(rows), rowHeightMm);
  cols_.assign(At(cols), colWidthMm);
  heights_.assign(At(rows), std::vector<double>(At(cols), kUnknown));
  if (rows > 0) rows_[0] = kUnknown;
  if (cols > 0) cols_[0] = kUnknown;
}

void GridMillimetres::ForgetTextHeight(int row, int col) {
  if (row >= 0 && At(row) < heights_.size() && col >= 0 && At(col) < heights_[At(row)].size())
    heights_[At(row)][At(col)] = kUnknown;
}

double GridMillimetres::Size(const std::vector<double>& mm, int index, int pixels, double zoom) const {
  if (index >= 0 && At(index) < mm.size()) {
    const double v = mm[At(index)];
    // A blank table and the row-height dialog truncate where loading rounds.
    if (!std::isnan(v) && (MmToPixels(v, zoom) == pixels || MmToPixelsTruncated(v, zoom) == pixels)) return v;
  }
  return PixelsToMm(pixels, zoom);
}

double GridMillimetres::RowHeight(int row, double zoom) const { return Size(rows_, row, grid_.RowHeight(row), zoom); }

double GridMillimetres::ColumnWidth(int col, double zoom) const {
  return Size(cols_, col, grid_.ColumnWidth(col), zoom);
}

double GridMillimetres::TextHeight(int row, int col, double zoom) const {
  const int pixels = grid_.EffectiveFontHeight(row, col);
  if (row >= 0 && At(row) < heights_.size() && col >= 0 && At(col) < heights_[At(row)].size()) {
    const double v = heights_[At(row)][At(col)];
    if (!std::isnan(v) && TextFontPixels(v, zoom) == pixels) return v;
  }
  return PixelsToMm(pixels, zoom);
}

void GridMillimetres::LineInserting(bool row, int index) {
  DeletedLine line{row, index, kUnknown, {}};
  if (!deleted_.empty() && deleted_.back().row == row && deleted_.back().index == index) {
    line = std::move(deleted_.back());
    deleted_.pop_back();
  }
  const auto height = [&](std::size_t k) { return k < line.heights.size() ? line.heights[k] : kUnknown; };
  if (row) {
    if (At(index) <= rows_.size()) rows_.insert(rows_.begin() + index, line.size);
    if (At(index) <= heights_.size()) {
      std::vector<double> cells(cols_.size(), kUnknown);
      for (std::size_t k = 0; k < cells.size(); ++k) cells[k] = height(k);
      heights_.insert(heights_.begin() + index, std::move(cells));
    }
  } else {
    if (At(index) <= cols_.size()) cols_.insert(cols_.begin() + index, line.size);
    for (std::size_t k = 0; k < heights_.size(); ++k)
      if (At(index) <= heights_[k].size()) heights_[k].insert(heights_[k].begin() + index, height(k));
  }
}

void GridMillimetres::LineDeleting(bool row, int index) {
  DeletedLine line{row, index, kUnknown, {}};
  if (row) {
    if (At(index) < rows_.size()) {
      line.size = rows_[At(index)];
      rows_.erase(rows_.begin() + index);
    }
    if (At(index) < heights_.size()) {
      line.heights = std::move(heights_[At(index)]);
      heights_.erase(heights_.begin() + index);
    }
  } else {
    if (At(index) < cols_.size()) {
      line.size = cols_[At(index)];
      cols_.erase(cols_.begin() + index);
    }
    for (std::vector<double>& r : heights_) {
      line.heights.push_back(At(index) < r.size() ? r[At(index)] : kUnknown);
      if (At(index) < r.size()) r.erase(r.begin() + index);
    }
  }
  deleted_.push_back(std::move(line));
}

void GridMillimetres::Rebuilding() {
  rows_.clear();
  cols_.clear();
  heights_.clear();
  deleted_.clear();
}

}  // namespace vex
