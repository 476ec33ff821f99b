#pragma once
// The host-side operations that put a table's entities into a drawing and take them out
// again. The current space is model space, or paper space when the drawing's TILEMODE is 0.

#include <string>

#include "cadhost/sdk/cadhost.h"

namespace vex {

class MessageSink;

// Gives the new entity BYLAYER colour, linetype and lineweight, appends it to the current
// space of `db` and returns its id; the database owns it from then on. On failure (message
// boxes "Blocktable open wrong!", "Blocktable record open wrong!") the entity is deleted and
// the id is null.
AcDbObjectId AppendToCurrentSpace(AcDbEntity* entity, AcDbDatabase& db, MessageSink& sink);

// A line on `layer`; nothing (a null id) when the points are not more than 0.001 apart.
AcDbObjectId AddLine(const AcGePoint3d& start, const AcGePoint3d& end, AcDbObjectId layer,
                     AcDbDatabase& db, MessageSink& sink);

// A single-line text on `layer`, its position and alignment point both `position`;
// horizontal mode 0 left, 1 centre, 2 right; vertical mode 0 baseline, 1 bottom, 2 middle,
// 3 top. Nothing (a null id) for an empty text.
AcDbObjectId AddText(const AcGePoint3d& position, double rotation, const std::string& text,
                     double height, double widthFactor, AcDbObjectId style, int horizontalMode,
                     int verticalMode, AcDbObjectId layer, AcDbDatabase& db, MessageSink& sink);

// Erases each id that opens as an entity; others (gone, erased, not entities) are skipped.
void EraseEntities(const AcDbObjectIdArray& ids);

// Moves the entities by to - from.
void MoveEntities(const AcDbObjectIdArray& ids, const AcGePoint3d& from, const AcGePoint3d& to);

// Appends copies moved by to - from to the current space of each entity's database and
// returns their ids (null where an entity could not be copied).
AcDbObjectIdArray CopyEntities(const AcDbObjectIdArray& ids, const AcGePoint3d& from,
                               const AcGePoint3d& to);

}  // namespace vex
