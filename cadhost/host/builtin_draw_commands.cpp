// The host's drawing commands: LINE, PLINE, CIRCLE, TEXT, ERASE, MOVE, UCS, TILEMODE, REDRAW.
// They ask in the order the CAD host's own commands do, so drafters' scripts run unchanged.
// Points are typed in the user coordinate system; entities are made in world coordinates in
// the plane of the UCS.

#include <cmath>
#include <numbers>

#include "cadhost/host/builtin_commands.h"
#include "cadhost/host/prompts.h"
#include "cadhost/host/selection.h"
#include "cadhost/sdk/acedads.h"
#include "cadhost/sdk/acutads.h"
#include "cadhost/sdk/dbents.h"
#include "cadhost/sdk/dbxutil.h"

namespace cadhost {
namespace {

// Successive lines of TEXT are this many text heights apart.
constexpr double kLineSpacing = 5.0 / 3.0;

DocumentState& Doc() { return *Host::Get().CurrentState(); }

AcGePoint3d ToWorld(const AcGePoint3d& ucs) {
  AcGePoint3d p = ucs;
  return p.transformBy(Doc().ucs.ToWorld());
}

AcGeVector3d UcsNormal() { return Doc().ucs.xAxis.crossProduct(Doc().ucs.yAxis); }

// The angle of the UCS x axis in the coordinate system of `normal` (arbitrary axis rule):
// the rotation a text or block needs to run along the UCS x axis.
double UcsAngleIn(const AcGeVector3d& normal) {
  AcGeVector3d ocsX = AcGeVector3d::kXAxis;
  ocsX.transformBy(acgeOcsToWcs(normal));
  return ocsX.angleTo(Doc().ucs.xAxis, normal);
}

void Erase(AcDbObjectId id) {
  AcDbEntityPointer e(id, AcDb::kForWrite);
  if (e) e->erase();
}


// A selection made at the command line, as a set name for acedDragGen and acedXformSS.
class SelectedSet {
 public:
  SelectedSet() {
    std::vector<AcDbObjectId> ids;
    if (SelectInteractively(ids, false) != RTNORM) return;
    if (acedSSAdd(nullptr, nullptr, m_name) != RTNORM) return;
    m_ok = true;
    for (AcDbObjectId id : ids) {
      ads_name e;
      acdbGetAdsName(e, id);
      acedSSAdd(e, m_name, m_name);
    }
    m_ids = std::move(ids);
  }
  ~SelectedSet() {
    if (m_ok) acedSSFree(m_name);
  }
  SelectedSet(const SelectedSet&) = delete;
  SelectedSet& operator=(const SelectedSet&) = delete;
  bool ok() const { return m_ok; }
  const std::vector<AcDbObjectId>& ids() const { return m_ids; }
  std::int64_t* name() { return m_name; }

 private:
  ads_name m_name = {0, 0};
  bool m_ok = false;
  std::vector<AcDbObjectId> m_ids;
};

// MOVE's drag: the set follows the cursor from the base point.
AcGePoint3d g_moveBase;
int MoveDrag(ads_point pt, ads_matrix m) {
  const AcGeVector3d d = ToWorld({pt[X], pt[Y], pt[Z]}) - ToWorld(g_moveBase);
  for (int r = 0; r < 4; ++r)
    for (int c = 0; c < 4; ++c) m[r][c] = r == c ? 1.0 : 0.0;
  m[0][3] = d.x;
  m[1][3] = d.y;
  m[2][3] = d.z;
  return RTNORM;
}

void Translate(SelectedSet& set, const AcGeVector3d& d) {
  ads_matrix m = {{1, 0, 0, d.x}, {0, 1, 0, d.y}, {0, 0, 1, d.z}, {0, 0, 0, 1}};
  if (acedXformSS(set.name(), m) != RTNORM) acutPrintf("\nThe objects could not be moved.");
}

struct Justification {
  const char* keyword;
  AcDb::TextHorzMode h;
  AcDb::TextVertMode v;
  const char* prompt;
};

constexpr Justification kJustifications[] = {
    {"Left", AcDb::kTextLeft, AcDb::kTextBase, "start point"},
    {"Center", AcDb::kTextCenter, AcDb::kTextBase, "center point"},
    {"Right", AcDb::kTextRight, AcDb::kTextBase, "right endpoint"},
    {"Middle", AcDb::kTextMid, AcDb::kTextBase, "middle point"},
    {"TL", AcDb::kTextLeft, AcDb::kTextTop, "top-left point"},
    {"TC", AcDb::kTextCenter, AcDb::kTextTop, "top-center point"},
    {"TR", AcDb::kTextRight, AcDb::kTextTop, "top-right point"},
    {"ML", AcDb::kTextLeft, AcDb::kTextVertMid, "middle-left point"},
    {"MC", AcDb::kTextCenter, AcDb::kTextVertMid, "middle point"},
    {"MR", AcDb::kTextRight, AcDb::kTextVertMid, "middle-right point"},
    {"BL", AcDb::kTextLeft, AcDb::kTextBottom, "bottom-left point"},
    {"BC", AcDb::kTextCenter, AcDb::kTextBottom, "bottom-center point"},
    {"BR", AcDb::kTextRight, AcDb::kTextBottom, "bottom-right point"},
};

std::string StyleName(AcDbObjectId id) {
  AcDbObjectPointer<AcDbTextStyleTableRecord> s(id, AcDb::kForRead);
  return s ? s->name() : std::string("Standard");
}

double StyleHeight(AcDbObjectId id) {
  AcDbObjectPointer<AcDbTextStyleTableRecord> s(id, AcDb::kForRead);
  return s ? s->textSize() : 0.0;
}

AcDbObjectId FindStyle(const std::string& name) {
  AcDbTextStyleTable* table = nullptr;
  AcDbObjectId id;
  if (Doc().db->getTextStyleTable(table, AcDb::kForRead) != Acad::eOk) return id;
  table->getAt(name.c_str(), id);
  table->close();
  return id;
}

}  // namespace

void LineCommand() {
  PromptAnswer a = AskPoint("\nSpecify first point: ");
  if (a.rc != RTNORM) return;
  std::vector<AcGePoint3d> points = {a.point};
  std::vector<AcDbObjectId> lines;
  for (;;) {
    const PromptContext from = PointContext(PromptContext::Kind::Point, &points.back());
    a = AskPoint(lines.size() >= 2 ? "\nSpecify next point or [Close/Undo]: "
                                   : "\nSpecify next point or [Undo]: ",
                 lines.size() >= 2 ? "Close Undo" : "Undo", &from);
    if (a.rc == RTNONE || a.rc == RTCAN) return;
    if (a.rc == RTKWORD && a.keyword == "Undo") {
      if (lines.empty()) {
        acutPrintf("\nAll segments already undone.");
        continue;
      }
      Erase(lines.back());
      lines.pop_back();
      points.pop_back();
      continue;
    }
    const bool close = a.rc == RTKWORD && a.keyword == "Close";
    const AcGePoint3d next = close ? points.front() : a.point;
    const AcDbObjectId id =
        AppendToCurrentSpace(new AcDbLine(ToWorld(points.back()), ToWorld(next)));
    if (close) return;
    if (!id.isNull()) lines.push_back(id);
    points.push_back(next);
  }
}

void PlineCommand() {
  PromptAnswer a = AskPoint("\nSpecify start point: ");
  if (a.rc != RTNORM) return;
  acutPrintf("\nCurrent line-width is 0.0000");
  std::vector<AcGePoint3d> points = {a.point};
  bool closed = false;
  for (;;) {
    const PromptContext from = PointContext(PromptContext::Kind::Point, &points.back());
    a = AskPoint(points.size() >= 3 ? "\nSpecify next point or [Close/Undo]: "
                                    : "\nSpecify next point or [Undo]: ",
                 points.size() >= 3 ? "Close Undo" : "Undo", &from);
    if (a.rc == RTKWORD && a.keyword == "Undo") {
      if (points.size() > 1) points.pop_back();
      continue;
    }
    if (a.rc == RTKWORD && a.keyword == "Close") closed = true;
    if (a.rc != RTNORM) break;
    points.push_back(a.point);
  }
  if (points.size() < 2) return;
  // The vertices in the plane of the UCS, as the polyline's own coordinates.
  const AcGeVector3d normal = UcsNormal();
  const AcGeMatrix3d toOcs = acgeOcsToWcs(normal).inverse();
  auto* pl = new AcDbPolyline(static_cast<unsigned>(points.size()));
  pl->setNormal(normal);
  double elevation = 0.0;
  for (unsigned i = 0; i < points.size(); ++i) {
    AcGePoint3d p = ToWorld(points[i]);
    p.transformBy(toOcs);
    if (i == 0) elevation = p.z;
    pl->addVertexAt(i, AcGePoint2d(p.x, p.y));
  }
  pl->setElevation(elevation);
  pl->setClosed(closed);
  AppendToCurrentSpace(pl);
}

void CircleCommand() {
  const PromptAnswer c = AskPoint("\nSpecify center point for circle: ");
  if (c.rc != RTNORM) return;
  for (;;) {
    const PromptAnswer r = AskDistance("\nSpecify radius of circle: ", &c.point);
    if (r.rc != RTNORM) return;
    if (r.value > 0.0) {
      AppendToCurrentSpace(new AcDbCircle(ToWorld(c.point), UcsNormal(), r.value));
      return;
    }
    acutPrintf("\nValue must be positive and nonzero.");
  }
}

void TextCommand() {
  AcDbDatabase* db = Doc().db.get();
  AcDbObjectId style = db->textstyle();
  const Justification* just = &kJustifications[0];
  AcGePoint3d at;
  for (;;) {
    acutPrintf("\nCurrent text style:  \"%s\"  Text height:  %.4f", StyleName(style).c_str(),
               db->textsize());
    const PromptAnswer a = AskPoint(std::string("\nSpecify ") + just->prompt +
                                        " of text or [Justify/Style]: ",
                                    "Justify Style");
    if (a.rc == RTNORM) {
      at = a.point;
      break;
    }
    if (a.rc != RTKWORD) return;
    if (a.keyword == "Justify") {
      const PromptAnswer j = AskKeyword(
          "\nEnter an option [Left/Center/Right/Middle/TL/TC/TR/ML/MC/MR/BL/BC/BR]: ",
          "Left Center Right Middle TL TC TR ML MC MR BL BC BR");
      if (j.rc == RTCAN) return;
      for (const Justification& k : kJustifications)
        if (j.rc == RTKWORD && j.keyword == k.keyword) just = &k;
    } else {
      std::string name;
      const int rc = acedGetString(
          0, ("\nEnter style name <" + StyleName(style) + ">: ").c_str(), name);
      if (rc == RTCAN) return;
      if (rc == RTNORM) {
        const AcDbObjectId found = FindStyle(name);
        if (found.isNull()) acutPrintf("\nCannot find text style \"%s\".", name.c_str());
        else style = found;
      }
    }
  }
  double height = StyleHeight(style);
  if (height <= 0.0) {
    height = db->textsize();
    char prompt[64];
    std::snprintf(prompt, sizeof prompt, "\nSpecify height <%.4f>: ", height);
    for (;;) {
      const PromptAnswer h = AskDistance(prompt, &at);
      if (h.rc == RTCAN) return;
      if (h.rc != RTNORM) break;
      if (h.value > 0.0) {
        height = h.value;
        db->setTextsize(height);
        break;
      }
      acutPrintf("\nValue must be positive and nonzero.");
    }
  }
  ads_point base = {at.x, at.y, at.z};
  ads_real angle = 0.0;
  const int rc = acedGetAngle(base, "\nSpecify rotation angle of text <0>: ", &angle);
  if (rc == RTCAN) return;
  const AcGeVector3d normal = UcsNormal();
  // Each further line starts one line spacing below the last, across the text's direction.
  const AcGeVector3d down(std::sin(angle), -std::cos(angle), 0.0);
  for (int line = 0;; ++line) {
    std::string text;
    const int r = acedGetString(1, "\nEnter text: ", text);
    if (r != RTNORM) return;
    const AcGePoint3d p = ToWorld(at + down * (line * height * kLineSpacing));
    auto* t = new AcDbText();
    t->setTextString(text.c_str());
    t->setTextStyle(style);
    t->setHeight(height);
    t->setNormal(normal);
    t->setRotation(UcsAngleIn(normal) + angle);
    t->setPosition(p);
    if (just != &kJustifications[0]) {
      t->setHorizontalMode(just->h);
      t->setVerticalMode(just->v);
      t->setAlignmentPoint(p);
    }
    AppendToCurrentSpace(t);
  }
}

void EraseCommand() {
  std::vector<AcDbObjectId> ids;
  if (SelectInteractively(ids, false) != RTNORM) return;
  for (AcDbObjectId id : ids) Erase(id);
  Doc().modified = true;
}

void MoveCommand() {
  SelectedSet set;
  if (!set.ok()) return;
  const PromptAnswer base = AskPoint(
      "\nSpecify base point or [Displacement] <Displacement>: ", "Displacement");
  if (base.rc == RTCAN) return;
  if (base.rc != RTNORM) {
    const PromptAnswer d = AskPoint("\nSpecify displacement <0.0000, 0.0000, 0.0000>: ");
    if (d.rc != RTNORM) return;
    ads_point v = {d.point.x, d.point.y, d.point.z};
    acdbUcs2Wcs(v, v, true);
    Translate(set, {v[X], v[Y], v[Z]});
    return;
  }
  g_moveBase = base.point;
  ads_point to = {0, 0, 0};
  const int rc = acedDragGen(set.name(),
                             "\nSpecify second point or <use first point as displacement>: ",
                             0, MoveDrag, to);
  if (rc == RTNORM) {
    Translate(set, ToWorld({to[X], to[Y], to[Z]}) - ToWorld(base.point));
  } else if (rc == RTNONE) {
    ads_point v = {base.point.x, base.point.y, base.point.z};
    acdbUcs2Wcs(v, v, true);
    Translate(set, {v[X], v[Y], v[Z]});
  }
}

void UcsCommand() {
  DocumentState& doc = Doc();
  acutPrintf("\nCurrent ucs name:  %s", doc.ucs.IsWorld() ? "*WORLD*" : "*NO NAME*");
  const PromptAnswer a = AskPoint(
      "\nSpecify origin of UCS or [Previous/World/Z] <World>: ", "Previous World Z");
  if (a.rc == RTCAN) return;
  if (a.rc == RTNONE || (a.rc == RTKWORD && a.keyword == "World")) {
    PushPreviousUcs(doc);
    doc.ucs = Ucs();
    return;
  }
  if (a.keyword == "Previous") {
    if (doc.previousUcs.empty()) {
      acutPrintf("\nNo previous UCS.");
      return;
    }
    doc.ucs = doc.previousUcs.back();
    doc.previousUcs.pop_back();
    return;
  }
  if (a.rc == RTKWORD) {  // Z
    ads_real angle = 0.0;
    const int rc = acedGetAngle(nullptr, "\nSpecify rotation angle about Z axis <90>: ", &angle);
    if (rc == RTCAN) return;
    if (rc == RTNONE) angle = std::numbers::pi / 2;
    PushPreviousUcs(doc);
    const AcGeMatrix3d r = AcGeMatrix3d::rotation(angle, UcsNormal());
    doc.ucs.xAxis.transformBy(r);
    doc.ucs.yAxis.transformBy(r);
    return;
  }
  // A new origin, then optionally a point on the new x axis and one in the new xy plane.
  Ucs next = doc.ucs;
  next.origin = ToWorld(a.point);
  const PromptAnswer x = AskPoint("\nSpecify point on X-axis or <Accept>: ");
  if (x.rc == RTCAN) return;
  if (x.rc == RTNORM) {
    const AcGeVector3d xAxis = ToWorld(x.point) - next.origin;
    AcGeVector3d yHint = doc.ucs.yAxis;
    const PromptAnswer y = AskPoint("\nSpecify point on the XY plane or <Accept>: ");
    if (y.rc == RTCAN) return;
    if (y.rc == RTNORM) yHint = ToWorld(y.point) - next.origin;
    if (xAxis.isZeroLength(AcGeTol())) {
      acutPrintf("\nThe X axis point is the origin: the axes are kept.");
    } else {
      const AcGeVector3d ux = xAxis.normal();
      const AcGeVector3d uy = (yHint - ux * yHint.dotProduct(ux)).normal();
      if (uy.isZeroLength(AcGeTol())) {
        acutPrintf("\nThe points lie on one line: the axes are kept.");
      } else {
        next.xAxis = ux;
        next.yAxis = uy;
      }
    }
  }
  PushPreviousUcs(doc);
  doc.ucs = next;
}

void TilemodeCommand() {
  resbuf rb{};
  acedGetVar("TILEMODE", &rb);
  const std::string prompt =
      "\nEnter new value for TILEMODE <" + std::to_string(rb.resval.rint) + ">: ";
  for (;;) {
    int v = 0;
    const int rc = acedGetInt(prompt.c_str(), &v);
    if (rc != RTNORM) return;
    rb.restype = RTSHORT;
    rb.resval.rint = static_cast<short>(v);
    if (acedSetVar("TILEMODE", &rb) == RTNORM) return;
    acutPrintf("\nRequires an integer between 0 and 1.");
  }
}

void RedrawCommand() { acedRedraw(nullptr, 1); }

}  // namespace cadhost
