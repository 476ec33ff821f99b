#include "settings/language_pack.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "platform/profile.h"
#include "platform/text_util.h"
#include "settings/profile_file.h"

extern const unsigned char kEmbedded_English_ini[];
extern const std::size_t kEmbedded_English_ini_size;
extern const unsigned char kEmbedded_Chinese_ini[];
extern const std::size_t kEmbedded_Chinese_ini_size;

namespace vex {

namespace fs = std::filesystem;

namespace {
constexpr std::size_t kTextChars = 999;
constexpr std::size_t kListNameChars = 99;
constexpr const char* kNotFound = "Not found";

std::string WithSlash(std::string folder) {
  if (!folder.empty() && folder.back() != '/') folder += '/';
  return folder;
}
}  // namespace

std::string_view BuiltinPack(int id) {
  switch (id) {
    case kChinesePackId:
      return {reinterpret_cast<const char*>(kEmbedded_Chinese_ini), kEmbedded_Chinese_ini_size};
    case kEnglishPackId:
      return {reinterpret_cast<const char*>(kEmbedded_English_ini), kEmbedded_English_ini_size};
    default:
      return {};
  }
}

LanguagePack::LanguagePack(std::string languageFolder, std::string settingsFile)
    : folder_(WithSlash(std::move(languageFolder))), settingsFile_(std::move(settingsFile)) {}

std::vector<std::string> LanguagePack::PackFiles() const {
  std::vector<std::string> files;
  std::error_code ec;
  for (fs::directory_iterator it(folder_.empty() ? "." : folder_, ec), end; !ec && it != end;
       it.increment(ec)) {
    if (it->is_directory(ec)) continue;
    const std::string name = it->path().filename().string();
    // "*.ini" as the platform's folder search matches it: any case of the extension.
    if (name.size() > 4 && platform::EqualsNoCase(std::string_view(name).substr(name.size() - 4), ".ini"))
      files.push_back(folder_ + name);
  }
  // File-name order, so the result does not depend on the file system.
  std::sort(files.begin(), files.end());
  return files;
}

Result LanguagePack::StartLanguage(std::string_view name) const {
  std::string language = name.empty() ? ActiveLanguage() : std::string(name);
  bool found = false;
  for (const std::string& file : PackFiles()) {
    if (ProfileFile(file).GetString("Setting", "Language", "") == language) {
      found = true;
      break;
    }
  }
  if (!found) {
    std::error_code ec;
    if (!folder_.empty()) fs::create_directories(folder_, ec);
    if (ec) return Result(ErrorCode::kCannotWrite, "cannot create the language folder \"" + folder_ + "\": " + ec.message());
    if (auto r = platform::WriteFileAtomically(folder_ + "English.ini", BuiltinPack(kEnglishPackId)); !r)
      return r;
    if (auto r = platform::WriteFileAtomically(folder_ + "Chinese.ini", BuiltinPack(kChinesePackId)); !r)
      return r;
    language = "English";
  }
  // Written only when it changes: an installation may be read-only for the drafter.
  if (language == ActiveLanguage() && ProfileFile(settingsFile_).Has("Setting", "Language")) return {};
  return SetLanguage(language);
}

std::string LanguagePack::Text(std::string_view key) const {
  const std::string value = ProfileFile(PackPath(ActiveLanguage())).GetString("String", key, kNotFound);
  return platform::ReplaceAll(platform::TruncateUtf8(value, kTextChars), "\\n", "\n");
}

std::string LanguagePack::DialogText(int dialogId, int controlId) const {
  const std::string key = "IDD" + std::to_string(dialogId) + "_" +
                          (controlId == kDialogTitle ? std::string("Title") : std::to_string(controlId));
  return platform::TruncateUtf8(ProfileFile(PackPath(ActiveLanguage())).GetString("String", key, ""),
                                kTextChars);
}

LanguageList LanguagePack::ListLanguages() const {
  LanguageList list;
  for (const std::string& file : PackFiles()) {
    std::string name = platform::TruncateUtf8(ProfileFile(file).GetString("Setting", "Language", ""),
                                              kListNameChars);
    if (!name.empty()) list.names.push_back(std::move(name));
  }
  list.active = ActiveLanguage();
  return list;
}

Result LanguagePack::SetLanguage(std::string_view name) const {
  return ProfileFile(settingsFile_).PutString("Setting", "Language", name);
}

std::string LanguagePack::ActiveLanguage() const {
  return platform::TruncateUtf8(ProfileFile(settingsFile_).GetString("Setting", "Language", "English"),
                                kTextChars);
}

std::string LanguagePack::PackPath(std::string_view language) const {
  return folder_ + std::string(language) + ".ini";
}

}  // namespace vex
