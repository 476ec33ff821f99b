#pragma once
// Makes a drawing the host's working database for a scope and puts the previous one back at
// its end, whatever way the scope is left. Host calls that take no database (linetype loading,
// text extents with the drawing's styles) act on the working database.

#include "cadhost/sdk/cadhost.h"

namespace vex {

class WorkingDatabaseScope {
 public:
  explicit WorkingDatabaseScope(AcDbDatabase* db)
      : services_(acdbHostApplicationServices()), previous_(services_->workingDatabase()) {
    services_->setWorkingDatabase(db);
  }
  ~WorkingDatabaseScope() { services_->setWorkingDatabase(previous_); }
  WorkingDatabaseScope(const WorkingDatabaseScope&) = delete;
  WorkingDatabaseScope& operator=(const WorkingDatabaseScope&) = delete;

 private:
  AcDbHostApplicationServices* services_;
  AcDbDatabase* previous_;
};

}  // namespace vex
