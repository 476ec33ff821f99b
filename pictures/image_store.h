#pragma once
// The picture store: one side drawing database that holds a block definition per captured
// cell picture. Image cells name their block; the store must outlive every table that names
// its blocks. Absent until first needed.

#include <memory>

class AcDbDatabase;

namespace vex {

class ImageStore {
 public:
  ImageStore();
  ~ImageStore();
  ImageStore(const ImageStore&) = delete;
  ImageStore& operator=(const ImageStore&) = delete;

  // Discards any store and makes a new empty one with the host's default contents.
  AcDbDatabase& Create();
  // Makes a store when there is none; returns it.
  AcDbDatabase& Ensure();
  // Destroys the store.
  void Discard();
  // Puts a database (read from a companion drawing) in place of the store.
  void Replace(std::unique_ptr<AcDbDatabase> database);

  // The store, or nullptr when there is none.
  AcDbDatabase* Get() const { return db_.get(); }
  explicit operator bool() const { return db_ != nullptr; }

 private:
  std::unique_ptr<AcDbDatabase> db_;
};

}  // namespace vex
