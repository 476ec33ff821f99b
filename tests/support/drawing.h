#pragma once
// Drawing content and a drawing fixture for tests of the code that works on drawings.

#include <gtest/gtest.h>

#include "cadhost/host/host_control.h"
#include "cadhost/sdk/cadhost.h"
#include "platform/message_sink.h"

namespace vex::test {

// Appends a new entity to model space of `db` (the database owns it) and returns its id.
AcDbObjectId AddToModelSpace(AcDbDatabase& db, AcDbEntity* entity);

// A new closed lightweight polyline: the rectangle with lower-left (x, y), width w, height h.
AcDbPolyline* NewRectangle(double x, double y, double w, double h);

// A new drawing, made the host's working database for the test, and a record of the messages
// the code under test gives.
class DrawingTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  AcDbObjectId Add(AcDbEntity* e) { return AddToModelSpace(db_, e); }
  AcDbObjectId AddLine(double x1, double y1, double x2, double y2);
  // A single-line text with its position and alignment point at (x, y).
  AcDbObjectId AddText(double x, double y, const char* s, double h = 3, int horz = 1, int vert = 2);
  // A grid of rows x cols cells of 10 x 30 with its top-left corner at (x0, y0).
  void AddGrid(int rows, int cols, double x0 = 0, double y0 = 0);
  // The entities of model space, in order.
  AcDbObjectIdArray ModelSpace();

  AcDbDatabase db_{true, true};
  RecordingSink messages_;
};

}  // namespace vex::test
