// The host's program folder and its file search.

#include <dlfcn.h>

#include <cstring>
#include <filesystem>

#include "cadhost/host/host_state.h"
#include "cadhost/sdk/acedads.h"
#include "cadhost/sdk/dbapserv.h"
#include "platform/text_util.h"

namespace fs = std::filesystem;

namespace cadhost {
namespace {

bool IsFile(const fs::path& p) {
  std::error_code ec;
  return fs::is_regular_file(p, ec);
}

// `name` in `folder`: the exact name first, then a name differing in ASCII case only.
bool FindInFolder(const fs::path& folder, const std::string& name, std::string& out) {
  if (folder.empty()) return false;
  if (IsFile(folder / name)) {
    out = (folder / name).string();
    return true;
  }
  std::error_code ec;
  for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
    if (SameName(it->path().filename().string(), name) && IsFile(it->path())) {
      out = it->path().string();
      return true;
    }
  }
  return false;
}

}  // namespace

std::string ProgramFolder() {
  static const std::string folder = [] {
    Dl_info info{};
    if (::dladdr(reinterpret_cast<void*>(&ProgramFolder), &info) == 0 ||
        info.dli_fname == nullptr)
      return std::string(".");
    std::error_code ec;
    const fs::path lib = fs::canonical(info.dli_fname, ec);
    return ec ? fs::path(info.dli_fname).parent_path().string() : lib.parent_path().string();
  }();
  return folder;
}

bool SameName(std::string_view a, std::string_view b) {
  return vex::platform::EqualsNoCase(a, b);
}

std::string ToUpperAscii(std::string_view s) {
  std::string out(s);
  for (char& c : out)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return out;
}

}  // namespace cadhost

int acedFindFile(const ACHAR* name, std::string& result) {
  result.clear();
  if (name == nullptr || *name == '\0') return RTERROR;
  const std::string n = name;
  if (n.find('/') != std::string::npos) {
    if (!cadhost::IsFile(n)) return RTERROR;
    result = n;
    return RTNORM;
  }
  std::vector<fs::path> folders;
  if (const cadhost::DocumentState* doc = cadhost::Host::Get().CurrentState();
      doc != nullptr && !doc->untitled)
    folders.push_back(fs::path(doc->path).parent_path());
  const fs::path program = cadhost::ProgramFolder();
  folders.push_back(program);
  folders.push_back(program / "Support");
  folders.push_back(program / "Fonts");
  for (const std::string& f : acdbHostApplicationServices()->supportPath()) folders.push_back(f);
  for (const fs::path& f : folders)
    if (cadhost::FindInFolder(f, n, result)) return RTNORM;
  return RTERROR;
}

int acedFindFile(const ACHAR* name, ACHAR* result, std::size_t bufLen) {
  if (result == nullptr || bufLen == 0) return RTERROR;
  std::string found;
  if (acedFindFile(name, found) != RTNORM || found.size() + 1 > bufLen) {
    result[0] = '\0';
    return RTERROR;
  }
  std::memcpy(result, found.c_str(), found.size() + 1);
  return RTNORM;
}
