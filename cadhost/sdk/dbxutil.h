#pragma once
// Conversions between object ids and entity names, and between user and world coordinates.

#include "cadhost/sdk/adsdef.h"
#include "cadhost/sdk/dbmain.h"

#pragma GCC visibility push(default)

// The object id of an entity name; eInvalidInput for a name that is no entity name (a
// selection-set name, a null name).
Acad::ErrorStatus acdbGetObjectId(AcDbObjectId& id, const ads_name name);
// The entity name of an id; eNullObjectId for the null id, eUnknownHandle for an invalid one.
Acad::ErrorStatus acdbGetAdsName(ads_name name, AcDbObjectId id);

// From the current document's user coordinate system to world coordinates, and back. With
// `vec` the value is a direction and is only rotated. Without a drawing nothing is converted.
// `from` and `to` may be the same array. Returns true.
bool acdbUcs2Wcs(const ads_point from, ads_point to, bool vec);
bool acdbWcs2Ucs(const ads_point from, ads_point to, bool vec);

#pragma GCC visibility pop
