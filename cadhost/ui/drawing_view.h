#pragma once
// The view of one drawing: the drawing as the scene draws it (kept in an image, redrawn when
// the drawing or the view changes), and over it the crosshair, the pick box, rubber bands,
// selection windows, the object snap marker and the live preview of a drag. The wheel zooms
// about the cursor, the middle button pans, a double middle click zooms to the extents.
// Clicks answer the prompt that waits (points, picks, window corners) through the input
// queue, in the user coordinate system.

#include <QImage>
#include <QWidget>

#include <functional>
#include <optional>
#include <unordered_set>
#include <vector>

#include "cadhost/host/host_control.h"
#include "cadhost/ui/scene.h"
#include "cadhost/ui/scene_builder.h"
#include "cadhost/ui/scene_painter.h"
#include "cadhost/ui/snaps.h"
#include "cadhost/ui/view_transform.h"

namespace cadhost::ui {

class InputQueue;

class DrawingView : public QWidget {
  Q_OBJECT

 public:
  // Sets of dragged entities larger than this are previewed at reduced detail: their rules
  // and the boxes of texts large enough to see.
  static constexpr std::size_t kReducedDragFrom = 2000;
  // Pixels the cursor moves with the button down before a press and release make a window;
  // the picks go to the host at the release, so that the window does not depend on how fast
  // the host answers the press.
  static constexpr int kDragThreshold = 5;
  // Half size in pixels of the object snap aperture.
  static constexpr int kSnapAperture = 10;

  DrawingView(AcApDocument* doc, ScenePainter& painter, InputQueue& queue,
              QWidget* parent = nullptr);

  AcApDocument* Document() const { return m_doc; }
  // Reads what changed in the drawing since the last time, and what is hidden and
  // highlighted, and redraws. The first time it zooms to the extents.
  void Refresh();
  // The prompt this view's clicks answer (a copy is kept); null while none waits.
  void SetPrompt(const PromptContext* context);
  // Reads the whole drawing again (REGEN) and redraws.
  void Regenerate();
  // Object snap modes (SnapMode bits); 0 turns snapping off.
  void SetSnapModes(unsigned modes);
  unsigned SnapModes() const { return m_snapModes; }

  void ZoomExtents();
  void ZoomWindow(const Box& area);
  // The next two clicks give a window to zoom to, or the left button pans until Esc.
  void StartZoomWindow();
  void StartPan();
  bool InViewMode() const { return m_mode != Mode::None; }

  ViewTransform& Transform() { return m_view; }
  const ViewTransform& Transform() const { return m_view; }
  const Scene& GetScene() const { return m_scene; }
  // Where a drawing point shows.
  QPoint ScreenOf(const Pt& world) const;
  // The cursor's drawing point, and the object snap found there (if any).
  Pt CursorWorld() const { return m_cursorWorld; }
  std::optional<Snap> CurrentSnap() const { return m_snap; }
  // How long the last full redraw of the drawing took.
  double LastRenderMs() const { return m_lastRenderMs; }
  // Draws the view now (as the window would: the drawing redrawn only when it or the view
  // changed) into an image, for tests and benchmarks.
  QImage Render();

  // Keys typed over the view go here (the command line).
  void SetKeyHandler(std::function<void(QKeyEvent*)> handler) { m_keys = std::move(handler); }

 signals:
  // The cursor's position in the user coordinate system.
  void CursorMoved(double x, double y, double z);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void leaveEvent(QEvent* event) override;

 private:
  enum class Mode { None, ZoomFirst, ZoomSecond, Pan };

  void Invalidate();
  void RenderCache();
  void DrawOverlay(QPainter& p);
  void DrawDragPreview(QPainter& p);
  void DrawSnapMarker(QPainter& p, const Snap& snap);
  bool TakesPicks() const;
  bool SnapsApply() const;
  void Track(const QPointF& screen);
  void Deliver(const QPointF& screen, Qt::KeyboardModifiers mods, bool window = false);
  // A press and drag that makes a selection window (at the command prompt or when selecting).
  bool Windowing() const;
  Pt ToUcs(const Pt& world) const;
  Pt FromUcs(const AcGePoint3d& ucs) const;
  double PickBoxPixels() const;

  AcApDocument* m_doc;
  ScenePainter& m_painter;
  InputQueue& m_queue;
  Scene m_scene;
  SceneBuilder m_builder;
  ViewTransform m_view;
  bool m_zoomedOnce = false;

  QImage m_cache;
  bool m_cacheValid = false;
  double m_lastRenderMs = 0.0;
  std::unordered_set<AcDbObjectId> m_hidden;
  std::unordered_set<AcDbObjectId> m_highlighted;

  bool m_hasPrompt = false;
  PromptContext m_prompt;
  std::vector<AcDbObjectId> m_dragIds;  // the prompt's set, kept while it waits
  std::vector<const EntityGraphics*> m_dragEntities;
  Affine m_dragMatrix;
  bool m_dragValid = false;

  bool m_inside = false;
  QPointF m_cursor;
  Pt m_cursorWorld;
  std::optional<Snap> m_snap;
  unsigned m_snapModes = kSnapAll;

  Mode m_mode = Mode::None;
  Pt m_zoomFirst;
  bool m_panning = false;
  QPointF m_panFrom;
  bool m_leftDown = false;
  QPointF m_pressAt;

  std::function<void(QKeyEvent*)> m_keys;
};

}  // namespace cadhost::ui
