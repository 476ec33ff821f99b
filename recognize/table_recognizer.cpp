#include "recognize/table_recognizer.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <optional>

#include "cadhost/sdk/acedads.h"
#include "cadhost/sdk/dbxutil.h"
#include "draw/line_grid.h"
#include "model/cell_capture.h"
#include "model/host_output.h"
#include "model/image_store.h"
#include "settings/settings.h"

namespace vex {
namespace {

constexpr double kTol = 0.001;
constexpr const char* kNoTable = "Select line can't form table!\n";

bool Equal(double a, double b) { return std::fabs(a - b) < kTol; }

// A junction on a row line.
struct Node {
  AcGePoint3d point;
  int row = 0;
  int col = 0;
  int up = 0, down = 0, left = 0, right = 0;
  int Count() const { return up + down + left + right; }
};

using Line = std::vector<LineSegment>;  // the segments of one row or column line

// Sorts by position (stable, so equal positions keep selection order) and groups segments
// whose positions chain within the tolerance. A single segment forms no line at all.
std::vector<Line> GroupLines(std::vector<LineSegment> segs, bool descending) {
  std::stable_sort(segs.begin(), segs.end(), [descending](const LineSegment& a, const LineSegment& b) {
    return descending ? a.position > b.position : a.position < b.position;
  });
  std::vector<Line> lines;
  if (segs.size() <= 1) return lines;
  for (std::size_t k = 0; k < segs.size(); ++k) {
    if (k == 0 || std::fabs(segs[k].position - segs[k - 1].position) >= kTol) lines.emplace_back();
    lines.back().push_back(segs[k]);
  }
  return lines;
}

// For one line: its segments sorted by their low end with the running maximum of the high
// end, to answer "does a segment reaching from at most a to beyond b exist" in log time.
class Reach {
 public:
  // low/high: the segment's smaller and larger coordinate along the line.
  void Add(double low, double high) { spans_.push_back({low, high}); }
  void Build() {
    std::sort(spans_.begin(), spans_.end());
    best_.resize(spans_.size());
    for (std::size_t k = 0; k < spans_.size(); ++k)
      best_[k] = k == 0 ? spans_[k].second : std::max(best_[k - 1], spans_[k].second);
  }
  // The largest high end among segments whose low end is <= a (strict: < a).
  std::optional<double> MaxHigh(double a, bool strict) const {
    auto it = strict ? std::lower_bound(spans_.begin(), spans_.end(), std::pair(a, -HUGE_VAL))
                     : std::upper_bound(spans_.begin(), spans_.end(), std::pair(a, HUGE_VAL));
    const std::size_t n = static_cast<std::size_t>(it - spans_.begin());
    if (n == 0) return std::nullopt;
    return best_[n - 1];
  }

 private:
  std::vector<std::pair<double, double>> spans_;
  std::vector<double> best_;
};

// Flags of the segments of a horizontal line (along x) at x, and of a vertical line (along y)
// at y. A segment counts at a point within the tolerance of it; a flag is set when a counting
// segment goes on beyond the point by the tolerance or more.
void HorizontalFlags(const Reach& r, double x, Node& n) {
  if (auto m = r.MaxHigh(x - kTol, false); m && *m > x - kTol) n.left = 1;
  if (auto m = r.MaxHigh(x + kTol, true); m && *m >= x + kTol) n.right = 1;
}
void VerticalFlags(const Reach& r, double y, Node& n) {
  if (auto m = r.MaxHigh(y + kTol, true); m && *m >= y + kTol) n.up = 1;
  if (auto m = r.MaxHigh(y - kTol, false); m && *m > y - kTol) n.down = 1;
}

bool IsDeadEndOrCorner(const Node& n) {
  if (n.Count() == 1) return true;
  const int vertical = n.up + n.down, horizontal = n.left + n.right;
  return n.Count() == 2 && vertical == 1 && horizontal == 1;
}

struct Rect {
  double left, top, right, bottom;
  bool StrictlyInside(double x, double y) const { return left < x && x < right && bottom < y && y < top; }
  Rect Shrunk(double d) const { return {left + d, top - d, right - d, bottom + d}; }
};

std::optional<AcGePoint3d> ExtentsCentre(AcDbObjectId id, AcDbExtents* out = nullptr) {
  AcDbObjectPointer<AcDbEntity> e(id, AcDb::kForRead);
  if (!e) return std::nullopt;
  AcDbExtents ext;
  if (e->getGeomExtents(ext) != Acad::eOk) return std::nullopt;
  if (out) *out = ext;
  return AcGePoint3d((ext.minPoint().x + ext.maxPoint().x) / 2, (ext.minPoint().y + ext.maxPoint().y) / 2,
                     (ext.minPoint().z + ext.maxPoint().z) / 2);
}

// 0 when the near gap is the smallest, 1 when near or middle is at most the far gap, else 2.
int AlignmentOf(double nearGap, double midGap, double farGap) {
  if (nearGap < midGap && nearGap < farGap) return 0;
  if (nearGap <= farGap || midGap <= farGap) return 1;
  return 2;
}

struct Block {
  int row = 0, col = 0;
  Rect rect{};
};

// Finds which block a point strictly lies in, through the grid boundaries: x boundaries
// ascending, y boundaries descending, owner[r][c] the block covering grid cell (r, c).
class BlockIndex {
 public:
  BlockIndex(std::vector<double> xs, std::vector<double> ys, std::vector<int> owner, int cols)
      : xs_(std::move(xs)), ys_(std::move(ys)), owner_(std::move(owner)), cols_(cols) {}
  // The grid cell whose closed-open span holds the point, or -1.
  int OwnerAt(double x, double y) const {
    auto cx = std::upper_bound(xs_.begin(), xs_.end(), x);
    if (cx == xs_.begin() || cx == xs_.end()) return -1;
    auto ry = std::upper_bound(ys_.begin(), ys_.end(), y, std::greater<double>());
    if (ry == ys_.begin() || ry == ys_.end()) return -1;
    const int c = static_cast<int>(cx - xs_.begin()) - 1;
    const int r = static_cast<int>(ry - ys_.begin()) - 1;
    return owner_[static_cast<std::size_t>(r) * static_cast<std::size_t>(cols_) + static_cast<std::size_t>(c)];
  }

 private:
  std::vector<double> xs_, ys_;
  std::vector<int> owner_;
  int cols_;
};

}  // namespace

bool TableRecognizer::ReadTable(TableData& table, ImageStore& store) {
  ads_name set;
  if (acedSSGet(nullptr, nullptr, nullptr, nullptr, set) != RTNORM) return false;
  Adesk::Int32 length = 0;
  AcDbObjectIdArray ids;
  if (acedSSLength(set, &length) == RTNORM)
    for (Adesk::Int32 k = 0; k < length; ++k) {
      ads_name entity;
      if (acedSSName(set, k, entity) != RTNORM) {
        PrintCommandLine("\nads_ssname wrong");
        continue;
      }
      AcDbObjectId id;
      if (acdbGetObjectId(id, entity) != Acad::eOk) {
        PrintCommandLine("\nacdbGetObjectId wrong");
        continue;
      }
      ids.append(id);
    }
  acedSSFree(set);
  return Recognize(ids, acdbHostApplicationServices()->workingDatabase(), table, store);
}

bool TableRecognizer::Recognize(const AcDbObjectIdArray& selection, AcDbDatabase* db, TableData& table,
                                ImageStore& store) {
  if (selection.isEmpty()) return false;
  // 1. Classification.
  frameMatchesSelection = 1;
  origin = AcGePoint3d(0, 0, 0);
  lineIds.removeAll();
  textIds.removeAll();
  imageIds.removeAll();
  selectedIds.removeAll();
  nonTextIds.removeAll();
  database = db;
  plotScale = ReadPlotScale();

  std::vector<LineSegment> horizontal, vertical;
  std::vector<TextItem> texts;
  for (const AcDbObjectId& id : selection) {
    AcDbEntity* e = nullptr;
    if (acdbOpenAcDbEntity(e, id, AcDb::kForRead) != Acad::eOk) {
      PrintCommandLine("\nacdbOpenAcDbEntity wrong");
      continue;
    }
    selectedIds.append(id);
    if (const auto* line = AcDbLine::cast(e)) {
      const AcGePoint3d a = line->startPoint(), b = line->endPoint();
      const double dx = std::fabs(a.x - b.x), dy = std::fabs(a.y - b.y);
      if (dx < kTol && dy > kTol) {
        vertical.push_back({0, a.x, std::max(a.y, b.y), std::min(a.y, b.y)});
        lineIds.append(id);
      } else if (dx > kTol && dy < kTol) {
        horizontal.push_back({0, a.y, std::min(a.x, b.x), std::max(a.x, b.x)});
        lineIds.append(id);
      }
      nonTextIds.append(id);
    } else if (AcDbCurve::cast(e) != nullptr) {
      nonTextIds.append(id);
    } else if (const auto* text = AcDbText::cast(e)) {
      TextItem item;
      AcDbExtents ext;
      if (text->getGeomExtents(ext) == Acad::eOk) {
        item.extentsMin = ext.minPoint();
        item.extentsMax = ext.maxPoint();
      } else {
        item.extentsMin = item.extentsMax = text->position();
      }
      const AcGePoint3d p = text->position();
      item.centre = AcGePoint3d(p.x + (item.extentsMax.x - item.extentsMin.x) / 2,
                                p.y + (item.extentsMax.y - item.extentsMin.y) / 2, p.z);
      item.horizontalMode = text->horizontalMode();
      item.verticalMode = text->verticalMode();
      item.text = text->textString();
      item.height = text->height();
      texts.push_back(std::move(item));
      textIds.append(id);
    } else {
      nonTextIds.append(id);
    }
    e->close();
  }

  // 2. Row lines top to bottom, column lines left to right; the gaps are the sizes.
  std::vector<Line> rowLines = GroupLines(std::move(horizontal), true);
  const std::vector<Line> colLines = GroupLines(std::move(vertical), false);
  std::vector<double> heights, widths;
  for (std::size_t k = 1; k < rowLines.size(); ++k)
    heights.push_back(std::fabs(rowLines[k].front().position - rowLines[k - 1].front().position));
  for (std::size_t k = 1; k < colLines.size(); ++k)
    widths.push_back(std::fabs(colLines[k].front().position - colLines[k - 1].front().position));

  // 3. One node per column line on every row line, with the flags of every segment there.
  std::vector<Reach> colReach(colLines.size());
  for (std::size_t i = 0; i < colLines.size(); ++i) {
    for (const LineSegment& s : colLines[i]) colReach[i].Add(s.to, s.from);
    colReach[i].Build();
  }
  std::vector<std::vector<Node>> nodes(rowLines.size());
  for (std::size_t j = 0; j < rowLines.size(); ++j) {
    Reach rowReach;
    for (LineSegment& s : rowLines[j]) {
      s.lineIndex = static_cast<int>(j);
      rowReach.Add(s.from, s.to);
    }
    rowReach.Build();
    const double y = rowLines[j].front().position;
    for (std::size_t i = 0; i < colLines.size(); ++i) {
      const double x = colLines[i].front().position;
      Node n;
      n.point = AcGePoint3d(x, y, 0);
      n.row = static_cast<int>(j);
      n.col = static_cast<int>(i);
      HorizontalFlags(rowReach, x, n);
      VerticalFlags(colReach[i], y, n);
      nodes[j].push_back(n);
    }
  }

  // 4. The frame.
  const auto fail = [&] {
    PrintCommandLine(kNoTable);
    return false;
  };
  if (nodes.size() < 2 || nodes.front().size() < 2 || nodes.back().size() < 2) return fail();
  const Node tl = nodes.front().front(), tr = nodes.front().back();
  const Node bl = nodes.back().front(), br = nodes.back().back();
  if (!Equal(tl.point.x, bl.point.x) || !Equal(tr.point.x, br.point.x) || !(tl.down && tl.right) ||
      !(tr.down && tr.left) || !(bl.up && bl.right) || !(br.up && br.left))
    return fail();

  // 5. Interior clean-up: at most one dead end or corner per interior row line goes.
  for (std::size_t j = nodes.size() - 2; j >= 1 && j < nodes.size(); --j) {
    auto& row = nodes[j];
    for (std::size_t k = row.size() - 2; k >= 1 && k < row.size(); --k)
      if (IsDeadEndOrCorner(row[k])) {
        row.erase(row.begin() + static_cast<std::ptrdiff_t>(k));
        break;
      }
  }

  // 6. Texts inside the frame; does the frame take in every selected line?
  {
    std::vector<TextItem> inside;
    AcDbObjectIdArray insideIds;
    for (std::size_t k = 0; k < texts.size(); ++k) {
      const AcGePoint3d& c = texts[k].centre;
      if (tl.point.x < c.x && c.x < tr.point.x && bl.point.y < c.y && c.y < tl.point.y) {
        inside.push_back(texts[k]);
        insideIds.append(textIds[static_cast<int>(k)]);
      }
    }
    texts = std::move(inside);
    textIds = insideIds;
  }
  AcDbExtents lines;
  for (const AcDbObjectId& id : lineIds) {
    AcDbObjectPointer<AcDbEntity> e(id, AcDb::kForRead);
    AcDbExtents ext;
    if (e && e->getGeomExtents(ext) == Acad::eOk) lines.addExt(ext);
  }
  if (!lines.isEmpty() &&
      (std::fabs(lines.minPoint().x - bl.point.x) > kTol || std::fabs(lines.minPoint().y - bl.point.y) > kTol ||
       std::fabs(lines.maxPoint().x - tr.point.x) > kTol || std::fabs(lines.maxPoint().y - tr.point.y) > kTol))
    frameMatchesSelection = 0;
  origin = tl.point;

  // 7. Sizes and merges. The scans stay inside the node lists: a table whose separating lines
  // run out is refused.
  TableData t;
  t.nRows = static_cast<int>(heights.size());
  t.nCols = static_cast<int>(widths.size());
  t.RowHeights = heights;
  t.ColWidths = widths;
  const auto separatesColumns = [&](int r, int n) -> std::optional<bool> {
    const auto& up = nodes[static_cast<std::size_t>(r)];
    const auto& low = nodes[static_cast<std::size_t>(r) + 1];
    if (n < 0 || static_cast<std::size_t>(n) >= up.size() || static_cast<std::size_t>(n) >= low.size())
      return std::nullopt;
    return up[static_cast<std::size_t>(n)].down && low[static_cast<std::size_t>(n)].up;
  };
  for (int r = 0; r < t.nRows; ++r) {
    for (int n = 1; n <= t.nCols;) {
      const auto sep = separatesColumns(r, n);
      if (!sep) return fail();
      if (*sep) {
        ++n;
        continue;
      }
      int end = n + 1;
      for (;; ++end) {
        const auto s = separatesColumns(r, end);
        if (!s || end > t.nCols) return fail();
        if (*s) break;
      }
      t.AppendMergeRow(MergeSpan(r, n - 1, end - 1));
      n = end + 1;
    }
  }
  const auto separatesRows = [&](int r, int n) -> std::optional<bool> {
    const auto& row = nodes[static_cast<std::size_t>(r)];
    if (static_cast<std::size_t>(n) + 1 >= row.size()) return std::nullopt;
    return row[static_cast<std::size_t>(n)].right && row[static_cast<std::size_t>(n) + 1].left;
  };
  for (int n = 0; n < t.nCols; ++n) {
    for (int r = 1; r <= t.nRows;) {
      const auto sep = separatesRows(r, n);
      if (!sep) break;  // a row line too short for this band ends its scan
      if (*sep) {
        ++r;
        continue;
      }
      int end = r + 1;
      for (;; ++end) {
        if (end > t.nRows) return fail();
        const auto s = separatesRows(end, n);
        if (!s) return fail();
        if (*s) break;
      }
      t.AppendMergeCol(MergeSpan(n, r - 1, end - 1));
      r = end + 1;
    }
  }
  const std::vector<std::size_t> rowNodeCounts = [&] {
    std::vector<std::size_t> c;
    for (const auto& r : nodes) c.push_back(r.size());
    return c;
  }();
  nodes.clear();

  // 8. The visible cells, through the line grid the model draws.
  const LineGrid g = BuildLineGrid(t);
  std::vector<Block> blocks;
  std::vector<int> owner(static_cast<std::size_t>(t.nRows) * static_cast<std::size_t>(t.nCols), -1);
  for (int k = 0; k < t.nRows; ++k)
    for (int i = 0; i < t.nCols; ++i) {
      const GridNode& n = g.At(k, i);
      if (!n.right || !n.down) continue;
      int right = i + 1;
      while (right < t.nCols && !g.At(k, right).down) ++right;
      int bottom = k + 1;
      while (bottom < t.nRows && !g.At(bottom, i).right) ++bottom;
      const GridNode& corner = g.At(bottom, right);
      if (!corner.up || !corner.left) return fail();
      Block b;
      b.row = k;
      b.col = i;
      b.rect = {n.point.x + origin.x, n.point.y + origin.y, corner.point.x + origin.x, corner.point.y + origin.y};
      const int index = static_cast<int>(blocks.size());
      blocks.push_back(b);
      for (int rr = k; rr < bottom; ++rr)
        for (int cc = i; cc < right; ++cc) {
          int& o = owner[static_cast<std::size_t>(rr) * static_cast<std::size_t>(t.nCols) + static_cast<std::size_t>(cc)];
          if (o < 0) o = index;
        }
    }

  // Which block each entity and text lies in, found once instead of cell by cell.
  std::vector<double> xs, ys;
  for (int j = 0; j <= t.nCols; ++j) xs.push_back(g.At(0, j).point.x + origin.x);
  for (int k = 0; k <= t.nRows; ++k) ys.push_back(g.At(k, 0).point.y + origin.y);
  const BlockIndex index(xs, ys, owner, t.nCols);
  std::vector<std::vector<int>> blockTexts(blocks.size()), blockTriggers(blocks.size()), blockTakes(blocks.size());
  for (std::size_t k = 0; k < texts.size(); ++k) {
    const int b = index.OwnerAt(texts[k].centre.x, texts[k].centre.y);
    if (b >= 0 && blocks[static_cast<std::size_t>(b)].rect.StrictlyInside(texts[k].centre.x, texts[k].centre.y))
      blockTexts[static_cast<std::size_t>(b)].push_back(static_cast<int>(k));
  }
  const auto bucket = [&](const AcDbObjectIdArray& ids, std::vector<std::vector<int>>& into) {
    for (int k = 0; k < ids.length(); ++k) {
      const auto c = ExtentsCentre(ids[k]);
      if (!c) continue;
      const int b = index.OwnerAt(c->x, c->y);
      if (b >= 0 && blocks[static_cast<std::size_t>(b)].rect.Shrunk(0.5).StrictlyInside(c->x, c->y))
        into[static_cast<std::size_t>(b)].push_back(k);
    }
  };
  bucket(nonTextIds, blockTriggers);
  bucket(selectedIds, blockTakes);
  std::vector<bool> taken(static_cast<std::size_t>(selectedIds.length()), false);

  acedSetStatusBarProgressMeter("编辑表格", 0, 100);
  std::size_t next = 0;
  for (int k = 0; k < t.nRows; ++k) {
    TableRow row;
    const long long p = static_cast<long long>(k < static_cast<int>(rowNodeCounts.size()) ? rowNodeCounts[static_cast<std::size_t>(k)] : 1);
    const long long rowLinesCount = static_cast<long long>(rowNodeCounts.size());
    for (int i = 0; i < t.nCols; ++i) {
      if (p > 1 && rowLinesCount > 1)
        acedSetStatusBarProgressMeterPos(static_cast<int>((((p - 1) * k + i + 1) * 90 / (rowLinesCount - 1)) / (p - 1)));
      TableCell cell;
      if (next < blocks.size() && blocks[next].row == k && blocks[next].col == i) {
        const std::size_t b = next++;
        const Rect& rect = blocks[b].rect;
        char message[96];
        std::snprintf(message, sizeof message, "\nEdit on row %d, column %d cell image...", k + 1, i + 1);
        cell.strText = message;
        bool image = false;
        // 9.1 A picture: something other than a text lies inside the cell.
        if (!blockTriggers[b].empty()) {
          AcDbObjectIdArray ids;
          AcDbExtents all;
          for (auto it = blockTakes[b].rbegin(); it != blockTakes[b].rend(); ++it) {
            ids.append(selectedIds[*it]);
            taken[static_cast<std::size_t>(*it)] = true;
            AcDbExtents ext;
            if (ExtentsCentre(selectedIds[*it], &ext)) all.addExt(ext);
          }
          PrintCommandLine(cell.strText);
          cell.strText.clear();
          for (const AcDbObjectId& id : ids) imageIds.append(id);
          std::string name;
          AcDbObjectId block;
          if (CaptureImage(ids, db, name, &store.Ensure(), block, cell.picture)) {
            cell.nType = 1;
            cell.sBlockName = name;
            if (!all.isEmpty()) {
              const double cx = (all.minPoint().x + all.maxPoint().x) / 2, cy = (all.minPoint().y + all.maxPoint().y) / 2;
              cell.HorzMode = AlignmentOf(std::fabs(all.minPoint().x - rect.left), std::fabs(cx - (rect.left + rect.right) / 2),
                                          std::fabs(all.maxPoint().x - rect.right));
              cell.VertMode = AlignmentOf(std::fabs(all.maxPoint().y - rect.top), std::fabs(cy - (rect.top + rect.bottom) / 2),
                                          std::fabs(all.minPoint().y - rect.bottom));
            }
            image = true;
          } else {
            cell.nType = 0;
            cell.picture.Clear();
          }
        }
        // 9.2 Text: the texts inside, top line first, joined into lines.
        if (!image) {
          std::vector<int> mine = blockTexts[b];
          std::stable_sort(mine.begin(), mine.end(), [&](int a, int c) {
            return texts[static_cast<std::size_t>(a)].centre.y > texts[static_cast<std::size_t>(c)].centre.y;
          });
          if (mine.empty()) {
            cell.dHeight = 3.0;
            cell.HorzMode = 1;
            cell.VertMode = 1;
            cell.strText.clear();
          } else {
            const TextItem& first = texts[static_cast<std::size_t>(mine[0])];
            std::string text = first.text;
            double cx = first.centre.x, cy = first.centre.y;
            double minX = first.extentsMin.x, maxX = first.extentsMax.x, minY = first.extentsMin.y, maxY = first.extentsMax.y;
            for (std::size_t m = 1; m < mine.size(); ++m) {
              const TextItem& prev = texts[static_cast<std::size_t>(mine[m - 1])];
              const TextItem& cur = texts[static_cast<std::size_t>(mine[m])];
              if (Equal(cur.centre.y, prev.centre.y)) {
                text += " " + cur.text;
                cx = (cx + cur.centre.x) / 2;
                minX = std::min(minX, cur.extentsMin.x);
                maxX = std::max(maxX, cur.extentsMax.x);
              } else {
                text += "\r\n" + cur.text;
                cy = (cy + cur.centre.y) / 2;
                minX = std::min(minX, cur.extentsMin.x);
                maxX = std::max(maxX, cur.extentsMax.x);
                minY = std::min(minY, cur.extentsMin.y);
                maxY = std::max(maxY, cur.extentsMax.y);
              }
            }
            cell.strText = text;
            cell.dHeight = first.height;
            cell.HorzMode = AlignmentOf(std::fabs(minX - rect.left), std::fabs(cx - (rect.left + rect.right) / 2),
                                        std::fabs(maxX - rect.right));
            cell.VertMode = AlignmentOf(std::fabs(maxY - rect.top), std::fabs(cy - (rect.top + rect.bottom) / 2),
                                        std::fabs(minY - rect.bottom));
          }
        }
      } else {
        cell.dHeight = 3.0;
        cell.HorzMode = 1;
        cell.VertMode = 1;
      }
      row.cells.push_back(std::move(cell));
    }
    t.AppendRow(std::move(row));
  }
  acedRestoreStatusBar();

  // Entities taken into pictures are no longer part of the selection.
  AcDbObjectIdArray remaining;
  for (int k = 0; k < selectedIds.length(); ++k)
    if (!taken[static_cast<std::size_t>(k)]) remaining.append(selectedIds[k]);
  selectedIds = remaining;

  // 10. Back to millimetres of the printed table.
  const double s = plotScale != 0.0 ? plotScale : 1.0;
  for (double& h : t.RowHeights) h /= s;
  for (double& w : t.ColWidths) w /= s;
  for (TableRow& r : t.rows)
    for (TableCell& c : r.cells) c.dHeight /= s;
  table = std::move(t);
  return true;
}

}  // namespace vex
