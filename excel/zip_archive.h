#pragma once
// A workbook package (a zip file) read with bounds. Nothing is ever extracted to disk: parts
// are read into memory by name, each read stops once it has inflated more than its limit
// (whatever sizes the archive claims, so a zip bomb costs at most the limit), and part names
// that point outside the package are refused.

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "platform/result.h"

struct zip;

namespace vex::excel {

// How much reading a workbook may cost.
struct ReadLimits {
  std::int64_t maxPartBytes = std::int64_t(256) << 20;   // one part, inflated
  std::int64_t maxTotalBytes = std::int64_t(1) << 30;    // all parts read, inflated
  std::int64_t maxEntries = 20000;                      // entries of the package
  std::int64_t maxFileBytes = std::int64_t(512) << 20;  // the workbook file itself (CSV)
};

class ZipArchive {
 public:
  ~ZipArchive();
  ZipArchive(ZipArchive&&) noexcept;
  ZipArchive& operator=(ZipArchive&&) noexcept;

  // Opens the package at `path`. kNotFound for a missing file, kCannotRead when it cannot be
  // read, kMalformed when it is not a zip file, kTooLarge beyond the entry limit.
  static ResultOr<ZipArchive> Open(const std::string& path, const ReadLimits& limits = {});

  bool Has(std::string_view part) const;
  // The inflated bytes of a part. kNotFound when missing; kTooLarge when it inflates beyond
  // the part limit or the workbook's total; kMalformed when its data is damaged.
  ResultOr<std::string> Read(std::string_view part);

 private:
  ZipArchive(zip* archive, ReadLimits limits) : zip_(archive), limits_(limits) {}
  zip* zip_ = nullptr;
  ReadLimits limits_;
  std::int64_t totalRead_ = 0;
};

// The part that a relationship target names, seen from the part `source` ("xl/workbook.xml"):
// a relative target is taken from the source's folder, an absolute one ("/xl/sheet1.xml")
// from the package root. "" when it climbs above the root.
std::string ResolvePartName(std::string_view source, std::string_view target);

}  // namespace vex::excel
