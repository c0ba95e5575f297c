#include "orv/excel/Application.hpp"

#include "orv/excel/WorksheetFunction.hpp"
#include "orv/excel/internal/access.hpp"
#include "orv/excel/internal/detail.hpp"
#include "orv/excel/errors.hpp"
#include "orv/excel/reference.hpp"
#include "orv/frame/shared_state.hpp"

namespace orv::excel {

using detail::MakeRange;

namespace detail {

bool Resolve(const std::shared_ptr<ApplicationState>& application,
             const std::shared_ptr<WorksheetState>& default_sheet, std::string_view reference,
             Range& out) {
  std::optional<ParsedReference> parsed = ParseReference(reference);
  if (!parsed) return false;
  std::shared_ptr<WorksheetState> sheet = default_sheet;
  if (parsed->sheet) {
    std::shared_ptr<WorkbookState> book;
    if (parsed->book) {
      if (!application) return false;
      for (const auto& b : application->books)
        if (SameSheetName(b->name, *parsed->book)) book = b;
    } else if (default_sheet) {
      book = default_sheet->book.lock();
    } else if (application) {
      book = application->active_book.lock();
    }
    if (!book) return false;
    sheet = nullptr;
    for (const auto& s : book->sheets)
      if (SameSheetName(s->name, *parsed->sheet)) sheet = s;
  }
  if (!sheet) return false;
  out = MakeRange(sheet, std::move(parsed->areas));
  return true;
}

}  // namespace detail

Application::Application() : state_(std::make_shared<ApplicationState>()) {}

Application CurrentApplication() {
  auto state = std::dynamic_pointer_cast<ApplicationState>(Shared().ExcelApplication);
  return state ? Application(std::move(state)) : Application(Nothing);
}

void SetCurrentApplication(const Application& application) {
  Shared().ExcelApplication = internal::StateOf(application);
}

Worksheet Application::ActiveSheet() const {
  auto book = state_->active_book.lock();
  if (!book) return Worksheet();
  return Workbook(book).ActiveSheet();
}

Workbook Application::ActiveWorkbook() const {
  auto book = state_->active_book.lock();
  return book ? Workbook(book) : Workbook();
}

excel::Workbooks Application::Workbooks() const { return excel::Workbooks(state_.Shared()); }

excel::WorksheetFunction Application::WorksheetFunction() const {
  return excel::WorksheetFunction(state_.Shared());
}

excel::Range Application::Range(std::string_view reference) const {
  const ApplicationState& app = *state_;
  std::shared_ptr<WorksheetState> sheet;
  if (auto book = app.active_book.lock()) sheet = book->active_sheet.lock();
  excel::Range out;
  if (!detail::Resolve(state_.Shared(), sheet, reference, out))
    RaiseMethodFailed("Range", "_Application");
  return out;
}

excel::Range Application::Range(const excel::Range& cell1, const excel::Range& cell2) const {
  (void)*state_;
  if (cell1.IsNothing() || cell2.IsNothing()) Raise(kErrObjectNotSet);
  const RangeState& a = *internal::StateOf(cell1);
  const RangeState& b = *internal::StateOf(cell2);
  if (a.sheet != b.sheet) RaiseMethodFailed("Range", "_Application");
  Rect hull = a.areas.front();
  for (const Rect& r : a.areas) hull = hull.Hull(r);
  for (const Rect& r : b.areas) hull = hull.Hull(r);
  return MakeRange(a.sheet, {hull});
}

excel::Range Application::Range(std::string_view cell1, std::string_view cell2) const {
  return Range(Range(cell1), Range(cell2));
}

excel::Range Application::Union(std::initializer_list<excel::Range> ranges) const {
  (void)*state_;
  std::shared_ptr<WorksheetState> sheet;
  std::vector<Rect> areas;
  for (const excel::Range& r : ranges) {
    if (r.IsNothing()) Raise(kErrObjectNotSet);
    const RangeState& s = *internal::StateOf(r);
    if (sheet && s.sheet != sheet) RaiseMethodFailed("Union", "_Application");
    sheet = s.sheet;
    areas.insert(areas.end(), s.areas.begin(), s.areas.end());
  }
  if (areas.size() < 2) RaiseMethodFailed("Union", "_Application");
  return MakeRange(sheet, std::move(areas));
}

excel::Range Application::Union(const excel::Range& range1, const excel::Range& range2) const {
  return Union({range1, range2});
}

bool Application::ScreenUpdating() const { return state_->screen_updating; }
void Application::LetScreenUpdating(bool value) const { state_->screen_updating = value; }
std::string Application::Version() const { return state_->version; }
void Application::LetVersion(std::string text) const { state_->version = std::move(text); }

}  // namespace orv::excel
