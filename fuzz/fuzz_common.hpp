#pragma once
// What the fuzz targets share: the input as a file for the readers that
// take a path, and the one outcome allowed besides success, orv::Error.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "orv/frame/Error.hpp"

namespace orv_fuzz {

// The bytes in a file of this process's own, rewritten on each call.
inline const std::string& AsFile(const std::uint8_t* data, std::size_t size, const char* suffix) {
  static std::string path;
  path = "/tmp/orv_fuzz_" + std::to_string(::getpid()) + suffix;
  FILE* f = std::fopen(path.c_str(), "wb");
  if (f == nullptr) std::abort();
  if (size > 0 && std::fwrite(data, 1, size, f) != size) std::abort();
  std::fclose(f);
  return path;
}

// Runs the call; an orv::Error is an answer, anything else escapes and
// crashes the run.
template <class Call>
void Tolerating(Call&& call) {
  try {
    call();
  } catch (const orv::Error&) {
  }
}

}  // namespace orv_fuzz
