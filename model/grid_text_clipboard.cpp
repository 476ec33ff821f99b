#include "model/grid_text_clipboard.h"

#include <algorithm>
#include <vector>

namespace vex {
namespace {

constexpr std::string_view kWhite = " \t\r\n\v\f";

std::string_view Trim(std::string_view s) {
  const auto first = s.find_first_not_of(kWhite);
  if (first == std::string_view::npos) return {};
  return s.substr(first, s.find_last_not_of(kWhite) - first + 1);
}

// The first shown (non-zero size) index from `i` on; `count` when there is none.
int NextShown(const GridAxis& axis, int i) {
  while (i < axis.Count() && axis.IsHidden(i)) ++i;
  return i;
}

void AppendEscaped(std::string& out, std::string_view text) {
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char ch = text[i];
    switch (ch) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"': out += "&quot;"; break;
      case '\r':
        if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
        out += "<br>";
        break;
      case '\n': out += "<br>"; break;
      default: out += ch;
    }
  }
}

}  // namespace

std::string SelectionText(const GridModel& grid, const CellRange& range) {
  std::string out;
  const CellRange r = range.Intersected({0, 0, grid.RowCount() - 1, grid.ColumnCount() - 1});
  if (!r.IsValid()) return out;
  bool firstRow = true;
  for (int row = r.minRow; row <= r.maxRow; ++row) {
    if (grid.Rows().IsHidden(row)) continue;
    if (!firstRow) out += '\n';
    firstRow = false;
    bool firstField = true;
    for (int col = r.minCol; col <= r.maxCol; ++col) {
      if (grid.Columns().IsHidden(col)) continue;
      if (!firstField) out += '\t';
      firstField = false;
      if (grid.IsSelected(row, col)) out += grid.Text(row, col);
    }
  }
  return out;
}

CellRange PasteText(GridModel& grid, CellPos focus, std::string_view text, const AcceptPastedText& accept) {
  const CellRange body = grid.BodyRange();
  if (!body.IsValid() || !body.Contains(focus.row, focus.col)) return {};
  if (const auto zero = text.find('\0'); zero != std::string_view::npos) text = text.substr(0, zero);
  if (text.empty()) return {};
  if (text.back() == '\n') text.remove_suffix(1);

  CellRange reached = CellRange::Single(focus);
  int row = focus.row;
  std::size_t pos = 0;
  while (pos <= text.size()) {
    row = NextShown(grid.Rows(), row);
    if (row >= grid.RowCount()) break;
    const std::size_t eol = std::min(text.find('\n', pos), text.size());
    const std::string_view line = text.substr(pos, eol - pos);
    int col = focus.col;
    for (std::size_t start = 0; start <= line.size();) {
      col = NextShown(grid.Columns(), col);
      if (col >= grid.ColumnCount()) break;
      const std::size_t sep = std::min(line.find_first_of("\t,", start), line.size());
      const std::string field(Trim(line.substr(start, sep - start)));
      if (field != grid.Text(row, col) && !grid.IsReadOnly(row, col) && (!accept || accept(row, col, field))) {
        grid.SetText(row, col, field);
        grid.SetModified(row, col, true);
      }
      reached = reached.United(CellRange::Single({row, col}));
      ++col;
      start = sep + 1;
    }
    ++row;
    pos = eol + 1;
  }
  return reached;
}

std::string SelectionHtml(const GridModel& grid, const CellRange& range) {
  std::string out = "<table border=\"1\" style=\"border-collapse:collapse\">\n";
  const CellRange r = range.Intersected({0, 0, grid.RowCount() - 1, grid.ColumnCount() - 1});
  if (r.IsValid()) {
    const auto shownRows = [&](int a, int b) {
      int n = 0;
      for (int i = a; i <= b; ++i) n += grid.Rows().IsHidden(i) ? 0 : 1;
      return n;
    };
    const auto shownCols = [&](int a, int b) {
      int n = 0;
      for (int i = a; i <= b; ++i) n += grid.Columns().IsHidden(i) ? 0 : 1;
      return n;
    };
    static constexpr const char* kHorz[] = {"left", "center", "right"};
    static constexpr const char* kVert[] = {"top", "middle", "bottom"};
    for (int row = r.minRow; row <= r.maxRow; ++row) {
      if (grid.Rows().IsHidden(row)) continue;
      out += "<tr>";
      for (int col = r.minCol; col <= r.maxCol; ++col) {
        if (grid.Columns().IsHidden(col)) continue;
        // A block is written once, at its first shown cell inside the range.
        const CellRange block = grid.BlockOf(row, col).Intersected(r);
        const int firstRow = NextShown(grid.Rows(), block.minRow);
        const int firstCol = NextShown(grid.Columns(), block.minCol);
        if (row != firstRow || col != firstCol) continue;
        const CellPos owner = grid.OwnerOf(row, col);
        const int format = grid.EffectiveFormat(owner.row, owner.col);
        const int vert = (format & kFormatBottom) ? 2 : (format & kFormatVCentre) ? 1 : 0;
        out += "<td";
        if (const int n = shownRows(block.minRow, block.maxRow); n > 1) out += " rowspan=\"" + std::to_string(n) + "\"";
        if (const int n = shownCols(block.minCol, block.maxCol); n > 1) out += " colspan=\"" + std::to_string(n) + "\"";
        out += " style=\"text-align:";
        out += kHorz[std::min(format & 3, 2)];
        out += ";vertical-align:";
        out += kVert[vert];
        out += "\">";
        if (grid.IsSelected(owner.row, owner.col) && grid.Kind(owner.row, owner.col) == kTextCell)
          AppendEscaped(out, grid.Text(owner.row, owner.col));
        out += "</td>";
      }
      out += "</tr>\n";
    }
  }
  out += "</table>\n";
  return out;
}

}  // namespace vex
