#include "support/run_cli.h"

#include <sys/wait.h>

#include <cstdio>

#include "support/temp_dir.h"

namespace vex::test {

ProgramRun RunShell(const std::string& command) {
  ProgramRun r;
  TempDir scratch;
  const std::string errFile = scratch.File("stderr");
  const std::string cmd = "{ " + command + " ; } 2>" + errFile;
  FILE* p = ::popen(cmd.c_str(), "r");
  if (!p) return r;
  char buf[4096];
  for (std::size_t n; (n = std::fread(buf, 1, sizeof buf, p)) > 0;) r.out.append(buf, n);
  const int w = ::pclose(p);
  r.status = WIFEXITED(w) ? WEXITSTATUS(w) : -1;
  r.err = ReadFile(errFile);
  return r;
}

ProgramRun RunCli(const std::string& args) { return RunShell(std::string(VEXTABLE_CLI) + " " + args); }

}  // namespace vex::test
