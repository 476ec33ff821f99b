#include "pictures/image_store.h"

#include "cadhost/sdk/cadhost.h"

namespace vex {

ImageStore::ImageStore() = default;
ImageStore::~ImageStore() = default;

AcDbDatabase& ImageStore::Create() {
  db_.reset();
  db_ = std::make_unique<AcDbDatabase>(true, true);
  return *db_;
}

AcDbDatabase& ImageStore::Ensure() { return db_ ? *db_ : Create(); }

void ImageStore::Discard() { db_.reset(); }

void ImageStore::Replace(std::unique_ptr<AcDbDatabase> database) { db_ = std::move(database); }

}  // namespace vex
