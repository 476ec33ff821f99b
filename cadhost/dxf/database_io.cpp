// Drawing files in and out of a database: the database's file entry points. They live in the
// DXF layer so that the database never knows the file format it is stored in.

#include <memory>

#include "cadhost/db/database_impl.h"
#include "cadhost/dxf/dxf_reader.h"
#include "cadhost/dxf/dxf_writer.h"
#include "cadhost/sdk/dbapserv.h"

using cadhost::DatabaseImpl;

Acad::ErrorStatus AcDbDatabase::readDwgFile(const ACHAR* fileName) {
  if (fileName == nullptr) return Acad::eNullObjectPointer;
  // Read into a fresh store so that a failure leaves this drawing as it was; ids of the old
  // contents stop being valid once the new contents take over.
  auto fresh = std::make_unique<DatabaseImpl>(this);
  cadhost::DrawingFileReport report = cadhost::ReadDxfFile(fileName, *fresh);
  if (report.status != Acad::eOk) {
    m_impl->report = std::move(report);
    return m_impl->report.status;
  }
  fresh->filename = fileName;
  fresh->report = std::move(report);
  const bool wasWorking = acdbHostApplicationServices()->workingDatabase() == this;
  m_impl = std::move(fresh);
  if (wasWorking) acdbHostApplicationServices()->setWorkingDatabase(this);
  return Acad::eOk;
}

Acad::ErrorStatus AcDbDatabase::saveAs(const ACHAR* fileName) {
  if (fileName == nullptr) return Acad::eNullObjectPointer;
  m_impl->report = cadhost::WriteDxfFile(fileName, *m_impl);
  if (m_impl->report.status == Acad::eOk) m_impl->filename = fileName;
  return m_impl->report.status;
}

Acad::ErrorStatus acdbSaveAsR14(AcDbDatabase* db, const ACHAR* fileName) {
  if (db == nullptr) return Acad::eNullObjectPointer;
  return db->saveAs(fileName);
}
