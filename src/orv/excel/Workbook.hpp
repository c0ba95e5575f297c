#pragma once
// A workbook and the application's collection of them.
#include <cstdint>
#include <string>
#include <string_view>

#include "orv/excel/Worksheet.hpp"
#include "orv/excel/state_fwd.hpp"
#include "orv/frame/Ref.hpp"

namespace orv::excel {

class Application;

class Workbook {
 public:
  Workbook() : state_(Nothing) {}
  Workbook(NothingType) : state_(Nothing) {}
  explicit Workbook(std::shared_ptr<WorkbookState> state) : state_(std::move(state)) {}
  bool IsNothing() const { return state_.IsNothing(); }

  std::string Name() const;
  bool IsAddin() const;
  excel::Application Parent() const;
  excel::Worksheets Worksheets() const;
  Worksheet Worksheets(std::int32_t index) const { return Worksheets().Item(index); }
  Worksheet Worksheets(std::string_view name) const { return Worksheets().Item(name); }
  Worksheet ActiveSheet() const;
  void Activate() const;
  // Removes the workbook from the application; handles to it and to its
  // sheets keep working on the detached objects.
  void Close() const;

  friend bool operator==(const Workbook& a, const Workbook& b) { return a.state_ == b.state_; }

 private:
  friend struct internal::Access;
  const std::shared_ptr<WorkbookState>& State() const { return state_.Shared(); }
  Ref<WorkbookState> state_;
};

class Workbooks {
 public:
  explicit Workbooks(std::shared_ptr<ApplicationState> application)
      : application_(std::move(application)) {}
  // Open workbooks, add-ins not counted.
  std::int32_t Count() const;
  // By position from 1 (add-ins skipped) or by name, add-ins included
  // (case ignored); 9 when there is none.
  Workbook Item(std::int32_t index) const;
  Workbook Item(std::string_view name) const;
  Workbook operator()(std::int32_t index) const { return Item(index); }
  Workbook operator()(std::string_view name) const { return Item(name); }
  // A new workbook "Book<n>" with one sheet, "Sheet1"; it becomes active.
  Workbook Add() const;
  // The object model's own: a workbook of the given name (as a loaded file
  // or an open add-in has), with one sheet "Sheet1"; an add-in does not
  // become active. 1004 when a workbook of that name is open.
  Workbook Open(std::string_view name, bool addin = false) const;

 private:
  Ref<ApplicationState> application_;
};

}  // namespace orv::excel
