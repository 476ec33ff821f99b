#pragma once
// The questions the table editor asks with a window of its own: which file to open or save,
// which drawing to draw into, a row height or column width, and messages to acknowledge.
// Tests put answers in place of the windows.

#include <QString>

#include <optional>
#include <string>

#include "files/header_dialog_rules.h"

class QWidget;

namespace vex {

class HeaderLibrary;
class ImageStore;
class LanguagePack;
class MessageSink;

class EditorDialogs {
 public:
  virtual ~EditorDialogs() = default;
  // A table file to open ("VexTable File(*.vtf)"); nullopt when cancelled.
  virtual std::optional<std::string> OpenTablePath(QWidget* parent);
  // A table file to save to, with an overwrite prompt.
  virtual std::optional<std::string> SaveTablePath(QWidget* parent);
  // A drawing file (DXF, new or existing) to draw the table into.
  virtual std::optional<std::string> DrawingPath(QWidget* parent);
  // The row-height (or column-width) dialog starting at `value`; the whole number of
  // millimetres chosen, nullopt when cancelled.
  virtual std::optional<int> LineSize(QWidget* parent, const LanguagePack& language, bool column, int value);
  // The table initialization dialog (titled `caption` until the language's title replaces it);
  // a chosen header's pictures go into `pictures`. nullopt when cancelled.
  virtual std::optional<TableInitAnswer> InitTable(QWidget* parent, const LanguagePack& language,
                                                   HeaderLibrary& library, double styleHeightMm,
                                                   const QString& caption, ImageStore& pictures,
                                                   MessageSink& messages);
  // The save-header dialog; nullopt when cancelled.
  virtual std::optional<SaveHeaderAnswer> SaveHeader(QWidget* parent, const LanguagePack& language,
                                                     HeaderLibrary& library);
  // The header manager as the editor opens it.
  virtual void ManageHeaders(QWidget* parent, const LanguagePack& language, HeaderLibrary& library,
                             double styleHeightMm);
  // A message with an OK button.
  virtual void Tell(QWidget* parent, const QString& title, const QString& text);
};

}  // namespace vex
