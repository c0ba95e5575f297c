#pragma once
// The application: the root of the workbook object model.
//
//   excel::Application app;                    // a new application, no workbooks
//   excel::Workbook book = app.Workbooks().Add();   // "Book1" with "Sheet1"
//   excel::Range r = app.Range("A1:B10");      // on the active sheet
//   app.WorksheetFunction().Sum(r);
//
// Version() is "16.0".
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "orv/excel/Range.hpp"
#include "orv/excel/Workbook.hpp"
#include "orv/excel/Worksheet.hpp"
#include "orv/excel/state_fwd.hpp"
#include "orv/frame/Ref.hpp"

namespace orv::excel {

class WorksheetFunction;

class Application {
 public:
  // A new, running application without workbooks.
  Application();
  Application(NothingType) : state_(Nothing) {}
  explicit Application(std::shared_ptr<ApplicationState> state) : state_(std::move(state)) {}
  bool IsNothing() const { return state_.IsNothing(); }

  // A reference ("A1", "$A$1:$C$10", "Sheet1!A1:B2", "'My Sheet'!A1",
  // "[Book1.xlsx]Sheet1!A1", areas joined by ","), on the active sheet
  // unless it names its own; 1004 "Method 'Range' of object
  // '_Application' failed" when it is malformed, names what does not
  // exist or there is no active sheet.
  excel::Range Range(std::string_view reference) const;
  // The block between two cells (or the smallest block holding two
  // ranges) of one sheet.
  excel::Range Range(const excel::Range& cell1, const excel::Range& cell2) const;
  excel::Range Range(std::string_view cell1, std::string_view cell2) const;
  // The areas of all the ranges, in order, as one range; 1004 when they lie
  // on different sheets.
  excel::Range Union(const excel::Range& range1, const excel::Range& range2) const;
  excel::Range Union(std::initializer_list<excel::Range> ranges) const;

  // Nothing when no workbook is open.
  Worksheet ActiveSheet() const;
  Workbook ActiveWorkbook() const;
  excel::Workbooks Workbooks() const;
  Workbook Workbooks(std::int32_t index) const { return Workbooks().Item(index); }
  Workbook Workbooks(std::string_view name) const { return Workbooks().Item(name); }
  excel::WorksheetFunction WorksheetFunction() const;

  bool ScreenUpdating() const;
  void LetScreenUpdating(bool value) const;
  std::string Version() const;
  // The version text the application reports; "16.0" until changed, so
  // that a front end can stand in for an older spreadsheet.
  void LetVersion(std::string text) const;
  std::string Name() const { return "Microsoft Excel"; }

  friend bool operator==(const Application& a, const Application& b) {
    return a.state_ == b.state_;
  }

 private:
  friend struct internal::Access;
  const std::shared_ptr<ApplicationState>& State() const { return state_.Shared(); }
  Ref<ApplicationState> state_;
};

// The application the front end handed to the library (clsMain.Excel), held
// in the process-wide shared state: Nothing until one is set. Every class
// reaches the workbook through this one accessor.
Application CurrentApplication();
void SetCurrentApplication(const Application& application);

}  // namespace orv::excel
