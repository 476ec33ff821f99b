// The host's start: its own registry entries, the current profile, and the applications the
// demand-load entries name.

#include "cadhost/host/host_state.h"
#include "cadhost/sdk/acutads.h"
#include "cadhost/sdk/rxregsvc.h"
#include "platform/registry.h"

namespace cadhost {
namespace {

using vex::platform::RegHive;
using vex::platform::Registry;

constexpr const char* kHostKey = "Software\\Autodesk\\AutoCAD";
constexpr const char* kRelease = "R16.0";
constexpr const char* kProductName = "CADHOST 2004";
constexpr const char* kLanguage = "English";
constexpr const char* kDefaultProfile = "<<Unnamed Profile>>";
// LOADCTRLS bit: load when the host starts.
constexpr std::uint32_t kLoadOnStart = 2;

class Start {
 public:
  Start(Registry& reg, StartReport& report) : m_reg(reg), m_report(report) {}

  void Problem(const std::string& text) {
    acutPrintf("\n%s", text.c_str());
    m_report.problems.push_back(text);
  }

  // A write; the first refusal is reported (a broken hive refuses every write).
  void Check(const vex::Result& r) {
    if (r.ok() || m_writeFailed) return;
    m_writeFailed = true;
    Problem("The registry was not updated: " + r.message());
  }

  void SetIfMissing(RegHive hive, const std::string& key, const char* name,
                    const std::string& value) {
    if (!m_reg.GetValue(hive, key, name)) Check(m_reg.SetString(hive, key, name, value));
  }

 private:
  Registry& m_reg;
  StartReport& m_report;
  bool m_writeFailed = false;
};

}  // namespace

StartReport StartHost(const StartOptions& options) {
  StartReport report;
  Registry reg(options.registryFolder.empty() ? Registry::DefaultFolder()
                                              : options.registryFolder);
  Start start(reg, report);
  for (const std::string& p : reg.Problems()) start.Problem("Registry: " + p);

  const std::string product = acrxProductKey();
  start.SetIfMissing(RegHive::LocalMachine, kHostKey, "CurVer", kRelease);
  start.SetIfMissing(RegHive::LocalMachine, std::string(kHostKey) + "\\" + kRelease, "CurVer",
                     product.substr(product.find_last_of('\\') + 1));
  start.SetIfMissing(RegHive::LocalMachine, product, "AcadLocation", ProgramFolder());
  start.SetIfMissing(RegHive::LocalMachine, product, "ProductName", kProductName);
  start.SetIfMissing(RegHive::LocalMachine, product, "Language", kLanguage);

  const std::string profiles = product + "\\Profiles";
  std::string profile = reg.GetString(RegHive::CurrentUser, profiles, "").value_or("");
  if (!options.profile.empty()) {
    if (options.profile.find('\\') != std::string::npos) {
      start.Problem("Profile \"" + options.profile + "\" ignored: a profile name holds no '\\'.");
    } else if (options.profile != profile) {
      profile = options.profile;
      start.Check(reg.SetString(RegHive::CurrentUser, profiles, "", profile));
    }
  }
  if (profile.empty()) {
    profile = kDefaultProfile;
    start.Check(reg.SetString(RegHive::CurrentUser, profiles, "", profile));
  }
  if (!reg.KeyExists(RegHive::CurrentUser, profiles + "\\" + profile))
    start.Check(reg.CreateKey(RegHive::CurrentUser, profiles + "\\" + profile));
  report.profile = profile;

  const std::string apps = product + "\\Applications";
  for (const std::string& name : reg.SubKeys(RegHive::LocalMachine, apps)) {
    const std::string key = apps + "\\" + name;
    const auto ctrl = reg.GetDword(RegHive::LocalMachine, key, "LOADCTRLS");
    if (!ctrl || (*ctrl & kLoadOnStart) == 0) continue;
    const auto loader = reg.GetString(RegHive::LocalMachine, key, "LOADER");
    if (!loader || loader->empty()) {
      start.Problem("Application " + name + " is to load at start but names no LOADER.");
      continue;
    }
    if (acrxDynamicLinker->loadModule(loader->c_str(), true, false))
      report.loaded.push_back(*loader);
    else
      start.Problem("Application " + name + " could not be loaded from " + *loader + ".");
  }
  return report;
}

}  // namespace cadhost
