#pragma once
// The entity kinds the host models: lines, circles, arcs, lightweight polylines, single-line
// and multiline text and block references. Points given and returned are world coordinates unless said
// otherwise; angles are radians, counter-clockwise about the entity's normal.

#include <string>
#include <string_view>
#include <vector>

#include "cadhost/sdk/dbmain.h"

#pragma GCC visibility push(default)

// An entity that is a path with a start and an end.
class AcDbCurve : public AcDbEntity {
 public:
  ACRX_DECLARE_MEMBERS(AcDbCurve);
  virtual bool isClosed() const { return false; }
  virtual Acad::ErrorStatus getStartPoint(AcGePoint3d& p) const = 0;
  virtual Acad::ErrorStatus getEndPoint(AcGePoint3d& p) const = 0;

 protected:
  AcDbCurve() = default;
  AcDbCurve(const AcDbCurve&) = default;
};

class AcDbLine : public AcDbCurve {
 public:
  ACRX_DECLARE_MEMBERS(AcDbLine);
  AcDbLine() = default;
  AcDbLine(const AcGePoint3d& start, const AcGePoint3d& end) : m_start(start), m_end(end) {}

  AcGePoint3d startPoint() const { return m_start; }
  AcGePoint3d endPoint() const { return m_end; }
  Acad::ErrorStatus setStartPoint(const AcGePoint3d& p);
  Acad::ErrorStatus setEndPoint(const AcGePoint3d& p);
  double thickness() const { return m_thickness; }
  Acad::ErrorStatus setThickness(double t);
  AcGeVector3d normal() const { return m_normal; }
  Acad::ErrorStatus setNormal(const AcGeVector3d& n);

  Acad::ErrorStatus getStartPoint(AcGePoint3d& p) const override;
  Acad::ErrorStatus getEndPoint(AcGePoint3d& p) const override;
  bool addExtentsUnder(const AcGeMatrix3d& m, AcDbExtents& ext) const override;
  const char* dxfName() const override { return "LINE"; }

 protected:
  AcDbObject* subClone() const override { return new AcDbLine(*this); }
  Acad::ErrorStatus subTransformBy(const AcGeMatrix3d& m) override;

 private:
  AcGePoint3d m_start;
  AcGePoint3d m_end;
  double m_thickness = 0.0;
  AcGeVector3d m_normal = AcGeVector3d::kZAxis;
};

class AcDbCircle : public AcDbCurve {
 public:
  ACRX_DECLARE_MEMBERS(AcDbCircle);
  AcDbCircle() = default;
  AcDbCircle(const AcGePoint3d& center, const AcGeVector3d& normal, double radius);

  AcGePoint3d center() const { return m_center; }
  Acad::ErrorStatus setCenter(const AcGePoint3d& c);
  double radius() const { return m_radius; }
  // eInvalidInput unless radius > 0.
  Acad::ErrorStatus setRadius(double r);
  AcGeVector3d normal() const { return m_normal; }
  // eInvalidInput for a zero vector; the normal is stored as a unit vector.
  Acad::ErrorStatus setNormal(const AcGeVector3d& n);
  double thickness() const { return m_thickness; }
  Acad::ErrorStatus setThickness(double t);

  bool isClosed() const override { return true; }
  Acad::ErrorStatus getStartPoint(AcGePoint3d& p) const override;  // at angle 0
  Acad::ErrorStatus getEndPoint(AcGePoint3d& p) const override;    // same as the start
  bool addExtentsUnder(const AcGeMatrix3d& m, AcDbExtents& ext) const override;
  const char* dxfName() const override { return "CIRCLE"; }

 protected:
  AcDbObject* subClone() const override { return new AcDbCircle(*this); }
  Acad::ErrorStatus subTransformBy(const AcGeMatrix3d& m) override;

 private:
  AcGePoint3d m_center;
  double m_radius = 1.0;
  AcGeVector3d m_normal = AcGeVector3d::kZAxis;
  double m_thickness = 0.0;
};

// A circular arc from startAngle() counter-clockwise to endAngle(), the angles measured in the
// plane of the normal from its x axis (arbitrary axis rule).
class AcDbArc : public AcDbCurve {
 public:
  ACRX_DECLARE_MEMBERS(AcDbArc);
  AcDbArc() = default;
  AcDbArc(const AcGePoint3d& center, double radius, double startAngle, double endAngle);
  AcDbArc(const AcGePoint3d& center, const AcGeVector3d& normal, double radius,
          double startAngle, double endAngle);

  AcGePoint3d center() const { return m_center; }
  Acad::ErrorStatus setCenter(const AcGePoint3d& c);
  double radius() const { return m_radius; }
  Acad::ErrorStatus setRadius(double r);  // eInvalidInput unless r > 0
  // Angles are kept in [0, 2pi).
  double startAngle() const { return m_start; }
  double endAngle() const { return m_end; }
  Acad::ErrorStatus setStartAngle(double a);
  Acad::ErrorStatus setEndAngle(double a);
  AcGeVector3d normal() const { return m_normal; }
  Acad::ErrorStatus setNormal(const AcGeVector3d& n);
  double thickness() const { return m_thickness; }
  Acad::ErrorStatus setThickness(double t);

  Acad::ErrorStatus getStartPoint(AcGePoint3d& p) const override;
  Acad::ErrorStatus getEndPoint(AcGePoint3d& p) const override;
  bool addExtentsUnder(const AcGeMatrix3d& m, AcDbExtents& ext) const override;
  const char* dxfName() const override { return "ARC"; }

 protected:
  AcDbObject* subClone() const override { return new AcDbArc(*this); }
  Acad::ErrorStatus subTransformBy(const AcGeMatrix3d& m) override;

 private:
  AcGePoint3d m_center;
  double m_radius = 1.0;
  double m_start = 0.0;
  double m_end = 0.0;
  AcGeVector3d m_normal = AcGeVector3d::kZAxis;
  double m_thickness = 0.0;
};

// A lightweight polyline: 2D vertices in the plane of its normal at its elevation, each with a
// bulge (tan of a quarter of the included angle of the arc to the next vertex; positive is
// counter-clockwise) and start and end widths.
class AcDbPolyline : public AcDbCurve {
 public:
  ACRX_DECLARE_MEMBERS(AcDbPolyline);
  AcDbPolyline() = default;
  explicit AcDbPolyline(unsigned int reserve) { m_vertices.reserve(reserve); }

  unsigned int numVerts() const { return static_cast<unsigned int>(m_vertices.size()); }
  // Inserts a vertex before `index` (== numVerts() appends). Widths below 0 mean "the
  // constant width". eInvalidIndex past the end.
  Acad::ErrorStatus addVertexAt(unsigned int index, const AcGePoint2d& pt, double bulge = 0.0,
                                double startWidth = -1.0, double endWidth = -1.0);
  Acad::ErrorStatus removeVertexAt(unsigned int index);
  // The vertex in the polyline's own plane coordinates.
  Acad::ErrorStatus getPointAt(unsigned int index, AcGePoint2d& pt) const;
  // The vertex in world coordinates.
  Acad::ErrorStatus getPointAt(unsigned int index, AcGePoint3d& pt) const;
  Acad::ErrorStatus setPointAt(unsigned int index, const AcGePoint2d& pt);
  Acad::ErrorStatus getBulgeAt(unsigned int index, double& bulge) const;
  Acad::ErrorStatus setBulgeAt(unsigned int index, double bulge);
  Acad::ErrorStatus getWidthsAt(unsigned int index, double& startWidth, double& endWidth) const;
  Acad::ErrorStatus setWidthsAt(unsigned int index, double startWidth, double endWidth);
  // The constant width; eNotApplicable when the vertices carry their own widths.
  Acad::ErrorStatus getConstantWidth(double& width) const;
  Acad::ErrorStatus setConstantWidth(double width);
  bool hasWidth() const;
  bool hasBulges() const;

  bool isClosed() const override { return m_closed; }
  Acad::ErrorStatus setClosed(bool closed);
  bool hasPlinegen() const { return m_plinegen; }
  Acad::ErrorStatus setPlinegen(bool on);
  double elevation() const { return m_elevation; }
  Acad::ErrorStatus setElevation(double z);
  AcGeVector3d normal() const { return m_normal; }
  Acad::ErrorStatus setNormal(const AcGeVector3d& n);
  double thickness() const { return m_thickness; }
  Acad::ErrorStatus setThickness(double t);

  // eDegenerateGeometry for a polyline without vertices.
  Acad::ErrorStatus getStartPoint(AcGePoint3d& p) const override;
  Acad::ErrorStatus getEndPoint(AcGePoint3d& p) const override;
  bool addExtentsUnder(const AcGeMatrix3d& m, AcDbExtents& ext) const override;
  const char* dxfName() const override { return "LWPOLYLINE"; }

 protected:
  AcDbObject* subClone() const override { return new AcDbPolyline(*this); }
  Acad::ErrorStatus subTransformBy(const AcGeMatrix3d& m) override;

 private:
  struct Vertex {
    AcGePoint2d pt;
    double bulge = 0.0;
    double startWidth = -1.0;
    double endWidth = -1.0;
  };
  std::vector<Vertex> m_vertices;
  bool m_closed = false;
  bool m_plinegen = false;
  double m_constantWidth = 0.0;
  double m_elevation = 0.0;
  double m_thickness = 0.0;
  AcGeVector3d m_normal = AcGeVector3d::kZAxis;
};

// Single-line text. position() is the left end of the baseline. For every justification but
// left/baseline the alignment point is what the user sets and the position follows from it by
// the text advance model (cadhost/sdk/text_metrics.h), recomputed whenever the text, height,
// width factor, rotation, modes or alignment point change. "Aligned" and "fit" run from the
// position to the alignment point; the height (aligned) or the width factor (fit) follows.
// The model has no descenders: bottom and baseline justification coincide.
class AcDbText : public AcDbEntity {
 public:
  ACRX_DECLARE_MEMBERS(AcDbText);
  AcDbText() = default;
  AcDbText(const AcGePoint3d& position, const ACHAR* text,
           AcDbObjectId style = AcDbObjectId::kNull, double height = 0.0,
           double rotation = 0.0);

  const std::string& textString() const { return m_text; }
  const ACHAR* textStringConst() const { return m_text.c_str(); }
  Acad::ErrorStatus setTextString(const ACHAR* text);
  AcDbObjectId textStyle() const { return m_style; }
  Acad::ErrorStatus setTextStyle(AcDbObjectId style);
  double height() const { return m_height; }
  Acad::ErrorStatus setHeight(double h);  // eInvalidInput unless h > 0
  double widthFactor() const { return m_widthFactor; }
  Acad::ErrorStatus setWidthFactor(double f);  // eInvalidInput unless f > 0
  double rotation() const { return m_rotation; }
  Acad::ErrorStatus setRotation(double angle);
  // The lean of the characters from the vertical, in (-85, 85) degrees; kept in (-pi, pi].
  double oblique() const { return m_oblique; }
  Acad::ErrorStatus setOblique(double angle);
  AcGePoint3d position() const { return m_position; }
  Acad::ErrorStatus setPosition(const AcGePoint3d& p);
  AcGePoint3d alignmentPoint() const { return m_alignment; }
  Acad::ErrorStatus setAlignmentPoint(const AcGePoint3d& p);
  // True when the alignment point, not the position, decides where the text is.
  bool isDefaultAlignment() const {
    return m_hmode == AcDb::kTextLeft && m_vmode == AcDb::kTextBase;
  }
  AcDb::TextHorzMode horizontalMode() const { return m_hmode; }
  Acad::ErrorStatus setHorizontalMode(AcDb::TextHorzMode mode);
  AcDb::TextVertMode verticalMode() const { return m_vmode; }
  Acad::ErrorStatus setVerticalMode(AcDb::TextVertMode mode);
  bool isMirroredInX() const { return (m_generation & 2) != 0; }
  Acad::ErrorStatus mirrorInX(bool mirror);
  bool isMirroredInY() const { return (m_generation & 4) != 0; }
  Acad::ErrorStatus mirrorInY(bool mirror);
  AcGeVector3d normal() const { return m_normal; }
  Acad::ErrorStatus setNormal(const AcGeVector3d& n);
  double thickness() const { return m_thickness; }
  Acad::ErrorStatus setThickness(double t);

  // Recomputes the position (or, for aligned and fit, the height or width factor) from the
  // alignment point. The setters call it; drawing-file reading calls it once per text.
  void adjustAlignment();
  bool addExtentsUnder(const AcGeMatrix3d& m, AcDbExtents& ext) const override;
  const char* dxfName() const override { return "TEXT"; }

 protected:
  AcDbObject* subClone() const override { return new AcDbText(*this); }
  Acad::ErrorStatus subTransformBy(const AcGeMatrix3d& m) override;

 private:
  std::string m_text;
  AcDbObjectId m_style;
  double m_height = 0.0;  // 0 until set: the style's or database's default applies at append
  double m_widthFactor = 1.0;
  double m_rotation = 0.0;
  double m_oblique = 0.0;
  AcGePoint3d m_position;
  AcGePoint3d m_alignment;
  AcDb::TextHorzMode m_hmode = AcDb::kTextLeft;
  AcDb::TextVertMode m_vmode = AcDb::kTextBase;
  int m_generation = 0;
  AcGeVector3d m_normal = AcGeVector3d::kZAxis;
  double m_thickness = 0.0;
};

// Multiline text: a paragraph text with inline formatting codes placed by its attachment point
// at location(). The host shows it as single-line texts, one per line: the contents without
// their formatting codes (font, height, colour and other switches dropped, stacked fractions
// written "a/b", "\\P" a line break), paragraphs wrapped at width() when that is not 0, lines
// textHeight() * 5/3 * lineSpacingFactor() apart, each measured by the text advance model
// (cadhost/sdk/text_metrics.h) and aligned on the location by the attachment.
class AcDbMText : public AcDbEntity {
 public:
  ACRX_DECLARE_MEMBERS(AcDbMText);
  // Where the location lies on the text's box (DXF group 71).
  enum AttachmentPoint {
    kTopLeft = 1, kTopCenter = 2, kTopRight = 3,
    kMiddleLeft = 4, kMiddleCenter = 5, kMiddleRight = 6,
    kBottomLeft = 7, kBottomCenter = 8, kBottomRight = 9,
  };
  AcDbMText() = default;

  // The text with its formatting codes, as stored.
  const std::string& contents() const { return m_contents; }
  Acad::ErrorStatus setContents(const ACHAR* text);
  AcGePoint3d location() const { return m_location; }
  Acad::ErrorStatus setLocation(const AcGePoint3d& p);
  AttachmentPoint attachment() const { return m_attachment; }
  Acad::ErrorStatus setAttachment(AttachmentPoint a);  // eInvalidInput outside 1..9
  double textHeight() const { return m_height; }
  Acad::ErrorStatus setTextHeight(double h);  // eInvalidInput unless h > 0
  // The width paragraphs wrap at; 0 for no wrapping.
  double width() const { return m_width; }
  Acad::ErrorStatus setWidth(double w);  // eInvalidInput when negative
  AcDbObjectId textStyle() const { return m_style; }
  Acad::ErrorStatus setTextStyle(AcDbObjectId style);
  double rotation() const { return m_rotation; }
  Acad::ErrorStatus setRotation(double angle);
  AcGeVector3d normal() const { return m_normal; }
  Acad::ErrorStatus setNormal(const AcGeVector3d& n);
  double lineSpacingFactor() const { return m_spacing; }
  Acad::ErrorStatus setLineSpacingFactor(double f);  // eInvalidInput outside 0.25..4

  // The lines the text shows, without formatting codes, top first (not part of the classic
  // interface, whose text() gives the plain text in one string).
  std::vector<std::string> textLines() const;
  // One single-line text per shown line that is not empty, left/baseline justified, in the
  // text's style, height and rotation.
  Acad::ErrorStatus explode(std::vector<std::unique_ptr<AcDbEntity>>& pieces) const override;
  bool addExtentsUnder(const AcGeMatrix3d& m, AcDbExtents& ext) const override;
  const char* dxfName() const override { return "MTEXT"; }

 protected:
  AcDbObject* subClone() const override { return new AcDbMText(*this); }
  // Uniform scales and rotations only; a mirror keeps the text readable, as the host's mirror
  // does for text.
  Acad::ErrorStatus subTransformBy(const AcGeMatrix3d& m) override;

 private:
  std::string m_contents;
  AcGePoint3d m_location;
  AttachmentPoint m_attachment = kTopLeft;
  double m_height = 0.0;  // 0 until set: the style's or database's default applies at append
  double m_width = 0.0;
  AcDbObjectId m_style;
  double m_rotation = 0.0;
  AcGeVector3d m_normal = AcGeVector3d::kZAxis;
  double m_spacing = 1.0;
};

// The lines that multiline text contents show, without formatting codes (see AcDbMText),
// before wrapping: one string per paragraph.
std::vector<std::string> acdbMTextParagraphs(std::string_view contents);

// An insertion of a block: the block's entities mapped by blockTransform().
class AcDbBlockReference : public AcDbEntity {
 public:
  ACRX_DECLARE_MEMBERS(AcDbBlockReference);
  AcDbBlockReference() = default;
  AcDbBlockReference(const AcGePoint3d& position, AcDbObjectId blockTableRecord);

  AcDbObjectId blockTableRecord() const { return m_block; }
  Acad::ErrorStatus setBlockTableRecord(AcDbObjectId block);
  AcGePoint3d position() const { return m_position; }
  Acad::ErrorStatus setPosition(const AcGePoint3d& p);
  AcGeScale3d scaleFactors() const { return m_scale; }
  // eInvalidInput when a factor is 0.
  Acad::ErrorStatus setScaleFactors(const AcGeScale3d& scale);
  double rotation() const { return m_rotation; }
  Acad::ErrorStatus setRotation(double angle);
  AcGeVector3d normal() const { return m_normal; }
  Acad::ErrorStatus setNormal(const AcGeVector3d& n);

  // Block coordinates to world coordinates: the block's base point goes to position(), then
  // scale, rotation about the normal and the normal's coordinate system.
  AcGeMatrix3d blockTransform() const;
  // What the reference shows: the block's entities, each a copy transformed by
  // blockTransform() that belongs to the caller, with the properties they have in the block,
  // then the attributes as attributeTexts() gives them. Attribute definitions are left out: a
  // reference shows its attributes instead. eCannotScaleNonUniformly when a piece cannot
  // follow the reference's scale factors; eKeyNotFound when the block is missing.
  Acad::ErrorStatus explode(std::vector<std::unique_ptr<AcDbEntity>>& pieces) const override;
  bool addExtentsUnder(const AcGeMatrix3d& m, AcDbExtents& ext) const override;
  const char* dxfName() const override { return "INSERT"; }
  // The reference's attributes that are shown (invisible ones left out), each as a single-line
  // text of the caller with the attribute's value, placed where the attribute is: in the
  // coordinates of the space or block that holds the reference, not the referenced block's.
  // Not part of the classic interface, where attributes are objects of their own.
  std::vector<std::unique_ptr<AcDbText>> attributeTexts() const;

 protected:
  AcDbObject* subClone() const override { return new AcDbBlockReference(*this); }
  Acad::ErrorStatus subTransformBy(const AcGeMatrix3d& m) override;

 private:
  AcDbObjectId m_block;
  AcGePoint3d m_position;
  AcGeScale3d m_scale;
  double m_rotation = 0.0;
  AcGeVector3d m_normal = AcGeVector3d::kZAxis;
};

#pragma GCC visibility pop
