#include "cadhost/ui/drawing_view.h"

#include <QElapsedTimer>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>

#include "cadhost/sdk/aced.h"
#include "cadhost/sdk/dbxutil.h"
#include "cadhost/ui/input_queue.h"

namespace cadhost::ui {
namespace {

const QColor kCrosshair(200, 200, 200);
const QColor kSnapColour(120, 230, 80);
const QColor kWindowColour(80, 140, 255);
const QColor kCrossingColour(80, 220, 120);

QPointF Q(const Pt& p) { return {p.x, p.y}; }

Affine AffineOf(const ads_matrix m) {
  return {m[0][0], m[1][0], m[0][1], m[1][1], m[0][3], m[1][3]};
}

}  // namespace

DrawingView::DrawingView(AcApDocument* doc, ScenePainter& painter, InputQueue& queue,
                         QWidget* parent)
    : QWidget(parent), m_doc(doc), m_painter(painter), m_queue(queue),
      m_builder(doc != nullptr ? doc->database() : nullptr) {
  setMouseTracking(true);
  setFocusPolicy(Qt::StrongFocus);
  setCursor(Qt::BlankCursor);
  setAttribute(Qt::WA_OpaquePaintEvent);
  m_view.SetViewport(width(), height());
}

void DrawingView::Invalidate() {
  m_cacheValid = false;
  update();
}

void DrawingView::Refresh() {
  bool all = false;
  const std::vector<AcDbObjectId> changed = TakeChangedObjects(m_doc, all);
  bool redraw = false;
  if (all || !m_builder.Update(m_scene, changed)) {
    m_builder.BuildAll(m_scene);
    redraw = true;
  } else {
    redraw = !changed.empty();
  }
  if (!m_zoomedOnce && m_scene.Count() > 0) {
    m_view.SetViewport(width(), height());
    ZoomExtents();
    m_zoomedOnce = true;
  }
  const auto& hidden = HiddenOnScreen(m_doc);
  if (hidden != m_hidden) {
    m_hidden = hidden;
    redraw = true;
  }
  // Highlighting shows in the current drawing only: the selection is made there.
  std::unordered_set<AcDbObjectId> highlighted;
  if (acDocManager->curDocument() == m_doc) {
    const auto& h = Highlighted();
    highlighted.insert(h.begin(), h.end());
  }
  if (highlighted != m_highlighted) {
    m_highlighted = std::move(highlighted);
    redraw = true;
  }
  if (redraw) Invalidate();
  // A drag's entities are pointers into the scene, which may have moved.
  if (m_hasPrompt && !m_dragIds.empty()) {
    m_dragEntities.clear();
    for (AcDbObjectId id : m_dragIds)
      if (const EntityGraphics* g = m_scene.Find(id)) m_dragEntities.push_back(g);
  }
}

void DrawingView::Regenerate() {
  bool all = false;
  TakeChangedObjects(m_doc, all);
  m_builder.BuildAll(m_scene);
  // The prompt's dragged entities are found again in the new scene.
  PromptContext prompt = m_prompt;
  const std::vector<AcDbObjectId> dragged = m_dragIds;
  if (prompt.dragSet != nullptr) prompt.dragSet = &dragged;
  SetPrompt(m_hasPrompt ? &prompt : nullptr);
  Invalidate();
}

void DrawingView::SetPrompt(const PromptContext* context) {
  m_hasPrompt = context != nullptr;
  m_dragIds.clear();
  m_dragEntities.clear();
  m_dragValid = false;
  if (context != nullptr) {
    m_prompt = *context;
    if (context->dragSet != nullptr) {
      m_dragIds = *context->dragSet;
      m_prompt.dragSet = &m_dragIds;
      for (AcDbObjectId id : m_dragIds)
        if (const EntityGraphics* g = m_scene.Find(id)) m_dragEntities.push_back(g);
    }
  }
  if (m_inside) Track(m_cursor);
  update();
}

void DrawingView::SetSnapModes(unsigned modes) {
  m_snapModes = modes;
  if (m_inside) Track(m_cursor);
  update();
}

void DrawingView::ZoomExtents() {
  m_view.SetViewport(width(), height());
  m_view.ZoomTo(m_scene.Extents());
  m_zoomedOnce = true;
  Invalidate();
}

void DrawingView::ZoomWindow(const Box& area) {
  m_view.SetViewport(width(), height());
  m_view.ZoomTo(area, 0.0);
  // The drafter's view: the first entities drawn later must not zoom it away.
  m_zoomedOnce = true;
  Invalidate();
}

void DrawingView::StartZoomWindow() {
  m_mode = Mode::ZoomFirst;
  update();
}

void DrawingView::StartPan() {
  m_mode = Mode::Pan;
  setCursor(Qt::OpenHandCursor);
}

QPoint DrawingView::ScreenOf(const Pt& world) const {
  const Pt s = m_view.ToScreen(world);
  return {static_cast<int>(std::lround(s.x)), static_cast<int>(std::lround(s.y))};
}

Pt DrawingView::ToUcs(const Pt& world) const {
  ads_point w = {world.x, world.y, 0.0}, u;
  acdbWcs2Ucs(w, u, false);
  return {u[X], u[Y]};
}

Pt DrawingView::FromUcs(const AcGePoint3d& ucs) const {
  ads_point u = {ucs.x, ucs.y, ucs.z}, w;
  acdbUcs2Wcs(u, w, false);
  return {w[X], w[Y]};
}

double DrawingView::PickBoxPixels() const {
  resbuf rb{};
  if (acedGetVar("PICKBOX", &rb) == RTNORM && rb.restype == RTSHORT && rb.resval.rint > 0)
    return rb.resval.rint;
  return 3.0;
}

void DrawingView::RenderCache() {
  QElapsedTimer timer;
  timer.start();
  const qreal dpr = devicePixelRatioF();
  if (m_cache.size() != size() * dpr) {
    m_cache = QImage(size() * dpr, QImage::Format_RGB32);
    m_cache.setDevicePixelRatio(dpr);
  }
  PaintStyle style;
  style.dashedHighlight = m_highlighted.size() <= kReducedDragFrom;
  m_cache.fill(style.background);
  QPainter p(&m_cache);
  m_view.SetViewport(width(), height());
  m_painter.Paint(p, m_scene, m_scene.Query(m_view.Visible()), m_view.WorldToScreen(), style,
                  &m_hidden, &m_highlighted);
  m_cacheValid = true;
  m_lastRenderMs = timer.nsecsElapsed() / 1e6;
}

QImage DrawingView::Render() {
  if (!m_cacheValid) RenderCache();
  QImage out = m_cache.copy();
  QPainter p(&out);
  DrawDragPreview(p);
  DrawOverlay(p);
  return out;
}

void DrawingView::paintEvent(QPaintEvent*) {
  if (!m_cacheValid) RenderCache();
  QPainter p(this);
  p.drawImage(0, 0, m_cache);
  DrawDragPreview(p);
  DrawOverlay(p);
}

void DrawingView::resizeEvent(QResizeEvent*) {
  // The drawing point at the centre stays there.
  m_view.SetViewport(width(), height());
  Invalidate();
}

bool DrawingView::TakesPicks() const {
  if (!m_hasPrompt) return false;
  switch (m_prompt.kind) {
    case PromptContext::Kind::Text:
    case PromptContext::Kind::Other:
      return false;
    default:
      return true;
  }
}

bool DrawingView::SnapsApply() const {
  if (!m_hasPrompt || m_snapModes == 0) return false;
  return m_prompt.kind == PromptContext::Kind::Point ||
         m_prompt.kind == PromptContext::Kind::Corner || m_prompt.kind == PromptContext::Kind::Drag;
}

void DrawingView::Track(const QPointF& screen) {
  m_cursor = screen;
  m_cursorWorld = m_view.ToWorld({screen.x(), screen.y()});
  m_snap.reset();
  if (SnapsApply()) {
    const double aperture = kSnapAperture / m_view.Scale();
    const Box near = Box::Of(m_cursorWorld, m_cursorWorld).Grown(aperture);
    std::vector<const SnapGeometry*> geometry;
    for (std::uint32_t slot : m_scene.Query(near)) {
      const EntityGraphics& g = m_scene.Entities()[slot];
      if (m_hidden.count(g.id) == 0 && !g.snaps.Empty()) geometry.push_back(&g.snaps);
      if (geometry.size() > 200) break;  // a crowd under the cursor: the first ones will do
    }
    m_snap = FindSnap(geometry, m_cursorWorld, aperture, m_snapModes);
  }
  m_dragValid = false;
  if (m_hasPrompt && m_prompt.kind == PromptContext::Kind::Drag && m_prompt.dragCallback != nullptr) {
    const Pt at = ToUcs(m_snap ? m_snap->point : m_cursorWorld);
    ads_point pt = {at.x, at.y, 0.0};
    ads_matrix m = {{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}};
    if (m_prompt.dragCallback(pt, m) == RTNORM) {
      m_dragMatrix = AffineOf(m);
      m_dragValid = true;
    }
  }
  const Pt ucs = ToUcs(m_cursorWorld);
  emit CursorMoved(ucs.x, ucs.y, 0.0);
}

void DrawingView::Deliver(const QPointF& screen, Qt::KeyboardModifiers mods, bool window) {
  Track(screen);
  PickedPoint pick;
  pick.window = window;
  const Pt world = m_snap ? m_snap->point : m_cursorWorld;
  const Pt ucs = ToUcs(world);
  pick.point = AcGePoint3d(ucs.x, ucs.y, 0.0);
  pick.aperture = PickBoxPixels() / m_view.Scale();
  pick.shift = (mods & Qt::ShiftModifier) != 0;
  m_queue.Pick(pick);
}

void DrawingView::mousePressEvent(QMouseEvent* e) {
  const QPointF at = e->position();
  if (e->button() == Qt::MiddleButton || (e->button() == Qt::LeftButton && m_mode == Mode::Pan)) {
    m_panning = true;
    m_panFrom = at;
    return;
  }
  if (e->button() != Qt::LeftButton) return;
  if (m_mode == Mode::ZoomFirst) {
    m_zoomFirst = m_view.ToWorld({at.x(), at.y()});
    m_mode = Mode::ZoomSecond;
    return;
  }
  if (m_mode == Mode::ZoomSecond) {
    m_mode = Mode::None;
    ZoomWindow(Box::Of(m_zoomFirst, m_view.ToWorld({at.x(), at.y()})));
    return;
  }
  m_leftDown = true;
  m_pressAt = at;
  update();
}

bool DrawingView::Windowing() const {
  if (!m_leftDown || !m_hasPrompt) return false;
  const QPointF d = m_cursor - m_pressAt;
  return (m_prompt.kind == PromptContext::Kind::Command ||
          m_prompt.kind == PromptContext::Kind::Select) &&
         std::max(std::abs(d.x()), std::abs(d.y())) > kDragThreshold;
}

void DrawingView::mouseReleaseEvent(QMouseEvent* e) {
  if (m_panning && (e->button() == Qt::MiddleButton || e->button() == Qt::LeftButton)) {
    m_panning = false;
    return;
  }
  if (e->button() != Qt::LeftButton || !m_leftDown) return;
  m_cursor = e->position();
  const bool window = Windowing();
  m_leftDown = false;
  if (!TakesPicks()) return;
  if (window) {
    // Press, drag and release: a window from the press to the release.
    Deliver(m_pressAt, e->modifiers(), true);
    Deliver(e->position(), e->modifiers());
  } else {
    Deliver(m_pressAt, e->modifiers());
  }
  update();
}

void DrawingView::mouseDoubleClickEvent(QMouseEvent* e) {
  if (e->button() == Qt::MiddleButton) {
    ZoomExtents();
    return;
  }
  mousePressEvent(e);
}

void DrawingView::mouseMoveEvent(QMouseEvent* e) {
  m_inside = true;
  if (m_panning) {
    const QPointF d = e->position() - m_panFrom;
    m_panFrom = e->position();
    m_view.PanBy(d.x(), d.y());
    m_zoomedOnce = true;
    Invalidate();
  }
  Track(e->position());
  update();
}

void DrawingView::wheelEvent(QWheelEvent* e) {
  const QPointF at = e->position();
  m_view.ZoomAbout({at.x(), at.y()}, ViewTransform::WheelFactor(e->angleDelta().y()));
  m_zoomedOnce = true;
  Track(at);
  Invalidate();
}

void DrawingView::keyPressEvent(QKeyEvent* e) {
  if (m_mode != Mode::None && e->key() == Qt::Key_Escape) {
    m_mode = Mode::None;
    m_panning = false;
    setCursor(Qt::BlankCursor);
    update();
    return;
  }
  if (m_keys) m_keys(e);
  else QWidget::keyPressEvent(e);
}

void DrawingView::leaveEvent(QEvent*) {
  m_inside = false;
  m_snap.reset();
  update();
}

void DrawingView::DrawDragPreview(QPainter& p) {
  if (!m_dragValid || m_dragEntities.empty()) return;
  PaintStyle style;
  const bool reduced = m_dragEntities.size() > kReducedDragFrom;
  if (reduced) {
    // Rules and the boxes of texts that show; small texts are left out.
    style.textBoxes = true;
    style.textLineFrom = style.textGlyphsFrom;
  }
  const Affine toScreen = m_view.WorldToScreen().After(m_dragMatrix);
  // Only what the moved set shows inside the view.
  const Box visible = m_view.Visible();
  for (const EntityGraphics* g : m_dragEntities) {
    if (!m_dragMatrix.MapBox(g->box).Intersects(visible)) continue;
    m_painter.PaintEntity(p, m_scene, *g, toScreen, style, false);
  }
}

void DrawingView::DrawSnapMarker(QPainter& p, const Snap& snap) {
  const QPointF c = Q(m_view.ToScreen(snap.point));
  const double r = 6;
  p.setPen(QPen(kSnapColour, 2));
  p.setBrush(Qt::NoBrush);
  switch (snap.mode) {
    case kSnapEnd:
      p.drawRect(QRectF(c.x() - r, c.y() - r, 2 * r, 2 * r));
      break;
    case kSnapMid: {
      const QPointF tri[3] = {{c.x(), c.y() - r}, {c.x() + r, c.y() + r}, {c.x() - r, c.y() + r}};
      p.drawPolygon(tri, 3);
      break;
    }
    case kSnapInt:
      p.drawLine(QPointF(c.x() - r, c.y() - r), QPointF(c.x() + r, c.y() + r));
      p.drawLine(QPointF(c.x() - r, c.y() + r), QPointF(c.x() + r, c.y() - r));
      break;
    default:
      p.drawEllipse(c, r, r);
      break;
  }
  static const char* const kNames[] = {"", "Endpoint", "Midpoint", "", "Intersection", "", "", "", "Center"};
  p.drawText(c + QPointF(r + 4, r + 12), QString::fromLatin1(kNames[std::min<unsigned>(snap.mode, 8)]));
}

void DrawingView::DrawOverlay(QPainter& p) {
  p.setRenderHint(QPainter::Antialiasing, false);
  const Pt cursorScreen{m_cursor.x(), m_cursor.y()};
  if (m_hasPrompt && m_prompt.hasBase && m_inside) {
    const Pt base = m_view.ToScreen(FromUcs(m_prompt.base));
    const Pt to = m_snap ? m_view.ToScreen(m_snap->point) : cursorScreen;
    if (m_prompt.kind == PromptContext::Kind::Point) {
      p.setPen(QPen(kCrosshair, 1, Qt::DashLine));
      p.drawLine(Q(base), Q(to));
    } else if (m_prompt.kind == PromptContext::Kind::Corner) {
      p.setPen(QPen(kCrosshair, 1, Qt::DashLine));
      p.setBrush(Qt::NoBrush);
      p.drawRect(QRectF(Q(base), Q(to)).normalized());
    } else if (m_prompt.kind == PromptContext::Kind::SelectCorner) {
      // Left to right: a window, solid; right to left: a crossing, dashed.
      const bool window = to.x >= base.x;
      QColor fill = window ? kWindowColour : kCrossingColour;
      fill.setAlpha(50);
      p.setPen(QPen(window ? kWindowColour : kCrossingColour, 1,
                    window ? Qt::SolidLine : Qt::DashLine));
      p.setBrush(fill);
      p.drawRect(QRectF(Q(base), Q(to)).normalized());
    }
  }
  if (Windowing()) {
    const bool window = m_cursor.x() >= m_pressAt.x();
    QColor fill = window ? kWindowColour : kCrossingColour;
    fill.setAlpha(50);
    p.setPen(QPen(window ? kWindowColour : kCrossingColour, 1, window ? Qt::SolidLine : Qt::DashLine));
    p.setBrush(fill);
    p.drawRect(QRectF(m_pressAt, m_cursor).normalized());
  }
  if (m_mode == Mode::ZoomSecond && m_inside) {
    p.setPen(QPen(kCrosshair, 1, Qt::DashLine));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(Q(m_view.ToScreen(m_zoomFirst)), m_cursor).normalized());
  }
  if (!m_inside) return;
  p.setBrush(Qt::NoBrush);
  p.setPen(QPen(kCrosshair, 1));
  const bool selecting = m_hasPrompt && m_prompt.kind == PromptContext::Kind::Select;
  if (!selecting && m_mode != Mode::Pan) {
    p.drawLine(QPointF(0, m_cursor.y()), QPointF(width(), m_cursor.y()));
    p.drawLine(QPointF(m_cursor.x(), 0), QPointF(m_cursor.x(), height()));
  }
  const bool pickBox = !m_hasPrompt || selecting || m_prompt.kind == PromptContext::Kind::Command;
  if (pickBox) {
    const double r = PickBoxPixels();
    p.drawRect(QRectF(m_cursor.x() - r, m_cursor.y() - r, 2 * r, 2 * r));
  }
  if (m_snap) DrawSnapMarker(p, *m_snap);
}

}  // namespace cadhost::ui
