#include "cadhost/ui/plot.h"

#include <QImage>
#include <QPainter>
#include <QPdfWriter>

#include "cadhost/ui/scene_builder.h"
#include "cadhost/ui/scene_painter.h"

namespace cadhost::ui {
namespace {

constexpr int kPdfResolution = 600;

PaintStyle PaperStyle(const PlotOptions& options, double pixelsPerMm) {
  PaintStyle s;
  s.background = Qt::white;
  s.foreground = Qt::black;
  s.monochrome = options.monochrome;
  s.pixelsPerMm = pixelsPerMm;
  s.antialias = true;
  // Paper shows small text better than a screen: glyphs down to a pixel and a half.
  s.textGlyphsFrom = 1.5;
  s.textLineFrom = 0.3;
  return s;
}

void Draw(QPainter& painter, const Scene& scene, const Box& area, const PlotLayout& layout,
          double pixelsPerMm, const PlotOptions& options) {
  const Affine toDevice =
      Affine{pixelsPerMm, 0, 0, pixelsPerMm, 0, 0}.After(layout.drawingToPaperMm);
  // What lies outside a window is cut off at its edge.
  const Box clip = toDevice.MapBox(area);
  painter.setClipRect(QRectF(clip.minX, clip.minY, clip.Width(), clip.Height()).adjusted(-1, -1, 1, 1));
  ScenePainter scenePainter;
  scenePainter.Paint(painter, scene, scene.Query(area), toDevice, PaperStyle(options, pixelsPerMm));
}

}  // namespace

bool Plot(AcDbDatabase& db, const PlotOptions& options, std::string& error) {
  const std::optional<PlotFormat> format = PlotFormatOf(options.output);
  if (!format) {
    error = "plots are written as .pdf or .png, not " + options.output;
    return false;
  }
  Scene scene;
  SceneBuilder(&db).BuildAll(scene);
  const Box area = options.window ? *options.window : scene.Extents();
  const std::optional<PlotLayout> layout = LayoutPlot(area, options, error);
  if (!layout) return false;
  if (*format == PlotFormat::Png) {
    const double pxPerMm = options.dpi / 25.4;
    QImage image(std::max(1, static_cast<int>(std::lround(layout->pageWidthMm * pxPerMm))),
                 std::max(1, static_cast<int>(std::lround(layout->pageHeightMm * pxPerMm))),
                 QImage::Format_RGB32);
    if (image.isNull()) {
      error = "not enough memory for the image";
      return false;
    }
    image.fill(Qt::white);
    image.setDotsPerMeterX(static_cast<int>(std::lround(pxPerMm * 1000)));
    image.setDotsPerMeterY(static_cast<int>(std::lround(pxPerMm * 1000)));
    {
      QPainter painter(&image);
      Draw(painter, scene, area, *layout, pxPerMm, options);
    }
    if (!image.save(QString::fromStdString(options.output), "PNG")) {
      error = "cannot write " + options.output;
      return false;
    }
    return true;
  }
  QPdfWriter pdf(QString::fromStdString(options.output));
  pdf.setResolution(kPdfResolution);
  pdf.setPageSize(QPageSize(QSizeF(layout->pageWidthMm, layout->pageHeightMm), QPageSize::Millimeter));
  pdf.setPageMargins(QMarginsF(0, 0, 0, 0));
  pdf.setCreator(QStringLiteral("cadhost"));
  QPainter painter;
  if (!painter.begin(&pdf)) {
    error = "cannot write " + options.output;
    return false;
  }
  Draw(painter, scene, area, *layout, kPdfResolution / 25.4, options);
  painter.end();
  return true;
}

}  // namespace cadhost::ui
