#include "orv/excel/Workbook.hpp"

#include <algorithm>

#include "orv/excel/Application.hpp"
#include "orv/excel/internal/detail.hpp"
#include "orv/excel/errors.hpp"
#include "orv/excel/reference.hpp"

namespace orv::excel {

std::string Workbook::Name() const { return state_->name; }
bool Workbook::IsAddin() const { return state_->addin; }

Application Workbook::Parent() const {
  auto app = state_->application.lock();
  return app ? Application(app) : Application(Nothing);
}

excel::Worksheets Workbook::Worksheets() const { return excel::Worksheets(state_.Shared()); }

Worksheet Workbook::ActiveSheet() const {
  auto sheet = state_->active_sheet.lock();
  return sheet ? Worksheet(sheet) : Worksheet();
}

void Workbook::Activate() const {
  auto app = state_->application.lock();
  if (!app || state_->addin) RaiseMethodFailed("Activate", "_Workbook");
  app->active_book = state_.Shared();
}

void Workbook::Close() const {
  WorkbookState& b = *state_;
  auto app = b.application.lock();
  if (!app) return;
  auto& books = app->books;
  books.erase(std::remove(books.begin(), books.end(), state_.Shared()), books.end());
  if (app->active_book.lock() == state_.Shared()) {
    app->active_book.reset();
    for (auto it = books.rbegin(); it != books.rend(); ++it)
      if (!(*it)->addin) {
        app->active_book = *it;
        break;
      }
  }
  b.application.reset();
}

// --- Workbooks ---

std::int32_t Workbooks::Count() const {
  std::int32_t n = 0;
  for (const auto& book : application_->books) n += book->addin ? 0 : 1;
  return n;
}

Workbook Workbooks::Item(std::int32_t index) const {
  std::int32_t n = 0;
  for (const auto& book : application_->books) {
    if (book->addin) continue;
    if (++n == index) return Workbook(book);
  }
  Raise(kErrSubscript);
}

Workbook Workbooks::Item(std::string_view name) const {
  for (const auto& book : application_->books)
    if (SameSheetName(book->name, name)) return Workbook(book);
  Raise(kErrSubscript);
}

namespace {
std::shared_ptr<WorkbookState> NewBook(const std::shared_ptr<ApplicationState>& app,
                                       std::string name, bool addin) {
  auto book = std::make_shared<WorkbookState>();
  book->name = std::move(name);
  book->addin = addin;
  book->application = app;
  auto sheet = std::make_shared<WorksheetState>();
  sheet->name = "Sheet1";
  sheet->book = book;
  book->sheets.push_back(sheet);
  book->active_sheet = sheet;
  app->books.push_back(book);
  if (!addin) app->active_book = book;
  return book;
}
}  // namespace

Workbook Workbooks::Add() const {
  ApplicationState& app = *application_;
  for (;;) {
    std::string name = "Book" + std::to_string(app.next_book_number++);
    bool taken = false;
    for (const auto& book : app.books) taken = taken || SameSheetName(book->name, name);
    if (!taken) return Workbook(NewBook(application_.Shared(), name, false));
  }
}

Workbook Workbooks::Open(std::string_view name, bool addin) const {
  ApplicationState& app = *application_;
  if (name.empty()) RaiseMethodFailed("Open", "Workbooks");
  for (const auto& book : app.books)
    if (SameSheetName(book->name, name)) RaiseMethodFailed("Open", "Workbooks");
  return Workbook(NewBook(application_.Shared(), std::string(name), addin));
}

}  // namespace orv::excel
