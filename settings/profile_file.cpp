#include "settings/profile_file.h"

#include "platform/profile.h"
#include "platform/text_util.h"

namespace vex {


namespace {
// The buffers the numeric reads use: a longer value is cut before it is parsed.
constexpr std::size_t kIntChars = 31;
constexpr std::size_t kDoubleChars = 99;
}  // namespace

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

Result ProfileFile::PutInt(std::string_view section, std::string_view key, int value) const {
  return PutString(section, key, platform::FormatInt(value));
}

Result ProfileFile::PutDouble(std::string_view section, std::string_view key, double value) const {
  return PutString(section, key, platform::FormatFixed(value, 2));
}

Result ProfileFile::PutString(std::string_view section, std::string_view key, std::string_view text) const {
  if (path_.empty()) return Result(ErrorCode::kRefused, "no settings file is configured");
  return platform::WriteProfileString(path_, section, key, text);
}

void ProfileBatch::PutInt(std::string_view section, std::string_view key, int value) {
  PutString(section, key, platform::FormatInt(value));
}

void ProfileBatch::PutDouble(std::string_view section, std::string_view key, double value) {
  PutString(section, key, platform::FormatFixed(value, 2));
}

void ProfileBatch::PutString(std::string_view section, std::string_view key, std::string_view text) {
  entries_.push_back({std::string(section), std::string(key), std::string(text)});
}

Result ProfileBatch::Commit(const std::string& path) const {
  if (path.empty()) return Result(ErrorCode::kRefused, "no settings file is configured");
  return platform::WriteProfileStrings(path, entries_);
}

}  // namespace vex
