#include "editor/grid/grid_painter.h"

#include <QFontMetrics>
#include <QFontMetricsF>
#include <QPainter>
#include <QPalette>
#include <QString>

#include <algorithm>
#include <cmath>
#include <string_view>
#include <vector>

#include "editor/grid/qpainter_canvas.h"
#include "model/picture_fit.h"

namespace vex {
namespace {

QRect ToQRect(const WindowRect& r) {
  // Window coordinates of a huge grid scrolled far can exceed int; they are clipped anyway.
  const auto c = [](std::int64_t v) { return static_cast<int>(std::clamp<std::int64_t>(v, -(1 << 28), 1 << 28)); };
  return QRect(QPoint(c(r.left), c(r.top)), QPoint(c(r.right) - 1, c(r.bottom) - 1));
}

// The lines of a cell text: split at "\n", a "\r" before it dropped.
void SplitLines(std::string_view text, std::vector<std::string_view>& lines) {
  lines.clear();
  std::size_t start = 0;
  for (;;) {
    const std::size_t eol = text.find('\n', start);
    std::string_view line = text.substr(start, eol == std::string_view::npos ? std::string_view::npos : eol - start);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    lines.push_back(line);
    if (eol == std::string_view::npos) return;
    start = eol + 1;
  }
}

QString ToQString(std::string_view s) { return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())); }

}  // namespace

GridColours GridColours::Classic() {
  GridColours c;
  c.background = QColor(0xAB, 0xAB, 0xAB);
  c.window = Qt::white;
  c.text = Qt::black;
  c.buttonFace = QColor(0xF0, 0xF0, 0xF0);
  c.buttonLight = Qt::white;
  c.buttonShadow = QColor(0xA0, 0xA0, 0xA0);
  c.buttonDarkShadow = QColor(0x69, 0x69, 0x69);
  c.highlight = QColor(0x00, 0x78, 0xD7);
  c.highlightText = Qt::white;
  return c;
}

GridColours GridColours::FromPalette(const QPalette& pal) {
  GridColours c;
  c.background = pal.color(QPalette::Dark);
  c.window = pal.color(QPalette::Base);
  c.text = pal.color(QPalette::Text);
  c.buttonFace = pal.color(QPalette::Button);
  c.buttonLight = pal.color(QPalette::Light);
  c.buttonShadow = pal.color(QPalette::Mid);
  c.buttonDarkShadow = pal.color(QPalette::Shadow);
  c.highlight = pal.color(QPalette::Highlight);
  c.highlightText = pal.color(QPalette::HighlightedText);
  return c;
}

void ApplyFontDefaults(GridModel& grid, const QFont& font) {
  const QFontMetrics fm(font);
  for (bool fixedRow : {false, true})
    for (bool fixedCol : {false, true}) {
      GridDefaultCell& d = grid.DefaultCell(fixedRow, fixedCol);
      d.margin = fm.horizontalAdvance(QLatin1Char(' '));
      d.fontHeight = fm.height();
    }
  grid.SetDefaultSizes(fm.height() * 3 / 2, fm.horizontalAdvance(QStringLiteral(" XXXXXXXXXXXX ")));
}

GridPainter::GridPainter(const GridModel& grid, const QFont& baseFont, const GridColours& colours)
    : grid_(grid), colours_(colours) {
  SetBaseFont(baseFont);
}

void GridPainter::SetBaseFont(const QFont& font) {
  baseFont_ = font;
  QFont probe = font;
  probe.setPixelSize(100);
  const double line = QFontMetricsF(probe).height();
  pixelSizePerLine_ = line > 0 ? 100.0 / line : 0.85;
  fonts_.clear();
}

const GridPainter::FontEntry& GridPainter::Font(int height) const {
  height = std::max(height, 1);
  auto it = fonts_.find(height);
  if (it == fonts_.end()) {
    FontEntry e;
    e.font = baseFont_;
    e.font.setPixelSize(std::max(1, static_cast<int>(std::lround(height * pixelSizePerLine_))));
    e.lineHeight = QFontMetrics(e.font).height();
    it = fonts_.emplace(height, std::move(e)).first;
  }
  return it->second;
}

const QFont& GridPainter::FontFor(int height) const { return Font(height).font; }
int GridPainter::LineHeight(int height) const { return Font(height).lineHeight; }

void GridPainter::Paint(QPainter& p, const GridViewport& view, const QRect& dirty) const {
  const QRect all(0, 0, view.width, view.height);
  const QRect area = dirty.intersected(all);
  if (area.isEmpty()) return;
  p.save();
  p.fillRect(area, colours_.background);
  const int fw = static_cast<int>(std::min<std::int64_t>(FixedWidth(grid_), view.width));
  const int fh = static_cast<int>(std::min<std::int64_t>(FixedHeight(grid_), view.height));
  const VisibleCells v = VisibleBody(grid_, view);
  const int fixedRows = grid_.FixedRowCount(), fixedCols = grid_.FixedColumnCount();

  PaintBody(p, view, v, area.intersected(QRect(fw, fh, view.width - fw, view.height - fh)));
  PaintFixed(p, view, 0, fixedRows - 1, v.firstCol, v.lastCol, area.intersected(QRect(fw, 0, view.width - fw, fh)));
  PaintFixed(p, view, v.firstRow, v.lastRow, 0, fixedCols - 1, area.intersected(QRect(0, fh, fw, view.height - fh)));
  PaintFixed(p, view, 0, fixedRows - 1, 0, fixedCols - 1, area.intersected(QRect(0, 0, fw, fh)));
  p.restore();
}

void GridPainter::PaintBody(QPainter& p, const GridViewport& view, const VisibleCells& v, const QRect& area) const {
  if (area.isEmpty() || v.lastRow < v.firstRow || v.lastCol < v.firstCol) return;
  p.setClipRect(area);
  const int left = static_cast<int>(FixedWidth(grid_)), top = static_cast<int>(FixedHeight(grid_));
  const int right = static_cast<int>(std::min<std::int64_t>(
      ColumnLeft(grid_, view, v.lastCol) + grid_.ColumnWidth(v.lastCol), view.width));
  const int bottom = static_cast<int>(std::min<std::int64_t>(
      RowTop(grid_, view, v.lastRow) + grid_.RowHeight(v.lastRow), view.height));
  p.fillRect(QRect(QPoint(left, top), QPoint(right - 1, bottom - 1)), colours_.window);

  // Grid lines first: blocks and cells are filled over them, so a merged block shows none
  // inside it. Hidden rows and columns get no line.
  p.setPen(QPen(colours_.gridLine, 0));
  for (int c = v.firstCol; c <= v.lastCol && (gridLines_ & 2); ++c)
    if (const int w = grid_.ColumnWidth(c); w > 0) {
      const int x = static_cast<int>(ColumnLeft(grid_, view, c)) + w - 1;
      p.drawLine(x, top, x, bottom - 1);
    }
  for (int r = v.firstRow; r <= v.lastRow && (gridLines_ & 1); ++r)
    if (const int h = grid_.RowHeight(r); h > 0) {
      const int y = static_cast<int>(RowTop(grid_, view, r)) + h - 1;
      p.drawLine(left, y, right - 1, y);
    }

  for (int r = v.firstRow; r <= v.lastRow; ++r) {
    const bool rowHidden = grid_.RowHeight(r) == 0;
    for (int c = v.firstCol; c <= v.lastCol; ++c) {
      if (grid_.IsInBlock(r, c)) {
        // A block is drawn once, from its first cell in view, over its whole rectangle.
        const CellRange b = grid_.BlockOf(r, c);
        if (r != std::max(b.minRow, v.firstRow) || c != std::max(b.minCol, v.firstCol)) continue;
        const QRect rect = ToQRect(BlockWindowRect(grid_, view, b.minRow, b.minCol)).adjusted(0, 0, -1, -1);
        if (rect.isEmpty()) continue;
        p.fillRect(rect, colours_.window);
        DrawCell(p, b.minRow, b.minCol, rect, false);
        continue;
      }
      if (rowHidden || grid_.ColumnWidth(c) == 0) continue;
      const QRect rect = ToQRect(CellRect(grid_, view, r, c)).adjusted(0, 0, -1, -1);
      if (!rect.isEmpty()) DrawCell(p, r, c, rect, false);
    }
  }
  FlushStrokes(p);
}

void GridPainter::FlushStrokes(QPainter& p) const {
  for (auto [lines, base] : {std::pair{&strokes_, colours_.text}, std::pair{&selectedStrokes_, colours_.highlightText}}) {
    if (lines->empty()) continue;
    QColor c = base;
    c.setAlpha(110);
    p.setPen(QPen(c, 0));
    p.drawLines(lines->data(), static_cast<int>(lines->size()));
    lines->clear();
  }
}

void GridPainter::PaintFixed(QPainter& p, const GridViewport& view, int row0, int row1, int col0, int col1,
                             const QRect& area) const {
  if (area.isEmpty() || row1 < row0 || col1 < col0) return;
  p.setClipRect(area);
  for (int r = row0; r <= row1; ++r) {
    if (grid_.RowHeight(r) <= 0) continue;
    for (int c = col0; c <= col1; ++c) {
      if (grid_.ColumnWidth(c) <= 0) continue;
      const QRect rect = ToQRect(CellRect(grid_, view, r, c));
      if (rect.intersects(area)) DrawCell(p, r, c, rect, true);
    }
  }
  FlushStrokes(p);
}

void GridPainter::DrawCell(QPainter& p, int row, int col, const QRect& rect, bool fixed) const {
  const CellPos focus = grid_.Focus();
  QColor textColour = colours_.text;
  if (fixed) {
    // A raised button; pressed when it heads the focus row or column.
    const bool pressed = showSelection_ && ((grid_.IsFixedColumn(col) && !grid_.IsFixedRow(row) && row == focus.row) ||
                                            (grid_.IsFixedRow(row) && !grid_.IsFixedColumn(col) && col == focus.col));
    p.fillRect(rect, colours_.buttonFace);
    const QColor& lt = pressed ? colours_.buttonDarkShadow : colours_.buttonLight;
    const QColor& rb = pressed ? colours_.buttonLight : colours_.buttonDarkShadow;
    p.setPen(QPen(lt, 0));
    p.drawLine(rect.topLeft(), rect.topRight());
    p.drawLine(rect.topLeft(), rect.bottomLeft());
    p.setPen(QPen(rb, 0));
    p.drawLine(rect.bottomLeft(), rect.bottomRight());
    p.drawLine(rect.topRight(), rect.bottomRight());
  } else if (showSelection_ && grid_.IsSelected(row, col)) {
    p.fillRect(rect, colours_.highlight);
    textColour = colours_.highlightText;
  }

  if (grid_.Kind(row, col) == kImageCell) DrawPicture(p, row, col, rect);
  else if (!grid_.Text(row, col).empty()) DrawText(p, row, col, rect, textColour);

  if (!fixed && showSelection_ && focus == CellPos{row, col}) {
    p.setPen(QPen(colours_.text, 0));
    p.setBrush(Qt::NoBrush);
    p.drawRect(rect.adjusted(0, 0, -1, -1));
  }
  if (!fixed && dropTarget_ == CellPos{row, col}) {
    p.setPen(QPen(colours_.highlight, 2));
    p.setBrush(Qt::NoBrush);
    p.drawRect(rect.adjusted(1, 1, -1, -1));
  }
}

void GridPainter::DrawText(QPainter& p, int row, int col, const QRect& rect, const QColor& colour) const {
  // The margin keeps text off the left and right edges; vertically the whole cell is used, so
  // that a header row only a line high still shows its number.
  const int margin = std::max(grid_.Margin(row, col), 0);
  const QRect box = rect.adjusted(margin, 0, -margin, 0);
  if (box.width() <= 0 || box.height() <= 0) return;
  const int format = grid_.EffectiveFormat(row, col);
  const FontEntry& font = Font(grid_.EffectiveFontHeight(row, col));
  const std::string& text = grid_.Text(row, col);
  // Reused between cells: a repaint visits tens of thousands of them.
  std::vector<std::string_view>& lines = lines_;
  std::string joined;
  if (!(format & kFormatSingleLine)) {
    SplitLines(text, lines);
  } else if (text.find_first_of("\r\n") == std::string::npos) {
    lines.assign(1, text);
  } else {
    joined = text;
    std::replace(joined.begin(), joined.end(), '\r', ' ');
    std::replace(joined.begin(), joined.end(), '\n', ' ');
    lines.assign(1, joined);
  }

  // The lines form one block, placed by the vertical part of the format; each line is placed
  // by the horizontal part.
  const int lineHeight = std::max(font.lineHeight, 1);
  const int block = lineHeight * static_cast<int>(lines.size());
  int y = box.top();
  if (format & kFormatBottom) y = box.bottom() + 1 - block;
  else if (format & kFormatVCentre) y = box.top() + (box.height() - block) / 2;
  const int horz = std::min(format & 3, 2);

  if (lineHeight < kMinTextHeight) {
    std::vector<QLine>& strokes = colour == colours_.text ? strokes_ : selectedStrokes_;
    for (std::size_t i = 0; i < lines.size(); ++i, y += lineHeight) {
      const int mid = y + lineHeight / 2;
      if (mid < box.top() || mid > box.bottom() || lines[i].empty()) continue;
      const int len = std::min(box.width(), std::max(1, static_cast<int>(lines[i].size()) * lineHeight / 2));
      const int x = horz == 0 ? box.left() : horz == 1 ? box.left() + (box.width() - len) / 2 : box.right() + 1 - len;
      strokes.emplace_back(x, mid, x + len - 1, mid);
    }
    return;
  }

  p.setFont(font.font);
  p.setPen(colour);
  const Qt::Alignment align = (horz == 0 ? Qt::AlignLeft : horz == 1 ? Qt::AlignHCenter : Qt::AlignRight) | Qt::AlignVCenter;
  const bool elide = (format & kFormatEndEllipsis) && lines.size() == 1;
  for (const std::string_view line : lines) {
    const QRect lineRect = QRect(box.left(), y, box.width(), lineHeight).intersected(box);
    y += lineHeight;
    if (lineRect.isEmpty() || line.empty()) continue;
    QString s = ToQString(line);
    if (elide) s = QFontMetrics(font.font).elidedText(s, Qt::ElideRight, box.width());
    if (lineRect.height() == lineHeight) {
      p.drawText(lineRect, static_cast<int>(align) | Qt::TextSingleLine, s);
    } else {
      // A line cut by the text box: drawn whole, clipped to the box.
      p.save();
      p.setClipRect(lineRect, Qt::IntersectClip);
      p.drawText(QRect(box.left(), y - lineHeight, box.width(), lineHeight), static_cast<int>(align) | Qt::TextSingleLine, s);
      p.restore();
    }
  }
}

void GridPainter::DrawPicture(QPainter& p, int row, int col, const QRect& rect) const {
  const CellImage* picture = grid_.Picture(row, col);
  if (!picture || picture->images.empty()) return;
  const PixelRect cell{rect.left(), rect.top(), rect.right() + 1, rect.bottom() + 1};
  const auto mapping =
      CellPictureMapping(picture->images.CachedBounds(), cell, picture->dScael, grid_.EffectiveFormat(row, col));
  if (!mapping) return;
  p.save();
  p.setClipRect(rect.adjusted(1, 1, -1, -1), Qt::IntersectClip);
  p.setRenderHint(QPainter::Antialiasing, false);
  p.setPen(QPen(colours_.buttonShadow, 0));
  p.setBrush(Qt::NoBrush);
  QPainterCanvas canvas(p, *mapping);
  picture->images.DrawAll(&canvas);
  p.restore();
}

}  // namespace vex
