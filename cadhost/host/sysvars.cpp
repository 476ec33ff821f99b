// System variables: acedGetVar and acedSetVar.

#include <cstdlib>
#include <cstring>
#include <filesystem>

#include "cadhost/host/host_state.h"
#include "cadhost/sdk/acedads.h"

namespace fs = std::filesystem;
using cadhost::Host;

namespace {

void SetString(resbuf* rb, const std::string& s) {
  rb->restype = RTSTR;
  rb->resval.rstring = static_cast<ACHAR*>(std::malloc(s.size() + 1));
  if (rb->resval.rstring != nullptr) std::memcpy(rb->resval.rstring, s.c_str(), s.size() + 1);
}

void SetShort(resbuf* rb, int v) {
  rb->restype = RTSHORT;
  rb->resval.rint = static_cast<short>(v);
}

void SetPoint(resbuf* rb, double x, double y, double z) {
  rb->restype = RT3DPOINT;
  rb->resval.rpoint[X] = x;
  rb->resval.rpoint[Y] = y;
  rb->resval.rpoint[Z] = z;
}
void SetPoint(resbuf* rb, const AcGePoint3d& p) { SetPoint(rb, p.x, p.y, p.z); }
void SetPoint(resbuf* rb, const AcGeVector3d& v) { SetPoint(rb, v.x, v.y, v.z); }

std::string LayerName(AcDbObjectId id) {
  AcDbObjectPointer<AcDbLayerTableRecord> layer(id, AcDb::kForRead);
  return layer ? layer->name() : std::string();
}

// An integer answer for a variable that takes one: RTSHORT or RTLONG.
bool AsInt(const resbuf* v, int& out) {
  if (v->restype == RTSHORT) out = v->resval.rint;
  else if (v->restype == RTLONG) out = v->resval.rlong;
  else return false;
  return true;
}

}  // namespace

int acedGetVar(const ACHAR* name, resbuf* result) {
  if (name == nullptr || result == nullptr) return RTERROR;
  Host& h = Host::Get();
  const std::string n = cadhost::ToUpperAscii(name);
  cadhost::DocumentState* doc = h.CurrentState();
  AcDbDatabase* db = doc != nullptr ? doc->db.get() : nullptr;
  result->rbnext = nullptr;
  if (n == "FILEDIA") SetShort(result, h.fileDia);
  else if (n == "CMDECHO") SetShort(result, h.cmdEcho);
  else if (n == "PICKBOX") SetShort(result, h.pickBox);
  else if (n == "ACADVER") SetString(result, "16.0");
  else if (db == nullptr) return RTERROR;  // the rest belong to a drawing
  else if (n == "TILEMODE") SetShort(result, db->tilemode() ? 1 : 0);
  else if (n == "DBMOD") SetShort(result, doc->modified ? 1 : 0);
  else if (n == "CLAYER") SetString(result, LayerName(db->clayer()));
  else if (n == "TEXTSIZE") {
    result->restype = RTREAL;
    result->resval.rreal = db->textsize();
  } else if (n == "DWGNAME") SetString(result, doc->title);
  else if (n == "DWGPREFIX") {
    const fs::path folder =
        doc->untitled ? fs::current_path() : fs::path(doc->path).parent_path();
    SetString(result, folder.string() + "/");
  } else if (n == "LASTPOINT") SetPoint(result, doc->lastPoint);
  else if (n == "UCSORG") SetPoint(result, doc->ucs.origin);
  else if (n == "UCSXDIR") SetPoint(result, doc->ucs.xAxis);
  else if (n == "UCSYDIR") SetPoint(result, doc->ucs.yAxis);
  else return RTERROR;
  return RTNORM;
}

int acedSetVar(const ACHAR* name, const resbuf* value) {
  if (name == nullptr || value == nullptr) return RTERROR;
  Host& h = Host::Get();
  const std::string n = cadhost::ToUpperAscii(name);
  cadhost::DocumentState* doc = h.CurrentState();
  AcDbDatabase* db = doc != nullptr ? doc->db.get() : nullptr;
  int i = 0;
  if (n == "FILEDIA" || n == "CMDECHO") {
    if (!AsInt(value, i) || i < 0 || i > 1) return RTERROR;
    (n == "FILEDIA" ? h.fileDia : h.cmdEcho) = i;
    return RTNORM;
  }
  if (n == "PICKBOX") {
    if (!AsInt(value, i) || i < 0 || i > 50) return RTERROR;
    h.pickBox = i;
    return RTNORM;
  }
  if (db == nullptr) return RTERROR;
  if (n == "TILEMODE") {
    if (!AsInt(value, i) || i < 0 || i > 1) return RTERROR;
    return db->setTilemode(i == 1) == Acad::eOk ? RTNORM : RTERROR;
  }
  if (n == "TEXTSIZE") {
    double d = 0;
    if (value->restype == RTREAL) d = value->resval.rreal;
    else if (AsInt(value, i)) d = i;
    else return RTERROR;
    return d > 0 && db->setTextsize(d) == Acad::eOk ? RTNORM : RTERROR;
  }
  if (n == "CLAYER") {
    if (value->restype != RTSTR || value->resval.rstring == nullptr) return RTERROR;
    AcDbLayerTable* table = nullptr;
    if (db->getLayerTable(table, AcDb::kForRead) != Acad::eOk) return RTERROR;
    AcDbObjectId id;
    const Acad::ErrorStatus es = table->getAt(value->resval.rstring, id);
    table->close();
    return es == Acad::eOk && db->setClayer(id) == Acad::eOk ? RTNORM : RTERROR;
  }
  return RTERROR;
}
