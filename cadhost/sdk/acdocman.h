#pragma once
// The document manager: the open drawings, the current one, and write locks.

#include <memory>
#include <string>

#include "cadhost/sdk/dbdatabase.h"

// The host's internals, declared ahead outside the exported region: a class takes its
// visibility from its first declaration.
namespace cadhost {
struct DocumentState;
}

#pragma GCC visibility push(default)

namespace AcAp {
enum DocLockMode {
  kNone = 0x00,
  kAutoWrite = 0x01,
  kNotLocked = 0x02,
  kWrite = 0x04,
  kProtectedAutoWrite = 0x14,
  kRead = 0x20,
  kXWrite = 0x40,
};
}  // namespace AcAp

// One open drawing: its database, its file name, its locks and the editor state of the host
// (user coordinate system, hidden entities, the last selection).
class AcApDocument {
 public:
  ~AcApDocument();
  AcApDocument(const AcApDocument&) = delete;
  AcApDocument& operator=(const AcApDocument&) = delete;

  AcDbDatabase* database() const;
  // The drawing's full path; for a drawing never saved, the name it will be offered under
  // ("Drawing1.dxf").
  const ACHAR* fileName() const;
  // The file name without its folder.
  const ACHAR* docTitle() const;
  // True until the drawing is first saved or when it was opened from a file.
  bool isUntitled() const;
  // kWrite while any write lock is held, else kNone.
  AcAp::DocLockMode lockMode() const;
  // How many locks are held now (locks nest; each lockDocument needs an unlockDocument).
  int lockCount() const;
  // True when a command changed the drawing since it was opened or saved.
  bool isModified() const;

  cadhost::DocumentState& state() const { return *m_state; }

 private:
  friend class AcApDocManager;
  friend struct cadhost::DocumentState;
  // Only the host makes documents, from state plug-ins never see: not exported.
  __attribute__((visibility("hidden"))) explicit AcApDocument(
      std::unique_ptr<cadhost::DocumentState> state);
  std::unique_ptr<cadhost::DocumentState> m_state;
};

class AcApDocManager {
 public:
  // The document that commands run in, or nullptr when no drawing is open. The working
  // database of the host application services is always its database.
  AcApDocument* curDocument() const;
  AcApDocument* mdiActiveDocument() const { return curDocument(); }
  int documentCount() const;
  // The documents in the order they were opened; nullptr past the end.
  AcApDocument* documentAt(int index) const;
  // The document whose database is `db`, or nullptr.
  AcApDocument* document(const AcDbDatabase* db) const;

  // Write locks, counted: each successful lockDocument needs one unlockDocument.
  // eNullObjectPointer for a null document, eInvalidInput for one that is not open;
  // unlockDocument of a document without locks gives eNotApplicable and changes nothing.
  Acad::ErrorStatus lockDocument(AcApDocument* doc, AcAp::DocLockMode mode = AcAp::kWrite,
                                 const ACHAR* globalCmdName = nullptr,
                                 const ACHAR* localCmdName = nullptr, bool prompt = true);
  Acad::ErrorStatus unlockDocument(AcApDocument* doc);

  // Makes `doc` the current document (and its database the working database).
  // activateDocument gives eNotApplicable while document activation is disabled.
  Acad::ErrorStatus setCurDocument(AcApDocument* doc, AcAp::DocLockMode mode = AcAp::kNone,
                                   bool activate = false);
  Acad::ErrorStatus activateDocument(AcApDocument* doc, bool passThroughInput = false);

  // Opens a new drawing and makes it current. With a template name the drawing starts as a
  // copy of that drawing file (found with acedFindFile); without one, with the default
  // contents. eFileNotFound, or the read failure of the template.
  Acad::ErrorStatus appContextNewDocument(const ACHAR* templateName = nullptr);
  // Opens a drawing file and makes it current; a file open already is made current instead.
  // eFileNotFound, or what reading it gave (the reason is in the document manager's
  // lastOpenReport()).
  Acad::ErrorStatus appContextOpenDocument(const ACHAR* fileName);
  // Closes a document without saving; the one opened before it becomes current.
  Acad::ErrorStatus closeDocument(AcApDocument* doc);
  const cadhost::DrawingFileReport& lastOpenReport() const;

  // The bracket an application puts around its modal dialogs: while document activation is
  // disabled no command starts (posted and typed input wait) and the drafter cannot switch
  // documents. Calls nest: activation returns with the last enableDocumentActivation.
  // enableDocumentActivation without a disable gives eNotApplicable.
  Acad::ErrorStatus disableDocumentActivation();
  Acad::ErrorStatus enableDocumentActivation();
  bool isDocumentActivationEnabled() const;

  // Types `text` at the command line of `doc`, as a window posting a command does: ESC (27)
  // cancels the prompt that reads it, "\n" or "\r" is ENTER, a space is ENTER except at
  // prompts that take text. Posted text is read before the rest of the script or keyboard
  // input, once the window's handler that posts it has returned: a command posted from a
  // window runs in the document's command context after the running one ends (the ESC of a
  // posted command ends it). `activate` makes `doc` current. eNullObjectPointer for a null
  // document.
  Acad::ErrorStatus sendStringToExecute(AcApDocument* doc, const ACHAR* text,
                                        bool activate = true, bool wrapUpInactiveDoc = false,
                                        bool echoString = true);
};

// The host's document manager.
AcApDocManager* acDocManagerPtr();
#define acDocManager acDocManagerPtr()

#pragma GCC visibility pop
