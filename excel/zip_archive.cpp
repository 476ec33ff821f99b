#include "excel/zip_archive.h"

#include <zip.h>

#include <filesystem>
#include <vector>

namespace vex::excel {

ZipArchive::~ZipArchive() {
  if (zip_) zip_discard(zip_);
}

ZipArchive::ZipArchive(ZipArchive&& o) noexcept : zip_(o.zip_), limits_(o.limits_), totalRead_(o.totalRead_) {
  o.zip_ = nullptr;
}

ZipArchive& ZipArchive::operator=(ZipArchive&& o) noexcept {
  if (this != &o) {
    if (zip_) zip_discard(zip_);
    zip_ = o.zip_;
    limits_ = o.limits_;
    totalRead_ = o.totalRead_;
    o.zip_ = nullptr;
  }
  return *this;
}

ResultOr<ZipArchive> ZipArchive::Open(const std::string& path, const ReadLimits& limits) {
  std::error_code ec;
  if (!std::filesystem::exists(path, ec)) return Result(ErrorCode::kNotFound, "the file does not exist");
  if (std::filesystem::is_directory(path, ec)) return Result(ErrorCode::kCannotRead, "it is a folder, not a file");
  int error = 0;
  zip* z = zip_open(path.c_str(), ZIP_RDONLY, &error);
  if (!z) {
    switch (error) {
      case ZIP_ER_NOZIP:
      case ZIP_ER_INCONS:
        return Result(ErrorCode::kMalformed, "it is not a workbook (not a zip package)");
      case ZIP_ER_NOENT:
        return Result(ErrorCode::kNotFound, "the file does not exist");
      default: {
        zip_error_t e;
        zip_error_init_with_code(&e, error);
        std::string why = zip_error_strerror(&e);
        zip_error_fini(&e);
        return Result(ErrorCode::kCannotRead, "it cannot be read (" + why + ")");
      }
    }
  }
  const zip_int64_t entries = zip_get_num_entries(z, 0);
  if (entries < 0 || entries > limits.maxEntries) {
    zip_discard(z);
    return Result(ErrorCode::kTooLarge, "the package has " + std::to_string(entries) +
                                            " parts, more than a workbook has");
  }
  return ZipArchive(z, limits);
}

bool ZipArchive::Has(std::string_view part) const {
  return zip_name_locate(zip_, std::string(part).c_str(), 0) >= 0;
}

ResultOr<std::string> ZipArchive::Read(std::string_view part) {
  const std::string name(part);
  const zip_int64_t index = zip_name_locate(zip_, name.c_str(), 0);
  if (index < 0) return Result(ErrorCode::kNotFound, "the package has no part \"" + name + "\"");
  zip_file_t* f = zip_fopen_index(zip_, static_cast<zip_uint64_t>(index), 0);
  if (!f) {
    return Result(ErrorCode::kMalformed, "the part \"" + name + "\" cannot be opened (" +
                                             zip_strerror(zip_) + ")");
  }
  const std::int64_t limit = std::min(limits_.maxPartBytes, limits_.maxTotalBytes - totalRead_);
  std::string out;
  std::vector<char> buffer(1 << 16);
  Result failure;
  for (;;) {
    const zip_int64_t n = zip_fread(f, buffer.data(), buffer.size());
    if (n < 0) {
      failure = Result(ErrorCode::kMalformed, "the part \"" + name + "\" is damaged (" +
                                                  zip_error_strerror(zip_file_get_error(f)) + ")");
      break;
    }
    if (n == 0) break;
    // Judged by what inflates, not by what the archive claims: its sizes can lie.
    if (static_cast<std::int64_t>(out.size()) + n > limit) {
      failure = Result(ErrorCode::kTooLarge,
                       "the part \"" + name + "\" inflates to more than " +
                           std::to_string((limit + (1 << 20) - 1) >> 20) +
                           " MiB; a workbook part that large is refused (a zip bomb?)");
      break;
    }
    out.append(buffer.data(), static_cast<std::size_t>(n));
  }
  zip_fclose(f);
  if (!failure.ok()) return failure;
  totalRead_ += static_cast<std::int64_t>(out.size());
  return out;
}

std::string ResolvePartName(std::string_view source, std::string_view target) {
  std::vector<std::string> parts;
  auto push = [&](std::string_view path) {
    std::size_t start = 0;
    while (start <= path.size()) {
      const std::size_t slash = path.find('/', start);
      const std::string_view piece = path.substr(start, slash == std::string_view::npos ? std::string_view::npos : slash - start);
      if (piece == "..") {
        if (parts.empty()) return false;
        parts.pop_back();
      } else if (!piece.empty() && piece != ".") {
        parts.emplace_back(piece);
      }
      if (slash == std::string_view::npos) break;
      start = slash + 1;
    }
    return true;
  };
  if (target.empty()) return "";
  if (target[0] != '/') {
    const std::size_t slash = source.rfind('/');
    if (slash != std::string_view::npos && !push(source.substr(0, slash))) return "";
  }
  if (!push(target)) return "";
  std::string out;
  for (const std::string& p : parts) {
    if (!out.empty()) out += '/';
    out += p;
  }
  return out;
}

}  // namespace vex::excel
