#pragma once
// What the selected entities draw, reduced to what recognition reads: straight pieces, single-
// line texts, and whether there is anything else. Drafters' tables are rarely plain lines and
// texts: block references (nested, scaled, rotated, mirrored) with attributes, tables of other
// programs, multiline text and polylines are taken apart here, in world coordinates, each part
// remembering the selected entity it belongs to.

#include <map>
#include <string>
#include <vector>

#include "cadhost/sdk/cadhost.h"
#include "recognize/cell_contents.h"

namespace vex {

class MessageSink;

// What kind of entity a selected one is to recognition.
enum class DrawnKind : unsigned char {
  kLine,        // a line: a rule when it is horizontal or vertical
  kText,        // a single-line text
  kMultiText,   // multiline text: a text per line
  kPolyline,    // straight segments, maybe arcs too
  kCompound,    // a block reference or a table of another program: what its block shows
  kCurve,       // another curve: circle, arc
  kOther,       // anything else that has extents
  kUnknown,     // a kind recognition does not use (no extents): left out
};

struct DrawnEntity {
  AcDbObjectId id;
  DrawnKind kind = DrawnKind::kUnknown;
  bool hasExtents = false;
  AcDbExtents extents;
  // Geometry besides straight pieces and texts: arcs of polylines, curves in blocks.
  bool drawsOther = false;
  // Taken from outside a selection window: only its straight pieces inside the window count.
  bool crossing = false;
  int textBegin = 0, textEnd = 0;  // its texts in DrawnSelection::texts
};

// A straight piece of an entity, in world coordinates.
struct StraightPiece {
  AcGePoint3d start;
  AcGePoint3d end;
  int entity = 0;  // index into DrawnSelection::entities
};

struct DrawnSelection {
  std::vector<DrawnEntity> entities;  // those that could be opened, in selection order
  std::vector<StraightPiece> straights;
  std::vector<TextItem> texts;
  // Parts left out, by the kind drawing files give them ("HATCH", "TEXT under a stretched
  // block", ...), with how many.
  std::map<std::string, int> leftOut;
  std::size_t visited = 0;  // entities looked at inside references and other programs' tables
};

// Most entities a selection's references are taken apart into: nested references multiply,
// and a small file can ask for billions. What lies beyond is left out (and said).
inline constexpr std::size_t kMaxDrawnParts = 2'000'000;

// Opens each entity (skipping, with "\nacdbOpenAcDbEntity wrong", those that cannot be) and
// takes it apart. A single-line text's centre is its position plus half its extents (the
// drawing's own texts); texts taken out of other entities are centred on their extents, which
// holds whatever way a reference turned them.
DrawnSelection DrawnPartsOf(const AcDbObjectIdArray& selection, MessageSink& sink);

// Adds the lines and polylines `crossing` the selection window `box`, with their straight
// pieces clipped to it; nothing else of them.
void AddCrossingParts(const AcDbObjectIdArray& crossing, const AcDbExtents& box, DrawnSelection& into);

}  // namespace vex
