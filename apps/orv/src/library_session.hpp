#pragma once
// An application handed to the library (clsMain.SetExcel) for one command,
// and taken back when the command ends, failed or not.
#include "orv/excel/Application.hpp"
#include "orv/frame/frame.hpp"
#include "orv/output/clsMain.hpp"

namespace orv::report {

class LibrarySession {
 public:
  LibrarySession() { Global<clsMain>().SetExcel(app_); }
  ~LibrarySession() { Global<clsMain>().SetExcel(excel::Application(Nothing)); }
  LibrarySession(const LibrarySession&) = delete;
  LibrarySession& operator=(const LibrarySession&) = delete;
  const excel::Application& App() const { return app_; }

 private:
  excel::Application app_;
};

}  // namespace orv::report
