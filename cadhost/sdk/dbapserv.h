#pragma once
// Services of the host application that the database relies on: the working database and the
// file search.

#include <string>
#include <vector>

#include "cadhost/sdk/acadstrc.h"
#include "cadhost/sdk/adesk.h"

#pragma GCC visibility push(default)

class AcDbDatabase;

class AcDbHostApplicationServices {
 public:
  // The database the host works in; nullptr when none is set. A database that is destroyed
  // stops being the working database.
  AcDbDatabase* workingDatabase() const { return m_working; }
  void setWorkingDatabase(AcDbDatabase* db) { m_working = db; }

  // The host's file search. A name with a '/' is taken as it is; otherwise it is looked for in
  // the current folder, the folder of `db`'s file, and the support folders, in that order,
  // first with the exact name and then ignoring ASCII case. eFileNotFound when none has it.
  Acad::ErrorStatus findFile(std::string& fullPath, const ACHAR* fileName,
                             const AcDbDatabase* db = nullptr) const;
  // Support folders; by default the "support" folder beside the host library.
  const std::vector<std::string>& supportPath() const;
  void setSupportPath(std::vector<std::string> folders);

 private:
  AcDbDatabase* m_working = nullptr;
  mutable std::vector<std::string> m_support;
  mutable bool m_supportSet = false;
};

AcDbHostApplicationServices* acdbHostApplicationServices();

#pragma GCC visibility pop
