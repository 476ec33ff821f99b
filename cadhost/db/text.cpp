// Single-line text: justification by the text advance model, extents and transforms.

#include <cmath>
#include <numbers>

#include "cadhost/db/geom_util.h"
#include "cadhost/db/object_access.h"
#include "cadhost/sdk/dbents.h"
#include "cadhost/sdk/text_metrics.h"

CADHOST_DEFINE_MEMBERS(AcDbText, AcDbEntity)

namespace {

struct TextFrame {
  AcGeVector3d dir;  // along the baseline, one unit
  AcGeVector3d up;   // towards the top, one unit
};

TextFrame FrameOf(double rotation, const AcGeVector3d& normal, bool backward, bool upsideDown) {
  const AcGeMatrix3d ocs = acgeOcsToWcs(normal);
  const AcGeVector3d ax(ocs.entry[0][0], ocs.entry[1][0], ocs.entry[2][0]);
  const AcGeVector3d ay(ocs.entry[0][1], ocs.entry[1][1], ocs.entry[2][1]);
  const double c = std::cos(rotation), s = std::sin(rotation);
  TextFrame f{ax * c + ay * s, ay * c - ax * s};
  if (backward) f.dir = -f.dir;
  if (upsideDown) f.up = -f.up;
  return f;
}

}  // namespace

AcDbText::AcDbText(const AcGePoint3d& position, const ACHAR* text, AcDbObjectId style,
                   double height, double rotation)
    : m_text(text != nullptr ? text : ""),
      m_style(style),
      m_height(height > 0.0 ? height : 0.0),
      m_rotation(cadhost::NormalizeAngle(rotation)),
      m_position(position),
      m_alignment(position) {}

#define CADHOST_TEXT_SETTER(NAME, TYPE, MEMBER, CHECK) \
  Acad::ErrorStatus AcDbText::NAME(TYPE value) {       \
    if (!assertWriteEnabled()) return Acad::eNotOpenForWrite; \
    if (!(CHECK)) return Acad::eInvalidInput;          \
    MEMBER = value;                                    \
    adjustAlignment();                                 \
    return Acad::eOk;                                  \
  }

CADHOST_TEXT_SETTER(setHeight, double, m_height, value > 0.0 && std::isfinite(value))
CADHOST_TEXT_SETTER(setWidthFactor, double, m_widthFactor, value > 0.0 && std::isfinite(value))
CADHOST_TEXT_SETTER(setAlignmentPoint, const AcGePoint3d&, m_alignment, std::isfinite(value.x))
CADHOST_TEXT_SETTER(setHorizontalMode, AcDb::TextHorzMode, m_hmode, value >= 0 && value <= 5)
CADHOST_TEXT_SETTER(setVerticalMode, AcDb::TextVertMode, m_vmode, value >= 0 && value <= 3)
CADHOST_TEXT_SETTER(setThickness, double, m_thickness, std::isfinite(value))

Acad::ErrorStatus AcDbText::setTextString(const ACHAR* text) {
  if (!assertWriteEnabled()) return Acad::eNotOpenForWrite;
  m_text = text != nullptr ? text : "";
  adjustAlignment();
  return Acad::eOk;
}

Acad::ErrorStatus AcDbText::setTextStyle(AcDbObjectId style) {
  if (!assertWriteEnabled()) return Acad::eNotOpenForWrite;
  m_style = style;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbText::setRotation(double angle) {
  if (!assertWriteEnabled()) return Acad::eNotOpenForWrite;
  m_rotation = cadhost::NormalizeAngle(angle);
  adjustAlignment();
  return Acad::eOk;
}

Acad::ErrorStatus AcDbText::setOblique(double angle) {
  if (!assertWriteEnabled()) return Acad::eNotOpenForWrite;
  // The host allows leaning up to 85 degrees either way.
  const double a = std::remainder(angle, 2.0 * std::numbers::pi);
  if (!(std::abs(a) <= 85.0 * std::numbers::pi / 180.0 + 1e-12)) return Acad::eInvalidInput;
  m_oblique = a;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbText::setPosition(const AcGePoint3d& p) {
  if (!assertWriteEnabled()) return Acad::eNotOpenForWrite;
  m_position = p;
  adjustAlignment();
  return Acad::eOk;
}

Acad::ErrorStatus AcDbText::mirrorInX(bool mirror) {
  if (!assertWriteEnabled()) return Acad::eNotOpenForWrite;
  m_generation = mirror ? (m_generation | 2) : (m_generation & ~2);
  adjustAlignment();
  return Acad::eOk;
}

Acad::ErrorStatus AcDbText::mirrorInY(bool mirror) {
  if (!assertWriteEnabled()) return Acad::eNotOpenForWrite;
  m_generation = mirror ? (m_generation | 4) : (m_generation & ~4);
  adjustAlignment();
  return Acad::eOk;
}

Acad::ErrorStatus AcDbText::setNormal(const AcGeVector3d& n) {
  if (!assertWriteEnabled()) return Acad::eNotOpenForWrite;
  if (n.isZeroLength()) return Acad::eInvalidInput;
  m_normal = n.normal();
  adjustAlignment();
  return Acad::eOk;
}

void AcDbText::adjustAlignment() {
  if (isDefaultAlignment()) return;
  if (m_hmode == AcDb::kTextAlign || m_hmode == AcDb::kTextFit) {
    // The two points decide the direction, and the height or the width factor.
    const AcGeMatrix3d toPlane = acgeOcsToWcs(m_normal).inverse();
    AcGePoint3d a = m_position, b = m_alignment;
    a.transformBy(toPlane);
    b.transformBy(toPlane);
    const double dx = b.x - a.x, dy = b.y - a.y, len = std::hypot(dx, dy);
    const double ratio = cadhost::TextAdvanceRatio(m_text);
    if (len <= 0.0 || ratio <= 0.0) return;
    m_rotation = cadhost::NormalizeAngle(std::atan2(dy, dx));
    if (isMirroredInX()) m_rotation = cadhost::NormalizeAngle(m_rotation + std::numbers::pi);
    if (m_hmode == AcDb::kTextAlign)
      m_height = len / (ratio * m_widthFactor);
    else if (m_height > 0.0)
      m_widthFactor = len / (ratio * m_height);
    return;
  }
  const double w = cadhost::TextAdvance(m_text, m_height, m_widthFactor);
  const double h = m_height;
  double dx = 0.0, dy = 0.0;
  switch (m_hmode) {
    case AcDb::kTextCenter: case AcDb::kTextMid: dx = w / 2.0; break;
    case AcDb::kTextRight: dx = w; break;
    default: break;
  }
  switch (m_vmode) {
    case AcDb::kTextVertMid: dy = h / 2.0; break;
    case AcDb::kTextTop: dy = h; break;
    default: break;  // baseline and bottom coincide: the model has no descenders
  }
  if (m_hmode == AcDb::kTextMid) dy = h / 2.0;
  const TextFrame f = FrameOf(m_rotation, m_normal, isMirroredInX(), isMirroredInY());
  m_position = m_alignment - f.dir * dx - f.up * dy;
}

bool AcDbText::addExtentsUnder(const AcGeMatrix3d& m, AcDbExtents& ext) const {
  const double w = cadhost::TextAdvance(m_text, m_height, m_widthFactor);
  if (w <= 0.0 && cadhost::DisplayCharacters(m_text).empty()) return false;
  const TextFrame f = FrameOf(m_rotation, m_normal, isMirroredInX(), isMirroredInY());
  // Obliqued text leans: its top edge is shifted along the baseline.
  const double lean = std::tan(m_oblique) * m_height;
  AcDbExtents body;
  for (double x : {0.0, w})
    for (double y : {0.0, m_height}) {
      AcGePoint3d p = m_position + f.dir * (x + (y > 0.0 ? lean : 0.0)) + f.up * y;
      body.addPoint(p.transformBy(m));
    }
  cadhost::AddExtruded(body, cadhost::ThicknessVector(m, m_normal, m_thickness), ext);
  return true;
}

Acad::ErrorStatus AcDbText::subTransformBy(const AcGeMatrix3d& m) {
  if (!m.isUniScaledOrtho()) return Acad::eCannotScaleNonUniformly;
  const TextFrame f = FrameOf(m_rotation, m_normal, isMirroredInX(), isMirroredInY());
  AcGeVector3d dir = f.dir, up = f.up, normal = m_normal;
  dir.transformBy(m);
  up.transformBy(m);
  normal.transformBy(m);
  const double s = dir.length();
  m_normal = normal.normal();
  const AcGeMatrix3d toPlane = acgeOcsToWcs(m_normal).inverse();
  AcGeVector3d upInPlane = up;
  upInPlane.transformBy(toPlane);
  // A mirror turns the text backwards; the up direction decides the rotation either way.
  if (m.det() < 0.0) m_generation ^= 2;
  const double upAngle = std::atan2(upInPlane.y, upInPlane.x);
  const bool upsideDown = isMirroredInY();
  m_rotation = cadhost::NormalizeAngle(upAngle - std::numbers::pi / 2.0 +
                                       (upsideDown ? std::numbers::pi : 0.0));
  m_position.transformBy(m);
  m_alignment.transformBy(m);
  m_height *= s;
  m_thickness *= s;
  return Acad::eOk;
}
