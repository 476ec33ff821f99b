// Registry hives as the host reads them at every start: each query over a hostile ".reg"
// file, then a write, which is refused for a hive with problems and otherwise must leave a
// file that reads without problems and holds what was written.

#include <cstdlib>
#include <string>

#include "platform/registry.h"
#include "scratch.h"

namespace {

using vex::platform::RegHive;
using vex::platform::Registry;

constexpr std::size_t kMaxInput = 64 << 10;
constexpr int kMaxDepth = 8;
constexpr std::size_t kMaxVisits = 256;

// Walks the key tree a bounded way, asking for every value of every key it visits.
void Walk(const Registry& reg, const std::string& key, int depth, std::size_t& visits) {
  if (depth > kMaxDepth || ++visits > kMaxVisits) return;
  if (!reg.KeyExists(RegHive::LocalMachine, key)) std::abort();  // it was listed
  for (const std::string& name : reg.ValueNames(RegHive::LocalMachine, key)) {
    if (!reg.GetValue(RegHive::LocalMachine, key, name)) std::abort();
    (void)reg.GetString(RegHive::LocalMachine, key, name);
    (void)reg.GetDword(RegHive::LocalMachine, key, name);
  }
  for (const std::string& sub : reg.SubKeys(RegHive::LocalMachine, key))
    Walk(reg, key.empty() ? sub : key + "\\" + sub, depth + 1, visits);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size > kMaxInput) return -1;
  vex::fuzz::ClearScratch();
  vex::fuzz::WriteScratchFile("HKLM.reg", vex::fuzz::AsText(data, size));
  Registry reg(vex::fuzz::ScratchDir());
  const bool hadProblems = !reg.Problems().empty();
  std::size_t visits = 0;
  Walk(reg, "", 0, visits);

  const std::string key = "Software\\Harbek\\VexTable";
  const vex::Result written = reg.SetString(RegHive::LocalMachine, key, "Fuzz", "value \"quoted\" \\");
  if (written.ok() == hadProblems) std::abort();
  if (written.ok()) {
    Registry fresh(vex::fuzz::ScratchDir());
    if (!fresh.Problems().empty()) std::abort();
    if (fresh.GetString(RegHive::LocalMachine, key, "Fuzz") != "value \"quoted\" \\") std::abort();
  }
  return 0;
}
