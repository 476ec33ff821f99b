#include "setup/registration.h"

#include "platform/atomic_file.h"
#include "setup/setup_keys.h"

namespace vex::setup {

using platform::RegHive;
using platform::Registry;

namespace {

constexpr RegHive HKLM = RegHive::LocalMachine;
constexpr RegHive HKCU = RegHive::CurrentUser;
// A shape font is small; anything larger is not ours.
constexpr std::size_t kMaxFontBytes = std::size_t(4) << 20;

// The writes of one step: none at all when a hive file has problems (the stand-in would refuse
// the writes to that hive only, leaving the other half done), and none after the first that
// fails, which is kept.
class Writes {
 public:
  explicit Writes(Registry& reg) : reg_(reg) {
    if (const auto problems = reg.Problems(); !problems.empty())
      outcome_ = Result(ErrorCode::kMalformed,
                        "The registry cannot be read (" + problems.front() + "); nothing was changed.");
  }

  void String(RegHive hive, const std::string& key, std::string_view name, std::string_view value) {
    if (ok()) outcome_ = reg_.SetString(hive, key, name, value);
  }
  void Dword(RegHive hive, const std::string& key, std::string_view name, std::uint32_t value) {
    if (ok()) outcome_ = reg_.SetDword(hive, key, name, value);
  }
  void DeleteTree(RegHive hive, const std::string& key) {
    if (ok()) outcome_ = reg_.DeleteTree(hive, key);
  }
  bool ok() const { return outcome_.ok(); }
  Result Outcome() const { return outcome_; }

 private:
  Registry& reg_;
  Result outcome_;
};

void DemandLoad(Writes& w, const HostProduct& product, std::string_view installFolder) {
  const std::string key = ApplicationKey(product.release, product.product);
  w.Dword(HKLM, key, "LOADCTRLS", kLoadCtrls);
  const std::string release = ReleaseShortName(product.release);
  if (release != kLoaderRelease) {
    w.String(HKLM, key, "REGPATH", "\\\\HKEY_LOCAL_MACHINE\\" + std::string(kProductKey) + "\\" + release);
    return;
  }
  w.String(HKLM, key, "LOADER", LoaderPath(installFolder, 16));
  w.String(HKLM, key + "\\Commands", kApplication, kApplication);
  w.String(HKLM, key + "\\Groups", kApplication, kApplication);
}

void Startup(Writes& w, const HostProduct& product, std::string_view profile) {
  w.String(HKLM, StartupKey(), "AppName", product.AppName());
  w.String(HKLM, StartupKey(), "Parameter", profile);
}

void Switch(Writes& w, const HostProduct& product, std::string_view profile, bool on) {
  w.String(HKCU, ProfileKey(product.release, product.product, profile), kSwitchValue, on ? "TRUE" : "FALSE");
}

}  // namespace

Result WriteProductKey(Registry& reg, std::string_view installFolder) {
  Writes w(reg);
  const std::string key(kProductKey);
  w.String(HKLM, key, "Version", kVersion);
  w.String(HKLM, key, "ProductName", kProductName);
  w.String(HKLM, key, "InstallPath", installFolder);
  for (const int release : {14, 15}) {
    const std::string sub = ReleaseSubkey(release);
    w.String(HKLM, sub + "\\Commands", kApplication, kApplication);
    w.String(HKLM, sub + "\\Groups", kApplication, kApplication);
    w.String(HKLM, sub + "\\Loader", "MODULE", LoaderPath(installFolder, release));
    w.String(HKLM, sub + "\\Name", kApplication, kApplication);
  }
  return w.Outcome();
}

Result RegisterDemandLoad(Registry& reg, const HostProduct& product, std::string_view installFolder) {
  Writes w(reg);
  DemandLoad(w, product, installFolder);
  return w.Outcome();
}

Result RemoveDemandLoad(Registry& reg, const HostProduct& product) {
  Writes w(reg);
  w.DeleteTree(HKLM, ApplicationKey(product.release, product.product));
  return w.Outcome();
}

Result SetStartup(Registry& reg, const HostProduct& product, std::string_view profile) {
  Writes w(reg);
  Startup(w, product, profile);
  return w.Outcome();
}

int CopyFonts(std::string_view installFolder, const HostProduct& product) {
  const std::string folder = product.FontFolder();
  if (folder.empty()) return 0;  // never the file system's root "/Fonts"
  int copied = 0;
  for (const std::string_view name : kFontFiles) {
    std::string bytes;
    if (!platform::ReadWholeFile(std::string(installFolder) + "support/" + std::string(name), bytes, kMaxFontBytes))
      continue;
    if (platform::WriteFileAtomically(folder + "/" + std::string(name), bytes)) ++copied;
  }
  return copied;
}

Registration Detect(const Registry& reg) { return {FindHostProducts(reg), Result::Ok()}; }

Registration RegisterAll(Registry& reg, std::string_view installFolder) {
  Registration r = Detect(reg);
  Writes w(reg);
  for (std::size_t i = 0; i < r.products.size() && w.ok(); ++i) {
    const HostProduct& product = r.products[i];
    if (i == 0) Startup(w, product, "");
    CopyFonts(installFolder, product);
    DemandLoad(w, product, installFolder);
    for (const std::string& profile : product.profiles) Switch(w, product, profile, true);
  }
  r.written = w.Outcome();
  return r;
}

Result Apply(Registry& reg, const ProductList& list, std::string_view installFolder) {
  Writes w(reg);
  const auto& rows = list.Rows();
  for (int i = 0; i < static_cast<int>(rows.size()) && w.ok(); ++i) {
    const ProductRow& row = rows[i];
    if (list.IsStartup({i, -1})) Startup(w, row.product, "");
    for (int j = 0; j < static_cast<int>(row.profiles.size()); ++j) {
      if (list.IsStartup({i, j})) Startup(w, row.product, row.profiles[j].name);
      Switch(w, row.product, row.profiles[j].name, row.profiles[j].checked);
    }
    if (list.AnyProfileChecked(i)) {
      DemandLoad(w, row.product, installFolder);
      if (w.ok()) CopyFonts(installFolder, row.product);
    } else {
      w.DeleteTree(HKLM, ApplicationKey(row.product.release, row.product.product));
    }
  }
  return w.Outcome();
}

}  // namespace vex::setup
