#pragma once
// The registry names the setup program writes and reads: VexTable's own product key, the
// host's release and product keys, its demand-load entries and profiles. Key paths use '\'
// as the registry does; file paths use '/'.

#include <cstdint>
#include <string>
#include <string_view>

namespace vex::setup {

// VexTable's product key under HKLM.
inline constexpr std::string_view kProductKey = "Software\\Harbek\\VexTable";
inline constexpr std::string_view kVersion = "1.0.0";
// The product's display name: the maker's web domain and the product word.
inline constexpr std::string_view kProductName = "vextable.example.org VexTable";
// The host's key under HKLM (release keys below it) and under HKCU (profiles).
inline constexpr std::string_view kHostKey = "Software\\Autodesk\\AutoCAD";
// VexTable's name among the host's applications and in the Commands and Groups keys.
inline constexpr std::string_view kApplication = "VexTable";
inline constexpr std::string_view kLoaderFile = "LoadVexTable.arx";
// The release whose host loads the loader through "LOADER"; older ones go through "REGPATH".
inline constexpr std::string_view kLoaderRelease = "R16";
// LOADCTRLS of the demand-load entry: the host loads the application when it starts.
inline constexpr std::uint32_t kLoadCtrls = 2;
// The profile switch the loader reads.
inline constexpr std::string_view kSwitchValue = "LoadVexTable";
// The shape fonts copied from "<install>/support/" into each host's font folder.
inline constexpr std::string_view kFontFiles[] = {"bzhz.SHX", "bzxw.shx"};
// The host program in its folder ("AcadLocation").
inline constexpr std::string_view kHostProgram = "cadhost";

inline constexpr std::string_view kNotFoundMessage =
    "Not found AutoCAD！\nPlease first install AutoCAD and then run current program！";

// A release key up to its first '.' ("R16.0" gives "R16").
std::string ReleaseShortName(std::string_view releaseKey);
// "Software\Autodesk\AutoCAD\<release>\<product>", under HKLM and HKCU alike.
std::string HostProductKey(std::string_view release, std::string_view product);
// The product's demand-load entry of VexTable (HKLM).
std::string ApplicationKey(std::string_view release, std::string_view product);
// The product's profiles (HKCU) and one profile's key.
std::string ProfilesKey(std::string_view release, std::string_view product);
std::string ProfileKey(std::string_view release, std::string_view product, std::string_view profile);
// The start-up choice (HKLM): "AppName" and "Parameter".
std::string StartupKey();
// The product key's subkey of an old release ("R14", "R15").
std::string ReleaseSubkey(int release);
// The loader built for a host release: "<install>Sys<release>/LoadVexTable.arx"; `installFolder`
// ends in '/'.
std::string LoaderPath(std::string_view installFolder, int release);

}  // namespace vex::setup
