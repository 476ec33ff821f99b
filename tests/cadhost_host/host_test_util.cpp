#include "cadhost_host/host_test_util.h"

namespace cadhost::test {

void HostTest::SetUp() {
  ResetHost();
  SetCommandLineView(nullptr);
  ASSERT_EQ(acDocManager->appContextNewDocument(nullptr), Acad::eOk);
  Feedback::Clear();
}

void HostTest::TearDown() {
  ResetHost();
  SetCommandLineView(nullptr);
}

std::string AppPath(const std::string& fileName) {
  return std::string(CADHOST_TEST_APPS) + "/" + fileName;
}

std::string RunScript(const std::string& input) {
  Feedback::Clear();
  TypeInput(input);
  RunCommandLine();
  return Feedback::Text();
}

int Count(const std::string& hay, const std::string& needle) {
  int n = 0;
  for (auto pos = hay.find(needle); pos != std::string::npos; pos = hay.find(needle, pos + 1))
    ++n;
  return n;
}

}  // namespace cadhost::test
