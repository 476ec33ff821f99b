#include "settings/profile_file.h"

#include "platform/profile.h"
#include "platform/text_util.h"
#include "settings/locations.h"

namespace vex {

using platform::FileResult;

namespace {
// The buffers the numeric reads use: a longer value is cut before it is parsed.
constexpr std::size_t kIntChars = 31;
constexpr std::size_t kDoubleChars = 99;
}  // namespace

ProfileFile::ProfileFile() : path_(ActiveLocations().settingsFile) {}

ProfileFile ProfileFile::Snapshot() const {
  ProfileFile frozen(path_);
  frozen.snapshot_ = std::make_shared<const platform::ProfileSnapshot>(path_);
  return frozen;
}

std::optional<std::string> ProfileFile::Read(std::string_view section, std::string_view key) const {
  return snapshot_ ? snapshot_->Read(section, key)
                   : platform::ReadProfileString(path_, section, key);
}

bool ProfileFile::HasSection(std::string_view section) const {
  return snapshot_ ? snapshot_->HasSection(section)
                   : platform::ProfileSnapshot(path_).HasSection(section);
}

int ProfileFile::GetInt(std::string_view section, std::string_view key, int def) const {
  const auto v = Read(section, key);
  const std::string text = v ? *v : platform::FormatInt(def);
  return platform::ParseLeadingInt(platform::TruncateUtf8(text, kIntChars));
}

double ProfileFile::GetDouble(std::string_view section, std::string_view key, double def) const {
  const auto v = Read(section, key);
  const std::string text = v ? *v : platform::FormatFixed(def, 2);
  return platform::ParseLeadingDouble(platform::TruncateUtf8(text, kDoubleChars));
}

std::string ProfileFile::GetString(std::string_view section, std::string_view key,
                                   std::string_view def) const {
  auto v = Read(section, key);
  return v ? std::move(*v) : std::string(def);
}

bool ProfileFile::Has(std::string_view section, std::string_view key) const {
  return Read(section, key).has_value();
}

FileResult ProfileFile::PutInt(std::string_view section, std::string_view key, int value) const {
  return PutString(section, key, platform::FormatInt(value));
}

FileResult ProfileFile::PutDouble(std::string_view section, std::string_view key,
                                  double value) const {
  return PutString(section, key, platform::FormatFixed(value, 2));
}

FileResult ProfileFile::PutString(std::string_view section, std::string_view key,
                                  std::string_view text) const {
  if (path_.empty()) return FileResult::Fail("no settings file is configured");
  return platform::WriteProfileString(path_, section, key, text);
}

}  // namespace vex
