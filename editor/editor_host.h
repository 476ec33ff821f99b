#pragma once
// What the table editor window needs of the program it runs in: the plug-in inside a CAD
// host, or the batch tool's stand-alone editor. The window never touches a drawing itself.

#include <string>

#include "model/table_data.h"
#include "settings/locations.h"

class QWidget;

namespace vex {

class ImageStore;
class MessageSink;

class EditorHost {
 public:
  virtual ~EditorHost() = default;

  // The install folder, settings file, language folder and header library root.
  virtual const Locations& Where() const = 0;
  // True inside a CAD host: the commands that work on a drawing are offered and Draw hands the
  // table to the host's drawing command. Outside, Draw writes a drawing file.
  virtual bool InsideHost() const = 0;
  // True when the host has a document a posted command can run in.
  virtual bool HasActiveDocument() const = 0;
  // Cancels whatever runs in the host and runs the command `name` there.
  virtual void PostCommand(const std::string& name) = 0;
  // The table the drawing commands draw (the last one drawn).
  virtual TableData& CurrentTable() = 0;
  // The picture store that image cells name their blocks in.
  virtual ImageStore& Pictures() = 0;
  // Messages for the command line.
  virtual MessageSink& Messages() = 0;
  // Locks the current document for write around reading or saving the picture drawing;
  // false when there is none to lock (and nothing to unlock).
  virtual bool LockDocument() = 0;
  virtual void UnlockDocument() = 0;
  // The window that owns the editor, or nullptr for a top-level editor.
  virtual QWidget* OwnerWindow() const = 0;
  // Gives the input back to the host's main window after the editor was shown.
  virtual void ActivateHost() = 0;
  // The editor was closed; the window is deleted once control is back in the event loop.
  virtual void EditorClosed() = 0;
  // A modal dialog of the editor opens and closes: the host takes no command and switches no
  // document meanwhile (calls nest). Nothing to do where there is no host.
  virtual void ModalStarted() {}
  virtual void ModalEnded() {}
};

// Brackets a modal dialog of the editor for its scope.
class ModalBracket {
 public:
  explicit ModalBracket(EditorHost& host) : host_(host) { host_.ModalStarted(); }
  ~ModalBracket() { host_.ModalEnded(); }
  ModalBracket(const ModalBracket&) = delete;
  ModalBracket& operator=(const ModalBracket&) = delete;

 private:
  EditorHost& host_;
};

// Holds the current document's write lock for a scope.
class DocumentLock {
 public:
  explicit DocumentLock(EditorHost& host) : host_(host), locked_(host.LockDocument()) {}
  ~DocumentLock() {
    if (locked_) host_.UnlockDocument();
  }
  DocumentLock(const DocumentLock&) = delete;
  DocumentLock& operator=(const DocumentLock&) = delete;

 private:
  EditorHost& host_;
  bool locked_;
};

}  // namespace vex
