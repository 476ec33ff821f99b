#pragma once
// The questions the table editor asks with a window of its own: which file to open or save,
// which drawing to draw into, a row height or column width, and messages to acknowledge.
// Tests put answers in place of the windows.

#include <QString>

#include <optional>
#include <string>

class QWidget;

namespace vex {

class LanguagePack;

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
  // A message with an OK button.
  virtual void Tell(QWidget* parent, const QString& title, const QString& text);
};

}  // namespace vex
