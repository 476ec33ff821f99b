#pragma once
// Helpers of the host-service tests: a fixture that starts each test from a fresh host, and
// running typed input through the command line.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "cadhost/host/host_control.h"
#include "cadhost/sdk/aced.h"
#include "support/run_cli.h"

namespace cadhost::test {

// A fresh host with no view (the command line is only recorded) and one new drawing.
class HostTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;
};

// The full path of a test application ("TestApp.arx", ...).
std::string AppPath(const std::string& fileName);

// Types `input` and runs the command line until it has read all of it; the recorded text.
std::string RunScript(const std::string& input);

// How often `needle` occurs in `hay`.
int Count(const std::string& hay, const std::string& needle);

}  // namespace cadhost::test

namespace cadhost::test {

// Drawing in the current document's model space; each returns the new entity's id.
AcDbObjectId AddLine(double x1, double y1, double x2, double y2);
AcDbObjectId AddText(double x, double y, const char* text, double height = 2.5,
                     double rotationDeg = 0.0);
AcDbObjectId AddCircle(double x, double y, double r);

// The ids of a selection set, in order.
std::vector<AcDbObjectId> IdsOf(const ads_name set);
// Model-space entities of the current drawing that are not erased.
std::vector<AcDbObjectId> ModelSpace();

}  // namespace cadhost::test

#define EXPECT_POINT_NEAR_3(actual, ex, ey)  \
  do {                                       \
    const AcGePoint3d p_ = (actual);         \
    EXPECT_NEAR(p_.x, (ex), 1e-9);           \
    EXPECT_NEAR(p_.y, (ey), 1e-9);           \
  } while (0)

namespace cadhost::test {

using vex::test::ProgramRun;

// Runs "cadhost ARGS" through the shell with CADHOST_REGISTRY_DIR set to `registry`, without a
// display (headless).
ProgramRun RunHostProgram(const std::string& args, const std::string& registry);
// What dxf_dump.py prints for a drawing (ezdxf through /usr/bin/python3).
std::string DumpWithEzdxf(const std::string& dxfPath);

}  // namespace cadhost::test

namespace cadhost::test {

// An entity in the words of dxf_dump.py ("LINE 0,0 10,0", "CIRCLE 5,5 r=2",
// "TEXT \"A\" 1,1 h=2.5 rot=0", "LWPOLYLINE closed=1 0,0 1,0 ..."), three decimals.
std::string Describe(AcDbObjectId id);
// Every entity of a space of the current drawing that is not erased, described.
std::vector<std::string> DescribeSpace(bool paper = false);

}  // namespace cadhost::test
