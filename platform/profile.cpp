#include "platform/profile.h"

#include <sys/stat.h>

#include <memory>
#include <mutex>
#include <unordered_map>

#include "platform/text_util.h"

namespace vex::platform {
namespace {

// Larger INI files are not ours to read: settings, packs and key-value tables are small.
constexpr std::size_t kMaxProfileBytes = std::size_t(64) << 20;

// Hashing and equality that ignore ASCII case, usable with string_view lookups so that a
// read allocates nothing.
struct NoCaseHash {
  using is_transparent = void;
  std::size_t operator()(std::string_view s) const noexcept {
    std::size_t h = 1469598103934665603ull;  // FNV-1a over the folded bytes
    for (char c : s) {
      if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
      h = (h ^ static_cast<unsigned char>(c)) * 1099511628211ull;
    }
    return h;
  }
};
struct NoCaseEqual {
  using is_transparent = void;
  bool operator()(std::string_view a, std::string_view b) const noexcept {
    return EqualsNoCase(a, b);
  }
};
template <typename T>
using NoCaseMap = std::unordered_map<std::string, T, NoCaseHash, NoCaseEqual>;

struct Section {
  std::string header;                               // the raw "[name]" line; "" for the preamble
  std::string name;                                 // trimmed name inside the brackets
  std::vector<std::string> body;                    // raw lines after the header
  NoCaseMap<std::size_t> keys;                      // key -> first line in body
  std::size_t entriesEnd = 0;                       // one past the last key line of body
};

}  // namespace

struct ProfileDocument {
  bool bom = false;
  bool crlf = false;
  std::vector<Section> sections;  // [0] is the preamble before any header
  NoCaseMap<std::size_t> byName;  // name -> first section
};

namespace {
using Document = ProfileDocument;

struct Identity {
  dev_t dev = 0;
  ino_t ino = 0;
  off_t size = 0;
  long long mtimeSec = 0;
  long long mtimeNsec = 0;
  bool operator==(const Identity&) const = default;
};

std::optional<Identity> IdentityOf(const std::string& path) {
  struct stat st{};
  if (::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return std::nullopt;
  return Identity{st.st_dev, st.st_ino, st.st_size, static_cast<long long>(st.st_mtim.tv_sec),
                  static_cast<long long>(st.st_mtim.tv_nsec)};
}

// The key of a "key=value" line, or "" for headers, comments and lines without '='.
std::string_view KeyOf(std::string_view line) {
  const std::string_view t = TrimBlanks(line);
  if (t.empty() || t.front() == ';' || t.front() == '[') return {};
  const auto eq = t.find('=');
  if (eq == std::string_view::npos) return {};
  return TrimBlanks(t.substr(0, eq));
}

std::string ValueOf(std::string_view line) {
  const auto eq = line.find('=');
  std::string_view v = TrimBlanks(line.substr(eq + 1));
  if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front())
    v = v.substr(1, v.size() - 2);
  return std::string(v);
}

void IndexLine(Section& s, std::size_t i) {
  const std::string_view key = KeyOf(s.body[i]);
  if (key.empty()) return;
  s.keys.emplace(std::string(key), i);  // emplace keeps the first of duplicates
  s.entriesEnd = i + 1;
}

Section& AddSection(Document& doc, std::string header, std::string name) {
  doc.sections.push_back(Section{std::move(header), std::move(name), {}, {}, 0});
  doc.byName.emplace(doc.sections.back().name, doc.sections.size() - 1);
  return doc.sections.back();
}

Document Parse(std::string_view text) {
  Document doc;
  if (text.substr(0, 3) == "\xEF\xBB\xBF") {
    doc.bom = true;
    text.remove_prefix(3);
  }
  doc.sections.push_back(Section{});  // preamble: keys before any section are unreachable
  while (!text.empty()) {
    auto nl = text.find('\n');
    std::string_view line = text.substr(0, nl);
    text.remove_prefix(nl == std::string_view::npos ? text.size() : nl + 1);
    if (!line.empty() && line.back() == '\r') {
      line.remove_suffix(1);
      doc.crlf = true;
    }
    const std::string_view t = TrimBlanks(line);
    if (!t.empty() && t.front() == '[') {
      const auto close = t.find(']');
      const std::string_view name = TrimBlanks(t.substr(1, close == std::string_view::npos
                                                              ? std::string_view::npos
                                                              : close - 1));
      AddSection(doc, std::string(line), std::string(name));
      continue;
    }
    Section& s = doc.sections.back();
    s.body.emplace_back(line);
    IndexLine(s, s.body.size() - 1);
  }
  return doc;
}

std::string Serialize(const Document& doc) {
  const char* eol = doc.crlf ? "\r\n" : "\n";
  std::string out;
  if (doc.bom) out = "\xEF\xBB\xBF";
  for (const Section& s : doc.sections) {
    if (&s != &doc.sections.front()) (out += s.header) += eol;
    for (const std::string& line : s.body) (out += line) += eol;
  }
  return out;
}

const Section* FindSection(const Document& doc, std::string_view name) {
  const auto it = doc.byName.find(name);
  return it == doc.byName.end() ? nullptr : &doc.sections[it->second];
}

bool HasLineBreak(std::string_view s) { return s.find_first_of("\r\n") != std::string_view::npos; }

std::string Refusal(const ProfileEntry& e) {
  if (HasLineBreak(e.section) || HasLineBreak(e.key) || HasLineBreak(e.value))
    return "refused to write [" + e.section + "] " + e.key +
           ": a line break in a value would corrupt the file";
  if (TrimBlanks(e.key).empty() || e.key.find('=') != std::string::npos ||
      TrimBlanks(e.key).front() == ';' || TrimBlanks(e.key).front() == '[')
    return "refused to write [" + e.section + "]: \"" + e.key + "\" is not a usable key name";
  if (e.section.find(']') != std::string::npos || TrimBlanks(e.section).empty())
    return "refused to write: \"" + e.section + "\" is not a usable section name";
  return {};
}

void Apply(Document& doc, const ProfileEntry& e) {
  const std::string line = std::string(TrimBlanks(e.key)) + "=" + e.value;
  auto it = doc.byName.find(TrimBlanks(e.section));
  if (it == doc.byName.end()) {
    // Keep a blank line between the old last section and the new one, as editors do.
    Section& last = doc.sections.back();
    const bool fileEmpty = doc.sections.size() == 1 && last.body.empty();
    if (!fileEmpty && (last.body.empty() || !TrimBlanks(last.body.back()).empty()))
      last.body.emplace_back();
    Section& s = AddSection(doc, "[" + std::string(TrimBlanks(e.section)) + "]",
                            std::string(TrimBlanks(e.section)));
    s.body.push_back(line);
    IndexLine(s, 0);
    return;
  }
  Section& s = doc.sections[it->second];
  const auto key = s.keys.find(TrimBlanks(e.key));
  if (key != s.keys.end()) {
    s.body[key->second] = line;
    return;
  }
  // Insert after the last entry, so blank lines and comments that lead into the next section
  // stay there; no indexed line moves because none lies after the insertion point.
  s.body.insert(s.body.begin() + static_cast<std::ptrdiff_t>(s.entriesEnd), line);
  IndexLine(s, s.entriesEnd);
}

struct CacheEntry {
  Identity identity;
  std::shared_ptr<const Document> doc;
};

class Cache {
 public:
  // The parsed file as it is on disk now; null when it is missing or unreadable.
  std::shared_ptr<const Document> Get(const std::string& path) {
    const auto id = IdentityOf(path);
    std::lock_guard lock(mutex_);
    if (!id) {
      entries_.erase(path);
      return nullptr;
    }
    auto it = entries_.find(path);
    if (it != entries_.end() && it->second.identity == *id) return it->second.doc;
    std::string text;
    if (!ReadWholeFile(path, text, kMaxProfileBytes)) {
      entries_.erase(path);
      return nullptr;
    }
    auto doc = std::make_shared<const Document>(Parse(text));
    // The file may have changed between stat and read; then the next access re-reads.
    entries_[path] = CacheEntry{*id, doc};
    return doc;
  }

  void Put(const std::string& path, std::shared_ptr<const Document> doc) {
    const auto id = IdentityOf(path);
    std::lock_guard lock(mutex_);
    if (id)
      entries_[path] = CacheEntry{*id, std::move(doc)};
    else
      entries_.erase(path);
  }

  void Drop() {
    std::lock_guard lock(mutex_);
    entries_.clear();
  }

 private:
  std::mutex mutex_;
  std::unordered_map<std::string, CacheEntry> entries_;
};

Cache& TheCache() {
  static Cache cache;
  return cache;
}

}  // namespace

namespace {
std::optional<std::string> Lookup(const Document* doc, std::string_view section,
                                  std::string_view key) {
  if (!doc) return std::nullopt;
  const Section* s = FindSection(*doc, TrimBlanks(section));
  if (!s) return std::nullopt;
  const auto it = s->keys.find(TrimBlanks(key));
  if (it == s->keys.end()) return std::nullopt;
  return ValueOf(s->body[it->second]);
}
}  // namespace

std::optional<std::string> ReadProfileString(const std::string& path, std::string_view section,
                                             std::string_view key) {
  return Lookup(TheCache().Get(path).get(), section, key);
}

ProfileSnapshot::ProfileSnapshot(const std::string& path) : doc_(TheCache().Get(path)) {}

std::optional<std::string> ProfileSnapshot::Read(std::string_view section,
                                                 std::string_view key) const {
  return Lookup(doc_.get(), section, key);
}

bool ProfileSnapshot::HasSection(std::string_view section) const {
  return doc_ && FindSection(*doc_, TrimBlanks(section)) != nullptr;
}

std::vector<std::string> ReadProfileSections(const std::string& path) {
  std::vector<std::string> names;
  if (const auto doc = TheCache().Get(path))
    for (std::size_t i = 1; i < doc->sections.size(); ++i) names.push_back(doc->sections[i].name);
  return names;
}

Result WriteProfileString(const std::string& path, std::string_view section,
                              std::string_view key, std::string_view value) {
  return WriteProfileStrings(
      path, {ProfileEntry{std::string(section), std::string(key), std::string(value)}});
}

Result WriteProfileStrings(const std::string& path, const std::vector<ProfileEntry>& entries) {
  for (const ProfileEntry& e : entries)
    if (auto why = Refusal(e); !why.empty()) return Result(ErrorCode::kRefused, why);

  auto doc = std::make_shared<Document>();
  if (const auto current = TheCache().Get(path)) {
    *doc = *current;
  } else if (IdentityOf(path)) {
    // The file exists but could not be read: writing would replace it with our few keys.
    return Result(ErrorCode::kCannotRead, "cannot read \"" + path + "\"; it was left as it was");
  } else {
    doc->sections.push_back(Section{});
  }
  for (const ProfileEntry& e : entries) Apply(*doc, e);
  if (auto r = WriteFileAtomically(path, Serialize(*doc)); !r) return r;
  TheCache().Put(path, std::move(doc));
  return {};
}

Result WriteNewProfile(const std::string& path, const std::vector<ProfileEntry>& entries) {
  for (const ProfileEntry& e : entries)
    if (auto why = Refusal(e); !why.empty()) return Result(ErrorCode::kRefused, why);
  auto doc = std::make_shared<Document>();
  doc->sections.push_back(Section{});
  for (const ProfileEntry& e : entries) Apply(*doc, e);
  if (auto r = WriteFileAtomically(path, Serialize(*doc)); !r) return r;
  TheCache().Put(path, std::move(doc));
  return {};
}

void DropProfileCache() { TheCache().Drop(); }

}  // namespace vex::platform
