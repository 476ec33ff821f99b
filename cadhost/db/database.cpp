// The database's public face: tables, header values and the host's services. Reading and
// saving drawing files is the DXF layer's part (cadhost/dxf/database_io.cpp).

#include <dirent.h>
#include <dlfcn.h>
#include <sys/stat.h>
#include <unistd.h>

#include "cadhost/db/database_impl.h"
#include "cadhost/sdk/dbapserv.h"

using cadhost::DatabaseImpl;

AcDbDatabase::AcDbDatabase(bool buildDefaultDrawing, bool /*noDocument*/)
    : m_impl(std::make_unique<DatabaseImpl>(this)) {
  if (buildDefaultDrawing) m_impl->buildDefaults();
}

AcDbDatabase::~AcDbDatabase() {
  if (acdbHostApplicationServices()->workingDatabase() == this)
    acdbHostApplicationServices()->setWorkingDatabase(nullptr);
}

namespace {

template <typename T>
Acad::ErrorStatus OpenTable(AcDbObjectId id, T*& table, AcDb::OpenMode mode) {
  table = nullptr;
  if (id.isNull()) return Acad::eNullObjectId;
  return acdbOpenObject(table, id, mode);
}

}  // namespace

Acad::ErrorStatus AcDbDatabase::getBlockTable(AcDbBlockTable*& t, AcDb::OpenMode mode) {
  return OpenTable(m_impl->blockTable, t, mode);
}
Acad::ErrorStatus AcDbDatabase::getLayerTable(AcDbLayerTable*& t, AcDb::OpenMode mode) {
  return OpenTable(m_impl->layerTable, t, mode);
}
Acad::ErrorStatus AcDbDatabase::getLinetypeTable(AcDbLinetypeTable*& t, AcDb::OpenMode mode) {
  return OpenTable(m_impl->linetypeTable, t, mode);
}
Acad::ErrorStatus AcDbDatabase::getTextStyleTable(AcDbTextStyleTable*& t, AcDb::OpenMode mode) {
  return OpenTable(m_impl->styleTable, t, mode);
}

AcDbObjectId AcDbDatabase::blockTableId() const { return m_impl->blockTable; }
AcDbObjectId AcDbDatabase::layerTableId() const { return m_impl->layerTable; }
AcDbObjectId AcDbDatabase::linetypeTableId() const { return m_impl->linetypeTable; }
AcDbObjectId AcDbDatabase::textStyleTableId() const { return m_impl->styleTable; }
AcDbObjectId AcDbDatabase::modelSpaceId() const { return m_impl->modelSpace; }
AcDbObjectId AcDbDatabase::paperSpaceId() const { return m_impl->paperSpace; }
AcDbObjectId AcDbDatabase::currentSpaceId() const {
  return m_impl->header.tilemode ? m_impl->modelSpace : m_impl->paperSpace;
}

namespace {

// A header value that names a record must name one of this database's table.
Acad::ErrorStatus SetRecord(DatabaseImpl& impl, AcDbObjectId& slot, AcDbObjectId id,
                            AcDbObjectId table) {
  const AcDbObject* o = impl.object(id);
  if (o == nullptr || o->ownerId() != table || o->isErased()) return Acad::eInvalidInput;
  slot = id;
  return Acad::eOk;
}

}  // namespace

AcDbObjectId AcDbDatabase::clayer() const { return m_impl->header.clayer; }
Acad::ErrorStatus AcDbDatabase::setClayer(AcDbObjectId id) {
  return SetRecord(*m_impl, m_impl->header.clayer, id, m_impl->layerTable);
}
AcDbObjectId AcDbDatabase::textstyle() const { return m_impl->header.textstyle; }
Acad::ErrorStatus AcDbDatabase::setTextstyle(AcDbObjectId id) {
  return SetRecord(*m_impl, m_impl->header.textstyle, id, m_impl->styleTable);
}
AcDbObjectId AcDbDatabase::celtype() const { return m_impl->header.celtype; }
Acad::ErrorStatus AcDbDatabase::setCeltype(AcDbObjectId id) {
  return SetRecord(*m_impl, m_impl->header.celtype, id, m_impl->linetypeTable);
}
double AcDbDatabase::textsize() const { return m_impl->header.textsize; }
Acad::ErrorStatus AcDbDatabase::setTextsize(double size) {
  if (!(size > 0.0)) return Acad::eInvalidInput;
  m_impl->header.textsize = size;
  return Acad::eOk;
}
bool AcDbDatabase::tilemode() const { return m_impl->header.tilemode; }
Acad::ErrorStatus AcDbDatabase::setTilemode(bool modelSpace) {
  m_impl->header.tilemode = modelSpace;
  return Acad::eOk;
}
AcDb::UnitsValue AcDbDatabase::insunits() const {
  return static_cast<AcDb::UnitsValue>(m_impl->header.insunits);
}
Acad::ErrorStatus AcDbDatabase::setInsunits(AcDb::UnitsValue units) {
  if (units < 0 || units > 24) return Acad::eInvalidInput;
  m_impl->header.insunits = units;
  return Acad::eOk;
}
AcGePoint3d AcDbDatabase::insbase() const { return m_impl->header.insbase; }
Acad::ErrorStatus AcDbDatabase::setInsbase(const AcGePoint3d& base) {
  m_impl->header.insbase = base;
  return Acad::eOk;
}
double AcDbDatabase::ltscale() const { return m_impl->header.ltscale; }
Acad::ErrorStatus AcDbDatabase::setLtscale(double scale) {
  if (!(scale > 0.0)) return Acad::eInvalidInput;
  m_impl->header.ltscale = scale;
  return Acad::eOk;
}
AcDbObjectId AcDbDatabase::byLayerLinetype() const { return m_impl->byLayer; }
AcDbObjectId AcDbDatabase::byBlockLinetype() const { return m_impl->byBlock; }
AcDbObjectId AcDbDatabase::continuousLinetype() const { return m_impl->continuous; }

const std::string& AcDbDatabase::filename() const { return m_impl->filename; }
const cadhost::DrawingFileReport& AcDbDatabase::lastFileReport() const { return m_impl->report; }

// ---- host services

AcDbHostApplicationServices* acdbHostApplicationServices() {
  static AcDbHostApplicationServices services;
  return &services;
}

namespace {

bool IsFile(const std::string& path) {
  struct stat st{};
  return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool SameIgnoringCase(std::string_view a, std::string_view b) {
  return cadhost::FoldName(a) == cadhost::FoldName(b);
}

// `folder` + name, found with the exact name or ignoring ASCII case (drawings made on other
// systems name "TXT.SHX" or "acadiso.LIN" freely).
bool FindIn(const std::string& folder, const std::string& name, std::string& out) {
  const std::string base = folder.empty() || folder.back() == '/' ? folder : folder + "/";
  if (IsFile(base + name)) {
    out = base + name;
    return true;
  }
  DIR* dir = ::opendir(folder.empty() ? "." : folder.c_str());
  if (dir == nullptr) return false;
  bool found = false;
  while (dirent* e = ::readdir(dir)) {
    if (SameIgnoringCase(e->d_name, name) && IsFile(base + e->d_name)) {
      out = base + e->d_name;
      found = true;
      break;
    }
  }
  ::closedir(dir);
  return found;
}

std::string LibraryFolder() {
  Dl_info info{};
  if (::dladdr(reinterpret_cast<void*>(&acdbHostApplicationServices), &info) == 0 ||
      info.dli_fname == nullptr)
    return ".";
  const std::string path = info.dli_fname;
  const auto slash = path.find_last_of('/');
  return slash == std::string::npos ? "." : path.substr(0, slash);
}

}  // namespace

const std::vector<std::string>& AcDbHostApplicationServices::supportPath() const {
  if (!m_supportSet) {
    m_support = {LibraryFolder() + "/support"};
    m_supportSet = true;
  }
  return m_support;
}

void AcDbHostApplicationServices::setSupportPath(std::vector<std::string> folders) {
  m_support = std::move(folders);
  m_supportSet = true;
}

Acad::ErrorStatus AcDbHostApplicationServices::findFile(std::string& fullPath,
                                                        const ACHAR* fileName,
                                                        const AcDbDatabase* db) const {
  fullPath.clear();
  if (fileName == nullptr || *fileName == '\0') return Acad::eInvalidInput;
  const std::string name = fileName;
  if (name.find('/') != std::string::npos) {
    if (!IsFile(name)) return Acad::eFileNotFound;
    fullPath = name;
    return Acad::eOk;
  }
  std::vector<std::string> folders = {"."};
  if (db != nullptr && !db->filename().empty()) {
    const auto slash = db->filename().find_last_of('/');
    folders.push_back(slash == std::string::npos ? "." : db->filename().substr(0, slash));
  }
  for (const std::string& f : supportPath()) folders.push_back(f);
  for (const std::string& folder : folders)
    if (FindIn(folder, name, fullPath)) return Acad::eOk;
  return Acad::eFileNotFound;
}
