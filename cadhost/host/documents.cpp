// The document manager: open drawings, the current one, locks, posted command strings.

#include <filesystem>

#include "cadhost/host/host_state.h"
#include "cadhost/sdk/acedads.h"
#include "cadhost/sdk/dbapserv.h"

namespace fs = std::filesystem;
using cadhost::DocumentState;
using cadhost::Host;

AcApDocument::AcApDocument(std::unique_ptr<DocumentState> state) : m_state(std::move(state)) {}
AcApDocument::~AcApDocument() = default;

AcApDocument* DocumentState::Make(std::unique_ptr<DocumentState> state) {
  return new AcApDocument(std::move(state));
}

AcDbDatabase* AcApDocument::database() const { return m_state->db.get(); }
const ACHAR* AcApDocument::fileName() const { return m_state->path.c_str(); }
const ACHAR* AcApDocument::docTitle() const { return m_state->title.c_str(); }
bool AcApDocument::isUntitled() const { return m_state->untitled; }
AcAp::DocLockMode AcApDocument::lockMode() const {
  return m_state->locks > 0 ? AcAp::kWrite : AcAp::kNone;
}
int AcApDocument::lockCount() const { return m_state->locks; }
bool AcApDocument::isModified() const { return m_state->modified; }

namespace cadhost {

void Host::MakeCurrent(AcApDocument* doc) {
  const bool changed = current != doc;
  current = doc;
  // A pick-first set names entities of the drawing it was made in.
  if (changed && selecting == nullptr) pickFirst.clear();
  acdbHostApplicationServices()->setWorkingDatabase(doc != nullptr ? doc->database() : nullptr);
  if (changed && window != nullptr) window->DocumentsChanged();
}

namespace {

bool IsOpen(const AcApDocument* doc) {
  for (const auto& d : Host::Get().documents)
    if (d.get() == doc) return true;
  return false;
}

AcApDocument* Adopt(std::unique_ptr<DocumentState> state) {
  Host& h = Host::Get();
  state->journal = std::make_unique<UndoJournal>(*state->db);
  h.documents.emplace_back(DocumentState::Make(std::move(state)));
  AcApDocument* doc = h.documents.back().get();
  h.MakeCurrent(doc);
  if (h.window != nullptr) h.window->DocumentsChanged();
  return doc;
}

}  // namespace
}  // namespace cadhost

AcApDocument* AcApDocManager::curDocument() const { return Host::Get().current; }

int AcApDocManager::documentCount() const {
  return static_cast<int>(Host::Get().documents.size());
}

AcApDocument* AcApDocManager::documentAt(int index) const {
  const auto& docs = Host::Get().documents;
  if (index < 0 || index >= static_cast<int>(docs.size())) return nullptr;
  return docs[static_cast<std::size_t>(index)].get();
}

AcApDocument* AcApDocManager::document(const AcDbDatabase* db) const {
  for (const auto& d : Host::Get().documents)
    if (db != nullptr && d->database() == db) return d.get();
  return nullptr;
}

Acad::ErrorStatus AcApDocManager::lockDocument(AcApDocument* doc, AcAp::DocLockMode, const ACHAR*,
                                               const ACHAR*, bool) {
  if (doc == nullptr) return Acad::eNullObjectPointer;
  if (!cadhost::IsOpen(doc)) return Acad::eInvalidInput;
  ++doc->state().locks;
  return Acad::eOk;
}

Acad::ErrorStatus AcApDocManager::unlockDocument(AcApDocument* doc) {
  if (doc == nullptr) return Acad::eNullObjectPointer;
  if (!cadhost::IsOpen(doc)) return Acad::eInvalidInput;
  if (doc->state().locks == 0) return Acad::eNotApplicable;
  --doc->state().locks;
  return Acad::eOk;
}

Acad::ErrorStatus AcApDocManager::setCurDocument(AcApDocument* doc, AcAp::DocLockMode, bool) {
  if (doc == nullptr) return Acad::eNullObjectPointer;
  if (!cadhost::IsOpen(doc)) return Acad::eInvalidInput;
  Host::Get().MakeCurrent(doc);
  return Acad::eOk;
}

Acad::ErrorStatus AcApDocManager::activateDocument(AcApDocument* doc, bool) {
  if (Host::Get().activationDisabled > 0) return Acad::eNotApplicable;
  return setCurDocument(doc);
}

Acad::ErrorStatus AcApDocManager::disableDocumentActivation() {
  Host& h = Host::Get();
  if (h.activationDisabled++ == 0 && h.window != nullptr) h.window->ActivationChanged(false);
  return Acad::eOk;
}

Acad::ErrorStatus AcApDocManager::enableDocumentActivation() {
  Host& h = Host::Get();
  if (h.activationDisabled == 0) return Acad::eNotApplicable;
  if (--h.activationDisabled == 0) {
    if (h.window != nullptr) h.window->ActivationChanged(true);
    // Input that waited for the dialog may be read now.
    if (h.source) h.source->Wake();
  }
  return Acad::eOk;
}

bool AcApDocManager::isDocumentActivationEnabled() const {
  return Host::Get().activationDisabled == 0;
}

Acad::ErrorStatus AcApDocManager::appContextNewDocument(const ACHAR* templateName) {
  Host& h = Host::Get();
  auto state = std::make_unique<DocumentState>();
  if (templateName != nullptr && *templateName != '\0') {
    std::string path;
    if (acedFindFile(templateName, path) != RTNORM) return Acad::eFileNotFound;
    state->db = std::make_unique<AcDbDatabase>(false);
    const Acad::ErrorStatus es = state->db->readDwgFile(path.c_str());
    h.lastOpenReport = state->db->lastFileReport();
    if (es != Acad::eOk) return es;
  } else {
    state->db = std::make_unique<AcDbDatabase>(true);
  }
  state->path = "Drawing" + std::to_string(++h.untitledCount) + ".dxf";
  state->title = state->path;
  cadhost::Adopt(std::move(state));
  return Acad::eOk;
}

Acad::ErrorStatus AcApDocManager::appContextOpenDocument(const ACHAR* fileName) {
  Host& h = Host::Get();
  h.lastOpenReport = {};
  if (fileName == nullptr || *fileName == '\0') return Acad::eInvalidInput;
  std::error_code ec;
  const fs::path full = fs::absolute(fs::path(fileName), ec).lexically_normal();
  if (ec || !fs::is_regular_file(full, ec)) {
    h.lastOpenReport.status = Acad::eFileNotFound;
    h.lastOpenReport.message = std::string(fileName) + ": no such drawing file";
    return Acad::eFileNotFound;
  }
  for (const auto& d : h.documents) {
    std::error_code same;
    if (!d->isUntitled() && fs::equivalent(d->fileName(), full, same)) {
      h.MakeCurrent(d.get());
      return Acad::eOk;
    }
  }
  auto state = std::make_unique<DocumentState>();
  state->db = std::make_unique<AcDbDatabase>(false);
  const Acad::ErrorStatus es = state->db->readDwgFile(full.c_str());
  h.lastOpenReport = state->db->lastFileReport();
  if (es != Acad::eOk) return es;
  state->path = full.string();
  state->title = full.filename().string();
  state->untitled = false;
  cadhost::Adopt(std::move(state));
  return Acad::eOk;
}

Acad::ErrorStatus AcApDocManager::closeDocument(AcApDocument* doc) {
  if (doc == nullptr) return Acad::eNullObjectPointer;
  Host& h = Host::Get();
  auto it = std::find_if(h.documents.begin(), h.documents.end(),
                         [doc](const auto& d) { return d.get() == doc; });
  if (it == h.documents.end()) return Acad::eInvalidInput;
  // Keep the document alive until it is off the list and no longer current.
  std::unique_ptr<AcApDocument> closing = std::move(*it);
  const auto index = it - h.documents.begin();
  h.documents.erase(it);
  if (h.current == doc) {
    AcApDocument* next = nullptr;
    if (!h.documents.empty())
      next = h.documents[static_cast<std::size_t>(index > 0 ? index - 1 : 0)].get();
    h.MakeCurrent(next);
  }
  closing.reset();
  if (h.window != nullptr) h.window->DocumentsChanged();
  return Acad::eOk;
}

const cadhost::DrawingFileReport& AcApDocManager::lastOpenReport() const {
  return Host::Get().lastOpenReport;
}

Acad::ErrorStatus AcApDocManager::sendStringToExecute(AcApDocument* doc, const ACHAR* text,
                                                      bool activate, bool, bool) {
  if (doc == nullptr || text == nullptr) return Acad::eNullObjectPointer;
  if (!cadhost::IsOpen(doc)) return Acad::eInvalidInput;
  Host& h = Host::Get();
  h.posted.emplace_back(text);
  if (activate) h.MakeCurrent(doc);
  for (const char* p = text; *p != '\0'; ++p) h.postedInput.push_back(*p);
  if (h.source) h.source->Wake();
  return Acad::eOk;
}

AcApDocManager* acDocManagerPtr() {
  static AcApDocManager manager;
  return &manager;
}
