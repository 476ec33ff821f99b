#pragma once
// Draws a scene with QPainter: on the screen, into a plot, into a drag preview. One function
// per primitive kind. Text is drawn with a real font, each character placed where the host's
// text advance model puts it (so what shows lines up with extents and selection): CJK
// characters with the font's wide glyphs, the others with its narrow ones, squeezed to the
// model's advance. Text too small to read is drawn as a line through its middle, or left out.

#include <QColor>
#include <QRawFont>

#include <cstdint>
#include <unordered_set>
#include <vector>

#include "cadhost/ui/scene.h"

class QPainter;

namespace cadhost::ui {

struct PaintStyle {
  QColor background = QColor(33, 40, 48);
  QColor foreground = Qt::white;  // index colour 7
  bool monochrome = false;        // every colour drawn as the foreground
  // Lineweights drawn at this many device pixels per millimetre; 0 draws every line one
  // pixel wide, as a screen does.
  double pixelsPerMm = 0.0;
  bool antialias = false;
  // Text height on the device from which glyphs are drawn; smaller text down to `textLineFrom`
  // is a line through its middle, below that nothing.
  double textGlyphsFrom = 3.5;
  double textLineFrom = 0.75;
  // Texts as their boxes instead of glyphs (the reduced detail of a large drag).
  bool textBoxes = false;
  QColor highlight = QColor(255, 200, 64);
  // Highlighted entities dashed; a large selection is drawn solid in the highlight colour,
  // as dashes cost too much to draw by the hundred thousand.
  bool dashedHighlight = true;
};

// Keeps the fonts; one for the life of a view or a plot.
class ScenePainter {
 public:
  ScenePainter();

  // Draws the entities of `scene` in `order` (drawing order) through `toDevice`; entities in
  // `hidden` are left out and those in `highlighted` drawn dashed in the highlight colour.
  void Paint(QPainter& painter, const Scene& scene, const std::vector<std::uint32_t>& order,
             const Affine& toDevice, const PaintStyle& style,
             const std::unordered_set<AcDbObjectId>* hidden = nullptr,
             const std::unordered_set<AcDbObjectId>* highlighted = nullptr);
  // One entity, through `toDevice` (a drag preview moves it with the cursor).
  void PaintEntity(QPainter& painter, const Scene& scene, const EntityGraphics& entity,
                   const Affine& toDevice, const PaintStyle& style, bool highlighted = false);

  void DrawPolyline(QPainter& painter, const Scene& scene, const PolylinePrim& prim,
                    const Affine& toDevice, const PaintStyle& style, bool highlighted);
  void DrawFill(QPainter& painter, const FillPrim& prim, const Affine& toDevice,
                const PaintStyle& style, bool highlighted);
  void DrawText(QPainter& painter, const TextPrim& prim, const Affine& toDevice,
                const PaintStyle& style, bool highlighted);

  // The font that draws character `c`: the CJK font, or the fallback for what it lacks.
  const QRawFont& FontFor(char32_t c) const;
  bool HasGlyph(char32_t c) const;

 private:
  QColor ColourOf(const Colour& c, const PaintStyle& style) const;
  void SetPen(QPainter& painter, const QColor& colour, double widthPx, bool dashed);

  QRawFont m_main;      // WenQuanYi Micro Hei Mono: Latin half width, CJK full width
  QRawFont m_fallback;  // DejaVu Sans, for symbols the first lacks
  double m_narrowAdvance = 0.6;  // per pixel size
  double m_wideAdvance = 1.0;
  double m_capHeight = 0.714;
  std::vector<QPointF> m_points;  // scratch
};

// A drawing colour on a background: a colour too close to the background (yellow on paper,
// dark blue on the screen) is still told apart from it.
QColor Visible(QColor colour, const QColor& background);

}  // namespace cadhost::ui
