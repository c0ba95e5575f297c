#pragma once
// The container seam: reading the parts of a zip archive (libzip), one part
// at a time, as a stream. Nothing outside this file sees libzip.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace orv::xlsx::detail {

class ZipArchive {
 public:
  // What went wrong when an archive could not be opened.
  enum class OpenFailure { None, Missing, NotZip, Unreadable };

  ZipArchive() = default;
  ~ZipArchive();
  ZipArchive(const ZipArchive&) = delete;
  ZipArchive& operator=(const ZipArchive&) = delete;

  // Opens the archive for reading; on failure returns the reason and a
  // description of libzip's own.
  OpenFailure Open(const std::string& path, std::string& detail);
  // Part names compare without regard to case, as the package format asks.
  bool Has(std::string_view name) const;
  // The size of a part once inflated (0 when unknown).
  std::uint64_t Size(std::string_view name) const;
  // Its size as stored (0 when unknown).
  std::uint64_t CompressedSize(std::string_view name) const;

  // A part being read: Read fills up to `size` bytes and returns how many
  // (0 at the end); a damaged part answers false from Read.
  class Part {
   public:
    ~Part();
    Part(const Part&) = delete;
    Part& operator=(const Part&) = delete;
    bool Read(char* buffer, std::size_t size, std::size_t& got);
    const std::string& Error() const { return error_; }

   private:
    friend class ZipArchive;
    explicit Part(void* file) : file_(file) {}
    void* file_;
    std::string error_;
  };
  // Null when the archive has no such part or it cannot be opened.
  std::unique_ptr<Part> OpenPart(std::string_view name, std::string& detail) const;

 private:
  void* zip_ = nullptr;
};

}  // namespace orv::xlsx::detail
