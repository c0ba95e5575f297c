#pragma once
// Progress of the long steps, written to standard error while it is a
// terminal ("orv report: reading survey.csv ... 0.84 s"); silent otherwise.
#include <chrono>
#include <cstdio>
#include <ostream>
#include <string>

namespace orv::report {

class Progress {
 public:
  // Null: report nothing.
  explicit Progress(std::ostream* err = nullptr) : err_(err) {}

  void Begin(const std::string& step) {
    if (!err_) return;
    *err_ << "orv report: " << step << " ... " << std::flush;
    start_ = std::chrono::steady_clock::now();
    open_ = true;
  }
  void End() {
    if (!err_ || !open_) return;
    open_ = false;
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start_;
    char text[32];
    std::snprintf(text, sizeof text, "%.2f s", took.count());
    *err_ << text << '\n' << std::flush;
  }
  // Closes a step that failed, so that the message starts a line of its own.
  void Fail() {
    if (!err_ || !open_) return;
    open_ = false;
    *err_ << "failed\n" << std::flush;
  }

 private:
  std::ostream* err_;
  std::chrono::steady_clock::time_point start_;
  bool open_ = false;
};

}  // namespace orv::report
