#pragma once
// Cell pictures: a piece of drawing captured as a block definition of a target database,
// together with the simple primitives that previews draw without touching a database.

#include <string>

#include "cadhost/sdk/dbid.h"
#include "model/cell_image.h"

class AcDbDatabase;

namespace vex {

class MessageSink;

// Copies the entities `ids` of `source` into `target` as a new block whose lower-left corner
// is the origin, and fills `images` with the preview primitives (lines, closed or open
// polylines without bulges, circles; texts give none; block references are exploded, nested
// ones too; other kinds stay in the block without a primitive). The block is named "VexTable"
// + baseName + n with the first n = 0, 1, ... that the target does not have; the name is
// written back into baseName. Returns false, with target unchanged, when nothing could be
// copied. Entities that cannot be opened are skipped with a line on `sink`.
bool CaptureImage(const AcDbObjectIdArray& ids, AcDbDatabase* source, std::string& baseName,
                  AcDbDatabase* target, AcDbObjectId& blockId, CellImageList& images, MessageSink& sink);

// The entities of block `blockName` of `db` ("" or "*Model_Space" for model space), in
// order. False when the block is missing or empty; a block table that cannot be opened is
// also said in a message box.
bool EnumerateBlock(AcDbDatabase* db, const std::string& blockName, AcDbObjectIdArray& ids, MessageSink& sink);

// Appends the preview primitives of the entities `ids` (as capture converts them; block
// references contribute nothing here, a stored block holds their pieces) to `images`.
void RebuildPreview(const AcDbObjectIdArray& ids, CellImageList& images, MessageSink& sink);

}  // namespace vex
