// orv serve on any bytes as its input lines, with small limits: every line
// that is not blank gets one answer, and every answer is a JSON object with
// an "id"; nothing else may happen (a crash, a leak, a hang, gigabytes).
#include <cstdlib>
#include <sstream>
#include <string>

#include <nlohmann/json.hpp>

#include "serve.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string input(reinterpret_cast<const char*>(data), size);
  std::size_t requests = 0;
  for (std::size_t start = 0; start < input.size();) {
    std::size_t end = input.find('\n', start);
    if (end == std::string::npos) end = input.size();
    const auto filled = input.find_first_not_of(" \t\r", start);
    if (filled != std::string::npos && filled < end) ++requests;
    start = end + 1;
  }
  orv::serve::Limits limits;
  limits.max_line = 4096;
  limits.max_objects = 64;
  limits.max_cells = 1u << 16;
  std::istringstream in(input);
  std::ostringstream out;
  orv::serve::Serve(in, out, limits);
  std::istringstream answers(out.str());
  std::size_t answered = 0;
  for (std::string line; std::getline(answers, line); ++answered) {
    const auto answer = nlohmann::json::parse(line, nullptr, /*allow_exceptions=*/false);
    if (!answer.is_object() || !answer.contains("id")) std::abort();
  }
  if (answered != requests) std::abort();
  return 0;
}
