// Drawings as the host opens them (readDwgFile on a file), and what the host writes of a
// drawing it has read must read again: a drawing that opens but cannot be saved and reopened
// would lose the drafter's work at the next start.

#include <cstdio>
#include <cstdlib>

#include "cadhost/sdk/dbdatabase.h"
#include "scratch.h"

namespace {

constexpr std::size_t kMaxInput = 256 << 10;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size > kMaxInput) return -1;
  const std::string path = vex::fuzz::WriteScratchFile("fuzz.dxf", vex::fuzz::AsText(data, size));
  AcDbDatabase db(false, true);
  if (db.readDwgFile(path.c_str(), _SH_DENYWR) == Acad::eOk) {
    const std::string saved = vex::fuzz::ScratchDir() + "saved.dxf";
    if (db.saveAs(saved.c_str()) == Acad::eOk) {
      AcDbDatabase again(false, true);
      if (again.readDwgFile(saved.c_str()) != Acad::eOk) {
        std::fprintf(stderr, "the saved drawing does not read: %s\n",
                     again.lastFileReport().message.c_str());
        std::abort();
      }
    }
  }
  return 0;
}
