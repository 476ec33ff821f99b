#pragma once
// A small key store over one XML document: a value lives in the text of the element chain
// "path/key" below the root element. Writes are rooted (root/A/B/C, first child of each
// name, created when missing); reads find the first element in document order that matches
// the descendant query //path/key anywhere in the document. Nothing reaches the disk but
// Save and Clear.
//
// Reads are answered through an index of the document (elements by name, children by parent
// and name) that writes keep current, so loading a large table is linear, not quadratic.

#include <memory>
#include <span>
#include <type_traits>
#include <string>
#include <string_view>

#include "platform/atomic_file.h"
#include "platform/result.h"

namespace vex {

class XmlStore {
 public:
  // Results of Open.
  static constexpr int kNoParser = 0;  // the parser could not be created
  static constexpr int kMalformed = 1;  // the file exists but is not well-formed XML
  static constexpr int kLoaded = 2;     // the file, or a new empty document, is loaded

  XmlStore();
  ~XmlStore();
  XmlStore(const XmlStore&) = delete;
  XmlStore& operator=(const XmlStore&) = delete;

  // Releases any document, remembers both names and loads the file; a file that cannot be
  // opened gives a new document: a declaration and an empty root element (root "xmlRoot"
  // when rootName is empty). A malformed file leaves a new empty document in memory.
  int Open(const std::string& fileName, const std::string& rootName);

  // Deletes the remembered file from disk and starts a new empty "xmlRoot" document for the
  // same name (result of the reopen: kLoaded).
  int Clear();

  // Saves to fileName (then remembered) or, when empty, to the remembered name. The old
  // file is replaced only once the new one is complete. Failure gives the reason.
  Result Save(const std::string& fileName = "");

  // The addressed element's text read as an integer / double / text; the default when the
  // element is missing. Defaults pass through "%d" / "%.6f" first, as stored numbers do.
  int GetInt(std::string_view path, std::string_view key, int def) const;
  double GetDouble(std::string_view path, std::string_view key, double def) const;
  std::string GetString(std::string_view path, std::string_view key, std::string_view def) const;
  // True when the addressed element exists.
  bool Has(std::string_view path, std::string_view key) const;

  // Writes "%d" / "%.6f" / the text into the addressed element, creating the chain. An empty
  // path or a store without a document does nothing.
  void PutInt(std::string_view path, std::string_view key, int value);
  void PutDouble(std::string_view path, std::string_view key, double value);
  void PutString(std::string_view path, std::string_view key, std::string_view text);

  // One element of the document, for a walk: its text is read only when asked for.
  class Element {
   public:
    // The text of the element as reads give it: all text below it, in document order.
    std::string Text() const;

   private:
    friend class XmlStore;
    explicit Element(const void* node) : node_(node) {}
    const void* node_;
  };

  // Calls visit(chain, element) for every element in document order, chain being the names
  // from the root element down to the element itself; a visitor that returns bool stops the
  // walk by returning false. For readers that want many keys of one document in one pass (a
  // whole table) without the index the single reads build.
  template <class Visit>
  void ForEachElement(Visit&& visit) const {
    WalkElements([](void* context, std::span<const std::string_view> chain, Element e) {
      auto& v = *static_cast<std::remove_reference_t<Visit>*>(context);
      if constexpr (std::is_same_v<decltype(v(chain, e)), bool>) return v(chain, e);
      else {
        v(chain, e);
        return true;
      }
    }, &visit);
  }

  // Why the last Open gave kMalformed, with the byte offset ("" otherwise).
  const std::string& ParseError() const { return parseError_; }
  const std::string& FileName() const { return fileName_; }

  // Whether writes create elements of this name: a conservative subset of XML names.
  static bool IsElementName(std::string_view name);

  // Upper bound on the size of a file Open will read; larger files count as malformed.
  static constexpr std::size_t kMaxFileBytes = std::size_t(512) << 20;

 private:
  using Visitor = bool (*)(void* context, std::span<const std::string_view> chain, Element e);
  void WalkElements(Visitor visit, void* context) const;

  struct Impl;
  std::unique_ptr<Impl> impl_;
  std::string fileName_;
  std::string rootName_;
  std::string parseError_;
};

}  // namespace vex
