#include "orv/xlsx/zip_seam.hpp"

#include <zip.h>

namespace orv::xlsx::detail {

namespace {
zip_t* Z(void* p) { return static_cast<zip_t*>(p); }
zip_file_t* F(void* p) { return static_cast<zip_file_t*>(p); }
}  // namespace

ZipArchive::~ZipArchive() {
  if (zip_) zip_discard(Z(zip_));
}

ZipArchive::OpenFailure ZipArchive::Open(const std::string& path, std::string& detail) {
  int code = 0;
  zip_t* z = zip_open(path.c_str(), ZIP_RDONLY | ZIP_CHECKCONS, &code);
  if (z == nullptr) {
    // A damaged central directory is caught by the consistency check; retry
    // without it so that archives other programs accept still open.
    if (code == ZIP_ER_INCONS) z = zip_open(path.c_str(), ZIP_RDONLY, &code);
  }
  if (z == nullptr) {
    zip_error_t error;
    zip_error_init_with_code(&error, code);
    detail = zip_error_strerror(&error);
    zip_error_fini(&error);
    switch (code) {
      case ZIP_ER_NOENT:
        return OpenFailure::Missing;
      case ZIP_ER_NOZIP:
      case ZIP_ER_INCONS:
        return OpenFailure::NotZip;
      default:
        return OpenFailure::Unreadable;
    }
  }
  zip_ = z;
  return OpenFailure::None;
}

bool ZipArchive::Has(std::string_view name) const {
  return zip_name_locate(Z(zip_), std::string(name).c_str(), ZIP_FL_NOCASE) >= 0;
}

std::uint64_t ZipArchive::Size(std::string_view name) const {
  zip_stat_t stat;
  zip_stat_init(&stat);
  if (zip_stat(Z(zip_), std::string(name).c_str(), ZIP_FL_NOCASE, &stat) != 0) return 0;
  return (stat.valid & ZIP_STAT_SIZE) ? stat.size : 0;
}

std::uint64_t ZipArchive::CompressedSize(std::string_view name) const {
  zip_stat_t stat;
  zip_stat_init(&stat);
  if (zip_stat(Z(zip_), std::string(name).c_str(), ZIP_FL_NOCASE, &stat) != 0) return 0;
  return (stat.valid & ZIP_STAT_COMP_SIZE) ? stat.comp_size : 0;
}

std::unique_ptr<ZipArchive::Part> ZipArchive::OpenPart(std::string_view name,
                                                       std::string& detail) const {
  zip_file_t* f = zip_fopen(Z(zip_), std::string(name).c_str(), ZIP_FL_NOCASE);
  if (f == nullptr) {
    detail = zip_strerror(Z(zip_));
    return nullptr;
  }
  return std::unique_ptr<Part>(new Part(f));
}

ZipArchive::Part::~Part() { zip_fclose(F(file_)); }

bool ZipArchive::Part::Read(char* buffer, std::size_t size, std::size_t& got) {
  zip_int64_t n = zip_fread(F(file_), buffer, size);
  if (n < 0) {
    error_ = zip_file_strerror(F(file_));
    got = 0;
    return false;
  }
  got = static_cast<std::size_t>(n);
  return true;
}

}  // namespace orv::xlsx::detail
