// The database's public face: tables, header values and the host's services. Reading and
// saving drawing files is the DXF layer's part (cadhost/dxf/database_io.cpp).

#include <dirent.h>
#include <dlfcn.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>

#include "cadhost/db/database_impl.h"
#include "cadhost/db/raw_objects.h"
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

struct LayoutEntry {
  std::string name;
  long tab = 0;
  AcDbObjectId block;
};

// The LAYOUT objects of the drawing, read from their drawing-file groups: the name, tab order
// and block that follow the AcDbLayout marker. Layouts whose block is missing are left out.
std::vector<LayoutEntry> Layouts(const DatabaseImpl& impl) {
  std::vector<LayoutEntry> out;
  for (AcDbObjectId id : impl.objects) {
    const auto* o = cadhost::RawObject::cast(impl.object(id));
    const cadhost::DxfExtras* x = o != nullptr ? cadhost::ObjectAccess::extras(*o) : nullptr;
    if (x == nullptr || o->isErased() || o->dxfType() != "LAYOUT") continue;
    LayoutEntry e;
    bool inLayout = false, named = false;
    for (const cadhost::DxfTag& t : x->body) {
      if (t.code == 100) inLayout = t.value == "AcDbLayout";
      if (!inLayout) continue;
      if (t.code == 1 && !named) {
        e.name = t.value;
        named = true;
      } else if (t.code == 71) {
        e.tab = std::strtol(t.value.c_str(), nullptr, 10);
      } else if (t.code == 330 && e.block.isNull()) {
        e.block = impl.idOfHandle(AcDbHandle(std::strtoull(t.value.c_str(), nullptr, 16)));
      }
    }
    if (named && impl.get<AcDbBlockTableRecord>(e.block) != nullptr) out.push_back(std::move(e));
  }
  std::stable_sort(out.begin(), out.end(), [&](const LayoutEntry& a, const LayoutEntry& b) {
    const bool am = a.block == impl.modelSpace, bm = b.block == impl.modelSpace;
    return am != bm ? am : a.tab < b.tab;
  });
  return out;
}

}  // namespace

std::vector<std::string> AcDbDatabase::layoutNames() const {
  std::vector<std::string> names;
  for (const LayoutEntry& e : Layouts(*m_impl)) names.push_back(e.name);
  if (names.empty() && !m_impl->modelSpace.isNull()) names.push_back("Model");
  return names;
}

Acad::ErrorStatus AcDbDatabase::getLayoutBlockId(const ACHAR* layoutName, AcDbObjectId& blockId) const {
  blockId = AcDbObjectId();
  const std::string want = cadhost::FoldName(layoutName != nullptr ? layoutName : "");
  for (const LayoutEntry& e : Layouts(*m_impl))
    if (cadhost::FoldName(e.name) == want) {
      blockId = e.block;
      return Acad::eOk;
    }
  // A drawing without layout objects still has its model space.
  if (want == "MODEL" && !m_impl->modelSpace.isNull()) {
    blockId = m_impl->modelSpace;
    return Acad::eOk;
  }
  return Acad::eKeyNotFound;
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
