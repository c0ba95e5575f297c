#pragma once
// An application handed to the library (clsMain.SetExcel), with the
// readable theme, for one command or request, and taken back when it ends,
// failed or not.
#include <utility>

#include "orv/excel/Application.hpp"
#include "orv/frame/frame.hpp"
#include "orv/output/clsMain.hpp"
#include "orv/output/theme.hpp"

namespace orv::report {

class LibrarySession {
 public:
  // A new application of its own.
  LibrarySession() : LibrarySession(excel::Application()) {}
  // This application (a browser page's, kept between its requests).
  explicit LibrarySession(excel::Application app) : app_(std::move(app)) {
    Global<clsMain>().SetExcel(app_);
    UseReadableTheme();
  }
  ~LibrarySession() { Global<clsMain>().SetExcel(excel::Application(Nothing)); }
  LibrarySession(const LibrarySession&) = delete;
  LibrarySession& operator=(const LibrarySession&) = delete;
  const excel::Application& App() const { return app_; }

 private:
  excel::Application app_;
};

}  // namespace orv::report
