#pragma once
// Bringing the pictures of cells that come from elsewhere (an inserted header) into a picture
// store that already serves other cells, without disturbing the pictures those cells name.

#include "model/table_data.h"
#include "platform/result.h"

class AcDbDatabase;

namespace vex {

class ImageStore;

// Copies into `into` the block of `from` that each image cell of `inserted` names, with the
// blocks, layers, linetypes and styles it uses, and keeps every block already in the store as
// it is. A block of the store that holds the same picture under that name, or under a name an
// earlier merge gave it ("name_1", ...), is shared; for a different picture the copy gets a fresh name (the name followed by "_1", "_2", ...) and the cells are
// renamed to it; nested blocks whose names clash are renamed inside the copy the same way. A
// cell whose block `from` lacks (or `from` is null) keeps its name only while the store has no
// block of that name, since it would show another picture; otherwise it loses name and preview.
// Without image cells the store is not touched (not even made). Fails (kHostError) when the
// host refuses a copy; the cells concerned are then treated as if `from` lacked their block,
// and the other cells are merged all the same.
Result MergePictures(TableData& inserted, AcDbDatabase* from, ImageStore& into);

// Whether block `nameA` of `a` and block `nameB` of `b` hold the same picture: the same
// entities in the same order with the same kind, layer name, colour, extents, preview
// geometry, texts and, for references, the same nested picture. Kinds it cannot look into
// count as different, so that an unsure answer never makes two pictures share a name.
bool SamePicture(AcDbDatabase& a, const std::string& nameA, AcDbDatabase& b, const std::string& nameB);

}  // namespace vex
