#include "files/xml_store.h"

#include <pugixml.hpp>

#include <filesystem>
#include <unordered_map>
#include <vector>

#include "platform/text_util.h"

namespace vex {

using platform::FileResult;

namespace {

// A value of only blanks is still a value (a cell text of spaces); indentation between
// elements is not, and parse_ws_pcdata_single keeps exactly the former.
constexpr unsigned kParseOptions =
    pugi::parse_default | pugi::parse_declaration | pugi::parse_ws_pcdata_single;

std::string NewDocumentText(const std::string& root) {
  const std::string r = root.empty() ? "xmlRoot" : root;
  return "<?xml version=\"1.0\" ?><" + r + "></" + r + ">";
}

// A parent element and a child name: the key of the first child of that name.
struct ChildKey {
  const void* parent;
  std::string_view name;
  bool operator==(const ChildKey&) const = default;
};
struct ChildKeyHash {
  std::size_t operator()(const ChildKey& k) const noexcept {
    return std::hash<const void*>()(k.parent) * 31 + std::hash<std::string_view>()(k.name);
  }
};

std::vector<std::string_view> Split(std::string_view s) {
  std::vector<std::string_view> parts;
  std::size_t start = 0;
  for (;;) {
    const auto slash = s.find('/', start);
    parts.push_back(s.substr(start, slash == std::string_view::npos ? slash : slash - start));
    if (slash == std::string_view::npos) break;
    start = slash + 1;
  }
  return parts;
}

// Element names we create: a conservative subset of XML names (our paths are ASCII words
// and digits); anything else would make the saved document unreadable.
bool IsElementName(std::string_view name) {
  if (name.empty()) return false;
  const auto ok = [](char c, bool first) {
    const unsigned char u = static_cast<unsigned char>(c);
    if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_' || u >= 0x80) return true;
    return !first && ((c >= '0' && c <= '9') || c == '-' || c == '.');
  };
  for (std::size_t i = 0; i < name.size(); ++i)
    if (!ok(name[i], i == 0)) return false;
  return !(name.size() >= 3 && platform::EqualsNoCase(name.substr(0, 3), "xml"));
}

// True when a comes before b in document order (a != b).
bool Precedes(pugi::xml_node a, pugi::xml_node b) {
  std::vector<pugi::xml_node> pa, pb;
  for (auto n = a; n; n = n.parent()) pa.push_back(n);
  for (auto n = b; n; n = n.parent()) pb.push_back(n);
  auto ia = pa.rbegin(), ib = pb.rbegin();
  while (ia != pa.rend() && ib != pb.rend() && *ia == *ib) ++ia, ++ib;
  if (ia == pa.rend()) return true;   // a is an ancestor of b
  if (ib == pb.rend()) return false;  // b is an ancestor of a
  for (auto n = *ia; n; n = n.next_sibling())
    if (n == *ib) return true;
  return false;
}

pugi::xml_node NextNamed(pugi::xml_node n, std::string_view name) {
  for (auto s = n.next_sibling(); s; s = s.next_sibling())
    if (s.type() == pugi::node_element && name == s.name()) return s;
  return {};
}

struct StringWriter : pugi::xml_writer {
  std::string out;
  void write(const void* data, std::size_t size) override {
    out.append(static_cast<const char*>(data), size);
  }
};

}  // namespace

struct XmlStore::Impl {
  pugi::xml_document doc;

  // The index: every element by name, and the first child of each name per parent. Views
  // point at the nodes' own name storage, which lives as long as the node.
  bool indexed = false;
  std::unordered_map<std::string_view, std::vector<pugi::xml_node>> byName;
  std::unordered_map<ChildKey, pugi::xml_node, ChildKeyHash> firstChild;

  void Reset() {
    indexed = false;
    byName.clear();
    firstChild.clear();
  }

  void Add(pugi::xml_node e) {
    byName[e.name()].push_back(e);
    firstChild.emplace(ChildKey{e.parent().internal_object(), e.name()}, e);
  }

  void EnsureIndex() {
    if (indexed) return;
    byName.clear();
    firstChild.clear();
    // Preorder visits siblings in order, so the first child of a name is inserted first.
    std::vector<pugi::xml_node> stack;
    for (auto c = doc.last_child(); c; c = c.previous_sibling())
      if (c.type() == pugi::node_element) stack.push_back(c);
    while (!stack.empty()) {
      const pugi::xml_node e = stack.back();
      stack.pop_back();
      Add(e);
      for (auto c = e.last_child(); c; c = c.previous_sibling())
        if (c.type() == pugi::node_element) stack.push_back(c);
    }
    indexed = true;
  }

  pugi::xml_node FirstChild(pugi::xml_node parent, std::string_view name) const {
    const auto it = firstChild.find(ChildKey{parent.internal_object(), name});
    return it == firstChild.end() ? pugi::xml_node() : it->second;
  }

  // The first element in document order matching //names[0]/names[1]/.../names[k-1].
  pugi::xml_node Find(const std::vector<std::string_view>& names) {
    EnsureIndex();
    // Start from the rarest name of the chain, check the ancestors above it, then walk the
    // children below it.
    std::size_t pivot = 0;
    std::size_t fewest = SIZE_MAX;
    for (std::size_t i = 0; i < names.size(); ++i) {
      const auto it = byName.find(names[i]);
      const std::size_t n = it == byName.end() ? 0 : it->second.size();
      if (n < fewest) fewest = n, pivot = i;
    }
    if (fewest == 0) return {};
    pugi::xml_node best;
    for (const pugi::xml_node x : byName.find(names[pivot])->second) {
      pugi::xml_node up = x.parent();
      bool ok = true;
      for (std::size_t i = pivot; ok && i-- > 0;) {
        ok = up.type() == pugi::node_element && names[i] == up.name();
        up = up.parent();
      }
      if (ok) Down(x, names, pivot + 1, best);
    }
    return best;
  }

  void Down(pugi::xml_node at, const std::vector<std::string_view>& names, std::size_t step,
            pugi::xml_node& best) const {
    if (step == names.size()) {
      if (!best || Precedes(at, best)) best = at;
      return;
    }
    for (auto c = FirstChild(at, names[step]); c; c = NextNamed(c, names[step]))
      Down(c, names, step + 1, best);
  }
};

XmlStore::XmlStore() = default;
XmlStore::~XmlStore() = default;

int XmlStore::Open(const std::string& fileName, const std::string& rootName) {
  impl_.reset();
  fileName_ = fileName;
  rootName_ = rootName;
  parseError_.clear();
  impl_ = std::make_unique<Impl>();

  std::string bytes;
  bool loaded = false;
  std::error_code ec;
  if (!fileName.empty() && std::filesystem::is_regular_file(fileName, ec) &&
      std::filesystem::file_size(fileName, ec) > kMaxFileBytes) {
    parseError_ = "the file is larger than " + std::to_string(kMaxFileBytes >> 20) + " MB";
  } else if (!fileName.empty() && platform::ReadWholeFile(fileName, bytes, kMaxFileBytes)) {
    const auto r = impl_->doc.load_buffer(bytes.data(), bytes.size(),
                                          kParseOptions);
    if (!r) {
      parseError_ = std::string(r.description()) + " at byte " + std::to_string(r.offset);
      impl_->doc.reset();
    } else if (!impl_->doc.document_element()) {
      parseError_ = "no root element";
      impl_->doc.reset();
    } else {
      loaded = true;
    }
  }
  if (loaded) return kLoaded;
  impl_->doc.load_string(NewDocumentText(rootName).c_str(),
                         kParseOptions);
  return parseError_.empty() ? kLoaded : kMalformed;
}

int XmlStore::Clear() {
  // The old file stays on disk until Save replaces it: deleting it first would lose the
  // user's table if the new one could not be written.
  const std::string name = fileName_;
  impl_ = std::make_unique<Impl>();
  impl_->doc.load_string(NewDocumentText("xmlRoot").c_str(),
                         kParseOptions);
  fileName_ = name;
  rootName_ = "xmlRoot";
  parseError_.clear();
  return kLoaded;
}

FileResult XmlStore::Save(const std::string& fileName) {
  if (!impl_) return FileResult::Fail("no document to save");
  if (!fileName.empty()) fileName_ = fileName;
  StringWriter w;
  impl_->doc.save(w, "\t", pugi::format_default, pugi::encoding_utf8);
  return platform::WriteFileAtomically(fileName_, w.out);
}

namespace {

// The element chain of a read: "//" + path + "/" (unless path ends in '/') + key, split.
std::vector<std::string_view> QueryNames(std::string_view path, std::string_view key,
                                         std::string& storage) {
  storage.assign(path);
  if (storage.empty() || storage.back() != '/') storage += '/';
  storage += key;
  std::string_view q = storage;
  while (!q.empty() && q.front() == '/') q.remove_prefix(1);
  auto names = Split(q);
  for (const auto n : names)
    if (n.empty()) return {};  // "//" inside a path: not a plain element chain
  return names;
}

std::string TextOf(pugi::xml_node e) {
  const pugi::xml_node only = e.first_child();
  if (only && !only.next_sibling() &&
      (only.type() == pugi::node_pcdata || only.type() == pugi::node_cdata))
    return only.value();
  std::string text;
  for (auto n = e.first_child(); n;) {
    if (n.type() == pugi::node_pcdata || n.type() == pugi::node_cdata) text += n.value();
    if (n.first_child()) {
      n = n.first_child();
      continue;
    }
    while (n && n != e && !n.next_sibling()) n = n.parent();
    if (!n || n == e) break;
    n = n.next_sibling();
  }
  return text;
}

}  // namespace

std::string XmlStore::GetString(std::string_view path, std::string_view key,
                                std::string_view def) const {
  if (!impl_) return std::string(def);
  std::string storage;
  const auto names = QueryNames(path, key, storage);
  if (names.empty()) return std::string(def);
  const pugi::xml_node e = impl_->Find(names);
  return e ? TextOf(e) : std::string(def);
}

bool XmlStore::Has(std::string_view path, std::string_view key) const {
  if (!impl_) return false;
  std::string storage;
  const auto names = QueryNames(path, key, storage);
  return !names.empty() && impl_->Find(names);
}

int XmlStore::GetInt(std::string_view path, std::string_view key, int def) const {
  return platform::ParseLeadingInt(GetString(path, key, platform::FormatInt(def)));
}

double XmlStore::GetDouble(std::string_view path, std::string_view key, double def) const {
  return platform::ParseLeadingDouble(GetString(path, key, platform::FormatFixed(def, 6)));
}

void XmlStore::PutInt(std::string_view path, std::string_view key, int value) {
  PutString(path, key, platform::FormatInt(value));
}

void XmlStore::PutDouble(std::string_view path, std::string_view key, double value) {
  PutString(path, key, platform::FormatFixed(value, 6));
}

void XmlStore::PutString(std::string_view path, std::string_view key, std::string_view text) {
  if (!impl_ || path.empty()) return;
  std::string address(path);
  if (address.back() != '/') address += '/';
  address += key;
  for (char& c : address)
    if (c == ' ') c = '_';
  if (!address.empty() && address.back() == '/') address.pop_back();
  const auto names = Split(address);
  for (const auto n : names)
    if (!IsElementName(n)) return;

  impl_->EnsureIndex();
  pugi::xml_node node = impl_->doc.document_element();
  if (!node) return;
  for (const auto n : names) {
    pugi::xml_node child = impl_->FirstChild(node, n);
    if (!child) {
      child = node.append_child(std::string(n).c_str());
      impl_->Add(child);
    }
    node = child;
  }
  bool removedElements = false;
  while (pugi::xml_node c = node.first_child()) {
    removedElements = removedElements || c.type() == pugi::node_element;
    node.remove_child(c);
  }
  if (removedElements) impl_->indexed = false;  // views into removed nodes are gone
  if (!text.empty()) node.append_child(pugi::node_pcdata).set_value(std::string(text).c_str());
}

}  // namespace vex
