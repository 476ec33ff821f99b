#pragma once
// Helpers of the host-service tests: a fixture that starts each test from a fresh host, and
// running typed input through the command line.

#include <gtest/gtest.h>

#include <string>

#include "cadhost/sdk/aced.h"
#include "cadhost/sdk/host_control.h"

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
