// INI files as the settings file, language packs and key-value table files are read: the
// profile reader's lookups and the typed settings reads over one hostile file, then a write
// into it that must read back.

#include <cstdlib>
#include <string>
#include <vector>

#include "platform/profile.h"
#include "platform/text_util.h"
#include "scratch.h"
#include "settings/profile_file.h"
#include "settings/settings.h"

namespace {

using namespace vex;

constexpr std::size_t kMaxInput = 64 << 10;
constexpr std::size_t kMaxNames = 32;

// The names before '=' on the lines of the text: the keys the file seems to hold, so that
// the lookups hit as well as miss.
std::vector<std::string> KeysOf(std::string_view text) {
  std::vector<std::string> keys;
  while (!text.empty() && keys.size() < kMaxNames) {
    const auto nl = text.find('\n');
    const std::string_view line = text.substr(0, nl);
    text.remove_prefix(nl == std::string_view::npos ? text.size() : nl + 1);
    if (const auto eq = line.find('='); eq != std::string_view::npos)
      keys.emplace_back(platform::TrimBlanks(line.substr(0, eq)));
  }
  return keys;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size > kMaxInput) return -1;
  const std::string_view text = fuzz::AsText(data, size);
  const std::string path = fuzz::WriteScratchFile("fuzz.ini", text);
  // Files of equal size written within one timestamp tick look the same to the cache.
  platform::DropProfileCache();

  std::vector<std::string> sections = platform::ReadProfileSections(path);
  if (sections.size() > kMaxNames) sections.resize(kMaxNames);
  const std::vector<std::string> keys = KeysOf(text);
  const platform::ProfileSnapshot snapshot(path);
  for (const std::string& section : sections) {
    if (!snapshot.HasSection(section)) std::abort();  // a listed section must be found
    for (const std::string& key : keys) {
      // A snapshot reads as the file does while the file stays as it is.
      if (snapshot.Read(section, key) != platform::ReadProfileString(path, section, key)) std::abort();
    }
  }

  Settings settings;
  settings.Load("BASE SETTING", ProfileFile(path).Snapshot());
  (void)settings.EffectivePlotScale();

  // A write keeps the other lines, and what was written is what is read.
  const std::string section = sections.empty() ? "BASE SETTING" : sections.front();
  if (platform::WriteProfileString(path, section, "PlotScale", "2.50")) {
    const auto back = platform::ReadProfileString(path, section, "PlotScale");
    if (!back || *back != "2.50") std::abort();
  }
  return 0;
}
