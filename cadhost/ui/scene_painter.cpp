#include "cadhost/ui/scene_painter.h"

#include <QFont>
#include <QGlyphRun>
#include <QPainter>
#include <QPainterPath>

#include "cadhost/sdk/text_metrics.h"

namespace cadhost::ui {
namespace {

// Glyphs are taken at this pixel size and scaled by the painter.
constexpr int kFontPixels = 64;
// CJK glyphs stand about this much of their em above and below the baseline: their em is
// scaled so that they fill the text's height as a CAD big font does.
constexpr double kWideHeightOfEm = 0.87;

QPointF Q(const Pt& p) { return {p.x, p.y}; }

QTransform ToQ(const Affine& m) { return QTransform(m.a, m.b, m.c, m.d, m.e, m.f); }

QRawFont LoadFont(const char* family) {
  QFont f(QString::fromUtf8(family));
  f.setPixelSize(kFontPixels);
  f.setStyleStrategy(QFont::NoFontMerging);
  return QRawFont::fromFont(f);
}

}  // namespace

QColor Visible(QColor colour, const QColor& background) {
  // Brightness as the eye sees it, not HSL lightness: yellow is nearly as bright as white.
  const int bg = qGray(background.rgb());
  if (std::abs(qGray(colour.rgb()) - bg) >= 56) return colour;
  // Darken on light backgrounds, lighten on dark ones, keeping the hue.
  return bg > 128 ? colour.darker(200) : colour.lighter(250);
}

ScenePainter::ScenePainter()
    : m_main(LoadFont("WenQuanYi Micro Hei Mono")), m_fallback(LoadFont("DejaVu Sans")) {
  if (m_main.isValid()) {
    const QList<quint32> a = m_main.glyphIndexesForString(QStringLiteral("A"));
    const QList<quint32> wide = m_main.glyphIndexesForString(QString::fromUtf8("表"));
    if (!a.isEmpty()) m_narrowAdvance = m_main.advancesForGlyphIndexes(a).value(0).x() / kFontPixels;
    if (!wide.isEmpty() && wide[0] != 0)
      m_wideAdvance = m_main.advancesForGlyphIndexes(wide).value(0).x() / kFontPixels;
    if (m_main.capHeight() > 0) m_capHeight = m_main.capHeight() / kFontPixels;
  }
}

bool ScenePainter::HasGlyph(char32_t c) const {
  return (m_main.isValid() && m_main.supportsCharacter(static_cast<uint>(c))) ||
         (m_fallback.isValid() && m_fallback.supportsCharacter(static_cast<uint>(c)));
}

const QRawFont& ScenePainter::FontFor(char32_t c) const {
  if (m_main.isValid() && m_main.supportsCharacter(static_cast<uint>(c))) return m_main;
  return m_fallback.isValid() ? m_fallback : m_main;
}

QColor ScenePainter::ColourOf(const Colour& c, const PaintStyle& style) const {
  if (style.monochrome || c.foreground) return style.foreground;
  return Visible(QColor::fromRgb(c.rgb), style.background);
}

void ScenePainter::SetPen(QPainter& painter, const QColor& colour, double widthPx, bool dashed) {
  // Pens are set only when they change: the painter's own pen says what it has, whichever
  // painter it is.
  const QPen& now = painter.pen();
  if (now.color() == colour && now.widthF() == widthPx && now.isCosmetic() &&
      (now.style() == Qt::CustomDashLine) == dashed && now.style() != Qt::NoPen)
    return;
  QPen pen(colour);
  pen.setWidthF(widthPx);
  pen.setCosmetic(true);
  pen.setCapStyle(widthPx > 1.5 ? Qt::RoundCap : Qt::FlatCap);
  pen.setJoinStyle(Qt::RoundJoin);
  if (dashed) pen.setDashPattern({4, 3});
  painter.setPen(pen);
}

void ScenePainter::Paint(QPainter& painter, const Scene& scene,
                         const std::vector<std::uint32_t>& order, const Affine& toDevice,
                         const PaintStyle& style, const std::unordered_set<AcDbObjectId>* hidden,
                         const std::unordered_set<AcDbObjectId>* highlighted) {
  painter.setRenderHint(QPainter::Antialiasing, style.antialias);
  painter.setRenderHint(QPainter::TextAntialiasing, true);
  const auto& entities = scene.Entities();
  const bool anyHidden = hidden != nullptr && !hidden->empty();
  const bool anyHighlighted = highlighted != nullptr && !highlighted->empty();
  for (std::uint32_t slot : order) {
    const EntityGraphics& e = entities[slot];
    if (anyHidden && hidden->count(e.id) != 0) continue;
    PaintEntity(painter, scene, e, toDevice, style, anyHighlighted && highlighted->count(e.id) != 0);
  }
}

void ScenePainter::PaintEntity(QPainter& painter, const Scene& scene, const EntityGraphics& e,
                               const Affine& toDevice, const PaintStyle& style, bool highlighted) {
  for (const FillPrim& f : e.fills) DrawFill(painter, f, toDevice, style, highlighted);
  for (const PolylinePrim& l : e.lines) DrawPolyline(painter, scene, l, toDevice, style, highlighted);
  for (const TextPrim& t : e.texts) DrawText(painter, t, toDevice, style, highlighted);
}

void ScenePainter::DrawPolyline(QPainter& painter, const Scene& scene, const PolylinePrim& prim,
                                const Affine& toDevice, const PaintStyle& style,
                                bool highlighted) {
  if (prim.points.empty()) return;
  const double width = style.pixelsPerMm > 0.0 ? std::max(1.0, prim.pen.weightMm * style.pixelsPerMm)
                                                : (highlighted && style.dashedHighlight ? 2.0 : 1.0);
  SetPen(painter, highlighted ? style.highlight : ColourOf(prim.pen.colour, style), width,
         highlighted && style.dashedHighlight);
  auto draw = [&](const std::vector<Pt>& pts, bool closed) {
    m_points.clear();
    for (const Pt& p : pts) m_points.push_back(Q(toDevice.Map(p)));
    if (closed && m_points.size() > 2) m_points.push_back(m_points.front());
    if (m_points.size() == 1 || (m_points.size() == 2 && m_points[0] == m_points[1])) {
      painter.drawPoint(m_points[0]);
      return;
    }
    painter.drawPolyline(m_points.data(), static_cast<int>(m_points.size()));
  };
  if (prim.pen.pattern < 0 || highlighted) {
    draw(prim.points, prim.closed);
    return;
  }
  // Dashes too small to see on the device are drawn as a continuous line.
  const DashPattern& pattern = scene.Pattern(prim.pen.pattern);
  if (pattern.Length() * toDevice.Scale() < 4.0) {
    draw(prim.points, prim.closed);
    return;
  }
  for (const auto& piece : DashPath(prim.points, prim.closed, pattern, 20000)) draw(piece, false);
}

void ScenePainter::DrawFill(QPainter& painter, const FillPrim& prim, const Affine& toDevice,
                            const PaintStyle& style, bool highlighted) {
  if (prim.polygon.size() < 3) return;
  m_points.clear();
  for (const Pt& p : prim.polygon) m_points.push_back(Q(toDevice.Map(p)));
  const QColor c = highlighted ? style.highlight : ColourOf(prim.colour, style);
  painter.save();
  painter.setPen(Qt::NoPen);
  painter.setBrush(highlighted ? QBrush(c, Qt::BDiagPattern) : QBrush(c));
  painter.drawPolygon(m_points.data(), static_cast<int>(m_points.size()));
  painter.restore();
}

void ScenePainter::DrawText(QPainter& painter, const TextPrim& prim, const Affine& toDevice,
                            const PaintStyle& style, bool highlighted) {
  // Text space (s along the baseline, t up) to the device.
  const Affine textToWorld{prim.u.x, prim.u.y, prim.v.x, prim.v.y, prim.origin.x, prim.origin.y};
  const Affine toDev = toDevice.After(textToWorld);
  const double pixelHeight = Length(toDev.MapVector({0, prim.height}));
  const QColor colour = highlighted ? style.highlight : ColourOf(prim.colour, style);
  if (pixelHeight < style.textLineFrom) return;
  const double lean = prim.lean * prim.height;
  if (pixelHeight < style.textGlyphsFrom || style.textBoxes) {
    SetPen(painter, colour, 1.0, highlighted && style.dashedHighlight);
    if (style.textBoxes && pixelHeight >= style.textGlyphsFrom) {
      const QPointF box[5] = {Q(toDev.Map({0, 0})), Q(toDev.Map({prim.advance, 0})),
                              Q(toDev.Map({prim.advance + lean, prim.height})),
                              Q(toDev.Map({lean, prim.height})), Q(toDev.Map({0, 0}))};
      painter.drawPolyline(box, 5);
    } else {
      const double mid = prim.height / 2;
      painter.drawLine(Q(toDev.Map({lean / 2, mid})), Q(toDev.Map({prim.advance + lean / 2, mid})));
    }
    return;
  }
  const std::vector<double> offsets = prim.Offsets();
  // Glyphs in runs of one font and one width class; each run is scaled so that a glyph fills
  // its character's advance and the text's height.
  struct Run {
    const QRawFont* font;
    bool wide;
    QList<quint32> glyphs;
    QList<QPointF> positions;
  };
  std::vector<Run> runs;
  for (std::size_t i = 0; i < prim.chars.size(); ++i) {
    const char32_t c = prim.chars[i];
    if (offsets[i + 1] <= offsets[i] || c == U' ') continue;  // zero width, or blank
    const QRawFont& font = FontFor(c);
    const bool wide = IsWideCharacter(c);
    Run* run = nullptr;
    for (Run& r : runs)
      if (r.font == &font && r.wide == wide) run = &r;
    if (run == nullptr) {
      runs.push_back({&font, wide, {}, {}});
      run = &runs.back();
    }
    char32_t cc = c;
    const QString s = QString::fromUcs4(&cc, 1);
    const QList<quint32> g = font.glyphIndexesForString(s);
    if (g.isEmpty()) continue;
    run->glyphs.append(g[0]);
    run->positions.append(QPointF(offsets[i], 0.0));  // text space for now
  }
  painter.save();
  painter.setPen(colour);
  for (Run& run : runs) {
    // Font pixels to text space: x by the advance the model gives, y by the height.
    const double sx = prim.height * prim.widthFactor *
                      (run.wide ? 1.0 : 0.5) / ((run.wide ? m_wideAdvance : m_narrowAdvance) * kFontPixels);
    const double sy = prim.height / ((run.wide ? kWideHeightOfEm : m_capHeight) * kFontPixels);
    for (QPointF& p : run.positions) p.setX(p.x() / sx);
    // Glyph space has y down; text space y up, leaning by the oblique angle.
    const Affine glyphToText{sx, 0.0, -prim.lean * sy, -sy, 0.0, 0.0};
    painter.setTransform(ToQ(toDev.After(glyphToText)));
    QGlyphRun glyphRun;
    glyphRun.setRawFont(*run.font);
    glyphRun.setGlyphIndexes(run.glyphs);
    glyphRun.setPositions(run.positions);
    painter.drawGlyphRun(QPointF(0, 0), glyphRun);
  }
  painter.restore();
}

}  // namespace cadhost::ui
