#include "editor/editor_icons.h"

#include <QFont>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>

#include <functional>
#include <unordered_map>

#include "model/editor_commands.h"

namespace vex {
namespace {

using namespace editor_cmd;

// Every picture is drawn on a 16 x 16 grid; lines of width 1 lie on half units so that they
// fall on whole pixels at 16 and 32 pixels.
const QColor kInk(0x30, 0x34, 0x3a);
const QColor kPaper(0xff, 0xff, 0xff);
const QColor kShade(0xe4, 0xe8, 0xee);
const QColor kBlue(0x2a, 0x6c, 0xc4);
const QColor kLightBlue(0xbf, 0xd6, 0xf3);
const QColor kGreen(0x2c, 0x9a, 0x3c);
const QColor kLightGreen(0xc4, 0xea, 0xc4);
const QColor kRed(0xd4, 0x2f, 0x2f);
const QColor kLightRed(0xf6, 0xc4, 0xc4);
const QColor kYellow(0xf0, 0xbe, 0x3a);
const QColor kOrange(0xe8, 0x86, 0x22);
const QColor kBrown(0x9a, 0x6a, 0x3a);
const QColor kSheetGreen(0x1f, 0x74, 0x45);

using Draw = std::function<void(QPainter&)>;

void Line(QPainter& p, double x1, double y1, double x2, double y2, const QColor& c = kInk, double w = 1) {
  p.setPen(QPen(c, w, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin));
  p.drawLine(QPointF(x1, y1), QPointF(x2, y2));
}

void Box(QPainter& p, const QRectF& r, const QColor& fill, const QColor& ink = kInk) {
  p.setPen(QPen(ink, 1, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
  p.setBrush(fill);
  p.drawRect(r);
  p.setBrush(Qt::NoBrush);
}

void Fill(QPainter& p, const QRectF& r, const QColor& c) { p.fillRect(r, c); }

void Poly(QPainter& p, const QPolygonF& poly, const QColor& fill, const QColor& ink = kInk) {
  p.setPen(QPen(ink, 1, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  p.setBrush(fill);
  p.drawPolygon(poly);
  p.setBrush(Qt::NoBrush);
}

// An arrow from one point to another with a filled head.
void Arrow(QPainter& p, QPointF from, QPointF to, const QColor& c, double head = 3.2, double width = 1.6) {
  const QLineF shaft(from, to);
  const double len = shaft.length();
  if (len <= 0) return;
  const QPointF unit = (to - from) / len;
  const QPointF normal(-unit.y(), unit.x());
  const QPointF base = to - unit * head;
  p.setPen(QPen(c, width, Qt::SolidLine, Qt::FlatCap));
  p.drawLine(from, base + unit * 0.5);
  p.setPen(Qt::NoPen);
  p.setBrush(c);
  p.drawPolygon(QPolygonF({to, base + normal * head * 0.75, base - normal * head * 0.75}));
  p.setBrush(Qt::NoBrush);
}

void Plus(QPainter& p, QPointF c, const QColor& colour) {
  p.setPen(Qt::NoPen);
  p.setBrush(kPaper);
  p.drawEllipse(c, 3.6, 3.6);
  p.setBrush(colour);
  p.drawEllipse(c, 3.0, 3.0);
  p.setBrush(Qt::NoBrush);
  Line(p, c.x() - 1.8, c.y(), c.x() + 1.8, c.y(), kPaper, 1.2);
  Line(p, c.x(), c.y() - 1.8, c.x(), c.y() + 1.8, kPaper, 1.2);
}

void Minus(QPainter& p, QPointF c, const QColor& colour) {
  p.setPen(Qt::NoPen);
  p.setBrush(kPaper);
  p.drawEllipse(c, 3.6, 3.6);
  p.setBrush(colour);
  p.drawEllipse(c, 3.0, 3.0);
  p.setBrush(Qt::NoBrush);
  Line(p, c.x() - 1.8, c.y(), c.x() + 1.8, c.y(), kPaper, 1.2);
}

void Cross(QPainter& p, QPointF c, double r, const QColor& colour, double w = 1.8) {
  Line(p, c.x() - r, c.y() - r, c.x() + r, c.y() + r, colour, w);
  Line(p, c.x() - r, c.y() + r, c.x() + r, c.y() - r, colour, w);
}

// A grid of rows x cols cells in `r`; `band` colours one row (bandRow) or column (bandCol).
void Table(QPainter& p, const QRectF& r, int rows, int cols, int bandRow = -1, int bandCol = -1,
           const QColor& band = kLightBlue) {
  Fill(p, r, kPaper);
  const double ch = r.height() / rows, cw = r.width() / cols;
  if (bandRow >= 0) Fill(p, QRectF(r.left(), r.top() + bandRow * ch, r.width(), ch), band);
  if (bandCol >= 0) Fill(p, QRectF(r.left() + bandCol * cw, r.top(), cw, r.height()), band);
  p.setPen(QPen(kInk, 1));
  for (int i = 1; i < rows; ++i) p.drawLine(QPointF(r.left(), r.top() + i * ch), QPointF(r.right(), r.top() + i * ch));
  for (int j = 1; j < cols; ++j) p.drawLine(QPointF(r.left() + j * cw, r.top()), QPointF(r.left() + j * cw, r.bottom()));
  Box(p, r, Qt::transparent);
}

// A sheet of paper with a folded corner.
void Sheet(QPainter& p, const QRectF& r, const QColor& fill = kPaper) {
  const double f = 3;
  Poly(p, QPolygonF({r.topLeft(), QPointF(r.right() - f, r.top()), QPointF(r.right(), r.top() + f), r.bottomRight(),
                     r.bottomLeft()}),
       fill);
  Poly(p, QPolygonF({QPointF(r.right() - f, r.top()), QPointF(r.right() - f, r.top() + f), QPointF(r.right(), r.top() + f)}),
       kShade);
}

void Glyph(QPainter& p, const QString& text, const QRectF& r, const QColor& colour, bool bold = true, bool serif = false) {
  QFont font(serif ? QStringLiteral("DejaVu Serif") : QStringLiteral("DejaVu Sans"));
  font.setBold(bold);
  font.setPixelSize(12);
  QPainterPath path;
  path.addText(0, 0, font, text);
  const QRectF b = path.boundingRect();
  const double s = std::min(r.width() / b.width(), r.height() / b.height());
  QTransform t;
  t.translate(r.center().x(), r.center().y());
  t.scale(s, s);
  t.translate(-b.center().x(), -b.center().y());
  p.setPen(Qt::NoPen);
  p.setBrush(colour);
  p.drawPath(t.map(path));
  p.setBrush(Qt::NoBrush);
}

void Disk(QPainter& p, const QRectF& r) {
  const double u = r.width() / 13;
  Poly(p, QPolygonF({r.topLeft(), QPointF(r.right() - 2 * u, r.top()), QPointF(r.right(), r.top() + 2 * u), r.bottomRight(),
                     r.bottomLeft()}),
       kBlue);
  Fill(p, QRectF(r.left() + 3 * u, r.top() + 0.5, 6 * u, 4 * u), kShade);
  Fill(p, QRectF(r.left() + 7 * u, r.top() + 1 * u, 1.4 * u, 2.5 * u), kInk);
  Fill(p, QRectF(r.left() + 2.5 * u, r.top() + 7 * u, 8 * u, r.height() - 7.5 * u), kPaper);
}

// A small drawing: a circle on a triangle, the kind of thing a cell picture holds.
void Shape(QPainter& p, const QRectF& r, const QColor& ink = kInk) {
  p.setPen(QPen(ink, 1));
  p.setBrush(kLightBlue);
  p.drawPolygon(QPolygonF({QPointF(r.left(), r.bottom()), QPointF(r.center().x(), r.top() + r.height() * 0.35),
                           QPointF(r.right(), r.bottom())}));
  p.setBrush(kPaper);
  const double d = r.width() * 0.45;
  p.drawEllipse(QRectF(r.center().x() - d / 2, r.top(), d, d));
  p.setBrush(Qt::NoBrush);
}

void Folder(QPainter& p) {
  Poly(p, QPolygonF({QPointF(1.5, 3.5), QPointF(6, 3.5), QPointF(7.5, 5), QPointF(13.5, 5), QPointF(13.5, 13.5),
                     QPointF(1.5, 13.5)}),
       QColor(0xd9, 0xa2, 0x2a));
  Poly(p, QPolygonF({QPointF(3.5, 7.5), QPointF(15.5, 7.5), QPointF(13.5, 13.5), QPointF(1.5, 13.5)}), kYellow);
}

// Aligned text lines: `where` 0 left, 1 centre, 2 right.
void TextLines(QPainter& p, int where) {
  const double widths[] = {12, 8, 12, 6};
  for (int i = 0; i < 4; ++i) {
    const double w = widths[i];
    const double x = where == 0 ? 2 : where == 1 ? 8 - w / 2 : 14 - w;
    Line(p, x, 3.5 + i * 3, x + w, 3.5 + i * 3, kInk, 1.4);
  }
}

// Two bars against a reference line: `where` 0 top, 1 middle, 2 bottom.
void Bars(QPainter& p, int where) {
  const double h1 = 9, h2 = 5;
  const auto top = [&](double h) { return where == 0 ? 2.5 : where == 1 ? 8 - h / 2 : 13.5 - h; };
  Box(p, QRectF(3.5, top(h1), 3, h1), kLightBlue, kBlue);
  Box(p, QRectF(9.5, top(h2), 3, h2), kLightBlue, kBlue);
  const double y = where == 0 ? 1.5 : where == 1 ? 8 : 14.5;
  Line(p, 1, y, 15, y, kInk, 1.2);
}

void Clock(QPainter& p, QPointF c, double r) {
  p.setPen(QPen(kInk, 1));
  p.setBrush(kPaper);
  p.drawEllipse(c, r, r);
  p.setBrush(Qt::NoBrush);
  Line(p, c.x(), c.y(), c.x(), c.y() - r * 0.65, kInk, 1.2);
  Line(p, c.x(), c.y(), c.x() + r * 0.5, c.y() + r * 0.2, kInk, 1.2);
}

// A bent arrow that turns back: `forward` points right (redo), else left (undo).
void TurnArrow(QPainter& p, bool forward) {
  p.save();
  if (forward) {
    p.translate(16, 0);
    p.scale(-1, 1);
  }
  QPainterPath path;
  path.moveTo(13.5, 13);
  path.cubicTo(14.5, 6.5, 9, 4.5, 4.5, 6.5);
  p.setPen(QPen(kBlue, 1.8, Qt::SolidLine, Qt::RoundCap));
  p.drawPath(path);
  p.setPen(Qt::NoPen);
  p.setBrush(kBlue);
  p.drawPolygon(QPolygonF({QPointF(1.5, 7.5), QPointF(6.5, 3), QPointF(7, 10)}));
  p.restore();
}

void Padlock(QPainter& p, QPointF at, bool open) {
  p.setPen(QPen(kInk, 1.3));
  QPainterPath shackle;
  const double x = at.x(), y = at.y();
  shackle.moveTo(x + 1, y + 4);
  shackle.lineTo(x + 1, y + 2);
  shackle.arcTo(QRectF(x + 1, y - 1, 5, 5), 180, -180);
  if (!open) shackle.lineTo(x + 6, y + 4);
  p.drawPath(shackle);
  Box(p, QRectF(x, y + 4, 7, 5), kYellow);
}

const std::unordered_map<int, Draw>& Drawings() {
  static const std::unordered_map<int, Draw> drawings = {
      {kNew,
       [](QPainter& p) {
         Sheet(p, QRectF(2.5, 1.5, 10, 13));
         Plus(p, QPointF(12, 12), kGreen);
       }},
      {kOpen, [](QPainter& p) { Folder(p); }},
      {kSave, [](QPainter& p) { Disk(p, QRectF(1.5, 1.5, 13, 13)); }},
      {kEditDrawn,
       [](QPainter& p) {
         Table(p, QRectF(1.5, 4.5, 10, 9), 3, 3);
         // a pencil across the table's corner
         Poly(p, QPolygonF({QPointF(8, 12.5), QPointF(14, 4.5), QPointF(15.5, 6), QPointF(9.5, 14), QPointF(7.5, 14.5)}),
              kOrange);
         Line(p, 7.5, 14.5, 8.6, 13.2, kInk, 1.2);
       }},
      {kExcelImport,
       [](QPainter& p) {
         Box(p, QRectF(0.5, 1.5, 8, 8), kSheetGreen, kSheetGreen);
         Cross(p, QPointF(4.5, 5.5), 2, kPaper, 1.4);
         Table(p, QRectF(8.5, 8.5, 7, 7), 2, 2);
         Arrow(p, QPointF(5, 11), QPointF(8.5, 14.5), kBlue, 2.6, 1.4);
       }},
      {kExcelExport,
       [](QPainter& p) {
         Table(p, QRectF(0.5, 1.5, 7, 7), 2, 2);
         Box(p, QRectF(7.5, 7.5, 8, 8), kSheetGreen, kSheetGreen);
         Cross(p, QPointF(11.5, 11.5), 2, kPaper, 1.4);
         Arrow(p, QPointF(3, 10), QPointF(6.5, 14.5), kBlue, 2.6, 1.4);
       }},
      {kInsertHeader,
       [](QPainter& p) {
         Table(p, QRectF(1.5, 1.5, 11, 10), 3, 3, 0, -1, kBlue);
         Plus(p, QPointF(12, 12), kGreen);
       }},
      {kSaveHeader,
       [](QPainter& p) {
         Table(p, QRectF(1.5, 1.5, 11, 10), 3, 3, 0, -1, kBlue);
         Disk(p, QRectF(8.5, 8.5, 7, 7));
       }},
      {kHeaderManager,
       [](QPainter& p) {
         for (int i = 2; i >= 0; --i) {
           const QRectF r(1.5 + i * 2, 1.5 + i * 2, 9, 9);
           Box(p, r, kPaper);
           Fill(p, QRectF(r.left() + 0.5, r.top() + 0.5, r.width() - 1, 2.5), kBlue);
         }
         Line(p, 7, 10.5, 12, 10.5);
         Line(p, 7, 12.5, 11, 12.5);
       }},
      {kTbText,
       [](QPainter& p) {
         Glyph(p, QStringLiteral("A"), QRectF(2, 1, 12, 11), kInk, true, true);
         Line(p, 2, 14.5, 14, 14.5, kBlue, 1.4);
       }},
      {kTbPicture,
       [](QPainter& p) {
         Box(p, QRectF(1.5, 2.5, 13, 11), QColor(0xdc, 0xee, 0xfb));
         Poly(p, QPolygonF({QPointF(2, 13), QPointF(6.5, 6.5), QPointF(9.5, 10), QPointF(11, 8.5), QPointF(14, 13)}), kGreen,
              kSheetGreen);
         p.setPen(Qt::NoPen);
         p.setBrush(kYellow);
         p.drawEllipse(QPointF(11.5, 5.5), 1.6, 1.6);
       }},
      {kSelectImage,
       [](QPainter& p) {
         p.setPen(QPen(kInk, 1, Qt::DashLine));
         p.drawRect(QRectF(1.5, 1.5, 11, 10));
         Shape(p, QRectF(3.5, 3.5, 7, 7));
         Poly(p, QPolygonF({QPointF(9.5, 8.5), QPointF(9.5, 15.5), QPointF(11.3, 13.8), QPointF(12.8, 15.8),
                            QPointF(14, 15), QPointF(12.6, 13), QPointF(15, 12.5)}),
              kPaper);
       }},
      {kDrawImage,
       [](QPainter& p) {
         Shape(p, QRectF(1.5, 1.5, 7, 7));
         Arrow(p, QPointF(7, 8), QPointF(11.5, 12.5), kBlue, 3, 1.5);
         Line(p, 13, 10.5, 13, 15.5, kRed, 1);
         Line(p, 10.5, 13, 15.5, 13, kRed, 1);
       }},
      {kDeleteImage,
       [](QPainter& p) {
         Shape(p, QRectF(1.5, 1.5, 10, 10));
         Cross(p, QPointF(12, 12), 2.6, kRed, 2);
       }},
      {kFlipH,
       [](QPainter& p) {
         Poly(p, QPolygonF({QPointF(6.5, 3.5), QPointF(6.5, 12.5), QPointF(1.5, 12.5)}), kBlue);
         Poly(p, QPolygonF({QPointF(9.5, 3.5), QPointF(9.5, 12.5), QPointF(14.5, 12.5)}), kPaper);
         p.setPen(QPen(kRed, 1, Qt::DashLine));
         p.drawLine(QPointF(8, 0.5), QPointF(8, 15.5));
       }},
      {kFlipV,
       [](QPainter& p) {
         Poly(p, QPolygonF({QPointF(3.5, 6.5), QPointF(12.5, 6.5), QPointF(3.5, 1.5)}), kBlue);
         Poly(p, QPolygonF({QPointF(3.5, 9.5), QPointF(12.5, 9.5), QPointF(3.5, 14.5)}), kPaper);
         p.setPen(QPen(kRed, 1, Qt::DashLine));
         p.drawLine(QPointF(0.5, 8), QPointF(15.5, 8));
       }},
      {kAbout,
       [](QPainter& p) {
         p.setPen(Qt::NoPen);
         p.setBrush(kBlue);
         p.drawEllipse(QPointF(8, 8), 7, 7);
         Glyph(p, QStringLiteral("i"), QRectF(6, 3, 4, 10), kPaper, true, true);
       }},
      {kCut,
       [](QPainter& p) {
         Line(p, 4, 1.5, 10.5, 10.5, kInk, 1.3);
         Line(p, 12, 1.5, 5.5, 10.5, kInk, 1.3);
         p.setPen(QPen(kRed, 1.5));
         p.drawEllipse(QPointF(4.5, 12.5), 2.3, 2.3);
         p.drawEllipse(QPointF(11.5, 12.5), 2.3, 2.3);
       }},
      {kCopy,
       [](QPainter& p) {
         Sheet(p, QRectF(1.5, 1.5, 8, 10), kShade);
         Sheet(p, QRectF(6.5, 4.5, 8, 10));
         Line(p, 8.5, 9.5, 12.5, 9.5, kBlue);
         Line(p, 8.5, 11.5, 12.5, 11.5, kBlue);
       }},
      {kPaste,
       [](QPainter& p) {
         Box(p, QRectF(1.5, 2.5, 10, 12), kBrown);
         Box(p, QRectF(4.5, 1.5, 4, 2), kShade);
         Sheet(p, QRectF(6.5, 6.5, 8, 9));
         Line(p, 8.5, 10.5, 12.5, 10.5, kBlue);
         Line(p, 8.5, 12.5, 12.5, 12.5, kBlue);
       }},
      {kTbLeft, [](QPainter& p) { TextLines(p, 0); }},
      {kTbCentre, [](QPainter& p) { TextLines(p, 1); }},
      {kTbRight, [](QPainter& p) { TextLines(p, 2); }},
      {kTbTop, [](QPainter& p) { Bars(p, 0); }},
      {kTbMiddle, [](QPainter& p) { Bars(p, 1); }},
      {kTbBottom, [](QPainter& p) { Bars(p, 2); }},
      {kTbMerge,
       [](QPainter& p) {
         Box(p, QRectF(0.5, 3.5, 15, 9), kLightBlue);
         p.setPen(QPen(kInk, 1, Qt::DotLine));
         p.drawLine(QPointF(8, 4), QPointF(8, 12));
         Arrow(p, QPointF(1.5, 8), QPointF(6.8, 8), kBlue, 2.6, 1.4);
         Arrow(p, QPointF(14.5, 8), QPointF(9.2, 8), kBlue, 2.6, 1.4);
       }},
      {kTbUnmerge,
       [](QPainter& p) {
         Box(p, QRectF(0.5, 3.5, 15, 9), kPaper);
         Line(p, 8, 4, 8, 12);
         Arrow(p, QPointF(6.5, 8), QPointF(1.2, 8), kBlue, 2.6, 1.4);
         Arrow(p, QPointF(9.5, 8), QPointF(14.8, 8), kBlue, 2.6, 1.4);
       }},
      {kTbUseReplacement,
       [](QPainter& p) {
         // a typed "d" comes out as the degree sign
         Glyph(p, QStringLiteral("d"), QRectF(0.5, 3, 6, 10), kInk);
         Arrow(p, QPointF(6.5, 9), QPointF(10.5, 9), kBlue, 2.4, 1.3);
         p.setPen(QPen(kRed, 1.6));
         p.drawEllipse(QPointF(13, 5.5), 2.2, 2.2);
       }},
      {kReplacementList,
       [](QPainter& p) {
         Box(p, QRectF(0.5, 0.5, 15, 15), kPaper);
         for (int i = 0; i < 3; ++i) {
           const double y = 4 + i * 4;
           Line(p, 2.5, y, 5.5, y, kInk, 1.4);
           Arrow(p, QPointF(6.5, y), QPointF(10, y), kBlue, 2, 1);
           Line(p, 11, y, 13.5, y, kRed, 1.4);
         }
       }},
      {kTbFullEditing,
       [](QPainter& p) {
         Table(p, QRectF(0.5, 0.5, 11, 10), 3, 3);
         Padlock(p, QPointF(8.5, 6.5), true);
       }},
      {kRowHeight,
       [](QPainter& p) {
         Line(p, 1, 2.5, 15, 2.5, kInk, 1.2);
         Line(p, 1, 13.5, 15, 13.5, kInk, 1.2);
         Arrow(p, QPointF(8, 8), QPointF(8, 3.5), kBlue, 2.8, 1.4);
         Arrow(p, QPointF(8, 8), QPointF(8, 12.5), kBlue, 2.8, 1.4);
       }},
      {kColWidth,
       [](QPainter& p) {
         Line(p, 2.5, 1, 2.5, 15, kInk, 1.2);
         Line(p, 13.5, 1, 13.5, 15, kInk, 1.2);
         Arrow(p, QPointF(8, 8), QPointF(3.5, 8), kBlue, 2.8, 1.4);
         Arrow(p, QPointF(8, 8), QPointF(12.5, 8), kBlue, 2.8, 1.4);
       }},
      {kTbLoadAutosave,
       [](QPainter& p) {
         Table(p, QRectF(0.5, 0.5, 10, 9), 3, 3);
         Clock(p, QPointF(11, 11), 4.3);
       }},
      {kDeleteRows,
       [](QPainter& p) {
         Table(p, QRectF(0.5, 1.5, 12, 10), 3, 3, 1, -1, kLightRed);
         Minus(p, QPointF(12, 12), kRed);
       }},
      {kDeleteCols,
       [](QPainter& p) {
         Table(p, QRectF(0.5, 1.5, 12, 10), 3, 3, -1, 1, kLightRed);
         Minus(p, QPointF(12, 12), kRed);
       }},
      {kRowsAbove,
       [](QPainter& p) {
         Table(p, QRectF(0.5, 1.5, 12, 12), 3, 3, 0, -1, kLightGreen);
         Arrow(p, QPointF(14.2, 9.5), QPointF(14.2, 2), kGreen, 2.6, 1.4);
       }},
      {kRowsBelow,
       [](QPainter& p) {
         Table(p, QRectF(0.5, 2.5, 12, 12), 3, 3, 2, -1, kLightGreen);
         Arrow(p, QPointF(14.2, 6.5), QPointF(14.2, 14), kGreen, 2.6, 1.4);
       }},
      {kColsLeft,
       [](QPainter& p) {
         Table(p, QRectF(1.5, 0.5, 12, 12), 3, 3, -1, 0, kLightGreen);
         Arrow(p, QPointF(9.5, 14.2), QPointF(2, 14.2), kGreen, 2.6, 1.4);
       }},
      {kColsRight,
       [](QPainter& p) {
         Table(p, QRectF(2.5, 0.5, 12, 12), 3, 3, -1, 2, kLightGreen);
         Arrow(p, QPointF(6.5, 14.2), QPointF(14, 14.2), kGreen, 2.6, 1.4);
       }},
      {kClose,
       [](QPainter& p) {
         Box(p, QRectF(1.5, 1.5, 13, 13), kPaper);
         Fill(p, QRectF(2, 2, 12, 2.5), kBlue);
         Cross(p, QPointF(8, 9.5), 2.8, kRed, 2);
       }},
      {kHelpContents,
       [](QPainter& p) {
         p.setPen(Qt::NoPen);
         p.setBrush(kGreen);
         p.drawEllipse(QPointF(8, 8), 7, 7);
         Glyph(p, QStringLiteral("?"), QRectF(4.5, 3, 7, 10), kPaper);
       }},
      {kUndo, [](QPainter& p) { TurnArrow(p, false); }},
      {kRedo, [](QPainter& p) { TurnArrow(p, true); }},
      {kHeaderWeb,
       [](QPainter& p) {
         Table(p, QRectF(0.5, 0.5, 9, 8), 2, 3, 0, -1, kBlue);
         p.setPen(QPen(kBlue, 1));
         p.setBrush(kLightBlue);
         p.drawEllipse(QPointF(11, 11), 4.3, 4.3);
         p.setBrush(Qt::NoBrush);
         p.drawEllipse(QRectF(9.2, 6.7, 3.6, 8.6));
         p.drawLine(QPointF(6.7, 11), QPointF(15.3, 11));
       }},
      {kSupport,
       [](QPainter& p) {
         p.setPen(Qt::NoPen);
         p.setBrush(kRed);
         p.drawEllipse(QPointF(8, 8), 7, 7);
         p.setBrush(kPaper);
         p.drawEllipse(QPointF(8, 8), 3.2, 3.2);
         p.setPen(QPen(kPaper, 2.2));
         p.drawLine(QPointF(3, 3), QPointF(5.8, 5.8));
         p.drawLine(QPointF(13, 13), QPointF(10.2, 10.2));
         p.drawLine(QPointF(13, 3), QPointF(10.2, 5.8));
         p.drawLine(QPointF(3, 13), QPointF(5.8, 10.2));
       }},
      {kUpdate,
       [](QPainter& p) {
         p.setPen(QPen(kGreen, 1.8, Qt::SolidLine, Qt::FlatCap));
         p.drawArc(QRectF(2, 2, 12, 12), 30 * 16, 150 * 16);
         p.drawArc(QRectF(2, 2, 12, 12), 210 * 16, 150 * 16);
         Arrow(p, QPointF(8, 4.5), QPointF(8, 11.5), kBlue, 3, 1.6);
       }},
      {kWebHome,
       [](QPainter& p) {
         Poly(p, QPolygonF({QPointF(1, 8), QPointF(8, 1.5), QPointF(15, 8)}), kRed);
         Box(p, QRectF(3.5, 8, 9, 6.5), kPaper);
         Box(p, QRectF(6.5, 10.5, 3, 4), kBrown);
       }},
      {kWebForum,
       [](QPainter& p) {
         Poly(p, QPolygonF({QPointF(0.5, 1.5), QPointF(10.5, 1.5), QPointF(10.5, 8.5), QPointF(5, 8.5), QPointF(2.5, 11),
                            QPointF(2.5, 8.5), QPointF(0.5, 8.5)}),
              kLightBlue);
         Poly(p, QPolygonF({QPointF(5.5, 6.5), QPointF(15.5, 6.5), QPointF(15.5, 12.5), QPointF(13.5, 12.5),
                            QPointF(13.5, 15), QPointF(11, 12.5), QPointF(5.5, 12.5)}),
              kLightGreen);
       }},
      {kWebMail,
       [](QPainter& p) {
         Box(p, QRectF(0.5, 3.5, 15, 10), kPaper);
         p.setPen(QPen(kInk, 1));
         p.drawPolyline(QPolygonF({QPointF(0.5, 3.5), QPointF(8, 9.5), QPointF(15.5, 3.5)}));
       }},
  };
  return drawings;
}

// The drawing that stands for an identifier: toolbar buttons share the picture of the menu
// item they repeat; undo and redo and the rest have their own.
const Draw* DrawingFor(int id) {
  const auto& all = Drawings();
  for (int key : {id, CanonicalCommand(id)}) {
    const auto it = all.find(key);
    if (it != all.end()) return &it->second;
  }
  return nullptr;
}

}  // namespace

QPixmap RenderEditorIcon(int commandId, int size) {
  const Draw* draw = DrawingFor(commandId);
  if (draw == nullptr || size <= 0) return {};
  QPixmap pixmap(size, size);
  pixmap.fill(Qt::transparent);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  p.scale(size / 16.0, size / 16.0);
  (*draw)(p);
  return pixmap;
}

QIcon EditorIcon(int commandId) {
  if (DrawingFor(commandId) == nullptr) return {};
  QIcon icon;
  for (int size : {16, 24, 32, 48}) icon.addPixmap(RenderEditorIcon(commandId, size));
  return icon;
}

}  // namespace vex
