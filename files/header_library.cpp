#include "files/header_library.h"

#include <sys/stat.h>

#include <algorithm>
#include <array>
#include <filesystem>

#include "files/companion_drawing.h"
#include "platform/text_util.h"

namespace vex {

namespace fs = std::filesystem;

namespace {

constexpr std::size_t kMaxHeaderNameBytes = 100;

// Names that Windows machines, where libraries are shared too, cannot hold as files.
bool IsReservedDeviceName(std::string_view name) {
  const std::string base = platform::AsciiLower(name.substr(0, name.find('.')));
  static constexpr std::array<std::string_view, 4> kPlain = {"con", "prn", "aux", "nul"};
  if (std::find(kPlain.begin(), kPlain.end(), base) != kPlain.end()) return true;
  return base.size() == 4 && (base.starts_with("com") || base.starts_with("lpt")) && base[3] >= '1' && base[3] <= '9';
}

bool IsHeaderFileName(const std::string& file) {
  return file.size() > 4 && platform::EqualsNoCase(std::string_view(file).substr(file.size() - 4), ".vtt") &&
         !platform::EqualsNoCase(file, "_AutoSave.vtt");
}

}  // namespace

std::string HeaderNameProblem(std::string_view name) {
  if (name.empty()) return "a header needs a name";
  if (name.size() > kMaxHeaderNameBytes)
    return "a header name may have at most " + std::to_string(kMaxHeaderNameBytes) + " bytes";
  if (name == "." || name == "..") return "\"" + std::string(name) + "\" cannot name a header";
  for (const char c : name) {
    if (c == '/' || c == '\\') return "a header name cannot hold a path separator";
    if (static_cast<unsigned char>(c) < 32 || c == 127) return "a header name cannot hold a control character";
    if (c == ':' || c == '*' || c == '?' || c == '"' || c == '<' || c == '>' || c == '|')
      return std::string("a header name cannot hold \"") + c + "\"";
  }
  if (name.front() == ' ' || name.back() == ' ' || name.front() == '.' || name.back() == '.')
    return "a header name cannot begin or end with a blank or a dot";
  if (IsReservedDeviceName(name)) return "\"" + std::string(name) + "\" is a name file systems reserve";
  if (platform::EqualsNoCase(name, "_AutoSave")) return "\"_AutoSave\" is the name of the autosave file";
  return {};
}

SaveHeaderCheck CheckSaveHeader(std::string_view name, std::string_view classText, std::string_view noClassText,
                                std::string_view defaultName, HeaderLibrary& library) {
  SaveHeaderCheck c;
  c.nameField = std::string(name);
  c.className = classText == noClassText || classText == kNoClassText ? std::string() : std::string(classText);
  if (name.empty()) {
    c.nameField = std::string(defaultName);
    c.message = "Header name can't empty!";
    return c;
  }
  if (const std::string why = HeaderNameProblem(name); !why.empty()) {
    c.message = why;
    return c;
  }
  for (const char ch : c.className)
    if (static_cast<unsigned char>(ch) < 32 || ch == 127) {
      c.message = "a class name cannot hold a control character";
      return c;
    }
  std::error_code ec;
  if (fs::exists(library.HeaderPath(name), ec)) {
    c.nameField = std::string(name) + "-1";
    c.message = "Header name is exist!Please use other name!";
    return c;
  }
  c.accept = true;
  return c;
}

HeaderLibrary::HeaderLibrary(std::string root) : root_(std::move(root)) {
  if (!root_.empty() && root_.back() != '/') root_ += '/';
}

std::string HeaderLibrary::HeaderPath(std::string_view name) const { return root_ + std::string(name) + ".vtt"; }

void HeaderLibrary::Refresh() {
  std::vector<std::string> files;
  std::error_code ec;
  for (fs::directory_iterator it(root_.empty() ? "." : root_, ec), end; !ec && it != end; it.increment(ec)) {
    const std::string file = it->path().filename().string();
    if (IsHeaderFileName(file)) files.push_back(file);
  }
  // File-name order: the lists do not depend on the file system.
  std::sort(files.begin(), files.end());

  std::vector<Scanned> next;
  next.reserve(files.size());
  std::size_t old = 0;
  for (const std::string& file : files) {
    struct stat st{};
    const std::string path = root_ + file;
    if (::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) continue;
    const Stamp stamp{static_cast<std::uint64_t>(st.st_ino), static_cast<std::int64_t>(st.st_size),
                      static_cast<std::int64_t>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec};
    // Both lists are in file-name order: walk the old one alongside.
    while (old < scan_.size() && scan_[old].file < file) ++old;
    if (old < scan_.size() && scan_[old].file == file && scan_[old].stamp == stamp) {
      next.push_back(scan_[old]);
      continue;
    }
    Scanned s{file, stamp, {path, {}, {}, 0}};
    TableHeader keys;
    // An unreadable file gives no keys and is skipped; an old key-value header is converted.
    if (LoadHeaderKeys(keys, kHeaderFilePrefix, path)) {
      s.entry.name = keys.TitleName;
      s.entry.className = keys.TitleType;
      s.entry.type = keys.TitleROrC;
      if (::stat(path.c_str(), &st) == 0)  // a conversion rewrote it
        s.stamp = {static_cast<std::uint64_t>(st.st_ino), static_cast<std::int64_t>(st.st_size),
                   static_cast<std::int64_t>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec};
    }
    next.push_back(std::move(s));
  }
  scan_ = std::move(next);
  entries_.clear();
  for (const Scanned& s : scan_)
    if (!s.entry.name.empty()) entries_.push_back(s.entry);
}

const std::vector<HeaderLibrary::Entry>& HeaderLibrary::Entries() {
  Refresh();
  return entries_;
}

std::vector<std::string> HeaderLibrary::ListClasses() {
  std::vector<std::string> classes;
  for (const Entry& e : Entries())
    if (!e.className.empty() && std::find(classes.begin(), classes.end(), e.className) == classes.end())
      classes.push_back(e.className);
  return classes;
}

std::vector<std::string> HeaderLibrary::ListHeaders(std::string_view className) {
  std::vector<std::string> names;
  for (const Entry& e : Entries())
    if (className.empty() || e.className == className) names.push_back(e.name);
  return names;
}

std::optional<std::string> HeaderLibrary::FindHeader(std::string_view headerName) {
  if (headerName.empty()) return std::nullopt;
  for (const Entry& e : Entries())
    if (e.name == headerName) return e.path;
  return std::nullopt;
}

std::optional<std::string> HeaderLibrary::FindHeaderInClass(std::string_view className, std::string_view headerName) {
  if (headerName.empty()) return std::nullopt;
  for (const Entry& e : Entries())
    if (e.name == headerName && e.className == className) return e.path;
  return std::nullopt;
}

Result HeaderLibrary::SaveHeader(const TableData& table, std::string_view name, std::string_view className, int type,
                                 const ImageStore& pictures, bool overwrite) {
  if (const std::string why = HeaderNameProblem(name); !why.empty()) return Result(ErrorCode::kRefused, why);
  if (className.find_first_of("\r\n") != std::string_view::npos)
    return Result(ErrorCode::kRefused, "a class name cannot hold a line break");
  std::error_code ec;
  fs::create_directories(root_, ec);
  const std::string path = HeaderPath(name);
  if (!overwrite && fs::exists(path, ec))
    return Result(ErrorCode::kRefused, "a header named \"" + std::string(name) + "\" exists");
  TableHeader h;
  static_cast<TableData&>(h) = table;
  h.Normalize();
  h.TitleName = std::string(name);
  h.TitleVersion = "1.0";
  h.TitleType = std::string(className);
  h.TitleROrC = type;
  if (auto r = SaveTableWithPictures(h, kHeaderFilePrefix, path, pictures); !r) return r;
  return SaveHeaderKeys(h, kHeaderFilePrefix, path);
}

Result HeaderLibrary::DeleteFiles(const std::string& path) {
  std::error_code ec;
  for (const std::string& file : {CompanionDrawingPath(path), path}) {
    fs::remove(file, ec);
    if (ec) return Result(ErrorCode::kCannotWrite, "cannot delete \"" + file + "\": " + ec.message());
  }
  return {};
}

Result HeaderLibrary::DeleteHeader(std::string_view name) {
  // The file comes from the scan of the library folder, whatever the name holds.
  const auto path = FindHeader(name);
  return path ? DeleteFiles(*path) : Result();
}

Result HeaderLibrary::DeleteHeaderOfClass(std::string_view className, std::string_view name) {
  const auto path = FindHeaderInClass(className, name);
  return path ? DeleteFiles(*path) : Result();
}

Result HeaderLibrary::DeleteHeaderFile(const std::string& path) {
  const std::vector<Entry>& entries = Entries();
  if (std::none_of(entries.begin(), entries.end(), [&](const Entry& e) { return e.path == path; }))
    return Result(ErrorCode::kNotFound, "\"" + path + "\" is no header of the library");
  return DeleteFiles(path);
}

Result HeaderLibrary::DeleteClass(std::string_view className, std::vector<std::string>* deleted) {
  if (className.empty()) return Result(ErrorCode::kRefused, "no class is named");
  // By file, not by name: a header of another class may have the same name.
  std::vector<Entry> doomed;
  for (const Entry& e : Entries())
    if (e.className == className) doomed.push_back(e);
  for (const Entry& e : doomed) {
    if (auto r = DeleteFiles(e.path); !r) return r;
    if (deleted) deleted->push_back(e.name);
  }
  return {};
}

Result HeaderLibrary::LoadHeader(std::string_view name, TableHeader& header, ImageStore& store, MessageSink& sink) {
  const auto path = FindHeader(name);
  if (!path) return Result(ErrorCode::kNotFound, "no header is named \"" + std::string(name) + "\"");
  return LoadHeaderFile(*path, header, store, sink);
}

Result HeaderLibrary::LoadHeaderFile(const std::string& path, TableHeader& header, ImageStore& store,
                                     MessageSink& sink) {
  TableFileReport report;
  TableHeader h;
  if (auto r = LoadTableWithPictures(h, kHeaderFilePrefix, path, store, sink, report); !r) return r;
  if (auto r = LoadHeaderKeys(h, kHeaderFilePrefix, path); !r) return r;
  h.Normalize();
  header = std::move(h);
  return {};
}

}  // namespace vex
