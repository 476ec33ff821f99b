#include "recognize/cell_contents.h"

#include <algorithm>
#include <cmath>
#include <functional>

#include "draw/line_grid.h"
#include "recognize/rule_lines.h"

namespace vex {

std::optional<CellBlocks> CellBlocks::Of(const TableData& t, const AcGePoint3d& origin) {
  const LineGrid g = BuildLineGrid(t);
  CellBlocks out;
  out.cols_ = t.nCols;
  out.owner_.assign(static_cast<std::size_t>(t.nRows) * static_cast<std::size_t>(t.nCols), -1);
  for (int k = 0; k < t.nRows; ++k)
    for (int i = 0; i < t.nCols; ++i) {
      const GridNode& n = g.At(k, i);
      if (!n.right || !n.down) continue;
      int right = i + 1;
      while (right < t.nCols && !g.At(k, right).down) ++right;
      int bottom = k + 1;
      while (bottom < t.nRows && !g.At(bottom, i).right) ++bottom;
      const GridNode& corner = g.At(bottom, right);
      if (!corner.up || !corner.left) return std::nullopt;
      const int index = static_cast<int>(out.blocks_.size());
      out.blocks_.push_back({k, i,
                             {n.point.x + origin.x, n.point.y + origin.y, corner.point.x + origin.x,
                              corner.point.y + origin.y}});
      for (int rr = k; rr < bottom; ++rr)
        for (int cc = i; cc < right; ++cc) {
          int& o = out.owner_[static_cast<std::size_t>(rr) * static_cast<std::size_t>(t.nCols) +
                              static_cast<std::size_t>(cc)];
          if (o < 0) o = index;
        }
    }
  for (int j = 0; j <= t.nCols; ++j) out.xs_.push_back(g.At(0, j).point.x + origin.x);
  for (int k = 0; k <= t.nRows; ++k) out.ys_.push_back(g.At(k, 0).point.y + origin.y);
  return out;
}

int CellBlocks::OwnerAt(double x, double y) const {
  auto cx = std::upper_bound(xs_.begin(), xs_.end(), x);
  if (cx == xs_.begin() || cx == xs_.end()) return -1;
  auto ry = std::upper_bound(ys_.begin(), ys_.end(), y, std::greater<double>());
  if (ry == ys_.begin() || ry == ys_.end()) return -1;
  const int c = static_cast<int>(cx - xs_.begin()) - 1;
  const int r = static_cast<int>(ry - ys_.begin()) - 1;
  return owner_[static_cast<std::size_t>(r) * static_cast<std::size_t>(cols_) + static_cast<std::size_t>(c)];
}

int AlignmentOf(double nearGap, double midGap, double farGap) {
  if (nearGap < midGap && nearGap < farGap) return 0;
  if (nearGap <= farGap || midGap <= farGap) return 1;
  return 2;
}

Alignment AlignmentIn(const ContentBox& c, const Rect2d& rect) {
  return {AlignmentOf(std::fabs(c.minX - rect.left), std::fabs(c.centreX - (rect.left + rect.right) / 2),
                      std::fabs(c.maxX - rect.right)),
          AlignmentOf(std::fabs(c.maxY - rect.top), std::fabs(c.centreY - (rect.top + rect.bottom) / 2),
                      std::fabs(c.minY - rect.bottom))};
}

namespace {

// Texts drawn on one visual line: their centres closer than half the smaller height (and at
// least the tolerance), so that a text a little higher or of another height still joins its
// neighbours while the lines of a cell, a height or more apart, stay apart.
bool OnOneLine(const TextItem& a, const TextItem& b) {
  const double tol = std::max(kRecognitionTolerance, 0.5 * std::min(a.height, b.height));
  return std::fabs(a.centre.y - b.centre.y) < tol;
}

// The texts top line first, each visual line left to right. A line whose texts share one
// centre y keeps the order the texts came in, as drawn tables always did.
std::vector<std::vector<const TextItem*>> VisualLines(std::vector<const TextItem*> texts) {
  if (texts.size() == 1) return {std::move(texts)};  // most cells
  std::stable_sort(texts.begin(), texts.end(),
                   [](const TextItem* a, const TextItem* b) { return a->centre.y > b->centre.y; });
  std::vector<std::vector<const TextItem*>> lines;
  for (std::size_t m = 0; m < texts.size(); ++m) {
    if (m == 0 || !OnOneLine(*texts[m - 1], *texts[m])) lines.emplace_back();
    lines.back().push_back(texts[m]);
  }
  for (auto& line : lines) {
    bool level = true;
    for (std::size_t m = 1; m < line.size(); ++m)
      level = level && std::fabs(line[m]->centre.y - line[m - 1]->centre.y) < kRecognitionTolerance;
    if (!level)
      std::stable_sort(line.begin(), line.end(),
                       [](const TextItem* a, const TextItem* b) { return a->centre.x < b->centre.x; });
  }
  return lines;
}

}  // namespace

TableCell TextCellOf(std::vector<const TextItem*> texts, const Rect2d& rect) {
  TableCell cell;
  if (texts.empty()) {
    cell.dHeight = 3.0;
    cell.HorzMode = 1;
    cell.VertMode = 1;
    return cell;
  }
  const std::vector<std::vector<const TextItem*>> lines = VisualLines(std::move(texts));
  const TextItem& first = *lines.front().front();
  std::string text;
  ContentBox box{first.centre.x, first.centre.y, first.extentsMin.x, first.extentsMin.y,
                 first.extentsMax.x, first.extentsMax.y};
  for (std::size_t l = 0; l < lines.size(); ++l)
    for (std::size_t m = 0; m < lines[l].size(); ++m) {
      const TextItem& cur = *lines[l][m];
      if (l == 0 && m == 0) {
        text = cur.text;
        continue;
      }
      if (m > 0) {
        text += " " + cur.text;
        box.centreX = (box.centreX + cur.centre.x) / 2;
      } else {
        text += "\r\n" + cur.text;
        box.centreY = (box.centreY + cur.centre.y) / 2;
        box.minY = std::min(box.minY, cur.extentsMin.y);
        box.maxY = std::max(box.maxY, cur.extentsMax.y);
      }
      box.minX = std::min(box.minX, cur.extentsMin.x);
      box.maxX = std::max(box.maxX, cur.extentsMax.x);
    }
  cell.strText = std::move(text);
  // The height is the top text's, also when its line reads from another text leftwards.
  const TextItem* top = lines.front().front();
  for (const TextItem* t : lines.front())
    if (t->centre.y > top->centre.y) top = t;
  cell.dHeight = top->height;
  const Alignment a = AlignmentIn(box, rect);
  cell.HorzMode = a.HorzMode;
  cell.VertMode = a.VertMode;
  return cell;
}

}  // namespace vex
