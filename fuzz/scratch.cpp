#include "scratch.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

namespace vex::fuzz {
namespace {

[[noreturn]] void Die(const std::string& why) {
  std::fprintf(stderr, "fuzz scratch: %s\n", why.c_str());
  std::abort();
}

void RemoveScratch() {
  std::error_code ec;
  fs::remove_all(ScratchDir(), ec);
}

}  // namespace

const std::string& ScratchDir() {
  // Never destroyed: the exit handler that removes the folder runs after static destructors
  // of later-made objects and must still find the name.
  static const std::string* const dir = [] {
    const char* tmp = std::getenv("TMPDIR");
    std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp") + "/vextable-fuzz-XXXXXX";
    if (::mkdtemp(pattern.data()) == nullptr) Die("cannot make a folder from " + pattern);
    std::atexit(RemoveScratch);
    return new std::string(pattern + "/");
  }();
  return *dir;
}

std::string WriteScratchFile(const std::string& name, std::string_view bytes) {
  const std::string path = ScratchDir() + name;
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  out.close();
  if (!out) Die("cannot write " + path);
  return path;
}

void ClearScratch(std::initializer_list<std::string_view> keep) {
  std::error_code ec;
  for (fs::directory_iterator it(ScratchDir(), ec), end; !ec && it != end; it.increment(ec)) {
    const std::string name = it->path().filename().string();
    bool kept = false;
    for (std::string_view k : keep) kept = kept || name == k;
    std::error_code rm;
    if (!kept) fs::remove_all(it->path(), rm);
  }
}

}  // namespace vex::fuzz
