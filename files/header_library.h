#pragma once
// The header library: one flat folder of header files ("<root><name>.vtt", each with its
// picture drawing "<root><name>.vtt.dxf"), grouped into classes by the class name each file
// holds. Lists follow the order of a scan of the folder in file-name order. The scan is kept
// and taken again only for the files that changed, so listing a large library stays fast.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "files/table_file.h"
#include "model/table_header.h"
#include "platform/result.h"

namespace vex {

class ImageStore;
class MessageSink;

// Header types (TitleROrC).
inline constexpr int kVerticalHeader = 0;    // fixed columns, rows may be added
inline constexpr int kHorizontalHeader = 1;  // fixed rows, columns may be added
inline constexpr int kFullHeader = 2;        // fixed rows and columns

// Why a header name cannot be a file name of the library, or "" when it can: empty, a path
// separator, "." or "..", a control character, a name the file systems of drafters' machines
// reserve ("CON", "NUL", "COM1" ...), a leading or trailing blank or dot, the autosave file's
// name, or more than 100 characters. Header names become file names, and the library must
// never be made to write outside its folder.
std::string HeaderNameProblem(std::string_view name);

// What OK of the save-header dialog decides.
struct SaveHeaderCheck {
  bool accept = false;    // close the dialog and save
  std::string nameField;  // the name field afterwards
  std::string className;  // the class to save under ("" for none)
  std::string message;    // a message box to show first ("" for none)
};

class HeaderLibrary;

// The class box's no-class entry as the dialog's own resource holds it.
inline constexpr const char* kNoClassText = "未分类";

// OK of the save-header dialog: a class equal to `noClassText` (the box's first entry, which
// the language pack may have renamed) or to "未分类" is no class; an empty name becomes
// `defaultName` with "Header name can't empty!"; a name that cannot be a file name, or a class
// with a control character, is refused with the reason; a name whose file exists gets "-1"
// appended with "Header name is exist!Please use other name!". The dialog stays open unless
// accepted.
SaveHeaderCheck CheckSaveHeader(std::string_view name, std::string_view classText, std::string_view noClassText,
                                std::string_view defaultName, HeaderLibrary& library);

class HeaderLibrary {
 public:
  // The library in `root` (a folder; a trailing '/' is added when missing).
  explicit HeaderLibrary(std::string root);

  const std::string& Root() const { return root_; }
  // root + name + ".vtt".
  std::string HeaderPath(std::string_view name) const;

  // The distinct non-empty classes, in the order the scan first meets them.
  std::vector<std::string> ListClasses();
  // The names of the headers of `className` (all when empty), duplicates kept.
  std::vector<std::string> ListHeaders(std::string_view className);
  // The file of the first header named `headerName` (class not compared); nullopt when none
  // or when the name is empty.
  std::optional<std::string> FindHeader(std::string_view headerName);
  // The file of the first header named `headerName` in `className` (the header manager's tree
  // item: two classes may each hold a header of the same name).
  std::optional<std::string> FindHeaderInClass(std::string_view className, std::string_view headerName);
  // The header keys of every header file, in scan order (files without a name left out).
  struct Entry {
    std::string path;
    std::string name;
    std::string className;
    int type = 0;
  };
  const std::vector<Entry>& Entries();

  // Saves `table` (normalised) as a header named `name` of `className` and `type` with its
  // pictures (kept in `pictures`). Refused (kRefused) for a name that cannot be a file name and
  // when a header file of that name exists and `overwrite` is false.
  Result SaveHeader(const TableData& table, std::string_view name, std::string_view className, int type,
                    const ImageStore& pictures, bool overwrite = false);

  // Deletes the file of the first header of that name and its picture drawing (none of that
  // name is no error). Only files the scan of the library folder found are ever touched.
  Result DeleteHeader(std::string_view name);
  // Deletes the first header of that name in that class, as DeleteHeader.
  Result DeleteHeaderOfClass(std::string_view className, std::string_view name);
  // Deletes a header file the scan found (its path as Entries gives it) and its picture
  // drawing; any other path is refused and nothing is touched.
  Result DeleteHeaderFile(const std::string& path);
  // Deletes every header of the class (and no same-named header of another); the names deleted.
  Result DeleteClass(std::string_view className, std::vector<std::string>* deleted = nullptr);

  // Loads a header's table (normalised) and keys, with its pictures into `store`.
  Result LoadHeader(std::string_view name, TableHeader& header, ImageStore& store, MessageSink& sink);
  // The same for a header file the library listed.
  Result LoadHeaderFile(const std::string& path, TableHeader& header, ImageStore& store, MessageSink& sink);

 private:
  struct Stamp {
    std::uint64_t inode = 0;
    std::int64_t size = -1;
    std::int64_t mtimeNs = 0;
    bool operator==(const Stamp&) const = default;
  };
  struct Scanned {
    std::string file;  // the file name within the folder
    Stamp stamp;
    Entry entry;
  };
  void Refresh();
  // Deletes a header file and its picture drawing.
  static Result DeleteFiles(const std::string& path);

  std::string root_;
  std::vector<Scanned> scan_;  // in file-name order
  std::vector<Entry> entries_;
};

}  // namespace vex
