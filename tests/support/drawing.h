#pragma once
// Small builders of drawing content for tests.

#include "cadhost/sdk/cadhost.h"

namespace vex::test {

// Appends a new entity to model space of `db` (the database owns it) and returns its id.
AcDbObjectId AddToModelSpace(AcDbDatabase& db, AcDbEntity* entity);

// A new closed lightweight polyline: the rectangle with lower-left (x, y), width w, height h.
AcDbPolyline* NewRectangle(double x, double y, double w, double h);

}  // namespace vex::test
